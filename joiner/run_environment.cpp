#include "joiner/run_environment.h"

#include <cstdlib>

#include "joiner/value_lists.h"

namespace vornel::joiner {

EnvLookup process_environment() {
  return [](std::string_view name) -> std::optional<std::string> {
    const std::string terminated(name);
    const char* value = std::getenv(terminated.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
}

int RunEnvironment::number(std::string_view name) const { return c_atoi(text(name)); }

}  // namespace vornel::joiner
