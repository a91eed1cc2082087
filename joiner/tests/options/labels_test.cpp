// Labels end to end: the driver runs the extractor, sorter and joiner on a
// design file made by dgntool with a database made by dgndb; the texts
// placed are read back with dgntool dump.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "joiner/tests/chain_run_fixture.h"

namespace {

using namespace vornel::joiner::testing;

// One placed text as dgntool dumps it.
struct Text {
  std::string origin;
  std::string text;
  std::string level;
  std::string size;
  std::string rotation;
  bool operator==(const Text&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Text& t) {
  return out << "origin " << t.origin << " text " << t.text << " level " << t.level << " size " << t.size
             << " rotation " << t.rotation;
}

class Labels : public ChainRun {
 protected:
  std::vector<Text> texts(bool deleted = false) {
    std::vector<Text> found;
    for (const std::string& line : dump_lines(deleted)) {
      if (dump_field(line, "type") != "17") continue;
      found.push_back({dump_field(line, "origin"), dump_field(line, "text"), dump_field(line, "level"),
                       dump_field(line, "size"), dump_field(line, "rotation")});
    }
    return found;
  }
};

// Table roads (entity 7): names and the dxf columns of a label row.
constexpr const char* kRoads =
    "table roads 7\n"
    "column name text\n"
    "column dxf_text text\n"
    "column dxf_angle real\n"
    "column dxf_layer text\n"
    "column dxf_size real\n"
    "row 1 'Main' 'M1' 30 'SECTCORN' 1.5\n"
    "row 2 'Side' 'S2' 0 'ROADS' 0.5\n";

// Two lines of row 1 that join, a line of row 2, a line without a linkage.
// 10 subunits of 1000 UOR: 10,000 UOR to the master unit.
constexpr const char* kStreets =
    "line level=1 link=7/1 : 0 0 100000 0\n"
    "line level=1 link=7/1 : 100000 0 200000 0\n"
    "line level=2 link=7/2 : 500000 0 500000 100000\n"
    "line level=3 : 800000 0 900000 0\n";

TEST_F(Labels, PlaceTheRowsValuesAlongEveryChain) {
  struct Case {
    const char* name;
    const char* design;
    std::vector<std::string> options;
    std::vector<Text> placed;
    const char* summary;
  };
  const Case cases[] = {
      // Size 0.5 master units = 5,000 UOR; "Main" (20,000 long) is kept 1.5
      // lengths from its segment's end; the vertical line's label is turned
      // to 90 degrees and pushed off the line by the height.
      {"column values, none for a chain without a linkage",
       kStreets,
       {"-label", "roads,name,20,0.5,0,7,3,1,0,0,0,0,0"},
       {{"70000,5000", "\"Main\"", "20", "5000,5000", "0"}, {"505000,50000", "\"Side\"", "20", "5000,5000", "90"}},
       "Placed 2 labels"},
      {"the mslink",
       kStreets,
       {"-label", "roads,mslink,20,0.5,0,7,3,1,0,0,0,0,0"},
       {{"92500,5000", "\"1\"", "20", "5000,5000", "0"}, {"505000,50000", "\"2\"", "20", "5000,5000", "90"}},
       "Placed 2 labels"},
      // Row 1: layer SECTCORN justifies 2 (half the height above, the text
      // ending at its place), 30 degrees, size 1.5; row 2: justification 7.
      {"dxf columns set size, angle and justification row by row",
       kStreets,
       {"-label", "roads,dxf_text,20"},
       {{"40000,7500", "\"M1\"", "20", "15000,15000", "30"}, {"505000,50000", "\"S2\"", "20", "5000,5000", "90"}},
       "Placed 2 labels"},
      // Interval 5 master units: 5 labels on the 20-unit chain, 3 on the
      // 10-unit one, each centred in its share and kept off segment ends.
      {"an interval spaces the labels",
       kStreets,
       {"-label", "roads,name,20,0.5,0,7,3,1,0,0,5,0,0"},
       {{"30000,5000", "\"Main\"", "20", "5000,5000", "0"},
        {"60000,5000", "\"Main\"", "20", "5000,5000", "0"},
        {"70000,5000", "\"Main\"", "20", "5000,5000", "0"},
        {"140000,5000", "\"Main\"", "20", "5000,5000", "0"},
        {"170000,5000", "\"Main\"", "20", "5000,5000", "0"},
        {"505000,30000", "\"Side\"", "20", "5000,5000", "90"},
        {"505000,50000", "\"Side\"", "20", "5000,5000", "90"},
        {"505000,70000", "\"Side\"", "20", "5000,5000", "90"}},
       "Placed 8 labels"},
      // Chains shorter than 25 units get none, yet each counts as one.
      {"a minimum length leaves short chains bare",
       kStreets,
       {"-label", "roads,name,20,0.5,0,7,3,1,0,25,0,0,0"},
       {},
       "Placed 2 labels"},
      // A row that cannot be read leaves the chain bare and says so.
      {"an unreadable row places nothing",
       "line level=1 link=7/9 : 0 0 100000 0\n",
       {"-label", "roads,name,20,0.5,0,7,3,1,0,0,0,0,0"},
       {},
       "\nFailed to retreive data for entity=7 mslink=9 - value set to NULL\n"},
      // Level 0: each label on its element's level.
      {"level 0 keeps the element's level",
       kStreets,
       {"-label", "roads,mslink,0,0.5,0,7,3,1,0,0,0,0,0"},
       {{"92500,5000", "\"1\"", "1", "5000,5000", "0"}, {"505000,50000", "\"2\"", "2", "5000,5000", "90"}},
       "Placed 2 labels"},
      // A closed ring is written by the ring pass, which labels it as well.
      {"a ring gets its label in the ring pass",
       "line level=4 link=7/1 : 0 600000 100000 600000\n"
       "line level=4 link=7/1 : 100000 600000 100000 700000\n"
       "line level=4 link=7/1 : 100000 700000 0 700000\n"
       "line level=4 link=7/1 : 0 700000 0 600000\n",
       {"-label", "roads,mslink,20,0.5,0,7,3,1,0,0,0,0,0"},
       {{"105000,692500", "\"1\"", "20", "5000,5000", "90"}},
       "Placed 1 labels"},
      // etak with level 0: one level up, the element's colour, and at the
      // end of a walk the whole part of the size (1 of 1.5), 1.25 times on
      // levels below 10.
      {"etak labels go one level up",
       kStreets,
       {"-etak", "-label", "roads,mslink,0,1.5,0,7,3,1,0,0,0,0,0"},
       {{"81250,12500", "\"1\"", "2", "12500,12500", "0"}, {"512500,50000", "\"2\"", "3", "12500,12500", "90"}},
       "Placed 2 labels"},
      // The offset moves every label by (1, -2) master units.
      {"an offset moves the labels",
       kStreets,
       {"-label", "roads,mslink,20,0.5,0,7,3,1,0,0,0,1,-2"},
       {{"102500,-15000", "\"1\"", "20", "5000,5000", "0"}, {"515000,30000", "\"2\"", "20", "5000,5000", "90"}},
       "Placed 2 labels"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir_ / "d.db");
    make_database(kRoads);
    const ProgramResult run = join(c.design, c.options, {{"QBT_dbName", "d.db"}});
    EXPECT_EQ(run.exit_status, 0) << run.output;
    EXPECT_NE(run.output.find(c.summary), std::string::npos) << run.output;
    EXPECT_EQ(texts(), c.placed);
  }
}

// Point elements met at a chain start get one label at their origin. The
// text hands its font, justification, symbology, angle and size to the
// labels that follow and, with -del17, is deleted once labelled.
TEST_F(Labels, PointElementsAreLabelledAtTheirOrigin) {
  make_database(kRoads);
  const ProgramResult run = join(
      "ellipse level=5 link=7/2 origin=100000,300000 axes=1000,1000\n"
      "cell name=TREE level=5 link=7/1 origin=200000,300000 {\n"
      "  line level=5 : 199000 300000 201000 300000\n"
      "}\n"
      "textnode level=5 link=7/2 origin=300000,300000 size=10,12 {\n"
      "  text level=5 origin=300000,300000 size=10,12 : \"n\"\n"
      "}\n"
      "text level=6 color=6 weight=2 style=1 font=3 just=1 origin=400000,300000 size=20000,30000 rotation=30 "
      "link=7/1 : \"OLD\"\n"
      "line level=1 link=7/2 : 0 400000 100000 400000\n",
      {"-e", "2,3,4,7,15,17", "-del17", "-label", "roads,name,20,0.5,0,7,3,1,0,0,0,0,0"}, {{"QBT_dbName", "d.db"}});
  EXPECT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("Placed 5 labels"), std::string::npos) << run.output;
  // Beside the ellipse, cell and text node (half the label's length on, the
  // height up); on the text's own origin at its angle; then along the line
  // with the text's settings: too long for its segment, so centred on it.
  const std::vector<Text> expected = {
      {"110000,305000", "\"Side\"", "20", "5000,5000", "0"},
      {"210000,305000", "\"Main\"", "20", "5000,5000", "0"},
      {"310000,305000", "\"Side\"", "20", "5000,5000", "0"},
      {"400000,300000", "\"Main\"", "20", "20000,30000", "30"},
      {"-10000,420000", "\"Side\"", "20", "20000,30000", "30"},
  };
  std::vector<Text> placed;
  for (const Text& t : texts())
    if (t.text != "\"n\"") placed.push_back(t);
  EXPECT_EQ(placed, expected);
  // The labelled text is gone; the text node's own text is not a text element of its own.
  std::vector<std::string> deleted;
  for (const Text& t : texts(true)) deleted.push_back(t.text);
  EXPECT_EQ(deleted, std::vector<std::string>{"\"OLD\""});
  // The text's font, justification and symbology carry over.
  std::string last;
  for (const std::string& line : dump_lines())
    if (dump_field(line, "type") == "17") last = line;
  EXPECT_EQ(dump_field(last, "font"), "3");
  EXPECT_EQ(dump_field(last, "just"), "1");
  EXPECT_EQ(dump_field(last, "color"), "6");
  EXPECT_EQ(dump_field(last, "weight"), "2");
  EXPECT_EQ(dump_field(last, "style"), "1");
}

// "ZEE" labels every element with its elevation in master units, no
// database needed; in a 3-D file the label is a 3-D text on the line.
TEST_F(Labels, ElevationLabelsInAThreeDimensionalFile) {
  const ProgramResult run = join(
      "dimension 3\n"
      "line level=1 : 0 0 25000 100000 0 25000\n"
      "line level=1 : 0 200000 -25000 100000 200000 -25000\n"
      "text level=6 origin=300000,300000,50000 size=1000,1000 : \"T\"\n",
      {"-e", "3,4,17", "-label", "x,ZEE,20,0.5,0,7,3,1,0,0,0,0,0"});
  EXPECT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("Placed 3 labels"), std::string::npos) << run.output;
  // A text of a 3-D file is labelled beside its stored origin and keeps
  // its own settings to itself.
  const std::vector<Text> expected = {
      {"300000,300000,50000", "\"T\"", "6", "1000,1000", "0"},
      {"50000,5000,25000", "\"2\"", "20", "5000,5000", "0"},
      {"50000,205000,-25000", "\"-2\"", "20", "5000,5000", "0"},
      {"302500,305000,50000", "\"5\"", "20", "5000,5000", "0"},
  };
  EXPECT_EQ(texts(), expected);
}

// Labels carry the element's linkages, marked as information linkages;
// -NL places them without any.
TEST_F(Labels, LabelLinkagesFollowThePlacementMode) {
  struct Case {
    const char* name;
    std::vector<std::string> extra;
    const char* links;
  };
  const Case cases[] = {{"information linkages", {}, "db:7/1"}, {"no linkages", {"-NL"}, "-"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir_ / "d.db");
    make_database(kRoads);
    std::vector<std::string> options = c.extra;
    options.insert(options.end(), {"-label", "roads,mslink,20,0.5,0,7,3,1,0,0,0,0,0"});
    const ProgramResult run = join("line level=1 link=7/1 : 0 0 100000 0\n", options, {{"QBT_dbName", "d.db"}});
    EXPECT_EQ(run.exit_status, 0) << run.output;
    std::vector<std::string> links;
    for (const std::string& line : dump_lines())
      if (dump_field(line, "type") == "17") links.push_back(dump_field(line, "links"));
    EXPECT_EQ(links, std::vector<std::string>{c.links});
  }
}

// With -m 1 the run stops at the first node after the second label.
TEST_F(Labels, LabelLimitEndsTheRunEarly) {
  make_database(kRoads);
  const ProgramResult run =
      join(kStreets, {"-m", "1", "-label", "roads,name,20,0.5,0,7,3,1,0,0,0,0,0"}, {{"QBT_dbName", "d.db"}});
  EXPECT_EQ(run.exit_status, 1000 & 255) << run.output;
  EXPECT_NE(run.output.find("\n  Placed 2 labels\n"), std::string::npos) << run.output;
  EXPECT_EQ(texts().size(), 2u);
  // The line after the limit is left as it was.
  bool untouched = false;
  for (const Element& e : elements()) untouched = untouched || (e.type == "3" && e.level == "3");
  EXPECT_TRUE(untouched);
}

}  // namespace
