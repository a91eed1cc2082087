#include "frontend/compose/selection_list.h"

#include <array>
#include <cctype>
#include <stdexcept>
#include <vector>

namespace vornel::frontend {

namespace {

constexpr std::array<ListKind, 6> kKinds{{
    {ListId::Levels, 1, 63, "1-63", "Vornel levels", "level", "levels", true},
    {ListId::ElementTypes, 2, 27, "3,4", "Vornel element types", "element type", "element types",
     false},
    {ListId::Styles, 0, 7, "0-7", "Vornel styles", "style", "styles", true},
    {ListId::Weights, 0, 30, "0-30", "Vornel weights", "weight", "weights", true},
    {ListId::Colors, 0, 255, "0-255", "Vornel colors", "color", "colors", true},
    {ListId::Classes, 0, 7, "0,2", "Vornel classes", "class", "classes", true},
}};

constexpr std::array<int, 10> kElementTypes{2, 3, 4, 6, 7, 11, 12, 16, 17, 27};

std::string capitalised(std::string_view word) {
    std::string out(word);
    if (!out.empty()) out[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(out[0])));
    return out;
}

std::string againText(const ListKind& kind) {
    return "Please enter the " + std::string(kind.plural) + " again.";
}

// A number as the user typed it, without leading zeros, for messages.
std::string shownNumber(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string("0") : std::string(digits.substr(first));
}

// Digit strings longer than this are out of every list's range anyway.
constexpr std::size_t kMaxDigits = 6;

int numberOf(std::string_view digits) {
    const std::string shown = shownNumber(digits);
    if (shown.size() > kMaxDigits) return 1'000'000;
    return std::stoi(shown);
}

std::string outOfRange(const ListKind& kind, std::string_view digits) {
    return capitalised(kind.singular) + " " + shownNumber(digits) + " is an invalid " +
           std::string(kind.singular) + ".  " + againText(kind);
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

}  // namespace

const ListKind& listKind(ListId id) {
    for (const ListKind& kind : kKinds) {
        if (kind.id == id) return kind;
    }
    throw std::invalid_argument("unknown selection list");
}

bool isAllowed(const ListKind& kind, int n) {
    if (n < kind.low || n > kind.high) return false;
    if (kind.id != ListId::ElementTypes) return true;
    for (int type : kElementTypes) {
        if (type == n) return true;
    }
    return false;
}

ListCheck checkList(const ListKind& kind, std::string_view text) {
    ListCheck result;
    std::size_t end = text.size();
    while (end > 0 && !std::isdigit(static_cast<unsigned char>(text[end - 1]))) --end;
    result.text = std::string(text.substr(0, end));
    const std::string_view list = result.text;

    if (list.empty()) {
        result.message = "Please enter a value for the input " + std::string(kind.plural) +
                         ".  The default is " + std::string(kind.plural) + ": " +
                         std::string(kind.defaultText) + ".";
        return result;
    }
    for (char c : list) {
        if (c == ' ') {
            result.message = "Spaces are not allowed in " + std::string(kind.singular) +
                             " input.  Instead, use commas to separate " +
                             std::string(kind.singular) + " numbers.  " + againText(kind);
            return result;
        }
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != ',' && c != '-') {
            result.message = "The character " + std::string(1, c) +
                             " is an invalid character in the " + std::string(kind.plural) +
                             " text box.  " + againText(kind);
            return result;
        }
    }

    Selection selection;
    for (std::string_view item : splitAt(list, ',')) {
        const std::vector<std::string_view> ends = splitAt(item, '-');
        bool missing = ends.size() > 2;
        for (std::string_view part : ends) missing = missing || part.empty();
        if (missing) {
            result.message = "A value is missing.  There are too many commas or dashes in your input '" +
                             std::string(list) + "'.  " + againText(kind);
            return result;
        }
        const int first = numberOf(ends.front());
        const int last = numberOf(ends.back());
        if (first < kind.low || first > kind.high) {
            result.message = outOfRange(kind, ends.front());
            return result;
        }
        if (last < kind.low || last > kind.high) {
            result.message = outOfRange(kind, ends.back());
            return result;
        }
        if (last < first) {
            result.message = "'" + capitalised(kind.plural) + " " + std::string(item) +
                             "' is invalid.  " + againText(kind);
            return result;
        }
        for (int n = first; n <= last; ++n) {
            if (!isAllowed(kind, n)) {
                result.message = outOfRange(kind, std::to_string(n));
                return result;
            }
            selection.set(static_cast<std::size_t>(n));
        }
    }
    result.selection = selection;
    return result;
}

std::string compactList(const ListKind& kind, const Selection& selection) {
    std::string out;
    int n = 0;
    while (n < static_cast<int>(selection.size())) {
        if (!selection.test(static_cast<std::size_t>(n))) {
            ++n;
            continue;
        }
        int last = n;
        while (kind.compactRanges && last + 1 < static_cast<int>(selection.size()) &&
               selection.test(static_cast<std::size_t>(last + 1))) {
            ++last;
        }
        if (!out.empty()) out += ',';
        out += std::to_string(n);
        if (last > n) out += '-' + std::to_string(last);
        n = last + 1;
    }
    return out;
}

Selection defaultSelection(const ListKind& kind) {
    return checkList(kind, kind.defaultText).selection;
}

}  // namespace vornel::frontend
