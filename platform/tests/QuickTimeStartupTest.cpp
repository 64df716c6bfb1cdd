#include "platform/quicktime/QuickTime.h"
#include "platform/testing/QuickTimeTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace qt::tests {
namespace {

class QuickTimeStartupTest : public ::testing::Test {
protected:
    void SetUp() override { testing::UseAudioBackend(video::AudioBackendKind::None); }
    void TearDown() override {
        testing::SetQuickTimeVersion(std::nullopt);
        testing::UseAudioBackend(video::AudioBackendKind::Default);
        testing::ClearFailures();
        EXPECT_EQ(testing::GetStartupCounts().qtml, 0);
        EXPECT_EQ(testing::GetStartupCounts().movieServices, 0);
    }
};

struct VersionCase {
    const char* name;
    const char* setting;
    std::int32_t version;
};

void PrintTo(const VersionCase& item, std::ostream* out) {
    *out << item.name;
}

class QuickTimeVersionTest : public QuickTimeStartupTest,
                             public ::testing::WithParamInterface<VersionCase> {};

TEST_P(QuickTimeVersionTest, TheFeatureQueryAnswersTheConfiguredVersion) {
    testing::SetQuickTimeVersion(GetParam().setting);
    ASSERT_EQ(StartQTML(6), noErr);
    ASSERT_EQ(StartMovieServices(), noErr);
    std::int32_t version = 0;
    EXPECT_EQ(QueryFeature(MakeOSType("qtim"), &version), noErr);
    EXPECT_EQ(version, GetParam().version);
    StopMovieServices();
    StopQTML();
}

INSTANTIATE_TEST_SUITE_P(
    Versions, QuickTimeVersionTest,
    ::testing::Values(VersionCase{"Default", "6.0", 0x06000000}, VersionCase{"Three", "3.0", 0x03000000},
                      VersionCase{"FourOne", "4.1", 0x04100000},
                      VersionCase{"FiveZeroTwo", "5.0.2", 0x05020000}, VersionCase{"Seven", "7", 0x07000000},
                      VersionCase{"Malformed", "six", 0x06000000},
                      VersionCase{"TooManyParts", "5.0.2.1", 0x06000000}),
    [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.name); });

TEST_F(QuickTimeStartupTest, TheEnvironmentSetsTheVersionAtEachStartUp) {
    setenv("VEMO_QUICKTIME", "4.1", 1);
    ASSERT_EQ(StartQTML(3), noErr);
    std::int32_t version = 0;
    EXPECT_EQ(QueryFeature(MakeOSType("qtim"), &version), noErr);
    EXPECT_EQ(version, 0x04100000);
    StopQTML();
    setenv("VEMO_QUICKTIME", "none", 1);
    EXPECT_EQ(StartQTML(3), qtmlLibraryNotFound);
    EXPECT_EQ(testing::GetStartupCounts().qtml, 0);
    unsetenv("VEMO_QUICKTIME");
}

TEST_F(QuickTimeStartupTest, NoneMakesQuickTimeMissingAndNothingStarts) {
    testing::SetQuickTimeVersion("none");
    EXPECT_EQ(StartQTML(6), qtmlLibraryNotFound);
    EXPECT_EQ(testing::GetStartupCounts().qtml, 0);
    EXPECT_FALSE(testing::GetAudio().open);
    EXPECT_EQ(StartMovieServices(), movieToolboxUninitialized);
}

TEST_F(QuickTimeStartupTest, StartUpsAreCountedAndTheAudioOpensWithTheFirstMovieUntilTheLastShutDown) {
    ASSERT_EQ(StartQTML(6), noErr);
    ASSERT_EQ(StartQTML(3), noErr);
    EXPECT_EQ(testing::GetStartupCounts().qtml, 2);
    EXPECT_FALSE(testing::GetAudio().open) << "a version query needs no sound";
    ASSERT_EQ(StartMovieServices(), noErr);
    DisposeMovie(NewMovie(0));
    StopMovieServices();
    EXPECT_TRUE(testing::GetAudio().open);
    StopQTML();
    EXPECT_TRUE(testing::GetAudio().open);
    StopQTML();
    EXPECT_FALSE(testing::GetAudio().open);
    StopQTML();
    EXPECT_EQ(testing::GetStartupCounts().qtml, 0);
}

TEST_F(QuickTimeStartupTest, OtherSelectorsAndTheOptionalServices) {
    ASSERT_EQ(StartQTML(6), noErr);
    std::int32_t value = 0;
    EXPECT_EQ(QueryFeature(MakeOSType("sysv"), &value), gestaltUndefSelectorErr);
    EXPECT_EQ(Selector17000E(1), noErr);
    EXPECT_EQ(Selector170003(1, 0), noErr);
    StopQTML();
}

TEST_F(QuickTimeStartupTest, MoviesNeedTheMovieServices) {
    ASSERT_EQ(StartQTML(6), noErr);
    EXPECT_EQ(NewMovie(0), nullptr);
    EXPECT_EQ(GetMoviesError(), movieToolboxUninitialized);
    StopQTML();
    EXPECT_EQ(CreatePortAssociation(nullptr, nullptr, 2), nullptr);
}

TEST_F(QuickTimeStartupTest, ANamedCallFailsOnceOrAlways) {
    testing::FailCall("StartQTML", -2094);
    EXPECT_EQ(StartQTML(6), -2094);
    ASSERT_EQ(StartQTML(6), noErr);
    testing::FailCall("StartMovieServices", -108, testing::Times::Always);
    EXPECT_EQ(StartMovieServices(), -108);
    EXPECT_EQ(StartMovieServices(), -108);
    testing::ClearFailures();
    ASSERT_EQ(StartMovieServices(), noErr);
    testing::FailCall("NewMovie", -108);
    EXPECT_EQ(NewMovie(0), nullptr);
    EXPECT_EQ(GetMoviesError(), -108);
    testing::FailCall("DisposeMovie", -2010);
    Movie movie = NewMovie(0);
    DisposeMovie(movie);
    EXPECT_EQ(GetMoviesError(), -2010);
    EXPECT_EQ(testing::GetOpenObjects().movies, 0U) << "disposed all the same";
    StopMovieServices();
    StopQTML();
}

} // namespace
} // namespace qt::tests
