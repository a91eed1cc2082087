#include "toolkit/linkage/attr_link_check.h"

#include <algorithm>
#include <cstdio>

#include "toolkit/linkage/linkage_walk.h"

namespace vornel::toolkit {

namespace {

constexpr int kMaxLinkagesExamined = 768;

bool carries_row(LinkageKind kind) { return kind != LinkageKind::user_data; }

bool considered(std::span<const uint8_t> record, const Linkage& linkage, int32_t entity_filter) {
    if (!carries_row(linkage.kind)) return entity_filter == 0;
    const auto link = database_link(record, linkage);
    if (linkage.kind == LinkageKind::database && (link.entity == 0 || link.value == 0)) return false;
    return entity_filter == 0 || entity_filter == link.entity;
}

// Same length and the same words after the header word.
bool same_user_data(std::span<const uint8_t> a, const Linkage& la, std::span<const uint8_t> b, const Linkage& lb) {
    if (la.length != lb.length) return false;
    for (size_t n = 1; n < la.length; ++n) {
        if (word_at(a, la.offset + n) != word_at(b, lb.offset + n)) return false;
    }
    return true;
}

bool is_duplicate(std::span<const uint8_t> record, const Linkage& linkage, std::span<const uint8_t> buffer,
                  int16_t stacking_entity) {
    auto walk = LinkageWalk::of_buffer(buffer);
    while (const auto held = walk.next()) {
        if (carries_row(linkage.kind) && carries_row(held->kind)) {
            const auto mine = database_link(record, linkage);
            const auto theirs = database_link(buffer, *held);
            if (mine.entity == theirs.entity &&
                (mine.value == theirs.value ||
                 (stacking_entity > 0 && static_cast<uint16_t>(stacking_entity) != mine.entity))) {
                return true;
            }
        } else if (!carries_row(linkage.kind) && !carries_row(held->kind)) {
            if (same_user_data(record, linkage, buffer, *held)) return true;
        }
    }
    return false;
}

int32_t user_identifier(std::span<const uint8_t> record, const Linkage& linkage) {
    if (linkage.length < 2) return 0;
    return word_at(record, linkage.offset + 1);
}

// Copies a linkage to the next free word; false when the buffer cannot take it.
bool append(std::span<const uint8_t> record, const Linkage& linkage, std::span<int16_t> buffer, int16_t* next_free) {
    const auto at = static_cast<size_t>(*next_free);
    if (at + linkage.length > buffer.size()) {
        std::printf("\nAttribute buffer full - linkage of %d words not kept\n", static_cast<int>(linkage.length));
        return false;
    }
    for (size_t n = 0; n < linkage.length; ++n) {
        buffer[at + n] = static_cast<int16_t>(word_at(record, linkage.offset + n));
    }
    // Once a linkage is in, word 1 carries the marker the place operations
    // look for, whichever way the first linkage arrived.
    buffer[0] = static_cast<int16_t>(buffer[0] + 1);
    buffer[1] = -1;
    *next_free = static_cast<int16_t>(at + linkage.length);
    return true;
}

int collect(std::span<const uint8_t> record, std::span<int16_t> buffer, int16_t* next_free, int16_t stacking_entity,
            int32_t entity_filter, int32_t user_id_filter) {
    if (buffer.size() < static_cast<size_t>(kFirstLinkageWord)) return 0;
    const bool adding = *next_free >= kFirstLinkageWord;
    int keep = 0;
    int examined = 0;
    auto walk = LinkageWalk::of_record(record);
    while (examined < kMaxLinkagesExamined) {
        const auto linkage = walk.next();
        if (!linkage) break;
        ++examined;
        keep = 1;
        if (!considered(record, *linkage, entity_filter)) continue;

        const bool user_data = !carries_row(linkage->kind);
        if (*next_free == kFirstLinkageWord && (!user_data || user_id_filter == 0)) {
            buffer[0] = 0;
            if (!append(record, *linkage, buffer, next_free)) keep = 0;
            continue;
        }
        if (is_duplicate(record, *linkage, record_bytes(std::span<const int16_t>(buffer)), stacking_entity)) keep = 0;
        if (user_data && user_id_filter > 0 && user_identifier(record, *linkage) != user_id_filter) keep = 0;
        if (keep == 1 && adding && !append(record, *linkage, buffer, next_free)) keep = 0;
    }
    return keep;
}

}  // namespace

int attr_link_check(std::span<const uint8_t> element, std::span<int16_t> buffer, int16_t* next_free,
                    int16_t stacking_entity, int32_t entity_filter, int32_t user_id_filter) {
    return collect(element, buffer, next_free, stacking_entity, entity_filter, user_id_filter);
}

int attr_link_check(std::span<const int16_t> source, std::span<int16_t> buffer, int16_t* next_free,
                    int16_t stacking_entity, int32_t entity_filter, int32_t user_id_filter) {
    return collect(record_bytes(source), buffer, next_free, stacking_entity, entity_filter, user_id_filter);
}

}  // namespace vornel::toolkit
