#pragma once
// Composes the driver's command line from the front end's state: checks the
// input file, settles conflicts between input levels and output or flagging
// levels, fills the slots that belong to the main window and joins them.
#include <string>
#include <string_view>
#include <vector>

#include "frontend/compose/dialog_level_conflict.h"
#include "frontend/compose/front_state.h"

namespace vornel::frontend {

// The user's answers to the questions composing asks.
class Questions {
public:
    virtual ~Questions() = default;
    virtual bool askYesNo(std::string_view title, std::string_view text) = 0;
};

// Where the window should put the focus after a failed composition.
enum class ComposeFocus { None, InputFile, LevelList, ElementList, StyleList, WeightList,
                          ColorList, ClassList, VertexCount };

struct ComposeResult {
    std::string commandLine;              // empty when composing stopped
    std::string program;                  // "perl"
    std::vector<std::string> arguments;   // the same command line as program arguments
    std::string title;                    // message to show when composing stopped
    std::string message;                  //   (empty when the user chose to stop)
    ComposeFocus focus = ComposeFocus::None;
    bool ok() const { return !commandLine.empty(); }
};

ComposeResult compose(FrontState& state, Questions& questions);

// An output or flagging level that must not also be an input level.
struct CheckedLevel {
    std::string_view label;   // "The element output level: ", ...
    std::string level;        // as stored
    DialogLevel kind;         // how a dialog names it
};

// The output and flagging levels that are set, in the order they are checked.
std::vector<CheckedLevel> levelsToCheck(const FrontState& state);

// The level list with one level removed, in compact form; empty when the
// level was the last one.
std::string levelListWithout(std::string_view list, int level);

// A level box's text as a number; -1 when it holds no usable level.
int levelNumber(std::string_view text);

// The fixed start of every command line, up to and including "-F " or "-U ".
std::string commandPrefix(InputType type);

}  // namespace vornel::frontend
