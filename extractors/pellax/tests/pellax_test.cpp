// pellax on design files made by dgntool: what it selects, the record
// variants it writes, reference files, messages and exit codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extractors/testsupport/extractor_fixture.h"

namespace vornel::extract::testing {
namespace {

// Positions: A 1536, B 1596, C 1658, D 1728, E 1790, F 1884, G 1936,
// H 2004, I 2076; the deleted line at 2136 is never seen.
const char* const kMixed = R"(dimension 2
units 10 1000 m cm
line level=10 color=3 weight=1 link=12/345 : 0 0 10000 5000
linestring level=11 style=2 color=5 : 0 0 1000 0 1000 1000
shape level=11 : 0 0 10 0 10 10 0 0
text level=20 origin=100,100 size=2000,2000 : "A1"
curve level=12 weight=4 : 0 0 1 1 2 2 3 3 4 4 5 5 6 6
line level=30 class=1 : 5 5 6 6
line level=31 class=2 style=7 ulink=40/101 : -5 -5 7 7
ellipse level=32 origin=300,400 axes=50,50
line level=33 color=200 link=13/102 : 1 2 3 4
line level=34 deleted : 9 9 8 8
)";

class Pellax : public ExtractorRun {
 protected:
  void SetUp() override { make_design("mixed.dgn", kMixed); }
};

// Styles, weights and colors are checked only once their option is given:
// the style 7 line at 1936 is taken by default.
TEST_F(Pellax, DefaultOptionsWriteLinesLineStringsAndCurvesByteForByte) {
  const auto result = run("pellax", {"-F", "mixed.dgn"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  EXPECT_EQ(points(),
            "          00           00     1536\n"
            "        5000        10000     1536\n"
            "          00           00     1596\n"
            "        1000         1000     1596\n"
            "          02           02     1790\n"
            "          04           04     1790\n"
            "         -05          -05     1936\n"
            "          07           07     1936\n"
            "          02           01     2076\n"
            "          04           03     2076\n");
  EXPECT_EQ(settings(),
            "set QBT_segdim=2\nset QBT_dgnname=mixed.dgn\nset QBT_maxverts=10\nset QBT_wt_opt=0\n");
  EXPECT_NE(result.output.find("\nInterpreting QBT_pellax (version 5.6) command line arguments "
                               ".....\n\n"),
            std::string::npos);
  EXPECT_NE(result.output.find("\n\n Successfully opened mixed.dgn\n"), std::string::npos);
  EXPECT_NE(result.output.find("\n     5 elements identified\n\n"), std::string::npos);
}

struct SelectionCase {
  const char* name;
  std::vector<std::string> options;
  std::vector<long> positions;
};

TEST_F(Pellax, SelectsByTypeLevelClassAndSymbology) {
  const SelectionCase cases[] = {
      {"levels", {"-ll", "10-11"}, {1536, 1536, 1596, 1596}},
      {"levels in reverse range", {"-ll", "12-10"}, {1536, 1536, 1596, 1596, 1790, 1790}},
      {"types 3,4 drop curves", {"-e", "3,4"}, {1536, 1536, 1596, 1596, 1936, 1936, 2076, 2076}},
      {"styles checked once given", {"-e", "3", "-ls", "0-6"}, {1536, 1536, 2076, 2076}},
      {"classes", {"-lc", "1"}, {1884, 1884}},
      {"colors", {"-lo", "200"}, {2076, 2076}},
      {"weights", {"-lw", "4"}, {1790, 1790}},
      {"styles", {"-ll", "31", "-ls", "7"}, {1936, 1936}},
      {"ellipse gives one record", {"-e", "15"}, {2004}},
      {"text gives one record", {"-e", "17"}, {1728}},
      {"link values of database and user linkages",
       {"-E", "100-102"},
       {1936, 1936, 2076, 2076}},
      {"shapes added with -SH", {"-ll", "11", "-SH", "3,11"}, {1596, 1596, 1658, 1658}},
      {"the joiner's options change nothing",
       {"-ll", "10", "-C", "-Shape", "-D", "12,2", "-M", "13,1", "-W", "0.5,0,0", "-L", "10",
        "-etak", "-k", "-S", "1,2,3,4", "-feature", "roads"},
       {1536, 1536}},
  };
  for (const SelectionCase& c : cases) {
    std::vector<std::string> args = {"-F", "mixed.dgn"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto result = run("pellax", args);
    ASSERT_EQ(result.exit_status, 0) << c.name << "\n" << result.output;
    EXPECT_EQ(positions(points()), c.positions) << c.name;
  }
}

TEST_F(Pellax, AShapeGivesTwoRecordsOfTheSamePoint) {
  ASSERT_EQ(run("pellax", {"-F", "mixed.dgn", "-e", "6", "-SH", "0"}).exit_status, 0);
  EXPECT_EQ(points(),
            "          00           00     1658\n"
            "          00           00     1658\n");
}

struct VariantCase {
  const char* name;
  std::vector<std::string> options;
  Env env;
  std::string expected;
  int wt_opt;
};

TEST_F(Pellax, WritesEachRecordVariant) {
  const VariantCase cases[] = {
      {"node link from QBT_nodeEnt",
       {"-ll", "10", "-PN", "5,nodes,id,cnt,x,y"},
       {{"QBT_nodeEnt", "12"}},
       "          00           00     1536          345\n"
       "        5000        10000     1536          345\n",
       0},
      {"node link without a linkage of the entity",
       {"-ll", "10", "-ID_N2L", "nodes,id,lines,f,t,N"},
       {{"QBT_nodeEnt", "99"}},
       "          00           00     1536            0\n"
       "        5000        10000     1536            0\n",
       0},
      {"level weights",
       {"-ll", "10", "-wl", "10,7"},
       {},
       "          00           00     1536 1        7\n"
       "        5000        10000     1536 2        7\n",
       1},
      {"type weights numbered by type",
       {"-ll", "10", "-wt", "0,2"},
       {},
       "          00           00     1536 1        6\n"
       "        5000        10000     1536 2        6\n",
       2},
      {"color weights, large weights stored as 255",
       {"-ll", "10", "-wo", "3,900"},
       {},
       "          00           00     1536 1      255\n"
       "        5000        10000     1536 2      255\n",
       3},
      {"-f turns weights off",
       {"-ll", "10", "-wl", "10,7", "-f"},
       {},
       "          00           00     1536\n"
       "        5000        10000     1536\n",
       0},
      {"-X forces the weighted variant",
       {"-ll", "10", "-X", "1"},
       {},
       "          00           00     1536 1        0\n"
       "        5000        10000     1536 2        0\n",
       0},
      {"flagged for ostrel",
       {"-ll", "10", "-PN", "5,nodes"},
       {{"QBT_proc", "ostrel"}, {"QBT_nodeEnt", "12"}},
       "          00           00     1536 1\n"
       "        5000        10000     1536 2\n",
       0},
      {"interior vertices",
       {"-ll", "11", "-i"},
       {},
       "          00           00     1596\n"
       "        1000         1000     1596\n"
       "          00         1000       -1\n",
       0},
      {"interior vertices are never node-linked",
       {"-ll", "11", "-i", "-PN", "5,nodes"},
       {{"QBT_nodeEnt", "12"}},
       "          00           00     1596            0\n"
       "        1000         1000     1596            0\n"
       "          00         1000       -1\n",
       0},
      {"interior vertices of a weighted run",
       {"-ll", "11", "-i", "-wl", "11,3"},
       {},
       "          00           00     1596 1        3\n"
       "        1000         1000     1596 2        3\n"
       "          00         1000       -1          3\n",
       1},
      {"v_check keeps elements of more vertices", {"-ll", "10-11", "-v", "1"}, {},
       "          00           00     1596\n"
       "        1000         1000     1596\n",
       0},
  };
  for (const VariantCase& c : cases) {
    std::vector<std::string> args = {"-F", "mixed.dgn"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto result = run("pellax", args, c.env);
    ASSERT_EQ(result.exit_status, 0) << c.name << "\n" << result.output;
    EXPECT_EQ(points(), c.expected) << c.name;
    EXPECT_NE(settings().find("\nset QBT_wt_opt=" + std::to_string(c.wt_opt) + "\n"),
              std::string::npos)
        << c.name;
  }
}

TEST_F(Pellax, ElementListModeWritesOneLinePerElement) {
  ASSERT_EQ(run("pellax", {"-F", "mixed.dgn", "-ll", "10-11,31", "-r"}).exit_status, 0);
  EXPECT_EQ(file("list.run01"),
            "    10     3     0           0           0       10000        5000     0     2     3\n"
            "    11     3    60           0           0        1000        1000     0     3     4\n"
            "    31     3   400  2147483643  2147483643           7           7     2     2     3\n");
  EXPECT_NE(settings().find("\nset QBT_maxverts=3\n"), std::string::npos);
}

TEST_F(Pellax, ThreeDimensionalFileWritesTheZColumn) {
  make_design("solid.dgn", R"(dimension 3
line level=1 : 0 0 -5 100 200 300
linestring level=2 : 1 2 3 4 5 6 7 8 9
ellipse level=3 origin=10,20,30 axes=5,5
)");
  ASSERT_EQ(run("pellax", {"-F", "solid.dgn", "-e", "3,4,15", "-wl", "2,9"}).exit_status, 0);
  const std::string text = points();
  EXPECT_EQ(text.substr(0, 4 * 59),
            "          00           00          -05     1536 1        0\n"
            "         200          100          300     1536 2        0\n"
            "          02           01           03     1596 1        9\n"
            "          08           07           09     1596 2        9\n");
  // The ellipse gives one record, flag 0, as in a two-dimensional file.
  ASSERT_EQ(text.size(), 5u * 59u);
  EXPECT_EQ(text.substr(4 * 59, 38), "          20           10           30");
  EXPECT_EQ(text.substr(4 * 59 + 47), " 0        0\n");
  EXPECT_EQ(settings().substr(0, 17), "set QBT_segdim=3\n");
}

TEST_F(Pellax, ReferenceFileElementsCarryPositionMinusOne) {
  make_design("ref.dgn", "line level=5 : 7 7 8 8\nline level=5 : 9 9 10 10\n");
  const auto result = run("pellax", {"-F", "mixed.dgn", "-ll", "5,10", "-FR", "ref.dgn"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  EXPECT_EQ(positions(points()), (std::vector<long>{1536, 1536, -1, -1, -1, -1}));
  EXPECT_NE(settings().find("\nset QBT_maxverts=6\n"), std::string::npos);
  EXPECT_NE(result.output.find("\n     3 elements identified\n\n"), std::string::npos);
  EXPECT_EQ(settings().find("ref.dgn"), std::string::npos);
}

TEST_F(Pellax, AnEleventhReferenceFileIsIgnoredWithAMessage) {
  make_design("ref.dgn", "line level=5 : 7 7 8 8\n");
  std::vector<std::string> args = {"-F", "mixed.dgn", "-ll", "5,10"};
  for (int i = 0; i < 11; ++i) {
    args.push_back("-FR");
    args.push_back("ref.dgn");
  }
  const auto result = run("pellax", args);
  ASSERT_EQ(result.exit_status, 0) << result.output;
  EXPECT_NE(result.output.find("\nNumber of reference files (10) exceeded - process exitting\n"),
            std::string::npos);
  EXPECT_EQ(positions(points()).size(), 2u + 2u * 10u);
}

struct FailureCase {
  const char* name;
  std::vector<std::string> args;
  Env env;
  int status;  // as the shell sees it
  const char* message;
};

TEST_F(Pellax, FailuresGiveTheirMessageAndStatus) {
  // A file that ends inside its first element.
  vornel::testing::write_file(dir_ / "cut.dgn", file("mixed.dgn").substr(0, 1570));
  const FailureCase cases[] = {
      {"element cut short by the end of the file", {"-F", "cut.dgn"}, {}, 6,
       "\n*** dgn get error 5 ***\nat Block: 0, Byte: 0\n"},
      {"argument without a dash", {"-F", "mixed.dgn", "stray"}, {}, -999 & 255,
       "\n\nInvalid command argument 2 - stray\n\npellax exiting abnormally\n\n"},
      {"usage", {"-h"}, {}, 255,
       "\nQBT_pellax is run using the following command line arguments:\n\n"
       "QBT_pellax -F dgnname [-ll levels] [-e types] [-lo colors] [-ls styles]\n"
       "             [-lc classes] [-lw weights] [-E entity_num(s)] [-u user_ent_word]\n"
       "             [-sa stroke_tolerance] [-sc stroke_tolerance]\n\n"
       "subject to the definitions in the README file\n\n"},
      {"v_check out of range", {"-F", "mixed.dgn", "-v", "102"}, {}, 97, "\nInvalid v_check value"},
      {"design file missing", {"-F", "absent.dgn"}, {}, 5, "\nError "},
      {"run identifier missing", {"-F", "mixed.dgn"}, {{"QBT_segpid", ""}}, 2, "QBT_segpid"},
  };
  for (const FailureCase& c : cases) {
    const auto result = run("pellax", c.args, c.env);
    EXPECT_EQ(result.exit_status, c.status) << c.name << "\n" << result.output;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << c.name << "\n" << result.output;
  }
}

TEST_F(Pellax, StrokesArcsAndBsplinesAndGoesOnAfterTheComponents) {
  make_design("curves.dgn", R"(arc level=1 origin=0,0 axes=1000,1000 start=0 sweep=90
bspline level=7 order=3 {
  poles : 0 0 5000 5000 10000 0
}
line level=1 : 1 1 2 2
)");
  // Arcs and B-splines only with their stroke options; the line after the
  // curve's poles is read in its own turn.
  ASSERT_EQ(run("pellax", {"-F", "curves.dgn"}).exit_status, 0);
  EXPECT_EQ(positions(points()), (std::vector<long>{1724, 1724}));
  const auto result = run("pellax", {"-F", "curves.dgn", "-sa", "-e", "3,27"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  EXPECT_EQ(points(),
            "          00         1000     1536\n"
            "        1000           00     1536\n"
            "          00           00     1616\n"
            "          00        10000     1616\n"
            "          01           01     1724\n"
            "          02           02     1724\n");
}

TEST_F(Pellax, AnElementShorterThanItsVertexCountIsSkippedWithAMessage) {
  // The line string at 1596 claims 700 vertices (count word at file byte 36).
  std::string bytes = file("mixed.dgn");
  bytes[1596 + 36] = static_cast<char>(700 & 0xFF);
  bytes[1596 + 37] = static_cast<char>(700 >> 8);
  vornel::testing::write_file(dir_ / "long.dgn", bytes);
  const auto result = run("pellax", {"-F", "long.dgn", "-ll", "10-11"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  EXPECT_NE(result.output.find("\n*** element at Block: 3, Byte: 60 is shorter than its counts - "
                               "skipped ***\n"),
            std::string::npos)
      << result.output;
  EXPECT_EQ(positions(points()), (std::vector<long>{1536, 1536}));
}

TEST_F(Pellax, ARunThatFailsLeavesTheSettingsFileWithoutItsLastLines) {
  vornel::testing::write_file(dir_ / "cut.dgn", file("mixed.dgn").substr(0, 1570));
  ASSERT_EQ(run("pellax", {"-F", "cut.dgn"}).exit_status, 6);
  EXPECT_EQ(settings(), "set QBT_segdim=2\nset QBT_dgnname=cut.dgn");
}

// Positions: the chain header 1536, its components 1576 and 1628, a line 1690.
TEST_F(Pellax, ExpandsComplexChainsIntoTheirVertices) {
  make_design("chain.dgn", R"(chain level=1 {
  line level=1 : 0 0 5 5
  linestring level=1 : 5 5 9 0 12 3
}
line level=1 : 12 3 20 20
)");
  ASSERT_EQ(run("pellax", {"-F", "chain.dgn", "-i"}).exit_status, 0);
  // The components give no records of their own; the chain's interior
  // vertices are its expanded ones.
  EXPECT_EQ(points(),
            "          00           00     1536\n"
            "          03           12     1536\n"
            "          05           05       -1\n"
            "          00           09       -1\n"
            "          03           12     1690\n"
            "          20           20     1690\n");
  ASSERT_EQ(run("pellax", {"-F", "chain.dgn", "-r", "-e", "12"}).exit_status, 0);
  EXPECT_EQ(file("list.run01"),
            "     1     3     0           0           0          12           5     0     4    12\n");
}

}  // namespace
}  // namespace vornel::extract::testing
