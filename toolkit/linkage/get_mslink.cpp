#include "toolkit/linkage/get_mslink.h"

#include "toolkit/linkage/linkage_walk.h"

namespace vornel::toolkit {

namespace {

int find_link(LinkageWalk walk, int16_t entity, std::span<const uint8_t> record, int32_t* link_value) {
    while (const auto linkage = walk.next()) {
        const auto link = lookup_link(record, *linkage);
        if (link && link->entity == static_cast<uint16_t>(entity)) {
            *link_value = link->value;
            return 1;
        }
    }
    return 0;
}

}  // namespace

int get_mslink(int16_t entity, std::span<const uint8_t> element, int32_t* link_value) {
    *link_value = 0;
    return find_link(LinkageWalk::of_element(element), entity, element, link_value);
}

int get_mslink_attrib(int16_t entity, std::span<const int16_t> buffer, int32_t* link_value) {
    const auto bytes = record_bytes(buffer);
    return find_link(LinkageWalk::of_buffer(bytes), entity, bytes, link_value);
}

}  // namespace vornel::toolkit
