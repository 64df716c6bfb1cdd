#include "platform/testing/Clock.h"
#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/kernel/Time.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

using win32::DWORD;

TEST(TimeTest, EveryClockCallReadsTheFakeClock) {
    platform::testing::FakeClock clock(1000);
    win32::LARGE_INTEGER frequency{};
    ASSERT_TRUE(win32::QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 10000000);

    win32::LARGE_INTEGER before{};
    win32::QueryPerformanceCounter(&before);
    EXPECT_EQ(win32::timeGetTime(), 1000u);
    EXPECT_EQ(win32::GetTickCount(), 1000u);

    clock.Advance(250);
    win32::LARGE_INTEGER after{};
    win32::QueryPerformanceCounter(&after);
    EXPECT_EQ(win32::timeGetTime(), 1250u);
    EXPECT_EQ(win32::GetTickCount(), 1250u);
    EXPECT_EQ(after.QuadPart - before.QuadPart, frequency.QuadPart / 4);
}

TEST(TimeTest, TheMillisecondCountWrapsAfter32Bits) {
    platform::testing::FakeClock clock(0xFFFFFFFFull - 5);
    EXPECT_EQ(win32::timeGetTime(), 0xFFFFFFFAu);
    clock.Advance(10);
    EXPECT_EQ(win32::timeGetTime(), 4u);
    EXPECT_EQ(static_cast<DWORD>(win32::timeGetTime() - 0xFFFFFFFAu), 10u) << "differences cross the wrap";
}

TEST(TimeTest, SleepAdvancesTheClockOnlyOnTheThreadThatDrivesIt) {
    platform::testing::FakeClock clock;
    win32::Sleep(40);
    EXPECT_EQ(win32::timeGetTime(), 40u);
    std::thread([] { win32::Sleep(1000000); }).join();
    EXPECT_EQ(win32::timeGetTime(), 40u);
}

TEST(TimeTest, TheHostClockComesBackWhenTheFakeClockGoes) {
    const DWORD before = win32::timeGetTime();
    {
        platform::testing::FakeClock clock(5);
        EXPECT_EQ(win32::timeGetTime(), 5u);
        {
            platform::testing::FakeClock inner(7);
            EXPECT_EQ(win32::timeGetTime(), 7u);
        }
        EXPECT_EQ(win32::timeGetTime(), 5u);
    }
    const DWORD after = win32::timeGetTime();
    EXPECT_LE(static_cast<DWORD>(after - before), 10000u);
}

// Threads of a title poll the clock while a test clock comes and goes; a clock being let go must not still be
// in use on another thread.
TEST(TimeTest, AClockCanGoWhileOtherThreadsReadAndSleepOnIt) {
    std::atomic<bool> running{true};
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&running] {
            while (running.load()) {
                win32::Sleep(1);
                (void)win32::timeGetTime();
                (void)win32::time(nullptr);
            }
        });
    }
    for (int i = 0; i < 2000; ++i) {
        auto clock = std::make_unique<platform::testing::FakeClock>(static_cast<std::uint64_t>(i));
        win32::Sleep(1);
    }
    running.store(false);
    for (std::thread& reader : readers) {
        reader.join();
    }
}

TEST(TimeTest, TheHostClocksAgreeAndMoveForward) {
    win32::LARGE_INTEGER count{};
    win32::QueryPerformanceCounter(&count);
    const DWORD milliseconds = win32::timeGetTime();
    const auto countMilliseconds = static_cast<DWORD>(count.QuadPart / 10000);
    EXPECT_LE(static_cast<DWORD>(milliseconds - countMilliseconds), 5u);

    win32::Sleep(20);
    EXPECT_GE(static_cast<DWORD>(win32::timeGetTime() - milliseconds), 20u);
}

TEST(TimeTest, TheCounterRunsAtAnOverriddenFrequencyWithoutLosingCounts) {
    platform::testing::FakeClock clock(0xFFFFFF00);
    platform::testing::TimeCallOverrides overrides;
    overrides.SetPerformanceFrequency(3579545);
    win32::LARGE_INTEGER frequency{};
    ASSERT_TRUE(win32::QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 3579545);

    win32::LARGE_INTEGER count{};
    ASSERT_TRUE(win32::QueryPerformanceCounter(&count));
    // 4,294,967,040 ms at 3,579,545 counts a second, truncated.
    EXPECT_EQ(count.QuadPart, 15374027793196LL);
    clock.Advance(500);
    win32::LARGE_INTEGER later{};
    ASSERT_TRUE(win32::QueryPerformanceCounter(&later));
    EXPECT_EQ(later.QuadPart, 15374029582969LL);
}

TEST(TimeTest, OverriddenCallsFailOrReportNoCounterUntilTheOverridesGo) {
    {
        platform::testing::TimeCallOverrides overrides;
        overrides.SetPerformanceFrequency(0);
        win32::LARGE_INTEGER value{};
        value.QuadPart = 77;
        EXPECT_TRUE(win32::QueryPerformanceFrequency(&value));
        EXPECT_EQ(value.QuadPart, 0) << "a machine without a counter";
        EXPECT_FALSE(win32::QueryPerformanceCounter(&value));

        overrides.SetPerformanceFrequency(10000000);
        overrides.FailQueryPerformanceFrequency();
        overrides.FailQueryPerformanceCounter();
        overrides.FailTimeBeginPeriod();
        value.QuadPart = 77;
        EXPECT_FALSE(win32::QueryPerformanceFrequency(&value));
        EXPECT_FALSE(win32::QueryPerformanceCounter(&value));
        EXPECT_EQ(value.QuadPart, 77) << "failing calls leave their result alone";
        EXPECT_EQ(win32::timeBeginPeriod(1), win32::TIMERR_NOCANDO);
    }
    win32::LARGE_INTEGER frequency{};
    EXPECT_TRUE(win32::QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 10000000);
    EXPECT_EQ(win32::timeBeginPeriod(1), win32::TIMERR_NOERROR);
    EXPECT_EQ(win32::timeEndPeriod(1), win32::TIMERR_NOERROR);
}

TEST(TimeTest, CalendarTimeMovesWithTheClockInWholeSeconds) {
    const win32::time_t hostNow = win32::time(nullptr);
    EXPECT_GT(hostNow, 1600000000) << "seconds since 1970 on the host";
    {
        platform::testing::FakeClock clock(0xFFFFFF00);
        EXPECT_LE(win32::time(nullptr) - hostNow, 5) << "installing a clock keeps the calendar";

        clock.SetUnixTime(0x7FFFFFFF);
        win32::time_t stored = 0;
        EXPECT_EQ(win32::time(&stored), 0x7FFFFFFF);
        EXPECT_EQ(stored, 0x7FFFFFFF);
        clock.Advance(999);
        EXPECT_EQ(win32::time(nullptr), 0x7FFFFFFF);
        clock.Advance(1);
        EXPECT_EQ(win32::time(nullptr), 0x80000000LL) << "no 32-bit limit";

        clock.SetUnixTime(-1);
        clock.Advance(500);
        EXPECT_EQ(win32::time(nullptr), -1) << "before 1970 seconds round towards the past";
    }
    EXPECT_LE(win32::time(nullptr) - hostNow, 5);
}

TEST(TimeTest, PeriodsPairAsOnWindows) {
    EXPECT_EQ(win32::timeBeginPeriod(1), win32::TIMERR_NOERROR);
    EXPECT_EQ(win32::timeBeginPeriod(1), win32::TIMERR_NOERROR);
    EXPECT_EQ(win32::timeEndPeriod(1), win32::TIMERR_NOERROR);
    EXPECT_EQ(win32::timeEndPeriod(1), win32::TIMERR_NOERROR);
    EXPECT_EQ(win32::timeEndPeriod(1), win32::TIMERR_NOCANDO);
    EXPECT_EQ(win32::timeBeginPeriod(0), win32::TIMERR_NOCANDO);
}

} // namespace
