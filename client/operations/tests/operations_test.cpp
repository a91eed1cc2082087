// The operations against real dgnhost processes on files made by dgntool:
// every element kind placed in 2-D and 3-D files, read back through the
// host and through the direct reader; complex elements; rewrite and delete
// in place; stroking; text inquiry; bad requests; a host killed mid-run.

#include "client/connection/host_connection.h"
#include "client/connection/tcb_layout.h"
#include "client/connection/wire.h"
#include "client/operations/operations.h"
#include "client/reader/design_reader.hpp"
#include "client/records/element_words.hpp"
#include "client/session/session.h"
#include "testsupport/run_program.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>
#include <unistd.h>

namespace vornel {
namespace {

namespace fs = std::filesystem;
using Memory = std::vector<std::uint8_t>;

constexpr std::int16_t kMode[2] = {2, 0};

// Every element the direct reader finds (not deleted), by position, in memory form.
std::map<std::uint32_t, Memory> scan_file(const std::string& path) {
  std::map<std::uint32_t, Memory> found;
  client::ScanPosition start{0, 0};
  std::int16_t status = 0;
  client::dfrset(&start, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, path.c_str(), &status, nullptr);
  EXPECT_EQ(status, 0);
  std::int16_t mode = 0;
  client::search(&mode);
  for (;;) {
    std::uint16_t buffer[1024] = {};
    std::int32_t max_words = 1024;
    client::ScanPosition at{};
    client::reqele(buffer, &max_words, &status, nullptr, nullptr, nullptr, nullptr, nullptr, &at, nullptr, nullptr, nullptr);
    if (status != 0) break;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer);
    found[at.block * 512 + at.word * 2] = Memory(bytes, bytes + 2 * (std::size_t{buffer[1]} + 2));
  }
  EXPECT_EQ(status, client::kReqeleEndOfDesign);
  client::reset_design_reader();
  return found;
}

Memory read_through_host(std::uint32_t position) {
  std::uint16_t buffer[1024] = {};
  const std::int32_t file = 0;
  const auto at = static_cast<std::int32_t>(position);
  EXPECT_EQ(ms_read_element(buffer, &file, &at), 0);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer);
  return Memory(bytes, bytes + 2 * (std::size_t{buffer[1]} + 2));
}

std::uint16_t word(const Memory& m, std::size_t offset) { return client::get_word(m.data(), offset); }
std::int32_t long_at(const Memory& m, std::size_t offset) { return static_cast<std::int32_t>(client::get_long(m.data(), offset)); }

class OperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alarm(180);
    old_dir_ = fs::current_path();
    fs::current_path(dir_.path());
    setenv("MS_EXE", VORNEL_BIN_DIR, 1);
    for (const char* name : {"MSGKEY", "TCBKEY", "MS_RSRC", "MS_DEBUG", "MS_CACH"}) unsetenv(name);
  }
  void TearDown() override {
    dedfpi(nullptr);
    fs::current_path(old_dir_);
    alarm(0);
  }
  // Makes the file with dgntool and opens it through a new host.
  void open(const std::string& description) {
    path_ = (dir_ / "test.dgn").string();
    testing::write_file(dir_ / "test.txt", description);
    const auto made = testing::run_program("dgntool", {"make", (dir_ / "test.txt").string(), path_}, dir_.path());
    ASSERT_EQ(made.exit_status, 0) << made.output;
    std::int16_t status = -1, mode = 1, third = 0;
    ASSERT_EQ(indfpi(nullptr, path_.c_str(), &third, nullptr, &mode, nullptr, &status, nullptr), 0);
    three_d_ = wire::load<std::int16_t>(connection::tcb_bytes(), tcb::kDimension) == 3;
  }
  void close() { ASSERT_EQ(dedfpi(nullptr), 0); }
  std::string file_bytes() const { return testing::read_file(path_); }

  testing::TempDir dir_;
  fs::path old_dir_;
  std::string path_;
  bool three_d_ = false;
};

// What a placement reported: its position and the memory form the host sent.
struct Placed {
  const char* kind;
  std::uint32_t position;
  Memory memory;
};

TEST_F(OperationsTest, PlacesEveryKindAndReadsItBackThroughHostAndReader) {
  for (int dimension : {2, 3}) {
    SCOPED_TRACE(dimension);
    open("dimension " + std::to_string(dimension) + "\nline level=1 : " + (dimension == 3 ? "0 0 0 1 1 1" : "0 0 1 1") + "\n");
    const bool d3 = dimension == 3;
    std::vector<Placed> placed;
    const Symbology sym{3, 2, 4, 120};
    const std::int16_t level = 17;
    const std::int16_t links[] = {1, -1, 0x0000, 12, 345, 0};
    Memory buffer(2048);
    auto extended = [&](const char* kind, auto&& call) {
      std::int32_t block = -1, size = static_cast<std::int32_t>(buffer.size());
      std::int16_t byte = -1, status = -1;
      ASSERT_EQ(call(&status, &block, &byte, &size), 0) << kind;
      EXPECT_EQ(status, 0);
      placed.push_back({kind, static_cast<std::uint32_t>(block * 512 + byte), Memory(buffer.begin(), buffer.begin() + size)});
    };
    const std::int32_t line[] = {10, 20, 30, 40, 50, 60};
    extended("line", [&](std::int16_t* st, std::int32_t* bl, std::int16_t* by, std::int32_t* sz) {
      return lndfpi_ex(kMode, &level, &sym, line, st, links, nullptr, bl, by, nullptr, nullptr, buffer.data(), sz);
    });
    const std::int32_t vertices[] = {0, 0, 0, 1000, 0, 10, 1000, 1000, 20, 0, 1000, 30, 0, 0, 0};
    std::vector<std::int32_t> v2;
    for (int i = 0; i < 5; ++i) v2.insert(v2.end(), {vertices[3 * i], vertices[3 * i + 1]});
    const std::int32_t* v = d3 ? vertices : v2.data();
    const std::int16_t four = 4, five = 5;
    extended("line string", [&](std::int16_t* st, std::int32_t* bl, std::int16_t* by, std::int32_t* sz) {
      return lsdfpi_ex(kMode, &level, &sym, v, &four, st, nullptr, nullptr, bl, by, nullptr, nullptr, buffer.data(), sz);
    });
    extended("curve", [&](std::int16_t* st, std::int32_t* bl, std::int16_t* by, std::int32_t* sz) {
      return cudfpi_ex(kMode, &level, nullptr, v, &four, st, links, nullptr, bl, by, nullptr, nullptr, buffer.data(), sz);
    });
    if (!d3) {
      const TextParameters text{600, 900, 3, 2, 1, 0};
      const std::int32_t origin[] = {500, 700};
      const double angle = 30;
      extended("text", [&](std::int16_t* st, std::int32_t* bl, std::int16_t* by, std::int32_t* sz) {
        return txdfpi_ex(kMode, &angle, &level, &text, nullptr, origin, st, "AB", links, nullptr, bl, by, nullptr,
                         nullptr, buffer.data(), sz);
      });
    }
    const std::size_t extended_count = placed.size();

    std::int16_t status = -1;
    EXPECT_EQ(shdfpi(kMode, &level, &sym, v, &five, &status, nullptr), 0);
    const double axes[] = {1000, 400}, centre[] = {5000, 6000, 70}, rotation = 30;
    const double matrix[] = {0, -1, 0, 1, 0, 0, 0, 0, 1};
    if (d3) {
      EXPECT_EQ(eldfpi(kMode, &level, &sym, axes, centre, &rotation, &status, nullptr), 917);
      EXPECT_EQ(eldfp3(kMode, &level, &sym, axes, centre, &status, links, matrix), 0);
    } else {
      EXPECT_EQ(eldfp3(kMode, &level, &sym, axes, centre, &status, nullptr, matrix), 918);
      EXPECT_EQ(eldfpi(kMode, &level, &sym, axes, centre, &rotation, &status, links), 0);
      const TextParameters text{600, 900, 1, 3, 1, 0};
      const NodeParameters node{1200, 7, 0, 0};
      const std::int32_t origin[] = {800, 900};
      const double angle = 0;
      EXPECT_EQ(tndfpi(kMode, &angle, &level, &node, &text, nullptr, origin, &status, "XYZ", nullptr), 0);
    }
    const std::int16_t type = 0, order = 3, zero = 0, one = 1, knots = 1;
    const double weights[] = {1, 0.5, 0.5, 1}, knot[] = {0.5};
    EXPECT_EQ(bcdfpi(kMode, &level, &sym, &type, &order, &zero, &one, &zero, &one, &four, &knots, v, weights, knot,
                     nullptr, &status), 0);
    EXPECT_EQ(status, 0);

    // The extended placements answered with their position and memory form;
    // the host reads the same back.
    for (std::size_t i = 0; i < extended_count; ++i) {
      SCOPED_TRACE(placed[i].kind);
      EXPECT_EQ(read_through_host(placed[i].position), placed[i].memory);
    }
    close();

    // The direct reader sees every element the host wrote, field for field.
    const auto found = scan_file(path_);
    for (const Placed& p : placed) {
      SCOPED_TRACE(p.kind);
      ASSERT_TRUE(found.count(p.position));
      EXPECT_EQ(found.at(p.position), p.memory);
    }
    const std::size_t points = d3 ? 3 : 2;
    const Memory& line_back = placed[0].memory;
    EXPECT_EQ(word(line_back, 0), (3 << 8) | 17);
    EXPECT_EQ(word(line_back, 32) & 0x0F, 3);            // class
    EXPECT_EQ(word(line_back, 36), 2 | (4 << 3) | (120 << 8));  // style, weight, color
    for (std::size_t i = 0; i < 2 * points; ++i) EXPECT_EQ(long_at(line_back, 40 + 4 * i), line[i]);
    EXPECT_EQ(word(line_back, 2), d3 ? 34 : 30);  // with a 4-word linkage
    const Memory& ls = placed[1].memory;
    EXPECT_EQ(word(ls, 40), 4);
    for (std::size_t i = 0; i < 4 * points; ++i) EXPECT_EQ(long_at(ls, 44 + 4 * i), v[i]);
    // Kinds in file order after the line of the fixture.
    std::vector<int> types;
    for (const auto& [position, memory] : found)
      if (position > 1536 && !(word(memory, 0) & 0x80)) types.push_back((word(memory, 0) >> 8) & 0x7F);
    const std::vector<int> expected = d3 ? std::vector<int>{3, 4, 11, 6, 15, 27} : std::vector<int>{3, 4, 11, 17, 6, 15, 7, 27};
    EXPECT_EQ(types, expected);
    const auto dump = testing::run_program("dgntool", {"dump", path_}, dir_.path());
    EXPECT_EQ(dump.exit_status, 0) << dump.output;
    if (!d3) {
      EXPECT_NE(dump.output.find("text=\"AB\""), std::string::npos) << dump.output;
      EXPECT_NE(dump.output.find("size=600,900"), std::string::npos) << dump.output;
      EXPECT_NE(dump.output.find("axes=1000,400 rotation=30"), std::string::npos) << dump.output;
    }
  }
}

TEST_F(OperationsTest, NullSymbologyTakesTheActiveSettingsAndAGivenOneClearsTheLineStyleForOneRequest) {
  open("line level=1 : 0 0 1 1\n");
  auto tcb = connection::tcb_bytes();
  wire::store(tcb, tcb::kActiveClass, std::int16_t{0x35});
  wire::store(tcb, tcb::kActiveSymbology, std::int32_t{5 | (7 << 3) | (33 << 8)});
  wire::store(tcb, tcb::kLineStyle, std::int32_t{9});
  const std::int32_t v[] = {0, 0, 10, 10};
  const std::int16_t two = 2, level = 4;
  std::int32_t block = -1, size = 512;
  std::int16_t byte = -1, status = 0;
  Memory m(512);
  ASSERT_EQ(lsdfpi_ex(kMode, &level, nullptr, v, &two, &status, nullptr, nullptr, &block, &byte, nullptr, nullptr, m.data(), &size), 0);
  EXPECT_EQ(word(m, 32) & 0x0F, 5);
  EXPECT_EQ(word(m, 36), 5 | (7 << 3) | (33 << 8));
  EXPECT_EQ(wire::load<std::int32_t>(tcb, tcb::kLineStyle), 9);
  const Symbology sym{1, 1, 1, 1};
  size = 512;
  ASSERT_EQ(lsdfpi_ex(kMode, &level, &sym, v, &two, &status, nullptr, nullptr, &block, &byte, nullptr, nullptr, m.data(), &size), 0);
  EXPECT_EQ(word(m, 36), 1 | (1 << 3) | (1 << 8));
  EXPECT_EQ(wire::load<std::int32_t>(tcb, tcb::kLineStyle), 9);
}

TEST_F(OperationsTest, ComplexShapesAndChainsComeBackWithTheirHeaders) {
  open("line level=1 : 0 0 1 1\n");
  std::vector<std::int32_t> ring;
  for (int i = 0; i < 250; ++i) {
    const double a = i * 2 * M_PI / 249;
    ring.push_back(static_cast<std::int32_t>(std::lround(10000 * std::cos(a))));
    ring.push_back(static_cast<std::int32_t>(std::lround(10000 * std::sin(a))));
  }
  const std::int16_t count = 250, level = 6;
  const std::int16_t links[] = {1, -1, 0x0000, 12, 345, 0};
  std::int16_t status = -1;
  ASSERT_EQ(shdfpi(kMode, &level, nullptr, ring.data(), &count, &status, links), 0);
  EXPECT_FALSE(complex_element_open());

  ASSERT_EQ(bcmplx(nullptr, &status), 0);
  EXPECT_TRUE(complex_element_open());
  const std::int32_t a[] = {0, 0, 10, 0, 10, 10}, b[] = {10, 10, 20, 20};
  const std::int16_t three = 3;
  std::int32_t block = -1;
  std::int16_t byte = -1;
  ASSERT_EQ(lsdfpi_ex(kMode, &level, nullptr, a, &three, &status, nullptr, nullptr, &block, &byte, nullptr, nullptr, nullptr, nullptr), 0);
  ASSERT_EQ(lndfpi(kMode, &level, nullptr, b, &status, nullptr), 0);
  const std::int16_t chain = 1;
  ASSERT_EQ(ecmplx(&chain, &status), 0);
  EXPECT_EQ(ecmplx(&chain, &status), 906);
  close();

  const auto found = scan_file(path_);
  std::vector<std::pair<std::uint32_t, Memory>> headers;
  for (const auto& [position, memory] : found) {
    const int type = (word(memory, 0) >> 8) & 0x7F;
    if (type == 12 || type == 14) headers.emplace_back(position, memory);
  }
  ASSERT_EQ(headers.size(), 2u);
  struct Expect {
    int type;
    std::vector<int> vertex_counts;
    bool linked;
  } expect[] = {{14, {101, 101, 50}, true}, {12, {3, 0}, false}};
  for (std::size_t h = 0; h < 2; ++h) {
    const auto& [position, header] = headers[h];
    SCOPED_TRACE(expect[h].type);
    EXPECT_EQ((word(header, 0) >> 8) & 0x7F, expect[h].type);
    EXPECT_EQ(word(header, 0) & 0x3F, 6);
    EXPECT_EQ(word(header, 42), expect[h].vertex_counts.size());
    std::uint32_t at = position + 2 * (word(header, 2) - 2 + 2);  // header file size: memory growth is 2 words
    std::size_t component_words = 0;
    for (int vertices : expect[h].vertex_counts) {
      ASSERT_TRUE(found.count(at)) << at;
      const Memory& c = found.at(at);
      EXPECT_TRUE(word(c, 0) & 0x80);
      if (vertices > 0) {
        EXPECT_EQ(word(c, 40), vertices);
      }
      const std::size_t file_words = vertices > 0 ? word(c, 2) - 3 + 2 : word(c, 2) - 2 + 2;
      component_words += file_words;
      at += static_cast<std::uint32_t>(2 * file_words);
    }
    const std::size_t header_file_words = word(header, 2);  // memory words-to-follow - 2 + 2
    EXPECT_EQ(word(header, 40), header_file_words - 19 + component_words);
    EXPECT_EQ(word(header, 32) & 0x0800, expect[h].linked ? 0x0800 : 0);
  }
}

TEST_F(OperationsTest, ShapesSplitOnlyPastTheirLimit) {
  open("line level=1 : 0 0 1 1\n");
  struct Case {
    std::int16_t count;
    std::vector<int> types;          // top-level element and its components
    std::vector<int> vertex_counts;
  } cases[] = {{101, {6}, {101}}, {102, {14, 4, 4}, {0, 101, 2}}};
  std::uint32_t at = 1536 + 52;
  const std::int16_t level = 2;
  for (const Case& c : cases) {
    std::vector<std::int32_t> v;
    for (int i = 0; i < c.count; ++i) v.insert(v.end(), {i, i % 2});
    std::int16_t status = -1;
    ASSERT_EQ(shdfpi(kMode, &level, nullptr, v.data(), &c.count, &status, nullptr), 0);
    for (std::size_t k = 0; k < c.types.size(); ++k) {
      SCOPED_TRACE(c.count);
      const Memory m = read_through_host(at);
      EXPECT_EQ((word(m, 0) >> 8) & 0x7F, c.types[k]);
      if (c.vertex_counts[k] > 0) {
        EXPECT_EQ(word(m, 40), c.vertex_counts[k]);
        EXPECT_EQ(long_at(m, 44), 100 * static_cast<std::int32_t>(k > 0 ? k - 1 : 0));  // pieces share a vertex
      }
      at += 2 * (word(m, 2) - (c.types[k] == 14 ? 2 : 3) + 2);
    }
  }
  // A shape whose complex would pass 65,535 words is refused before sending.
  std::vector<std::int32_t> huge(2 * 15500, 0);
  const std::int16_t too_many = 15500;
  std::int16_t status = 0;
  EXPECT_EQ(shdfpi(kMode, &level, nullptr, huge.data(), &too_many, &status, nullptr), 905);
  EXPECT_FALSE(complex_element_open());
  const std::int32_t file = 0, end = static_cast<std::int32_t>(at);
  std::uint16_t buffer[1024];
  EXPECT_EQ(ms_read_element(buffer, &file, &end), 1011);
}

TEST_F(OperationsTest, RewriteAndDeleteActInPlace) {
  open("linestring level=2 : 0 0 10 0 20 0\nline level=3 : 5 5 6 6\n");
  const std::int32_t position = 1536;
  Memory m = read_through_host(position);
  client::put_long(m.data(), 52, 99);  // second vertex x
  const std::int32_t file = 0;
  EXPECT_EQ(ms_write_element(reinterpret_cast<const std::uint16_t*>(m.data()), &file, &position), 0);
  EXPECT_EQ(read_through_host(position), m);

  // Another size is refused; nothing moves.
  Memory longer(m.size() + 8, 0);
  std::copy(m.begin(), m.end(), longer.begin());
  client::put_word(longer.data(), 2, static_cast<std::uint16_t>(word(m, 2) + 4));
  client::put_word(longer.data(), 40, 4);
  EXPECT_EQ(ms_write_element(reinterpret_cast<const std::uint16_t*>(longer.data()), &file, &position), 1013);
  EXPECT_EQ(read_through_host(position), m);

  std::uint16_t record[1024] = {};
  const std::int32_t block = 3;
  const std::int16_t byte = 0, raw = 0;
  std::int16_t status = -1;
  ASSERT_EQ(rddfpi(&block, &byte, &raw, record, &status), 0);
  EXPECT_EQ(std::memcmp(record + 4, m.data(), m.size()), 0);
  EXPECT_EQ(record[1], 3);
  EXPECT_EQ(record[2], 0);

  const std::int16_t flags = 0;
  ASSERT_EQ(delete_element(&block, &byte, &flags, &status), 0);
  const Memory deleted = read_through_host(position);
  EXPECT_EQ(word(deleted, 0), 0x8000 | (4 << 8) | 2);
  const std::string before = file_bytes();
  close();
  const std::string after = file_bytes();
  EXPECT_EQ(before, after);
  EXPECT_EQ(client::get_word(reinterpret_cast<const std::uint8_t*>(after.data()), 1536) & 0x8000, 0x8000);
  const auto found = scan_file(path_);
  EXPECT_FALSE(found.count(1536));
  EXPECT_TRUE(found.count(1536 + 62));
}

TEST_F(OperationsTest, BadRequestsGetAStatusAndLeaveTheFileAlone) {
  open("line level=1 : 0 0 10 10\n");
  const std::string before = file_bytes();
  std::uint16_t buffer[1024];
  const std::int32_t file = 0;
  std::int16_t status = 0;
  struct ReadCase {
    std::int32_t position;
    int status;
  } reads[] = {{1537, 934}, {1540, 934}, {1588, 1011}, {5000000, 1011}, {-4, 1011}};
  for (const ReadCase& c : reads) {
    SCOPED_TRACE(c.position);
    EXPECT_EQ(ms_read_element(buffer, &file, &c.position), c.status);
    std::memset(buffer, 0, sizeof buffer);
    buffer[0] = (3 << 8) | 1;
    buffer[1] = 26;
    EXPECT_NE(ms_write_element(buffer, &file, &c.position), 0);
    const std::int32_t block = c.position / 512;
    const std::int16_t byte = static_cast<std::int16_t>(c.position % 512), flags = 0;
    EXPECT_NE(delete_element(&block, &byte, &flags, &status), 0);
  }
  const std::int32_t v[] = {0, 0, 1, 1};
  const std::int16_t one = 1, two = 2, level = 1, huge = 102;
  EXPECT_EQ(lsdfpi_ex(kMode, &level, nullptr, v, &one, &status, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 904);
  EXPECT_EQ(status, 904);
  EXPECT_EQ(cudfpi_ex(kMode, &level, nullptr, v, &two, &status, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 904);
  std::vector<std::int32_t> many(2 * 102, 0);
  EXPECT_EQ(lsdfpi_ex(kMode, &level, nullptr, many.data(), &huge, &status, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 905);
  const std::int16_t gg_bad[] = {3, 0}, gg_code[] = {9, 1};
  EXPECT_EQ(ggdfpi(gg_bad, &status), 902);
  EXPECT_EQ(ggdfpi(gg_code, &status), 902);
  const std::int16_t type = 9, order = 3, zero = 0;
  EXPECT_EQ(bcdfpi(kMode, &level, nullptr, &type, &order, &zero, &zero, &zero, &zero, &two, &zero, v, nullptr, nullptr, nullptr, &status), 1019);
  const std::int16_t fine_type = 0;
  EXPECT_EQ(bcdfpi(kMode, &level, nullptr, &fine_type, &order, &zero, &zero, &zero, &zero, &two, &zero, v, nullptr, nullptr, nullptr, &status), 1014);
  // A user linkage whose length breaks the rule spoils the buffer: nothing is sent with it.
  const std::int16_t bad_links[] = {1, -1, 0x1005, 0, 0, 0, 0, 0};
  std::int32_t block = -1, size = 512;
  std::int16_t byte = -1;
  Memory m(512);
  ASSERT_EQ(lsdfpi_ex(kMode, &level, nullptr, v, &two, &status, bad_links, nullptr, &block, &byte, nullptr, nullptr, m.data(), &size), 0);
  EXPECT_EQ(word(m, 32) & 0x0800, 0);
  EXPECT_EQ(std::string(file_bytes(), 0, before.size() - 512), std::string(before, 0, before.size() - 512));
}

TEST_F(OperationsTest, StrokingKeepsWithinToleranceAndWithinTheBytesAsked) {
  open("arc level=1 origin=0,0 axes=10000,10000 start=0 sweep=90\n"
       "bspline level=1 order=3 {\npoles : 0 0 1000 0 1000 1000 0 1000\n}\n");
  const Memory arc = read_through_host(1536);
  std::vector<std::int32_t> out(8192);
  std::int32_t size = 20000, count = -1;
  const double tolerance = 10.0;
  ASSERT_EQ(stroke_element(out.data(), &size, &count, reinterpret_cast<const std::uint16_t*>(arc.data()), &tolerance, nullptr), 0);
  // Chords of 2 acos(1 - 10 / 10000) = 5.12 degrees: 18 of them over 90 degrees.
  EXPECT_EQ(count, 19);
  EXPECT_EQ(size, 8192);  // lowered from 20000 and kept
  EXPECT_EQ(out[0], 10000);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2 * 18], 0);
  EXPECT_EQ(out[2 * 18 + 1], 10000);
  for (int i = 0; i + 1 < count; ++i) {
    const double mx = (out[2 * i] + out[2 * i + 2]) / 2.0, my = (out[2 * i + 1] + out[2 * i + 3]) / 2.0;
    EXPECT_LE(10000 - std::hypot(mx, my), tolerance + 1);
  }
  // Fewer bytes than the stroke needs: refused, nothing copied.
  size = 64;
  EXPECT_EQ(stroke_element(out.data(), &size, &count, reinterpret_cast<const std::uint16_t*>(arc.data()), &tolerance, nullptr), 972);
  EXPECT_EQ(count, 0);

  std::vector<Memory> parts;
  std::uint32_t at = 1536 + 2 * (word(arc, 2) - 4 + 2);  // a 2-D arc grows by 4 words
  for (int i = 0; i < 2; ++i) {
    parts.push_back(read_through_host(at));
    const int type = (word(parts.back(), 0) >> 8) & 0x7F;
    at += 2 * (word(parts.back(), 2) - (type == 27 || type == 21 ? 3 : 2) + 2);
  }
  const std::uint16_t* pointers[] = {reinterpret_cast<const std::uint16_t*>(parts[0].data()),
                                     reinterpret_cast<const std::uint16_t*>(parts[1].data())};
  const std::int16_t two = 2;
  size = 11120;
  const double fine = 0.5;
  ASSERT_EQ(stroke_bspline(out.data(), &size, &count, pointers, &two, &fine, nullptr), 0);
  EXPECT_GT(count, 10);
  EXPECT_EQ(size, count * 8);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[2 * count - 1], 1000);
  std::int32_t small = 40;
  EXPECT_EQ(stroke_bspline(out.data(), &small, &count, pointers, &two, &fine, nullptr), 972);
  EXPECT_EQ(count, 0);  // the host refuses what does not fit; nothing is copied
}

TEST_F(OperationsTest, TextInquiryGivesBackWhatWasPlaced) {
  open("line level=1 : 0 0 1 1\n");
  const TextParameters text{600, 900, 3, 5, 2, 0};
  const std::int32_t origin[] = {1500, -2500};
  const double angle = 45;
  const std::int16_t level = 9;
  std::int32_t block = -1, size = 512;
  std::int16_t byte = -1, status = -1;
  Memory m(512);
  ASSERT_EQ(txdfpi_ex(kMode, &angle, &level, &text, nullptr, origin, &status, "Hello", nullptr, nullptr, &block, &byte,
                      nullptr, nullptr, m.data(), &size), 0);
  double rotation = 0;
  std::int16_t level_back = 0;
  TextParameters parameters{};
  std::int32_t origin_back[2] = {};
  char characters[300];
  ASSERT_EQ(textchar(reinterpret_cast<const std::uint16_t*>(m.data()), nullptr, &rotation, &level_back, &parameters,
                     nullptr, origin_back, characters, &status), 0);
  EXPECT_NEAR(rotation, 45, 1e-5);
  EXPECT_EQ(level_back, 9);
  EXPECT_EQ(parameters.width, 600);
  EXPECT_EQ(parameters.height, 900);
  EXPECT_EQ(parameters.font, 3);
  EXPECT_EQ(parameters.character_count, 5);
  EXPECT_EQ(parameters.justification, 2);
  EXPECT_EQ(origin_back[0], 1500);
  EXPECT_EQ(origin_back[1], -2500);
  EXPECT_STREQ(characters, "Hello");
}

TEST_F(OperationsTest, ThreeDimensionalTextKeepsItsMatrixAndOrigin) {
  open("dimension 3\nline level=1 : 0 0 0 1 1 1\n");
  const TextParameters text{600, 900, 1, 2, 7, 0};
  const std::int32_t origin[] = {1500, -2500, 700};
  // Stood up: a quarter turn about x, so the text's height runs along z.
  const double upright[9] = {1, 0, 0, 0, 0, -1, 0, 1, 0};
  const std::int16_t level = 9;
  std::int16_t status = -1;
  ASSERT_EQ(txdfp3(kMode, &level, &text, nullptr, origin, &status, "AB", nullptr, upright), 0);
  // A 2-D text operation still refuses the file.
  const double angle = 0;
  EXPECT_EQ(txdfpi(kMode, &angle, &level, &text, nullptr, origin, &status, "AB", nullptr), 917);
  // A matrix that is no rotation places nothing.
  const double broken[9] = {std::nan(""), 0, 0, 0, 1, 0, 0, 0, 1};
  EXPECT_EQ(txdfp3(kMode, &level, &text, nullptr, origin, &status, "AB", nullptr, broken), 934);
  const double stretched[9] = {2, 0, 0, 0, 1, 0, 0, 0, 1};
  EXPECT_EQ(txdfp3(kMode, &level, &text, nullptr, origin, &status, "AB", nullptr, stretched), 934);
  close();
  std::vector<Memory> texts;
  for (const auto& [position, m] : scan_file(path_))
    if (word(m, 0) >> 8 == 17) texts.push_back(m);
  ASSERT_EQ(texts.size(), 1u);
  const Memory& m = texts[0];
  EXPECT_EQ(long_at(m, 44), 100000);  // multipliers: UOR x 1000 / 6
  EXPECT_EQ(long_at(m, 48), 150000);
  const std::int32_t half = 1518500250;  // sqrt(0.5) of 2^31 - 1
  EXPECT_NEAR(long_at(m, 52), half, 2);
  EXPECT_NEAR(long_at(m, 56), half, 2);
  EXPECT_EQ(long_at(m, 60), 0);
  EXPECT_EQ(long_at(m, 64), 0);
  EXPECT_EQ(long_at(m, 68), 1500);
  EXPECT_EQ(long_at(m, 72), -2500);
  EXPECT_EQ(long_at(m, 76), 700);

  // The inquiry gives the matrix and all three origin values back.
  open("dimension 3\n");
  double matrix[9] = {};
  std::int32_t origin_back[3] = {};
  char characters[8];
  ASSERT_EQ(textchar(reinterpret_cast<const std::uint16_t*>(m.data()), nullptr, matrix, nullptr, nullptr, nullptr,
                     origin_back, characters, &status), 0);
  for (std::size_t i = 0; i < 9; ++i) EXPECT_NEAR(matrix[i], upright[i], 1e-6) << i;
  EXPECT_EQ(origin_back[2], 700);
  EXPECT_STREQ(characters, "AB");
}

TEST_F(OperationsTest, ThreeDimensionalTextIsRefusedInATwoDimensionalFile) {
  open("line level=1 : 0 0 1 1\n");
  const TextParameters text{600, 900, 1, 2, 7, 0};
  const std::int32_t origin[] = {0, 0, 0};
  std::int16_t status = -1;
  EXPECT_EQ(txdfp3(kMode, nullptr, &text, nullptr, origin, &status, "AB", nullptr, nullptr), 918);
  EXPECT_EQ(status, 918);
  close();
  for (const auto& [position, m] : scan_file(path_)) EXPECT_NE(word(m, 0) >> 8, 17);
}

TEST_F(OperationsTest, GraphicGroupsKeepTheNextNumber) {
  open("line level=1 : 0 0 1 1\n");
  std::int16_t next = 0, status = 0;
  const std::int16_t max_words = 1;
  ASSERT_EQ(rdtcbasc("GRAFIC", &max_words, &next, &status), 0);
  const std::int16_t set[] = {3, 40};
  ASSERT_EQ(ggdfpi(set, &status), 0);
  ASSERT_EQ(rdtcbasc("GRAFIC", &max_words, &next, &status), 0);
  EXPECT_EQ(next, 40);
  // A placement in group 57 moves the next number past it.
  const std::int16_t mode[] = {1, 57}, level = 1;
  const std::int32_t v[] = {0, 0, 1, 1};
  ASSERT_EQ(lndfpi(mode, &level, nullptr, v, &status, nullptr), 0);
  ASSERT_EQ(rdtcbasc("GRAFIC", &max_words, &next, &status), 0);
  EXPECT_EQ(next, 58);
}

TEST_F(OperationsTest, AHostKilledMidRunLeavesEveryAcknowledgedElement) {
  open("line level=1 : 0 0 1 1\n");
  const auto host = static_cast<pid_t>(wire::load<std::int32_t>(connection::tcb_bytes(), tcb::kHostProcessId));
  ASSERT_GT(host, 0);
  std::atomic<bool> go{false};
  std::thread killer([&] {
    while (!go.load()) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(host, SIGKILL);
  });
  std::vector<std::uint32_t> acknowledged;
  const std::int16_t two = 2, level = 5;
  go = true;
  for (std::int32_t i = 0; i < 2000000; ++i) {
    const std::int32_t v[] = {i, -i, i + 1, -i - 1};
    std::int32_t block = -1;
    std::int16_t byte = -1, status = 0;
    if (lsdfpi_ex(kMode, &level, nullptr, v, &two, &status, nullptr, nullptr, &block, &byte, nullptr, nullptr, nullptr, nullptr) != 0)
      break;
    acknowledged.push_back(static_cast<std::uint32_t>(block * 512 + byte));
  }
  killer.join();
  ASSERT_GT(acknowledged.size(), 100u);
  dedfpi(nullptr);

  const auto dump = testing::run_program("dgntool", {"dump", path_}, dir_.path());
  EXPECT_EQ(dump.exit_status, 0);
  const auto found = scan_file(path_);
  for (std::size_t i = 0; i < acknowledged.size(); ++i) {
    ASSERT_TRUE(found.count(acknowledged[i])) << i;
    const Memory& m = found.at(acknowledged[i]);
    ASSERT_EQ(long_at(m, 44), static_cast<std::int32_t>(i));
    ASSERT_EQ(long_at(m, 48), -static_cast<std::int32_t>(i));
  }
}

}  // namespace
}  // namespace vornel
