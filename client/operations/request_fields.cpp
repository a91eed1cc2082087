#include "client/operations/request_fields.h"

#include "client/connection/host_connection.h"
#include "client/connection/tcb_layout.h"
#include "client/connection/wire.h"

#include <algorithm>
#include <cstring>

namespace vornel::operations {

namespace {

constexpr std::uint16_t kUserLinkageBit = 0x1000;
// No element holds more linkage words than this.
constexpr std::size_t kMaxLinkageWords = 768;

template <class T>
T tcb_value(std::size_t offset) {
  return wire::load<T>(connection::tcb_bytes(), offset);
}

}  // namespace

bool three_dimensional() { return tcb_value<std::int16_t>(tcb::kDimension) == 3; }
std::size_t coordinates_per_point() { return three_dimensional() ? 3 : 2; }

Symbology symbology_or_active(const Symbology* given) {
  if (given != nullptr) return *given;
  const auto active = tcb_value<std::uint32_t>(tcb::kActiveSymbology);
  Symbology s;
  s.element_class = tcb_value<std::uint16_t>(tcb::kActiveClass) & 0x0F;
  s.style = static_cast<std::int16_t>(active & 0x7);
  s.weight = static_cast<std::int16_t>((active >> 3) & 0x1F);
  s.color = static_cast<std::int16_t>((active >> 8) & 0xFF);
  return s;
}

void put_symbology(connection::RequestRecord& request, std::size_t offset, const Symbology& s) {
  request.put(offset, s.element_class);
  request.put(offset + 4, s.style);
  request.put(offset + 6, s.weight);
  request.put(offset + 8, s.color);
}

void put_text_symbology(connection::RequestRecord& request, std::size_t offset, const TextSymbology* given) {
  const TextSymbology s = given != nullptr ? *given : TextSymbology{symbology_or_active(nullptr), 0, 0};
  put_symbology(request, offset, s.symbology);
  request.put(offset + kSymbologyBytes, s.word1);
  request.put(offset + kSymbologyBytes + 2, s.word2);
}

std::vector<std::uint16_t> attribute_words(const std::int16_t* attributes, bool& too_long) {
  too_long = false;
  if (attributes == nullptr) return {};
  const std::int16_t count = attributes[0];
  const std::int16_t marker = attributes[1];
  if (count <= 0 || (count >= 2 && marker >= 0)) return {};
  std::vector<std::uint16_t> words;
  const auto* at = reinterpret_cast<const std::uint16_t*>(attributes + 2);
  for (int k = 0; k < count; ++k) {
    const std::uint16_t header = *at;
    std::size_t length = 4;
    if ((header & kUserLinkageBit) != 0) {
      const std::size_t low = header & 0xFF;
      if (low % 4 != 3) return {};  // a broken user linkage spoils the buffer
      length = low + 1;
    }
    if (words.size() + length > kMaxLinkageWords) {
      too_long = true;
      return {};
    }
    words.insert(words.end(), at, at + length);
    at += length;
  }
  return words;
}

connection::RequestRecord placement_request(std::int32_t code, std::size_t base, std::size_t attribute_offset,
                                            const std::vector<std::uint16_t>& words) {
  // The record always reaches past the attribute area, whatever the base.
  const std::size_t payload = std::max(base, attribute_offset + 2 - connection::kRecordHead) + 2 * words.size();
  connection::RequestRecord request(code, payload);
  request.put(attribute_offset, static_cast<std::int16_t>(words.size()));
  for (std::size_t i = 0; i < words.size(); ++i) request.put(attribute_offset + 2 + 2 * i, words[i]);
  return request;
}

void put_extended_tail(connection::RequestRecord& request, const ExtendedTail& tail, const ExtendedArguments& args) {
  if (!three_dimensional()) {
    request.put(tail.low, args.low != nullptr ? *args.low : std::int32_t{-2147483647 - 1});
    request.put(tail.high, args.high != nullptr ? *args.high : std::int32_t{2147483647});
  }
  request.put(tail.option, args.option != nullptr ? *args.option : std::int16_t{0});
  PositionWords where;
  if (args.block != nullptr && args.byte != nullptr && !(*args.block == -1 && *args.byte == -1)) {
    where.block = static_cast<std::uint16_t>(*args.block & 0xFFFF);
    where.byte = static_cast<std::uint16_t>((*args.byte & 0x1FF) | (((*args.block >> 16) & 0x7F) << 9));
  }
  request.put(tail.block, where.block);
  request.put(tail.byte, where.byte);
  const bool wants_element = args.element != nullptr && args.size != nullptr;
  request.put(tail.return_flag, static_cast<std::int16_t>(wants_element ? 1 : 0));
  const std::int32_t size = args.size != nullptr ? *args.size : 0;
  if (tail.size_is_word) request.put(tail.size, static_cast<std::int16_t>(std::clamp(size, 0, 32767)));
  else request.put(tail.size, size);
}

void take_extended_reply(std::span<const std::byte> reply, const ExtendedArguments& args) {
  const PositionWords where{wire::load<std::uint16_t>(reply, kReplyBlock), wire::load<std::uint16_t>(reply, kReplyByte)};
  if (args.block != nullptr) *args.block = block_of(where);
  if (args.byte != nullptr) *args.byte = static_cast<std::int16_t>(where.byte & 0x1FF);
  if (args.element == nullptr || args.size == nullptr) return;
  // Never more than the caller's buffer holds, nor than the reply carries.
  const auto count = wire::load<std::int32_t>(reply, kReplyElementBytes);
  const std::size_t room = static_cast<std::size_t>(std::max(*args.size, 0));
  const std::size_t carried = carried_from(reply, kReplyElement);
  const std::size_t copied = std::min({static_cast<std::size_t>(std::max(count, 0)), room, carried});
  std::memcpy(args.element, reply.data() + kReplyElement, copied);
  *args.size = static_cast<std::int32_t>(copied);
}

LineStyleGuard::LineStyleGuard(bool symbology_given) : active_(symbology_given && !connection::tcb_bytes().empty()) {
  if (!active_) return;
  saved_ = tcb_value<std::int32_t>(tcb::kLineStyle);
  wire::store(connection::tcb_bytes(), tcb::kLineStyle, std::int32_t{0});
}

LineStyleGuard::~LineStyleGuard() {
  if (active_) wire::store(connection::tcb_bytes(), tcb::kLineStyle, saved_);
}

std::size_t carried_from(std::span<const std::byte> reply, std::size_t offset) {
  const auto length = connection::kRecordHead + static_cast<std::size_t>(std::max(wire::load<std::int32_t>(reply, 4), 0));
  const std::size_t end = std::min(reply.size(), length);
  return end > offset ? end - offset : 0;
}

int send(connection::RequestRecord& request, std::span<std::byte> reply) {
  return connection::send_crc(request, reply, false);
}

int set_status(std::int16_t* status, int code) {
  if (status != nullptr) *status = static_cast<std::int16_t>(code);
  return code;
}

}  // namespace vornel::operations
