// The direct reader on damaged files: every read ends with a status, stays
// inside its buffers and never loops.

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "client/reader/design_reader.hpp"
#include "client/reader/tests/design_fixture.hpp"
#include "client/records/element_words.hpp"

namespace vornel::client {
namespace {

using testing::DesignFixture;

constexpr const char* kFixture = R"(
line level=1 : 0 0 100 100
linestring level=2 link=3/4 : 0 0 10 0 10 10
arc level=3 origin=0,0 axes=10,10 start=0 sweep=90
text level=4 origin=0,0 size=10,10 : "abc"
)";

std::int16_t open_path(const std::string& path) {
  std::int16_t status = -1;
  return dfrset(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, path.c_str(),
                &status, nullptr);
}

std::int16_t read_one(std::int32_t max_words = 800) {
  std::array<std::uint16_t, 800> element{};
  std::int16_t status = -1;
  std::array<std::int32_t, 6> range{};
  ScanPosition position;
  return reqele(element.data(), &max_words, &status, nullptr, nullptr, nullptr, nullptr, nullptr,
                &position, nullptr, range.data(), nullptr);
}

// Statuses of a whole scan, stopping at the first nonzero one.
std::vector<int> scan_statuses(std::size_t limit) {
  std::vector<int> statuses;
  for (std::size_t i = 0; i < limit; ++i) {
    statuses.push_back(read_one());
    if (statuses.back() != 0) break;
  }
  return statuses;
}

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override { reset_design_reader(); }
  void TearDown() override { reset_design_reader(); }
};

TEST_F(BadInput, DamagedFilesEndTheScanAsInvalid) {
  struct Case {
    const char* name;
    int element;           // which top-level element to damage
    long words_to_follow;  // new words-to-follow, -1 keeps it
    long truncate;         // bytes to keep after the element start, -1 keeps all
    int delivered;         // elements delivered before the failing status
    int last_status;
  };
  const Case cases[] = {
      {"words-to-follow 0", 1, 0, -1, 2, kReqeleInvalid},
      {"words-to-follow 15", 1, 15, -1, 2, kReqeleInvalid},
      {"words-to-follow 781", 1, 781, -1, 2, kReqeleInvalid},
      {"words-to-follow 767", 1, 767, -1, 2, kReqeleInvalid},
      {"element runs past the end", 3, 700, 60, 4, kReqeleInvalid},
      {"file cut inside an element", 2, -1, 10, 3, kReqeleInvalid},
      {"file cut before an element", 2, -1, 0, 3, kReqeleInvalid},
      {"file cut after the first word", 2, -1, 2, 3, kReqeleInvalid},
      {"intact", 0, -1, -1, 5, kReqeleEndOfDesign},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset_design_reader();
    DesignFixture f(kFixture);
    auto& bytes = f.bytes();
    const std::uint32_t at = f.offset(static_cast<std::size_t>(c.element));
    if (c.words_to_follow >= 0) put_word(bytes.data(), at + 2, static_cast<std::uint16_t>(c.words_to_follow));
    if (c.truncate >= 0) bytes.resize(at + static_cast<std::size_t>(c.truncate));
    f.write();
    ASSERT_EQ(open_path(f.path()), 0);
    const auto statuses = scan_statuses(100);
    EXPECT_EQ(static_cast<int>(statuses.size()) - 1, c.delivered);
    EXPECT_EQ(statuses.back(), c.last_status);
    // The position stays at the bad element: reading again gives the same.
    EXPECT_EQ(read_one(), c.last_status);
  }
}

TEST_F(BadInput, DirectModeStatuses) {
  struct Case {
    const char* name;
    long words_to_follow;
    long truncate;
    std::uint16_t first_word;  // 0 keeps it
    std::int32_t max_words;
    int status;
  };
  const Case cases[] = {
      {"intact", -1, -1, 0, 800, kReqeleOk},
      {"cut by the end of the file", -1, 20, 0, 800, kReqeleCutShort},
      {"cut and too long for the buffer", -1, 20, 0, 5, kReqeleTooLong},
      {"type 0", -1, -1, 0x0001, 800, kReqeleInvalid},
      {"type 71", -1, -1, 0x4701, 800, kReqeleInvalid},
      {"memory form over 766 words", 764, -1, 0, 800, kReqeleInvalid},
      {"words-to-follow 0", 0, -1, 0, 800, kReqeleInvalid},
      {"position past the end", -1, 0, 0, 800, kReqeleInvalid},
      {"end mark", -1, -1, 0xFFFF, 800, kReqeleEndOfDesign},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset_design_reader();
    DesignFixture f(kFixture);
    auto& bytes = f.bytes();
    const std::uint32_t at = f.offset(1);
    if (c.first_word != 0) put_word(bytes.data(), at, c.first_word);
    if (c.words_to_follow >= 0) put_word(bytes.data(), at + 2, static_cast<std::uint16_t>(c.words_to_follow));
    if (c.truncate >= 0) bytes.resize(at + static_cast<std::size_t>(c.truncate));
    f.write();
    ASSERT_EQ(open_path(f.path()), 0);
    const ScanPosition start{at / 512, (at % 512) / 2};
    std::int16_t status = -1;
    dfrset(&start, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &status, nullptr);
    const std::int16_t direct = 1;
    search(&direct);
    EXPECT_EQ(read_one(c.max_words), c.status);
  }
}

// Mutated copies of the fixtures: random words, flipped bits, cut files.
// Nothing may crash, read outside a buffer (the sanitizer build checks) or
// loop: every scan ends within one read per four bytes of file.
TEST_F(BadInput, MutatedFilesNeverCrashOrHang) {
  DesignFixture two_d(kFixture);
  DesignFixture three_d(std::string("dimension 3\n") + R"(
line level=1 : 0 0 0 100 100 100
cshape level=2 {
  linestring level=2 : 0 0 0 10 0 0 10 10 0
  line level=2 : 10 10 0 0 0 0
}
ellipse level=5 origin=1,1,1 axes=3,2
bspline level=6 {
  poles : 0 0 0 1 1 1 2 0 0 3 1 1
  weights : 1 0.5 0.5 1
}
)");
  std::mt19937 random(20261211);
  DesignFixture scratch("");
  for (int round = 0; round < 3000; ++round) {
    const DesignFixture& source = round % 2 == 0 ? two_d : three_d;
    auto bytes = source.bytes();
    const int edits = 1 + static_cast<int>(random() % 6);
    for (int e = 0; e < edits; ++e) {
      // Most damage lands on the elements after the 1536-byte header.
      if (bytes.size() <= 1538) break;
      const std::size_t span = bytes.size() - 1536;
      const std::size_t at = 1536 + random() % span;
      switch (random() % 4) {
        case 0: bytes[at] = static_cast<std::uint8_t>(random()); break;
        case 1: bytes[at] ^= static_cast<std::uint8_t>(1U << (random() % 8)); break;
        case 2:
          if (at + 1 < bytes.size()) put_word(bytes.data(), at & ~std::size_t{1}, static_cast<std::uint16_t>(random()));
          break;
        case 3: bytes.resize(at); break;
      }
    }
    scratch.bytes() = bytes;
    scratch.write();
    reset_design_reader();
    if (open_path(scratch.path()) != 0) continue;
    const std::size_t limit = bytes.size() / 4 + 2;
    const auto statuses = scan_statuses(limit + 1);
    ASSERT_LE(statuses.size(), limit) << "round " << round;
    // Direct reads at arbitrary positions.
    const std::int16_t direct = 1;
    search(&direct);
    for (int k = 0; k < 4; ++k) {
      const auto offset = static_cast<std::uint32_t>(random() % (bytes.size() + 64));
      const ScanPosition p{offset / 512, (offset % 512) / 2};
      std::int16_t status = -1;
      dfrset(&p, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &status, nullptr);
      const int s = read_one(static_cast<std::int32_t>(random() % 900));
      EXPECT_TRUE(s >= 0 && s <= 5) << s;
    }
  }
}

}  // namespace
}  // namespace vornel::client
