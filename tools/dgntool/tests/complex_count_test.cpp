// dgntool dump on complex chains and shapes the host assembled: the
// components a header reports are the records that follow it with the
// complex bit, a B-spline counting its header and each pole, knot and weight
// element, so the count ends exactly where the complex element ends.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/operations/operations.h"
#include "client/session/session.h"
#include "testsupport/run_program.h"

namespace {

using vornel::testing::run_program;

constexpr std::int16_t kMode[2] = {2, 0};
constexpr std::int16_t kLevel = 3;

enum class Part { line, line_string, bspline, rational_bspline_with_knots };

int place(Part part) {
  std::int16_t status = -1;
  switch (part) {
    case Part::line: {
      const std::int32_t points[] = {0, 0, 100, 0};
      return vornel::lndfpi(kMode, &kLevel, nullptr, points, &status, nullptr);
    }
    case Part::line_string: {
      const std::int32_t vertices[] = {100, 0, 200, 0, 200, 100};
      const std::int16_t count = 3;
      return vornel::lsdfpi(kMode, &kLevel, nullptr, vertices, &count, &status, nullptr);
    }
    case Part::bspline:
    case Part::rational_bspline_with_knots: {
      const bool full = part == Part::rational_bspline_with_knots;
      const std::int32_t poles[] = {200, 100, 300, 200, 400, 100, 500, 200};
      const double weights[] = {1, 0.5, 0.5, 1}, knots[] = {0.5};
      const std::int16_t curve_type = 0, order = 3, no = 0, rational = full ? 1 : 0, pole_count = 4,
                         knot_count = full ? 1 : 0;
      return vornel::bcdfpi(kMode, &kLevel, nullptr, &curve_type, &order, &no, &rational, &no, &no, &pole_count,
                            &knot_count, poles, full ? weights : nullptr, full ? knots : nullptr, nullptr, &status);
    }
  }
  return -1;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
  }
  return out;
}

// The number after " KEY=" in a dump line, -1 when the key is missing.
long value_of(const std::string& line, const std::string& key) {
  const std::size_t at = line.find(" " + key + "=");
  return at == std::string::npos ? -1 : std::atol(line.c_str() + at + key.size() + 2);
}

TEST(DgnToolComplexCount, HeaderCountsEveryRecordThatFollowsIt) {
  struct Case {
    const char* name;
    std::int16_t type_word;  // 1: chain, 0: shape
    std::vector<Part> parts;
    int components;
  };
  const Case cases[] = {
      {"chain of a line and a line string", 1, {Part::line, Part::line_string}, 2},
      {"chain ending in a B-spline of poles only", 1, {Part::line, Part::bspline}, 3},
      {"chain with a rational B-spline with knots inside",
       1,
       {Part::line, Part::rational_bspline_with_knots, Part::line_string},
       6},
      {"shape closed by a B-spline", 0, {Part::line_string, Part::rational_bspline_with_knots}, 5},
  };
  setenv("MS_EXE", VORNEL_BIN_DIR, 1);
  for (const char* name : {"MSGKEY", "TCBKEY", "MS_RSRC", "MS_DEBUG", "MS_CACH"}) unsetenv(name);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vornel::testing::TempDir dir;
    vornel::testing::write_file(dir / "seed.txt", "line level=1 : 0 0 1 1\n");
    const std::string dgn = (dir / "complex.dgn").string();
    const auto made = run_program("dgntool", {"make", (dir / "seed.txt").string(), dgn}, dir.path());
    ASSERT_EQ(made.exit_status, 0) << made.output;

    std::int16_t status = -1, mode = 1;
    ASSERT_EQ(vornel::indfpi(nullptr, dgn.c_str(), nullptr, nullptr, &mode, nullptr, &status, nullptr), 0);
    ASSERT_EQ(vornel::bcmplx(nullptr, &status), 0);
    for (Part part : c.parts) EXPECT_EQ(place(part), 0);
    ASSERT_EQ(vornel::ecmplx(&c.type_word, &status), 0);
    EXPECT_EQ(place(Part::line), 0);  // outside the complex element
    ASSERT_EQ(vornel::dedfpi(nullptr), 0);

    const auto dumped = run_program("dgntool", {"dump", dgn}, dir.path());
    ASSERT_EQ(dumped.exit_status, 0) << dumped.output;
    const std::vector<std::string> lines = lines_of(dumped.output);
    std::size_t header = 0;
    while (header < lines.size() && value_of(lines[header], "type") != (c.type_word == 1 ? 12 : 14)) ++header;
    ASSERT_LT(header, lines.size()) << dumped.output;
    EXPECT_EQ(value_of(lines[header], "components"), c.components) << lines[header];
    ASSERT_GT(lines.size(), header + static_cast<std::size_t>(c.components) + 1) << dumped.output;
    for (int k = 1; k <= c.components; ++k) EXPECT_EQ(value_of(lines[header + k], "complex"), 1) << lines[header + k];
    EXPECT_EQ(value_of(lines[header + static_cast<std::size_t>(c.components) + 1], "complex"), 0);
  }
}

}  // namespace
