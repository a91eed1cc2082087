#pragma once
// The six selection lists of the main window (levels, element types, styles,
// weights, colors, classes): items separated by commas, each a number or a
// range a-b. Checking, expanding and writing back in compact form.
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace vornel::frontend {

enum class ListId { Levels, ElementTypes, Styles, Weights, Colors, Classes };

// Every list's numbers fit 0..255.
using Selection = std::bitset<256>;

struct ListKind {
    ListId id;
    int low;
    int high;
    std::string_view defaultText;
    std::string_view title;       // message box title
    std::string_view singular;    // "level", "element type", ...
    std::string_view plural;      // "levels", "element types", ...
    bool compactRanges;           // write consecutive numbers as a-b
};

const ListKind& listKind(ListId id);

// Whether n may stand in the list (element types allow only some codes).
bool isAllowed(const ListKind& kind, int n);

struct ListCheck {
    std::string text;                 // the list after trailing non-digits are removed
    Selection selection;              // valid when message is empty
    std::string message;              // empty when the list is valid
    bool ok() const { return message.empty(); }
};

// Removes trailing characters that are not digits, then checks the list.
ListCheck checkList(const ListKind& kind, std::string_view text);

// Ascending, consecutive numbers as a-b where the list uses ranges.
std::string compactList(const ListKind& kind, const Selection& selection);

Selection defaultSelection(const ListKind& kind);

}  // namespace vornel::frontend
