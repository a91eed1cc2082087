#pragma once
// The driver's command line as numbered slots: each slot holds an option and
// an optional value, and the slot number alone fixes the option's place on
// the command line, whatever order the user set the options in.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::frontend {

class CommandSlots {
public:
    static constexpr std::size_t kCount = 201;  // slots 0 to 200

    void set(std::size_t slot, std::string_view flag, std::string_view value = {});
    void clear(std::size_t slot);
    void clearAll();

    const std::string& flag(std::size_t slot) const;
    const std::string& value(std::size_t slot) const;
    bool isSet(std::size_t slot) const { return !flag(slot).empty(); }

    // " option[ value]" for every slot with an option, in slot order.
    std::string joined() const;
    // The same as separate program arguments: an option text is split at its
    // blanks ("-L O" is two arguments), a value stays one argument.
    std::vector<std::string> arguments() const;

private:
    std::array<std::string, kCount> flags_{};
    std::array<std::string, kCount> values_{};
};

}  // namespace vornel::frontend
