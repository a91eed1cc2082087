#include "frontend/compose/composer.h"

#include <array>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "frontend/compose/field_lists.h"
#include "frontend/compose/slot_numbers.h"

namespace vornel::frontend {

namespace {

constexpr std::string_view kConflictTitle = "Input levels vs. output and flagging levels";

// A composing step either lets composing go on (no value) or ends it.
using Step = std::optional<ComposeResult>;

ComposeResult stopped(std::string title, std::string message, ComposeFocus focus) {
    ComposeResult result;
    result.title = std::move(title);
    result.message = std::move(message);
    result.focus = focus;
    return result;
}

ComposeFocus focusOf(ListId id) {
    switch (id) {
        case ListId::Levels: return ComposeFocus::LevelList;
        case ListId::ElementTypes: return ComposeFocus::ElementList;
        case ListId::Styles: return ComposeFocus::StyleList;
        case ListId::Weights: return ComposeFocus::WeightList;
        case ListId::Colors: return ComposeFocus::ColorList;
        case ListId::Classes: return ComposeFocus::ClassList;
    }
    return ComposeFocus::None;
}

bool outputLevelInUse(const FrontState& state) {
    return state.outputLevelChosen || state.main.saveOriginal;
}

}  // namespace

std::vector<CheckedLevel> levelsToCheck(const FrontState& state) {
    const CommandSlots& slots = state.slots;
    std::vector<CheckedLevel> levels;
    if (outputLevelInUse(state) && !state.storedOutputLevel.empty()) {
        levels.push_back({"The element output level: ", state.storedOutputLevel, DialogLevel::Output});
    }
    if (slots.isSet(slot::kFlagShort)) {
        levels.push_back({"The short segment flagging level: ", fieldAt(slots.value(slot::kFlagShort), 1),
                          DialogLevel::Flagging});
    }
    if (slots.isSet(slot::kDangles)) {
        levels.push_back({"The dangles flagging level: ", fieldAt(slots.value(slot::kDangles), 0),
                          DialogLevel::Flagging});
    }
    if (slots.isSet(slot::kFlagMultiLevel)) {
        levels.push_back({"The multi-level line flagging level: ",
                          fieldAt(slots.value(slot::kFlagMultiLevel), 1), DialogLevel::Flagging});
    }
    if (slots.isSet(slot::kZeroLength)) {
        levels.push_back({"The zero length line flagging level: ", slots.value(slot::kZeroLength),
                          DialogLevel::ZeroLength});
    }
    return levels;
}

int levelNumber(std::string_view text) {
    if (text.empty() || text.size() > 3) return -1;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string levelListWithout(std::string_view list, int level) {
    const ListKind& kind = listKind(ListId::Levels);
    ListCheck check = checkList(kind, list);
    if (!check.ok()) return std::string(list);
    if (level >= 0 && level < static_cast<int>(check.selection.size())) {
        check.selection.reset(static_cast<std::size_t>(level));
    }
    return compactList(kind, check.selection);
}

namespace {

// Checks every list; a bad list goes back to its default.
Step checkLists(FrontState& state, std::array<Selection, 6>& selections) {
    for (std::size_t i = 0; i < selections.size(); ++i) {
        const ListKind& kind = listKind(static_cast<ListId>(i));
        const ListCheck check = checkList(kind, state.main.lists[i]);
        if (!check.ok()) {
            state.main.lists[i] = std::string(kind.defaultText);
            return stopped(std::string(kind.title), check.message, focusOf(kind.id));
        }
        state.main.lists[i] = check.text;
        selections[i] = check.selection;
    }
    return std::nullopt;
}

// Asks about every output or flagging level that is also an input level and
// removes the ones the user lets go from the level list. Stops when the user
// keeps one, or when no input level would be left.
Step settleLevelConflicts(FrontState& state, Selection& levels, Questions& questions) {
    const ListKind& kind = listKind(ListId::Levels);
    for (const CheckedLevel& checked : levelsToCheck(state)) {
        const int level = levelNumber(checked.level);
        if (level < kind.low || level > kind.high || !levels.test(static_cast<std::size_t>(level))) {
            continue;
        }
        const std::string shown = std::to_string(level);
        const std::string question = std::string(checked.label) + shown +
                                     " is also one of your input levels: " +
                                     state.main.list(ListId::Levels) +
                                     ".  Do you wish to remove level " + shown +
                                     " from your input level list?";
        if (!questions.askYesNo(kConflictTitle, question)) {
            return stopped({}, {}, ComposeFocus::None);
        }
        levels.reset(static_cast<std::size_t>(level));
        if (levels.none()) {
            // An empty level list would hand "-ll" no value; the user must choose again.
            state.main.list(ListId::Levels) = std::string(kind.defaultText);
            return stopped(std::string(kind.title),
                           "No input levels are left.  Please enter the levels again.",
                           ComposeFocus::LevelList);
        }
        state.main.list(ListId::Levels) = compactList(kind, levels);
    }
    return std::nullopt;
}

void setListSlots(FrontState& state, const std::array<Selection, 6>& selections) {
    constexpr std::array<std::pair<std::size_t, std::string_view>, 6> kListSlots{{
        {slot::kLevels, "-ll"}, {slot::kElementTypes, "-e"}, {slot::kStyles, "-ls"},
        {slot::kWeights, "-lw"}, {slot::kColors, "-lo"}, {slot::kClasses, "-lc"},
    }};
    for (std::size_t i = 0; i < selections.size(); ++i) {
        const ListKind& kind = listKind(static_cast<ListId>(i));
        const auto [number, option] = kListSlots[i];
        // Compared as sets, so "3-4" or "2-4" written for a default still counts as it.
        if (selections[i] == defaultSelection(kind)) {
            state.slots.clear(number);
        } else {
            state.slots.set(number, option, state.main.lists[i]);
        }
    }
}

void setChoiceSlot(CommandSlots& slots, std::size_t number, bool on, std::string_view option) {
    if (on) {
        slots.set(number, option);
    } else {
        slots.clear(number);
    }
}

void setChoiceSlots(FrontState& state) {
    const MainChoices& main = state.main;
    CommandSlots& slots = state.slots;
    setChoiceSlot(slots, slot::kBsplineOutput, main.output == OutputKind::Bsplines, "-b");
    setChoiceSlot(slots, slot::kComplexOutput, main.complexOutput, "-C");
    setChoiceSlot(slots, slot::kCurveOutput, main.output == OutputKind::Curves, "-c");
    setChoiceSlot(slots, slot::kNoOutput, main.output == OutputKind::NoOutput, "-NO");
    setChoiceSlot(slots, slot::kStripAttributes, main.attributes == AttributeChoice::Strip, "-AS");
    setChoiceSlot(slots, slot::kRemoveDuplicateLinkages,
                  main.attributes == AttributeChoice::RemoveDuplicates, "-AU");
    setChoiceSlot(slots, slot::kSaveOriginal, main.saveOriginal, "-s");
    setChoiceSlot(slots, slot::kRandomColors, main.randomColors, "-p");
}

Step setOutputLevelSlot(FrontState& state) {
    if (!outputLevelInUse(state)) {
        state.slots.clear(slot::kOutputLevel);
        return std::nullopt;
    }
    if (state.storedOutputLevel.empty()) {
        // "-L" without a value would take the next option as its level.
        return stopped("Save original linework",
                       "An output level for the modified linework has not been set.  "
                       "It is required for this option.",
                       ComposeFocus::None);
    }
    state.slots.set(slot::kOutputLevel, "-L", state.storedOutputLevel);
    return std::nullopt;
}

Step setVertexLimitSlot(FrontState& state) {
    const MainChoices& main = state.main;
    if (!main.limitVertices || main.vertexCount.empty()) {
        state.slots.clear(slot::kVertexLimit);
        return std::nullopt;
    }
    if (main.output == OutputKind::NoOutput) {
        return stopped("Limit vertices", "At least one output element type must be selected.",
                       ComposeFocus::VertexCount);
    }
    const bool lines = main.output == OutputKind::Lines;
    const int low = lines ? 2 : 3;
    const int high = lines ? 101 : 97;
    const int count = levelNumber(main.vertexCount);
    if (count < low || count > high) {
        return stopped("Limit vertices",
                       std::string("The max number of vertices is invalid.  The valid range for ") +
                           (lines ? "lines" : "curves and bsplines") + " is " +
                           std::to_string(low) + "-" + std::to_string(high) + ".",
                       ComposeFocus::VertexCount);
    }
    state.slots.set(slot::kVertexLimit, "-V", std::to_string(count));
    return std::nullopt;
}

}  // namespace

std::string commandPrefix(InputType type) {
    return type == InputType::Ulf ? "perl -S vornel.pl -U " : "perl -S vornel.pl -F ";
}

ComposeResult compose(FrontState& state, Questions& questions) {
    std::error_code error;
    const std::string& file = state.main.inputFile;
    if (file.empty() || !std::filesystem::is_regular_file(file, error)) {
        return stopped("Vornel", "The File Does Not Exist", ComposeFocus::InputFile);
    }

    std::array<Selection, 6> selections;
    if (Step step = checkLists(state, selections)) return *step;
    Selection& levels = selections[static_cast<std::size_t>(ListId::Levels)];
    if (Step step = settleLevelConflicts(state, levels, questions)) return *step;

    setListSlots(state, selections);
    setChoiceSlots(state);
    if (Step step = setOutputLevelSlot(state)) return *step;
    if (Step step = setVertexLimitSlot(state)) return *step;

    ComposeResult result;
    const bool ulf = state.main.inputType == InputType::Ulf;
    result.commandLine = commandPrefix(state.main.inputType) + file + state.slots.joined();
    result.program = "perl";
    result.arguments = {"-S", "vornel.pl", ulf ? "-U" : "-F", file};
    for (std::string& argument : state.slots.arguments()) result.arguments.push_back(std::move(argument));
    return result;
}

}  // namespace vornel::frontend
