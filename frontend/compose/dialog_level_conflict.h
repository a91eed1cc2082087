#pragma once
// The question a dialog asks when its flagging, output or zero-length level
// is also one of the input levels.
#include <optional>
#include <string>
#include <string_view>

namespace vornel::frontend {

enum class DialogLevel { Flagging, Output, ZeroLength };

struct ConflictQuestion {
    std::string title;
    std::string text;
};

// No value when the level is empty, not a level, or not in the level list.
std::optional<ConflictQuestion> dialogLevelConflict(DialogLevel kind, std::string_view level,
                                                    std::string_view levelList);

}  // namespace vornel::frontend
