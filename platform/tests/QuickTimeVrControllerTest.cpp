// The movie controller of a QuickTime VR movie, driven through the controller calls as the window movie
// control drives it: the view it draws (read back from the window through the pixels that say their angle),
// drags, zooms, links between nodes and objects turned by the mouse.
#include "platform/testing/VrControllerTesting.h"
#include "platform/testing/VrMovieWriter.h"
#include "platform/tests/QuickTimeWindowFixture.h"
#include "platform/win32/windows/Capture.h"

#include <cmath>

namespace qt::tests {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWidth = 320;
constexpr int kHeight = 240;
// One step of the pan code, and a bilinear view's blend of neighbouring steps.
constexpr double kPanTolerance = 360.0 / 256 * 1.5;
constexpr double kTiltTolerance = 1.5;

double Radians(double degrees) {
    return degrees * kPi / 180;
}

double Degrees(double radians) {
    return radians * 180 / kPi;
}

// The difference of two pans, -180 to 180.
double PanDifference(double a, double b) {
    return std::remainder(a - b, 360.0);
}

class QuickTimeVrControllerTest : public QuickTimeWindowTest {
protected:
    void TearDown() override {
        if (m_controller != nullptr) {
            DisposeMovieController(m_controller);
        }
        if (m_movie != nullptr) {
            DisposeMovie(m_movie);
        }
        QuickTimeWindowTest::TearDown();
    }

    // Opens the movie in a standard controller showing a 320x240 view above its bar.
    void OpenVr(const testing::VrMovieSpec& spec) {
        testing::WriteVrMovie(m_drives.HostPath('C', "vr.mov"), spec);
        m_movie = Open("C:\\vr.mov");
        ASSERT_NE(m_movie, nullptr);
        SetMovieGraphicsPort(m_movie, m_port, nullptr);
        const Rect rect{0, 0, kHeight + 16, kWidth};
        m_controller = NewMovieController(m_movie, &rect, 0);
        ASSERT_NE(m_controller, nullptr);
        ControllerIdle(m_controller);
    }

    testing::VRState State() const {
        std::optional<testing::VRState> state = testing::GetVRState(m_controller);
        EXPECT_TRUE(state.has_value());
        return state.value_or(testing::VRState{});
    }

    std::vector<std::uint32_t> Shown() {
        ControllerIdle(m_controller);
        return QuickTimeWindowTest::Shown(m_window, kWidth, kHeight + 16);
    }

    ComponentResult Send(win32::UINT message, int x, int y, win32::WPARAM wParam = 0) {
        return QuickTimeWindowTest::Send(m_controller, m_window, message, x, y, wParam);
    }

    ComponentResult Key(win32::UINT message, win32::BYTE key) { return Send(message, 0, 0, key); }

    // Holds the button down at from, moves to to and keeps it there for the time, then lets go.
    void Drag(int fromX, int fromY, int toX, int toY, std::uint32_t milliseconds) {
        EXPECT_EQ(Send(win32::WM_LBUTTONDOWN, fromX, fromY, win32::MK_LBUTTON), 1);
        EXPECT_EQ(Send(win32::WM_MOUSEMOVE, toX, toY, win32::MK_LBUTTON), 1);
        Advance(milliseconds);
        ControllerIdle(m_controller);
        EXPECT_EQ(Send(win32::WM_LBUTTONUP, toX, toY), 1);
    }

    void Click(int x, int y) {
        EXPECT_EQ(Send(win32::WM_LBUTTONDOWN, x, y, win32::MK_LBUTTON), 1);
        EXPECT_EQ(Send(win32::WM_LBUTTONUP, x, y), 1);
        ControllerIdle(m_controller);
    }

    // The pan and tilt a camera at (pan, tilt) with the vertical field of view sees at a window point.
    static void Expected(double pan, double tilt, double fov, double x, double y, double& seenPan,
                         double& seenTilt) {
        const double focal = kHeight / 2.0 / std::tan(Radians(fov) / 2);
        const double across = x - kWidth / 2.0;
        const double up = kHeight / 2.0 - y;
        // The ray in the view's level frame: across, and tilted up by tilt.
        const double ahead = focal * std::cos(Radians(tilt)) - up * std::sin(Radians(tilt));
        const double height = focal * std::sin(Radians(tilt)) + up * std::cos(Radians(tilt));
        seenPan = pan - Degrees(std::atan2(across, ahead));
        seenTilt = Degrees(std::atan2(height, std::hypot(across, ahead)));
    }

    // Every sampled pixel of the view shows the panorama at the angle the camera sees there.
    void ExpectView(const std::vector<std::uint32_t>& frame, double pan, double tilt, double fov,
                    std::uint32_t node) {
        int checked = 0;
        for (int y = 10; y < kHeight; y += 37) {
            for (int x = 7; x < kWidth; x += 29) {
                double seenPan = 0;
                double seenTilt = 0;
                Expected(pan, tilt, fov, x + 0.5, y + 0.5, seenPan, seenTilt);
                // Where the pan code passes 360 the blend says nothing.
                if (std::fabs(PanDifference(seenPan, 0)) < 3) {
                    continue;
                }
                const testing::PanoramaCode code = testing::DecodePanoramaColor(At(frame, x, y));
                ASSERT_EQ(code.blue, testing::NodeBlue(node)) << x << "," << y;
                ASSERT_NEAR(PanDifference(code.pan, seenPan), 0, kPanTolerance) << x << "," << y;
                ASSERT_NEAR(code.tilt, seenTilt, kTiltTolerance) << x << "," << y;
                ++checked;
            }
        }
        EXPECT_GT(checked, 50);
    }

    Movie m_movie = nullptr;
    MovieController m_controller = nullptr;
};

TEST_F(QuickTimeVrControllerTest, APanoramaGetsAnInstanceAndShowsItsDefaultViewInPerspective) {
    ASSERT_NO_FATAL_FAILURE(OpenVr(testing::OnePanorama()));
    Track track = QTVRGetQTVRTrack(m_movie, 1);
    ASSERT_NE(track, nullptr);
    QTVRInstance instance = nullptr;
    ASSERT_EQ(QTVRGetQTVRInstance(&instance, track, m_controller), noErr);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(QTVRSetAngularUnits(instance, kQTVRRadians), noErr);
    EXPECT_EQ(QTVRSetAngularUnits(instance, kQTVRDegrees), noErr);
    EXPECT_EQ(QTVRSetAngularUnits(instance, 2), paramErr);
    EXPECT_EQ(QTVRSetControlSetting(instance, kQTVRCanZoom, true), noErr);
    EXPECT_EQ(QTVRSetControlSetting(instance, kQTVRTranslation, true), noErr);
    EXPECT_EQ(QTVRSetControlSetting(instance, 8, true), paramErr);

    const testing::VRState state = State();
    EXPECT_EQ(state.node, 1U);
    EXPECT_DOUBLE_EQ(state.pan, 0);
    EXPECT_DOUBLE_EQ(state.fieldOfView, 40);
    const std::vector<std::uint32_t> shown = Shown();
    ExpectView(shown, 0, 0, 40, 1);
    EXPECT_EQ(At(shown, 160, kHeight + 8) & 0xFFFFFF, 0xC0C0C0U) << "the bar below the view";

    // Without the movie's controller there is no instance; an ordinary movie has no VR track.
    QTVRInstance other = nullptr;
    EXPECT_EQ(QTVRGetQTVRInstance(&other, track, nullptr), paramErr);
    EXPECT_EQ(other, nullptr);
    Movie plain = Open(Write("plain.mov", Pictures()));
    EXPECT_EQ(QTVRGetQTVRTrack(plain, 1), nullptr);
    DisposeMovie(plain);
}

TEST_F(QuickTimeVrControllerTest, ADragPansAtASpeedThatGrowsWithTheDistanceAndWrapsAroundTheCircle) {
    ASSERT_NO_FATAL_FAILURE(OpenVr(testing::OnePanorama()));
    const double focal = kHeight / 2.0 / std::tan(Radians(20));
    const double widthAngle = 2 * Degrees(std::atan(kWidth / 2.0 / focal));
    // Half the window's width to the right turns right by the window's angle in a second; a quarter, half as
    // fast.
    Drag(160, 120, 320 - 1, 120, 500);
    double expected = -(159.0 / 160) * widthAngle * 0.5;
    EXPECT_NEAR(PanDifference(State().pan, expected), 0, 1e-6);
    Drag(160, 120, 80, 120, 1000);
    expected += 0.5 * widthAngle;
    EXPECT_NEAR(PanDifference(State().pan, expected), 0, 1e-6);
    EXPECT_GE(State().pan, 0) << "the pan stays within 0 to 360";
    EXPECT_LT(State().pan, 360);
    ExpectView(Shown(), State().pan, 0, 40, 1);

    // The tilt stops where the view's edge meets the panorama's (20 degrees up, half of 40 shown).
    Drag(160, 120, 160, 0, 2000);
    EXPECT_NEAR(State().tilt, 0, 1e-6) << "no room to tilt at the widest view";
    // A press and release without moving changes nothing.
    const double pan = State().pan;
    Click(100, 100);
    EXPECT_DOUBLE_EQ(State().pan, pan);
}

TEST_F(QuickTimeVrControllerTest, ShiftZoomsInControlZoomsOutAndTheBarButtonsZoomWithinTheLimits) {
    ASSERT_NO_FATAL_FAILURE(OpenVr(testing::OnePanorama()));
    EXPECT_EQ(Key(win32::WM_KEYDOWN, win32::VK_SHIFT), 1);
    Advance(1000);
    ControllerIdle(m_controller);
    EXPECT_EQ(Key(win32::WM_KEYUP, win32::VK_SHIFT), 1);
    EXPECT_NEAR(State().fieldOfView, 20, 1e-6) << "halved in a second";
    ExpectView(Shown(), 0, 0, 20, 1);

    // Zoomed in, there is room to tilt.
    Drag(160, 120, 160, 60, 500);
    const double tilt = State().tilt;
    EXPECT_GT(tilt, 0);
    EXPECT_LE(tilt, 10 + 1e-6);
    ExpectView(Shown(), State().pan, tilt, 20, 1);

    EXPECT_EQ(Key(win32::WM_KEYDOWN, win32::VK_CONTROL), 1);
    Advance(3000);
    ControllerIdle(m_controller);
    EXPECT_EQ(Key(win32::WM_KEYUP, win32::VK_CONTROL), 1);
    EXPECT_NEAR(State().fieldOfView, 40, 1e-6) << "the file's widest";
    EXPECT_NEAR(State().tilt, 0, 1e-6) << "the wider view is kept within the panorama";

    // The bar's zoom-in button (the second) while held, then the zoom-out button.
    EXPECT_EQ(Send(win32::WM_LBUTTONDOWN, 24, kHeight + 8), 1);
    Advance(5000);
    ControllerIdle(m_controller);
    EXPECT_EQ(Send(win32::WM_LBUTTONUP, 24, kHeight + 8), 1);
    EXPECT_NEAR(State().fieldOfView, 10, 1e-6) << "the file's narrowest";
    EXPECT_EQ(Send(win32::WM_LBUTTONDOWN, 8, kHeight + 8), 1);
    Advance(1000);
    ControllerIdle(m_controller);
    EXPECT_EQ(Send(win32::WM_LBUTTONUP, 8, kHeight + 8), 1);
    EXPECT_NEAR(State().fieldOfView, 20, 1e-6);
}

TEST_F(QuickTimeVrControllerTest, ACubicPanoramaShowsItsFacesInPerspectiveAndTiltsUpToItsTop) {
    testing::VrMovieSpec spec = testing::OnePanorama();
    spec.panoramas[0].cube = true;
    spec.panoramas[0].faceSize = 128;
    spec.panoramas[0].minTilt = -90;
    spec.panoramas[0].maxTilt = 90;
    spec.panoramas[0].maxFov = 90;
    ASSERT_NO_FATAL_FAILURE(OpenVr(spec));
    ExpectView(Shown(), 0, 0, 40, 1);
    // Turned right past the front's edge into the right face, and tilted up.
    const double focal = kHeight / 2.0 / std::tan(Radians(20));
    const double widthAngle = 2 * Degrees(std::atan(kWidth / 2.0 / focal));
    Drag(160, 120, 319, 120, static_cast<std::uint32_t>(std::lround(60 / (widthAngle * 159.0 / 160) * 1000)));
    Drag(160, 120, 160, 0, 1500);
    const testing::VRState state = State();
    EXPECT_NEAR(PanDifference(state.pan, -60), 0, 0.5);
    EXPECT_NEAR(state.tilt, 60, 1e-6) << "40 degrees a second for a second and a half";
    // Near the top the pan code loses its meaning; the lower part of the view is checked.
    int checked = 0;
    const std::vector<std::uint32_t> shown = Shown();
    for (int y = 150; y < kHeight; y += 23) {
        for (int x = 11; x < kWidth; x += 31) {
            double seenPan = 0;
            double seenTilt = 0;
            Expected(state.pan, state.tilt, 40, x + 0.5, y + 0.5, seenPan, seenTilt);
            const testing::PanoramaCode code = testing::DecodePanoramaColor(At(shown, x, y));
            EXPECT_NEAR(PanDifference(code.pan, seenPan), 0, kPanTolerance + 1) << x << "," << y;
            EXPECT_NEAR(code.tilt, seenTilt, kTiltTolerance) << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

TEST_F(QuickTimeVrControllerTest, AClickOnALinkHotSpotEntersTheLinkedNodeWithTheLinksView) {
    ASSERT_NO_FATAL_FAILURE(OpenVr(testing::TwoLinkedPanoramas()));
    // Turn left until the door (pans 80 to 100) is in the middle.
    const double focal = kHeight / 2.0 / std::tan(Radians(20));
    const double widthAngle = 2 * Degrees(std::atan(kWidth / 2.0 / focal));
    Drag(160, 120, 0, 120, static_cast<std::uint32_t>(std::lround(90 / widthAngle * 1000)));
    ASSERT_NEAR(State().pan, 90, 0.5);
    EXPECT_EQ(Send(win32::WM_MOUSEMOVE, 160, 120), 1);
    EXPECT_EQ(State().cursor, testing::VRCursor::Link);
    EXPECT_EQ(Send(win32::WM_MOUSEMOVE, 160, 20), 1);
    EXPECT_EQ(State().cursor, testing::VRCursor::Arrow) << "above the door";

    Click(160, 120);
    testing::VRState state = State();
    EXPECT_EQ(state.node, 2U);
    EXPECT_NEAR(state.pan, 180, 1e-6);
    EXPECT_NEAR(state.fieldOfView, 40, 1e-6);
    ExpectView(Shown(), 180, 0, 40, 2);

    // Node 2's way back (pans 260 to 280) keeps node 1's own default view.
    Drag(160, 120, 0, 120, static_cast<std::uint32_t>(std::lround(90 / widthAngle * 1000)));
    ASSERT_NEAR(State().pan, 270, 0.5);
    Click(160, 120);
    EXPECT_EQ(State().node, 1U);
    EXPECT_NEAR(State().pan, 0, 1e-6);
    ExpectView(Shown(), 0, 0, 40, 1);
}

TEST_F(QuickTimeVrControllerTest, AnObjectTurnsThroughItsColumnsAndRowsWithADrag) {
    ASSERT_NO_FATAL_FAILURE(OpenVr(testing::ObjectMovie()));
    const testing::VRState start = State();
    EXPECT_EQ(start.column, 0);
    EXPECT_EQ(At(Shown(), 160, 120), testing::ObjectViewColor(start.column, start.row) & 0xFFFFFF);

    // Half a turn across the window: a quarter of it (90 degrees) is one column of four.
    Drag(100, 120, 100 + kWidth / 2, 120, 0);
    EXPECT_EQ(State().column, 3) << "turned right, the pan falls and wraps";
    Drag(100, 120, 100 - kWidth, 120, 0);
    EXPECT_EQ(State().column, 1) << "two columns the other way, across the wrap";
    // Down to the highest row; the rows do not wrap.
    Drag(100, 20, 100, 230, 0);
    EXPECT_EQ(State().row, 0);
    Drag(100, 230, 100, 20, 0);
    EXPECT_EQ(State().row, 1);
    EXPECT_EQ(At(Shown(), 160, 120), testing::ObjectViewColor(1, 1) & 0xFFFFFF);
}

TEST_F(QuickTimeVrControllerTest, ControlSettingsTurnAnObjectsZoomAndTranslationOnAndOff) {
    ASSERT_NO_FATAL_FAILURE(OpenVr(testing::ObjectMovie()));
    QTVRInstance instance = nullptr;
    ASSERT_EQ(QTVRGetQTVRInstance(&instance, QTVRGetQTVRTrack(m_movie, 1), m_controller), noErr);
    const double widest = State().fieldOfView;
    ASSERT_EQ(QTVRSetControlSetting(instance, kQTVRCanZoom, false), noErr);
    Key(win32::WM_KEYDOWN, win32::VK_SHIFT);
    Advance(1000);
    ControllerIdle(m_controller);
    Key(win32::WM_KEYUP, win32::VK_SHIFT);
    EXPECT_DOUBLE_EQ(State().fieldOfView, widest) << "no zoom";

    ASSERT_EQ(QTVRSetControlSetting(instance, kQTVRCanZoom, true), noErr);
    Key(win32::WM_KEYDOWN, win32::VK_SHIFT);
    Advance(1000);
    ControllerIdle(m_controller);
    Key(win32::WM_KEYUP, win32::VK_SHIFT);
    EXPECT_NEAR(State().fieldOfView, widest / 2, 1e-6);

    // With translation, the bar's third button makes a drag move the view instead of turning the object.
    ASSERT_EQ(QTVRSetControlSetting(instance, kQTVRTranslation, true), noErr);
    const int column = State().column;
    EXPECT_EQ(Send(win32::WM_LBUTTONDOWN, 40, kHeight + 8), 1);
    EXPECT_EQ(Send(win32::WM_LBUTTONUP, 40, kHeight + 8), 1);
    EXPECT_EQ(Send(win32::WM_MOUSEMOVE, 100, 100), 1);
    EXPECT_EQ(State().cursor, testing::VRCursor::Translate);
    Drag(100, 100, 260, 100, 0);
    EXPECT_EQ(State().column, column);
    ASSERT_EQ(QTVRSetControlSetting(instance, kQTVRTranslation, false), noErr);
    Drag(100, 100, 260, 100, 0);
    EXPECT_NE(State().column, column) << "without translation the drag turns the object";
}

TEST_F(QuickTimeVrControllerTest, TheDragHoldsTheCaptureUntilTheButtonIsReleased) {
    ASSERT_NO_FATAL_FAILURE(OpenVr(testing::OnePanorama()));
    EXPECT_EQ(Send(win32::WM_LBUTTONDOWN, 160, 120, win32::MK_LBUTTON), 1);
    EXPECT_EQ(win32::GetCapture(), m_window);
    EXPECT_EQ(Send(win32::WM_MOUSEMOVE, 200, 120, win32::MK_LBUTTON), 1);
    EXPECT_EQ(State().cursor, testing::VRCursor::Pan);
    EXPECT_EQ(Send(win32::WM_LBUTTONUP, 500, 120), 1) << "released outside the view";
    EXPECT_EQ(win32::GetCapture(), nullptr);
    const double pan = State().pan;
    Advance(1000);
    ControllerIdle(m_controller);
    EXPECT_DOUBLE_EQ(State().pan, pan) << "no longer turning";
}

} // namespace
} // namespace qt::tests
