#include "client/connection/status_codes.h"
#include "client/session/radix50.h"
#include "client/session/resource_file.h"
#include "client/session/session.h"
#include "client/session/status_texts.h"
#include "client/session/tcb_variable_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace vornel::session {
namespace {

constexpr std::uint16_t r50(int a, int b, int c) { return static_cast<std::uint16_t>((a * 40 + b) * 40 + c); }

TEST(Radix50Test, EncodesNamesCutOrPaddedToSixCharacters) {
  struct Case {
    const char* name;
    std::uint16_t first, second;
    int status;
  } cases[] = {
      {"EU.UOR", r50(5, 21, 28), r50(21, 15, 18), 0},
      {"EU.MU", r50(5, 21, 28), r50(13, 21, 0), 0},
      {"GRAFIC", r50(7, 18, 1), r50(6, 9, 3), 0},
      {"A$?_09", r50(1, 27, 29), r50(29, 30, 39), 0},
      {"NDICESXYZ", r50(14, 4, 9), r50(3, 5, 19), 0},
      {"", 0, 0, 0},
      {"eu.uor", r50(0, 0, 28), r50(0, 0, 0), status::kRadix50Conversion},
      {"A-B", r50(1, 0, 2), 0, status::kRadix50Conversion},
  };
  for (const Case& c : cases) {
    Radix50Name encoded = encode_radix50(c.name);
    EXPECT_EQ(encoded.words[0], c.first) << c.name;
    EXPECT_EQ(encoded.words[1], c.second) << c.name;
    EXPECT_EQ(encoded.status, c.status) << c.name;
  }
}

TEST(StatusTextTest, MessagesPrefixAndUnknownCodes) {
  struct Case {
    int code;
    const char* text;
  } cases[] = {
      {905, "ERROR (905): Too many vertices"},
      {900, "ERROR (900): Nonexistent request"},
      {1014, "ERROR (1014): Number of poles must be >= the order"},
      {1003, "ERROR (1003): Bad format specifiedr"},
      {948, "ERROR (948): Unable to open design file"},
      {1021, "ERROR (1021): Unknown"},
      {907, "ERROR (907): Unknown"},
      {-1300, "ERROR (-1300): Unknown"},
      {0, ""},
  };
  for (const Case& c : cases) {
    std::int16_t status = static_cast<std::int16_t>(c.code);
    char text[80];
    get_error(text, &status);
    EXPECT_STREQ(text, c.text);
  }
}

TEST(StatusTextTest, PrtErrorPrintsTextAndNewline) {
  testing::internal::CaptureStdout();
  std::int16_t status = 905;
  prt_error(&status);
  status = 0;
  prt_error(&status);
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR (905): Too many vertices\n\n");
}

TEST(StatusTextTest, SetstatStoresAndReturns) {
  std::int16_t status = 0;
  EXPECT_EQ(setstat(&status, 929), 929);
  EXPECT_EQ(status, 929);
  EXPECT_EQ(setstat(nullptr, 5), 5);
}

std::vector<std::uint8_t> variable_record(const char* name, std::uint8_t type, std::uint32_t offset, std::uint32_t format) {
  std::vector<std::uint8_t> r(20, 0);
  std::memcpy(r.data(), name, std::strlen(name));
  r[7] = type;
  std::memcpy(r.data() + 8, &offset, 4);
  std::memcpy(r.data() + 12, &format, 4);
  return r;
}

TEST(TcbVariableTableTest, DecodesRecordsAndElementSizes) {
  std::vector<std::uint8_t> resource = {0, 0, 3, 0};
  for (auto record : {variable_record("EU.UOR", 1, 1116, 3 | (1 << 4)),
                      variable_record("GOXUOR", 1, 0x11240, 4 | (1 << 4)),  // low 16 bits kept
                      variable_record("TABLE", 2, 100, 6 | (3 << 4))})
    resource.insert(resource.end(), record.begin(), record.end());
  std::vector<TcbVariableEntry> table;
  ASSERT_TRUE(decode_tcb_variables(resource, table));
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0].name, encode_radix50("EU.UOR").words);
  EXPECT_EQ(table[0].size, 4);
  EXPECT_EQ(table[1].offset, 0x1240);
  EXPECT_EQ(table[1].size, 8);
  EXPECT_EQ(table[2].type, 2);
  EXPECT_EQ(table[2].size, 3 * 118);

  resource[2] = 4;  // claims one record more than it holds
  EXPECT_FALSE(decode_tcb_variables(resource, table));
  EXPECT_FALSE(decode_tcb_variables(std::vector<std::uint8_t>{0, 0}, table));
}

TEST(ResourceFileTest, FindsTypedNumberedResourcesAndRejectsDamage) {
  const Resource resources[] = {{kTcbVariableResourceType, 1, {1, 2, 3}},
                                {kTcbVariableResourceType, 2, {4}},
                                {0x41424344, 1, {}}};
  std::vector<std::uint8_t> file = encode_resource_file(resources);
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(find_resource(file, kTcbVariableResourceType, 1, data));
  EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 2, 3}));
  ASSERT_TRUE(find_resource(file, kTcbVariableResourceType, 2, data));
  EXPECT_EQ(data, (std::vector<std::uint8_t>{4}));
  EXPECT_TRUE(find_resource(file, 0x41424344, 1, data));
  EXPECT_TRUE(data.empty());
  EXPECT_FALSE(find_resource(file, kTcbVariableResourceType, 3, data));

  std::vector<std::uint8_t> truncated(file.begin(), file.end() - 2);
  EXPECT_FALSE(find_resource(truncated, kTcbVariableResourceType, 2, data)) << "data beyond the end";
  std::vector<std::uint8_t> foreign = file;
  foreign[0] = 'X';
  EXPECT_FALSE(find_resource(foreign, kTcbVariableResourceType, 1, data));
}

}  // namespace
}  // namespace vornel::session
