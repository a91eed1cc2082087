// Diagnostic flags through whole runs: the circles and ellipses the joiner
// places (centre, axes, level, symbology) and the summary lines that count
// them. The files use 10 subunits of 1000 UOR, so one master unit is 10000 UOR.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "joiner/tests/chain_run_fixture.h"

namespace {

using namespace vornel::joiner::testing;

struct Flag {
  std::string level;
  std::string color;
  std::string weight;
  std::string style;
  std::string origin;
  std::string axes;
  bool operator==(const Flag&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Flag& f) {
  return out << "level " << f.level << " color " << f.color << " weight " << f.weight << " style " << f.style
             << " origin " << f.origin << " axes " << f.axes;
}

struct Case {
  const char* name;
  const char* design;
  std::vector<std::string> options;
  std::vector<Flag> placed;          // in the order they were placed
  std::vector<std::string> summary;  // lines the output holds
};

class FlagRun : public ChainRun {
 protected:
  // The ellipses in the file, in file order.
  std::vector<Flag> flags() {
    std::vector<Flag> found;
    for (const std::string& line : dump_lines())
      if (dump_field(line, "type") == "15")
        found.push_back({dump_field(line, "level"), dump_field(line, "color"), dump_field(line, "weight"),
                         dump_field(line, "style"), dump_field(line, "origin"), dump_field(line, "axes")});
    return found;
  }

  void check(const Case& c, const std::vector<std::pair<std::string, std::string>>& env = {}) {
    SCOPED_TRACE(c.name);
    const ProgramResult result = join(c.design, c.options, env);
    ASSERT_EQ(result.exit_status, 0) << result.output;
    EXPECT_EQ(flags(), c.placed);
    for (const std::string& line : c.summary)
      EXPECT_NE(result.output.find(line), std::string::npos) << "missing: " << line << "\n" << result.output;
  }
};

TEST_F(FlagRun, MarksDanglesJoinPointsMultiJoinsAndOvershoots) {
  const Case cases[] = {
      {"an isolated line gets a circle at each end in its own colour",
       "line level=10 color=6 : 0 0 30000 0\n",
       {"-D", "20,2"},
       {{"20", "6", "1", "0", "0,0", "20000,20000"}, {"20", "6", "1", "0", "30000,0", "20000,20000"}},
       {"\n  Identified 2 dangling endpoints and placed circles on level 20\n"}},
      {"each dangling end takes the colour of its own element",
       "line level=10 color=6 : 0 0 30000 0\nline level=10 color=9 : 0 50000 30000 50000\n",
       {"-D", "20,1"},
       {{"20", "6", "1", "0", "0,0", "10000,10000"},
        {"20", "6", "1", "0", "30000,0", "10000,10000"},
        {"20", "9", "1", "0", "0,50000", "10000,10000"},
        {"20", "9", "1", "0", "30000,50000", "10000,10000"}},
       {"Identified 4 dangling endpoints"}},
      {"a lone text is no dangling end",
       "text level=10 origin=90000,90000 size=2000,2000 : \"A\"\nline level=10 color=6 : 0 0 30000 0\n",
       {"-D", "20,1", "-e", "3,17"},
       {{"20", "6", "1", "0", "0,0", "10000,10000"}, {"20", "6", "1", "0", "30000,0", "10000,10000"}},
       {"Identified 2 dangling endpoints"}},
      {"three lines at a point get one multi-join circle in the dangle preset's colour",
       "line level=10 : 0 0 10000 0\nline level=10 : 10000 0 20000 0\nline level=10 : 10000 0 10000 10000\n",
       {"-M", "21,1"},
       {{"21", "3", "1", "0", "10000,0", "10000,10000"}},
       {"\n  Identified 1 Multi-join lines and placed circles on level 21\n"}},
      {"a multi-join circle after dangles takes the last dangle colour",
       "line level=10 color=7 : 0 0 10000 0\nline level=10 color=7 : 10000 0 20000 0\n"
       "line level=10 color=7 : 10000 0 10000 10000\n",
       {"-M", "21,1", "-D", "20,1"},
       {{"20", "7", "1", "0", "0,0", "10000,10000"},
        {"20", "7", "1", "0", "20000,0", "10000,10000"},
        {"20", "7", "1", "0", "10000,10000", "10000,10000"},
        {"21", "7", "1", "0", "10000,0", "10000,10000"}},
       {"Identified 3 dangling endpoints", "Identified 1 Multi-join lines"}},
      {"a pass-through point gets a join circle in the candidate's colour and nothing is written",
       "line level=10 color=1 : 0 0 10000 0\nline level=10 color=5 : 10000 0 20000 0\n",
       {"-J", "22,1", "-S", "O"},
       {{"22", "5", "1", "0", "10000,0", "10000,10000"}},
       {"\n  Flagged 1 possible join points\n"}},
      {"a short dangling piece gets an overshoot ellipse at its first vertex",
       "line level=10 : 0 0 9500 0\n",
       {"-OF", "1,23,1"},
       {{"23", "5", "2", "2", "0,0", "10000,15000"}},
       {"\n  Identified 1 short overshoot elements and placed ellipses on level 23\n"}},
      {"a piece as long as the overshoot distance is not flagged",
       "line level=10 : 0 0 10000 0\n",
       {"-OF", "1,23,1"},
       {},
       {"\n  Identified 0 short overshoot elements and placed ellipses on level 23\n"}},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(FlagRun, MarksEachChangeAtABreakInOrder) {
  const Case cases[] = {
      {"a level and colour change: a level ellipse, then a colour circle",
       "line level=10 color=1 : 0 0 10000 0\nline level=11 color=2 : 10000 0 20000 0\n",
       {"-L", "F,24,2", "-S", ",,f,,25,2"},
       {{"24", "4", "2", "0", "10000,0", "15000,25000"}, {"25", "2", "0", "0", "10000,0", "12000,12000"}},
       {"\n  Identified 1 multi-level lines and placed ellipses on level 24\n",
        "  Identified 1 multi-color lines and placed ellipses on level 25\n"}},
      {"style, weight and class changes, each with its own size and symbology",
       "line level=10 style=1 weight=2 : 0 0 10000 0\nline level=10 style=3 weight=4 class=2 : 10000 0 20000 0\n",
       {"-S", "F,26,1"},
       {{"26", "0", "0", "1", "10000,0", "10000,10000"},
        {"26", "0", "2", "0", "10000,0", "8000,8000"},
        {"26", "0", "0", "0", "10000,0", "4000,4000"}},
       {"  Identified 1 multi-style lines and placed ellipses on level 26\n",
        "  Identified 1 multi-weight lines and placed ellipses on level 26\n",
        "  Identified 0 multi-color lines and placed ellipses on level 26\n",
        "  Identified 1 multi-class lines and placed ellipses on level 26\n"}},
      {"an unflagged code breaks without a flag",
       "line level=10 color=1 : 0 0 10000 0\nline level=10 color=2 : 10000 0 20000 0\n",
       {"-S", ",,s"},
       {},
       {"Converted 2 segments into 2 line strings/lines"}},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(FlagRun, MarksAChangedDatabaseValue) {
  make_database(
      "table roads 7\ncolumn name text\nrow 1 'Main' \nrow 2 'Main'\nrow 3 'High'\n");
  const Case c{"rows 1 and 2 join; row 3's other name breaks and is flagged",
               "line level=10 link=7/1 : 0 0 10000 0\nline level=10 link=7/2 : 10000 0 20000 0\n"
               "line level=10 link=7/3 : 20000 0 30000 0\n",
               {"-NV", "roads,name,27,1"},
               {{"27", "4", "2", "0", "20000,0", "12500,10000"}},
               {"\n  Identified 1 multi-value lines and placed circles on level 27\n",
                "Converted 3 segments into 2 line strings/lines"}};
  check(c);
}

TEST_F(FlagRun, PlacesUnrotatedFlagsInThreeDimensionalFiles) {
  const Case c{"both ends of a 3-D line, at their elevation",
               "dimension 3\nline level=10 color=2 : 0 0 500 30000 0 700\n",
               {"-D", "20,1"},
               {{"20", "2", "1", "0", "0,0,500", "10000,10000"}, {"20", "2", "1", "0", "30000,0,700", "10000,10000"}},
               {"Identified 2 dangling endpoints"}};
  check(c);
}

}  // namespace
