#include "resources/hooks/Win32EngineHook.h"

#include "platform/testing/WindowTesting.h"
#include "platform/testing/WindowsVersion.h"
#include "resources/hooks/Win32WindowProcedure.h"
#include "resources/testing/HookTestWindows.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;
using namespace VemoTest;
using win32::testing::GetWindowState;

const win32::HINSTANCE kInstance =
    reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x400000));
const char* const kClassName = "Thornwickstead Window Class";

class Win32EngineHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(win32::testing::LiveWindowCount(), 0U);
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
    }

    void TearDown() override {
        if (Win32EngineHook::Installed() != nullptr) {
            Win32EngineHook::Uninstall();
        }
        MSG message;
        while (win32::PeekMessageA(&message, nullptr, 0, 0, win32::PM_REMOVE)) {
            win32::DefWindowProcA(message.hwnd, message.message, message.wParam, message.lParam);
        }
        EXPECT_EQ(win32::testing::LiveWindowCount(), 0U);
    }

    using MSG = win32::MSG;

    static bool InstallAndRegister() {
        return Win32EngineHook::Install(kInstance) &&
               Win32EngineHook::RegisterWindowClass(kClassName, win32::CS_DBLCLKS, nullptr, nullptr, nullptr,
                                                    nullptr, String());
    }

    static bool Create(HookTestWindow& window, bool show = false, bool front = false,
                       Point position = {10, 20}, Size size = {300, 200}, bool positionIsClient = false,
                       bool sizeIsClient = false, std::uint32_t style = win32::WS_OVERLAPPEDWINDOW) {
        return Win32EngineHook::CreateWindow(&window, "Caption", &position, &size, positionIsClient,
                                             sizeIsClient, 0, style, nullptr, nullptr, show, front);
    }

    TestApplication m_application;
};

TEST_F(Win32EngineHookTest, InstallingTwiceKeepsTheFirstHook) {
    ASSERT_TRUE(Win32EngineHook::Install(kInstance));
    Win32EngineHook* first = Win32EngineHook::Installed();
    EXPECT_FALSE(Win32EngineHook::Install(kInstance));
    EXPECT_EQ(Win32EngineHook::Installed(), first);
    EXPECT_EQ(first->GetInstance(), kInstance);
    EXPECT_TRUE(Win32EngineHook::Uninstall());
    EXPECT_FALSE(Win32EngineHook::Uninstall());
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{EngineHookErrAlreadyInstalled}, {EngineHookErrNotInstalled}}));
}

TEST_F(Win32EngineHookTest, StartupNeedsAnInstance) {
    EXPECT_FALSE(Win32EngineHook::Install(nullptr));
    EXPECT_EQ(Win32EngineHook::Installed(), nullptr);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{Win32EngineHookErrNoInstance}, {EngineHookErrStartupFailed}}));
}

TEST_F(Win32EngineHookTest, StartupReadsThePlatformOnce) {
    struct Case {
        win32::seam::WindowsFamily family;
        bool isNT;
    };
    for (Case test :
         {Case{win32::seam::WindowsFamily::NT, true}, Case{win32::seam::WindowsFamily::Windows9x, false}}) {
        platform::testing::WindowsVersionOverride version(test.family);
        ASSERT_TRUE(Win32EngineHook::Install(kInstance));
        EXPECT_EQ(Win32PlatformIsNT, test.isNT);
        const win32::WNDCLASSEXA& record = Win32EngineHook::Installed()->GetClassRecord();
        EXPECT_EQ(record.lpfnWndProc, &Win32WindowProcedure);
        EXPECT_EQ(record.cbWndExtra, 4);
        EXPECT_EQ(record.cbSize, sizeof(win32::WNDCLASSEXA));
        EXPECT_TRUE(Win32EngineHook::Uninstall());
    }
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(Win32EngineHookTest, RegisterWindowClassOnceWithTheHooksInstance) {
    EXPECT_FALSE(
        Win32EngineHook::RegisterWindowClass(kClassName, 0, nullptr, nullptr, nullptr, nullptr, String()));
    ASSERT_TRUE(Win32EngineHook::Install(kInstance));
    ASSERT_TRUE(Win32EngineHook::RegisterWindowClass(kClassName, win32::CS_DBLCLKS, nullptr, nullptr, nullptr,
                                                     nullptr, String()));
    const win32::WNDCLASSEXA& record = Win32EngineHook::Installed()->GetClassRecord();
    EXPECT_EQ(record.style, win32::CS_DBLCLKS);
    EXPECT_EQ(record.hInstance, kInstance);
    EXPECT_EQ(record.lpszMenuName, nullptr) << "an empty menu name is no menu";
    EXPECT_STREQ(record.lpszClassName, kClassName);
    EXPECT_FALSE(
        Win32EngineHook::RegisterWindowClass("Other", 0, nullptr, nullptr, nullptr, nullptr, String()));
    EXPECT_TRUE(Win32EngineHook::Uninstall());
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{EngineHookErrNotInstalled}, {Win32EngineHookErrClassRegistered}}));

    // A class of the same name already there makes RegisterClassExA fail.
    win32::WNDCLASSEXA taken{};
    taken.cbSize = sizeof(taken);
    taken.lpfnWndProc = win32::DefWindowProcA;
    taken.hInstance = kInstance;
    taken.lpszClassName = kClassName;
    ASSERT_NE(win32::RegisterClassExA(&taken), 0);
    ASSERT_TRUE(Win32EngineHook::Install(kInstance));
    EXPECT_FALSE(
        Win32EngineHook::RegisterWindowClass(kClassName, 0, nullptr, nullptr, nullptr, nullptr, String()));
    EXPECT_FALSE(Win32EngineHook::Installed()->IsClassRegistered());
    EXPECT_TRUE(Win32EngineHook::Uninstall());
    EXPECT_TRUE(win32::UnregisterClassA(kClassName, kInstance));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32EngineHookErrRegisterClass}}));
}

TEST_F(Win32EngineHookTest, CreateWindowNeedsTheHookAndTheClass) {
    HookTestWindow window;
    EXPECT_FALSE(Create(window));
    ASSERT_TRUE(Win32EngineHook::Install(kInstance));
    EXPECT_FALSE(Create(window));
    EXPECT_EQ(win32::testing::LiveWindowCount(), 0U);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{EngineHookErrNotInstalled}, {Win32EngineHookErrClassNotRegistered}}));
}

TEST_F(Win32EngineHookTest, CreateWindowMakesTheNativeWindowAndKeepsTheWindowInItsSet) {
    ASSERT_TRUE(InstallAndRegister());
    HookTestWindow window;
    ASSERT_TRUE(Create(window, true, true));
    ASSERT_NE(window.m_window, nullptr) << "the window learns its handle during creation";
    EXPECT_EQ(win32::GetWindowLongA(window.m_window, 0), reinterpret_cast<win32::LONG_PTR>(&window));
    EXPECT_EQ(Win32EngineHook::Installed()->GetWindows().Size(), 1U);
    win32::testing::WindowState state = GetWindowState(window.m_window);
    EXPECT_EQ(state.className, kClassName);
    EXPECT_EQ(state.text, "Caption");
    EXPECT_TRUE(state.visible);
    EXPECT_EQ(win32::testing::ActiveWindow(), window.m_window);

    // Known windows are refused, and nothing more is created.
    EXPECT_FALSE(Create(window));
    EXPECT_EQ(win32::testing::LiveWindowCount(), 1U);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32EngineHookErrWindowKnown}}));

    EXPECT_TRUE(Win32EngineHook::DestroyWindow(&window));
    EXPECT_TRUE(Win32EngineHook::Installed()->GetWindows().Empty());
    EXPECT_EQ(window.m_window, nullptr);
    EXPECT_TRUE(window.Received(win32::WM_DESTROY));
}

TEST_F(Win32EngineHookTest, PositionAndSizeMayBeTheClientAreas) {
    ASSERT_TRUE(InstallAndRegister());
    win32::RECT frame{0, 0, 0, 0};
    win32::AdjustWindowRectEx(&frame, win32::WS_OVERLAPPEDWINDOW, win32::FALSE, 0);
    struct Case {
        bool positionIsClient;
        bool sizeIsClient;
        win32::RECT window;
    };
    const Point position{50, 60};
    const Size size{640, 480};
    for (Case test : {
             Case{true, true, {50 + frame.left, 60 + frame.top, 690 + frame.right, 540 + frame.bottom}},
             Case{false, true, {50, 60, 690 - frame.left + frame.right, 540 - frame.top + frame.bottom}},
             Case{true, false, {50 + frame.left, 60 + frame.top, 690 + frame.left, 540 + frame.top}},
             Case{false, false, {50, 60, 690, 540}},
         }) {
        HookTestWindow window;
        ASSERT_TRUE(Create(window, false, false, position, size, test.positionIsClient, test.sizeIsClient));
        win32::testing::WindowState state = GetWindowState(window.m_window);
        EXPECT_EQ(state.rect.left, test.window.left) << test.positionIsClient << test.sizeIsClient;
        EXPECT_EQ(state.rect.top, test.window.top) << test.positionIsClient << test.sizeIsClient;
        EXPECT_EQ(state.rect.right, test.window.right) << test.positionIsClient << test.sizeIsClient;
        EXPECT_EQ(state.rect.bottom, test.window.bottom) << test.positionIsClient << test.sizeIsClient;
        if (test.positionIsClient && test.sizeIsClient) {
            EXPECT_EQ(state.clientRect.left, 50);
            EXPECT_EQ(state.clientRect.top, 60);
            EXPECT_EQ(state.clientRect.right - state.clientRect.left, 640);
            EXPECT_EQ(state.clientRect.bottom - state.clientRect.top, 480);
        }
        EXPECT_TRUE(Win32EngineHook::DestroyWindow(&window));
    }
}

TEST_F(Win32EngineHookTest, AWindowThatRefusesCreationIsNotKept) {
    ASSERT_TRUE(InstallAndRegister());
    HookTestWindow window;
    window.m_refuseCreation = true;
    EXPECT_FALSE(Create(window));
    EXPECT_TRUE(Win32EngineHook::Installed()->GetWindows().Empty());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32EngineHookErrCreateWindow}}));
}

TEST_F(Win32EngineHookTest, CreateDialogMakesAnActiveModelessDialog) {
    ASSERT_TRUE(InstallAndRegister());
    HookTestWindow owner;
    ASSERT_TRUE(Create(owner));
    HookTestWindow dialog;
    ASSERT_TRUE(Win32EngineHook::CreateDialog(&dialog, 101, &owner, true, false));
    ASSERT_NE(dialog.m_window, nullptr);
    EXPECT_TRUE(dialog.Received(win32::WM_INITDIALOG));
    EXPECT_EQ(win32::GetWindowLongA(dialog.m_window, win32::DWL_USER),
              reinterpret_cast<win32::LONG_PTR>(&dialog));
    win32::testing::WindowState state = GetWindowState(dialog.m_window);
    EXPECT_TRUE(state.isDialog);
    EXPECT_TRUE(state.visible);
    EXPECT_EQ(state.parent, owner.m_window);
    EXPECT_EQ(win32::testing::ActiveWindow(), dialog.m_window);
    EXPECT_EQ(Win32EngineHook::Installed()->GetWindows().Size(), 2U);

    EXPECT_FALSE(Win32EngineHook::CreateDialog(&dialog, 101, nullptr, false, false));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32EngineHookErrWindowKnown}}));
    EXPECT_TRUE(Win32EngineHook::DestroyWindow(&dialog));
    EXPECT_TRUE(Win32EngineHook::DestroyWindow(&owner));
}

TEST_F(Win32EngineHookTest, DestroyWindowRemovesTheWindowEvenWhenTheNativeWindowIsGone) {
    ASSERT_TRUE(InstallAndRegister());
    HookTestWindow unknown;
    EXPECT_FALSE(Win32EngineHook::DestroyWindow(&unknown));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32EngineHookErrWindowUnknown}}));

    HookTestWindow window;
    window.m_keepStaleHandle = true;
    ASSERT_TRUE(Create(window));
    ASSERT_TRUE(win32::DestroyWindow(window.m_window));
    EXPECT_FALSE(Win32EngineHook::DestroyWindow(&window));
    EXPECT_TRUE(Win32EngineHook::Installed()->GetWindows().Empty());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32EngineHookErrDestroyWindow}}));
}

TEST_F(Win32EngineHookTest, ShutdownForgetsLiveWindowsWithoutDestroyingThem) {
    ASSERT_TRUE(InstallAndRegister());
    HookTestWindow window;
    ASSERT_TRUE(Create(window));
    // The class still has a window, so it cannot be unregistered: Shutdown says so.
    EXPECT_FALSE(Win32EngineHook::Uninstall());
    EXPECT_EQ(Win32EngineHook::Installed(), nullptr);
    EXPECT_TRUE(GetWindowState(window.m_window).exists);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{Win32EngineHookErrUnregisterClass}, {EngineHookErrShutdownFailed}}));
    ASSERT_TRUE(win32::DestroyWindow(window.m_window));
    EXPECT_TRUE(win32::UnregisterClassA(kClassName, kInstance));
}

TEST_F(Win32EngineHookTest, TheWindowProcedureRefusesCreationWithoutAWindowObject) {
    ASSERT_TRUE(InstallAndRegister());
    EXPECT_EQ(win32::CreateWindowExA(0, kClassName, "", win32::WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     kInstance, nullptr),
              nullptr);
    // Messages before WM_CREATE reach DefWindowProcA; the object hears from WM_CREATE on, and not after
    // WM_DESTROY, when its slot is cleared.
    HookTestWindow window;
    ASSERT_TRUE(Create(window));
    EXPECT_EQ(window.m_messages.front(), static_cast<win32::UINT>(win32::WM_CREATE));
    win32::HWND handle = window.m_window;
    EXPECT_TRUE(Win32EngineHook::DestroyWindow(&window));
    EXPECT_EQ(window.m_messages.back(), static_cast<win32::UINT>(win32::WM_DESTROY));
    EXPECT_FALSE(GetWindowState(handle).exists);
}

TEST_F(Win32EngineHookTest, ADialogThatRefusesInitDialogHearsNothingMore) {
    ASSERT_TRUE(InstallAndRegister());
    HookTestWindow dialog;
    dialog.m_refuseCreation = true;
    ASSERT_TRUE(Win32EngineHook::CreateDialog(&dialog, 7, nullptr, false, false))
        << "the dialog procedure answers TRUE all the same";
    EXPECT_EQ(dialog.m_window, nullptr);
    win32::HWND native = win32::FindWindowA("#32770", nullptr);
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(win32::GetWindowLongA(native, win32::DWL_USER), 0);
    std::size_t heard = dialog.m_messages.size();
    win32::SendMessageA(native, win32::WM_USER, 0, 0);
    EXPECT_EQ(dialog.m_messages.size(), heard);
    EXPECT_TRUE(win32::DestroyWindow(native));
    // The set still holds the dialog's object; the hook forgets it at Shutdown.
}

} // namespace
