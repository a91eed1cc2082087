#include "joiner/value_lists.h"

#include <gtest/gtest.h>

#include <climits>

namespace vornel::joiner {
namespace {

TEST(OptionNumbers, AtoiReadsLikeC) {
  struct Case {
    const char* text;
    int want;
  };
  for (const Case& c : {Case{"42", 42}, Case{"  -7x", -7}, Case{"+3,4", 3}, Case{"", 0},
                        Case{"abc", 0}, Case{"- 5", 0}, Case{"99999999999", INT_MAX},
                        Case{"-99999999999", INT_MIN}}) {
    EXPECT_EQ(c_atoi(c.text), c.want) << '"' << c.text << '"';
  }
}

TEST(OptionNumbers, AtofReadsFractionAndExponent) {
  EXPECT_DOUBLE_EQ(c_atof(" 1.5e2,"), 150.0);
  EXPECT_DOUBLE_EQ(c_atof("-.25"), -0.25);
  EXPECT_DOUBLE_EQ(c_atof("x1"), 0.0);
}

TEST(OptionNumbers, NarrowingTo16BitsSaturates) {
  EXPECT_EQ(to_int16(70000), 32767);
  EXPECT_EQ(to_int16(-70000), -32768);
  EXPECT_EQ(to_int16(-5), -5);
}

TEST(OptionSplitList, FieldsPastTheEndAreEmptyAndRestKeepsCommas) {
  const SplitList list("a,,c,d,e");
  EXPECT_EQ(list.count(), 5);
  EXPECT_EQ(list.field(1), "a");
  EXPECT_EQ(list.field(2), "");
  EXPECT_EQ(list.field(9), "");
  EXPECT_EQ(list.rest(4), "d,e");
  EXPECT_EQ(list.rest(9), "");
  EXPECT_EQ(SplitList("").count(), 1);
}

TEST(OptionDigitList, NumberComesFromDigitsAloneAndLeadIsKept) {
  const DigitField field = digit_field("x,F1a2,,", 2);
  EXPECT_EQ(field.lead, 'F');
  EXPECT_EQ(field.number, 12);
  EXPECT_TRUE(field.has_digits);

  const DigitField empty = digit_field("5,,3", 2);
  EXPECT_TRUE(empty.empty);
  EXPECT_EQ(empty.number, 0);

  const DigitField missing = digit_field("5", 3);
  EXPECT_TRUE(missing.empty);

  EXPECT_EQ(digit_field("123456789012345", 1).number, INT_MAX);
}

}  // namespace
}  // namespace vornel::joiner
