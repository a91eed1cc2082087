#include "frontend/compose/selection_list.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace vornel::frontend {
namespace {

struct ListCase {
    ListId list;
    std::string text;
    std::string message;   // empty: valid
    std::string compact;   // when valid: the list written back
};

void PrintTo(const ListCase& c, std::ostream* out) { *out << "'" << c.text << "'"; }

class SelectionListCheck : public ::testing::TestWithParam<ListCase> {};

TEST_P(SelectionListCheck, MessageAndCompactForm) {
    const ListCase& c = GetParam();
    const ListKind& kind = listKind(c.list);
    const ListCheck check = checkList(kind, c.text);
    EXPECT_EQ(check.message, c.message);
    if (c.message.empty()) {
        EXPECT_EQ(compactList(kind, check.selection), c.compact);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SelectionListCheck,
    ::testing::Values(
        ListCase{ListId::Levels, "1-3,5,7-8", "", "1-3,5,7-8"},
        ListCase{ListId::Levels, "5,3,4", "", "3-5"},
        ListCase{ListId::Levels, "1-63", "", "1-63"},
        ListCase{ListId::Levels, "10,11,", "", "10-11"},
        ListCase{ListId::Levels, "7-", "", "7"},
        ListCase{ListId::Levels, "007", "", "7"},
        ListCase{ListId::Levels, "64", "Level 64 is an invalid level.  Please enter the levels again.", ""},
        ListCase{ListId::Levels, "0", "Level 0 is an invalid level.  Please enter the levels again.", ""},
        ListCase{ListId::Levels, "99999999999999999999",
                 "Level 99999999999999999999 is an invalid level.  Please enter the levels again.", ""},
        ListCase{ListId::Levels, "9-3", "'Levels 9-3' is invalid.  Please enter the levels again.", ""},
        ListCase{ListId::Levels, "1, 2",
                 "Spaces are not allowed in level input.  Instead, use commas to separate level "
                 "numbers.  Please enter the levels again.", ""},
        ListCase{ListId::Levels, "1;2",
                 "The character ; is an invalid character in the levels text box.  Please enter "
                 "the levels again.", ""},
        ListCase{ListId::Levels, "", "Please enter a value for the input levels.  The default is levels: 1-63.", ""},
        ListCase{ListId::Levels, ",,", "Please enter a value for the input levels.  The default is levels: 1-63.", ""},
        ListCase{ListId::Levels, "1,,3",
                 "A value is missing.  There are too many commas or dashes in your input '1,,3'.  "
                 "Please enter the levels again.", ""},
        ListCase{ListId::Levels, "1--3",
                 "A value is missing.  There are too many commas or dashes in your input '1--3'.  "
                 "Please enter the levels again.", ""},
        ListCase{ListId::Levels, "1-3-5",
                 "A value is missing.  There are too many commas or dashes in your input '1-3-5'.  "
                 "Please enter the levels again.", ""},
        ListCase{ListId::ElementTypes, "4,3,16", "", "3,4,16"},
        ListCase{ListId::ElementTypes, "2-4", "", "2,3,4"},
        ListCase{ListId::ElementTypes, "5",
                 "Element type 5 is an invalid element type.  Please enter the element types again.", ""},
        ListCase{ListId::ElementTypes, "3-6",
                 "Element type 5 is an invalid element type.  Please enter the element types again.", ""},
        ListCase{ListId::ElementTypes, "28",
                 "Element type 28 is an invalid element type.  Please enter the element types again.", ""},
        ListCase{ListId::ElementTypes, "",
                 "Please enter a value for the input element types.  The default is element types: 3,4.", ""},
        ListCase{ListId::Styles, "0,1,2,3", "", "0-3"},
        ListCase{ListId::Styles, "8", "Style 8 is an invalid style.  Please enter the styles again.", ""},
        ListCase{ListId::Weights, "31", "Weight 31 is an invalid weight.  Please enter the weights again.", ""},
        ListCase{ListId::Colors, "0-255", "", "0-255"},
        ListCase{ListId::Colors, "4-2", "'Colors 4-2' is invalid.  Please enter the colors again.", ""},
        ListCase{ListId::Classes, "2,0", "", "0,2"},
        ListCase{ListId::Classes, "x1",
                 "The character x is an invalid character in the classes text box.  Please enter "
                 "the classes again.", ""}));

TEST(SelectionList, TrailingNonDigitsAreRemovedBeforeTheCheck) {
    EXPECT_EQ(checkList(listKind(ListId::Levels), "3,5-, x").text, "3,5");
}

}  // namespace
}  // namespace vornel::frontend
