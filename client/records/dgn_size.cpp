#include "client/records/dgn_size.hpp"

#include "client/records/element_header.hpp"

namespace vornel::client {

std::int32_t dgn_size(const std::uint16_t* element, const std::int16_t* dimension_code) {
  const std::uint16_t first = element[0];
  const std::int32_t wtf = element[1];
  const int type = element_type(first);
  if (is_deleted(first) && is_header_only_when_deleted(type)) return wtf + 2;
  switch (type) {
    case 2:
      return wtf - 2;
    case 3: case 12: case 14: case 25: case 26: case 28:
    case 33: case 34: case 35: case 36: case 37:
      return wtf;
    case 4: case 6: case 11: case 13: case 21: case 22: case 7:
    case 17: case 18: case 19: case 24: case 27: case 88:
      return wtf - 1;
    case 15: case 16:
      return *dimension_code == 0 ? wtf - 2 : wtf;
    case 23:
      return wtf - 3;
    case 87:
      return wtf - 5;
    default:
      return wtf + 2;
  }
}

}  // namespace vornel::client
