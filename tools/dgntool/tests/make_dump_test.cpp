// dgntool make then dgntool dump: every kind of element comes back with the
// values it was described with.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Output {
  int status = -1;
  std::string out;
};

Output run(const std::string& command) {
  Output r;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return r;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
  const int raw = pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    out.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

class DgnTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("dgntool_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    std::ofstream(path) << text;
    return path.string();
  }
  // Makes a design file from `description` and returns its text dump lines.
  std::vector<std::string> make_and_dump(const std::string& description, bool json = false) {
    const std::string desc = write("in.txt", description);
    const std::string dgn = (dir_ / "out.dgn").string();
    const Output made = run(std::string(VORNEL_BIN_DIR) + "/dgntool make " + desc + " " + dgn);
    EXPECT_EQ(made.status, 0) << made.out;
    const Output dumped = run(std::string(VORNEL_BIN_DIR) + "/dgntool dump " + dgn + (json ? " --json" : ""));
    EXPECT_EQ(dumped.status, 0) << dumped.out;
    return lines(dumped.out);
  }

  fs::path dir_;
};

// Element lines without the position fields, which depend on what precedes.
std::string without_position(const std::string& line) {
  const std::size_t at = line.find(" type=");
  return at == std::string::npos ? line : line.substr(at + 1);
}

TEST_F(DgnTool, TwoDimensionalKindsRoundTrip) {
  const auto out = make_and_dump(R"(dimension 2
units 100 10 ft in
origin 1000 -2000
line level=10 color=3 weight=2 style=1 class=2 gg=7 link=12/345 : 0 0 100 200
linestring level=11 : 0 0 10 0 10 10
shape level=12 deleted : 0 0 10 0 10 10 0 0
curve level=13 props=0x4000 ulink=9/77 : 1 1 2 2 3 1 4 2
arc level=14 origin=1000,500 axes=100,100 start=0 sweep=90
ellipse level=15 origin=-50,60 axes=30,20 rotation=45
text level=16 font=3 just=2 origin=5,6 size=2000,2000 rotation=30 : "AB"
textnode level=17 origin=7,8 size=10,12 spacing=5 {
  text level=17 origin=7,8 size=10,12 : "first"
}
cell name=TREE origin=50,50 {
  line level=20 : 40 40 60 60
}
chain level=21 {
  linestring level=21 : 0 0 5 5
  arc level=21 origin=5,0 axes=5,5 start=90 sweep=-90
}
cshape level=22 {
  linestring level=22 : 0 0 10 0 10 10
  line level=22 : 10 10 0 0
}
bspline level=23 order=3 {
  poles : 0 0 100 100 200 0 300 100
  knots : 0.5
  weights : 1 0.5 0.5 1
}
)");
  const std::vector<std::string> expected = {
      "kind=\"design\" dimension=2 subunits_per_master=100 uors_per_subunit=10 master=\"ft\" "
      "sub=\"in\" origin=1000,-2000,0",
      "type=9 level=8 deleted=0 complex=0 words=768 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=-2147483648,-2147483648,-2147483648,-2147483648,-2147483648,-2147483648 links=-",
      "type=3 level=10 deleted=0 complex=0 words=32 gg=7 class=2 props=2048 style=1 weight=2 "
      "color=3 range=0,0,0,100,200,0 vertices=0,0;100,200 links=db:12/345",
      "type=4 level=11 deleted=0 complex=0 words=34 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,10,10,0 vertices=0,0;10,0;10,10 links=-",
      "type=6 level=12 deleted=1 complex=0 words=38 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,10,10,0 vertices=0,0;10,0;10,10;0,0 links=-",
      "type=11 level=13 deleted=0 complex=0 words=46 gg=0 class=0 props=18432 style=0 weight=0 "
      "color=0 range=1,1,0,4,2,0 vertices=1,1;2,2;3,1;4,2 links=user-db:9/77",
      "type=16 level=14 deleted=0 complex=0 words=44 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=900,400,0,1100,600,0 origin=1000,500 axes=100,100 rotation=0 start=0 "
      "sweep=90 vertices=1100,500;1000,600 links=-",
      "type=15 level=15 deleted=0 complex=0 words=40 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=-80,30,0,-20,90,0 origin=-50,60 axes=30,20 rotation=45 links=-",
      "type=17 level=16 deleted=0 complex=0 words=34 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=5,6,0,4005,2006,0 font=3 just=2 size=2000,2000 multipliers=333333,333333 "
      "rotation=30 origin=5,6 text=\"AB\" links=-",
      "type=7 level=17 deleted=0 complex=0 words=38 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=7,8,0,57,20,0 components=1 font=0 just=0 origin=7,8 links=-",
      "type=17 level=17 deleted=0 complex=1 words=36 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=7,8,0,57,20,0 font=0 just=0 size=10,12 multipliers=1667,2000 rotation=0 "
      "origin=7,8 text=\"first\" links=-",
      "type=2 level=1 deleted=0 complex=0 words=50 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=40,40,0,60,60,0 name=\"TREE\" origin=50,50 links=-",
      "type=3 level=20 deleted=0 complex=1 words=28 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=40,40,0,60,60,0 vertices=40,40;60,60 links=-",
      "type=12 level=21 deleted=0 complex=0 words=22 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,-5,0,10,5,0 total_length=68 components=2 links=-",
      "type=4 level=21 deleted=0 complex=1 words=30 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,5,5,0 vertices=0,0;5,5 links=-",
      "type=16 level=21 deleted=0 complex=1 words=44 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,-5,0,10,5,0 origin=5,0 axes=5,5 rotation=0 start=90 sweep=-90 "
      "vertices=5,5;10,0 links=-",
      "type=14 level=22 deleted=0 complex=0 words=22 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,10,10,0 total_length=58 components=2 links=-",
      "type=4 level=22 deleted=0 complex=1 words=34 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,10,10,0 vertices=0,0;10,0;10,10 links=-",
      "type=3 level=22 deleted=0 complex=1 words=28 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,10,10,0 vertices=10,10;0,0 links=-",
      "type=27 level=23 deleted=0 complex=0 words=26 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,300,100,0 order=3 closed=0 rational=1 poles=4 knots=1 links=-",
      "type=21 level=23 deleted=0 complex=1 words=38 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,300,100,0 vertices=0,0;100,100;200,0;300,100 links=-",
      "type=26 level=23 deleted=0 complex=1 words=22 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,300,100,0 values=0.5 links=-",
      "type=28 level=23 deleted=0 complex=1 words=28 gg=0 class=0 props=0 style=0 weight=0 "
      "color=0 range=0,0,0,300,100,0 values=1,0.5,0.5,1 links=-",
  };
  ASSERT_EQ(out.size(), expected.size());
  EXPECT_EQ(out[0], expected[0]);
  for (std::size_t i = 1; i < out.size(); ++i) EXPECT_EQ(without_position(out[i]), expected[i]) << i;
}

// A complex header counts every record that follows it as a component, so
// a B-spline inside a chain counts its header and each pole, knot and weight
// record; a count of one for it made readers stop inside the chain.
TEST_F(DgnTool, AChainHoldingABsplineCountsEachOfItsRecords) {
  const auto out = make_and_dump(R"(chain level=5 {
  line level=5 : 0 0 100 0
  bspline level=5 order=3 {
    poles : 100 0 200 100 300 0
    knots : 0.5
  }
  line level=5 : 300 0 400 0
}
line level=6 : 0 0 1 1
)");
  ASSERT_EQ(out.size(), 9U);  // design line, header element, chain, five components, the last line
  EXPECT_NE(out[2].find("type=12 "), std::string::npos) << out[2];
  EXPECT_NE(out[2].find(" components=5 "), std::string::npos) << out[2];
  for (std::size_t i = 3; i < 8; ++i) EXPECT_NE(out[i].find(" complex=1 "), std::string::npos) << out[i];
  EXPECT_NE(out.back().find("level=6 deleted=0 complex=0"), std::string::npos) << out.back();
}

TEST_F(DgnTool, ThreeDimensionalKindsRoundTripAsJson) {
  const auto out = make_and_dump(R"(dimension 3
origin 1 2 3
line level=1 : 1 2 3 4 5 6
linestring level=2 : 0 0 0 10 0 5 10 10 10
arc level=3 origin=0,0,7 axes=10,10 start=0 sweep=90 rotation=90
ellipse level=4 origin=1,2,3 axes=4,2
text level=5 origin=1,2,3 size=60,60 : "z"
cell name=c3 origin=1,1,1 {
  line level=6 : 0 0 0 2 2 2
}
)", true);
  ASSERT_EQ(out.size(), 9u);
  EXPECT_NE(out[0].find(R"("dimension":3)"), std::string::npos);
  EXPECT_NE(out[0].find(R"("origin":[1,2,3])"), std::string::npos);
  const std::vector<std::string> expected_parts = {
      R"("type":9,"level":8)",
      R"("type":3,"level":1,"deleted":false,"complex":false,"words":32,"gg":0,"class":0,"props":0,)"
      R"("style":0,"weight":0,"color":0,"range":[1,2,3,4,5,6],"vertices":[[1,2,3],[4,5,6]])",
      R"("vertices":[[0,0,0],[10,0,5],[10,10,10]])",
      // Rotated 90 degrees about Z: the start point moves from +X to +Y.
      R"("origin":[0,0,7],"axes":[10,10],"start":0,"sweep":90,"vertices":[[0,10,7],[-10,0,7]])",
      R"("type":15,"level":4,"deleted":false,"complex":false,"words":48,)",
      R"("size":[60,60],"multipliers":[10000,10000],"rotation":0,"quaternion":[2147483647,0,0,0],)"
      R"("origin":[1,2,3],"text":"z")",
      R"("type":2,"level":1,"deleted":false,"complex":false,"words":66,)",
      R"("type":3,"level":6,"deleted":false,"complex":true,)",
  };
  for (std::size_t i = 0; i < expected_parts.size(); ++i) {
    EXPECT_NE(out[i + 1].find(expected_parts[i]), std::string::npos) << out[i + 1];
  }
}

TEST_F(DgnTool, ErrorsNameTheLineAndLeaveNoFile) {
  struct Case {
    const char* description;
    const char* message;
  };
  const Case cases[] = {
      {"line : 0 0 1\n", "line 1: coordinates come in groups of 2"},
      {"\nline level=64 : 0 0 1 1\n", "line 2: level must be 0 to 63: 64"},
      {"blob : 1 2\n", "line 1: unknown element kind: blob"},
      {"chain {\nline : 0 0 1 1\n", "missing '}'"},
      {"text origin=0,0 : \"\"\n", "line 1: text has 1 to 255 characters"},
      {"line colour=3 : 0 0 1 1\n", "line 1: unknown key: colour"},
  };
  for (const Case& c : cases) {
    std::string text = c.description;
    for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\n");
    const std::string desc = write("bad.txt", text);
    const std::string dgn = (dir_ / "bad.dgn").string();
    const Output r = run(std::string(VORNEL_BIN_DIR) + "/dgntool make " + desc + " " + dgn);
    EXPECT_EQ(r.status, 2) << c.description;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(dgn));
  }
  EXPECT_EQ(run(std::string(VORNEL_BIN_DIR) + "/dgntool").status, 1);
  EXPECT_EQ(run(std::string(VORNEL_BIN_DIR) + "/dgntool dump " + write("x.dgn", "not a design file")).status, 2);
}

TEST_F(DgnTool, DumpStopsAtAnElementRunningPastTheEnd) {
  const std::string desc = write("in.txt", "line : 0 0 1 1\nline : 2 2 3 3\n");
  const std::string dgn = (dir_ / "cut.dgn").string();
  ASSERT_EQ(run(std::string(VORNEL_BIN_DIR) + "/dgntool make " + desc + " " + dgn).status, 0);
  fs::resize_file(dgn, 1536 + 52 + 20);
  const Output r = run(std::string(VORNEL_BIN_DIR) + "/dgntool dump " + dgn);
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.out.find("vertices=0,0;1,1"), std::string::npos);
  EXPECT_NE(r.out.find("element at 1588 runs past the end of the file"), std::string::npos);
}

}  // namespace
