// Update statements of the option work: composed from the joiner's fixed
// formats, sent to the host one at a time, a failure printed with the
// statement and the run going on.
#pragma once

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "client/database/database.h"
#include "joiner/console_print.h"
#include "joiner/run/join_run.h"

namespace vornel::joiner {

// printf into a string of whatever length the values need.
inline std::string format_statement(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline std::string format_statement(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  return text;
}

// A value as the body of an SQL text literal: each quote doubled, so a
// value such as O'Brien stays one value.
inline std::string quoted_literal(std::string_view value) {
  std::string quoted;
  for (const char c : value) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted;
}

// Sends one statement (request type 3, or `operation`) and returns the
// database's status.
inline std::int16_t send_statement(const std::string& statement, std::int32_t operation = 3) {
  // The request copies its reply back into the buffer: at least 32 bytes.
  std::vector<char> buffer(std::max<std::size_t>(statement.size() + 1, 32), '\0');
  std::copy(statement.begin(), statement.end(), buffer.begin());
  std::int32_t length = static_cast<std::int32_t>(statement.size() + 1);
  std::int16_t status = 0;
  db_std_request(buffer.data(), &operation, &length, &status);
  return status;
}

// Sends one statement; false, with "Error updating row", when the database
// refuses it.
inline bool send_row_update(JoinRun& run, const char* table, const std::string& statement) {
  if (send_statement(statement) == 0) return true;
  print(run.out, "\nError updating row in %s: %s", table, statement.c_str());
  return false;
}

}  // namespace vornel::joiner
