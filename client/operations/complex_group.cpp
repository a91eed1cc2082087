// Complex elements and graphic groups.

#include "client/operations/request_fields.h"

namespace vornel {

using namespace operations;

namespace {
// Library-wide: a complex element has been opened and not yet closed.
bool complex_open = false;
}  // namespace

bool complex_element_open() { return complex_open; }

int bcmplx(const std::int16_t* attributes, std::int16_t* status) {
  bool too_long = false;
  const auto words = attribute_words(attributes, too_long);
  if (too_long) return set_status(status, 921);
  auto request = placement_request(kOpenComplex, 4, 18, words);
  const int result = send(request);
  if (result == 0) complex_open = true;
  return set_status(status, result);
}

int ecmplx(const std::int16_t* type_word, std::int16_t* status) {
  complex_open = false;
  connection::RequestRecord request(kCloseComplex, 4);
  request.put(16, type_word != nullptr ? *type_word : std::int16_t{0});
  return set_status(status, send(request));
}

int ggdfpi(const std::int16_t* code_number, std::int16_t* status) {
  const std::int16_t code = code_number != nullptr ? code_number[0] : 0;
  const std::int16_t number = code_number != nullptr ? code_number[1] : 0;
  if (code == 3 && number == 0) return set_status(status, 902);
  connection::RequestRecord request(kGraphicGroup, 4);
  request.put(16, code);
  request.put(18, number);
  return set_status(status, send(request));
}

}  // namespace vornel
