#include "controls/TimerControl.h"
#include "controls/tests/CoreControlTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

namespace {

using namespace CoreControlTest;

class TimerControlTest : public Fixture {
protected:
    TimerControl& Load(const std::string& keys) {
        EXPECT_TRUE(Fixture::Load("[Menu]\nControl=Clock\n[Clock]\nClass=TimerControl\n" + keys));
        auto* timer = dynamic_cast<TimerControl*>(Find("Clock"));
        EXPECT_NE(timer, nullptr);
        m_watcher = Watch(*timer);
        return *timer;
    }

    std::size_t Ticks() { return m_watcher->TakeReceived().size(); }

    MessengerTest::Recorder* m_watcher = nullptr;
};

TEST_F(TimerControlTest, TicksOncePerPeriodOnlyAfterStartAndSeveralForALongFrame) {
    TimerControl& timer = Load("Interval=500\n");
    EXPECT_FALSE(timer.IsRunning()) << "created stopped";
    Advance(1000);
    EXPECT_EQ(Ticks(), 0u);

    EXPECT_TRUE(Send("Clock", "Start"));
    Advance(499);
    EXPECT_EQ(Ticks(), 0u);
    Advance(1);
    EXPECT_EQ(m_watcher->TakeReceived(), (Log{"Tick"}));
    Advance(1500);
    EXPECT_EQ(m_watcher->TakeReceived(), (Log{"Tick", "Tick", "Tick"})) << "a frame of three periods";

    EXPECT_TRUE(Send("Clock", "Stop"));
    Advance(2000);
    EXPECT_EQ(Ticks(), 0u);
    EXPECT_EQ(TakeReports(), (Reports{}));
}

TEST_F(TimerControlTest, ResetStartsThePeriodAgainAndIntervalBeforeStartTakesEffectAtTheStart) {
    Load("Interval=500\n");
    EXPECT_TRUE(Send("Clock", "Interval(200)"));
    EXPECT_TRUE(Send("Clock", "Start"));
    Advance(400);
    EXPECT_EQ(Ticks(), 2u);
    Advance(150);
    EXPECT_TRUE(Send("Clock", "Reset"));
    Advance(150);
    EXPECT_EQ(Ticks(), 0u) << "the 150 ms before the reset are forgotten";
    Advance(50);
    EXPECT_EQ(Ticks(), 1u);
}

// A subscriber that destroys the clock on its first "Tick" of a frame of three periods: the rest of that
// frame's ticks are not sent, and the timers of the other control go on.
TEST_F(TimerControlTest, ASubscriberMayDestroyTheClockOnItsTick) {
    ASSERT_TRUE(Fixture::Load("[Menu]\nControl=Other\nControl=Clock\n"
                              "[Other]\nClass=TimerControl\nInterval=100\n"
                              "[Clock]\nClass=TimerControl\nInterval=100\n"));
    auto* clock = dynamic_cast<TimerControl*>(Find("Clock"));
    ASSERT_NE(clock, nullptr);
    MessengerTest::Recorder* watcher = Watch(*clock);
    MessengerTest::Recorder* otherWatcher = Watch(*Find("Other"));
    watcher->m_onWord = [&](MessengerTest::Recorder&, const std::string& word) {
        if (word == "Tick" && clock != nullptr) {
            m_controls.Erase(std::find(m_controls.Begin(), m_controls.End(), clock));
            delete clock;
            clock = nullptr;
        }
    };
    EXPECT_TRUE(Send("Other", "Start"));
    EXPECT_TRUE(Send("Clock", "Start"));
    Advance(300);
    EXPECT_EQ(Find("Clock"), nullptr);
    EXPECT_EQ(watcher->TakeReceived(), (Log{"Tick", "Unsubscribed"}));
    EXPECT_EQ(otherWatcher->TakeReceived(), (Log{"Tick", "Tick", "Tick"}));
    Advance(100);
    EXPECT_EQ(otherWatcher->TakeReceived(), (Log{"Tick"}));
    EXPECT_EQ(TakeReports(), (Reports{}));
}

struct ScaleCase {
    const char* name;
    const char* keys;
    std::uint32_t timeScale;
    std::uint32_t periodMilliseconds;
};

void PrintTo(const ScaleCase& test, std::ostream* out) {
    *out << test.name;
}

class TimerControlKeysTest : public TimerControlTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(TimerControlKeysTest, TheKeysSetUpTheTimer) {
    const ScaleCase& test = GetParam();
    TimerControl& timer = Load(test.keys);
    EXPECT_EQ(timer.TimeScale(), test.timeScale);
    EXPECT_TRUE(Send("Clock", "Start"));
    Advance(test.periodMilliseconds - 1);
    EXPECT_EQ(Ticks(), 0u);
    Advance(1);
    EXPECT_EQ(Ticks(), 1u);
    EXPECT_EQ(TakeReports(), (Reports{}));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TimerControlKeysTest,
    ::testing::Values(ScaleCase{"Milliseconds", "Interval=500\nTimeScale=MilliSecond\n", 3, 500},
                      ScaleCase{"Seconds", "Interval=2\nTimeScale=second\nPrecision=Low\n", 4, 2000},
                      ScaleCase{"UnknownWordsGiveStandardMilliseconds",
                                "Interval=300\nTimeScale=Hours\nPrecision=Best\n", 3, 300},
                      ScaleCase{"Microseconds", "Interval=250000\nTimeScale=MicroSecond\nPrecision=High\n", 2,
                                250}),
    [](const ::testing::TestParamInfo<ScaleCase>& info) { return std::string(info.param.name); });

TEST_F(TimerControlTest, TimeScaleMessageRetunesThePeriodUnit) {
    TimerControl& timer = Load("Interval=1\nTimeScale=Second\n");
    EXPECT_TRUE(Send("Clock", "TimeScale(MilliSecond),Interval(100),Start"));
    EXPECT_EQ(timer.TimeScale(), Vemo::TimerSystem::MilliSecond);
    Advance(100);
    EXPECT_EQ(Ticks(), 1u);
}

} // namespace
