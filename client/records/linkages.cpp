#include "client/records/linkages.hpp"

#include <algorithm>

#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"

namespace vornel::client {

LinkageArea linkage_area(std::span<const std::uint8_t> record) {
  if (record.size() < 32) return {};
  const std::size_t wtf = get_word(record.data(), kWordsToFollowOffset);
  const std::size_t attribute_index = get_word(record.data(), kAttributeIndexOffset);
  const std::size_t end = std::min((wtf + 2) * 2, record.size() & ~std::size_t{1});
  const std::size_t first = (attribute_index + 16) * 2;
  if (first >= end) return {end, end};
  return {first, end};
}

std::vector<Linkage> read_linkages(std::span<const std::uint8_t> record) {
  std::vector<Linkage> result;
  const LinkageArea area = linkage_area(record);
  const std::uint8_t* bytes = record.data();
  std::size_t at = area.first;
  while (at + 2 <= area.end) {
    Linkage link;
    link.word_offset = at / 2;
    link.header = get_word(bytes, at);
    link.words = link.is_user_data() ? std::size_t{(link.header & 0xFFU)} + 1 : 4;
    if (at + 2 * link.words > area.end) break;
    if (link.is_user_data()) {
      if (link.words >= 3) link.user_id = get_word(bytes, at + 4);
      if (link.user_id == kDatabaseUserId && link.words >= 6) {
        link.entity = get_word(bytes, at + 6);
        link.mslink = get_long(bytes, at + 8);
      }
    } else {
      link.entity = get_word(bytes, at + 2);
      link.mslink = get_long(bytes, at + 4);
    }
    result.push_back(link);
    at += 2 * link.words;
  }
  return result;
}

std::vector<std::uint16_t> database_linkage(std::uint16_t entity, std::uint32_t mslink,
                                            std::uint8_t linkage_type) {
  return {linkage_type, entity, static_cast<std::uint16_t>(mslink & 0xFFFF),
          static_cast<std::uint16_t>(mslink >> 16)};
}

std::vector<std::uint16_t> user_database_linkage(std::uint16_t entity, std::uint32_t mslink) {
  // Header: user data bit, 7 words follow it. A user linkage is a whole
  // number of 4-word units (its low byte 3 modulo 4); the place operations
  // refuse any other length, so the six words of data are padded to eight.
  return {static_cast<std::uint16_t>(kUserDataLinkageBit | 7), 0, kDatabaseUserId, entity,
          static_cast<std::uint16_t>(mslink & 0xFFFF), static_cast<std::uint16_t>(mslink >> 16), 0, 0};
}

}  // namespace vornel::client
