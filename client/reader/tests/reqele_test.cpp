// The direct reader on well-formed files: criteria, positions, modes, the
// flush hook and the statuses of dfrset and reqele.

#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "client/reader/design_reader.hpp"
#include "client/reader/flush_hook.hpp"
#include "client/reader/tests/design_fixture.hpp"
#include "client/records/element_words.hpp"

namespace vornel::client {
namespace {

using testing::DesignFixture;

constexpr std::uint16_t kLinearTypes[4] = {0x0C0C, 0, 0, 0};  // types 3, 4, 11, 12

struct Read {
  std::int16_t status = -1;
  std::int16_t level = -1;
  std::int16_t type = -1;
  std::uint16_t properties = 0;
  std::uint16_t symbology = 0;
  ScanPosition position;
  std::uint16_t graphic_group = 0;
  std::array<std::int32_t, 6> range{};
  std::int32_t total_words = 0;
  std::array<std::uint16_t, 800> element{};
};

Read next(std::int32_t max_words = 800) {
  Read r;
  std::int16_t status = -1;
  r.status = reqele(r.element.data(), &max_words, &status, &r.level, &r.type, nullptr,
                    &r.properties, &r.symbology, &r.position, &r.graphic_group, r.range.data(),
                    &r.total_words);
  EXPECT_EQ(status, r.status);
  return r;
}

std::uint32_t offset_of(const ScanPosition& p) { return p.block * 512 + p.word * 2; }

class Reader : public ::testing::Test {
 protected:
  void SetUp() override { reset_design_reader(); }
  void TearDown() override {
    reset_design_reader();
    set_host_flush_hook(nullptr);
  }
  std::int16_t open(const DesignFixture& f) {
    std::int16_t status = -1;
    return dfrset(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                  f.path().c_str(), &status, nullptr);
  }
};

TEST_F(Reader, LinearTypeMaskSkipsDeletedAndOtherTypes) {
  DesignFixture f(R"(
linestring level=5 deleted : 0 0 10 10
cell name=A origin=0,0 {
  ellipse level=2 origin=0,0 axes=5,5
}
line level=9 color=4 weight=3 style=2 class=1 gg=12 : 100 200 300 400
)");
  ASSERT_EQ(open(f), 0);
  std::int16_t status = -1;
  dfrset(nullptr, nullptr, kLinearTypes, nullptr, nullptr, nullptr, nullptr, nullptr, &status, nullptr);
  const Read r = next();
  ASSERT_EQ(r.status, kReqeleOk);
  EXPECT_EQ(r.type, 3);
  EXPECT_EQ(r.level, 9);
  EXPECT_EQ(offset_of(r.position), f.offset(2));
  EXPECT_EQ(r.position.word, (f.offset(2) % 512) / 2);
  EXPECT_EQ(r.total_words, 28);  // file words-to-follow 24, +2 growth, +2
  EXPECT_EQ(r.properties & 0xF, 1);
  EXPECT_EQ(r.symbology, 2 | (3 << 3) | (4 << 8));
  EXPECT_EQ(r.graphic_group, 12);
  EXPECT_EQ(r.range, (std::array<std::int32_t, 6>{100, 200, 0, 300, 400, 0}));
  EXPECT_EQ(r.element[1], 26);                            // memory words-to-follow
  EXPECT_EQ(r.element[24], 300);                          // end point x at byte 48
  EXPECT_EQ(next().status, kReqeleEndOfDesign);
  EXPECT_EQ(next().status, kReqeleEndOfDesign);
}

struct CriteriaCase {
  const char* name;
  const char* element;
  // dfrset arguments; null leaves the test off.
  std::optional<std::array<std::uint16_t, 4>> level_mask;
  std::optional<std::uint16_t> class_mask;
  std::optional<std::array<std::uint16_t, 2>> properties;
  std::optional<std::uint16_t> graphic_group;
  std::optional<std::array<std::int32_t, 6>> range;
  bool delivered;
};

TEST_F(Reader, CriteriaTable) {
  const std::array<std::uint16_t, 4> all = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
  const std::array<std::uint16_t, 4> no_64 = {0xFFFF, 0xFFFF, 0xFFFF, 0x7FFF};
  const std::array<std::uint16_t, 4> level_10 = {0x0200, 0, 0, 0};
  const CriteriaCase cases[] = {
      {"level 0 passes with bit 63", "line level=0 : 0 0 1 1", all, {}, {}, {}, {}, true},
      {"level 0 fails without bit 63", "line level=0 : 0 0 1 1", no_64, {}, {}, {}, {}, false},
      {"level 10 in mask", "line level=10 : 0 0 1 1", level_10, {}, {}, {}, {}, true},
      {"level 11 not in mask", "line level=11 : 0 0 1 1", level_10, {}, {}, {}, {}, false},
      {"class 1 vs mask 5", "line class=1 : 0 0 1 1", {}, std::uint16_t{5}, {}, {}, {}, false},
      {"class 1 vs all classes", "line class=1 : 0 0 1 1", {}, std::uint16_t{0xFFFF}, {}, {}, {}, true},
      {"class 2 vs mask 5", "line class=2 : 0 0 1 1", {}, std::uint16_t{5}, {}, {}, {}, true},
      {"properties match", "line props=0x4000 : 0 0 1 1", {}, {},
       std::array<std::uint16_t, 2>{0x4000, 0x4000}, {}, {}, true},
      {"properties differ", "line : 0 0 1 1", {}, {},
       std::array<std::uint16_t, 2>{0x4000, 0x4000}, {}, {}, false},
      {"graphic group equal", "line gg=5 : 0 0 1 1", {}, {}, {}, std::uint16_t{5}, {}, true},
      {"graphic group differs", "line gg=6 : 0 0 1 1", {}, {}, {}, std::uint16_t{5}, {}, false},
      {"graphic group 0 turns the test off", "line gg=6 : 0 0 1 1", {}, {}, {}, std::uint16_t{0}, {}, true},
      {"range overlaps", "line : 0 0 100 100", {}, {}, {}, {},
       std::array<std::int32_t, 6>{100, 100, -1, 200, 200, 1}, true},
      {"range touches only below", "line : -100 -100 -1 -1", {}, {}, {}, {},
       std::array<std::int32_t, 6>{0, 0, -1, 200, 200, 1}, false},
      {"negative range overlaps", "line : -300 -300 -200 -200", {}, {}, {}, {},
       std::array<std::int32_t, 6>{-250, -250, 0, -240, -240, 0}, true},
  };
  for (const CriteriaCase& c : cases) {
    SCOPED_TRACE(c.name);
    reset_design_reader();
    DesignFixture f(c.element);
    std::int16_t status = -1;
    const std::uint16_t line_type[4] = {0x0004, 0, 0, 0};
    dfrset(nullptr, c.level_mask ? c.level_mask->data() : nullptr, line_type,
           c.graphic_group ? &*c.graphic_group : nullptr,
           c.properties ? c.properties->data() : nullptr, c.class_mask ? &*c.class_mask : nullptr,
           c.range ? c.range->data() : nullptr, f.path().c_str(), &status, nullptr);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(next().status, c.delivered ? kReqeleOk : kReqeleEndOfDesign);
  }
}

TEST_F(Reader, DefaultsDeliverEveryElementIncludingComponents) {
  DesignFixture f(R"(
chain level=3 {
  linestring level=3 : 0 0 5 5
  line level=3 : 5 5 9 9
}
text level=4 origin=1,1 size=10,10 : "x"
cell name=ABCDEF origin=0,0 {
  line level=3 : 0 0 1 1
}
)");
  ASSERT_EQ(open(f), 0);
  std::vector<int> types;
  std::int32_t cell_value = 0;
  for (;;) {
    std::array<std::uint16_t, 800> element{};
    const std::int32_t max_words = 800;
    std::int16_t type = 0;
    if (reqele(element.data(), &max_words, nullptr, nullptr, &type, &cell_value, nullptr,
               nullptr, nullptr, nullptr, nullptr, nullptr) != kReqeleOk) {
      break;
    }
    types.push_back(type);
    if (type == 2) {
      // The cell value of a cell header is its name, the 32-bit value at byte 44.
      EXPECT_EQ(static_cast<std::uint32_t>(cell_value),
                element[22] | (static_cast<std::uint32_t>(element[23]) << 16));
      EXPECT_NE(cell_value, 0);
    }
  }
  EXPECT_EQ(types, (std::vector<int>{9, 12, 4, 3, 17, 2, 3}));
}

TEST_F(Reader, ComplexHandlingFollowsTheHeader) {
  DesignFixture f(R"(
chain level=3 {
  linestring level=9 : 0 0 5 5
  line level=9 : 5 5 9 9
}
chain level=5 {
  linestring level=3 : 0 0 5 5
}
linestring level=3 : 0 0 1 1
)");
  const std::uint16_t level_3[4] = {0x0004, 0, 0, 0};
  const std::uint16_t chains_and_strings[4] = {0x0808, 0, 0, 0};  // types 4 and 12
  for (const std::uint16_t complex : {std::uint16_t{1}, std::uint16_t{0}}) {
    SCOPED_TRACE(complex);
    reset_design_reader();
    std::int16_t status = -1;
    dfrset(nullptr, level_3, chains_and_strings, nullptr, nullptr, nullptr, nullptr,
           f.path().c_str(), &status, &complex);
    std::vector<std::pair<int, int>> seen;  // type, level
    for (Read r = next(); r.status == kReqeleOk; r = next()) seen.emplace_back(r.type, r.level);
    const std::vector<std::pair<int, int>> with = {{12, 3}, {4, 9}, {3, 9}, {4, 3}};
    const std::vector<std::pair<int, int>> without = {{12, 3}, {4, 3}, {4, 3}};
    EXPECT_EQ(seen, complex ? with : without);
  }
}

TEST_F(Reader, ThreeDimensionalFileUsesThreeDimensionalLayouts) {
  DesignFixture f(R"(dimension 3
line level=1 : 1 2 3 4 5 6
)");
  ASSERT_EQ(open(f), 0);
  std::int16_t status = -1;
  dfrset(nullptr, nullptr, kLinearTypes, nullptr, nullptr, nullptr, nullptr, nullptr, &status, nullptr);
  const Read r = next();
  ASSERT_EQ(r.status, kReqeleOk);
  EXPECT_EQ(r.element[26], 4);  // end point x at byte 52
  EXPECT_EQ(r.element[30], 6);  // end point z at byte 60
  EXPECT_EQ(r.range, (std::array<std::int32_t, 6>{1, 2, 3, 4, 5, 6}));
}

TEST_F(Reader, DirectModeReadsAtThePositionAndAdvances) {
  DesignFixture f(R"(
line level=1 : 0 0 1 1
arc level=2 origin=0,0 axes=10,10 start=0 sweep=90
line level=3 : 0 0 1 1
)");
  ASSERT_EQ(open(f), 0);
  const ScanPosition at{f.offset(0) / 512, (f.offset(0) % 512) / 2};
  std::int16_t status = -1;
  dfrset(&at, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &status, nullptr);
  const std::int16_t direct = 1;
  search(&direct);
  EXPECT_EQ(next().level, 1);
  const Read arc = next();
  EXPECT_EQ(arc.status, kReqeleOk);
  EXPECT_EQ(arc.level, 2);
  EXPECT_EQ(offset_of(arc.position), f.offset(1));
  // A 2-D arc grows by 4 words: the next element lies at 2 x wtf - 4 bytes.
  EXPECT_EQ(f.offset(2) - f.offset(1), 2u * arc.element[1] - 4);
  EXPECT_EQ(next().level, 3);
  const Read end = next();
  EXPECT_EQ(end.status, kReqeleEndOfDesign);
  EXPECT_EQ(next().status, kReqeleEndOfDesign);  // nothing moved

  // Too small a buffer: status 2, the first max_words words are copied.
  const ScanPosition second{f.offset(1) / 512, (f.offset(1) % 512) / 2};
  dfrset(&second, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &status, nullptr);
  const Read cut = next(10);
  EXPECT_EQ(cut.status, kReqeleTooLong);
  EXPECT_EQ(cut.element[1], arc.element[1]);
  EXPECT_EQ(cut.element[10], 0);  // beyond the 10 words: untouched

  // Back to scan mode: the scan restarts at the start position.
  const std::int16_t scan = 0;
  search(&scan);
  EXPECT_EQ(next().level, 2);
  EXPECT_EQ(next().level, 3);
}

TEST_F(Reader, OpenStatuses) {
  std::int16_t status = 0;
  EXPECT_EQ(dfrset(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   "/nonexistent/none.dgn", &status, nullptr), -2);
  EXPECT_EQ(status, -2);
  EXPECT_EQ(next().status, kReqeleNoFile);

  DesignFixture f("line : 0 0 1 1");
  struct Case {
    const char* name;
    std::uint16_t first_word;
    long size;  // -1: keep the whole file
    std::int16_t status;
  };
  const Case cases[] = {
      {"2-D header", 0x0908, -1, 0},     {"3-D header", 0x09C8, -1, 0},
      {"type 5 header", 0x0508, -1, 0},  {"bit 6 only", 0x0948, -1, 0},
      {"wrong level", 0x0907, -1, 3},    {"a line first", 0x0301, -1, 3},
      {"127 bytes", 0x0908, 127, 3},     {"128 bytes", 0x0908, 128, 0},
      {"empty", 0x0908, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = f.bytes();
    put_word(bytes.data(), 0, c.first_word);
    if (c.size >= 0) bytes.resize(static_cast<std::size_t>(c.size));
    DesignFixture g("");
    g.bytes() = bytes;
    g.write();
    EXPECT_EQ(dfrset(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     g.path().c_str(), &status, nullptr), c.status);
    if (c.status != 0) {
      EXPECT_EQ(next().status, kReqeleNoFile);
    }
  }
}

int flushes = 0;
bool counting_hook() {
  ++flushes;
  return true;
}

TEST_F(Reader, FlushHookRunsBeforeOpenAndEveryReadAndRefreshesTheWindow) {
  DesignFixture f(R"(
line level=1 : 0 0 1 1
line level=2 : 0 0 1 1
)");
  flushes = 0;
  set_host_flush_hook(counting_hook);
  ASSERT_EQ(open(f), 0);
  EXPECT_EQ(flushes, 1);
  const std::uint16_t line_type[4] = {0x0004, 0, 0, 0};
  std::int16_t status = -1;
  dfrset(nullptr, nullptr, line_type, nullptr, nullptr, nullptr, nullptr, nullptr, &status, nullptr);
  EXPECT_EQ(flushes, 1);  // no path: no flush
  EXPECT_EQ(next().level, 1);
  EXPECT_EQ(flushes, 2);
  // The host rewrites the second line's level; after the flush the reader
  // sees the new data rather than its buffered copy.
  auto& bytes = f.bytes();
  put_word(bytes.data(), f.offset(1), static_cast<std::uint16_t>((3 << 8) | 7));
  f.write();
  EXPECT_EQ(next().level, 7);
  EXPECT_EQ(flushes, 3);
}

}  // namespace
}  // namespace vornel::client
