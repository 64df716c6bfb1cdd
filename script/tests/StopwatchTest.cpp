#include "script/Stopwatch.h"

#include "platform/testing/Clock.h"

#include <gtest/gtest.h>

namespace {

TEST(StopwatchTest, MeasuresMicrosecondsFromItsConstruction) {
    platform::testing::FakeClock clock(5000);
    const Stopwatch stopwatch;
    EXPECT_EQ(stopwatch.ElapsedMicroseconds(), 0u);
    clock.Advance(1500);
    EXPECT_EQ(stopwatch.ElapsedMicroseconds(), 1500000u);
}

TEST(StopwatchTest, StaysExactOverSpansWhoseScaledCountExceedsSixtyFourBits) {
    platform::testing::FakeClock clock;
    const Stopwatch stopwatch;
    // 46 days: the count times a million no longer fits in 64 bits.
    clock.Advance(4000000000u);
    EXPECT_EQ(stopwatch.ElapsedMicroseconds(), 4000000000000u);
}

} // namespace
