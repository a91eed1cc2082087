#include "frontend/compose/dialog_level_conflict.h"

#include "frontend/compose/composer.h"
#include "frontend/compose/selection_list.h"

namespace vornel::frontend {

namespace {

std::string_view nameOf(DialogLevel kind) {
    switch (kind) {
        case DialogLevel::Flagging: return "Flagging level";
        case DialogLevel::Output: return "Output level";
        case DialogLevel::ZeroLength: return "Zero-length line level";
    }
    return {};
}

}  // namespace

std::optional<ConflictQuestion> dialogLevelConflict(DialogLevel kind, std::string_view level,
                                                    std::string_view levelList) {
    const int n = levelNumber(level);
    const ListKind& levels = listKind(ListId::Levels);
    if (n < levels.low || n > levels.high) return std::nullopt;
    const ListCheck check = checkList(levels, levelList);
    if (!check.ok() || !check.selection.test(static_cast<std::size_t>(n))) return std::nullopt;
    const std::string name(nameOf(kind));
    return ConflictQuestion{
        name + " vs. Input levels",
        name + " " + std::to_string(n) + " was also selected as one of the input levels: " +
            std::string(levelList) + ". Would you like to remove it from the input level list?"};
}

}  // namespace vornel::frontend
