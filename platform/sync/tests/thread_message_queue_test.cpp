#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/sync/thread.h"
#include "platform/sync/thread_message_queue.h"
#include "platform/sync/wait_any.h"

using namespace std::chrono_literals;

TEST(ThreadMessageQueue, DeliversInOrderAcrossThreads) {
    kit::ThreadMessageQueue queue;
    std::vector<std::uint32_t> seen;
    kit::Thread worker([&] {
        for (;;) {
            auto message = queue.get(kit::kInfinite);
            if (!message || message->id == 0) return;
            seen.push_back(message->id);
        }
    });
    for (std::uint32_t id = 1; id <= 100; ++id) ASSERT_TRUE(queue.post({id, id, -static_cast<std::intptr_t>(id)}));
    ASSERT_TRUE(queue.post({0, 0, 0}));
    worker.join();
    ASSERT_EQ(seen.size(), 100u);
    for (std::uint32_t i = 0; i < 100; ++i) EXPECT_EQ(seen[i], i + 1);
}

TEST(ThreadMessageQueue, EmptyQueueTimesOutAndFullQueueRefuses) {
    kit::ThreadMessageQueue queue(2);
    EXPECT_FALSE(queue.get(10ms).has_value());
    EXPECT_TRUE(queue.post({1, 0, 0}));
    EXPECT_TRUE(queue.post({2, 0, 0}));
    EXPECT_FALSE(queue.post({3, 0, 0}));
    EXPECT_EQ(queue.size(), 2u);
}

TEST(ThreadMessageQueue, ReadyEventFollowsTheContents) {
    kit::ThreadMessageQueue queue;
    kit::Event* events[] = {&queue.readyEvent()};
    EXPECT_TRUE(kit::WaitAny(events, 0ms).timedOut);
    ASSERT_TRUE(queue.post({7, 0, 0}));
    EXPECT_FALSE(kit::WaitAny(events, 0ms).timedOut);
    EXPECT_EQ(queue.get(0ms)->id, 7u);
    EXPECT_TRUE(kit::WaitAny(events, 0ms).timedOut);
}
