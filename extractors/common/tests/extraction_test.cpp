// Number lists of the selection options and the retry rule of B-spline
// strokes (with a stand-in stroke: the rule is what is under test here).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extractors/common/geometry_operations.h"
#include "extractors/common/number_list.h"

namespace vornel::extract {
namespace {

std::vector<int> listed(const std::string& list, int low, int high) {
  std::vector<int> values;
  for_each_listed(list, low, high, [&](int v) { values.push_back(v); });
  return values;
}

TEST(NumberList, ReadsNumbersAndRangesInEitherOrderWithinLimits) {
  struct Case {
    const char* list;
    std::vector<int> expected;
  } const cases[] = {
      {"1-5,7", {1, 2, 3, 4, 5, 7}},
      {"9-7", {7, 8, 9}},
      {"60-99", {60, 61, 62, 63}},
      {"0,64,3", {3}},
      {",,2,", {2}},
      {"", {}},
      {"x", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(listed(c.list, 1, 63), c.expected) << c.list;
  // The widest range costs only the values inside the limits.
  EXPECT_EQ(listed("-2147483648-2147483647", 1, 63).size(), 63u);
}

struct StrokeScript {
  std::vector<double> tolerances;  // every tolerance the stroke was called with
  std::size_t vertices_from = 0;   // from this call on the stroke gives `good` vertices
  std::size_t first = 0;           // vertices of the calls before
  std::size_t good = 5;
};

int scripted_stroke(StrokeScript& script, const double tolerance, std::vector<Vertex>& out) {
  script.tolerances.push_back(tolerance);
  const std::size_t n = script.tolerances.size() > script.vertices_from ? script.good : script.first;
  out.assign(n, Vertex{});
  return 0;
}

TEST(StrokeRetries, GrowTheToleranceUntilTheCountFits) {
  StrokeScript none{{}, 2, 0};
  std::vector<Vertex> out;
  stroke_with_retries([&](double t, auto& v) { return scripted_stroke(none, t, v); }, -1.0, out);
  EXPECT_EQ(none.tolerances, (std::vector<double>{-1.0, 2.5 * 1.25, 2.5 * 1.25 * 1.25}));
  EXPECT_EQ(out.size(), 5u);

  StrokeScript many{{}, 1, 1023};
  stroke_with_retries([&](double t, auto& v) { return scripted_stroke(many, t, v); }, 4.0, out);
  EXPECT_EQ(many.tolerances, (std::vector<double>{4.0, 5.0}));

  StrokeScript enough{{}, 0, 0, 1022};
  stroke_with_retries([&](double t, auto& v) { return scripted_stroke(enough, t, v); }, -1.0, out);
  EXPECT_EQ(enough.tolerances.size(), 1u);
}

TEST(StrokeRetries, EndForToleranceThatCannotGrow) {
  for (const double start : {0.0, -2.0, -1.0}) {
    StrokeScript never{{}, 100000, 0};
    std::vector<Vertex> out;
    stroke_with_retries([&](double t, auto& v) { return scripted_stroke(never, t, v); }, start,
                        out);
    EXPECT_LT(never.tolerances.size(), 100u) << start;
    EXPECT_GE(never.tolerances.back(), 1000000.0) << start;
    EXPECT_TRUE(out.empty());
  }
}

}  // namespace
}  // namespace vornel::extract
