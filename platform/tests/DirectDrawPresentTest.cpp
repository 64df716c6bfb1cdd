#include "platform/tests/DirectDrawFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

namespace ddraw::tests {
namespace {

using win32::tests::RecordingWindowClass;

constexpr DWORD kExclusive = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;

class PresentTest : public DirectDrawTest {
protected:
    void TearDown() override {
        if (clipper != nullptr) {
            clipper->Release();
        }
        for (IDirectDrawSurface4* surface : surfaces) {
            surface->Release();
        }
        surfaces.clear();
        windows.reset();
        DirectDrawTest::TearDown();
    }

    HWND Window(RECT rect = {40, 30, 360, 230}) {
        return windows->Create(win32::WS_POPUP | win32::WS_VISIBLE, nullptr, rect);
    }

    // A windowed primary bound to the window through a clipper.
    IDirectDrawSurface4* WindowedPrimary(HWND window) {
        IDirectDrawSurface4* primary = Make(PrimaryDescription());
        if (primary == nullptr) {
            return nullptr;
        }
        EXPECT_EQ(directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
        EXPECT_EQ(clipper->SetHWnd(0, window), DD_OK);
        EXPECT_EQ(primary->SetClipper(clipper), DD_OK);
        return primary;
    }

    static std::uint32_t FrameAt(HWND window, int x, int y) {
        std::optional<testing::Frame> frame = testing::ReadFrame(window);
        return frame.has_value() && x < frame->width && y < frame->height ? frame->At(x, y) : 0xDEADBEEF;
    }

    std::optional<RecordingWindowClass> windows{std::in_place};
    IDirectDrawClipper* clipper = nullptr;
};

TEST_F(PresentTest, AWindowedPrimaryTakesItsWindowsClientSizeAndShowsWhatItHolds) {
    HWND window = Window();
    IDirectDrawSurface4* primary = Make(PrimaryDescription());
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(primary->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 0U);
    EXPECT_EQ(desc.ddsCaps.dwCaps & (DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE),
              DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE);
    EXPECT_EQ(Fill(primary, 5), DD_OK) << "an unbound primary has nothing to fill";
    EXPECT_FALSE(testing::ReadFrame(window).has_value());

    ASSERT_EQ(directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
    ASSERT_EQ(clipper->SetHWnd(0, window), DD_OK);
    ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
    ASSERT_EQ(primary->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 320U);
    EXPECT_EQ(desc.dwHeight, 200U);

    RECT square{10, 20, 30, 40};
    ASSERT_EQ(Fill(primary, 0x00336699, &square), DD_OK);
    std::optional<testing::Frame> frame = testing::ReadFrame(window);
    ASSERT_TRUE(frame.has_value());
    EXPECT_FALSE(frame->fullscreen);
    EXPECT_EQ(frame->width, 320);
    EXPECT_EQ(frame->height, 200);
    EXPECT_EQ(frame->At(10, 20), 0x336699U);
    EXPECT_EQ(frame->At(29, 39), 0x336699U);
    EXPECT_EQ(frame->At(30, 39), 0U);
    EXPECT_EQ(frame->At(9, 20), 0U);
}

struct DesktopColour {
    const char* name;
    int depth;
    std::uint32_t pixel;
    std::uint32_t shown;
};

class DesktopColourTest : public PresentTest, public ::testing::WithParamInterface<DesktopColour> {};

TEST_P(DesktopColourTest, AWindowedPrimaryInTheDesktopsFormatShowsExactColours) {
    ASSERT_TRUE(win32::testing::SetDesktopSize(1920, 1080, GetParam().depth));
    HWND window = Window();
    IDirectDrawSurface4* primary = WindowedPrimary(window);
    ASSERT_EQ(Fill(primary, GetParam().pixel), DD_OK);
    EXPECT_EQ(FrameAt(window, 319, 199), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Pixels, DesktopColourTest,
                         ::testing::Values(DesktopColour{"Rgb32", 32, 0x00336699, 0x336699},
                                           DesktopColour{"Rgb32TopByteUnseen", 32, 0xFF000001, 0x000001},
                                           DesktopColour{"Red565", 16, 0xF800, 0xFF0000},
                                           DesktopColour{"Green565", 16, 0x07E0, 0x00FF00},
                                           DesktopColour{"Blue565", 16, 0x001F, 0x0000FF},
                                           DesktopColour{"Middle565", 16, 0x8410, 0x848284}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PaletteColour {
    std::uint32_t index;
    std::uint32_t shown;
};

TEST_F(PresentTest, AnEightBitFullScreenPrimaryIsShownThroughTheFixedSystemPalette) {
    HWND window = Window();
    ASSERT_EQ(directDraw->SetCooperativeLevel(window, kExclusive), DD_OK);
    ASSERT_EQ(directDraw->SetDisplayMode(640, 480, 8, 0, 0), DD_OK);
    IDirectDrawSurface4* primary = Make(PrimaryDescription());
    const PaletteColour colours[] = {{0, 0x000000},   {1, 0x800000},   {7, 0xC0C0C0},   {9, 0xA6CAF0},
                                     {61, 0x336699},  {225, 0xFFFFFF}, {226, 0x0C0C0C}, {245, 0xF2F2F2},
                                     {246, 0xFFFBF0}, {249, 0xFF0000}, {252, 0x0000FF}, {255, 0xFFFFFF}};
    for (std::size_t column = 0; column < std::size(colours); ++column) {
        RECT stripe{static_cast<LONG>(column * 10), 0, static_cast<LONG>(column * 10 + 10), 480};
        ASSERT_EQ(Fill(primary, colours[column].index, &stripe), DD_OK);
    }
    std::optional<testing::Frame> frame = testing::ReadFrame(window);
    ASSERT_TRUE(frame.has_value());
    EXPECT_TRUE(frame->fullscreen);
    EXPECT_EQ(frame->width, 640);
    EXPECT_EQ(frame->height, 480);
    for (std::size_t column = 0; column < std::size(colours); ++column) {
        EXPECT_EQ(frame->At(static_cast<int>(column * 10 + 5), 240), colours[column].shown)
            << colours[column].index;
    }
}

TEST_F(PresentTest, UnlockReleaseDcAndFlipShowWhatChanged) {
    HWND window = Window();
    ASSERT_EQ(directDraw->SetCooperativeLevel(window, kExclusive), DD_OK);
    ASSERT_EQ(directDraw->SetDisplayMode(800, 600, 16, 0, 0), DD_OK);
    IDirectDrawSurface4* front = Make(PrimaryDescription(1));
    DDSCAPS2 flip{DDSCAPS_FLIP, 0, 0, 0};
    IDirectDrawSurface4* back = nullptr;
    ASSERT_EQ(front->GetAttachedSurface(&flip, &back), DD_OK);
    surfaces.push_back(back);

    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(front->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    static_cast<std::uint16_t*>(desc.lpSurface)[3] = 0xF800;
    EXPECT_EQ(FrameAt(window, 3, 0), 0U) << "not before Unlock";
    ASSERT_EQ(front->Unlock(nullptr), DD_OK);
    EXPECT_EQ(FrameAt(window, 3, 0), 0xFF0000U);

    HDC context = nullptr;
    ASSERT_EQ(front->GetDC(&context), DD_OK);
    static_cast<std::uint16_t*>(desc.lpSurface)[4] = 0x001F;
    EXPECT_EQ(FrameAt(window, 4, 0), 0U);
    ASSERT_EQ(front->ReleaseDC(context), DD_OK);
    EXPECT_EQ(FrameAt(window, 4, 0), 0x0000FFU);

    ASSERT_EQ(Fill(back, 0x07E0), DD_OK);
    EXPECT_EQ(FrameAt(window, 400, 300), 0U) << "a back buffer is not shown";
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC), DD_OK);
    EXPECT_EQ(FrameAt(window, 400, 300), 0x00FF00U);
    std::optional<testing::Frame> frame = testing::ReadFrame(window);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->width, 800);
    EXPECT_TRUE(frame->fullscreen);

    // Leaving the exclusive level takes the window out of full screen; it keeps its last picture.
    ASSERT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    frame = testing::ReadFrame(window);
    ASSERT_TRUE(frame.has_value());
    EXPECT_FALSE(frame->fullscreen);
    EXPECT_EQ(frame->width, 320) << "shown in the client area again";
    EXPECT_EQ(frame->At(100, 100), 0x00FF00U);
}

TEST_F(PresentTest, APrimaryNeverShrinksAndFollowsItsClipperToAnotherWindow) {
    HWND large = Window({0, 0, 400, 300});
    HWND small = Window({0, 0, 100, 50});
    IDirectDrawSurface4* primary = WindowedPrimary(large);
    ASSERT_EQ(Fill(primary, 0x112233), DD_OK);
    ASSERT_EQ(clipper->SetHWnd(0, small), DD_OK);
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(primary->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 400U);
    EXPECT_EQ(desc.dwHeight, 300U);
    std::optional<testing::Frame> frame = testing::ReadFrame(small);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->width, 100);
    EXPECT_EQ(frame->At(99, 49), 0x112233U);

    // The window grows: it shows black beyond the picture until the primary is bound again.
    win32::testing::HostResizes(small, 500, 60);
    EXPECT_EQ(FrameAt(small, 450, 10), 0U);
    ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
    ASSERT_EQ(primary->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 500U);
    EXPECT_EQ(desc.dwHeight, 300U);
    EXPECT_EQ(FrameAt(small, 399, 10), 0x112233U) << "the picture is kept when the primary grows";
}

TEST_F(PresentTest, AWindowThatIsGoneShowsNothing) {
    HWND window = Window();
    IDirectDrawSurface4* primary = WindowedPrimary(window);
    ASSERT_EQ(Fill(primary, 1), DD_OK);
    ASSERT_TRUE(testing::ReadFrame(window).has_value());
    ASSERT_TRUE(win32::DestroyWindow(window));
    EXPECT_FALSE(testing::ReadFrame(window).has_value());
    EXPECT_EQ(Fill(primary, 2), DD_OK);
    EXPECT_FALSE(testing::ReadFrame(window).has_value());
}

TEST_F(PresentTest, APrimaryDrawnOnAnotherThreadReachesItsWindow) {
    HWND window = Window();
    IDirectDrawSurface4* primary = WindowedPrimary(window);
    std::thread painter([primary] {
        for (std::uint32_t round = 1; round <= 50; ++round) {
            DDBLTFX fx = Effects();
            fx.dwFillColor = round;
            EXPECT_EQ(primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
        }
    });
    for (int read = 0; read < 50; ++read) {
        testing::ReadFrame(window);
    }
    painter.join();
    EXPECT_EQ(FrameAt(window, 160, 100), 50U);
}

// The same under SDL2 with its dummy driver: real SDL windows, renderers and textures, read back from the
// renderer.
class SdlPresentTest : public PresentTest {
protected:
    void SetUp() override {
        PresentTest::SetUp();
        ASSERT_TRUE(win32::testing::UseDummySdlBackend());
    }

    void TearDown() override {
        PresentTest::TearDown();
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
    }
};

TEST_F(SdlPresentTest, AWindowedPrimaryIsShownByTheNextLookAtTheMessageQueue) {
    HWND window = Window();
    ASSERT_TRUE(win32::testing::GetWindowState(window).hasNativeWindow);
    IDirectDrawSurface4* primary = WindowedPrimary(window);
    RECT square{10, 20, 30, 40};
    ASSERT_EQ(Fill(primary, 0x00336699, &square), DD_OK);
    EXPECT_FALSE(testing::ReadFrame(window).has_value()) << "nothing is shown before the pump";
    Pump();
    std::optional<testing::Frame> frame = testing::ReadFrame(window);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->width, 320);
    EXPECT_EQ(frame->height, 200);
    EXPECT_EQ(frame->At(10, 20), 0x336699U);
    EXPECT_EQ(frame->At(29, 39), 0x336699U);
    EXPECT_EQ(frame->At(30, 40), 0U);
}

TEST_F(SdlPresentTest, SixteenBitPixelsAreShownExactly) {
    ASSERT_TRUE(win32::testing::SetDesktopSize(1920, 1080, 16));
    HWND window = Window();
    IDirectDrawSurface4* primary = WindowedPrimary(window);
    RECT left{0, 0, 160, 200};
    ASSERT_EQ(Fill(primary, 0x8410), DD_OK);
    ASSERT_EQ(Fill(primary, 0xF800, &left), DD_OK);
    Pump();
    std::optional<testing::Frame> frame = testing::ReadFrame(window);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->At(0, 0), 0xFF0000U);
    EXPECT_EQ(frame->At(159, 199), 0xFF0000U);
    EXPECT_EQ(frame->At(160, 0), 0x848284U);
}

TEST_F(SdlPresentTest, AFullScreenPrimaryFillsTheDesktopWhileTheWindowKeepsTheModesSize) {
    HWND window = Window({0, 0, 640, 480});
    DDSURFACEDESC2 desktop = Description();
    ASSERT_EQ(directDraw->GetDisplayMode(&desktop), DD_OK);
    ASSERT_EQ(directDraw->SetCooperativeLevel(window, kExclusive), DD_OK);
    ASSERT_EQ(directDraw->SetDisplayMode(640, 480, 8, 0, 0), DD_OK);
    IDirectDrawSurface4* primary = Make(PrimaryDescription());
    const std::uint32_t quadrants[4] = {249, 250, 252, 255};
    for (LONG quadrant = 0; quadrant < 4; ++quadrant) {
        RECT area{(quadrant % 2) * 320, (quadrant / 2) * 240, (quadrant % 2) * 320 + 320,
                  (quadrant / 2) * 240 + 240};
        ASSERT_EQ(Fill(primary, quadrants[quadrant], &area), DD_OK);
    }
    Pump();
    Pump();
    std::optional<testing::Frame> frame = testing::ReadFrame(window);
    ASSERT_TRUE(frame.has_value());
    EXPECT_TRUE(frame->fullscreen);
    EXPECT_EQ(frame->width, static_cast<int>(desktop.dwWidth));
    EXPECT_EQ(frame->height, static_cast<int>(desktop.dwHeight));
    ASSERT_GT(frame->width, 0);
    const int width = frame->width;
    const int height = frame->height;
    EXPECT_EQ(frame->At(width / 4, height / 4), 0xFF0000U);
    EXPECT_EQ(frame->At(3 * width / 4, height / 4), 0x00FF00U);
    EXPECT_EQ(frame->At(width / 4, 3 * height / 4), 0x0000FFU);
    EXPECT_EQ(frame->At(3 * width / 4, 3 * height / 4), 0xFFFFFFU);
    win32::testing::WindowState state = win32::testing::GetWindowState(window);
    EXPECT_EQ(state.clientRect.right - state.clientRect.left, 640);
    EXPECT_EQ(state.clientRect.bottom - state.clientRect.top, 480);

    ASSERT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    Pump();
    frame = testing::ReadFrame(window);
    ASSERT_TRUE(frame.has_value());
    EXPECT_FALSE(frame->fullscreen);
    EXPECT_EQ(frame->width, 640);
    EXPECT_EQ(frame->At(10, 10), 0xFF0000U);
}

} // namespace
} // namespace ddraw::tests
