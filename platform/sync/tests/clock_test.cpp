#include <gtest/gtest.h>

#include "platform/sync/clock.h"

using namespace std::chrono_literals;

TEST(ManualClock, SleepAdvancesTimeAndIsCounted) {
    kit::ManualClock clock(1000);
    clock.sleep(10ms);
    clock.sleep(100ms);
    clock.advance(5ms);
    EXPECT_EQ(clock.now(), 1115);
    EXPECT_EQ(clock.sleptMilliseconds(), 110);
    EXPECT_EQ(clock.sleepCount(), 2);
}

TEST(SystemClock, IsMonotonic) {
    auto& clock = kit::SystemClock::instance();
    auto before = clock.now();
    clock.sleep(2ms);
    EXPECT_GE(clock.now(), before + 2);
}
