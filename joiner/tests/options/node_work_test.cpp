// Node points, node rows and id transfer through whole runs: the node
// points and flags in the design file, the node and line rows in the
// database, the catalog and the summary lines. One master unit is 10000 UOR.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "joiner/tests/chain_run_fixture.h"

namespace {

using namespace vornel::joiner::testing;

// Three lines meet at 10000,0; their far ends dangle. The middle one starts
// at the junction, the first ends there, the third starts there.
constexpr const char* kJunction =
    "line level=10 link=17/1 : 0 0 10000 0\n"
    "line level=10 link=17/2 : 10000 0 20000 0\n"
    "line level=10 link=17/3 : 10000 0 10000 10000\n";

constexpr const char* kLineTable =
    "table lines 17\ncolumn from_id text\ncolumn to_id text\n"
    "row 1 'A' 'B'\nrow 2 'C' 'D'\nrow 3 'E' 'F'\n";

class NodeRun : public ChainRun {
 protected:
  // Zero-length lines in the file: "level color weight x,y links".
  std::vector<std::string> node_points() {
    std::vector<std::string> found;
    for (const std::string& line : dump_lines()) {
      const std::string v = dump_field(line, "vertices");
      const auto semicolon = v.find(';');
      if (dump_field(line, "type") != "3" || semicolon == std::string::npos ||
          v.substr(0, semicolon) != v.substr(semicolon + 1))
        continue;
      found.push_back(dump_field(line, "level") + " " + dump_field(line, "color") + " " +
                      dump_field(line, "weight") + " " + v.substr(0, semicolon) + " " + dump_field(line, "links"));
    }
    return found;
  }

  std::vector<std::string> ellipses() {
    std::vector<std::string> found;
    for (const std::string& line : dump_lines())
      if (dump_field(line, "type") == "15")
        found.push_back(dump_field(line, "level") + " " + dump_field(line, "color") + " " +
                        dump_field(line, "weight") + " " + dump_field(line, "origin") + " " +
                        dump_field(line, "axes"));
    return found;
  }

  ProgramResult run_ok(const std::string& design, const std::vector<std::string>& options) {
    ProgramResult result = join(design, options);
    EXPECT_EQ(result.exit_status, 0) << result.output;
    return result;
  }
};

// The id column's name must not matter, short names included.
class NodeIdColumn : public NodeRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(NodeIdColumn, PlacesANodeWithARowWhereNoneIs) {
  const std::string id = GetParam();
  make_database("table nodes 18 5\ncolumn " + id + " text\ncolumn cnt integer\ncolumn x real\ncolumn y real\n");
  const ProgramResult result = run_ok(kJunction, {"-PN", "30,nodes," + id + ",cnt,x,y"});
  EXPECT_EQ(query("select mslink, " + id + ", cnt, x, y from nodes order by mslink;"),
            "5|5|1|0.0|0.0\n6|6|3|1.0|0.0\n7|7|1|2.0|0.0\n8|8|1|1.0|1.0\n");
  EXPECT_EQ(query("select nextocc from mscatalog where tablename='nodes';"), "9\n");
  EXPECT_EQ(node_points(), (std::vector<std::string>{"30 1 17 0,0 db:18/5", "30 3 19 10000,0 db:18/6",
                                                     "30 1 17 20000,0 db:18/7", "30 1 17 10000,10000 db:18/8"}));
  EXPECT_NE(result.output.find("\nplaced 4 nodes on level 30\\updated 0 node values\n"), std::string::npos)
      << result.output;
}

INSTANTIATE_TEST_SUITE_P(IdColumns, NodeIdColumn, ::testing::Values("node_id", "id"));

TEST_F(NodeRun, NumbersNewNodesPastTheRowsAlreadyThereWhenTheCatalogLags) {
  make_database(
      "table nodes 18 2\ncolumn node_id text\ncolumn cnt integer\ncolumn x real\ncolumn y real\n"
      "row 1 'old' 0 0 0\nrow 2 'old' 0 0 0\n");
  // The catalog says 2 though row 2 exists.
  ASSERT_EQ(query("update mscatalog set nextocc=2 where tablename='nodes';"), "");
  const ProgramResult result = run_ok("line level=10 : 0 0 10000 0\n", {"-PN", "30,nodes,node_id,cnt,x,y"});
  EXPECT_EQ(query("select mslink, node_id from nodes where mslink > 2 order by mslink;"), "3|3\n4|4\n");
  EXPECT_EQ(query("select nextocc from mscatalog where tablename='nodes';"), "5\n");
  EXPECT_EQ(result.output.find("Error inserting row"), std::string::npos) << result.output;
}

TEST_F(NodeRun, PlacesNodePointsAtTheirElevationInThreeDimensionalFiles) {
  make_database("table nodes 18 1\ncolumn node_id text\ncolumn cnt integer\ncolumn x real\ncolumn y real\n");
  run_ok("dimension 3\nline level=10 : 0 0 500 10000 0 700\n", {"-PN", "30,nodes,node_id,cnt,x,y"});
  EXPECT_EQ(node_points(), (std::vector<std::string>{"30 1 17 0,0,500 db:18/1", "30 1 17 10000,0,700 db:18/2"}));
  EXPECT_EQ(query("select * from nodes order by mslink;"), "1|1|1|0.0|0.0\n2|2|1|1.0|0.0\n");
}

// A node element (a zero-length line linked to the node table) at 10000,0
// where two lines start.
constexpr const char* kNodeWithTwoStarts =
    "line level=30 link=18/7 : 10000 0 10000 0\n"
    "line level=10 link=17/1 : 10000 0 20000 0\n"
    "line level=10 link=17/2 : 10000 0 10000 10000\n";

constexpr const char* kNodeTable =
    "table nodes 18 20\ncolumn node_id text\ncolumn cnt integer\ncolumn x real\ncolumn y real\n";

TEST_F(NodeRun, UpdatesTheRowOfANodeElementAlreadyThere) {
  make_database(std::string(kNodeTable) + "row 7 'N7' null null null\n");
  const ProgramResult result = run_ok(kNodeWithTwoStarts, {"-PNU", "30,nodes,node_id,cnt,x,y"});
  EXPECT_EQ(query("select * from nodes order by mslink;"),
            "7|N7|2|1.0|0.0\n20|20|1|2.0|0.0\n21|21|1|1.0|1.0\n");
  // Only the two dangling ends got new node points.
  EXPECT_EQ(node_points().size(), 3u) << result.output;
  EXPECT_NE(result.output.find("\nplaced 2 nodes on level 30\\updated 1 node values\n"), std::string::npos)
      << result.output;
}

TEST_F(NodeRun, FlagsTwoDifferentNodesAtOnePointAndLeavesThemAlone) {
  make_database(std::string(kNodeTable) + "row 7 'N7' null null null\nrow 8 'N8' null null null\n");
  const std::string design = std::string("line level=30 link=18/8 : 10000 0 10000 0\n") + kNodeWithTwoStarts;
  const ProgramResult result =
      run_ok(design, {"-PNU", "30,nodes,node_id,cnt,x,y", "-Pfdups", "40,1", "-ll", "10,30"});
  EXPECT_EQ(query("select * from nodes where mslink < 20 order by mslink;"), "7|N7|||\n8|N8|||\n");
  // Colour: the two line ends; weight: that number + 16.
  EXPECT_EQ(ellipses(), std::vector<std::string>{"40 2 18 10000,0 10000,12000"});
  EXPECT_NE(result.output.find("\n  Flagged 1 multiple node points\n"), std::string::npos) << result.output;
}

TEST_F(NodeRun, CopiesAgreeingLineIdsToTheNode) {
  struct Case {
    const char* name;
    const char* second_from_id;
    const char* node_row;
    const char* message;
  };
  const Case cases[] = {
      {"both lines say N7", "N7", "7|N7\n",
       "\n  Updated 1 node id values in the nodes table using the from/to id values in the lines table\n"},
      {"N7 and N8 conflict", "N8", "7|\n",
       "\nFound conflicting id values of 'N7' and 'N8' at this node - will not perform update for this node\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir_ / "d.db");
    make_database(std::string(kNodeTable) + "row 7 null null null null\n" +
                  "table lines 17\ncolumn from_id text\ncolumn to_id text\nrow 1 'N7' 'X'\nrow 2 '" +
                  c.second_from_id + "' 'Y'\n");
    const ProgramResult result = run_ok(kNodeWithTwoStarts, {"-ID_L2N", "nodes,node_id,lines,from_id,to_id"});
    EXPECT_EQ(query("select mslink, node_id from nodes;"), c.node_row);
    EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
  }
}

TEST_F(NodeRun, CopiesTheNodeIdToTheLinesFromAndToIds) {
  struct Case {
    const char* name;
    const char* node_id;
    const char* id_type;
    const char* lines;
    const char* message;
  };
  const Case cases[] = {
      {"a numeric id", "42", "N", "1|42|B\n2|C|42\n",
       "\n  Updated 2 from_id/to_id id values in the lines table using the node_id values in the nodes table\n"},
      {"a text id with a quote", "O''Hare", "T", "1|O'Hare|B\n2|C|O'Hare\n", "Updated 2 from_id/to_id"},
      {"a text id given as numeric is refused", "N7", "N", "1|A|B\n2|C|D\n",
       "\nError updating row in lines: update lines set from_id=N7 where mslink=1;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir_ / "d.db");
    make_database(std::string(kNodeTable) + "row 7 '" + c.node_id + "' null null null\n" +
                  "table lines 17\ncolumn from_id text\ncolumn to_id text\nrow 1 'A' 'B'\nrow 2 'C' 'D'\n");
    // Line 1 starts at the node; line string 2 ends there.
    const ProgramResult result = run_ok(
        "line level=30 link=18/7 : 10000 0 10000 0\nline level=10 link=17/1 : 10000 0 20000 0\n"
        "linestring level=10 link=17/2 : 0 5000 0 0 10000 0\n",
        {"-ID_N2L", std::string("nodes,node_id,lines,from_id,to_id,") + c.id_type});
    EXPECT_EQ(query("select * from lines order by mslink;"), c.lines);
    EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
  }
}

TEST_F(NodeRun, RefusesIdTransferOnAListFileWhoseRecordsCarryNoNodeLinks) {
  write_file(dir_ / "d.txt", kNodeWithTwoStarts);
  ASSERT_EQ(run_program("dgntool", {"make", "d.txt", "d.dgn"}, dir_.path()).exit_status, 0);
  write_file(dir_ / "l.txt", "file 1 d.dgn\nelement 1 3 0\nend\n");
  ASSERT_EQ(run_program("dgntool", {"make-list", "l.txt", "l.ulf"}, dir_.path()).exit_status, 0);
  const char* path = std::getenv("PATH");
  const std::string tools = std::string(VORNEL_BIN_DIR) + ":" + (path != nullptr ? path : "");
  for (const char* option : {"-ID_N2L", "-ID_L2N"}) {
    SCOPED_TRACE(option);
    const ProgramResult result =
        run_program("/usr/bin/perl", {"-S", "vornel.pl", "-U", "l.ulf", option, "nodes,node_id,lines,from_id,to_id"},
                    dir_.path(), {{"PATH", tools}});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_NE(result.output.find("-ID_N2L and -ID_L2N need a design file (-F)"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("QBT_quillet"), std::string::npos) << result.output;
  }
}

}  // namespace
