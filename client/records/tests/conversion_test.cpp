// File form <-> memory form for every element type the system handles.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "client/records/convert_element.hpp"
#include "client/records/dgn_size.hpp"
#include "client/records/element_words.hpp"
#include "client/records/vax_double.hpp"

namespace vornel::client {
namespace {

enum class F { word, longs, doubles };

// `count` values of one kind at a file offset and the memory offset where the
// conversion must put them.
struct Field {
  F kind;
  std::uint16_t file;
  std::uint16_t memory;
  std::uint16_t count = 1;
  std::uint16_t value = 0;  // words: fixed value instead of a generated one
};

struct Case {
  std::string name;
  int type;
  Dimension dimension;
  std::vector<Field> fields;
  std::uint16_t file_rest;    // where the linkages start in the file form
  std::uint16_t memory_rest;  // and in the memory form
};

constexpr std::uint16_t kSymbology = 0x0A1B;

// Builds the file record and the memory record the tables demand.
struct Pair {
  std::vector<std::uint8_t> file;
  std::vector<std::uint8_t> memory;
};

Pair build(const Case& c) {
  const std::size_t file_size = c.file_rest + 8u;  // one 4-word database linkage
  const std::size_t memory_size = c.memory_rest + 8u;
  Pair p{std::vector<std::uint8_t>(file_size, 0), std::vector<std::uint8_t>(memory_size, 0)};
  auto* f = p.file.data();
  auto* m = p.memory.data();
  const auto first = static_cast<std::uint16_t>((c.type << 8) | 17);
  put_word(f, 0, first);
  put_word(m, 0, first);
  put_word(f, 2, static_cast<std::uint16_t>(file_size / 2 - 2));
  put_word(m, 2, static_cast<std::uint16_t>(memory_size / 2 - 2));
  for (std::size_t i = 0; i < 6; ++i) {  // range copied as stored
    put_file_long(f, 4 + 4 * i, 0x80001000U + static_cast<std::uint32_t>(i));
    put_file_long(m, 4 + 4 * i, 0x80001000U + static_cast<std::uint32_t>(i));
  }
  put_word(f, 28, 77);
  put_word(m, 28, 77);
  put_word(f, 30, static_cast<std::uint16_t>(c.file_rest / 2 - 16));
  put_word(m, 30, static_cast<std::uint16_t>(c.memory_rest / 2 - 16));
  put_word(f, 32, 0x0803);
  put_word(m, 32, 0x0803);
  put_word(f, 34, kSymbology);
  put_word(m, 36, kSymbology);
  int serial = 1;
  for (const Field& field : c.fields) {
    for (std::size_t k = 0; k < field.count; ++k, ++serial) {
      switch (field.kind) {
        case F::word: {
          const auto v = field.value ? field.value : static_cast<std::uint16_t>(0x1100 + serial);
          put_word(f, field.file + 2 * k, v);
          put_word(m, field.memory + 2 * k, v);
          break;
        }
        case F::longs: {
          const auto v = static_cast<std::uint32_t>(0x00020003 * serial) ^ 0x80000000U;
          put_file_long(f, field.file + 4 * k, v);
          put_long(m, field.memory + 4 * k, v);
          break;
        }
        case F::doubles: {
          const double v = 1024.25 * serial - 3.5;
          ieee_to_vax(v, std::span<std::uint8_t, 8>(f + field.file + 8 * k, 8));
          std::memcpy(m + field.memory + 8 * k, &v, 8);
          break;
        }
      }
    }
  }
  // Knot and weight bodies are word-swapped to the end, linkages included.
  const bool swapped_tail = c.type == 26 || c.type == 28;
  const std::uint16_t link[] = {0x0000, 12, 0x5678, 0x0001};
  for (std::size_t k = 0; k < 4; ++k) {
    put_word(f, c.file_rest + 2 * k, link[k]);
    put_word(m, c.memory_rest + 2 * (swapped_tail ? k ^ 1 : k), link[k]);
  }
  return p;
}

constexpr auto D2 = Dimension::two;
constexpr auto D3 = Dimension::three;

std::vector<Case> cases() {
  std::vector<Case> all = {
      {"line 2D", 3, D2, {{F::longs, 36, 40, 4}}, 52, 56},
      {"line 3D", 3, D3, {{F::longs, 36, 40, 6}}, 60, 64},
      {"text node 2D", 7, D2, {{F::word, 36, 40, 5}, {F::longs, 46, 52, 6}}, 70, 76},
      {"text node 3D", 7, D3, {{F::word, 36, 40, 5}, {F::longs, 46, 52, 10}}, 86, 92},
      {"complex chain", 12, D2, {{F::word, 36, 40, 2}}, 40, 44},
      {"complex shape 3D", 14, D3, {{F::word, 36, 40, 2}}, 40, 44},
      {"ellipse 2D", 15, D2,
       {{F::doubles, 36, 40, 2}, {F::longs, 52, 56}, {F::doubles, 56, 64, 2}}, 72, 80},
      {"ellipse 3D", 15, D3,
       {{F::doubles, 36, 40, 2}, {F::longs, 52, 56, 4}, {F::doubles, 68, 72, 3}}, 92, 96},
      {"arc 2D", 16, D2,
       {{F::longs, 36, 40, 2}, {F::doubles, 44, 48, 2}, {F::longs, 60, 64},
        {F::doubles, 64, 72, 2}}, 80, 88},
      {"arc 3D", 16, D3,
       {{F::longs, 36, 40, 2}, {F::doubles, 44, 48, 2}, {F::longs, 60, 64, 4},
        {F::doubles, 76, 80, 3}}, 100, 104},
      {"text 2D", 17, D2, {{F::word, 36, 40}, {F::longs, 38, 44, 5}, {F::word, 58, 64, 3}},
       64, 70},
      {"text 3D", 17, D3, {{F::word, 36, 40}, {F::longs, 38, 44, 9}, {F::word, 74, 80, 3}},
       80, 86},
      {"bspline knots", 26, D2, {{F::longs, 36, 40, 5}, {F::longs, 56, 60, 2}}, 64, 68},
      {"bspline weights 3D", 28, D3, {{F::longs, 36, 40, 3}}, 48, 52},
      {"bspline header", 27, D2, {{F::longs, 36, 40}, {F::word, 40, 44, 3}}, 46, 52},
      {"cell 2D", 2, D2, {{F::word, 36, 40}, {F::word, 38, 44, 7}, {F::longs, 52, 60, 10}},
       92, 100},
      {"cell 3D", 2, D3, {{F::word, 36, 40}, {F::word, 38, 44, 7}, {F::longs, 52, 60, 18}},
       124, 132},
      {"group data", 5, D2, {{F::word, 34, 34, 4}}, 42, 42},
      {"design header", 9, D3, {{F::word, 34, 34, 4}}, 42, 42},
      {"application element", 66, D2, {{F::word, 34, 34, 4}}, 42, 42},
  };
  // Vertex elements: count word, a zero word in memory, the vertices.
  for (int type : {4, 6, 11, 21}) {
    all.push_back({"vertices 2D type " + std::to_string(type), type, D2,
                   {{F::word, 36, 40, 1, 3}, {F::longs, 38, 44, 6}}, 62, 68});
    all.push_back({"vertices 3D type " + std::to_string(type), type, D3,
                   {{F::word, 36, 40, 1, 2}, {F::longs, 38, 44, 6}}, 62, 68});
  }
  return all;
}

// The unchanged types have no symbology move; fix up the builder's output.
void undo_header_move(const Case& c, Pair& p) {
  if (c.type == 5 || c.type == 9 || c.type == 66) {
    p.memory = p.file;
  }
}

TEST(Conversion, EveryTypeConvertsBothWaysByTheTables) {
  for (const Case& c : cases()) {
    Pair p = build(c);
    undo_header_move(c, p);
    std::vector<std::uint8_t> memory(p.memory.size() + 16, 0xEE);
    const std::size_t memory_size = file_to_memory(p.file, memory, c.dimension);
    EXPECT_EQ(memory_size, p.memory.size()) << c.name;
    memory.resize(memory_size);
    EXPECT_EQ(memory, p.memory) << c.name;

    std::vector<std::uint8_t> file(p.file.size(), 0xEE);
    EXPECT_EQ(memory_to_file(p.memory, file, c.dimension), p.file.size()) << c.name;
    EXPECT_EQ(file, p.file) << c.name;
  }
}

TEST(Conversion, TwoDimensionalLineFacts) {
  Pair p = build(cases()[0]);
  p.file.resize(52);  // no linkage
  put_word(p.file.data(), 2, 24);
  std::vector<std::uint8_t> memory(64);
  file_to_memory(p.file, memory, D2);
  EXPECT_EQ(get_word(memory.data(), 2), 26);
  EXPECT_EQ(get_long(memory.data(), 48), get_file_long(p.file.data(), 44));  // end point x
  std::vector<std::uint16_t> words(32);
  std::memcpy(words.data(), memory.data(), 64);
  const std::int16_t two_d = 0;
  EXPECT_EQ(dgn_size(words.data(), &two_d), 26);
}

TEST(Conversion, ArcGrowthGivesNextElementPosition) {
  for (const auto& [index, dim_code] : {std::pair{8, std::int16_t{0}}, {9, std::int16_t{1}}}) {
    const Case arc = cases()[static_cast<std::size_t>(index)];
    Pair p = build(arc);
    std::vector<std::uint8_t> memory(p.memory.size());
    file_to_memory(p.file, memory, arc.dimension);
    std::vector<std::uint16_t> words(memory.size() / 2);
    std::memcpy(words.data(), memory.data(), memory.size());
    const int wtf = words[1];
    const int next = 2 * dgn_size(words.data(), &dim_code);
    EXPECT_EQ(next, dim_code == 0 ? 2 * wtf - 4 : 2 * wtf) << arc.name;
    EXPECT_EQ(static_cast<std::size_t>(next), p.file.size()) << arc.name;
  }
}

TEST(Conversion, DeletedComplexHeaderKeepsItsWordsToFollow) {
  std::vector<std::uint8_t> file(48, 0);
  put_word(file.data(), 0, 0x8000 | (12 << 8) | 3);
  put_word(file.data(), 2, 22);
  put_word(file.data(), 30, 6);
  put_word(file.data(), 34, kSymbology);
  put_word(file.data(), 36, 0x1234);
  std::vector<std::uint8_t> memory(48, 0xEE);
  EXPECT_EQ(file_to_memory(file, memory, D2), 48U);
  EXPECT_EQ(get_word(memory.data(), 2), 22);
  EXPECT_EQ(get_word(memory.data(), 30), 6);
  EXPECT_EQ(get_word(memory.data(), 34), 0);
  EXPECT_EQ(get_word(memory.data(), 36), kSymbology);
  EXPECT_EQ(get_word(memory.data(), 40), 0x1234);
  std::vector<std::uint16_t> words(24);
  std::memcpy(words.data(), memory.data(), 48);
  const std::int16_t two_d = 0;
  EXPECT_EQ(dgn_size(words.data(), &two_d), 24);
}

TEST(Conversion, ShortAndLyingRecordsStayInsideTheirBuffers) {
  // A line string claiming 60000 vertices in a 40-byte buffer, and a record
  // whose words-to-follow runs far past the bytes given.
  std::vector<std::uint8_t> file(40, 0);
  put_word(file.data(), 0, (4 << 8) | 1);
  put_word(file.data(), 2, 700);
  put_word(file.data(), 36, 60000);
  std::vector<std::uint8_t> memory(100, 0xEE);
  const std::size_t size = file_to_memory(file, memory, D3);
  EXPECT_EQ(size, (700u + 3 + 2) * 2);
  EXPECT_EQ(get_word(memory.data(), 40), 60000);
  for (std::size_t i = 44; i < memory.size(); ++i) EXPECT_EQ(memory[i], 0) << i;

  // Too short to hold even a header.
  const std::vector<std::uint8_t> tiny = {0x01};
  std::vector<std::uint8_t> out(8, 0xEE);
  EXPECT_EQ(file_to_memory(tiny, out, D2), 4U);
}

TEST(Conversion, OversizeRecordTakesAtMost1536Bytes) {
  std::vector<std::uint8_t> file(2000, 0x11);
  put_word(file.data(), 0, (66 << 8) | 1);
  put_word(file.data(), 2, 900);
  std::vector<std::uint8_t> memory(2000, 0xEE);
  EXPECT_EQ(file_to_memory(file, memory, D2), (900u + 2) * 2);
  EXPECT_EQ(memory[1535], 0x11);
  EXPECT_EQ(memory[1536], 0);
}

}  // namespace
}  // namespace vornel::client
