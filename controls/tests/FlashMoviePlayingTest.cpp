// The Flash control with this platform's own player (Ruffle in the web engine, on an X server the test
// process starts for itself): movies made by the tests' SWF writer play in the control's window, say their
// fscommand and their loading states, pause, play again and start over. In a build without the engine the
// same player makes the control announce that Flash is not installed.
#include "controls/ShockwaveFlashControl.h"
#include "controls/tests/WindowedControlTestSupport.h"
#include "platform/testing/Drives.h"
#include "platform/testing/SwfWriter.h"
#include "platform/web/ShockwaveFlash.h"
#include "platform/web/WebView.h"
#include "platform/web/XvfbServer.h"
#include "platform/win32/windows/RunLoopPacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

using MessengerTest::Log;
using WindowedTest::S;

// Where the control lies in the viewport, and the movie's stage in it.
constexpr int kLeft = 10;
constexpr int kTop = 20;
constexpr int kWidth = 160;
constexpr int kHeight = 120;

const Log kReadyStates = {"ExternalEvent.ReadyStateUnInitialized", "ExternalEvent.ReadyStateLoading.",
                          "ExternalEvent.ReadyStateLoaded", "ExternalEvent.ReadyInactive",
                          "ExternalEvent.ReadyComplete"};

bool Near(std::uint32_t shown, std::uint32_t expected) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((shown >> shift) & 0xFF);
        const int b = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - b) > 6) {
            return false;
        }
    }
    return true;
}

class FlashMoviePlayingTest : public WindowedTest::Fixture {
protected:
    void SetUp() override {
        WindowedTest::Fixture::SetUp();
        ASSERT_TRUE(web::ShockwaveFlash::Register());
    }

    void TearDown() override {
        web::ShockwaveFlash::Unregister();
        WindowedTest::Fixture::TearDown();
    }

    static bool EngineCanRun() { return web::EngineBuiltIn() && web::XvfbServer::Installed(); }

    // The control named Player, inactive, for a movie written to C:\Title\movie.swf.
    ShockwaveFlashControl& Open(const swf::testing::FlashMovie& movie, const std::string& keys = "") {
        std::filesystem::create_directories(m_drives.HostPath('C', "Title"));
        swf::testing::WriteFlashMovie(m_drives.HostPath('C', "Title\\movie.swf"), movie);
        OpenMenu("[Menu]\nControl=Player\n[Player]\nClass=ShockwaveFlashControl\nPosition=" +
                 std::to_string(kLeft) + "," + std::to_string(kTop) + "\nSize=" + std::to_string(kWidth) +
                 "," + std::to_string(kHeight) + "\nActive=false\n" + keys);
        auto& control = Find<ShockwaveFlashControl>("Player");
        EXPECT_TRUE(control.SetMovieUrl(S("C:\\Title\\movie.swf")));
        m_recorder = &Watch(control);
        return control;
    }

    // Application steps, each ended as the run loop ends it (the web engine's work is done there), until the
    // condition holds or the seconds have passed on the host's clock.
    bool StepUntil(const std::function<bool()>& condition, double seconds = 120) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            Step();
            win32::EndRunLoopStep();
        }
        return true;
    }

    void StepFor(double seconds) {
        StepUntil([] { return false; }, seconds);
    }

    // What the control announced since the last look, kept in m_heard.
    const Log& Heard() {
        for (std::string& word : Announced(*m_recorder)) {
            m_heard.push_back(std::move(word));
        }
        return m_heard;
    }

    std::size_t CountHeard(const std::string& word) {
        const Log& heard = Heard();
        return static_cast<std::size_t>(std::count(heard.begin(), heard.end(), word));
    }

    // The heard words that are ready states, in order.
    Log ReadyStatesHeard() {
        Log states;
        for (const std::string& word : Heard()) {
            if (word.rfind("ExternalEvent.Ready", 0) == 0) {
                states.push_back(word);
            }
        }
        return states;
    }

    // The colour the window shows at a point of the movie's stage.
    std::uint32_t StageAt(int x, int y) { return Shown().At(kLeft + x, kTop + y) & 0xFFFFFF; }

    bool StageShows(int x, int y, std::uint32_t color) { return Near(StageAt(x, y), color); }

    // The stage's pixels along its middle row.
    std::vector<std::uint32_t> MiddleRow() {
        std::vector<std::uint32_t> row;
        for (int x = 0; x < kWidth; x += 2) {
            row.push_back(StageAt(x, kHeight / 2));
        }
        return row;
    }

    static swf::testing::FlashMovie Movie() {
        swf::testing::FlashMovie movie;
        movie.width = kWidth;
        movie.height = kHeight;
        movie.background = 0x2040C0;
        movie.rectangleColor = 0xF0C030;
        movie.rectangleLeft = 40;
        movie.rectangleTop = 30;
        movie.rectangleRight = 120;
        movie.rectangleBottom = 90;
        return movie;
    }

    win32::testing::TemporaryDrives m_drives{{'C'}};
    MessengerTest::Recorder* m_recorder = nullptr;
    Log m_heard;
};

TEST_F(FlashMoviePlayingTest, AMovieOfTheWriterShowsItsColoursSaysQuitAndItsReadyStates) {
    if (!EngineCanRun()) {
        GTEST_SKIP() << "built without the web engine, or no Xvfb for it";
    }
    ShockwaveFlashControl& control = Open(Movie());
    ASSERT_TRUE(control.SetActive(true));
    EXPECT_EQ(Heard(), Log{"FlashReady"});
    ASSERT_TRUE(StepUntil([&] {
        return CountHeard("FSCommand.quit") == 1 && ReadyStatesHeard().size() == 5;
    })) << ::testing::PrintToString(Heard());
    EXPECT_EQ(ReadyStatesHeard(), kReadyStates);
    EXPECT_TRUE(StepUntil([&] { return StageShows(80, 60, 0xF0C030) && StageShows(10, 10, 0x2040C0); }))
        << std::hex << StageAt(80, 60) << " " << StageAt(10, 10);
    EXPECT_TRUE(StageShows(150, 110, 0x2040C0)) << std::hex << StageAt(150, 110);
}

TEST_F(FlashMoviePlayingTest, StopHoldsTheMovieStillAndPlayGoesOn) {
    if (!EngineCanRun()) {
        GTEST_SKIP() << "built without the web engine, or no Xvfb for it";
    }
    swf::testing::FlashMovie movie = Movie();
    movie.frames = 10;
    movie.framesPerSecond = 20;
    movie.stopAtEnd = false;
    movie.rectangleLeft = 0;
    movie.rectangleRight = 20;
    movie.step = 10;
    ShockwaveFlashControl& control = Open(movie);
    ASSERT_TRUE(control.SetActive(true));
    ASSERT_TRUE(StepUntil([&] { return CountHeard("FSCommand.quit") >= 2; })) << "the movie loops";

    ASSERT_TRUE(control.HandleMessage(Fragment(S("Stop")), nullptr));
    StepFor(0.5);
    const std::size_t saidBefore = CountHeard("FSCommand.quit");
    const std::vector<std::uint32_t> still = MiddleRow();
    StepFor(1.0);
    EXPECT_EQ(CountHeard("FSCommand.quit"), saidBefore) << "a stopped movie comes round no more";
    EXPECT_EQ(MiddleRow(), still) << "a stopped movie shows the same picture";

    ASSERT_TRUE(control.HandleMessage(Fragment(S("Play")), nullptr));
    EXPECT_TRUE(StepUntil([&] { return CountHeard("FSCommand.quit") > saidBefore; }));
    EXPECT_TRUE(StepUntil([&] { return MiddleRow() != still; }));
}

TEST_F(FlashMoviePlayingTest, RewindStartsAStoppedMovieOverFromItsFirstFrame) {
    if (!EngineCanRun()) {
        GTEST_SKIP() << "built without the web engine, or no Xvfb for it";
    }
    ShockwaveFlashControl& control = Open(Movie());
    ASSERT_TRUE(control.SetActive(true));
    ASSERT_TRUE(
        StepUntil([&] { return CountHeard("FSCommand.quit") == 1 && ReadyStatesHeard().size() == 5; }));
    StepFor(0.5);
    EXPECT_EQ(CountHeard("FSCommand.quit"), 1U) << "the movie stops at its end";
    m_heard.clear();

    ASSERT_TRUE(control.HandleMessage(Fragment(S("Rewind")), nullptr));
    EXPECT_TRUE(StepUntil([&] {
        return CountHeard("FSCommand.quit") == 1 && ReadyStatesHeard().size() == 5;
    })) << ::testing::PrintToString(Heard());
    EXPECT_EQ(ReadyStatesHeard(), kReadyStates);
}

TEST_F(FlashMoviePlayingTest, BgColorColoursTheStageOverTheMoviesOwnBackground) {
    if (!EngineCanRun()) {
        GTEST_SKIP() << "built without the web engine, or no Xvfb for it";
    }
    ShockwaveFlashControl& control = Open(Movie(), "BgColor=#30A040\n");
    ASSERT_TRUE(control.SetActive(true));
    EXPECT_TRUE(StepUntil([&] { return StageShows(10, 10, 0x30A040) && StageShows(80, 60, 0xF0C030); }))
        << std::hex << StageAt(10, 10) << " " << StageAt(80, 60);
}

TEST_F(FlashMoviePlayingTest, WithoutTheEngineThePlayerIsNotInstalledAndLeavesNothing) {
    if (web::EngineBuiltIn()) {
        GTEST_SKIP() << "built with the web engine";
    }
    ShockwaveFlashControl& control = Open(Movie());
    EXPECT_FALSE(control.SetActive(true));
    EXPECT_EQ(Heard(), Log{"FlashNotInstalled"});
    EXPECT_EQ(FirstChild(), nullptr);
}

} // namespace
