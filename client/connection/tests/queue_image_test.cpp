#include "client/connection/queue_image.h"

#include "client/connection/status_codes.h"
#include "client/connection/wire.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace vornel::connection {
namespace {

std::vector<std::byte> message(std::size_t length, std::int32_t type, std::uint8_t fill = 0x11) {
  std::vector<std::byte> bytes(length, std::byte{fill});
  wire::store(std::span(bytes), 0, type);
  return bytes;
}

class QueueImageTest : public ::testing::Test {
 protected:
  QueueImageTest() { queue.initialise(); }
  std::vector<std::byte> memory = std::vector<std::byte>(kQueueBytes, std::byte{0xee});
  QueueImage queue{memory};
};

TEST_F(QueueImageTest, NewQueueHasWholeFreeListAndNoMessages) {
  EXPECT_EQ(queue.message_count(), 0);
  EXPECT_EQ(queue.free_head(), 0);
  for (int b = 0; b < kBlockCount - 1; ++b) ASSERT_EQ(queue.next_block(b), b + 1);
  EXPECT_EQ(queue.next_block(kBlockCount - 1), -1);
  EXPECT_EQ(queue.take_attachment_id(), 1);
  EXPECT_EQ(queue.take_attachment_id(), 2);
  EXPECT_TRUE(queue.consistent());
}

TEST_F(QueueImageTest, BlocksTakenFollowMessageLength) {
  struct Case {
    std::size_t length;
    int free_head_after;
  } cases[] = {{16, 1}, {256, 1}, {257, 2}, {300, 2}, {32768, -1}};
  for (const Case& c : cases) {
    queue.initialise();
    ASSERT_EQ(queue.post(message(c.length, 100)), 0) << c.length;
    EXPECT_EQ(queue.free_head(), c.free_head_after) << c.length;
    EXPECT_TRUE(queue.consistent()) << c.length;
  }
}

TEST_F(QueueImageTest, PostFailuresLeaveQueueUnchanged) {
  EXPECT_EQ(queue.post(message(33000, 100)), status::kNoFreeBlocks);
  EXPECT_EQ(queue.message_count(), 0);
  EXPECT_EQ(queue.free_head(), 0);

  for (int i = 0; i < kMaxMessages; ++i) ASSERT_EQ(queue.post(message(16, 100)), 0);
  std::vector<std::byte> before = memory;
  EXPECT_EQ(queue.post(message(16, 100)), status::kQueueFull);
  EXPECT_EQ(memory, before);

  // Full of blocks (not of messages): 127 single blocks, then a two-block message.
  queue.initialise();
  for (int i = 0; i < 127; ++i) ASSERT_EQ(queue.post(message(16, 100)), 0);
  before = memory;
  EXPECT_EQ(queue.post(message(300, 100)), status::kNoFreeBlocks);
  EXPECT_EQ(memory, before);
}

TEST_F(QueueImageTest, TakeReturnsMessagesInOrderAndByType) {
  auto request = message(600, 100, 0x21);
  auto reply = message(40, 101, 0x42);
  auto second_request = message(20, 100, 0x63);
  for (auto* m : {&request, &reply, &second_request}) wire::store(std::span(*m), 0, wire::load<std::int32_t>(*m, 0));
  ASSERT_EQ(queue.post(request), 0);
  ASSERT_EQ(queue.post(reply), 0);
  ASSERT_EQ(queue.post(second_request), 0);

  std::array<std::byte, 1024> buffer{};
  std::size_t length = 0;
  ASSERT_EQ(queue.take(buffer, 101, &length), 0);
  EXPECT_EQ(length, 40u);
  EXPECT_TRUE(std::equal(reply.begin(), reply.end(), buffer.begin()));
  ASSERT_EQ(queue.take(buffer, 0, &length), 0);
  EXPECT_EQ(length, 600u);
  EXPECT_TRUE(std::equal(request.begin(), request.end(), buffer.begin())) << "spans three blocks";
  EXPECT_EQ(queue.take(buffer, 101, &length), status::kNoMessage);
  ASSERT_EQ(queue.take(buffer, 100, &length), 0);
  EXPECT_EQ(length, 20u);
  EXPECT_EQ(queue.message_count(), 0);
  EXPECT_TRUE(queue.consistent()) << "every block is back on the free list";
}

TEST_F(QueueImageTest, MessageLongerThanBufferStaysQueued) {
  ASSERT_EQ(queue.post(message(300, 101)), 0);
  std::array<std::byte, 256> small{};
  EXPECT_EQ(queue.take(small, 101, nullptr), status::kMessageTooLong);
  EXPECT_EQ(queue.message_count(), 1);
  std::array<std::byte, 300> exact{};
  EXPECT_EQ(queue.take(exact, 101, nullptr), 0);
}

TEST_F(QueueImageTest, DamageIsDetectedAndDiscarded) {
  ASSERT_EQ(queue.post(message(300, 100)), 0);
  // A writer that died between unlinking its blocks and writing the descriptor.
  wire::store(std::span(memory), kMessageCountOffset, std::int32_t{2});
  EXPECT_FALSE(queue.consistent());
  queue.set_slot(3, 7);
  queue.discard_messages();
  EXPECT_TRUE(queue.consistent());
  EXPECT_EQ(queue.message_count(), 0);
  EXPECT_EQ(queue.slot(3), 7) << "attachments survive";

  wire::store(std::span(memory), kFreeHeadOffset, std::int32_t{500});
  EXPECT_FALSE(queue.consistent());
}

}  // namespace
}  // namespace vornel::connection
