// The scripted run's clock held while a hosted engine is busy: neither the main thread's sleeps nor the ends
// of application steps move it then, and it moves again as soon as the engine is done.
#include "platform/win32/headless/HeadlessRunClock.h"
#include "platform/win32/input/HeadlessRun.h"

#include <gtest/gtest.h>

namespace win32::tests {
namespace {

TEST(HeadlessRunClockTest, ABusyEngineHoldsTheClockOfAWaitUntilItIsDone) {
    bool busy = true;
    HoldScriptedClockWhile([&busy] { return busy; });
    {
        HeadlessRunClock clock;
        clock.BeginWait(100);
        clock.Sleep(30);
        clock.EndOfStep();
        EXPECT_EQ(clock.NowMilliseconds(), 0U);
        EXPECT_TRUE(clock.Waiting());
        busy = false;
        clock.Sleep(30);
        clock.EndOfStep();
        EXPECT_EQ(clock.NowMilliseconds(), 30U);
        clock.EndOfStep();
        EXPECT_EQ(clock.NowMilliseconds(), 31U) << "a step that moved nothing moves it by 1 ms";
    }
    HoldScriptedClockWhile(nullptr);
}

} // namespace
} // namespace win32::tests
