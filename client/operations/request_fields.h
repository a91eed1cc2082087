#pragma once
// What the operations share when they build a request: the design file's
// dimension, symbology defaults from the TCB, the attribute buffer, the
// extended tail, the active line style around a placement, and sending.

#include "client/connection/request_record.h"
#include "client/operations/operations.h"
#include "client/operations/request_codes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vornel::operations {

bool three_dimensional();
std::size_t coordinates_per_point();

// The symbology record as sent: the given one, or the host's active class
// and symbology from the TCB.
Symbology symbology_or_active(const Symbology* given);
void put_symbology(connection::RequestRecord& request, std::size_t offset, const Symbology& symbology);
void put_text_symbology(connection::RequestRecord& request, std::size_t offset, const TextSymbology* given);

// Linkage words of an attribute buffer as they are sent: empty for a null
// buffer, for two or more linkages behind a non-negative marker, and for a
// buffer holding a user linkage whose length breaks the rule. Sets
// `too_long` when the linkages exceed what one element can carry.
std::vector<std::uint16_t> attribute_words(const std::int16_t* attributes, bool& too_long);

// Builds a request of `base` payload bytes whose attribute area (word count,
// then the words) starts at `attribute_offset`.
connection::RequestRecord placement_request(std::int32_t code, std::size_t base, std::size_t attribute_offset,
                                            const std::vector<std::uint16_t>& words);

// The extended tail's fields, and its answer on success.
struct ExtendedArguments {
  const std::int16_t* option;
  std::int32_t* block;
  std::int16_t* byte;
  const std::int32_t* low;
  const std::int32_t* high;
  void* element;
  std::int32_t* size;
};
void put_extended_tail(connection::RequestRecord& request, const ExtendedTail& tail, const ExtendedArguments& args);
void take_extended_reply(std::span<const std::byte> reply, const ExtendedArguments& args);

// Clears the active user-defined line style while a placement with an
// explicit symbology runs, and restores it after.
class LineStyleGuard {
 public:
  explicit LineStyleGuard(bool symbology_given);
  ~LineStyleGuard();
  LineStyleGuard(const LineStyleGuard&) = delete;
  LineStyleGuard& operator=(const LineStyleGuard&) = delete;

 private:
  bool active_ = false;
  std::int32_t saved_ = 0;
};

// Bytes of a reply from `offset` that it really carries (its length field
// counts them, the buffer bounds them).
std::size_t carried_from(std::span<const std::byte> reply, std::size_t offset);

// Sends and returns the status (925 when no reply came).
int send(connection::RequestRecord& request, std::span<std::byte> reply = {});

int set_status(std::int16_t* status, int code);

}  // namespace vornel::operations
