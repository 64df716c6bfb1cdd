#include "probe/QTVersion.h"

#include "platform/testing/CaseNames.h"
#include "platform/testing/QuickTimeTesting.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using qt::testing::GetStartupCounts;

void ExpectNothingStarted() {
    const qt::testing::StartupCounts counts = GetStartupCounts();
    EXPECT_EQ(counts.qtml, 0);
    EXPECT_EQ(counts.movieServices, 0);
}

class QuickTimeProbeTest : public testing::Test {
protected:
    void TearDown() override {
        qt::testing::SetQuickTimeVersion(std::nullopt);
        qt::testing::ClearFailures();
    }
};

struct VersionCase {
    const char* installed; // the emulated QuickTime's version, or "none"
    std::int32_t answer;
};

class QTVersionTableTest : public QuickTimeProbeTest, public testing::WithParamInterface<VersionCase> {};

TEST_P(QTVersionTableTest, AnswersTheMajorVersionAndLeavesQuickTimeStopped) {
    qt::testing::SetQuickTimeVersion(std::string(GetParam().installed));
    EXPECT_EQ(QTVersion(), GetParam().answer);
    ExpectNothingStarted();
}

// Major versions from 0x80 up have the top bit of the feature value set: they still count as 6 and later.
const VersionCase kVersions[] = {
    {"none", 0}, {"0.0", 0},   {"3.0", 0}, {"3.15.15", 0}, {"4.0", 4},   {"4.1", 4},   {"5.0.2", 5},
    {"6.0", 6},  {"6.5.1", 6}, {"7.1", 6}, {"127.15", 6},  {"128.0", 6}, {"200.1", 6}, {"255.15.15", 6},
};

INSTANTIATE_TEST_SUITE_P(Versions, QTVersionTableTest, testing::ValuesIn(kVersions),
                         platform::testing::NameFromText<&VersionCase::installed>());

class QTVersionFailureTest : public QuickTimeProbeTest, public testing::WithParamInterface<const char*> {};

TEST_P(QTVersionFailureTest, AFailingStepAnswersZeroAndUndoesTheStartsBeforeIt) {
    qt::testing::SetQuickTimeVersion(std::string("6.0"));
    qt::testing::FailCall(GetParam(), -2093);
    EXPECT_EQ(QTVersion(), 0);
    ExpectNothingStarted();
}

INSTANTIATE_TEST_SUITE_P(Steps, QTVersionFailureTest,
                         testing::Values("StartQTML", "StartMovieServices", "QueryFeature"),
                         platform::testing::NameFromParam());

TEST_F(QuickTimeProbeTest, QuickTimeStartedByTheCallerStaysStarted) {
    qt::testing::QuickTimeSession session;
    ASSERT_TRUE(session.Started());
    const qt::testing::StartupCounts before = GetStartupCounts();
    qt::testing::SetQuickTimeVersion(std::string("5.0.2"));
    EXPECT_EQ(QTVersion(), 5);
    const qt::testing::StartupCounts after = GetStartupCounts();
    EXPECT_EQ(after.qtml, before.qtml);
    EXPECT_EQ(after.movieServices, before.movieServices);
}

} // namespace
