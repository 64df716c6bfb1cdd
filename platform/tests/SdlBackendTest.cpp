#include "platform/testing/DirectDrawTesting.h"
#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/windows/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace win32::tests {
namespace {

// A real SDL window under SDL's dummy video driver (no display needed), driven by SDL events pushed into
// SDL's queue as the host would deliver them.
class SdlBackendTest : public WindowSystemTest {
protected:
    void SetUp() override {
        WindowSystemTest::SetUp();
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE(testing::UseVideoBackend(testing::VideoBackendKind::Sdl)) << SDL_GetError();
    }

    void TearDown() override {
        WindowSystemTest::TearDown();
        testing::UseVideoBackend(testing::VideoBackendKind::Headless);
    }

    static void PushButton(Uint32 windowId, Uint32 type, int x, int y, Uint8 clicks) {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = windowId;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = clicks;
        event.button.x = x;
        event.button.y = y;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }
};

TEST_F(SdlBackendTest, AClickOnTheRealWindowArrivesInTheWindowProcedure) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {100, 100, 420, 340});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(testing::GetWindowState(window).hasNativeWindow);
    Uint32 windowId = testing::SdlWindowId(window);
    ASSERT_NE(windowId, 0U);
    Pump();
    windows.ClearLog();

    PushButton(windowId, SDL_MOUSEBUTTONDOWN, 40, 30, 1);
    PushButton(windowId, SDL_MOUSEBUTTONUP, 40, 30, 1);
    Pump();

    std::vector<Received> downs = windows.Only(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1U);
    EXPECT_EQ(downs[0].window, window);
    EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 40);
    EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 30);
    EXPECT_EQ(downs[0].wParam, MK_LBUTTON);
    EXPECT_EQ(windows.Only(WM_LBUTTONUP).size(), 1U);
    DestroyWindow(window);
}

// Only the changed part of a picture goes to the real window: what it shows is the new part over the rest as
// it was.
TEST_F(SdlBackendTest, AChangedPartReachesTheRealWindowOverWhatItShowed) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 64, 48});
    ASSERT_NE(window, nullptr);
    std::vector<std::uint32_t> pixels(64 * 48, 0x00336699U);
    video::PixelSource source;
    source.bits = reinterpret_cast<const std::uint8_t*>(pixels.data());
    source.pitch = 64 * 4;
    source.width = 64;
    source.height = 48;
    source.bitsPerPixel = 32;
    source.redMask = 0x00FF0000U;
    source.greenMask = 0x0000FF00U;
    source.blueMask = 0x000000FFU;
    video::Present(window, source, RECT{0, 0, 64, 48}, false);
    Pump();
    pixels[10 * 64 + 20] = 0x00FF0000U;
    pixels[11 * 64 + 21] = 0x0000FF00U;
    video::Present(window, source, RECT{0, 0, 64, 48}, false);
    Pump();

    std::optional<video::Frame> shown = ddraw::testing::ReadFrame(window);
    ASSERT_TRUE(shown.has_value());
    ASSERT_EQ(shown->width, 64);
    ASSERT_EQ(shown->height, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(shown->At(x, y), pixels[static_cast<std::size_t>(y * 64 + x)]) << x << "," << y;
        }
    }
    DestroyWindow(window);
}

TEST_F(SdlBackendTest, KeysTitlesAndTheCloseBoxReachTheWindow) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {0, 0, 320, 240});
    Uint32 windowId = testing::SdlWindowId(window);
    SDL_Window* native = SDL_GetWindowFromID(windowId);
    ASSERT_NE(native, nullptr);

    SetWindowTextA(window, "Caf\xE9");
    EXPECT_STREQ(SDL_GetWindowTitle(native), "Caf\xC3\xA9");

    Pump();
    windows.ClearLog();
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = windowId;
    key.key.state = SDL_PRESSED;
    key.key.keysym.scancode = SDL_SCANCODE_RETURN;
    key.key.keysym.sym = SDLK_RETURN;
    key.key.keysym.mod = KMOD_NUM;
    ASSERT_EQ(SDL_PushEvent(&key), 1);
    Pump();
    std::vector<Received> downs = windows.Only(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 1U);
    EXPECT_EQ(downs[0].wParam, WPARAM{VK_RETURN});
    EXPECT_EQ(downs[0].lParam, 0x001C0001);
    std::vector<Received> chars = windows.Only(WM_CHAR);
    ASSERT_EQ(chars.size(), 1U);
    EXPECT_EQ(chars[0].wParam, WPARAM{'\r'});

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.windowID = windowId;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    ASSERT_EQ(SDL_PushEvent(&close), 1);
    Pump();
    EXPECT_FALSE(testing::GetWindowState(window).exists);
    EXPECT_EQ(SDL_GetWindowFromID(windowId), nullptr) << "the real window goes with the window";
    // The key was never released: the next test must not see it held.
    testing::ReleaseAllInput();
}

} // namespace
} // namespace win32::tests
