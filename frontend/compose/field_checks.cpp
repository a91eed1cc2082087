#include "frontend/compose/field_checks.h"

#include <cctype>

namespace vornel::frontend {

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string_view levelPrompt(LevelPrompt prompt) {
    switch (prompt) {
        case LevelPrompt::Flagging: return "Please enter the flagging level again.";
        case LevelPrompt::Output: return "Please enter the output level again.";
        case LevelPrompt::OutputShort: return "Please enter output level again.";
        case LevelPrompt::ZeroLength: return "Please enter the zero-length line level again.";
    }
    return {};
}

}  // namespace

std::string checkLevelField(std::string_view text, LevelPrompt prompt) {
    for (char c : text) {
        if (!isDigit(c)) {
            return "The character '" + std::string(1, c) +
                   "' is not a valid level.  Please enter only numbers.";
        }
    }
    if (text.empty()) return {};
    const std::size_t first = text.find_first_not_of('0');
    const std::string_view shown = first == std::string_view::npos ? "0" : text.substr(first);
    if (shown.size() > 2 || std::stoi(std::string(shown)) > 63) {
        return "Level " + std::string(shown) + " is an invalid level.  " +
               std::string(levelPrompt(prompt));
    }
    return {};
}

std::string checkDecimalField(std::string_view text, DecimalField field) {
    for (char c : text) {
        if (isDigit(c) || c == '.') continue;
        const std::string shown(1, c);
        switch (field) {
            case DecimalField::CircleSize:
                return "The character '" + shown +
                       "' is not a valid circle size.  Please enter only numbers and decimals.";
            case DecimalField::Distance:
                return "The character '" + shown +
                       "' is not a valid distance.  Please enter only numbers and decimals.";
            case DecimalField::Tolerance:
                return "The character '" + shown +
                       "' is not a valid character as a tolerance value. Please enter only "
                       "numbers and decimals.";
        }
    }
    return {};
}

std::string checkCountField(std::string_view text) {
    for (char c : text) {
        if (!isDigit(c)) {
            return "The character '" + std::string(1, c) +
                   "' is not a number.  Please enter only numbers.";
        }
    }
    return {};
}

}  // namespace vornel::frontend
