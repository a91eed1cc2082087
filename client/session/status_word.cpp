#include "client/session/session.h"
#include "client/session/status_texts.h"

#include <cstdio>
#include <cstring>

namespace vornel {

namespace {
constexpr std::size_t kErrorTextBytes = 80;
}

int setstat(std::int16_t* status, int code) {
  if (status != nullptr) *status = static_cast<std::int16_t>(code);
  return code;
}

void get_error(char* text, const std::int16_t* status) {
  if (text == nullptr) return;
  std::string message = session::status_text(status != nullptr ? *status : 0);
  std::snprintf(text, kErrorTextBytes, "%s", message.c_str());
}

void prt_error(const std::int16_t* status) {
  char text[kErrorTextBytes];
  get_error(text, status);
  std::printf("%s\n", text);
}

}  // namespace vornel
