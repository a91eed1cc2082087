#include "client/connection/queue_image.h"

#include "client/connection/status_codes.h"
#include "client/connection/wire.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vornel::connection {

std::int32_t QueueImage::i32(std::size_t offset) const { return wire::load<std::int32_t>(bytes_, offset); }
void QueueImage::set_i32(std::size_t offset, std::int32_t value) { wire::store(bytes_, offset, value); }

std::int32_t QueueImage::slot(int index) const { return i32(kSlotsOffset + 4 * index); }
void QueueImage::set_slot(int index, std::int32_t id) { set_i32(kSlotsOffset + 4 * index, id); }
int QueueImage::message_count() const { return i32(kMessageCountOffset); }
std::int32_t QueueImage::free_head() const { return i32(kFreeHeadOffset); }
std::int32_t QueueImage::next_block(std::int32_t index) const { return i32(block(index)); }

std::int32_t QueueImage::take_attachment_id() {
  std::int32_t id = i32(kNextIdOffset);
  if (id <= 0) id = 1;
  set_i32(kNextIdOffset, id + 1);
  return id;
}

void QueueImage::initialise() {
  std::fill(bytes_.begin(), bytes_.end(), std::byte{0});
  discard_messages();
  set_i32(kNextIdOffset, 1);
}

void QueueImage::discard_messages() {
  for (std::int32_t i = 0; i < kBlockCount; ++i) set_i32(block(i), i + 1 < kBlockCount ? i + 1 : -1);
  set_i32(kFreeHeadOffset, 0);
  set_i32(kMessageCountOffset, 0);
}

int QueueImage::post(std::span<const std::byte> message) {
  if (message_count() >= kMaxMessages) return status::kQueueFull;
  const std::size_t length = message.size();
  const std::size_t needed = std::max<std::size_t>(1, (length + kBlockData - 1) / kBlockData);

  // Walk the free list first so that a failure leaves the queue untouched.
  std::int32_t last = -1;
  std::int32_t current = free_head();
  for (std::size_t taken = 0; taken < needed; ++taken) {
    if (current < 0 || current >= kBlockCount) return status::kNoFreeBlocks;
    last = current;
    current = next_block(current);
  }
  const std::int32_t first = free_head();
  const int index = message_count();
  set_i32(descriptor(index), first);
  set_i32(descriptor(index) + 4, static_cast<std::int32_t>(length));
  set_i32(descriptor(index) + 8, wire::load<std::int32_t>(message, 0));
  set_i32(kFreeHeadOffset, current);
  set_i32(block(last), -1);

  std::size_t copied = 0;
  for (std::int32_t b = first; b >= 0 && copied < length; b = next_block(b)) {
    std::size_t part = std::min(kBlockData, length - copied);
    std::memcpy(bytes_.data() + block(b) + 8, message.data() + copied, part);
    copied += part;
  }
  set_i32(kMessageCountOffset, index + 1);
  return 0;
}

int QueueImage::take(std::span<std::byte> buffer, std::int32_t wanted_type, std::size_t* length) {
  const int count = std::clamp(message_count(), 0, kMaxMessages);
  int found = -1;
  for (int i = 0; i < count && found < 0; ++i)
    if (wanted_type == 0 || i32(descriptor(i) + 8) == wanted_type) found = i;
  if (found < 0) return status::kNoMessage;

  const std::int32_t first = i32(descriptor(found));
  const auto message_length = static_cast<std::size_t>(std::max(0, i32(descriptor(found) + 4)));
  if (message_length > buffer.size()) return status::kMessageTooLong;

  std::size_t copied = 0;
  std::int32_t last = first;
  for (std::int32_t b = first; b >= 0 && b < kBlockCount; b = next_block(b)) {
    std::size_t part = std::min(kBlockData, message_length - copied);
    std::memcpy(buffer.data() + copied, bytes_.data() + block(b) + 8, part);
    copied += part;
    last = b;
  }
  if (length != nullptr) *length = message_length;

  set_i32(block(last), free_head());
  set_i32(kFreeHeadOffset, first);
  std::memmove(bytes_.data() + descriptor(found), bytes_.data() + descriptor(found + 1),
               kDescriptorBytes * static_cast<std::size_t>(count - found - 1));
  set_i32(kMessageCountOffset, count - 1);
  return 0;
}

bool QueueImage::has_message(std::int32_t type) const {
  const int count = std::clamp(message_count(), 0, kMaxMessages);
  for (int i = 0; i < count; ++i)
    if (type == 0 || i32(descriptor(i) + 8) == type) return true;
  return false;
}

bool QueueImage::consistent() const {
  const int count = message_count();
  if (count < 0 || count > kMaxMessages) return false;
  std::array<bool, kBlockCount> seen{};
  // Follows a chain, marking its blocks; fails on a bad index or a block seen twice.
  auto walk = [&](std::int32_t start, std::size_t* blocks) {
    std::size_t n = 0;
    for (std::int32_t b = start; b != -1; b = next_block(b)) {
      if (b < 0 || b >= kBlockCount || seen[b]) return false;
      seen[b] = true;
      ++n;
    }
    if (blocks != nullptr) *blocks = n;
    return true;
  };
  if (!walk(free_head(), nullptr)) return false;
  for (int i = 0; i < count; ++i) {
    std::size_t blocks = 0;
    const std::int32_t length = i32(descriptor(i) + 4);
    if (length < 0 || !walk(i32(descriptor(i)), &blocks)) return false;
    if (blocks != std::max<std::size_t>(1, (static_cast<std::size_t>(length) + kBlockData - 1) / kBlockData))
      return false;
  }
  return std::all_of(seen.begin(), seen.end(), [](bool b) { return b; });
}

}  // namespace vornel::connection
