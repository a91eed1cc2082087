// Reading attribute linkages from the linkage area of a record.

#include <gtest/gtest.h>

#include <vector>

#include "client/records/element_words.hpp"
#include "client/records/linkages.hpp"

namespace vornel::client {
namespace {

// A 2-D line (memory form, 56 bytes of body) followed by `links`.
std::vector<std::uint8_t> line_with(const std::vector<std::uint16_t>& links,
                                    std::size_t extra_words = 0) {
  std::vector<std::uint8_t> record(56 + 2 * (links.size() + extra_words), 0);
  put_word(record.data(), 0, (3 << 8) | 1);
  put_word(record.data(), 2, static_cast<std::uint16_t>(record.size() / 2 - 2));
  put_word(record.data(), 30, 56 / 2 - 16);
  for (std::size_t i = 0; i < links.size(); ++i) put_word(record.data(), 56 + 2 * i, links[i]);
  return record;
}

TEST(Linkages, DatabaseAndUserLinkagesAreRead) {
  std::vector<std::uint16_t> words = database_linkage(7, 0x01000042, 2);
  const auto user = user_database_linkage(9, 1234567);
  words.insert(words.end(), user.begin(), user.end());
  const std::vector<std::uint16_t> other_user = {0x1002, 0, 77};  // 3 words, id 77
  words.insert(words.end(), other_user.begin(), other_user.end());
  const auto links = read_linkages(line_with(words));
  ASSERT_EQ(links.size(), 3U);
  EXPECT_FALSE(links[0].is_user_data());
  EXPECT_EQ(links[0].entity, 7);
  EXPECT_EQ(links[0].mslink & 0xFFFFFF, 0x42U);
  EXPECT_EQ(links[0].word_offset, 28U);
  EXPECT_TRUE(links[1].is_user_data());
  EXPECT_TRUE(links[1].is_database());
  EXPECT_EQ(links[1].entity, 9);
  EXPECT_EQ(links[1].mslink, 1234567U);
  EXPECT_EQ(links[1].words, 8U);
  EXPECT_EQ(links[2].user_id, 77);
  EXPECT_FALSE(links[2].is_database());
}

TEST(Linkages, EmptyAndMalformedAreas) {
  EXPECT_TRUE(read_linkages(line_with({})).empty());
  EXPECT_TRUE(read_linkages(line_with(database_linkage(0, 5))).front().is_empty_database());
  EXPECT_TRUE(read_linkages(line_with(database_linkage(5, 0))).front().is_empty_database());
  // A user linkage claiming 255 words runs past the record: the list ends.
  EXPECT_TRUE(read_linkages(line_with({0x10FF, 0, 3969})).empty());
  // Attribute index beyond the record, and a record shorter than a header.
  auto record = line_with(database_linkage(1, 1));
  put_word(record.data(), 30, 4000);
  EXPECT_TRUE(read_linkages(record).empty());
  EXPECT_TRUE(read_linkages(std::vector<std::uint8_t>(10, 0)).empty());
}

}  // namespace
}  // namespace vornel::client
