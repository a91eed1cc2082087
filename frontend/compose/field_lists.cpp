#include "frontend/compose/field_lists.h"

namespace vornel::frontend {

std::string joinAll(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += fields[i];
    }
    return out;
}

std::string joinTrimmed(const std::vector<std::string>& fields) {
    std::string out = joinAll(fields);
    while (!out.empty() && out.back() == ',') out.pop_back();
    return out;
}

std::string fieldAt(std::string_view value, std::size_t n) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t comma = value.find(',', start);
        if (comma == std::string_view::npos) return {};
        start = comma + 1;
    }
    const std::size_t end = value.find(',', start);
    return std::string(value.substr(start, end == std::string_view::npos ? value.npos : end - start));
}

}  // namespace vornel::frontend
