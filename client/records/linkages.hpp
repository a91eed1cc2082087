#pragma once
// Attribute linkages: the area from word (attribute index + 16) to the end of
// an element record. Identical in both record forms.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vornel::client {

inline constexpr std::uint16_t kUserDataLinkageBit = 0x1000;
inline constexpr std::uint16_t kDatabaseUserId = 3969;  // 0x0F81

struct Linkage {
  std::size_t word_offset = 0;  // first word of the linkage within the record
  std::size_t words = 0;        // its length in words
  std::uint16_t header = 0;
  std::uint16_t user_id = 0;    // user data linkages only
  std::uint16_t entity = 0;     // database linkages (either kind)
  std::uint32_t mslink = 0;     // low 24 bits are the key

  bool is_user_data() const { return (header & kUserDataLinkageBit) != 0; }
  // A database linkage, plain or carried in a user data linkage.
  bool is_database() const { return !is_user_data() || user_id == kDatabaseUserId; }
  bool is_empty_database() const { return is_database() && (entity == 0 || mslink == 0); }
};

// Byte range [first, end) of the linkage area, clipped to the record and to
// `record.size()`; empty when the attribute index points past the end.
struct LinkageArea {
  std::size_t first = 0;
  std::size_t end = 0;
};
LinkageArea linkage_area(std::span<const std::uint8_t> record);

// Linkages of the record in order; a linkage that would run past the area
// ends the list.
std::vector<Linkage> read_linkages(std::span<const std::uint8_t> record);

// Word sequences for the place operations and the file builder.
std::vector<std::uint16_t> database_linkage(std::uint16_t entity, std::uint32_t mslink,
                                            std::uint8_t linkage_type = 0);
std::vector<std::uint16_t> user_database_linkage(std::uint16_t entity, std::uint32_t mslink);

}  // namespace vornel::client
