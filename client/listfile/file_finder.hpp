#pragma once
// Completes and finds a file name: default extension, then the current
// directory, then the directories of a ';'-separated search list variable.

#include <string>

namespace vornel::client {

// The path of the first existing candidate, or the completed name when none
// exists. `extension` includes its dot (".ulf").
std::string find_file(const std::string& name, const std::string& extension,
                      const char* search_variable);

}  // namespace vornel::client
