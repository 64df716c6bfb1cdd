#include "platform/tests/QuickTimeWindowFixture.h"

namespace qt::tests {
namespace {

class QuickTimeControllerTest : public QuickTimeWindowTest {
protected:
    // The window's picture at the size most tests' movies fill.
    std::vector<std::uint32_t> Shown(win32::HWND window, int width = 240, int height = 180) {
        return QuickTimeWindowTest::Shown(window, width, height);
    }
};

TEST_F(QuickTimeControllerTest, AWindowPortIsFoundByItsWindowAndSharedByASecondAssociation) {
    EXPECT_EQ(GetNativeWindowPort(m_window), m_port);
    CGrafPtr again = CreatePortAssociation(m_window, nullptr, kQTMLNoIdleEvents);
    EXPECT_EQ(again, m_port);
    DestroyPortAssociation(again);
    EXPECT_EQ(GetNativeWindowPort(m_window), m_port);
    EXPECT_EQ(CreatePortAssociation(reinterpret_cast<win32::HWND>(0x7777), nullptr, 0), nullptr);
}

TEST_F(QuickTimeControllerTest, AHiddenControllerDrawsOnlyTheMovieAtItsBox) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    SetMovieGraphicsPort(movie, m_port, nullptr);
    Rect box{20, 30, 68, 94};
    SetMovieBox(movie, &box);
    Rect rect{0, 0, 48, 64};
    MovieController controller = NewMovieController(movie, &rect, mcTopLeftMovie | mcNotVisible);
    EXPECT_FALSE(GetMovieActive(movie)) << "a hidden controller leaves that to its caller";
    Rect bounds{};
    ASSERT_EQ(GetControllerBounds(controller, &bounds), noErr);
    EXPECT_EQ(bounds.top, 20);
    EXPECT_EQ(bounds.bottom, 68);
    TimeRecord otherScale{600, 1200, nullptr};
    ControllerAction(controller, mcActionGoToTime, &otherScale);
    EXPECT_EQ(GetControllerTime(controller, nullptr), 300);
    TimeRecord frame3{180, 600, nullptr};
    ControllerAction(controller, mcActionGoToTime, &frame3);
    ControllerAction(controller, mcActionDraw, nullptr);
    EXPECT_EQ(video::OverlayCount(m_window), 1U);
    std::vector<std::uint32_t> shown = Shown(m_window);
    EXPECT_TRUE(Near(At(shown, 40, 30), testing::FrameColor(3)));
    EXPECT_EQ(At(shown, 40, 70), 0x123456U) << "no bar";
    EXPECT_EQ(At(shown, 29, 30), 0x123456U);
    DisposeMovieController(controller);
    DisposeMovie(movie);
    EXPECT_EQ(video::OverlayCount(m_window), 0U);
}

TEST_F(QuickTimeControllerTest, TheStandardControllerShowsTheMovieAboveItsBarAndTakesClicksAndTheSpaceBar) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    SetMovieGraphicsPort(movie, m_port, nullptr);
    Rect rect{0, 0, 116, 160};
    MovieController controller = NewMovieController(movie, &rect, 0);
    Rect box{};
    GetMovieBox(movie, &box);
    EXPECT_EQ(box.bottom, 100);
    EXPECT_EQ(box.right, 160);
    EXPECT_TRUE(GetMovieActive(movie));
    ControllerIdle(controller);
    std::vector<std::uint32_t> shown = Shown(m_window);
    EXPECT_TRUE(Near(At(shown, 80, 50), testing::FrameColor(0)));
    EXPECT_EQ(At(shown, 80, 100), 0x808080U) << "the bar's top edge";
    EXPECT_EQ(At(shown, 80, 110), 0xC0C0C0U) << "the bar's face";

    EXPECT_EQ(Send(controller, m_window, win32::WM_LBUTTONDOWN, 8, 108), 1);
    Advance(500);
    EXPECT_EQ(GetControllerTime(controller, nullptr), 300);
    EXPECT_EQ(Send(controller, m_window, win32::WM_KEYDOWN, 0, 0, win32::VK_SPACE), 1);
    Advance(500);
    EXPECT_EQ(GetControllerTime(controller, nullptr), 300);

    const int trackLeft = 20;
    const int trackWidth = 160 - 4 - trackLeft - 6;
    EXPECT_EQ(Send(controller, m_window, win32::WM_LBUTTONDOWN, trackLeft + trackWidth / 4, 108), 1);
    EXPECT_NEAR(GetControllerTime(controller, nullptr), 150, 6);
    ControllerIdle(controller);
    shown = Shown(m_window);
    EXPECT_TRUE(Near(At(shown, 80, 50), testing::FrameColor(2)));

    EXPECT_EQ(Send(controller, m_window, win32::WM_LBUTTONDOWN, 80, 50), 0) << "a click on the picture";
    ControllerAction(controller, mcActionDeactivate, nullptr);
    EXPECT_EQ(Send(controller, m_window, win32::WM_LBUTTONDOWN, 8, 108), 0);
    EXPECT_EQ(Send(controller, m_window, win32::WM_KEYDOWN, 0, 0, win32::VK_SPACE), 0);
    DisposeMovieController(controller);
    DisposeMovie(movie);
}

TEST_F(QuickTimeControllerTest, AtTheEndThePlayButtonStartsAgainFromTheBeginning) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    SetMovieGraphicsPort(movie, m_port, nullptr);
    Rect rect{0, 0, 64, 64};
    MovieController controller = NewMovieController(movie, &rect, 0);
    GoToMovieEnd(movie);
    EXPECT_EQ(Send(controller, m_window, win32::WM_LBUTTONDOWN, 8, 56), 1);
    Advance(100);
    EXPECT_EQ(GetControllerTime(controller, nullptr), 60);
    DisposeMovieController(controller);
    DisposeMovie(movie);
}

TEST_F(QuickTimeControllerTest, VolumeAndFlagsActions) {
    Movie movie = NewMovie(0);
    Rect rect{0, 0, 4, 4};
    MovieController controller = NewMovieController(movie, &rect, mcTopLeftMovie | mcNotVisible);
    EXPECT_EQ(ControllerAction(controller, mcActionSetVolume, ActionValue(129)), noErr);
    std::int16_t volume = 0;
    EXPECT_EQ(ControllerAction(controller, mcActionGetVolume, &volume), noErr);
    EXPECT_EQ(volume, 129);
    EXPECT_EQ(ControllerAction(controller, mcActionSetKeysEnabled, ActionValue(0)), noErr);
    EXPECT_EQ(ControllerAction(controller, mcActionSetFlags, ActionValue(16)), noErr);
    EXPECT_EQ(ControllerGetMovie(controller), movie);
    EXPECT_EQ(ControllerMovieChanged(controller), noErr);
    DisposeMovieController(controller);
    EXPECT_EQ(ControllerAction(controller, mcActionDraw, nullptr), badComponentInstance);
    DisposeMovie(movie);
}

TEST_F(QuickTimeControllerTest, AMovieInAChildWindowShowsAtTheChildsPlace) {
    win32::HWND child = m_windows.Create(win32::WS_CHILD | win32::WS_VISIBLE, m_window, {20, 30, 180, 146});
    ASSERT_NE(child, nullptr);
    CGrafPtr port = CreatePortAssociation(child, nullptr, kQTMLNoIdleEvents);
    Movie movie = Open(Write("clip.mov", Pictures()));
    SetMovieGraphicsPort(movie, port, nullptr);
    Rect rect{0, 0, 116, 160};
    MovieController controller = NewMovieController(movie, &rect, 0);
    SetMovieTimeValue(movie, 8 * 60);
    ControllerIdle(controller);
    std::vector<std::uint32_t> shown = Shown(m_window);
    EXPECT_TRUE(Near(At(shown, 20 + 80, 30 + 50), testing::FrameColor(8)));
    EXPECT_EQ(At(shown, 20 + 80, 30 + 110), 0xC0C0C0U);
    EXPECT_EQ(At(shown, 10, 10), 0x123456U);
    EXPECT_EQ(Send(controller, child, win32::WM_LBUTTONDOWN, 8, 108), 1);
    EXPECT_EQ(Send(controller, m_window, win32::WM_LBUTTONDOWN, 8, 108), 0) << "another window's click";
    DisposeMovieController(controller);
    DisposeMovie(movie);
    DestroyPortAssociation(port);
}

TEST_F(QuickTimeControllerTest, DestroyingThePortTakesTheMovieOffTheWindow) {
    Movie movie = Open(Write("clip.mov", Pictures()));
    CGrafPtr port = CreatePortAssociation(m_window, nullptr, 0);
    SetMovieGraphicsPort(movie, port, nullptr);
    SetMovieActive(movie, true);
    TaskMovies(movie, 0);
    EXPECT_EQ(video::OverlayCount(m_window), 1U);
    DestroyPortAssociation(port);
    DestroyPortAssociation(m_port);
    m_port = CreatePortAssociation(m_window, nullptr, 0);
    EXPECT_EQ(video::OverlayCount(m_window), 0U);
    CGrafPtr now = nullptr;
    GetMovieGraphicsPort(movie, &now, nullptr);
    EXPECT_EQ(now, nullptr);
    DisposeMovie(movie);
}

TEST_F(QuickTimeControllerTest, QuickTimeVrFindsNoVrTrack) {
    EXPECT_EQ(QuickTimeVRLibrary_Load(), 0);
    EXPECT_EQ(testing::GetStartupCounts().vrLibrary, 1);
    Movie movie = NewMovie(0);
    EXPECT_EQ(QTVRGetQTVRTrack(movie, 1), nullptr);
    QTVRInstance instance = reinterpret_cast<QTVRInstance>(1);
    EXPECT_NE(QTVRGetQTVRInstance(&instance, nullptr, nullptr), noErr);
    EXPECT_EQ(instance, nullptr);
    DisposeMovie(movie);
    QuickTimeVRLibrary_Unload();
    EXPECT_EQ(testing::GetStartupCounts().vrLibrary, 0);
}

} // namespace
} // namespace qt::tests
