#pragma once
// Request and reply records exchanged with the design host.
// Request: type 100, payload length, sender's process id, request code,
// then the payload. Reply: type 101, length, sender, code, 32-bit status at
// offset 16 and reply data from offset 24.

#include "client/connection/wire.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vornel::connection {

inline constexpr std::int32_t kRequestType = 100;
inline constexpr std::int32_t kReplyType = 101;
inline constexpr std::size_t kRecordHead = 16;
inline constexpr std::size_t kReplyStatusOffset = 16;
inline constexpr std::size_t kReplyDataOffset = 24;
inline constexpr std::size_t kReplyBufferBytes = 8232;
inline constexpr std::size_t kMaxMessageBytes = 128 * 256;

// Request codes handled so far.
enum RequestCode : std::int32_t {
  kOpenRequest = 1,
  kCloseRequest = 2,
  kFlushRequest = 62,
  kConnectRequest = 63,
  kConfigVariableRequest = 134,
};

class RequestRecord {
 public:
  RequestRecord(std::int32_t code, std::size_t payload_length) : bytes_(kRecordHead + payload_length) {
    wire::store(bytes(), 0, kRequestType);
    wire::store(bytes(), 4, static_cast<std::int32_t>(payload_length));
    wire::store(bytes(), 12, code);
  }
  std::span<std::byte> bytes() { return bytes_; }
  std::span<const std::byte> bytes() const { return bytes_; }
  std::int32_t code() const { return wire::load<std::int32_t>(bytes_, 12); }

  template <class T>
  void put(std::size_t offset, T value) { wire::store(bytes(), offset, value); }
  void put_text(std::size_t offset, std::size_t width, std::string_view text) {
    wire::store_text(bytes(), offset, width, text);
  }

 private:
  std::vector<std::byte> bytes_;
};

using ReplyBuffer = std::array<std::byte, kReplyBufferBytes>;

inline std::int32_t reply_status(std::span<const std::byte> reply) {
  return wire::load<std::int32_t>(reply, kReplyStatusOffset);
}

}  // namespace vornel::connection
