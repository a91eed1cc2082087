// The environment variables the driver sets for the joiner, behind a lookup
// function so a run can be configured from a table as well as from the
// process environment.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vornel::joiner {

using EnvLookup = std::function<std::optional<std::string>(std::string_view name)>;

// Looks names up in this process's environment.
EnvLookup process_environment();

class RunEnvironment {
 public:
  explicit RunEnvironment(EnvLookup lookup) : lookup_(std::move(lookup)) {}

  std::optional<std::string> get(std::string_view name) const {
    return lookup_ ? lookup_(name) : std::nullopt;
  }
  bool has(std::string_view name) const { return get(name).has_value(); }
  // The text of a variable; an unset variable reads as empty.
  std::string text(std::string_view name) const { return get(name).value_or(std::string()); }
  // A decimal integer as C atoi reads it; an unset variable reads as 0.
  int number(std::string_view name) const;

 private:
  EnvLookup lookup_;
};

}  // namespace vornel::joiner
