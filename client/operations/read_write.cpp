// Reading, rewriting and deleting elements at their positions.

#include "client/connection/wire.h"
#include "client/operations/request_fields.h"

#include <algorithm>
#include <cstring>

namespace vornel {

using namespace operations;

namespace {

// Elements in memory form are at most 768 file words plus their growth.
constexpr std::size_t kMaxRecordBytes = 2048;

PositionWords words_of(const std::int32_t* block, const std::int16_t* byte) {
  const std::int32_t b = block != nullptr ? *block : 0;
  const std::int16_t y = byte != nullptr ? *byte : 0;
  return {static_cast<std::uint16_t>(b & 0xFFFF), static_cast<std::uint16_t>((y & 0x1FF) | (((b >> 16) & 0x7F) << 9))};
}

std::size_t record_bytes(std::span<const std::byte> reply, std::size_t element_offset) {
  return 2 * (std::size_t{wire::load<std::uint16_t>(reply, element_offset + 2)} + 2);
}

}  // namespace

int rddfpi(const std::int32_t* block, const std::int16_t* byte, const std::int16_t* raw, std::uint16_t* record,
           std::int16_t* status) {
  const PositionWords where = words_of(block, byte);
  connection::RequestRecord request(kReadElement, 8);
  request.put(16, where.block);
  request.put(18, where.byte);
  const std::int16_t raw_flag = raw != nullptr ? *raw : 0;
  request.put(20, raw_flag);
  connection::ReplyBuffer reply;
  const int result = send(request, reply);
  if (result != 0 || record == nullptr) return set_status(status, result);
  const auto first = wire::load<std::uint16_t>(reply, 24);
  record[0] = first;
  record[1] = wire::load<std::uint16_t>(reply, 26);
  record[2] = wire::load<std::uint16_t>(reply, 28);
  const std::size_t wanted = raw_flag != 0 ? (first >= 2 ? std::size_t{first} * 2 - 4 : 0) : record_bytes(reply, 32);
  const std::size_t copied = std::min({wanted, carried_from(reply, 32), kMaxRecordBytes});
  std::memcpy(record + 4, reply.data() + 32, copied);
  return set_status(status, result);
}

int ms_read_element(std::uint16_t* element, const std::int32_t* file, const std::int32_t* position) {
  connection::RequestRecord request(kReadElementAt, 8);
  request.put(16, file != nullptr ? *file : 0);
  request.put(20, position != nullptr ? *position : 0);
  connection::ReplyBuffer reply;
  const int result = send(request, reply);
  if (result != 0 || element == nullptr) return result;
  const std::size_t copied = std::min({record_bytes(reply, 24), carried_from(reply, 24), kMaxRecordBytes});
  std::memcpy(element, reply.data() + 24, copied);
  return 0;
}

int ms_write_element(const std::uint16_t* element, const std::int32_t* file, const std::int32_t* position) {
  if (element == nullptr) return 934;
  const std::size_t bytes = 2 * (std::size_t{element[1]} + 2);
  if (bytes > kMaxRecordBytes) return 934;  // no element is that long
  connection::RequestRecord request(kWriteElementAt, 8 + bytes);
  request.put(16, file != nullptr ? *file : 0);
  request.put(20, position != nullptr ? *position : 0);
  std::memcpy(request.bytes().data() + 24, element, bytes);
  return send(request);
}

int delete_element(const std::int32_t* block, const std::int16_t* byte, const std::int16_t* flags,
                   std::int16_t* status) {
  const PositionWords where = words_of(block, byte);
  connection::RequestRecord request(kDeleteElement, 6);
  request.put(16, where.block);
  request.put(18, where.byte);
  const bool raw = flags != nullptr && (*flags & 0x4000) != 0;
  request.put(20, static_cast<std::int16_t>(raw ? 0 : 1));
  return set_status(status, send(request));
}

}  // namespace vornel
