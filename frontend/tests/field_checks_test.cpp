#include "frontend/compose/field_checks.h"
#include "frontend/compose/field_lists.h"

#include <gtest/gtest.h>

namespace vornel::frontend {
namespace {

TEST(LevelField, DigitsAndRange) {
    struct Case { const char* text; LevelPrompt prompt; const char* message; };
    const Case cases[] = {
        {"", LevelPrompt::Flagging, ""},
        {"0", LevelPrompt::ZeroLength, ""},
        {"63", LevelPrompt::Output, ""},
        {"64", LevelPrompt::Flagging, "Level 64 is an invalid level.  Please enter the flagging level again."},
        {"100", LevelPrompt::Output, "Level 100 is an invalid level.  Please enter the output level again."},
        {"070", LevelPrompt::OutputShort, "Level 70 is an invalid level.  Please enter output level again."},
        {"99999999999", LevelPrompt::ZeroLength,
         "Level 99999999999 is an invalid level.  Please enter the zero-length line level again."},
        {"1a", LevelPrompt::Flagging, "The character 'a' is not a valid level.  Please enter only numbers."},
        {"-1", LevelPrompt::Flagging, "The character '-' is not a valid level.  Please enter only numbers."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkLevelField(c.text, c.prompt), c.message) << c.text;
    }
}

TEST(DecimalField, MessagesNameTheField) {
    EXPECT_EQ(checkDecimalField("2.5", DecimalField::CircleSize), "");
    EXPECT_EQ(checkDecimalField("2,5", DecimalField::CircleSize),
              "The character ',' is not a valid circle size.  Please enter only numbers and decimals.");
    EXPECT_EQ(checkDecimalField("-1", DecimalField::Distance),
              "The character '-' is not a valid distance.  Please enter only numbers and decimals.");
    EXPECT_EQ(checkDecimalField("1e3", DecimalField::Tolerance),
              "The character 'e' is not a valid character as a tolerance value. Please enter only "
              "numbers and decimals.");
    EXPECT_EQ(checkCountField("1O1"), "The character 'O' is not a number.  Please enter only numbers.");
    EXPECT_EQ(checkCountField("101"), "");
}

TEST(FieldLists, TrailingEmptyFieldsAreDropped) {
    EXPECT_EQ(joinTrimmed({"5", "40", "1"}), "5,40,1");
    EXPECT_EQ(joinTrimmed({"5", "", ""}), "5");
    EXPECT_EQ(joinTrimmed({"5", "", "1"}), "5,,1");
    EXPECT_EQ(joinTrimmed({"", "", ""}), "");
    EXPECT_EQ(joinAll({"", "", "4", ""}), ",,4,");
    EXPECT_EQ(fieldAt("F,12,2.5", 1), "12");
    EXPECT_EQ(fieldAt("5", 1), "");
    EXPECT_EQ(fieldAt("", 0), "");
}

}  // namespace
}  // namespace vornel::frontend
