// QuickTime tests with a window: a headless window whose port association movies draw into, what its overlays
// show, and controller events made from window messages.
#pragma once

#include "platform/tests/QuickTimeFixture.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/video/Overlays.h"

#include <cstdint>
#include <vector>

namespace qt::tests {

class QuickTimeWindowTest : public QuickTimeTest {
protected:
    void SetUp() override {
        QuickTimeTest::SetUp();
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        m_window =
            m_windows.Create(win32::WS_OVERLAPPEDWINDOW | win32::WS_VISIBLE, nullptr, {0, 0, 400, 300});
        ASSERT_NE(m_window, nullptr);
        m_port = CreatePortAssociation(m_window, nullptr, kQTMLNoIdleEvents);
        ASSERT_NE(m_port, nullptr);
    }

    void TearDown() override {
        DestroyPortAssociation(m_port);
        QuickTimeTest::TearDown();
    }

    // What the window shows of its overlays, over a grey picture of its own.
    std::vector<std::uint32_t> Shown(win32::HWND window, int width, int height) {
        std::vector<std::uint32_t> frame(static_cast<std::size_t>(width) * height, 0x123456);
        video::OverlayFrame target;
        target.pixels = frame.data();
        target.width = width;
        target.height = height;
        target.pitch = width * 4;
        video::ComposeWindowOverlays(window, target);
        m_shownWidth = width;
        return frame;
    }
    // A pixel of the last picture Shown made, without its alpha.
    std::uint32_t At(const std::vector<std::uint32_t>& frame, int x, int y) const {
        return frame[static_cast<std::size_t>(y) * m_shownWidth + x] & 0xFFFFFF;
    }

    // Hands the controller the event a window message becomes.
    static ComponentResult Send(MovieController controller, win32::HWND window, win32::UINT message, int x,
                                int y, win32::WPARAM wParam = 0) {
        win32::MSG msg{window, message,
                       wParam, win32::MAKELPARAM(static_cast<win32::WORD>(x), static_cast<win32::WORD>(y)),
                       0,      {}};
        EventRecord event{};
        EXPECT_TRUE(NativeEventToEvent(&msg, &event));
        return ControllerHandleEvent(controller, &event);
    }

    win32::tests::RecordingWindowClass m_windows;
    win32::HWND m_window = nullptr;
    CGrafPtr m_port = nullptr;

private:
    int m_shownWidth = 0;
};

} // namespace qt::tests
