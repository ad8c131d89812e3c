#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "platform/sync/event.h"
#include "platform/sync/thread.h"
#include "platform/sync/wait_any.h"

using namespace std::chrono_literals;
using kit::Event;
using kit::EventReset;

TEST(Event, AutoResetReleasesOneWaitPerSet) {
    Event event(EventReset::Auto);
    EXPECT_FALSE(event.wait(0ms));
    event.set();
    event.set();  // a second set of a set event changes nothing
    EXPECT_TRUE(event.wait(0ms));
    EXPECT_FALSE(event.wait(10ms));
}

TEST(Event, ManualResetStaysSetUntilReset) {
    Event event(EventReset::Manual, true);
    EXPECT_TRUE(event.wait(0ms));
    EXPECT_TRUE(event.wait(0ms));
    event.reset();
    EXPECT_FALSE(event.wait(0ms));
}

TEST(Event, SetFromAnotherThreadWakesAnInfiniteWait) {
    Event event(EventReset::Auto);
    kit::Thread setter([&] { event.set(); });
    EXPECT_TRUE(event.wait(kit::kInfinite));
}

TEST(Event, RacingWaitersShareAutoResetSetsExactlyOnce) {
    Event event(EventReset::Auto);
    std::atomic<int> released{0};
    {
        kit::Thread a([&] { released += event.wait(2s) ? 1 : 0; });
        kit::Thread b([&] { released += event.wait(2s) ? 1 : 0; });
        event.set();
    }
    EXPECT_EQ(released.load(), 1);
}

TEST(WaitAny, ReportsTheLowestSetEventAndConsumesOnlyIt) {
    Event first(EventReset::Auto), second(EventReset::Auto), third(EventReset::Manual);
    Event* events[] = {&first, &second, &third};
    second.set();
    third.set();
    auto result = kit::WaitAny(events, 0ms);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.index, 1u);
    EXPECT_FALSE(second.wait(0ms));
    EXPECT_TRUE(third.wait(0ms));  // manual: still set

    result = kit::WaitAny(events, 0ms);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.index, 2u);
}

TEST(WaitAny, TimesOutWhenNothingIsSet) {
    Event a(EventReset::Auto), b(EventReset::Manual);
    Event* events[] = {&a, &b};
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(kit::WaitAny(events, 30ms).timedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
    EXPECT_TRUE(kit::WaitAny(std::span<Event* const>{}, 0ms).timedOut);
}

TEST(Thread, JoiningFromItselfIsRefusedNotDeadlocked) {
    kit::Thread* self = nullptr;
    std::atomic<bool> refused{false};
    kit::Event ready(EventReset::Manual);
    kit::Thread thread([&] {
        (void)ready.wait(kit::kInfinite);
        refused = !self->join();
    });
    self = &thread;
    ready.set();
    EXPECT_TRUE(thread.join());
    EXPECT_TRUE(refused.load());
}
