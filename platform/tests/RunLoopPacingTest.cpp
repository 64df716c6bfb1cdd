#include "platform/win32/windows/RunLoopPacing.h"

#include "platform/tests/RecordingWindow.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/kernel/Time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

namespace win32::tests {
namespace {

constexpr std::uint64_t kMillisecond = 1000000;

std::uint64_t Now() {
    return seam::ClockNanoseconds();
}

// The end of a step on the host clock, with the window system on the headless backend and no message waiting.
class RunLoopPacingTest : public WindowSystemTest {
protected:
    // A moment at least the time before the next blank: the sleep has room to end sooner.
    static std::uint64_t WellBeforeABlank(std::uint64_t room) {
        for (;;) {
            const std::uint64_t now = Now();
            if (video::NextBlankNanoseconds(now) - now >= room) {
                return now;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
};

TEST_F(RunLoopPacingTest, AStepThatWaitedForNoBlankSleepsUntilTheNextOne) {
    EndRunLoopStep();
    for (int step = 0; step < 3; ++step) {
        const std::uint64_t blank = video::NextBlankNanoseconds(WellBeforeABlank(2 * kMillisecond));
        EndRunLoopStep();
        EXPECT_GE(Now(), blank) << "step " << step;
    }
}

TEST_F(RunLoopPacingTest, ABlankWaitedForOnAnotherThreadDoesNotSpareTheStepItsSleep) {
    EndRunLoopStep();
    // The busy cursor's thread waits for blanks while the main thread's steps run.
    std::thread([] { video::WaitForVerticalBlank(video::BlankWait::End); }).join();
    const std::uint64_t blank = video::NextBlankNanoseconds(WellBeforeABlank(2 * kMillisecond));
    EndRunLoopStep();
    EXPECT_GE(Now(), blank);
}

TEST_F(RunLoopPacingTest, AFrameTimerThatTicksBeforeTheBlankEndsTheSleepThen) {
    EndRunLoopStep();
    // Ending before the blank can only come from the tick; a slow machine may miss it now and then.
    int endedBeforeTheBlank = 0;
    for (int step = 0; step < 5; ++step) {
        const std::uint64_t start = WellBeforeABlank(12 * kMillisecond);
        const std::uint64_t tick = (start / kMillisecond + 2) * kMillisecond;
        RunLoopStepDueWithin(2);
        RunLoopStepDueWithin(6);
        EndRunLoopStep();
        const std::uint64_t ended = Now();
        EXPECT_GE(ended, tick) << "step " << step;
        endedBeforeTheBlank += ended < video::NextBlankNanoseconds(start) ? 1 : 0;
    }
    EXPECT_GE(endedBeforeTheBlank, 1);
    // Forgotten with its step: the next sleeps until the blank.
    const std::uint64_t blank = video::NextBlankNanoseconds(WellBeforeABlank(2 * kMillisecond));
    EndRunLoopStep();
    EXPECT_GE(Now(), blank);
}

TEST_F(RunLoopPacingTest, AFrameTimerAlreadyDueSparesTheStepItsSleep) {
    EndRunLoopStep();
    const std::uint64_t start = WellBeforeABlank(12 * kMillisecond);
    RunLoopStepDueWithin(0);
    EndRunLoopStep();
    EXPECT_LT(Now(), video::NextBlankNanoseconds(start));
}

} // namespace
} // namespace win32::tests
