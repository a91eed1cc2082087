#include "toolkit/linkage/reset_linkage.h"

#include "toolkit/linkage/linkage_walk.h"

namespace vornel::toolkit {

namespace {
constexpr uint32_t kDatabaseLinkRevision = 1U << 24;
}

int reset_linkage(int16_t entity, std::span<uint8_t> record, const int32_t* old_link, int16_t new_entity,
                  int32_t* new_link, int16_t modified) {
    auto walk = LinkageWalk::of_record(record);
    while (const auto linkage = walk.next()) {
        const auto link = lookup_link(record, *linkage);
        if (!link || link->entity != static_cast<uint16_t>(entity)) continue;

        const bool database = linkage->kind == LinkageKind::database;
        const size_t entity_word = linkage->offset + (database ? 1 : 3);
        const size_t value_word = linkage->offset + (database ? 2 : 4);
        if (link->value == *old_link && *new_link != 0) {
            if (database) *new_link = static_cast<int32_t>(static_cast<uint32_t>(*new_link) + kDatabaseLinkRevision);
            set_long(record, value_word, *new_link);
        }
        if (new_entity != 0) set_word(record, entity_word, static_cast<uint16_t>(new_entity));
        const uint16_t header = word_at(record, linkage->offset);
        if (modified == 0) set_word(record, linkage->offset, static_cast<uint16_t>(header & ~kInfoBit));
        if (modified == 1) set_word(record, linkage->offset, static_cast<uint16_t>(header | kInfoBit));
        return 1;
    }
    return 0;
}

int reset_linkage(int16_t entity, std::span<int16_t> buffer, const int32_t* old_link, int16_t new_entity,
                  int32_t* new_link, int16_t modified) {
    return reset_linkage(entity, record_bytes(buffer), old_link, new_entity, new_link, modified);
}

}  // namespace vornel::toolkit
