#include "platform/win32/windows/RunLoopPacing.h"

#include "platform/tests/RecordingWindow.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/kernel/Time.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

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

// A guest's main loop, watched: each step drains it, and a descriptor it waits on ends the sleep.
class WatchedGuest final : public RunLoopGuest {
public:
    explicit WatchedGuest(int descriptor) : m_descriptor(descriptor) {}

    void Drain() override { ++drains; }
    int PrepareWait(std::vector<Descriptor>& descriptors) override {
        descriptors.push_back(Descriptor{m_descriptor, POLLIN, 0});
        return -1;
    }
    void FinishWait(const std::vector<Descriptor>& descriptors) override {
        ++waits;
        seen = descriptors.size() == 1 ? descriptors[0].revents : -1;
    }

    int drains = 0;
    int waits = 0;
    short seen = 0;

private:
    int m_descriptor;
};

TEST_F(RunLoopPacingTest, AGuestIsDrainedEveryStepAndItsDescriptorsEndTheSleep) {
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    WatchedGuest guest(pipe[0]);
    EndRunLoopStep();
    SetRunLoopGuest(&guest);
    EndRunLoopStep();
    EXPECT_EQ(guest.drains, 1);
    EXPECT_EQ(guest.waits, 1);
    EXPECT_EQ(guest.seen, 0);

    ASSERT_EQ(::write(pipe[1], "x", 1), 1);
    const std::uint64_t start = WellBeforeABlank(8 * kMillisecond);
    const std::uint64_t blank = video::NextBlankNanoseconds(start);
    EndRunLoopStep();
    EXPECT_LT(Now(), blank) << "the readable descriptor ended the sleep before the blank";
    EXPECT_EQ(guest.drains, 2);
    EXPECT_EQ(guest.seen, POLLIN);
    SetRunLoopGuest(nullptr);
    ::close(pipe[0]);
    ::close(pipe[1]);
}

} // namespace
} // namespace win32::tests
