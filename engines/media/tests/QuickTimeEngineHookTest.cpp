#include "engines/media/quicktime/QuickTimeEngineHook.h"

#include "engines/media/quicktime/QuickTimeErrorCodes.h"
#include "engines/media/tests/QuickTimeTestSupport.h"
#include "resources/error/ErrorCodes.h"
#include "resources/hooks/QuickTimeHookPointer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

class QuickTimeEngineHookTest : public QuickTimeTest {
protected:
    const String m_ownPath{"C:\\Temp\\own.mov"};

    void SetUp() override {
        QuickTimeTest::SetUp();
        std::filesystem::create_directories(HostPath("Temp"));
    }

    bool OwnFileExists() const { return std::filesystem::exists(HostPath("Temp/own.mov")); }
};

TEST_F(QuickTimeEngineHookTest, InstallStartsQuickTimeWithTheWindowPortAndRemoveStopsAll) {
    EXPECT_EQ(QuickTimeEngineHook::Installed(), nullptr);
    ASSERT_TRUE(InstallHook());
    EXPECT_NE(QuickTimeEngineHook::Installed(), nullptr);
    EXPECT_EQ(QuickTimeHookPointer::Installed(), QuickTimeEngineHook::Installed());
    EXPECT_EQ(qt::testing::GetStartupCounts().qtml, 1);
    EXPECT_EQ(qt::testing::GetStartupCounts().movieServices, 1);
    EXPECT_NE(qt::GetNativeWindowPort(Window()), nullptr);
    EXPECT_FALSE(QuickTimeEngineHook::Installed()->HasOwnMovie());
    QuickTimeEngineHook::PlayOwnMovie(true);

    EXPECT_TRUE(QuickTimeEngineHook::Remove());
    EXPECT_EQ(QuickTimeHookPointer::Installed(), nullptr);
    EXPECT_EQ(qt::testing::GetStartupCounts().qtml, 0);
    EXPECT_EQ(qt::GetNativeWindowPort(Window()), nullptr);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(QuickTimeEngineHookTest, ASecondInstallOrARemoveWithoutHookIsRefused) {
    EXPECT_FALSE(QuickTimeEngineHook::Remove());
    EXPECT_EQ(Taken(), (Reports{EngineHookErrNotInstalled}));
    ASSERT_TRUE(InstallHook());
    QuickTimeEngineHook* first = QuickTimeEngineHook::Installed();
    EXPECT_FALSE(InstallHook(&m_ownPath));
    EXPECT_EQ(Taken(), (Reports{EngineHookErrAlreadyInstalled}));
    EXPECT_EQ(QuickTimeEngineHook::Installed(), first);
    EXPECT_EQ(qt::testing::GetStartupCounts().qtml, 1);
    EXPECT_FALSE(OwnFileExists());
}

TEST_F(QuickTimeEngineHookTest, IdleTasksEveryActiveMovieOnlyWhileTheHookIsInstalled) {
    const Path path = Write("clip.mov", Pictures());
    std::vector<std::uint32_t> pixels(64 * 48, 0);
    auto play = [&](qt::Movie& movie, qt::GWorldPtr& world) {
        qt::FSSpec spec{};
        std::int16_t file = 0;
        qt::NativePathToFileSpec("C:\\clip.mov", &spec, 0);
        ASSERT_EQ(qt::OpenMovieFile(&spec, &file, 1), qt::noErr);
        ASSERT_EQ(qt::NewMovieFromFile(&movie, file, nullptr, nullptr, 0, nullptr), qt::noErr);
        qt::CloseMovieFile(file);
        const qt::Rect bounds{0, 0, 48, 64};
        ASSERT_EQ(qt::NewGraphicsWorldFromMemory(&world, qt::k32BGRAPixelFormat, &bounds, nullptr, nullptr, 0,
                                                 reinterpret_cast<qt::Ptr>(pixels.data()), 64 * 4),
                  qt::noErr);
        qt::LockPixels(qt::GetGWorldPixMap(world));
        qt::SetMovieGraphicsPort(movie, world, nullptr);
        qt::SetMovieActive(movie, 1);
        qt::SetMovieTimeValue(movie, 120);
    };
    {
        qt::testing::QuickTimeSession session;
        qt::Movie movie = nullptr;
        qt::GWorldPtr world = nullptr;
        play(movie, world);
        QuickTimeEngineHook::Idle();
        EXPECT_EQ(pixels[0], 0U) << "no hook, no task";
        qt::DisposeMovie(movie);
        qt::DisposeGraphicsWorld(world);
    }
    ASSERT_TRUE(InstallHook());
    qt::Movie movie = nullptr;
    qt::GWorldPtr world = nullptr;
    play(movie, world);
    QuickTimeEngineHook::Idle();
    EXPECT_EQ(pixels[0] & 0xFFFFFF, qt::testing::FrameColor(2));
    qt::DisposeMovie(movie);
    qt::DisposeGraphicsWorld(world);
}

TEST_F(QuickTimeEngineHookTest, TheOwnMovieIsAFileOfItsOwnThatLoopsAndPausesUntilShutdown) {
    {
        std::ofstream stale(HostPath("Temp/own.mov"));
        stale << "not a movie";
    }
    ASSERT_TRUE(InstallHook(&m_ownPath));
    EXPECT_TRUE(Taken().empty());
    QuickTimeEngineHook* hook = QuickTimeEngineHook::Installed();
    ASSERT_TRUE(hook->HasOwnMovie());
    EXPECT_EQ(qt::testing::GetOpenObjects().files, 1U);

    qt::Movie own = hook->GetOwnMovie();
    const qt::TimeValue duration = qt::GetMovieDuration(own);
    EXPECT_NEAR(duration, 600 * 31.25, 1000) << "1/32 of a second, stretched a thousand times";
    const qt::TimeValue start = qt::GetMovieTime(own, nullptr);
    Advance(1000);
    const qt::TimeValue playing = qt::GetMovieTime(own, nullptr);
    EXPECT_EQ(playing - start, 600);
    QuickTimeEngineHook::PlayOwnMovie(false);
    Advance(1000);
    EXPECT_EQ(qt::GetMovieTime(own, nullptr), playing);
    QuickTimeEngineHook::PlayOwnMovie(true);
    Advance(40000);
    EXPECT_LT(qt::GetMovieTime(own, nullptr), duration) << "it loops";
    EXPECT_TRUE(qt::GetMovieActive(own));

    // What start-up wrote is a movie that QuickTime reads back.
    qt::FSSpec spec{};
    std::int16_t file = 0;
    qt::Movie copy = nullptr;
    ASSERT_EQ(qt::NativePathToFileSpec(m_ownPath.CStr(), &spec, 0), qt::noErr);
    ASSERT_EQ(qt::OpenMovieFile(&spec, &file, 1), qt::noErr);
    ASSERT_EQ(qt::NewMovieFromFile(&copy, file, nullptr, nullptr, 0, nullptr), qt::noErr);
    EXPECT_EQ(qt::GetMovieTrackCount(copy), 1);
    EXPECT_NE(qt::GetMovieIndexedTrackOfType(copy, 1, qt::SoundMediaType, qt::movieTrackMediaType), nullptr);
    qt::DisposeMovie(copy);
    qt::CloseMovieFile(file);

    EXPECT_TRUE(QuickTimeEngineHook::Remove());
    EXPECT_FALSE(OwnFileExists());
    EXPECT_TRUE(Taken().empty());
    QuickTimeEngineHook::PlayOwnMovie(false);
}

TEST_F(QuickTimeEngineHookTest, TheOptionalServicesAreStartedOnlyWithBothArgumentsAndStoppedAtShutdown) {
    ASSERT_TRUE(QuickTimeEngineHook::Install(Window(), 5, 0, nullptr));
    qt::testing::FailCall("Selector170003", qt::paramErr);
    EXPECT_TRUE(QuickTimeEngineHook::Remove()) << "never started, never stopped";
    qt::testing::ClearFailures();

    ASSERT_TRUE(QuickTimeEngineHook::Install(Window(), 5, 7, nullptr));
    qt::testing::FailCall("Selector170003", qt::paramErr);
    qt::testing::FailCall("Selector17000E", qt::paramErr);
    EXPECT_FALSE(QuickTimeEngineHook::Remove());
    EXPECT_EQ(Taken(), (Reports{QuickTimeHookErrOptionalSecond, QuickTimeHookErrOptionalFirst,
                                EngineHookErrShutdownFailed}));
}

// One start-up that fails: the QuickTime call made to fail (or the setting), the arguments, and the codes
// reported before the hook's own start-up failure.
struct StartupCase {
    const char* name;
    const char* call;
    qt::OSErr code;
    std::optional<std::string> version;
    bool window;
    std::vector<ErrorCode> reports;
};

void PrintTo(const StartupCase& row, std::ostream* out) {
    *out << row.name;
}

class QuickTimeStartupTest : public QuickTimeEngineHookTest,
                             public testing::WithParamInterface<StartupCase> {};

TEST_P(QuickTimeStartupTest, FailsWithItsCodeAndLeavesNothingStartedAndNoFile) {
    const StartupCase& row = GetParam();
    if (row.version) {
        qt::testing::SetQuickTimeVersion(*row.version);
    }
    if (row.call[0] != '\0') {
        qt::testing::FailCall(row.call, row.code);
    }
    EXPECT_FALSE(QuickTimeEngineHook::Install(row.window ? Window() : nullptr, 5, 7, &m_ownPath));
    Reports expected(row.reports.begin(), row.reports.end());
    expected.push_back(EngineHookErrStartupFailed);
    EXPECT_EQ(Taken(), expected);
    EXPECT_EQ(QuickTimeEngineHook::Installed(), nullptr);
    EXPECT_EQ(qt::testing::GetStartupCounts().qtml, 0);
    EXPECT_EQ(qt::testing::GetStartupCounts().movieServices, 0);
    EXPECT_TRUE(qt::testing::GetOpenObjects().None());
    EXPECT_FALSE(OwnFileExists());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, QuickTimeStartupTest,
    testing::Values(
        StartupCase{"QuickTimeMissing", "", 0, "none", true, {QuickTimeHookErrStartQTML}},
        StartupCase{"QuickTime3", "", 0, "3.15.15", true, {QuickTimeHookErrVersion}},
        StartupCase{
            "MovieServices", "StartMovieServices", qt::memFullErr, {}, true, {QuickTimeHookErrMovieServices}},
        StartupCase{"VersionQuery",
                    "QueryFeature",
                    qt::gestaltUndefSelectorErr,
                    {},
                    true,
                    {QuickTimeHookErrVersionQuery}},
        StartupCase{"NoWindow", "", 0, {}, false, {QuickTimeHookErrNoWindow}},
        StartupCase{"PortAssociation",
                    "CreatePortAssociation",
                    qt::paramErr,
                    {},
                    true,
                    {QuickTimeHookErrPortAssociation}},
        StartupCase{
            "FirstOptional", "Selector17000E", qt::paramErr, {}, true, {QuickTimeHookErrOptionalFirst}},
        StartupCase{
            "SecondOptional", "Selector170003", qt::paramErr, {}, true, {QuickTimeHookErrOptionalSecond}},
        StartupCase{"FileSpec",
                    "NativePathToFileSpec",
                    qt::bdNamErr,
                    {},
                    true,
                    {QuickTimeHookErrFileSpec, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"CreateFile",
                    "CreateMovieFile",
                    qt::ioErr,
                    {},
                    true,
                    {QuickTimeHookErrCreateFile, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"Track",
                    "NewMovieTrack",
                    qt::memFullErr,
                    {},
                    true,
                    {QuickTimeHookErrNewTrack, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"Media",
                    "NewTrackMedia",
                    qt::memFullErr,
                    {},
                    true,
                    {QuickTimeHookErrNewMedia, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"Block",
                    "NewHandle",
                    qt::memFullErr,
                    {},
                    true,
                    {QuickTimeHookErrNewBlock, QuickTimeHookErrSamples, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"BlockSize",
                    "SetHandleSize",
                    qt::memFullErr,
                    {},
                    true,
                    {QuickTimeHookErrResizeBlock, QuickTimeHookErrSamples, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"BeginEdits",
                    "BeginMediaEdits",
                    qt::invalidMedia,
                    {},
                    true,
                    {QuickTimeHookErrBeginEdits, QuickTimeHookErrSamples, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"Sample",
                    "AddMediaSample",
                    qt::invalidMedia,
                    {},
                    true,
                    {QuickTimeHookErrAddSample, QuickTimeHookErrSamples, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"EndEdits",
                    "EndMediaEdits",
                    qt::invalidMedia,
                    {},
                    true,
                    {QuickTimeHookErrEndEdits, QuickTimeHookErrSamples, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"InsertMedia",
                    "InsertMediaIntoTrack",
                    qt::invalidTrack,
                    {},
                    true,
                    {QuickTimeHookErrInsertMedia, QuickTimeHookErrSamples, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"StoreMovie",
                    "AddMovieResource",
                    qt::ioErr,
                    {},
                    true,
                    {QuickTimeHookErrStoreMovie, QuickTimeHookErrSamples, QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"Controller",
                    "NewMovieController",
                    qt::memFullErr,
                    {},
                    true,
                    {QuickTimeHookErrNewController, QuickTimeHookErrControllerSetup,
                     QuickTimeHookErrOwnMovieNotBuilt}},
        StartupCase{"Loop",
                    "ScaleMovieSegment",
                    qt::invalidDuration,
                    {},
                    true,
                    {QuickTimeHookErrScaleSegment, QuickTimeHookErrLoop, QuickTimeHookErrOwnMovieNotBuilt}}),
    [](const testing::TestParamInfo<StartupCase>& info) { return std::string(info.param.name); });

TEST_F(QuickTimeEngineHookTest, QuickTime4IsEnough) {
    qt::testing::SetQuickTimeVersion("4.0");
    EXPECT_TRUE(InstallHook());
}

// A shut-down step that fails: the QuickTime call and the code it reports.
struct ShutdownCase {
    const char* name;
    const char* call;
    ErrorCode report;
};

void PrintTo(const ShutdownCase& row, std::ostream* out) {
    *out << row.name;
}

class QuickTimeShutdownTest : public QuickTimeEngineHookTest,
                              public testing::WithParamInterface<ShutdownCase> {};

TEST_P(QuickTimeShutdownTest, GoesOnPastTheFailureAndRemovesTheHook) {
    ASSERT_TRUE(InstallHook(&m_ownPath));
    qt::testing::FailCall(GetParam().call, qt::ioErr);
    EXPECT_FALSE(QuickTimeEngineHook::Remove());
    EXPECT_EQ(Taken(),
              (Reports{GetParam().report, QuickTimeHookErrOwnMovieNotDisposed, EngineHookErrShutdownFailed}));
    EXPECT_EQ(QuickTimeEngineHook::Installed(), nullptr);
    std::filesystem::remove(HostPath("Temp/own.mov"));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, QuickTimeShutdownTest,
    testing::Values(ShutdownCase{"Controller", "DisposeMovieController", QuickTimeHookErrDisposeController},
                    ShutdownCase{"Movie", "DisposeMovie", QuickTimeHookErrDisposeMovie},
                    ShutdownCase{"File", "DeleteMovieFile", QuickTimeHookErrDeleteFile}),
    [](const testing::TestParamInfo<ShutdownCase>& info) { return std::string(info.param.name); });

} // namespace
