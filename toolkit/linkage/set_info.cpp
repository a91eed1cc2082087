#include "toolkit/linkage/set_info.h"

#include "toolkit/linkage/linkage_walk.h"

namespace vornel::toolkit {

void set_info(std::span<int16_t> buffer, int16_t* out) {
    *out = 0;
    const auto bytes = record_bytes(buffer);
    auto walk = LinkageWalk::of_buffer(bytes);
    while (const auto linkage = walk.next()) {
        if (linkage->kind == LinkageKind::user_data) continue;
        if (linkage->kind == LinkageKind::database) {
            const auto link = database_link(bytes, *linkage);
            if (link.entity == 0 || link.value == 0) continue;
        }
        set_word(bytes, linkage->offset, static_cast<uint16_t>(word_at(bytes, linkage->offset) | kInfoBit));
    }
}

}  // namespace vornel::toolkit
