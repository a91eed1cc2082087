// Stroked vertices stay within the tolerance of the true curve, start and
// end where the curve does, and come in the counts the chord rule gives.

#include "host/editing/element_builder.h"
#include "host/editing/stroke.h"
#include "tools/dgnmake/description_parser.hpp"
#include "tools/dgnmake/element_encoder.hpp"
#include "client/records/convert_element.hpp"
#include "client/records/element_words.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vornel::host::editing {
namespace {

using client::Dimension;

// Memory forms of the described element and its components.
std::vector<std::vector<std::uint8_t>> memory_records(const std::string& text) {
  const auto d = dgnmake::parse_design_description(text);
  const auto file = dgnmake::encode_element(d.elements.at(0), d.dimension);
  std::vector<std::vector<std::uint8_t>> out;
  for (std::size_t at = 0; at < file.size();) {
    const std::size_t bytes = 2 * (std::size_t{client::get_word(file.data(), at + 2)} + 2);
    std::vector<std::uint8_t> memory(1600);
    memory.resize(client::file_to_memory(std::span(file).subspan(at, bytes), memory, d.dimension));
    out.push_back(std::move(memory));
    at += bytes;
  }
  return out;
}

double distance_to_ellipse(const Point& p, double cx, double cy, double a, double b) {
  // Nearest point by a fine search over the parameter.
  double best = 1e300;
  for (int i = 0; i < 36000; ++i) {
    const double t = i * std::numbers::pi / 18000;
    best = std::min(best, std::hypot(p.x - (cx + a * std::cos(t)), p.y - (cy + b * std::sin(t))));
  }
  return best;
}

TEST(Stroke, ArcsAndEllipsesKeepWithinTheTolerance) {
  struct Case {
    const char* text;
    double tolerance;
    std::size_t vertices;
    Point first, last;
  } cases[] = {
      // 90 degrees of radius 1000 at tolerance 10: chords of 2 acos(0.99) = 16.2 degrees.
      {"arc level=1 origin=0,0 axes=1000,1000 start=0 sweep=90", 10.0, 7, {1000, 0, 0}, {0, 1000, 0}},
      {"arc level=1 origin=0,0 axes=1000,1000 start=90 sweep=-90", 10.0, 7, {0, 1000, 0}, {1000, 0, 0}},
      {"ellipse level=1 origin=500,500 axes=1000,1000", 1.0, 72, {1500, 500, 0}, {1500, 500, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto records = memory_records(c.text);
    const StrokeResult r = stroke_element(records[0], c.tolerance, Dimension::two);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.vertices.size(), c.vertices);
    EXPECT_EQ(r.vertices.front().x, c.first.x);
    EXPECT_EQ(r.vertices.front().y, c.first.y);
    EXPECT_EQ(r.vertices.back().x, c.last.x);
    EXPECT_EQ(r.vertices.back().y, c.last.y);
    const double cx = r.vertices.front().x == 1500 ? 500 : 0, cy = cx;
    for (std::size_t i = 0; i + 1 < r.vertices.size(); ++i) {
      const Point& a = r.vertices[i];
      const Point& b = r.vertices[i + 1];
      const Point mid{(a.x + b.x) / 2, (a.y + b.y) / 2, 0};
      EXPECT_LE(distance_to_ellipse(mid, cx, cy, 1000, 1000), c.tolerance + 1.0);
    }
  }
}

TEST(Stroke, CurvePassesThroughItsPointsBetweenTheControlPoints) {
  const Point p[] = {{0, 0, 0}, {1000, 0, 0}, {2000, 1000, 0}, {3000, 1000, 0}};
  const BuildResult built = build_curve({}, p, Dimension::two);
  const StrokeResult r = stroke_element(built.elements[0].memory, 2.0, Dimension::two);
  ASSERT_EQ(r.status, 0);
  ASSERT_GT(r.vertices.size(), 4u);
  EXPECT_EQ(r.vertices.front().x, 0);
  EXPECT_EQ(r.vertices.back().x, 3000);
  for (const Point& q : p) {
    const bool found = std::any_of(r.vertices.begin(), r.vertices.end(),
                                   [&](const Point& v) { return v.x == q.x && v.y == q.y; });
    EXPECT_TRUE(found) << q.x << "," << q.y;
  }
}

TEST(Stroke, BsplinesFromPolesKnotsAndWeights) {
  struct Case {
    const char* text;
    Point first, last;
  } cases[] = {
      // Clamped: the curve starts and ends on its end poles.
      {"bspline level=1 order=3 {\npoles : 0 0 1000 0 1000 1000 0 1000\n}", {0, 0, 0}, {0, 1000, 0}},
      {"bspline level=1 order=4 {\npoles : 0 0 1000 0 1000 1000 0 1000 -500 500\nknots : 0.3\n}", {0, 0, 0}, {-500, 500, 0}},
      {"bspline level=1 order=3 {\npoles : 0 0 1000 0 1000 1000 0 1000\nweights : 1 0.5 0.5 1\n}", {0, 0, 0}, {0, 1000, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto records = memory_records(c.text);
    std::vector<std::span<const std::uint8_t>> parts(records.begin(), records.end());
    const StrokeResult fine = stroke_bspline(parts, 0.5, Dimension::two);
    const StrokeResult coarse = stroke_bspline(parts, 20.0, Dimension::two);
    ASSERT_EQ(fine.status, 0);
    ASSERT_EQ(coarse.status, 0);
    EXPECT_EQ(fine.vertices.front().x, c.first.x);
    EXPECT_EQ(fine.vertices.front().y, c.first.y);
    EXPECT_EQ(fine.vertices.back().x, c.last.x);
    EXPECT_EQ(fine.vertices.back().y, c.last.y);
    EXPECT_LT(coarse.vertices.size(), fine.vertices.size());
    // Every coarse vertex lies on the curve, so near the fine polyline.
    for (const Point& v : coarse.vertices) {
      double best = 1e300;
      for (std::size_t i = 0; i + 1 < fine.vertices.size(); ++i) {
        const Point& a = fine.vertices[i];
        const Point& b = fine.vertices[i + 1];
        const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? std::clamp(((v.x - a.x) * dx + (v.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
        best = std::min(best, std::hypot(v.x - (a.x + t * dx), v.y - (a.y + t * dy)));
      }
      EXPECT_LE(best, 2.0);
    }
  }
}

TEST(Stroke, ToleranceOfZeroOrBelowTakesADefaultFromTheSize) {
  const auto records = memory_records("arc level=1 origin=0,0 axes=100000,100000 start=0 sweep=360");
  const StrokeResult zero = stroke_element(records[0], 0.0, Dimension::two);
  const StrokeResult negative = stroke_element(records[0], -1.0, Dimension::two);
  const StrokeResult explicit_default = stroke_element(records[0], 100.0, Dimension::two);
  ASSERT_EQ(zero.status, 0);
  EXPECT_EQ(zero.vertices.size(), explicit_default.vertices.size());
  EXPECT_EQ(negative.vertices.size(), explicit_default.vertices.size());
  EXPECT_GT(zero.vertices.size(), 20u);
  EXPECT_LT(zero.vertices.size(), 200u);
}

TEST(Stroke, ElementsThatCannotBeStroked) {
  const auto text = memory_records("text level=1 origin=0,0 size=10,10 : \"A\"");
  EXPECT_EQ(stroke_element(text[0], 1.0, Dimension::two).status, 934);
  const std::vector<std::uint8_t> short_record(10, 0);
  EXPECT_EQ(stroke_element(short_record, 1.0, Dimension::two).status, 934);
  std::vector<std::span<const std::uint8_t>> no_poles{text[0]};
  EXPECT_EQ(stroke_bspline(no_poles, 1.0, Dimension::two).status, 934);
}

}  // namespace
}  // namespace vornel::host::editing
