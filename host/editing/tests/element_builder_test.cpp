// The host's element records must match, byte for byte, the records that
// the fixture builder writes for the same description: both follow the same
// version-7 conventions, and the reader and the dump understand them.

#include "client/records/element_words.hpp"
#include "host/editing/element_builder.h"
#include "tools/dgnmake/description_parser.hpp"
#include "tools/dgnmake/element_encoder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace vornel::host::editing {
namespace {

using client::Dimension;

std::vector<std::uint8_t> described(const std::string& text) {
  const auto d = dgnmake::parse_design_description(text);
  return dgnmake::encode_element(d.elements.at(0), d.dimension);
}

std::vector<std::uint8_t> joined(const BuildResult& r) {
  std::vector<std::uint8_t> out;
  for (const auto& e : r.elements) out.insert(out.end(), e.file.begin(), e.file.end());
  return out;
}

Placement placed(int level, int color, int weight, int style, std::vector<std::uint16_t> links = {}) {
  Placement p;
  p.level = level;
  p.color = static_cast<std::uint16_t>(color);
  p.weight = static_cast<std::uint16_t>(weight);
  p.style = static_cast<std::uint16_t>(style);
  p.linkages = std::move(links);
  return p;
}

TEST(ElementBuilder, RecordsMatchTheFixtureBuilder) {
  const std::vector<std::uint16_t> link = {0x0000, 12, 345, 0};  // entity 12, mslink 345
  struct Case {
    const char* name;
    std::string description;
    std::function<BuildResult()> build;
    bool compare_range;
  } cases[] = {
      {"line 2-D", "line level=10 color=3 weight=1 link=12/345 : 0 0 10000 5000",
       [&] { return build_line(placed(10, 3, 1, 0, link), {0, 0, 0}, {10000, 5000, 0}, Dimension::two); }, true},
      {"line 3-D", "dimension 3\nline level=10 : 1 2 3 -4 -5 -6",
       [&] { return build_line(placed(10, 0, 0, 0), {1, 2, 3}, {-4, -5, -6}, Dimension::three); }, true},
      {"line string 2-D", "linestring level=11 style=2 : 0 0 1000 0 1000 1000",
       [&] {
         const Point v[] = {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}};
         return build_vertex_element(4, placed(11, 0, 0, 2), v, Dimension::two);
       }, true},
      {"shape 3-D", "dimension 3\nshape level=5 color=200 : 0 0 0 10 0 1 10 10 2 0 0 0",
       [&] {
         const Point v[] = {{0, 0, 0}, {10, 0, 1}, {10, 10, 2}, {0, 0, 0}};
         return build_vertex_element(6, placed(5, 200, 0, 0), v, Dimension::three);
       }, true},
      {"text 2-D", "text level=20 origin=100,100 size=2000,2000 rotation=0 : \"A1\"",
       [&] {
         TextGeometry t{2000, 2000, 0, 0, 0.0, {100, 100, 0}, "A1"};
         return build_text(placed(20, 0, 0, 0), t, Dimension::two);
       }, true},
      {"text 3-D", "dimension 3\ntext level=20 origin=100,100,7 size=300,600 rotation=30 font=3 just=2 : \"abc\"",
       [&] {
         TextGeometry t{300, 600, 3, 2, 30.0, {100, 100, 7}, "abc"};
         return build_text(placed(20, 0, 0, 0), t, Dimension::three);
       }, false},
      {"ellipse 2-D", "ellipse level=1 origin=5000,5000 axes=1000,500 rotation=30",
       [&] {
         EllipseGeometry e{1000, 500, {5000, 5000, 0}, 30.0, {}};
         return build_ellipse(placed(1, 0, 0, 0), e, Dimension::two);
       }, false},
      {"ellipse 3-D", "dimension 3\nellipse level=1 origin=5000,5000,9 axes=1000,500 rotation=45",
       [&] {
         EllipseGeometry e{1000, 500, {5000, 5000, 9}, 0.0, {}};
         const double c = std::sqrt(0.5);
         e.matrix = {c, -c, 0, c, c, 0, 0, 0, 1};
         return build_ellipse(placed(1, 0, 0, 0), e, Dimension::three);
       }, false},
      {"B-spline", "bspline level=7 order=3 {\npoles : 0 0 100 0 100 100 0 100\nknots : 0.5\nweights : 1 0.5 0.5 1\n}",
       [&] {
         BsplineGeometry b;
         b.order = 3;
         b.poles = {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}};
         b.knots = {0.5};
         b.weights = {1, 0.5, 0.5, 1};
         return build_bspline(placed(7, 0, 0, 0), b, Dimension::two);
       }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const BuildResult built = c.build();
    ASSERT_EQ(built.status, 0);
    std::vector<std::uint8_t> ours = joined(built);
    std::vector<std::uint8_t> theirs = described(c.description);
    ASSERT_EQ(ours.size(), theirs.size());
    if (!c.compare_range) {
      std::fill(ours.begin() + 4, ours.begin() + 28, 0);
      std::fill(theirs.begin() + 4, theirs.begin() + 28, 0);
    }
    EXPECT_EQ(ours, theirs);
  }
}

TEST(ElementBuilder, TurnedEllipseRangeIsTight) {
  EllipseGeometry e{1000, 500, {0, 0, 0}, 90.0, {}};
  const Box box = build_ellipse(placed(1, 0, 0, 0), e, Dimension::two).elements.at(0).range;
  EXPECT_EQ(box.low[0], -500);
  EXPECT_EQ(box.high[0], 500);
  EXPECT_EQ(box.low[1], -1000);
  EXPECT_EQ(box.high[1], 1000);
}

TEST(ElementBuilder, CurveStoresTwoControlPointsAtEachEnd) {
  const Point p[] = {{0, 0, 0}, {100, 0, 0}, {200, 50, 0}};
  const BuildResult r = build_curve(placed(3, 0, 0, 0), p, Dimension::two);
  ASSERT_EQ(r.status, 0);
  const auto& m = r.elements[0].memory;
  ASSERT_EQ(client::get_word(m.data(), 40), 7);
  auto x = [&](int i) { return static_cast<std::int32_t>(client::get_long(m.data(), 44 + 8 * static_cast<std::size_t>(i))); };
  EXPECT_EQ(x(0), -200);
  EXPECT_EQ(x(1), -100);
  EXPECT_EQ(x(2), 0);
  EXPECT_EQ(x(4), 200);
  EXPECT_EQ(x(5), 300);
  EXPECT_EQ(x(6), 400);
}

TEST(ElementBuilder, RefusesWhatNoRecordCanHold) {
  std::vector<Point> many(102), one(1);
  struct Case {
    const char* name;
    BuildResult result;
    int status;
  } cases[] = {
      {"line string of one vertex", build_vertex_element(4, {}, one, Dimension::two), 904},
      {"line string of 102 vertices", build_vertex_element(4, {}, many, Dimension::two), 905},
      {"shape of two vertices", build_vertex_element(6, {}, std::span(many).first(2), Dimension::two), 904},
      {"curve of 98 points", build_curve({}, std::span(many).first(98), Dimension::two), 905},
      {"B-spline below its order", build_bspline({}, BsplineGeometry{0, 4, false, {{}, {}, {}}, {}, {}}, Dimension::two), 1014},
      {"linkages beyond 768 words", build_vertex_element(4, placed(1, 0, 0, 0, std::vector<std::uint16_t>(600, 0)),
                                                          std::span(many).first(101), Dimension::three), 921},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.result.status, c.status);
    EXPECT_TRUE(c.result.elements.empty());
  }
}

}  // namespace
}  // namespace vornel::host::editing
