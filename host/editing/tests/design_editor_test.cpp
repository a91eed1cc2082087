// The editor on real files built by the fixture builder: appends before the
// end mark, complex assembly, reads, rewrites and deletes in place, and the
// statuses of bad positions and sizes.

#include "client/records/element_words.hpp"
#include "host/editing/design_editor.h"
#include "host/editing/edit_status.h"
#include "tools/dgnmake/description_parser.hpp"
#include "tools/dgnmake/design_file_builder.hpp"
#include "tools/dgnmake/element_encoder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vornel::host::editing {
namespace {

using client::Dimension;

class EditorFile : public ::testing::Test {
 protected:
  void TearDown() override {
    if (fd_ >= 0) ::close(fd_);
    std::filesystem::remove(path_);
  }
  // Writes the described file and binds an editor to it.
  void open(const std::string& description) {
    const auto bytes = dgnmake::make_design_file(description);
    path_ = (std::filesystem::temp_directory_path() / ("editor_" + std::to_string(::getpid()) + ".dgn")).string();
    std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    fd_ = ::open(path_.c_str(), O_RDWR);
    dimension_ = dgnmake::parse_design_description(description).dimension;
    ASSERT_EQ(editor_.bind(fd_, dimension_), 0);
  }
  std::vector<std::uint8_t> file_bytes() {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::uint16_t word_at(std::uint32_t position) { return client::get_word(file_bytes().data(), position); }

  std::string path_;
  int fd_ = -1;
  Dimension dimension_ = Dimension::two;
  DesignEditor editor_;
};

Placement level(int n) {
  Placement p;
  p.level = n;
  return p;
}

TEST_F(EditorFile, AppendsBeforeTheEndMarkAndReadsBackTheMemoryForm) {
  open("line level=1 : 0 0 10 10\n");
  const std::uint32_t end = editor_.store().end();
  std::uint32_t position = 0;
  std::vector<std::uint8_t> memory;
  ASSERT_EQ(editor_.place(build_line(level(9), {1, 2, 0}, {3, 4, 0}, Dimension::two), position, &memory), 0);
  EXPECT_EQ(position, end);
  EXPECT_EQ(editor_.store().end(), end + 52);
  EXPECT_EQ(word_at(end + 52), 0xFFFF);
  EXPECT_EQ(file_bytes().size() % 512, 0u);
  editor_.finish();  // the room reserved ahead goes; whole blocks stay
  EXPECT_EQ(file_bytes().size(), 2048u);

  std::vector<std::uint8_t> back;
  ASSERT_EQ(editor_.read(position, back), 0);
  EXPECT_EQ(back, memory);
  EXPECT_EQ(client::get_word(back.data(), 2), 26);  // memory words-to-follow of a 2-D line
  EXPECT_EQ(client::get_long(back.data(), 48), 3u);

  // A second editor on the same file finds the same end.
  DesignEditor again;
  ASSERT_EQ(again.bind(fd_, Dimension::two), 0);
  EXPECT_EQ(again.store().end(), editor_.store().end());
  EXPECT_EQ(again.store().element_count(), 3u);
}

TEST_F(EditorFile, ComplexChainMatchesTheFixtureBuilder) {
  open("dimension 3\nline level=1 : 0 0 0 1 1 1\n");
  const std::uint32_t start = editor_.store().end();
  Placement header = level(0);
  header.linkages = {0x0000, 12, 345, 0};
  ASSERT_EQ(editor_.open_complex(header), 0);
  std::uint32_t p = 0;
  ASSERT_EQ(editor_.place(build_line(level(13), {0, 0, 0}, {500, 500, 5}, Dimension::three), p), 0);
  const Point v[] = {{500, 500, 5}, {900, 500, 5}, {900, 900, 9}};
  ASSERT_EQ(editor_.place(build_vertex_element(4, level(13), v, Dimension::three), p), 0);
  EXPECT_EQ(editor_.place(build_text(level(1), {}, Dimension::three), p), status_code::kInvalidComplexComponent);
  ASSERT_EQ(editor_.close_complex(0), 0);

  const auto d = dgnmake::parse_design_description(
      "dimension 3\ncshape level=13 link=12/345 {\n line level=13 : 0 0 0 500 500 5\n"
      " linestring level=13 : 500 500 5 900 500 5 900 900 9\n}\n");
  const auto expected = dgnmake::encode_element(d.elements.at(0), Dimension::three);
  const auto bytes = file_bytes();
  ASSERT_EQ(editor_.store().end(), start + expected.size());
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + start, bytes.begin() + start + static_cast<long>(expected.size())), expected);
}

TEST_F(EditorFile, ComplexRequestsOutOfTurn) {
  open("");
  EXPECT_EQ(editor_.close_complex(1), status_code::kEcmplxBeforeBcmplx);
  ASSERT_EQ(editor_.open_complex(level(1)), 0);
  EXPECT_EQ(editor_.open_complex(level(1)), status_code::kInvalidComplexComponent);
  EXPECT_EQ(editor_.close_complex(7), status_code::kEcmplxIllegalCode);
  // Still open; closing with nothing in it removes the header.
  const std::uint32_t header = editor_.store().end() - 40;
  EXPECT_EQ(editor_.close_complex(1), status_code::kInvalidComplexComponent);
  EXPECT_EQ(word_at(header) & 0x8000, 0x8000);
}

TEST_F(EditorFile, RewriteAndDeleteActInPlace) {
  open("linestring level=2 : 0 0 10 0 20 0\nchain level=3 {\n line level=3 : 0 0 5 5\n line level=3 : 5 5 9 9\n}\nline level=4 : 1 1 2 2\n");
  const std::uint32_t ls = 1536, chain = ls + 62;
  const std::uint32_t end = editor_.store().end();
  std::vector<std::uint8_t> memory;
  ASSERT_EQ(editor_.read(ls, memory), 0);
  client::put_long(memory.data(), 44 + 8, 77);  // second vertex x
  ASSERT_EQ(editor_.rewrite(ls, memory), 0);
  std::vector<std::uint8_t> back;
  ASSERT_EQ(editor_.read(ls, back), 0);
  EXPECT_EQ(back, memory);
  EXPECT_EQ(editor_.store().end(), end);

  // Another size is refused and nothing changes.
  std::vector<std::uint8_t> longer = memory;
  client::put_word(longer.data(), 2, static_cast<std::uint16_t>(client::get_word(longer.data(), 2) + 4));
  longer.resize(longer.size() + 8, 0);
  EXPECT_EQ(editor_.rewrite(ls, longer), status_code::kCantWriteAtPosition);
  ASSERT_EQ(editor_.read(ls, back), 0);
  EXPECT_EQ(back, memory);

  // Deleting the chain with its components.
  ASSERT_EQ(editor_.erase(chain, true), 0);
  const auto bytes = file_bytes();
  EXPECT_TRUE(client::get_word(bytes.data(), chain) & 0x8000);
  EXPECT_TRUE(client::get_word(bytes.data(), chain + 40) & 0x8000);
  EXPECT_TRUE(client::get_word(bytes.data(), chain + 92) & 0x8000);
  EXPECT_FALSE(client::get_word(bytes.data(), chain + 144) & 0x8000);
  EXPECT_EQ(editor_.store().end(), end);
}

TEST_F(EditorFile, PositionsThatHoldNoElement) {
  open("line level=1 : 0 0 10 10\n");
  const std::uint32_t end = editor_.store().end();
  const auto before = file_bytes();
  std::vector<std::uint8_t> out;
  struct Case {
    std::uint32_t position;
    int read_status;
  } cases[] = {{1537, status_code::kInvalidElement}, {1540, status_code::kInvalidElement},
               {end, status_code::kAtEndOfFile}, {900000, status_code::kAtEndOfFile}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    EXPECT_EQ(editor_.read(c.position, out), c.read_status);
    EXPECT_NE(editor_.erase(c.position, true), 0);
    EXPECT_NE(editor_.rewrite(c.position, before), 0);
  }
  EXPECT_NE(editor_.erase(0, true), 0);  // the design header stays
  EXPECT_EQ(file_bytes(), before);
}

TEST_F(EditorFile, DamagedFileIsReadButNeverWritten) {
  open("line level=1 : 0 0 10 10\nline level=1 : 0 0 10 10\n");
  // Cut the second line short: its words run past the end of the file.
  ASSERT_EQ(::ftruncate(fd_, 1536 + 52 + 20), 0);
  ASSERT_EQ(editor_.bind(fd_, Dimension::two), 0);
  std::uint32_t p = 0;
  EXPECT_EQ(editor_.place(build_line(level(1), {}, {1, 1, 0}, Dimension::two), p), status_code::kFileWrite);
  std::vector<std::uint8_t> out;
  EXPECT_EQ(editor_.read(1536, out), 0);
  EXPECT_EQ(file_bytes().size(), 1536u + 52 + 20);
}

TEST_F(EditorFile, MissingEndMarkIsAddedByTheFirstAppend) {
  open("line level=1 : 0 0 10 10\n");
  ASSERT_EQ(::ftruncate(fd_, 1536 + 52), 0);
  ASSERT_EQ(editor_.bind(fd_, Dimension::two), 0);
  std::uint32_t p = 0;
  ASSERT_EQ(editor_.place(build_line(level(1), {}, {1, 1, 0}, Dimension::two), p), 0);
  EXPECT_EQ(p, 1536u + 52);
  EXPECT_EQ(word_at(p + 52), 0xFFFF);
}

}  // namespace
}  // namespace vornel::host::editing
