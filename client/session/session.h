#pragma once
// Opening and closing a design file through the design host, reading TCB
// variables by name, and the status texts. Every operation takes its
// arguments by address and ends with a status word it also returns.

#include <cstdint>

namespace vornel {

// Opens the design file: finds, joins or starts the host, sends the open
// request and loads the TCB variable table. Arguments: (ignored, design file
// name, third word, cell library or null, translation mode, ignored, status,
// ignored).
int indfpi(const void* ignored1, const char* design_file, const std::int16_t* third_word,
           const char* cell_library, const std::int16_t* translation_mode, const void* ignored2,
           std::int16_t* status, const void* ignored3);

// Closes the design file; returns 0 and does nothing when none is open.
int dedfpi(const std::int16_t* word);

// Copies TCB variable `name` into `destination`: its size in bytes, or
// 2 * *max_words when that is smaller.
int rdtcbasc(const char* name, const std::int16_t* max_words, void* destination, std::int16_t* status);

// Stores `code` in the status word (when given) and returns it.
int setstat(std::int16_t* status, int code);

// "ERROR (%d): " and the message of the status; empty for 0. `text` holds 80
// characters.
void get_error(char* text, const std::int16_t* status);
// Prints the get_error text and a newline.
void prt_error(const std::int16_t* status);

// Reads the host's configuration variable `name` into `buffer` of `*size`
// bytes (always NUL-terminated).
int host_config_variable(const char* name, char* buffer, const std::int16_t* size, std::int16_t* status);

}  // namespace vornel
