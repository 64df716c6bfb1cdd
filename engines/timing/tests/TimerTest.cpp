#include "engines/timing/Timer.h"

#include "engines/testing/TimingSetup.h"
#include "engines/timing/TimerHandle.h"
#include "engines/timing/TimerSearchCriterion.h"
#include "platform/testing/Clock.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

constexpr std::uint32_t kStandard = TimerSystem::Standard;
constexpr std::uint32_t kMilliSecond = TimerSystem::MilliSecond;

// A timer that notes every AddTicks it gets, and may act while it gets them. The action comes last, as a
// tick's subscribers do, so that it may destroy this timer.
class RecordingTimer : public Timer {
public:
    RecordingTimer(std::vector<std::string>* log, std::string name) : m_log(log), m_name(std::move(name)) {}

    std::int32_t AddTicks(std::int32_t n) override {
        m_log->push_back(m_name + ":" + std::to_string(n));
        Timer::AddTicks(n);
        // A copy: the action may destroy this timer, and with it m_duringTicks.
        if (const std::function<void()> action = m_duringTicks) {
            action();
        }
        return n;
    }

    std::vector<std::string>* m_log;
    std::string m_name;
    std::function<void()> m_duringTicks;
};

class TimerTest : public ::testing::Test {
protected:
    // Low precision counts calendar seconds: start on a whole one.
    TimerTest() { m_clock.SetUnixTime(1000000000); }

    // Another front-end on the timer's handle, as the system shares it.
    void Share(Timer& from, Timer& to) {
        ResourceHandle* handle = m_timing.System()->Share(from.GetHandle(), &to);
        ASSERT_NE(handle, nullptr);
        to.SetHandle(handle);
    }

    platform::testing::FakeClock m_clock{0xFFFFFF00};
    TestApplication m_application;
    TimingSetup m_timing{m_application};
};

TEST_F(TimerTest, EveryForwardedOperationWithoutAHandleReportsAndAnswersItsDefault) {
    Timer timer;
    struct Case {
        const char* operation;
        std::function<std::uint32_t(Timer&)> call;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"Start", [](Timer& t) { return t.Start(); }, 0},
        {"Stop", [](Timer& t) { return t.Stop(); }, 0},
        {"IsRunning", [](Timer& t) { return t.IsRunning(); }, 0},
        {"Restart", [](Timer& t) { return t.Restart(); }, 0},
        {"SetTimeScale", [](Timer& t) { return t.SetTimeScale(2); }, 0},
        {"TimeScale", [](Timer& t) { return t.TimeScale(); }, TimerSystem::Second},
        {"Resolution", [](Timer& t) { return t.Resolution(); }, 0},
        {"Elapsed", [](Timer& t) { return t.Elapsed(); }, 0},
        {"SetPeriod", [](Timer& t) { return t.SetPeriod(10); }, 0},
        {"Period", [](Timer& t) { return t.Period(); }, 0},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(test.call(timer), test.expected) << test.operation;
        EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNoHandle}})) << test.operation;
    }
    EXPECT_EQ(timer.AddTicks(3), 3);
    EXPECT_EQ(timer.TakeTicks(), 3) << "ticks need no handle";
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(TimerTest, OpenReportsASecondOpenAndAMissingSystemOrEngine) {
    Timer timer;
    ASSERT_TRUE(timer.Open(kStandard, kTimerTypeId));
    TimerHandle* first = timer.GetTimerHandle();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(timer.Open(TimerSystem::Low, kTimerTypeId));
    EXPECT_EQ(timer.GetTimerHandle(), first);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrAlreadyOpen}}));

    Timer unknown;
    EXPECT_FALSE(unknown.Open(4, kTimerTypeId)) << "no engine serves precision 4";
    EXPECT_FALSE(unknown.Open(kStandard, 0x00040002)) << "no such timer engine";
    const Reports reports = m_application.TakeReports();
    EXPECT_TRUE(ReportedInOrder(reports, {{ResourceSystemErrOpenFailed}, {ResourceSystemErrOpenFailed}}));
    EXPECT_EQ(unknown.TakeTicks(), 0);

    TimerSystem* system = m_application.m_timerSystem;
    m_application.m_timerSystem = nullptr;
    EXPECT_FALSE(unknown.Open(kStandard, kTimerTypeId));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNoSystem}}));
    m_application.m_timerSystem = system;
}

TEST_F(TimerTest, TicksAreTakenOnceAndStartAndRestartDiscardThem) {
    Timer timer;
    ASSERT_TRUE(timer.Open(kStandard, 100, kMilliSecond, kTimerTypeId));
    ASSERT_TRUE(timer.Start());
    m_clock.Advance(300);
    m_timing.Update();
    EXPECT_EQ(timer.TakeTicks(), 3);
    EXPECT_EQ(timer.TakeTicks(), 0);

    m_clock.Advance(200);
    m_timing.Update();
    ASSERT_TRUE(timer.Stop());
    EXPECT_FALSE(timer.IsRunning());
    m_clock.Advance(500);
    m_timing.Update();
    EXPECT_EQ(timer.TakeTicks(), 2) << "Stop keeps the ticks, and a stopped timer gets no more";

    timer.AddTicks(4);
    ASSERT_TRUE(timer.Start());
    EXPECT_EQ(timer.TakeTicks(), 0);
    timer.AddTicks(4);
    ASSERT_TRUE(timer.Restart());
    EXPECT_EQ(timer.TakeTicks(), 0);
}

TEST_F(TimerTest, ATimerWithoutAPeriodNeverTicks) {
    Timer timer;
    ASSERT_TRUE(timer.Open(kStandard, kTimerTypeId));
    ASSERT_TRUE(timer.Start());
    m_clock.Advance(100000);
    m_timing.Update();
    EXPECT_EQ(timer.TakeTicks(), 0);
    EXPECT_EQ(timer.Elapsed(), 100000u);
}

TEST_F(TimerTest, EveryTimerOfAHandleGetsTheSameTicksInAttachmentOrder) {
    std::vector<std::string> log;
    RecordingTimer first(&log, "first");
    RecordingTimer second(&log, "second");
    RecordingTimer third(&log, "third");
    ASSERT_TRUE(first.Open(kStandard, 40, kMilliSecond, kTimerTypeId));
    Share(first, second);
    Share(first, third);
    ASSERT_TRUE(first.Start());
    m_clock.Advance(130);
    m_timing.Update();
    EXPECT_EQ(log, (std::vector<std::string>{"first:3", "second:3", "third:3"}));
    EXPECT_EQ(second.TakeTicks(), 3);
}

TEST_F(TimerTest, ATimerDestroyedWhileTheTicksGoRoundGetsNoneAfterwards) {
    std::vector<std::string> log;
    RecordingTimer first(&log, "first");
    auto* second = new RecordingTimer(&log, "second");
    RecordingTimer third(&log, "third");
    ASSERT_TRUE(first.Open(kStandard, 10, kMilliSecond, kTimerTypeId));
    Share(first, *second);
    Share(first, third);
    // The first timer's owner deletes the second timer, next in the list, while the ticks go round.
    first.m_duringTicks = [&] {
        delete second;
        second = nullptr;
    };
    ASSERT_TRUE(first.Start());
    m_clock.Advance(10);
    m_timing.Update();
    EXPECT_EQ(log, (std::vector<std::string>{"first:1", "third:1"}));
}

// The only timer of a handle destroyed from inside its own ticks takes the handle with it while the handle
// hands the ticks out and the engine walks its handles. The engine updates its newest handle first: "later"
// is opened first so that its handle comes after, and "next" is the handle that a destroyed one's update is
// followed by.
TEST_F(TimerTest, TheLastTimerOfAHandleMayBeDestroyedWhileItsTicksGoRound) {
    std::vector<std::string> log;
    RecordingTimer later(&log, "later");
    ASSERT_TRUE(later.Open(kStandard, 10, kMilliSecond, kTimerTypeId));
    auto* next = new RecordingTimer(&log, "next");
    ASSERT_TRUE(next->Open(kStandard, 10, kMilliSecond, kTimerTypeId));
    auto* self = new RecordingTimer(&log, "self");
    ASSERT_TRUE(self->Open(kStandard, 10, kMilliSecond, kTimerTypeId));
    // "self" destroys itself, then "next" on the handle the engine updates next; both handles go.
    self->m_duringTicks = [&] {
        delete self;
        self = nullptr;
        delete next;
        next = nullptr;
    };
    for (Timer* timer : std::initializer_list<Timer*>{&later, next, self}) {
        ASSERT_TRUE(timer->Start());
    }
    m_clock.Advance(10);
    m_timing.Update();
    EXPECT_EQ(log, (std::vector<std::string>{"self:1", "later:1"}));
    EXPECT_EQ(self, nullptr);
    EXPECT_EQ(next, nullptr);

    m_clock.Advance(20);
    m_timing.Update();
    EXPECT_EQ(later.TakeTicks(), 3);
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(TimerTest, ADestroyedTimerLeavesItsHandle) {
    std::vector<std::string> log;
    RecordingTimer first(&log, "first");
    {
        RecordingTimer second(&log, "second");
        ASSERT_TRUE(first.Open(kStandard, 10, kMilliSecond, kTimerTypeId));
        Share(first, second);
        EXPECT_EQ(first.GetTimerHandle()->GetTimers().Size(), 2u);
    }
    EXPECT_EQ(first.GetTimerHandle()->GetTimers().Size(), 1u);
    ASSERT_TRUE(first.Start());
    m_clock.Advance(10);
    m_timing.Update();
    EXPECT_EQ(log, (std::vector<std::string>{"first:1"}));
}

TEST_F(TimerTest, TheTickCountStopsAtTheEndsOfItsRange) {
    Timer timer;
    constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
    timer.AddTicks(kMost - 1);
    EXPECT_EQ(timer.AddTicks(5), 5);
    EXPECT_EQ(timer.TakeTicks(), kMost);
    timer.AddTicks(std::numeric_limits<std::int32_t>::min());
    timer.AddTicks(-1);
    EXPECT_EQ(timer.TakeTicks(), std::numeric_limits<std::int32_t>::min());
}

// The long open form as its callers use it: (precision, period, time scale). Each opened timer ticks once a
// period.
struct LongOpen {
    const char* name;
    std::uint32_t precision;
    std::uint32_t period;
    std::uint32_t scale;
    std::uint32_t periodMilliseconds;
};

void PrintTo(const LongOpen& form, std::ostream* out) {
    *out << form.name;
}

class TimerLongOpenTest : public TimerTest, public ::testing::WithParamInterface<LongOpen> {};

TEST_P(TimerLongOpenTest, TicksOncePerPeriodInItsScale) {
    const LongOpen& form = GetParam();
    Timer timer;
    ASSERT_TRUE(timer.Open(form.precision, form.period, form.scale, kTimerTypeId));
    EXPECT_EQ(timer.TimeScale(), form.scale);
    EXPECT_EQ(timer.Period(), form.period);
    ASSERT_TRUE(timer.Start());
    m_clock.Advance(form.periodMilliseconds - 1);
    m_timing.Update();
    EXPECT_EQ(timer.TakeTicks(), 0);
    m_clock.Advance(1);
    m_timing.Update();
    EXPECT_EQ(timer.TakeTicks(), 1);
    m_clock.Advance(3 * form.periodMilliseconds);
    m_timing.Update();
    EXPECT_EQ(timer.TakeTicks(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Callers, TimerLongOpenTest,
    ::testing::Values(
        LongOpen{"Standard500Milliseconds", TimerSystem::Standard, 500, TimerSystem::MilliSecond, 500},
        LongOpen{"StandardOneSecond", TimerSystem::Standard, 1, TimerSystem::Second, 1000},
        LongOpen{"FrameTimerAt30PerSecond", TimerSystem::Standard, 1000 / 30, TimerSystem::MilliSecond, 33},
        LongOpen{"HighQuarterSecond", TimerSystem::High, 250000, TimerSystem::MicroSecond, 250},
        LongOpen{"LowTwoSeconds", TimerSystem::Low, 2, TimerSystem::Second, 2000}),
    [](const ::testing::TestParamInfo<LongOpen>& info) { return std::string(info.param.name); });

TEST_F(TimerTest, TheEngineRefusesAPeriodWithoutAScale) {
    const std::uint32_t value = 500;
    TimerSearchCriterion periodOnly(nullptr, kStandard, nullptr, &value);
    TimerSearchCriterion scaleOnly(nullptr, kStandard, &value, nullptr);
    EXPECT_FALSE(m_timing.Engine()->MatchSearchCriterion(&periodOnly));
    EXPECT_TRUE(m_timing.Engine()->MatchSearchCriterion(&scaleOnly));
}

} // namespace
