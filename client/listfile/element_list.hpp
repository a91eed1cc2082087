#pragma once
// Element list files: records naming elements of design files by position.
//
// Up to three list files are open at a time (file identifiers 0, 1, 2).
// Every operation stores its status in the last argument and returns it.

#include <cstdint>

namespace vornel::client {

// Statuses.
inline constexpr std::int16_t kUlfOk = 0;
inline constexpr std::int16_t kUlfReadError = 1;
inline constexpr std::int16_t kUlfBadFileId = 2;
inline constexpr std::int16_t kUlfEndOfList = 3;
inline constexpr std::int16_t kUlfTruncated = 4;
inline constexpr std::int16_t kUlfBadSelector = 5;
inline constexpr std::int16_t kUlfNoReference = 6;
inline constexpr std::int16_t kUlfNoFreeSlot = 9;

// Record types.
inline constexpr int kUlfFileSpecification = 2;
inline constexpr int kUlfElementReference = 5;
inline constexpr int kUlfEnd = 127;

// Finds `name` (default extension ".ulf", search list MS_DEF) and opens it
// read-only. Status 9 when three files are open, the negated system error
// when it cannot be opened.
std::int16_t io_ulfopr(std::int16_t* file_id, const char* name, std::int16_t* status);

// Stores `count` record types (one byte each, read through `type_list`
// whenever records are selected) as type list `selector` (0-2). Only type
// list 0 selects records.
std::int16_t io_ulfcri(const std::int16_t* file_id, const std::int16_t* selector,
                       const std::int16_t* count, const std::uint8_t* type_list,
                       std::int16_t* status);

// Copies the next record that passes type list 0 (at most `max_bytes`).
std::int16_t io_ulfget(const std::int16_t* file_id, const std::int32_t* max_bytes,
                       std::uint8_t* record, std::int16_t* status);

// Reads the element an element reference record names, in memory form.
// A failure of the design-file reader stores status 1 and returns the
// reader's status.
std::int16_t io_ulfgte(const std::int16_t* file_id, const std::uint8_t* reference,
                       const std::int32_t* max_words, std::uint16_t* element,
                       std::int16_t* status);

std::int16_t io_ulfcls(const std::int16_t* file_id, std::int16_t* status);

}  // namespace vornel::client
