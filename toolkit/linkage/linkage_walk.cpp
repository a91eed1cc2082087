#include "toolkit/linkage/linkage_walk.h"

#include <algorithm>

#include "client/records/element_words.hpp"
#include "client/records/linkages.hpp"

namespace vornel::toolkit {

namespace {
constexpr size_t kDatabaseLinkageWords = 4;
constexpr size_t kDatabaseUserLinkageWords = 6;
constexpr int32_t kMslinkMask = 0x00FFFFFF;
}  // namespace

uint16_t word_at(std::span<const uint8_t> record, size_t word) { return client::get_word(record.data(), word * 2); }

void set_word(std::span<uint8_t> record, size_t word, uint16_t value) {
    client::put_word(record.data(), word * 2, value);
}

int32_t long_at(std::span<const uint8_t> record, size_t word) {
    return static_cast<int32_t>(client::get_long(record.data(), word * 2));
}

void set_long(std::span<uint8_t> record, size_t word, int32_t value) {
    client::put_long(record.data(), word * 2, static_cast<uint32_t>(value));
}

LinkageWalk LinkageWalk::of_record(std::span<const uint8_t> record) {
    if (record.size() >= 4 && static_cast<int16_t>(word_at(record, 1)) > 0) return of_element(record);
    return of_buffer(record);
}

LinkageWalk LinkageWalk::of_element(std::span<const uint8_t> element) {
    const client::LinkageArea area = client::linkage_area(element);
    return {element, area.first / 2, area.end / 2, SIZE_MAX};
}

LinkageWalk LinkageWalk::of_buffer(std::span<const uint8_t> buffer) {
    const size_t words = buffer.size() / 2;
    if (words < static_cast<size_t>(kFirstLinkageWord)) return {buffer, 0, 0, 0};
    const auto count = static_cast<size_t>(std::max<int16_t>(static_cast<int16_t>(word_at(buffer, 0)), 0));
    return {buffer, static_cast<size_t>(kFirstLinkageWord), words, count};
}

std::optional<Linkage> LinkageWalk::next() {
    if (remaining_ == 0 || position_ >= end_) return std::nullopt;
    const uint16_t header = word_at(record_, position_);
    Linkage linkage{position_, kDatabaseLinkageWords, LinkageKind::database};
    if ((header & kUserDataBit) != 0) {
        linkage.length = static_cast<size_t>(header & 0xFF) + 1;
        const bool carries_link = linkage.length >= kDatabaseUserLinkageWords;
        linkage.kind = carries_link && position_ + 2 < end_ && word_at(record_, position_ + 2) == kDatabaseUserId
                           ? LinkageKind::database_user
                           : LinkageKind::user_data;
    }
    if (position_ + linkage.length > end_) {
        position_ = end_;
        return std::nullopt;
    }
    position_ += linkage.length;
    --remaining_;
    return linkage;
}

LinkValue database_link(std::span<const uint8_t> record, const Linkage& linkage) {
    if (linkage.kind == LinkageKind::database) {
        return {word_at(record, linkage.offset + 1), long_at(record, linkage.offset + 2) & kMslinkMask};
    }
    return {word_at(record, linkage.offset + 3), long_at(record, linkage.offset + 4)};
}

std::optional<LinkValue> lookup_link(std::span<const uint8_t> record, const Linkage& linkage) {
    if (linkage.kind == LinkageKind::database) return database_link(record, linkage);
    if (linkage.length < kDatabaseUserLinkageWords) return std::nullopt;
    return LinkValue{word_at(record, linkage.offset + 3), long_at(record, linkage.offset + 4)};
}

}  // namespace vornel::toolkit
