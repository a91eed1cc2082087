#include "frontend/compose/command_slots.h"

#include <stdexcept>

namespace vornel::frontend {

namespace {

void checkSlot(std::size_t slot) {
    if (slot >= CommandSlots::kCount) {
        throw std::out_of_range("command-line slot out of range");
    }
}

}  // namespace

void CommandSlots::set(std::size_t slot, std::string_view flag, std::string_view value) {
    checkSlot(slot);
    flags_[slot] = flag;
    values_[slot] = value;
}

void CommandSlots::clear(std::size_t slot) { set(slot, {}, {}); }

void CommandSlots::clearAll() {
    for (std::size_t slot = 0; slot < kCount; ++slot) clear(slot);
}

const std::string& CommandSlots::flag(std::size_t slot) const {
    checkSlot(slot);
    return flags_[slot];
}

const std::string& CommandSlots::value(std::size_t slot) const {
    checkSlot(slot);
    return values_[slot];
}

std::string CommandSlots::joined() const {
    std::string line;
    for (std::size_t slot = 0; slot < kCount; ++slot) {
        if (flags_[slot].empty()) continue;
        line += ' ';
        line += flags_[slot];
        if (!values_[slot].empty()) {
            line += ' ';
            line += values_[slot];
        }
    }
    return line;
}

std::vector<std::string> CommandSlots::arguments() const {
    std::vector<std::string> args;
    for (std::size_t slot = 0; slot < kCount; ++slot) {
        const std::string& option = flags_[slot];
        if (option.empty()) continue;
        std::size_t start = 0;
        while (start < option.size()) {
            const std::size_t blank = option.find(' ', start);
            const std::size_t end = blank == std::string::npos ? option.size() : blank;
            if (end > start) args.emplace_back(option.substr(start, end - start));
            start = end + 1;
        }
        if (!values_[slot].empty()) args.push_back(values_[slot]);
    }
    return args;
}

}  // namespace vornel::frontend
