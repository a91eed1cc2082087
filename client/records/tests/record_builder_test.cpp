// The record builder's header: range depth, linkage placement and the size
// limits at the 768-word boundary.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/records/element_words.hpp"
#include "client/records/record_builder.hpp"

namespace vornel::client {
namespace {

struct FinishCase {
  const char* name;
  Dimension dimension;
  std::size_t vertices;  // of a line string
  std::size_t linkage_words;
  RecordFault fault;
  std::int64_t stored_z_low;
  std::int64_t stored_z_high;
};

class RecordBuilderFinish : public testing::TestWithParam<FinishCase> {};

TEST_P(RecordBuilderFinish, HeaderRangeLinkagesAndLimits) {
  const FinishCase& c = GetParam();
  std::vector<UorPoint> vertices(c.vertices);
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    vertices[i] = {static_cast<std::int32_t>(i), -static_cast<std::int32_t>(i), (i % 2 == 0) ? -5 : 7};
  }
  UorBox range;
  for (const UorPoint& p : vertices) range.add(p);
  const std::vector<std::uint16_t> linkages(c.linkage_words, 0x1234);

  RecordBuilder builder(c.dimension);
  builder.vertex_list(vertices);
  const BuiltRecord record =
      builder.finish(element::line_string, false, range, {.level = 9, .properties = 0x0003}, linkages);

  ASSERT_EQ(record.fault, c.fault) << c.name;
  if (c.fault != RecordFault::none) {
    EXPECT_TRUE(record.file.empty()) << c.name;
    EXPECT_GT(record.file_bytes, kMaxElementBytes) << c.name;
    return;
  }
  ASSERT_EQ(record.file.size(), record.file_bytes) << c.name;
  const UorBox stored = record_range(record.file);
  EXPECT_EQ(stored.low[2], c.stored_z_low) << c.name;
  EXPECT_EQ(stored.high[2], c.stored_z_high) << c.name;
  const std::uint16_t properties = get_word(record.file.data(), kPropertiesOffset);
  EXPECT_EQ(properties, linkages.empty() ? 0x0003 : 0x0803) << c.name;
  // The linkages close the file form, starting where the attribute index says.
  const std::size_t linkage_start = (get_word(record.file.data(), kAttributeIndexOffset) + 16u) * 2u;
  EXPECT_EQ(record.file.size() - linkage_start, 2 * linkages.size()) << c.name;
  for (std::size_t at = linkage_start; at < record.file.size(); at += 2) {
    EXPECT_EQ(get_word(record.file.data(), at), 0x1234) << c.name;
  }
}

// A 2-D line string takes 38 + 8 x vertices bytes in the file, a 3-D one 38 + 12 x vertices.
INSTANTIATE_TEST_SUITE_P(
    Records, RecordBuilderFinish,
    testing::Values(
        FinishCase{"FlatRangeHasNoDepth", Dimension::two, 3, 0, RecordFault::none, 0, 0},
        FinishCase{"SolidRangeKeepsDepth", Dimension::three, 3, 0, RecordFault::none, -5, 7},
        FinishCase{"LinkagesBehindVertices", Dimension::three, 2, 8, RecordFault::none, -5, 7},
        FinishCase{"Exactly768FileWords", Dimension::two, 187, 1, RecordFault::none, 0, 0},
        FinishCase{"OneWordPast768", Dimension::two, 187, 2, RecordFault::too_large, 0, 0},
        FinishCase{"LinkagesAlonePast768", Dimension::two, 2, 760, RecordFault::too_large, 0, 0},
        FinishCase{"MemoryWordsPast0xFFFF", Dimension::three, 11000, 0, RecordFault::too_many_words, 0, 0}),
    [](const testing::TestParamInfo<FinishCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace vornel::client
