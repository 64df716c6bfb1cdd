#include "controls/OSWindowControl.h"
#include "controls/OSWindowSubclass.h"
#include "controls/tests/WindowedControlTestSupport.h"
#include "platform/testing/WindowTesting.h"
#include "runtime/screen/ControlManager.h"
#include "script/MessengerFactory.h"

#include <gtest/gtest.h>

namespace {

using WindowedTest::S;

// A windowed control that logs the messages of its window that the tests look at.
class TestWindowControl : public OSWindowControl {
public:
    using OSWindowControl::OSWindowControl;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script) {
        return CreateRead<TestWindowControl>(name, owner, script);
    }

    bool HandleWindowMessage(const win32::MSG& message) override {
        if (message.message == win32::WM_USER) {
            m_seen.push_back(message);
            return true;
        }
        return OSWindowControl::HandleWindowMessage(message);
    }

    std::vector<win32::MSG> m_seen;
};

const MessengerFactory::Registrar g_registrar(Vemo::String("TestWindowControl"), &TestWindowControl::Create);

// A subclass that counts what it sees and consumes WM_USER.
class CountingSubclass : public OSWindowSubclass {
public:
    bool HandleMessage(const win32::MSG& message) override {
        ++m_seen;
        return message.message == win32::WM_USER;
    }
    int m_seen = 0;
};

constexpr const char* kMenu = "[Menu]\nControl=Window\nControl=Other\n"
                              "[Window]\nClass=TestWindowControl\nPosition=10,20\nSize=100,50\n"
                              "[Other]\nClass=Control\nPosition=200,0\nSize=20,20\n";

class OSWindowControlTest : public WindowedTest::Fixture {};

TEST_F(OSWindowControlTest, TheChildWindowFollowsTheControl) {
    OpenMenu(kMenu);
    auto& control = Find<TestWindowControl>("Window");
    const win32::HWND window = control.GetWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(control.IsWindowed());
    EXPECT_FALSE(control.IsTransparent());
    win32::testing::WindowState state = win32::testing::GetWindowState(window);
    EXPECT_EQ(state.className, "OSWindowControl");
    EXPECT_EQ(state.text, "Window");
    EXPECT_EQ(state.parent, Window());
    EXPECT_TRUE(state.visible);
    EXPECT_EQ(state.style & (win32::WS_CHILD | win32::WS_CLIPSIBLINGS | win32::WS_CLIPCHILDREN),
              win32::WS_CHILD | win32::WS_CLIPSIBLINGS | win32::WS_CLIPCHILDREN);
    win32::RECT rect{};
    win32::GetClientRect(window, &rect);
    EXPECT_EQ(rect.right, 100);
    EXPECT_EQ(rect.bottom, 50);
    EXPECT_EQ(state.rect.left - win32::testing::GetWindowState(Window()).clientRect.left, 10);

    ASSERT_TRUE(control.SetPosition(Vemo::Point(30, 40)));
    state = win32::testing::GetWindowState(window);
    EXPECT_EQ(state.rect.left - win32::testing::GetWindowState(Window()).clientRect.left, 30);
    EXPECT_EQ(state.rect.top - win32::testing::GetWindowState(Window()).clientRect.top, 40);
    ASSERT_TRUE(control.SetSize(Vemo::Size(60, 70)));
    win32::GetClientRect(window, &rect);
    EXPECT_EQ(rect.right, 60);
    EXPECT_EQ(rect.bottom, 70);

    ASSERT_TRUE(control.SetVisible(false));
    EXPECT_FALSE(win32::IsWindowVisible(window));
    ASSERT_TRUE(control.SetVisible(true));
    EXPECT_TRUE(win32::IsWindowVisible(window));
    ASSERT_TRUE(control.SetEnabled(false));
    EXPECT_FALSE(win32::IsWindowEnabled(window));
    ASSERT_TRUE(control.SetEnabled(true));
    EXPECT_TRUE(win32::IsWindowEnabled(window));

    EXPECT_TRUE(control.SetTransparent(true));
    EXPECT_TRUE(control.IsTransparent());
    EXPECT_FALSE(control.SetTransparent(false)) << "only the configuration makes it opaque";
    EXPECT_TRUE(control.IsTransparent());

    ASSERT_TRUE(control.SetActive(false));
    EXPECT_EQ(control.GetWindow(), nullptr);
    EXPECT_FALSE(win32::IsWindow(window));
    ASSERT_TRUE(control.SetActive(true));
    EXPECT_NE(control.GetWindow(), nullptr);
}

TEST_F(OSWindowControlTest, WindowMessagesReachTheControlWithTimeAndPosition) {
    OpenMenu(kMenu);
    auto& control = Find<TestWindowControl>("Window");
    win32::testing::MoveMouse(Window(), 5, 6);
    Step();
    EXPECT_EQ(win32::SendMessageA(control.GetWindow(), win32::WM_USER, 1, 2), 0);
    ASSERT_EQ(control.m_seen.size(), 1U);
    const win32::MSG& seen = control.m_seen[0];
    EXPECT_EQ(seen.hwnd, control.GetWindow());
    EXPECT_EQ(seen.wParam, 1U);
    EXPECT_EQ(seen.lParam, 2);
    EXPECT_EQ(seen.time, static_cast<win32::DWORD>(win32::GetMessageTime()));
    EXPECT_EQ(seen.pt.x, OnScreen(5, 6).x);
    EXPECT_EQ(seen.pt.y, OnScreen(5, 6).y);
}

TEST_F(OSWindowControlTest, KeyboardFocusPassesBetweenTheWindowAndTheManager) {
    OpenMenu(kMenu);
    auto& control = Find<TestWindowControl>("Window");
    auto& other = Find("Other");
    win32::SetFocus(control.GetWindow());
    EXPECT_TRUE(control.HasFocus());
    EXPECT_EQ(Viewport().GetFocusControl(), &control);

    win32::SetFocus(Window());
    EXPECT_FALSE(control.HasFocus());
    EXPECT_EQ(Viewport().GetFocusControl(), nullptr);

    ASSERT_TRUE(control.SetFocus());
    EXPECT_EQ(win32::GetFocus(), control.GetWindow());
    ASSERT_TRUE(other.SetFocus());
    EXPECT_EQ(win32::GetFocus(), Window()) << "the viewport's window takes the keys back";
    EXPECT_TRUE(other.HasFocus()) << "the window giving up the keys leaves the new focus alone";
}

TEST_F(OSWindowControlTest, OneSubclassPerWindowAndTheEntryGoesWithTheWindow) {
    OpenMenu(kMenu);
    auto& control = Find<TestWindowControl>("Window");
    const win32::HWND window = control.GetWindow();
    CountingSubclass first;
    CountingSubclass second;
    ASSERT_TRUE(first.Subclass(window));
    EXPECT_TRUE(first.Subclass(window));
    EXPECT_FALSE(second.Subclass(window));
    EXPECT_FALSE(second.Subclass(nullptr));

    win32::SendMessageA(window, win32::WM_USER, 0, 0);
    EXPECT_EQ(first.m_seen, 1);
    EXPECT_TRUE(control.m_seen.empty()) << "consumed by the subclass";
    win32::SendMessageA(window, win32::WM_USER + 1, 0, 0);
    EXPECT_EQ(first.m_seen, 2);
    EXPECT_EQ(second.m_seen, 0);

    ASSERT_TRUE(control.SetActive(false));
    EXPECT_FALSE(OSWindowSubclass::IsSubclassed(window));
    EXPECT_EQ(first.GetWindow(), nullptr);
    first.Unsubclass();

    ASSERT_TRUE(control.SetActive(true));
    ASSERT_TRUE(second.Subclass(control.GetWindow()));
    second.Unsubclass();
    EXPECT_FALSE(OSWindowSubclass::IsSubclassed(control.GetWindow()));
    win32::SendMessageA(control.GetWindow(), win32::WM_USER, 0, 0);
    EXPECT_EQ(control.m_seen.size(), 1U) << "the control's own procedure is back";
}

// The window shows over the viewport's picture, white as its class's background, while the control is
// shown: headless, and in a real SDL window.
template <bool kSdl>
class ShownOverTheViewportTest : public WindowedTest::Fixture {
protected:
    bool UsesSdl() const override { return kSdl; }

    void Check() {
        OpenMenu(kMenu);
        auto& control = Find<TestWindowControl>("Window");
        Step();
        ddraw::testing::Frame frame = Shown();
        EXPECT_EQ(frame.At(10, 20), 0xFFFFFFu);
        EXPECT_EQ(frame.At(109, 69), 0xFFFFFFu);
        EXPECT_NE(frame.At(110, 25), 0xFFFFFFu);
        EXPECT_NE(frame.At(5, 5), 0xFFFFFFu);
        ASSERT_TRUE(control.SetVisible(false));
        Step();
        EXPECT_NE(Shown().At(15, 25), 0xFFFFFFu);
    }
};

using HeadlessShownTest = ShownOverTheViewportTest<false>;
using SdlShownTest = ShownOverTheViewportTest<true>;

TEST_F(HeadlessShownTest, TheChildWindowShowsOverTheViewport) {
    Check();
}

TEST_F(SdlShownTest, TheChildWindowShowsOverTheViewport) {
    Check();
}

} // namespace
