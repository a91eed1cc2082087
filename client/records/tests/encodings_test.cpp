// Scan format, word swap, VAX D-floating and dgn_size.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "client/records/convert_element.hpp"
#include "client/records/dgn_size.hpp"
#include "client/records/element_words.hpp"
#include "client/records/scan_format.hpp"
#include "client/records/vax_double.hpp"

namespace vornel::client {
namespace {

TEST(ScanFormat, ZeroIsStoredAsWords8000Then0000) {
  std::int32_t v = 0;
  scan_fmt(&v);
  EXPECT_EQ(static_cast<std::uint32_t>(v), 0x00008000U);
  std::array<std::uint8_t, 4> stored{};
  put_long(stored.data(), 0, static_cast<std::uint32_t>(v));
  EXPECT_EQ(get_word(stored.data(), 0), 0x8000);
  EXPECT_EQ(get_word(stored.data(), 2), 0x0000);
}

TEST(ScanFormat, RoundTripsAndOrdersAsUnsignedHighWordFirst) {
  const std::int32_t values[] = {INT_MIN, -70000, -1, 0, 1, 65536, 12345678, INT_MAX};
  std::uint32_t previous_key = 0;
  bool first = true;
  for (std::int32_t value : values) {
    std::int32_t v = value;
    scan_fmt(&v);
    std::array<std::uint8_t, 4> stored{};
    put_long(stored.data(), 0, static_cast<std::uint32_t>(v));
    const std::uint32_t key = get_file_long(stored.data(), 0);  // high word first
    if (!first) {
      EXPECT_LT(previous_key, key) << value;
    }
    previous_key = key;
    first = false;
    un_scan_fmt(&v);
    EXPECT_EQ(v, value);
  }
}

TEST(SwapWord, ExchangesHalvesAndIsItsOwnInverse) {
  std::int32_t v = 0x12345678;
  swap_word(&v);
  EXPECT_EQ(static_cast<std::uint32_t>(v), 0x56781234U);
  swap_word(&v);
  EXPECT_EQ(v, 0x12345678);
}

std::array<std::uint8_t, 8> vax_words(std::uint16_t w0, std::uint16_t w1 = 0,
                                      std::uint16_t w2 = 0, std::uint16_t w3 = 0) {
  std::array<std::uint8_t, 8> b{};
  put_word(b.data(), 0, w0);
  put_word(b.data(), 2, w1);
  put_word(b.data(), 4, w2);
  put_word(b.data(), 6, w3);
  return b;
}

TEST(VaxDouble, KnownValuesConvert) {
  struct Case {
    std::array<std::uint8_t, 8> vax;
    double ieee;
  };
  const Case cases[] = {
      {vax_words(0x4080), 1.0},   {vax_words(0xC080), -1.0}, {vax_words(0x4000), 0.5},
      {vax_words(0x4100), 2.0},   {vax_words(0x4160), 3.5},  {vax_words(0x0000), 0.0},
      {vax_words(0x4A74, 0x2400), 1000000.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vax_to_ieee(c.vax), c.ieee);
    std::array<std::uint8_t, 8> back{};
    ieee_to_vax(c.ieee, back);
    EXPECT_EQ(back, c.vax) << c.ieee;
  }
  // 1.0 has the IEEE high part 0x3FF00000; a VAX zero is +0.0.
  EXPECT_EQ(std::bit_cast<std::uint64_t>(vax_to_ieee(vax_words(0x4080))) >> 32, 0x3FF00000U);
  EXPECT_FALSE(std::signbit(vax_to_ieee(vax_words(0))));
}

TEST(VaxDouble, IeeeRoundTripIsExactAndVaxLosesItsThreeLowestBits) {
  for (double value : {123456.789, -0.001, 6.02e23, 3.0e-30, 1.0 / 3.0}) {
    std::array<std::uint8_t, 8> vax{};
    ieee_to_vax(value, vax);
    EXPECT_EQ(vax_to_ieee(vax), value);
  }
  const auto dirty = vax_words(0x4080, 0x0000, 0x0000, 0x0007);  // 1.0 plus 7 low bits
  std::array<std::uint8_t, 8> back{};
  ieee_to_vax(vax_to_ieee(dirty), back);
  EXPECT_EQ(back, vax_words(0x4080));
  // Negative zero and denormals become a VAX zero without sign.
  for (double value : {-0.0, 4.9e-324}) {
    std::array<std::uint8_t, 8> vax{};
    ieee_to_vax(value, vax);
    EXPECT_EQ(vax, vax_words(0)) << value;
  }
}

TEST(VaxDouble, InPlaceFormsMatchValueForms) {
  auto bytes = vax_words(0x4160);
  convert_double(bytes);
  double v = 0;
  std::memcpy(&v, bytes.data(), 8);
  EXPECT_EQ(v, 3.5);
  unconvert_double(bytes);
  EXPECT_EQ(bytes, vax_words(0x4160));
}

// dgn_size of the memory form is the file size of every converted type.
TEST(DgnSize, MemoryFormGivesFileSize) {
  struct Case {
    int type;
    bool three_d;
    bool deleted;
  };
  const Case cases[] = {
      {2, false, false}, {2, true, false}, {3, false, false}, {3, true, false},
      {4, false, false}, {6, true, false}, {7, false, false}, {11, false, false},
      {12, false, false}, {14, true, false}, {15, false, false}, {15, true, false},
      {16, false, false}, {16, true, false}, {17, false, false}, {21, true, false},
      {26, false, false}, {27, false, false}, {28, true, false}, {5, false, false},
      {9, false, false}, {66, false, false}, {12, false, true}, {2, true, true},
      {7, false, true}, {27, false, true}, {3, false, true},
  };
  for (const Case& c : cases) {
    const std::uint16_t file_wtf = 100;
    std::vector<std::uint8_t> file((file_wtf + 2) * 2, 0);
    const auto first = static_cast<std::uint16_t>((c.type << 8) | 1 | (c.deleted ? 0x8000 : 0));
    put_word(file.data(), 0, first);
    put_word(file.data(), 2, file_wtf);
    std::vector<std::uint8_t> memory(400, 0);
    const auto dimension = c.three_d ? Dimension::three : Dimension::two;
    file_to_memory(file, memory, dimension);
    std::vector<std::uint16_t> words(memory.size() / 2);
    std::memcpy(words.data(), memory.data(), memory.size());
    const std::int16_t code = c.three_d ? 1 : 0;
    EXPECT_EQ(dgn_size(words.data(), &code), file_wtf + 2)
        << "type " << c.type << (c.three_d ? " 3D" : " 2D") << (c.deleted ? " deleted" : "");
  }
}

}  // namespace
}  // namespace vornel::client
