#pragma once
// Finds the host's resource file: MS_RSRC when it names a file, else
// dgnhost.rsc in the directory MS_RSRC names, the current directory, and the
// ';'-separated directories of MS_EXE and MS_RSRCPATH. Variables come from
// `lookup` (the host's configuration while a file is open).

#include <functional>
#include <optional>
#include <string>

namespace vornel::session {

using VariableLookup = std::function<std::string(const char* name)>;

std::optional<std::string> find_resource_file(const VariableLookup& lookup);

}  // namespace vornel::session
