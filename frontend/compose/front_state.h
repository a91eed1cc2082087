#pragma once
// Everything the front end composes a command line from: the main window's
// choices, the six selection lists, the command-line slots the dialogs fill,
// and the Join Options output level stored at its last Apply.
#include <array>
#include <cstddef>
#include <string>

#include "frontend/compose/command_slots.h"
#include "frontend/compose/selection_list.h"

namespace vornel::frontend {

enum class InputType { None, Dgn, Ulf };
enum class OutputKind { Lines, Curves, Bsplines, NoOutput };
enum class AttributeChoice { Stack, Strip, RemoveDuplicates };

struct MainChoices {
    InputType inputType = InputType::None;
    std::string inputFile;
    std::array<std::string, 6> lists{"1-63", "3,4", "0-7", "0-30", "0-255", "0,2"};
    OutputKind output = OutputKind::Lines;
    bool complexOutput = false;
    bool removeShortSegments = false;
    bool saveOriginal = false;
    bool limitVertices = false;
    std::string vertexCount;
    bool useOriginalSymbology = true;
    bool overrideSymbology = false;
    bool randomColors = false;
    AttributeChoice attributes = AttributeChoice::Stack;
    bool saveLog = false;

    std::string& list(ListId id) { return lists[static_cast<std::size_t>(id)]; }
    const std::string& list(ListId id) const { return lists[static_cast<std::size_t>(id)]; }
};

struct FrontState {
    MainChoices main;
    CommandSlots slots;
    std::string storedOutputLevel;     // empty unless "Join and output to level:" was applied
    bool outputLevelChosen = false;    // that choice is selected in Join Options

    void reset() { *this = FrontState{}; }
};

}  // namespace vornel::frontend
