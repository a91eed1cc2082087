#include "client/session/radix50.h"

#include "client/connection/status_codes.h"

namespace vornel::session {

namespace {

int radix50_code(char c, bool& valid) {
  if (c == ' ') return 0;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  if (c == '$') return 27;
  if (c == '.') return 28;
  if (c == '?' || c == '_') return 29;
  if (c >= '0' && c <= '9') return c - '0' + 30;
  valid = false;
  return 0;
}

}  // namespace

Radix50Name encode_radix50(std::string_view name) {
  Radix50Name out;
  bool valid = true;
  for (std::size_t word = 0; word < 2; ++word) {
    int value = 0;
    for (std::size_t i = 0; i < 3; ++i) {
      const std::size_t at = 3 * word + i;
      value = value * 40 + radix50_code(at < name.size() ? name[at] : ' ', valid);
    }
    out.words[word] = static_cast<std::uint16_t>(value);
  }
  if (!valid) out.status = status::kRadix50Conversion;
  return out;
}

}  // namespace vornel::session
