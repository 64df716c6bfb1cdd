#include "engines/timing/win32/Win32TimerEngine.h"

#include "engines/testing/TimingSetup.h"
#include "engines/timing/Timer.h"
#include "engines/timing/TimerHandle.h"
#include "engines/timing/TimerSearchCriterion.h"
#include "platform/testing/Clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace {

using namespace Vemo;
using namespace VemoTest;

constexpr std::uint32_t kHigh = TimerSystem::High;
constexpr std::uint32_t kStandard = TimerSystem::Standard;
constexpr std::uint32_t kLow = TimerSystem::Low;
constexpr std::uint32_t kNative = TimerSystem::Native;
constexpr std::uint32_t kMicroSecond = TimerSystem::MicroSecond;
constexpr std::uint32_t kMilliSecond = TimerSystem::MilliSecond;
constexpr std::uint32_t kSecond = TimerSystem::Second;
constexpr std::int32_t kMostTicks = 0x7FFFFFFF;

class Win32TimerEngineTest : public ::testing::Test {
protected:
    // Low precision counts calendar seconds: start on a whole one.
    Win32TimerEngineTest() { m_clock.SetUnixTime(1000000000); }

    // A started timer of the precision with the period in the scale.
    std::unique_ptr<Timer> Started(std::uint32_t precision, std::uint32_t period, std::uint32_t scale) {
        auto timer = std::make_unique<Timer>();
        EXPECT_TRUE(timer->Open(precision, period, scale, kTimerTypeId));
        EXPECT_TRUE(timer->Start());
        return timer;
    }

    void Pass(std::uint32_t milliseconds) {
        m_clock.Advance(milliseconds);
        m_timing.Update();
    }

    platform::testing::FakeClock m_clock{0xFFFFFF00};
    TestApplication m_application;
    TimingSetup m_timing{m_application};
};

TEST_F(Win32TimerEngineTest, StartingTheEngineRaisesTheTimerResolutionWhenItCan) {
    Win32TimerEngine* engine = m_timing.Engine();
    ASSERT_TRUE(engine->Start());
    EXPECT_TRUE(engine->IsPeriodRaised());
    ASSERT_TRUE(engine->Stop());
    EXPECT_FALSE(engine->IsPeriodRaised());
    EXPECT_EQ(win32::timeEndPeriod(1), win32::TIMERR_NOCANDO) << "the engine's period was ended once";

    platform::testing::TimeCallOverrides overrides;
    overrides.FailTimeBeginPeriod();
    EXPECT_TRUE(engine->Start()) << "a refused resolution is no failure";
    EXPECT_FALSE(engine->IsPeriodRaised());
    EXPECT_TRUE(engine->Stop());
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(Win32TimerEngineTest, EachPrecisionMatchesAsTheMachineAllows) {
    Win32TimerEngine* engine = m_timing.Engine();
    auto quick = [&](std::uint32_t precision) {
        TimerSearchCriterion criterion(nullptr, precision, nullptr, nullptr);
        return engine->MatchSearchCriterion(&criterion);
    };
    auto thorough = [&](std::uint32_t precision) {
        TimerSearchCriterion criterion(nullptr, precision, nullptr, nullptr);
        return engine->MatchSearchCriterionThorough(&criterion);
    };
    EXPECT_TRUE(quick(kHigh));
    EXPECT_TRUE(quick(kStandard));
    EXPECT_TRUE(quick(kLow));
    EXPECT_FALSE(quick(0));
    EXPECT_FALSE(quick(4));

    ASSERT_TRUE(engine->Start());
    EXPECT_TRUE(thorough(kHigh));
    EXPECT_TRUE(thorough(kLow));
    EXPECT_FALSE(thorough(4));
    ASSERT_TRUE(engine->Stop());

    platform::testing::TimeCallOverrides overrides;
    overrides.SetPerformanceFrequency(0);
    EXPECT_FALSE(quick(kHigh)) << "no performance counter";
    EXPECT_TRUE(quick(kStandard));
    overrides.SetPerformanceFrequency(10000000);
    overrides.FailQueryPerformanceFrequency();
    EXPECT_FALSE(quick(kHigh));

    Timer timer;
    EXPECT_FALSE(timer.Open(kHigh, kTimerTypeId));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(), {{ResourceSystemErrOpenFailed}}));
}

TEST_F(Win32TimerEngineTest, AnUnknownPrecisionReachingCreationIsRefused) {
    TimerSearchCriterion criterion(nullptr, 4, nullptr, nullptr);
    EXPECT_EQ(m_timing.Engine()->CreateHandle(&criterion, nullptr), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{TimerSystemErrUnknownPrecision}}));
    EXPECT_EQ(TimerSystemErrUnknownPrecision, 0x0101000400000002u);
}

TEST_F(Win32TimerEngineTest, AStandardTimerKeepsTheRestOfAPeriodAcrossTheWrap) {
    auto timer = Started(kStandard, 100, kMilliSecond);
    Pass(250);
    EXPECT_EQ(timer->TakeTicks(), 2);
    EXPECT_EQ(timer->Elapsed(), 50u) << "the start moved on by whole periods";
    Pass(49);
    ASSERT_LT(win32::timeGetTime(), 0x100u) << "the multimedia timer has wrapped";
    EXPECT_EQ(timer->TakeTicks(), 0);
    Pass(1);
    EXPECT_EQ(timer->TakeTicks(), 1);
    Pass(1000);
    EXPECT_EQ(timer->TakeTicks(), 10);
}

TEST_F(Win32TimerEngineTest, APeriodFinerThanTheClockTicksEachUnitAndAZeroPeriodNever) {
    auto fine = Started(kStandard, 500, kMicroSecond);
    auto never = Started(kStandard, 0, kMicroSecond);
    Pass(3);
    EXPECT_EQ(fine->TakeTicks(), 3);
    EXPECT_EQ(never->TakeTicks(), 0);
}

TEST_F(Win32TimerEngineTest, StartKeepsARunningStartAndRestartLeavesAStoppedTimerAlone) {
    Timer timer;
    ASSERT_TRUE(timer.Open(kStandard, kTimerTypeId));
    EXPECT_TRUE(timer.Restart());
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(timer.Elapsed(), 0u);
    ASSERT_TRUE(timer.Start());
    Pass(30);
    EXPECT_TRUE(timer.Start());
    EXPECT_EQ(timer.Elapsed(), 30u);
    EXPECT_TRUE(timer.Restart());
    EXPECT_EQ(timer.Elapsed(), 0u);
    Pass(5);
    EXPECT_TRUE(timer.Stop());
    EXPECT_EQ(timer.Elapsed(), 0u);
}

struct Conversion {
    const char* name;
    std::uint32_t precision;
    std::uint32_t scale;
    std::uint32_t passed; // milliseconds
    std::uint32_t elapsed;
    std::uint32_t periodIn;
    std::uint32_t periodOut;
    std::uint32_t resolution;
};

void PrintTo(const Conversion& test, std::ostream* out) {
    *out << test.name;
}

class Win32TimerConversionTest : public Win32TimerEngineTest,
                                 public ::testing::WithParamInterface<Conversion> {};

TEST_P(Win32TimerConversionTest, ElapsedPeriodAndResolutionFollowTheScale) {
    const Conversion& test = GetParam();
    Timer timer;
    ASSERT_TRUE(timer.Open(test.precision, kTimerTypeId));
    ASSERT_TRUE(timer.SetTimeScale(test.scale));
    ASSERT_TRUE(timer.Start());
    m_clock.Advance(test.passed);
    EXPECT_EQ(timer.Elapsed(), test.elapsed);
    ASSERT_TRUE(timer.SetPeriod(test.periodIn));
    EXPECT_EQ(timer.Period(), test.periodOut);
    EXPECT_EQ(timer.Resolution(), test.resolution);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, Win32TimerConversionTest,
    ::testing::Values(
        Conversion{"HighNative", kHigh, kNative, 1500, 1500000, 700, 700, 1},
        Conversion{"HighMicroSecond", kHigh, kMicroSecond, 1500, 1500000, 700, 700, 1},
        Conversion{"HighMilliSecond", kHigh, kMilliSecond, 1500, 1500, 7, 7, 0},
        Conversion{"HighSecond", kHigh, kSecond, 1500, 1, 3, 3, 0},
        Conversion{"HighUnknownScaleAsNative", kHigh, 9, 1500, 1500000, 700, 700, 1},
        // 72 minutes are 4,320,000,000 microseconds: the native scale gives the low 32 bits.
        Conversion{"HighNativeLow32Bits", kHigh, kNative, 4320000, 25032704, 1, 1, 1},
        Conversion{"HighMilliSecondLargest", kHigh, kMilliSecond, 4320000, 4320000, 4294967, 4294967, 0},
        Conversion{"StandardMicroSecond", kStandard, kMicroSecond, 1500, 1500000, 2500, 2000, 1000},
        Conversion{"StandardMicroSecondTooLong", kStandard, kMicroSecond, 5000000, 0xFFFFFFFF, 1000, 1000,
                   1000},
        Conversion{"StandardNative", kStandard, kNative, 1500, 1500, 7, 7, 1},
        Conversion{"StandardMilliSecond", kStandard, kMilliSecond, 1500, 1500, 7, 7, 1},
        Conversion{"StandardSecond", kStandard, kSecond, 1500, 1, 3, 3, 0},
        Conversion{"StandardSecondBeyond32Bits", kStandard, kSecond, 0, 0, 5000000, 4294967, 0},
        Conversion{"LowMicroSecond", kLow, kMicroSecond, 1500, 1000000, 2500000, 2000000, 1000000},
        Conversion{"LowMilliSecond", kLow, kMilliSecond, 1500, 1000, 1500, 1000, 1000},
        Conversion{"LowNative", kLow, kNative, 1500, 1, 3, 3, 1},
        Conversion{"LowSecond", kLow, kSecond, 2999, 2, 3, 3, 1},
        // A period that comes to less than one unit of the clock is one unit.
        Conversion{"StandardMicroSecondBelowOneUnit", kStandard, kMicroSecond, 0, 0, 999, 1000, 1000},
        Conversion{"LowMilliSecondBelowOneUnit", kLow, kMilliSecond, 0, 0, 1, 1000, 1000},
        Conversion{"StandardMicroSecondZero", kStandard, kMicroSecond, 0, 0, 0, 0, 1000}),
    [](const ::testing::TestParamInfo<Conversion>& info) { return std::string(info.param.name); });

TEST_F(Win32TimerEngineTest, AHighTimerCountsMicrosecondsAtAnyCounterFrequency) {
    for (std::int64_t frequency : {10000000LL, 3579545LL}) {
        platform::testing::TimeCallOverrides overrides;
        overrides.SetPerformanceFrequency(frequency);
        auto timer = Started(kHigh, 1000, kMicroSecond);
        m_clock.Advance(1234);
        EXPECT_EQ(timer->Elapsed(), 1234000u) << frequency;
        m_timing.Update();
        EXPECT_EQ(timer->TakeTicks(), 1234) << frequency;
        timer->SetTimeScale(kMilliSecond);
        EXPECT_EQ(timer->Period(), 1u);
    }
}

TEST_F(Win32TimerEngineTest, AHighTimerStandsStillWhileTheCounterCannotBeRead) {
    auto timer = Started(kHigh, 10, kMilliSecond);
    Pass(15);
    EXPECT_EQ(timer->TakeTicks(), 1);
    {
        platform::testing::TimeCallOverrides overrides;
        overrides.FailQueryPerformanceCounter();
        Pass(100);
        EXPECT_EQ(timer->TakeTicks(), 0);
        EXPECT_EQ(timer->Elapsed(), 5u);
    }
    Pass(0);
    EXPECT_EQ(timer->TakeTicks(), 10) << "the periods come when the counter can be read again";
}

// Periods and gaps beyond 2^31 native units divide in the handle's own width; the count stops at the most a
// timer holds, and the start keeps only the rest of a period.
TEST_F(Win32TimerEngineTest, AHighTimerDividesLongPeriodsAndGapsInFullWidth) {
    auto longPeriod = Started(kHigh, 3000, kSecond);
    auto millisecond = Started(kHigh, 1, kMilliSecond);
    Pass(3500000);
    EXPECT_EQ(longPeriod->TakeTicks(), 1);
    EXPECT_EQ(longPeriod->Elapsed(), 500u) << "seconds into the next period";
    EXPECT_EQ(millisecond->TakeTicks(), 3500000);
    Pass(2500000);
    EXPECT_EQ(longPeriod->TakeTicks(), 1);

    auto gap = Started(kHigh, 1, kMilliSecond);
    Pass(72 * 60 * 1000);
    EXPECT_EQ(gap->TakeTicks(), 4320000) << "not the count of the low 32 bits";

    auto microsecond = Started(kHigh, 1, kMicroSecond);
    Pass(36 * 60 * 1000);
    EXPECT_EQ(microsecond->TakeTicks(), kMostTicks);
    Pass(1);
    EXPECT_EQ(microsecond->TakeTicks(), 1000) << "the dropped periods do not come back";
}

TEST_F(Win32TimerEngineTest, AStandardTimerDividesLongPeriodsAndGapsUnsigned) {
    auto longPeriod = Started(kStandard, 3000000, kSecond);
    ASSERT_EQ(longPeriod->Period(), 3000000u);
    auto millisecond = Started(kStandard, 1, kMilliSecond);
    Pass(0x80000000u);
    EXPECT_EQ(millisecond->TakeTicks(), kMostTicks);
    EXPECT_EQ(longPeriod->TakeTicks(), 0);
    Pass(3500000000u - 0x80000000u);
    EXPECT_EQ(longPeriod->TakeTicks(), 1);
    EXPECT_EQ(longPeriod->Elapsed(), 500000u);
}

TEST_F(Win32TimerEngineTest, ALowTimerTicksOnCalendarSecondsAndWaitsWhenTheCalendarGoesBack) {
    auto timer = Started(kLow, 2, kSecond);
    Pass(4999);
    EXPECT_EQ(timer->TakeTicks(), 2);
    EXPECT_EQ(timer->Elapsed(), 0u);
    m_clock.SetUnixTime(1000000000 - 60);
    Pass(30000);
    EXPECT_EQ(timer->TakeTicks(), 0);
    EXPECT_EQ(timer->Elapsed(), 0u) << "no time passes while the calendar is behind the start";
    Pass(36000);
    EXPECT_EQ(timer->TakeTicks(), 1);
}

} // namespace
