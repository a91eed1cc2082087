#pragma once
// Comma-joined option values built from dialog fields.
#include <string>
#include <string_view>
#include <vector>

namespace vornel::frontend {

// The fields joined by commas, with the commas of empty trailing fields removed.
std::string joinTrimmed(const std::vector<std::string>& fields);

// The fields joined by commas, empty fields kept (Output Options' "-S").
std::string joinAll(const std::vector<std::string>& fields);

// Field n (from 0) of a comma-separated value; empty when there is none.
std::string fieldAt(std::string_view value, std::size_t n);

}  // namespace vornel::frontend
