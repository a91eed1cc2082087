#pragma once
// Checks of single dialog fields, made when a field loses the focus. A field
// that fails is emptied and gets the focus again; these functions only say
// whether it fails and with which message.
#include <string>
#include <string_view>

namespace vornel::frontend {

enum class DecimalField { CircleSize, Distance, Tolerance };

// Which prompt closes the "invalid level" message of a level box.
enum class LevelPrompt { Flagging, Output, OutputShort, ZeroLength };

// Empty when the text is acceptable (an empty field is acceptable).
std::string checkLevelField(std::string_view text, LevelPrompt prompt);
std::string checkDecimalField(std::string_view text, DecimalField field);
// The vertex count box of the main window: digits only.
std::string checkCountField(std::string_view text);

}  // namespace vornel::frontend
