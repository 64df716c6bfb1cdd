// The windowed controls on the fixture title, run by the product's application on the headless backend: the
// file finder resolves their movies and scripts, the viewport's window holds their child windows.
#include "controls/QTWindowMovieControl.h"
#include "controls/ShockwaveControl.h"
#include "controls/tests/HostedPlayerDoubles.h"
#include "engines/media/quicktime/QuickTimeEngineHook.h"
#include "platform/testing/Clock.h"
#include "platform/testing/ComTesting.h"
#include "platform/testing/MediaWriter.h"
#include "platform/testing/MessageBoxTesting.h"
#include "platform/testing/QuickTimeTesting.h"
#include "platform/testing/VrControllerTesting.h"
#include "platform/testing/VrMovieWriter.h"
#include "platform/testing/WindowTesting.h"
#include "platform/video/Overlays.h"
#include "platform/win32/windows/Window.h"
#include "runtime/application/WindowFunctions.h"
#include "runtime/product/QuorvenApp.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/states/NavigationState.h"
#include "runtime/testing/RunningApplication.h"
#include "runtime/testing/TitleTestSupport.h"
#include "script/StateGraph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using HostedDoubles::Calls;

Vemo::String S(const std::string& text) {
    return Vemo::String(text.c_str());
}

class WindowedTitleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TitleTest::RunningApplication::SetUpWindows());
        qt::testing::UseAudioBackend(video::AudioBackendKind::None);
        Calls().clear();
    }

    void TearDown() override {
        m_running.TearDown();
        EXPECT_EQ(com::testing::HostingStartCount(), 0);
        EXPECT_TRUE(qt::testing::GetOpenObjects().None());
        qt::testing::UseAudioBackend(video::AudioBackendKind::Default);
    }

    // The title with these controls on its first screen (their sections follow), started.
    bool Start(const std::string& controls, const std::string& sections) {
        std::string script = m_title.Read('C', "Title/Quorven.ini");
        const std::string anchor = "Control=PlayButton\n";
        script.replace(script.find(anchor), anchor.size(), anchor + controls);
        m_title.Write('C', "Title/Quorven.ini", script + "\n" + sections);
        if (!m_running.Start()) {
            return false;
        }
        m_running.App().Step();
        return true;
    }

    template <class T>
    T* Find(const std::string& name) {
        auto* state = dynamic_cast<Messenger*>(m_running.App().GetStateGraph()->GetCurrentState());
        return state != nullptr ? dynamic_cast<T*>(state->FindMessenger(S(name))) : nullptr;
    }

    win32::HWND ViewportWindow() { return GetViewportWindowHandle(m_running.App().GetViewport()); }

    TitleTest::InstalledTitle m_title;
    win32::testing::MessageBoxRecorder m_boxes;
    TitleTest::RunningApplication m_running;
};

TEST_F(WindowedTitleTest, TheWindowMovieControlPlaysAPlainMovieInItsChildWindow) {
    platform::testing::FakeClock clock;
    qt::testing::MediaFile movie;
    movie.pictures.push_back(qt::testing::PictureTrack{});
    qt::testing::WriteMediaFile(m_title.Host('C', "Title/Art/clip.mov"), movie);
    ASSERT_TRUE(Start("Control=Window\n", "[Window]\nClass=QTWindowMovieControl\nPosition=20,30\nSize=64,64\n"
                                          "Movie=clip.mov\n"));
    auto* control = Find<QTWindowMovieControl>("Window");
    ASSERT_NE(control, nullptr);
    ASSERT_NE(control->GetWindow(), nullptr);
    EXPECT_EQ(win32::GetParent(control->GetWindow()), ViewportWindow());
    ASSERT_NE(control->GetMovie(), nullptr);
    ASSERT_NE(control->GetController(), nullptr);
    EXPECT_EQ(control->GetVRInstance(), nullptr) << "no VR track: an ordinary movie";
    EXPECT_EQ(qt::testing::GetStartupCounts().vrLibrary, 1);
    EXPECT_EQ(video::OverlayCount(control->GetWindow()), 1U);

    EXPECT_TRUE(control->HandleMessage(Fragment(S("Movie(clip.mov)")), nullptr));
    const qt::Movie shown = control->GetMovie();
    EXPECT_TRUE(control->HandleMessage(Fragment(S("Movie(CLIP.MOV)")), nullptr));
    EXPECT_EQ(control->GetMovie(), shown) << "the movie shown already is not opened again";

    // The standard controller's play button, at the left end of its bar under the movie.
    win32::testing::Click(ViewportWindow(), win32::testing::MouseButton::Left, 20 + 4, 30 + 64 - 8);
    m_running.App().Step();
    clock.Advance(500);
    m_running.App().Step();
    EXPECT_GT(qt::GetMovieTime(control->GetMovie(), nullptr), 0) << "the movie plays on the clock";

    const std::size_t openMovies = qt::testing::GetOpenObjects().movies;
    EXPECT_TRUE(control->HandleMessage(Fragment(S("Clear")), nullptr));
    EXPECT_EQ(control->GetMovie(), nullptr);
    EXPECT_EQ(qt::testing::GetOpenObjects().movies, openMovies - 1);

    ASSERT_TRUE(control->SetActive(false));
    EXPECT_TRUE(control->HandleMessage(Fragment(S("Movie(clip.mov)")), nullptr));
    EXPECT_EQ(control->GetMovie(), nullptr) << "only asked for while inactive";
    EXPECT_EQ(qt::testing::GetStartupCounts().vrLibrary, 0);
    ASSERT_TRUE(control->SetEnabled(false));
    ASSERT_TRUE(control->SetActive(true));
    EXPECT_NE(control->GetMovie(), nullptr) << "opened on activation";
    EXPECT_TRUE(control->HandleMessage(Fragment(S("Movie")), nullptr));
    EXPECT_EQ(control->GetMovie(), nullptr);
}

TEST_F(WindowedTitleTest, TheWindowMovieControlReopensItsMovieAfterADeactivationUntilItIsForgotten) {
    qt::testing::MediaFile movie;
    movie.pictures.push_back(qt::testing::PictureTrack{});
    qt::testing::WriteMediaFile(m_title.Host('C', "Title/Art/clip.mov"), movie);
    ASSERT_TRUE(
        Start("Control=Window\n", "[Window]\nClass=QTWindowMovieControl\nSize=64,64\nMovie=clip.mov\n"));
    auto* control = Find<QTWindowMovieControl>("Window");
    ASSERT_NE(control, nullptr);
    ASSERT_NE(control->GetMovie(), nullptr);
    ASSERT_TRUE(control->SetActive(false));
    EXPECT_EQ(control->GetMovie(), nullptr);
    ASSERT_TRUE(control->SetActive(true));
    EXPECT_NE(control->GetMovie(), nullptr) << "the movie comes back with the activation";

    // Each of the two ways of forgetting the movie, sent while the control is inactive.
    for (const char* forget : {"Clear", "Movie"}) {
        ASSERT_TRUE(control->SetActive(false));
        EXPECT_TRUE(control->HandleMessage(Fragment(S(forget)), nullptr));
        ASSERT_TRUE(control->SetActive(true));
        EXPECT_EQ(control->GetMovie(), nullptr) << forget;
        EXPECT_TRUE(control->HandleMessage(Fragment(S("Movie(clip.mov)")), nullptr));
        ASSERT_NE(control->GetMovie(), nullptr);
    }
}

TEST_F(WindowedTitleTest, APanoramaShowsItsViewInTheWindowAndTurnsWithADrag) {
    platform::testing::FakeClock clock;
    qt::testing::WriteVrMovie(m_title.Host('C', "Title/Art/pano.mov"), qt::testing::OnePanorama());
    ASSERT_TRUE(Start("Control=Window\n",
                      "[Window]\nClass=QTWindowMovieControl\nPosition=20,30\nSize=160,136\n"
                      "Movie=pano.mov\n"));
    auto* control = Find<QTWindowMovieControl>("Window");
    ASSERT_NE(control, nullptr);
    ASSERT_NE(control->GetVRInstance(), nullptr);
    m_running.App().Step();

    // The view (160 by 120 above the bar) at the file's default: pan 0, a field of 40 degrees.
    constexpr double kPi = 3.14159265358979323846;
    const double focal = 60 / std::tan(20 * kPi / 180);
    auto panShownAt = [&](int x) {
        std::vector<std::uint32_t> frame(320 * 240, 0);
        video::OverlayFrame target{frame.data(), 320, 240, 320 * 4, {}, {0, 0, 320, 240}};
        video::ComposeWindowOverlays(ViewportWindow(), target);
        return qt::testing::DecodePanoramaColor(frame[(30 + 60) * 320 + 20 + x]);
    };
    const qt::testing::PanoramaCode code = panShownAt(120);
    EXPECT_EQ(code.blue, qt::testing::NodeBlue(1));
    const double expected = 360 - std::atan(40.5 / focal) * 180 / kPi;
    EXPECT_NEAR(code.pan, expected, 2.2) << "40 pixels right of the middle, in perspective";

    // Half the view's width to the right of the press, held for half a second: the view turns right by half
    // the window's angle.
    const double before = qt::testing::GetVRState(control->GetController())->pan;
    win32::testing::PressMouse(ViewportWindow(), win32::testing::MouseButton::Left, 20 + 80, 30 + 60);
    win32::testing::MoveMouse(ViewportWindow(), 20 + 159, 30 + 60);
    m_running.App().Step();
    clock.Advance(500);
    m_running.App().Step();
    win32::testing::ReleaseMouse(ViewportWindow(), win32::testing::MouseButton::Left, 20 + 159, 30 + 60);
    m_running.App().Step();
    const double widthAngle = 2 * std::atan(80 / focal) * 180 / kPi;
    const double turned =
        std::remainder(qt::testing::GetVRState(control->GetController())->pan - before, 360.0);
    EXPECT_NEAR(turned, -(79.0 / 80) * widthAngle * 0.5, widthAngle * 0.05);
    EXPECT_NEAR(std::remainder(panShownAt(80).pan - (before + turned), 360.0), 0, 2.2);

    EXPECT_TRUE(control->HandleMessage(Fragment(S("Clear")), nullptr));
    EXPECT_EQ(control->GetVRInstance(), nullptr);
}

TEST_F(WindowedTitleTest, AMissingMovieFailsAndAFailedActivationLeavesNothing) {
    ASSERT_TRUE(
        Start("Control=Window\n", "[Window]\nClass=QTWindowMovieControl\nSize=64,64\nActive=false\n"));
    auto* control = Find<QTWindowMovieControl>("Window");
    ASSERT_NE(control, nullptr);
    qt::testing::FailCall("QuickTimeVRLibrary_Load", -1);
    EXPECT_FALSE(control->SetActive(true));
    EXPECT_EQ(control->GetWindow(), nullptr);
    EXPECT_EQ(win32::GetWindow(ViewportWindow(), win32::GW_CHILD), nullptr);
    ASSERT_TRUE(control->SetActive(false));
    ASSERT_TRUE(control->SetActive(true));
    EXPECT_FALSE(control->HandleMessage(Fragment(S("Movie(nothing.mov)")), nullptr));
    EXPECT_EQ(control->GetMovie(), nullptr);
    m_boxes.Take();
}

TEST_F(WindowedTitleTest, ShockwaveFindsItsMovieAndItsLingoScriptThroughTheSearchOrder) {
    HostedDoubles::Installed doubles;
    m_title.Write('C', "Title/Art/intro.dcr", "movie");
    std::string lingo;
    for (int line = 0; line < 1200; ++line) {
        lingo += "go 1\r\n";
    }
    m_title.Write('C', "Title/Art/start.ls", lingo);
    ASSERT_TRUE(Start("Control=Player\n", "[Player]\nClass=ShockwaveControl\nPosition=0,0\nSize=100,100\n"
                                          "MovieFile=intro.dcr\nLingoScript=start.ls\nBgColor=#000000\n"));
    auto* control = Find<ShockwaveControl>("Player");
    ASSERT_NE(control, nullptr);
    ASSERT_EQ(Calls().size(), 4U);
    EXPECT_EQ(Calls()[0], "Shockwave EvalScript 5000") << "cut after 5000 characters, CR LF read as LF";
    EXPECT_EQ(HostedDoubles::Shockwave::s_lastScript.substr(0, 10), "go 1\ngo 1\n");
    EXPECT_EQ(Calls()[1], "Shockwave BgColor #000000");
    EXPECT_EQ(Calls()[2], "Shockwave AutoStart TRUE");
    EXPECT_EQ(Calls()[3], "Shockwave Source File://C:\\Title\\Art\\intro.dcr");
    Calls().clear();
    EXPECT_TRUE(control->HandleMessage(Fragment(S("ExecuteLingoScript(start.ls)")), nullptr));
    EXPECT_FALSE(control->HandleMessage(Fragment(S("Movie(missing.dcr)")), nullptr));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"Shockwave EvalScript 5000"}));
    m_boxes.Take();
}

// The product's own movie keeps QuickTime busy in the background; a hosted player pauses it while it is up
// and lets it play on once it is gone, also when the player could not be made at all.
TEST_F(WindowedTitleTest, TheProductsOwnMoviePausesWhileAHostedPlayerIsUpAndPlaysOnAfter) {
    platform::testing::FakeClock clock;
    const char* const players[] = {"IEControl", "ShockwaveControl", "ShockwaveFlashControl"};
    std::string controls;
    std::string sections;
    for (const char* player : players) {
        controls += std::string("Control=") + player + "Player\n";
        sections += std::string("[") + player + "Player]\nClass=" + player +
                    "\nPosition=0,0\nSize=100,100\nActive=false\n";
    }
    ASSERT_TRUE(Start(controls, sections));
    const Vemo::QuickTimeEngineHook* hook = Vemo::QuickTimeEngineHook::Installed();
    ASSERT_TRUE(hook != nullptr && hook->HasOwnMovie());
    const qt::Movie own = hook->GetOwnMovie();
    const auto plays = [&] {
        const qt::TimeValue before = qt::GetMovieTime(own, nullptr);
        clock.Advance(100);
        return qt::GetMovieTime(own, nullptr) != before;
    };
    ASSERT_TRUE(plays());
    for (const char* player : players) {
        SCOPED_TRACE(player);
        Control* control = Find<Control>(std::string(player) + "Player");
        ASSERT_NE(control, nullptr);
        EXPECT_FALSE(control->SetActive(true)) << "no such player on this machine";
        EXPECT_TRUE(plays());
        {
            HostedDoubles::Installed doubles;
            ASSERT_TRUE(control->SetActive(false));
            ASSERT_TRUE(control->SetActive(true));
            EXPECT_FALSE(plays());
            ASSERT_TRUE(control->SetActive(false));
            EXPECT_TRUE(plays());
        }
    }
    Calls().clear();
    m_boxes.Take();
}

// A player that is not there says so as it first activates, inside its creation: the state hears it, once,
// both for the controls it makes on entering and for one a script asks it to make.
TEST_F(WindowedTitleTest, WhatAControlSaysAsItFirstActivatesReachesItsStateOnce) {
    ASSERT_TRUE(
        Start("Control=Player\n"
              // The first record can copy "heard" only once the second has set it: at a second hearing.
              "OnMessage=FlashNotInstalled(Player), SetVar(Log(again), @heard(Log))\n"
              "OnMessage=FlashNotInstalled(Player), SetVar(Log(heard), yes)\n"
              "OnMessage=FlashNotInstalled(Later), SetVar(Log(later), yes)\n",
              "[Player]\nClass=ShockwaveFlashControl\nPosition=0,0\nSize=100,100\n"
              "[Later]\nClass=ShockwaveFlashControl\nPosition=0,0\nSize=100,100\n"));
    const auto variable = [this](const char* key) {
        Vemo::String value;
        m_running.App().GetVariables().GetValue(S("Log"), S(key), value);
        return std::string(value.CStr());
    };
    EXPECT_EQ(variable("heard"), "yes");
    EXPECT_EQ(variable("again"), "") << "heard once";
    auto* state = dynamic_cast<Messenger*>(m_running.App().GetStateGraph()->GetCurrentState());
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->HandleMessage(Fragment(S("CreateControl(Later)")), state));
    EXPECT_EQ(variable("later"), "yes");
    m_boxes.Take();
}

} // namespace
