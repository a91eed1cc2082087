#include "client/records/scan_format.hpp"

namespace vornel::client {

void scan_fmt(std::int32_t* value) {
  *value = static_cast<std::int32_t>(to_scan_format(*value));
}

void un_scan_fmt(std::int32_t* value) {
  *value = from_scan_format(static_cast<std::uint32_t>(*value));
}

void swap_word(std::int32_t* value) {
  *value = static_cast<std::int32_t>(exchange_halves(static_cast<std::uint32_t>(*value)));
}

}  // namespace vornel::client
