// Whole joiner runs through the driver: a design file made by dgntool, the
// real extractor, sorter, joiner and dgnhost, and the file dumped afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "joiner/tests/chain_run_fixture.h"

namespace {

using namespace vornel::joiner::testing;

using JoinRun = ChainRun;

TEST_F(JoinRun, WalksJoinAndBreakAsTheNodesAndAttributesSay) {
  struct Case {
    const char* name;
    const char* design;
    std::vector<std::string> options;
    std::vector<Element> written;
    const char* summary;
  };
  const Case cases[] = {
      {"a line with two dangling ends keeps its direction",
       "line level=10 : 0 0 1000 0\n",
       {},
       {{"3", "10", "0", "0,0;1000,0"}},
       "Converted 1 segments into 1 line strings/lines"},
      {"a line walked from its end point is written in its own direction",
       "line level=10 : 1000 0 0 0\n",
       {},
       {{"3", "10", "0", "1000,0;0,0"}},
       "Converted 1 segments into 1 line strings/lines"},
      {"a reversed first piece that breaks restarts at the node",
       "line level=5 : 1000 0 0 0\nline level=6 : 1000 0 2000 0\nline level=6 : 2000 0 3000 0\n",
       {},
       {{"3", "5", "0", "1000,0;0,0"}, {"4", "6", "0", "1000,0;2000,0;3000,0"}},
       "Converted 3 segments into 2 line strings/lines"},
      {"two lines end to end become one line string, turned when the last was taken reversed",
       "line level=10 : 0 0 1000 0\nline level=10 : 2000 0 1000 0\n",
       {},
       {{"4", "10", "0", "2000,0;1000,0;0,0"}},
       "Converted 2 segments into 1 line strings/lines"},
      {"no join keeps every piece apart",
       "line level=10 : 0 0 1000 0\nline level=10 : 2000 0 1000 0\n",
       {"-N"},
       {{"3", "10", "0", "0,0;1000,0"}, {"3", "10", "0", "2000,0;1000,0"}},
       "Converted 2 segments into 2 line strings/lines"},
      {"dangle flipping never joins; each line ends at its dangling end",
       "line level=10 : 0 0 1000 0\nline level=10 : 2000 0 1000 0\n",
       {"-fdangle"},
       {{"3", "10", "0", "1000,0;0,0"}, {"3", "10", "0", "1000,0;2000,0"}},
       "Converted 2 segments into 2 line strings/lines"},
      {"three lines at one point end their chains there",
       "line level=10 : 0 0 1000 0\nline level=10 : 1000 0 2000 0\nline level=10 : 1000 0 1000 1000\n",
       {},
       {{"3", "10", "0", "0,0;1000,0"}, {"3", "10", "0", "1000,0;2000,0"}, {"3", "10", "0", "1000,0;1000,1000"}},
       "Converted 3 segments into 3 line strings/lines"},
      {"a colour change breaks the chain",
       "line level=10 color=1 : 0 0 1000 0\nline level=10 color=2 : 1000 0 2000 0\n",
       {},
       {{"3", "10", "1", "0,0;1000,0"}, {"3", "10", "2", "1000,0;2000,0"}},
       "Converted 2 segments into 2 line strings/lines"},
      {"graphic groups compare as unsigned words",
       "line level=10 gg=40000 : 0 0 1000 0\nline level=10 gg=40000 : 1000 0 2000 0\n"
       "line level=10 gg=7 : 2000 0 3000 0\n",
       {},
       {{"4", "10", "0", "0,0;1000,0;2000,0"}, {"3", "10", "0", "2000,0;3000,0"}},
       "Converted 3 segments into 2 line strings/lines"},
      {"levels 5, 5, 6 break before the third",
       "line level=5 : 0 0 1000 0\nline level=5 : 1000 0 2000 0\nline level=6 : 2000 0 3000 0\n",
       {},
       {{"4", "5", "0", "0,0;1000,0;2000,0"}, {"3", "6", "0", "2000,0;3000,0"}},
       "Converted 3 segments into 2 line strings/lines"},
      {"level code O joins across levels on the first level",
       "line level=5 : 0 0 1000 0\nline level=6 : 1000 0 2000 0\n",
       {"-L", "O"},
       {{"4", "5", "0", "0,0;1000,0;2000,0"}},
       "Converted 2 segments into 1 line strings/lines"},
      {"a closed line string alone is written by the ring pass",
       "linestring level=10 : 0 0 1000 0 1000 1000 0 0\n",
       {},
       {{"4", "10", "0", "0,0;1000,0;1000,1000;0,0"}},
       "Converted 1 segments into 1 line strings/lines"},
      {"a square of four lines closes at the ring's start",
       "line level=10 : 0 0 1000 0\nline level=10 : 1000 0 1000 1000\n"
       "line level=10 : 1000 1000 0 1000\nline level=10 : 0 1000 0 0\n",
       {},
       {{"4", "10", "0", "0,0;1000,0;1000,1000;0,1000;0,0"}},
       "Converted 4 segments into 1 line strings/lines"},
      {"a ring with a change is cut there, the start piece running through the start point",
       "line level=10 : 0 0 1000 0\nline level=10 color=2 : 1000 0 1000 1000\n"
       "line level=10 : 1000 1000 0 1000\nline level=10 : 0 1000 0 0\n",
       {},
       {{"4", "10", "0", "1000,0;0,0;0,1000;1000,1000"}, {"3", "10", "2", "1000,1000;1000,0"}},
       "Converted 4 segments into 2 line strings/lines"},
      {"a change of elevation range breaks a 3-D chain",
       "dimension 3\nline level=10 : 0 0 5 1000 0 5\nline level=10 : 1000 0 5 2000 0 9\n",
       {},
       {{"3", "10", "0", "0,0,5;1000,0,5"}, {"3", "10", "0", "1000,0,5;2000,0,9"}},
       "Converted 2 segments into 2 line strings/lines"},
      {"a complex chain is expanded from its components and joined",
       "line level=10 : 0 0 1000 0\nchain level=10 {\n  line level=10 : 1000 0 1500 500\n"
       "  linestring level=10 : 1500 500 2000 500 2000 1000\n}\n",
       {},
       {{"4", "10", "0", "0,0;1000,0;1500,500;2000,500;2000,1000"}},
       "Converted 2 segments into 1 line strings/lines"},
      {"a line between two cells runs from the far node to the near one",
       "cell name=A origin=0,0 {\n line level=10 : 0 0 10 10\n}\n"
       "cell name=B origin=1000,1000 {\n line level=10 : 1000 1000 1010 1010\n}\n"
       "line level=10 : 0 0 1000 1000\n",
       {"-e", "2,3"},
       {{"3", "10", "0", "1000,1000;0,0"}},
       "Converted 1 segments into 1 line strings/lines"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult run = join(c.design, c.options);
    EXPECT_EQ(run.exit_status, 0) << run.output;
    EXPECT_NE(run.output.find(c.summary), std::string::npos) << run.output;
    std::vector<Element> written;
    for (const Element& e : elements())
      if (e.type != "2" && e.vertices.find("10,10") == std::string::npos) written.push_back(e);
    // Cells and their parts stay as they are; only the joined output is compared.
    std::vector<Element> expected = c.written;
    std::vector<Element> got;
    for (const Element& e : written)
      if (e.type == "3" || e.type == "4") got.push_back(e);
    std::sort(expected.begin(), expected.end(), [](auto& a, auto& b) { return a.vertices < b.vertices; });
    std::sort(got.begin(), got.end(), [](auto& a, auto& b) { return a.vertices < b.vertices; });
    EXPECT_EQ(got, expected);
  }
}

TEST_F(JoinRun, OutputOptionsShapeWhatIsWritten) {
  struct Case {
    const char* name;
    const char* design;
    std::vector<std::string> options;
    std::vector<Element> written;
    std::vector<std::string> printed;
  };
  const Case cases[] = {
      {"weeding mode 3 drops a repeated vertex",
       "linestring level=10 : 0 0 0 0 5000 5000\n",
       {"-WZ"},
       {{"3", "10", "0", "0,0;5000,5000"}},
       {"\nDuplicate vertice weeded at 0, 0", "\n  weeded 1 zero length cords"}},
      {"closed chains become shapes",
       "line level=10 : 0 0 1000 0\nline level=10 : 1000 0 1000 1000\n"
       "line level=10 : 1000 1000 0 1000\nline level=10 : 0 1000 0 0\n",
       {"-Shape"},
       {{"6", "10", "0", "0,0;1000,0;1000,1000;0,1000;0,0"}},
       {"Converted 4 segments into 1 shapes"}},
      {"an open chain asked for as a shape is a heavier line string of the next colour",
       "linestring level=10 color=4 : 0 0 1000 0 1000 1000\n",
       {"-Shape"},
       {{"4", "10", "5", "0,0;1000,0;1000,1000"}},
       {"\nElement could not be placed as shape due to lack of closure\n Element placed as linestring of color 5 with weight 1\n"}},
      {"short dangling chains are dropped as overshoots",
       "line level=10 : 0 0 3000 0\nline level=10 : 0 10000 20000 10000\n",
       {"-O", "0.5"},
       {{"3", "10", "0", "0,10000;20000,10000"}},
       {"\n  Deleted 1 short overshoot elements\n"}},
      {"long chains are cut into line strings of at most 101 vertices",
       "linestring level=10 : 0 0 100 0 200 0 300 0 400 0 500 0 600 0 700 0\n"
       "linestring level=10 : 700 0 800 0 900 0 1000 0\n",
       {"-V", "5"},
       {{"4", "10", "0", "0,0;100,0;200,0;300,0;400,0"},
        {"4", "10", "0", "400,0;500,0;600,0;700,0;800,0"},
        {"4", "10", "0", "800,0;900,0;1000,0"}},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult run = join(c.design, c.options);
    EXPECT_EQ(run.exit_status, 0) << run.output;
    for (const std::string& text : c.printed) EXPECT_NE(run.output.find(text), std::string::npos) << run.output;
    EXPECT_EQ(elements(), c.written);
  }
}

TEST_F(JoinRun, ShapeCentroidAndEtakMoves) {
  // A shape read back from the file: the centroid takes its linkage.
  ProgramResult run = join("shape level=14 link=7/5 : 0 0 1000 0 1000 1000 0 1000 0 0\n",
                           {"-Shape", "-SH", "3,0", "-e", "6"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const ProgramResult dump = run_program("dgntool", {"dump", "d.dgn"}, dir_.path());
  EXPECT_NE(dump.output.find("type=3 level=14 deleted=0"), std::string::npos) << dump.output;
  EXPECT_NE(dump.output.find("links=db:7/5\npos="), std::string::npos) << dump.output;
  EXPECT_NE(dump.output.find("vertices=0,0;1000,0;1000,1000;0,1000;0,0 links=-"), std::string::npos) << dump.output;

  run = join("line level=10 : 0 0 1000 0\ntext level=20 origin=500,4 : \"L\"\ntext level=5 origin=500,-4 : \"R\"\n",
             {"-etak", "-e", "3,17"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("\n  Moved 2 etak centroids\n"), std::string::npos) << run.output;
  std::vector<std::string> text_levels;
  for (const Element& e : elements())
    if (e.type == "17") text_levels.push_back(e.level);
  EXPECT_EQ(text_levels, (std::vector<std::string>{"10", "59"}));
}

TEST_F(JoinRun, ArcsAndBsplinesAreStrokedIntoTheChain) {
  struct Case {
    const char* name;
    const char* second;
    const char* types;
    const char* far_end;
    const char* inside;
  };
  const Case cases[] = {
      {"arc", "arc level=10 origin=2000,0 axes=1000,1000 start=180 sweep=-180\n", "3,16", ";3000,0", ";2000,1000;"},
      {"B-spline with its poles collected from the file",
       "bspline level=10 order=3 {\n  poles : 1000 0 2000 1000 3000 0 4000 1000\n}\n", "3,27", ";4000,1000",
       ";2500,500;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult run = join(std::string("line level=10 : 0 0 1000 0\n") + c.second, {"-e", c.types});
    ASSERT_EQ(run.exit_status, 0) << run.output;
    const std::vector<Element> written = elements();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_TRUE(written[0].vertices.starts_with("0,0;1000,0;")) << written[0].vertices;
    EXPECT_TRUE(written[0].vertices.ends_with(c.far_end)) << written[0].vertices;
    EXPECT_NE(written[0].vertices.find(c.inside), std::string::npos) << written[0].vertices;
    EXPECT_NE(run.output.find("Converted 2 segments into 1 line strings/lines"), std::string::npos);
  }
}

TEST_F(JoinRun, DatabaseValuesDecideTheJoin) {
  write_file(dir_ / "db.txt", "table roads 17\ncolumn kind text\nrow 1 'A'\nrow 2 'A'\nrow 3 'B'\n");
  ASSERT_EQ(run_program("dgndb", {"make", "db.txt", "d.db"}, dir_.path()).exit_status, 0);
  const char* design =
      "line level=10 link=17/1 : 0 0 1000 0\nline level=10 link=17/2 : 1000 0 2000 0\n"
      "line level=10 link=17/3 : 2000 0 3000 0\n"
      "line level=10 : 5000 0 6000 0\nline level=10 : 6000 0 7000 0\n";
  ProgramResult run = join(design, {"-NV", "roads,kind"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  // Equal values join, a change breaks, and two pieces without a row both
  // have the empty value.
  const std::vector<Element> expected = {{"4", "10", "0", "0,0;1000,0;2000,0"},
                                         {"3", "10", "0", "2000,0;3000,0"},
                                         {"4", "10", "0", "5000,0;6000,0;7000,0"}};
  EXPECT_EQ(elements(), expected);

  run = join(design, {"-NV", "roads,colour"});
  EXPECT_EQ(run.exit_status, 90) << run.output;
  EXPECT_NE(run.output.find("\n Field name colour not found in table"), std::string::npos) << run.output;
}

TEST_F(JoinRun, EachSlopePieceGetsItsOwnBreakTableRow) {
  write_file(dir_ / "db.txt", "table breaks 19\ncolumn name text\nrow 1 'Main Street'\nrow 2 'Side'\n");
  ASSERT_EQ(run_program("dgndb", {"make", "db.txt", "d.db"}, dir_.path()).exit_status, 0);
  const ProgramResult run = join("dimension 3\nlinestring level=10 link=19/1 : 0 0 0 1000 0 0 2000 0 0\n",
                                 {"-BD", "breaks", "-B", "1,0,100,0,0"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const ProgramResult dump = run_program("dgntool", {"dump", "d.dgn"}, dir_.path());
  // The piece carries the new row, a copy of the chain's row.
  EXPECT_NE(dump.output.find("deleted=0 complex=0 words="), std::string::npos);
  EXPECT_NE(dump.output.find("vertices=0,0,0;1000,0,0;2000,0,0 links=db:19/3"), std::string::npos) << dump.output;
}

TEST_F(JoinRun, LinkagesOfEveryKindAreCarriedToTheJoinedElement) {
  struct Case {
    const char* name;
    const char* link;
    const char* shown;
  };
  const Case cases[] = {
      {"database linkage", "link=17/5", "links=db:17/5"},
      {"database user linkage", "ulink=17/5", "links=user-db:17/5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string design = std::string("line level=10 ") + c.link + " : 0 0 1000 0\nline level=10 " + c.link +
                               " : 1000 0 2000 0\n";
    const ProgramResult run = join(design);
    ASSERT_EQ(run.exit_status, 0) << run.output;
    const std::vector<std::string> written = dump_lines();
    ASSERT_EQ(written.size(), 1U);
    EXPECT_NE(written[0].find(c.shown), std::string::npos) << written[0];
  }
}

TEST_F(JoinRun, APieceKeyedToANewBreakTableRowCarriesThatRow) {
  write_file(dir_ / "db.txt",
             "table breaks 19\ncolumn name text\nrow 1 'Main Street'\n"
             "table newbreaks 20 1\ncolumn old_link integer\n");
  ASSERT_EQ(run_program("dgndb", {"make", "db.txt", "d.db"}, dir_.path()).exit_status, 0);
  const ProgramResult run = join("dimension 3\nlinestring level=10 link=19/1 : 0 0 0 1000 0 0 2000 0 0\n",
                                 {"-BD", "breaks,newbreaks,old_link", "-B", "1,0,100,0,0"},
                                 {{"QBT_newbrktabent", "20"}});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const std::vector<std::string> written = dump_lines();
  ASSERT_EQ(written.size(), 1U);
  EXPECT_NE(written[0].find("links=user-db:20/1"), std::string::npos) << written[0];
  EXPECT_EQ(query("select mslink, old_link from newbreaks;"), "1|1\n");
}

TEST_F(JoinRun, TakenElementsAreMarkedDeletedWithTheirDataKept) {
  const ProgramResult run = join("line level=10 : 0 0 1000 0\nline level=10 : 2000 0 1000 0\n");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const std::vector<Element> deleted = elements(true);
  const std::vector<Element> expected = {{"3", "10", "0", "0,0;1000,0"}, {"3", "10", "0", "2000,0;1000,0"}};
  EXPECT_EQ(deleted, expected);
}

TEST_F(JoinRun, LongChainsAreFlushedInWholePiecesThatShareTheirEnds) {
  // 300 line strings of 101 vertices in one row: 30,001 vertices.
  std::string design;
  for (int piece = 0; piece < 300; ++piece) {
    design += "linestring level=10 :";
    for (int v = 0; v <= 100; ++v) design += " " + std::to_string((piece * 100 + v) * 10) + " " + std::to_string(v % 2);
    design += "\n";
  }
  const ProgramResult run = join(design);
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const std::vector<Element> written = elements();
  ASSERT_EQ(written.size(), 300u);
  std::string previous_end = "0,0";
  for (const Element& e : written) {
    ASSERT_EQ(e.vertices.substr(0, e.vertices.find(';')), previous_end);
    previous_end = e.vertices.substr(e.vertices.rfind(';') + 1);
  }
  EXPECT_EQ(std::stod(previous_end.substr(0, previous_end.find(','))), 300000.0);
  EXPECT_NE(run.output.find("Converted 300 segments into 300 line strings/lines"), std::string::npos);
}

TEST_F(JoinRun, DeleteOnlyReportsTheDeletedSegments) {
  const ProgramResult run = join("line level=10 : 0 0 1000 0\nline level=10 : 2000 0 1000 0\n", {"-delete"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("\n  Deleted 2 segments\n"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("Converted"), std::string::npos);
  EXPECT_TRUE(elements().empty());
}

}  // namespace
