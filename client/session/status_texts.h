#pragma once
// Texts of the library's status codes.

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel::session {

// The message of `code`, or "Unknown" for a code without one.
std::string_view status_message(int code);
// "ERROR (%d): " and the message; empty for status 0.
std::string status_text(int code);

}  // namespace vornel::session
