#pragma once
// The message queue as it lies in shared memory: 32 attachment slots, a free
// list of 128 blocks of 256 bytes, and up to 128 message descriptors in
// arrival order. QueueImage works on the bytes only; the caller holds the
// queue mutex around every call.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vornel::connection {

inline constexpr std::size_t kQueueBytes = 35468;
inline constexpr int kAttachmentSlots = 32;
inline constexpr int kMaxMessages = 128;
inline constexpr int kBlockCount = 128;
inline constexpr std::size_t kBlockData = 256;
inline constexpr std::size_t kBlockBytes = 264;  // next index, 4 unused bytes, data

inline constexpr std::size_t kSlotsOffset = 0;
inline constexpr std::size_t kFreeHeadOffset = 128;
inline constexpr std::size_t kMessageCountOffset = 132;
inline constexpr std::size_t kNextIdOffset = 136;
inline constexpr std::size_t kDescriptorsOffset = 140;
inline constexpr std::size_t kDescriptorBytes = 12;  // first block, length, type
inline constexpr std::size_t kBlocksOffset = 1676;
static_assert(kBlocksOffset + kBlockCount * kBlockBytes == kQueueBytes);

class QueueImage {
 public:
  explicit QueueImage(std::span<std::byte> bytes) : bytes_(bytes) {}

  // Empty queue: free list 0 -> 1 -> ... -> 127, no messages, next id 1,
  // no attachments.
  void initialise();

  // Appends a message whose type is its first 32-bit field.
  // 0, kQueueFull or kNoFreeBlocks; a failed post changes nothing.
  int post(std::span<const std::byte> message);
  // Removes the first message of `wanted_type` (0: any) into `buffer`.
  // 0, kNoMessage, or kMessageTooLong (the message stays queued).
  int take(std::span<std::byte> buffer, std::int32_t wanted_type, std::size_t* length);

  // True when a message of `type` (0: any) is queued.
  bool has_message(std::int32_t type) const;

  // True when counts, indices and chains are all in range and the free list
  // and the message chains together cover each block exactly once.
  bool consistent() const;
  // Drops every message and rebuilds the free list; keeps the attachments.
  // Used after a process died while holding the mutex mid-change.
  void discard_messages();

  std::int32_t slot(int index) const;
  void set_slot(int index, std::int32_t id);
  std::int32_t take_attachment_id();  // returns the next id and advances it
  int message_count() const;
  std::int32_t free_head() const;
  std::int32_t next_block(std::int32_t block) const;

 private:
  std::int32_t i32(std::size_t offset) const;
  void set_i32(std::size_t offset, std::int32_t value);
  std::size_t descriptor(int index) const { return kDescriptorsOffset + kDescriptorBytes * index; }
  std::size_t block(std::int32_t index) const { return kBlocksOffset + kBlockBytes * index; }

  std::span<std::byte> bytes_;
};

}  // namespace vornel::connection
