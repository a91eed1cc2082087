// Element list files: opening and finding, selection by type list 0,
// element references, and damaged list files.

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <random>

#include "client/listfile/element_list.hpp"
#include "client/reader/design_reader.hpp"
#include "client/reader/tests/design_fixture.hpp"
#include "client/records/element_words.hpp"
#include "tools/dgnmake/list_file_builder.hpp"

namespace vornel::client {
namespace {

using testing::DesignFixture;

constexpr const char* kDesign = R"(
line level=7 : 0 0 100 100
linestring level=8 : 0 0 10 0 10 10
)";

// A design fixture with a list file beside it; `list` may use DESIGN for
// the design file's path and B0/W0... for the elements' block and byte.
class ListFixture {
 public:
  explicit ListFixture(std::string list) : design_(kDesign) {
    replace(list, "DESIGN", design_.path());
    for (std::size_t i = 0; i < 2; ++i) {
      replace(list, "B" + std::to_string(i), std::to_string(design_.offset(i) / 512));
      replace(list, "Y" + std::to_string(i), std::to_string(design_.offset(i) % 512));
    }
    path_ = (design_.dir() / "list.ulf").string();
    write(dgnmake::make_list_file(list));
  }
  void write(const std::vector<std::uint8_t>& bytes) {
    bytes_ = bytes;
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  const std::string& path() const { return path_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  DesignFixture& design() { return design_; }

 private:
  static void replace(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
  }
  DesignFixture design_;
  std::string path_;
  std::vector<std::uint8_t> bytes_;
};

struct Record {
  std::int16_t status = -1;
  std::array<std::uint8_t, 1100> bytes{};
  int type() const { return (get_word(bytes.data(), 0) >> 8) & 0x7F; }
};

Record get(std::int16_t id, std::int32_t max_bytes = 1024) {
  Record r;
  std::int16_t status = -1;
  r.status = io_ulfget(&id, &max_bytes, r.bytes.data(), &status);
  EXPECT_EQ(status, r.status);
  return r;
}

class ElementList : public ::testing::Test {
 protected:
  void TearDown() override {
    for (std::int16_t id = 0; id < 3; ++id) {
      std::int16_t status = 0;
      io_ulfcls(&id, &status);
    }
    reset_design_reader();
  }
  std::int16_t open(const std::string& name, std::int16_t* status = nullptr) {
    std::int16_t id = -1;
    std::int16_t s = -1;
    io_ulfopr(&id, name.c_str(), &s);
    if (status != nullptr) *status = s;
    return id;
  }
};

TEST_F(ElementList, TypeListZeroSelectsThroughItsPointer) {
  ListFixture f("file 1 DESIGN\nelement 1 B0 Y0\nfile 2 other.dgn\nelement 1 B1 Y1\nend\n");
  std::int16_t status = -1;
  const std::int16_t id = open(f.path(), &status);
  ASSERT_EQ(status, kUlfOk);
  std::uint8_t wanted = kUlfFileSpecification;
  const std::int16_t selector = 0, count = 1;
  ASSERT_EQ(io_ulfcri(&id, &selector, &count, &wanted, &status), kUlfOk);
  const Record spec = get(id, 72);
  ASSERT_EQ(spec.status, kUlfOk);
  EXPECT_EQ(spec.type(), kUlfFileSpecification);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(spec.bytes.data() + 8)), f.design().path());
  wanted = kUlfElementReference;  // changes the selection from now on
  EXPECT_EQ(get(id).type(), kUlfElementReference);
  const Record second = get(id);
  EXPECT_EQ(second.type(), kUlfElementReference);
  EXPECT_EQ(get_word(second.bytes.data(), 10), f.design().offset(1) % 512);
  EXPECT_EQ(get(id).status, kUlfEndOfList);
  EXPECT_EQ(get(id).status, kUlfEndOfList);
}

TEST_F(ElementList, EmptyTypeListPassesEveryRecordAndCutsLongOnes) {
  ListFixture f("file 1 DESIGN\nelement 1 B0 Y0\nend\n");
  const std::int16_t id = open(f.path());
  EXPECT_EQ(get(id).type(), 1);  // the header
  const Record cut = get(id, 6);
  EXPECT_EQ(cut.status, kUlfTruncated);
  EXPECT_EQ(cut.type(), kUlfFileSpecification);
  EXPECT_EQ(cut.bytes[6], 0);  // nothing beyond the 6 bytes
  EXPECT_EQ(get(id).type(), kUlfElementReference);
}

TEST_F(ElementList, RecordsThatDoNotFitEndTheList) {
  struct Case {
    const char* name;
    const char* list;
  };
  const Case cases[] = {
      {"record of 1026 bytes", "raw 5 511\n"},
      {"size beyond the end of the file", "raw 5 40 1 0 3 0\n"},
      {"end record", "end\nelement 1 3 0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListFixture f(std::string("element 1 3 0\n") + c.list + std::string(2000, ' ') + "\n");
    const std::int16_t id = open(f.path());
    EXPECT_EQ(get(id).type(), 1);
    EXPECT_EQ(get(id).status, kUlfOk);
    EXPECT_EQ(get(id).status, kUlfEndOfList);
    EXPECT_EQ(get(id).status, kUlfEndOfList);  // the position did not move
    std::int16_t status = -1;
    std::int16_t closing = id;
    io_ulfcls(&closing, &status);
  }
}

TEST_F(ElementList, ReferencesFetchTheirElements) {
  ListFixture f(
      "file 9 /nonexistent/gone.dgn\nfile 1 DESIGN\nelement 1 B1 Y1\nelement 7 B0 Y0\n"
      "element 9 B0 Y0\nelement 1 0 2\nend\n");
  const std::int16_t id = open(f.path());
  get(id);  // header
  get(id);
  get(id);
  const Record reference = get(id);
  ASSERT_EQ(reference.type(), kUlfElementReference);

  std::array<std::uint16_t, 200> element{};
  const std::int32_t max_words = 200;
  std::int16_t status = -1;
  EXPECT_EQ(io_ulfgte(&id, reference.bytes.data(), &max_words, element.data(), &status), kUlfOk);
  EXPECT_EQ(element[0], (4 << 8) | 8);  // the line string on level 8
  EXPECT_EQ(element[20], 3);            // vertex count, memory form

  struct Case {
    const char* name;
    std::int16_t status;
    std::int16_t result;
  };
  const Case cases[] = {
      {"no file specification with identifier 7", kUlfNoReference, kUlfNoReference},
      {"design file missing", kUlfReadError, -ENOENT},
      {"position inside the header element", kUlfReadError, kReqeleInvalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Record next = get(id);
    element.fill(0xEEEE);
    EXPECT_EQ(io_ulfgte(&id, next.bytes.data(), &max_words, element.data(), &status), c.result);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(element[0], 0xEEEE);
  }
  // A record that is not an element reference.
  std::array<std::uint8_t, 12> not_a_reference{};
  put_word(not_a_reference.data(), 0, kUlfFileSpecification << 8);
  EXPECT_EQ(io_ulfgte(&id, not_a_reference.data(), &max_words, element.data(), &status), kUlfNoReference);
}

TEST_F(ElementList, SlotsIdentifiersAndSelectors) {
  ListFixture f("end\n");
  std::int16_t status = -1;
  const std::int16_t a = open(f.path()), b = open(f.path()), c = open(f.path());
  EXPECT_EQ((std::array<std::int16_t, 3>{a, b, c}), (std::array<std::int16_t, 3>{0, 1, 2}));
  std::int16_t fourth = -1;
  EXPECT_EQ(io_ulfopr(&fourth, f.path().c_str(), &status), kUlfNoFreeSlot);
  EXPECT_EQ(io_ulfcls(&b, &status), kUlfOk);
  EXPECT_EQ(open(f.path()), 1);

  const std::int16_t bad_ids[] = {-1, 3, 100};
  for (std::int16_t id : bad_ids) {
    std::int32_t max = 10;
    std::uint8_t byte = 0;
    const std::int16_t zero = 0, one = 1;
    EXPECT_EQ(io_ulfget(&id, &max, &byte, &status), kUlfBadFileId);
    EXPECT_EQ(io_ulfcri(&id, &zero, &one, &byte, &status), kUlfBadFileId);
    EXPECT_EQ(io_ulfcls(&id, &status), kUlfBadFileId);
  }
  const std::int16_t closed = 2;
  EXPECT_EQ(io_ulfcls(&closed, &status), kUlfOk);
  EXPECT_EQ(io_ulfcls(&closed, &status), kUlfBadFileId);
  std::int32_t max = 10;
  std::uint8_t byte = 0;
  EXPECT_EQ(io_ulfget(&closed, &max, &byte, &status), kUlfBadFileId);
  const std::int16_t three = 3, one = 1;
  EXPECT_EQ(io_ulfcri(&a, &three, &one, &byte, &status), kUlfBadSelector);
}

TEST_F(ElementList, FinderCompletesTheNameAndSearchesMsDef) {
  ListFixture f("end\n");
  const auto dir = f.design().dir();
  const std::string saved = std::getenv("MS_DEF") ? std::getenv("MS_DEF") : "";
  ::setenv("MS_DEF", ("/nonexistent; " + dir.string()).c_str(), 1);
  std::int16_t status = -1;
  const std::int16_t id = open("list", &status);  // found as DIR/list.ulf
  EXPECT_EQ(status, kUlfOk);
  EXPECT_EQ(get(id).type(), 1);
  open("missing", &status);
  EXPECT_EQ(status, -ENOENT);
  ::setenv("MS_DEF", saved.c_str(), 1);
}

// Damaged list files: every read ends, stays within its buffers (the
// sanitizer build checks) and returns one of the named statuses.
TEST_F(ElementList, MutatedListFilesNeverCrashOrHang) {
  ListFixture f("file 1 DESIGN\nelement 1 B0 Y0\nelement 1 B1 Y1\nraw 5 4 1 0 3 7\nend\n");
  const std::vector<std::uint8_t> original = f.bytes();
  std::mt19937 random(1211);
  for (int round = 0; round < 2000; ++round) {
    auto bytes = original;
    for (int e = 0, edits = 1 + static_cast<int>(random() % 4); e < edits && !bytes.empty(); ++e) {
      const std::size_t at = random() % bytes.size();
      switch (random() % 3) {
        case 0: bytes[at] = static_cast<std::uint8_t>(random()); break;
        case 1: bytes[at] ^= static_cast<std::uint8_t>(1U << (random() % 8)); break;
        case 2: bytes.resize(at); break;
      }
    }
    f.write(bytes);
    std::int16_t status = -1;
    std::int16_t id = -1;
    ASSERT_EQ(io_ulfopr(&id, f.path().c_str(), &status), kUlfOk);
    const std::size_t limit = bytes.size() / 4 + 2;
    std::size_t reads = 0;
    for (;; ++reads) {
      ASSERT_LE(reads, limit) << "round " << round;
      const Record r = get(id, static_cast<std::int32_t>(random() % 80));
      if (r.status != kUlfOk && r.status != kUlfTruncated) {
        EXPECT_EQ(r.status, kUlfEndOfList);
        break;
      }
      std::array<std::uint16_t, 100> element{};
      const std::int32_t max_words = static_cast<std::int32_t>(random() % 100);
      std::int16_t s = -1;
      io_ulfgte(&id, r.bytes.data(), &max_words, element.data(), &s);
      EXPECT_TRUE(s == kUlfOk || s == kUlfReadError || s == kUlfNoReference) << s;
    }
    io_ulfcls(&id, &status);
  }
}

}  // namespace
}  // namespace vornel::client
