#include "engines/timing/TimerKeywordIds.h"

#include <gtest/gtest.h>

namespace {

using Vemo::TimerSystem;

SubString Word(const char* text) {
    return SubString(Vemo::String(text));
}

TEST(TimerKeywordIdsTest, PrecisionWordsInAnyCaseAndTheirMiss) {
    const auto& ids = Vemo::TimerPrecisionIds();
    EXPECT_EQ(ids[Word("High")], TimerSystem::High);
    EXPECT_EQ(ids[Word("sTaNdArD")], TimerSystem::Standard);
    EXPECT_EQ(ids[Word("LOW")], TimerSystem::Low);
    for (const char* miss : {"Hig", "Highs", "", "Native"}) {
        EXPECT_EQ(ids[Word(miss)], TimerSystem::Standard) << miss;
    }
}

TEST(TimerKeywordIdsTest, TimeScaleWordsInAnyCaseAndTheirMiss) {
    const auto& ids = Vemo::TimerTimeScaleIds();
    EXPECT_EQ(ids[Word("native")], TimerSystem::Native);
    EXPECT_EQ(ids[Word("MicroSecond")], TimerSystem::MicroSecond);
    EXPECT_EQ(ids[Word("MILLISECOND")], TimerSystem::MilliSecond);
    EXPECT_EQ(ids[Word("Second")], TimerSystem::Second);
    for (const char* miss : {"Seconds", "Milli", "", "High"}) {
        EXPECT_EQ(ids[Word(miss)], TimerSystem::MilliSecond) << miss;
    }
}

} // namespace
