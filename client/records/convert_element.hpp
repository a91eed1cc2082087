#pragma once
// Conversion of one element record between its file form and memory form.

#include <cstddef>
#include <cstdint>
#include <span>

#include "client/records/element_header.hpp"

namespace vornel::client {

// File form -> memory form. `file` holds the bytes available from the start
// of the element; bytes of the record that it lacks read as zero, and at most
// 1536 bytes (words-to-follow 766) of the record are taken. Writes at most
// memory.size() bytes and returns the size in bytes of the whole memory-form
// record, (memory words-to-follow + 2) x 2, which may exceed what was written.
std::size_t file_to_memory(std::span<const std::uint8_t> file, std::span<std::uint8_t> memory,
                           Dimension dimension);

// Memory form -> file form, the inverse of file_to_memory. Returns the size in
// bytes of the whole file-form record.
std::size_t memory_to_file(std::span<const std::uint8_t> memory, std::span<std::uint8_t> file,
                           Dimension dimension);

// Words-to-follow of the memory form for a file-form record and back.
std::uint16_t memory_words_to_follow(std::uint16_t first_word, std::uint16_t file_words_to_follow,
                                     Dimension dimension);

}  // namespace vornel::client
