// Direction flips through whole runs of the driver: the written direction of
// each chain, the line rows the database flips rewrite, and the counters
// the summary prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "joiner/tests/chain_run_fixture.h"

namespace {

using namespace vornel::joiner::testing;

class DirectionFlip : public ChainRun {
 protected:
  // The vertices of every element the run left in the file, sorted (empty
  // for a cell header).
  std::vector<std::string> written() {
    std::vector<std::string> found;
    for (const Element& e : elements()) found.push_back(e.vertices);
    std::sort(found.begin(), found.end());
    return found;
  }

  // A run database of its own for each case.
  void fresh_database(const std::string& description) {
    for (const char* name : {"d.db", "d.db-wal", "d.db-shm"}) std::filesystem::remove(dir_ / name);
    make_database(description);
  }
};

std::vector<std::string> sorted(std::vector<std::string> items) {
  std::sort(items.begin(), items.end());
  return items;
}

TEST_F(DirectionFlip, GeometricRulesDecideTheWrittenDirection) {
  struct Case {
    const char* name;
    const char* design;
    std::vector<std::string> options;
    std::vector<std::string> written;
    std::vector<std::string> printed;
  };
  const Case cases[] = {
      {"compass: azimuth 135 is not turned", "line level=10 : 0 0 10 -10\n", {"-f"}, {"0,0;10,-10"}, {}},
      {"compass: azimuth 225 is turned", "line level=10 : 0 0 -10 -10\n", {"-f"}, {"-10,-10;0,0"}, {}},
      {"compass: a chain along an axis keeps its own direction", "line level=10 : 10 0 0 0\n", {"-f"},
       {"10,0;0,0"}, {}},
      {"compass: a line walked from its end and pointing the allowed way stays as walked",
       "line level=10 : 10 10 0 0\n", {"-f"}, {"0,0;10,10"}, {}},
      {"compass: a joined chain the walk would turn keeps its compass direction",
       "line level=10 : 0 0 500 500\nline level=10 : 1000 100 500 500\n", {"-f"}, {"0,0;500,500;1000,100"}, {}},
      {"without a rule that joined chain follows its last element",
       "line level=10 : 0 0 500 500\nline level=10 : 1000 100 500 500\n", {}, {"1000,100;500,500;0,0"}, {}},
      {"-zd turns a falling line", "dimension 3\nline level=10 : 0 0 10 1000 0 5\n", {"-zd"},
       {"1000,0,5;0,0,10"}, {}},
      {"-zd leaves a line walked rising as walked", "dimension 3\nline level=10 : 1000 0 10 0 0 5\n", {"-zd"},
       {"0,0,5;1000,0,10"}, {}},
      {"-zu turns a rising line", "dimension 3\nline level=10 : 0 0 5 1000 0 10\n", {"-zu"},
       {"1000,0,10;0,0,5"}, {}},
      {"-zd keeps a level line in its own direction", "dimension 3\nline level=10 : 1000 0 5 0 0 5\n", {"-zd"},
       {"1000,0,5;0,0,5"}, {}},
      {"-zr turns nothing", "dimension 3\nline level=10 : 0 0 10 1000 0 5\n", {"-zr"}, {"0,0,10;1000,0,5"}, {}},
      {"-zd does nothing in a 2-D file", "line level=10 : 0 0 1000 0\n", {"-zd"}, {"0,0;1000,0"}, {}},
      {"-fdangle: lines starting at a dangling end are turned to end there, none joined",
       "line level=10 : 0 0 1000 0\nline level=10 : 2000 0 1000 0\n", {"-fdangle"},
       {"1000,0;0,0", "1000,0;2000,0"}, {"\n  Flipped 2 dangling lines\n"}},
      {"-fdangle: lines already ending at their dangling end are neither turned nor counted",
       "line level=10 : 1000 0 0 0\nline level=10 : 1000 0 2000 0\nline level=10 : 1000 0 1000 1000\n",
       {"-fdangle"}, {"1000,0;0,0", "1000,0;1000,1000", "1000,0;2000,0"}, {"\n  Flipped 0 dangling lines\n"}},
      {"-fdangle with -f: a line between two junctions still follows the compass",
       "line level=10 : 1000 1000 0 0\n"
       "line level=10 : -1000 0 0 0\nline level=10 : 0 -1000 0 0\n"
       "line level=10 : 1000 1000 2000 1000\nline level=10 : 1000 1000 1000 2000\n",
       {"-fdangle", "-f"},
       {"0,0;-1000,0", "0,0;0,-1000", "0,0;1000,1000", "1000,1000;2000,1000", "1000,1000;1000,2000"},
       {"\n  Flipped 2 dangling lines\n"}},
      {"-fdangle with -f: a dangling cell met last in the first pass leaves the compass to the others",
       "line level=10 : 1000 1000 0 0\n"
       "line level=10 : -1000 0 0 0\nline level=10 : 0 -1000 0 0\n"
       "line level=10 : 1000 1000 2000 1000\nline level=10 : 1000 1000 1000 2000\n"
       "cell name=A origin=0,9000 {\n line level=10 : 0 9000 10 9010\n}\n",
       {"-fdangle", "-f", "-e", "2,3"},
       {"0,0;-1000,0", "0,0;0,-1000", "0,0;1000,1000", "1000,1000;2000,1000", "1000,1000;1000,2000",
        "0,9000;10,9010", ""},
       {"\n  Flipped 2 dangling lines\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult run = join(c.design, c.options);
    ASSERT_EQ(run.exit_status, 0) << run.output;
    EXPECT_EQ(written(), sorted(c.written));
    for (const std::string& text : c.printed) EXPECT_NE(run.output.find(text), std::string::npos) << run.output;
    if (c.printed.empty()) {
      EXPECT_EQ(run.output.find("Flipped"), std::string::npos) << run.output;
    }
  }
}

TEST_F(DirectionFlip, AChainLongerThanTheBufferIsWrittenWholeAndTurnedOnlyWhereItEnds) {
  // 250 line strings of 101 vertices, k = 0 ... 25000 at (-20k, k): the walk
  // fills the buffer and flushes the whole pieces before it takes the last
  // element. A flushed part is written as walked, every vertex once; the
  // compass turns the last piece, which runs from 24900 to 25000.
  const auto point = [](int k) { return std::to_string(-20 * k) + "," + std::to_string(k); };
  std::string design;
  for (int i = 0; i < 250; ++i) {
    design += "linestring level=10 :";
    for (int k = 100 * i; k <= 100 * i + 100; ++k) design += " " + std::to_string(-20 * k) + " " + std::to_string(k);
    design += "\n";
  }
  const ProgramResult run = join(design, {"-f"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("Converted 250 segments into 250 line strings/lines"), std::string::npos) << run.output;
  std::vector<std::string> expected;
  for (int i = 0; i < 249; ++i) {
    std::string piece;
    for (int k = 100 * i; k <= 100 * i + 100; ++k) piece += (piece.empty() ? "" : ";") + point(k);
    expected.push_back(piece);
  }
  std::string last;
  for (int k = 25000; k >= 24900; --k) last += (last.empty() ? "" : ";") + point(k);
  expected.push_back(last);
  std::vector<std::string> got;
  for (const Element& e : elements()) got.push_back(e.vertices);
  EXPECT_EQ(got, expected);
}

const char* const kLines =
    "table lines 7\n"
    "column fr text\n"
    "column tt text\n"
    "column code integer\n";

TEST_F(DirectionFlip, SlopePiecesOfATurnedChainFollowTheWrittenDirection) {
  // Cut by slope, each chain falls 60 over two segments and is level over
  // the other two: two pieces that share (200,0,0), every vertex once, the
  // chain turned once whatever asked for it.
  const std::vector<Element> falling = {{"4", "10", "0", "400,0,60;300,0,30;200,0,0"},
                                        {"4", "10", "0", "200,0,0;100,0,0;0,0,0"}};
  const std::vector<std::string> breaks = {"-B", "1,0,5,2,50", "-B", "2,5,999999,4,50"};
  struct Case {
    const char* name;
    const char* line;
    std::vector<std::string> options;
    const char* printed;
  };
  const Case cases[] = {
      {"a rising chain turned to fall", "0 0 0 100 0 0 200 0 0 300 0 30 400 0 60", {"-zu"}, ""},
      {"a chain walked from its end turned back", "400 0 60 300 0 30 200 0 0 100 0 0 0 0 0", {}, ""},
      {"a chain turned by its row, counted once", "0 0 0 100 0 0 200 0 0 300 0 30 400 0 60",
       {"-fDbValue", "lines,code,eq,1,0"}, "\n  Flipped 1 lines based on database values\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fresh_database(std::string(kLines) + "row 1 'a' 'b' 1\n");
    std::vector<std::string> options = breaks;
    options.insert(options.end(), c.options.begin(), c.options.end());
    const ProgramResult run =
        join(std::string("dimension 3\nunits 1 1\nlinestring level=10 link=7/1 : ") + c.line + "\n", options);
    ASSERT_EQ(run.exit_status, 0) << run.output;
    EXPECT_EQ(elements(), falling);
    EXPECT_NE(run.output.find(c.printed), std::string::npos) << run.output;
  }
}

TEST_F(DirectionFlip, DatabaseFlipsTurnTheLineAndRewriteItsRow) {
  struct Case {
    const char* name;
    const char* rows;
    const char* design;
    std::vector<std::string> options;
    std::vector<std::string> written;
    const char* table_after;
    const char* summary;
  };
  const char* one_line = "line level=10 link=7/1 : 0 0 1000 0\n";
  const Case cases[] = {
      {"equal prefixes, 12 above 7 ascending: turned and the ids swapped", "row 1 'AB12' 'AB7' 0\n", one_line,
       {"-fFrToID", "lines,fr,tt,A,2"}, {"1000,0;0,0"}, "1|AB7|AB12|0\n",
       "\n  Flipped 1 lines based on from/to id values\n"},
      {"the same ids in descending order stay", "row 1 'AB12' 'AB7' 0\n", one_line,
       {"-fFrToID", "lines,fr,tt,D,2"}, {"0,0;1000,0"}, "1|AB12|AB7|0\n",
       "\n  Flipped 0 lines based on from/to id values\n"},
      {"descending order turns a line whose ids rise", "row 1 'AB7' 'AB12' 0\n", one_line,
       {"-fFrToID", "lines,fr,tt,D,2"}, {"1000,0;0,0"}, "1|AB12|AB7|0\n",
       "\n  Flipped 1 lines based on from/to id values\n"},
      {"differing prefixes decide as text before the numbers", "row 1 'B1' 'A9' 0\n", one_line,
       {"-fFrToID", "lines,fr,tt,A,1"}, {"1000,0;0,0"}, "1|A9|B1|0\n",
       "\n  Flipped 1 lines based on from/to id values\n"},
      {"a sort column of 0 never turns", "row 1 'AB12' 'AB7' 0\n", one_line, {"-fFrToID", "lines,fr,tt,A,0"},
       {"0,0;1000,0"}, "1|AB12|AB7|0\n", "\n  Flipped 0 lines based on from/to id values\n"},
      {"a sort column longer than the ids compares them whole", "row 1 'B' 'A' 0\n", one_line,
       {"-fFrToID", "lines,fr,tt,A,40"}, {"1000,0;0,0"}, "1|A|B|0\n",
       "\n  Flipped 1 lines based on from/to id values\n"},
      {"a missing id is no evidence", "row 1 'AB12' null 0\n", one_line, {"-fFrToID", "lines,fr,tt,A,2"},
       {"0,0;1000,0"}, "1|AB12||0\n", "\n  Flipped 0 lines based on from/to id values\n"},
      {"ids holding quotes are swapped whole", "row 1 'O''B2' 'O''B1' 0\n", one_line,
       {"-fFrToID", "lines,fr,tt,A,3"}, {"1000,0;0,0"}, "1|O'B1|O'B2|0\n",
       "\n  Flipped 1 lines based on from/to id values\n"},
      {"an element without a line row is written as it is", "row 1 'AB12' 'AB7' 0\n",
       "line level=10 : 0 0 1000 0\n", {"-fFrToID", "lines,fr,tt,A,2"}, {"0,0;1000,0"}, "1|AB12|AB7|0\n",
       "\n  Flipped 0 lines based on from/to id values\n"},
      {"ids are judged after the walk's own turn", "row 1 'AB12' 'AB7' 0\n",
       "line level=10 link=7/1 : 1000 0 0 0\n", {"-fFrToID", "lines,fr,tt,A,2"}, {"0,0;1000,0"},
       "1|AB7|AB12|0\n", "\n  Flipped 1 lines based on from/to id values\n"},
      {"a flip at a break: each part follows its own row",
       "row 1 'AB12' 'AB7' 0\nrow 2 'AB1' 'AB2' 0\n",
       "line level=10 link=7/1 : 0 0 1000 0\nline level=11 link=7/2 : 1000 0 2000 0\n",
       {"-fFrToID", "lines,fr,tt,A,2"}, {"1000,0;0,0", "1000,0;2000,0"}, "1|AB7|AB12|0\n2|AB1|AB2|0\n",
       "\n  Flipped 1 lines based on from/to id values\n"},
      {"without output the row stays as the line it belongs to", "row 1 'AB12' 'AB7' 0\n", one_line,
       {"-J", "0", "-fFrToID", "lines,fr,tt,A,2"}, {"0,0;1000,0"}, "1|AB12|AB7|0\n",
       "\n  Flipped 0 lines based on from/to id values\n"},
      {"a value above the limit turns the line and is reset", "row 1 'a' 'b' 3\n", one_line,
       {"-fDbValue", "lines,code,gt,0,9"}, {"1000,0;0,0"}, "1|a|b|9\n",
       "\n  Flipped 1 lines based on database values\n"},
      {"a value at the limit stays for gt", "row 1 'a' 'b' 0\n", one_line, {"-fDbValue", "lines,code,gt,0,9"},
       {"0,0;1000,0"}, "1|a|b|0\n", "\n  Flipped 0 lines based on database values\n"},
      {"a row without a value stays", "row 1 'a' 'b' null\n", one_line, {"-fDbValue", "lines,code,lt,5,9"},
       {"0,0;1000,0"}, "1|a|b|\n", "\n  Flipped 0 lines based on database values\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fresh_database(std::string(kLines) + c.rows);
    const ProgramResult run = join(c.design, c.options);
    ASSERT_EQ(run.exit_status, 0) << run.output;
    EXPECT_EQ(written(), sorted(c.written));
    EXPECT_EQ(query("select * from lines order by mslink;"), c.table_after);
    EXPECT_NE(run.output.find(c.summary), std::string::npos) << run.output;
  }
}

TEST_F(DirectionFlip, EveryValueComparisonTurnsTheLinesItNames) {
  // Three lines whose codes are 4, 5 and 6 against the value 5; a turned
  // line's code becomes 0.
  const char* design =
      "line level=10 link=7/4 : 0 0 1000 0\n"
      "line level=11 link=7/5 : 0 5000 1000 5000\n"
      "line level=12 link=7/6 : 0 9000 1000 9000\n";
  struct Case {
    const char* op;
    const char* codes_after;
    const char* summary;
  };
  const Case cases[] = {
      {"lt", "0\n5\n6\n", "\n  Flipped 1 lines based on database values\n"},
      {"le", "0\n0\n6\n", "\n  Flipped 2 lines based on database values\n"},
      {"eq", "4\n0\n6\n", "\n  Flipped 1 lines based on database values\n"},
      {"ge", "4\n0\n0\n", "\n  Flipped 2 lines based on database values\n"},
      {"gt", "4\n5\n0\n", "\n  Flipped 1 lines based on database values\n"},
      {"ne", "0\n5\n0\n", "\n  Flipped 2 lines based on database values\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.op);
    fresh_database(std::string(kLines) + "row 4 'a' 'b' 4\nrow 5 'a' 'b' 5\nrow 6 'a' 'b' 6\n");
    const ProgramResult run = join(design, {"-fDbValue", std::string("lines,code,") + c.op + ",5,0"});
    ASSERT_EQ(run.exit_status, 0) << run.output;
    EXPECT_EQ(query("select code from lines order by mslink;"), c.codes_after);
    EXPECT_NE(run.output.find(c.summary), std::string::npos) << run.output;
    // Turned lines run from 1000 back to 0.
    const std::string codes = c.codes_after;
    const std::vector<std::string> lines = written();
    const char* ys[] = {"0", "5000", "9000"};
    for (std::size_t i = 0; i < 3; ++i) {
      const bool turned = codes[i * 2] == '0';
      const std::string y = ys[i];
      const std::string expected = turned ? "1000," + y + ";0," + y : "0," + y + ";1000," + y;
      EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
    }
  }
}

TEST_F(DirectionFlip, IdentifierAndValueFlipsTogetherAreRefused) {
  fresh_database(std::string(kLines) + "row 1 'AB12' 'AB7' 3\n");
  const ProgramResult run = join("line level=10 link=7/1 : 0 0 1000 0\n",
                                 {"-fFrToID", "lines,fr,tt,A,2", "-fDbValue", "lines,code,gt,0,9"});
  EXPECT_EQ(run.exit_status, 255) << run.output;
  EXPECT_NE(run.output.find("\nCannot perform multiple flip options (-f...) at same time\n\nvornel exiting"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(query("select * from lines;"), "1|AB12|AB7|3\n");
}

}  // namespace
