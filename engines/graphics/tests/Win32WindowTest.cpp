#include "engines/graphics/win32/Win32Window.h"

#include "engines/graphics/testing/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Vemo;
using namespace VemoTest;
using win32::testing::GetWindowState;

using Win32WindowTest = WindowTest;

TEST_F(Win32WindowTest, CreateAndDestroyReportTheirErrors) {
    Win32EngineHook::Uninstall();
    Win32Window window;
    EXPECT_FALSE(Create(window));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{EngineHookErrNotInstalled}}));

    ASSERT_TRUE(Win32EngineHook::Install(kInstance));
    ASSERT_TRUE(Win32EngineHook::RegisterWindowClass("Thornwickstead Window Class", 0, nullptr, nullptr,
                                                     nullptr, nullptr, String()));
    ASSERT_TRUE(Create(window));
    EXPECT_NE(window.GetWindowHandle(), nullptr);
    EXPECT_TRUE(window.IsCreated());
    EXPECT_FALSE(Create(window));
    EXPECT_FALSE(window.CreateDialog(1, nullptr, false, false));
    EXPECT_TRUE(window.Destroy());
    EXPECT_FALSE(window.IsCreated());
    EXPECT_EQ(window.GetWindowHandle(), nullptr);
    EXPECT_FALSE(window.Destroy());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32EngineHookErrWindowKnown},
                                                    {Win32EngineHookErrWindowKnown},
                                                    {Win32EngineHookErrWindowUnknown}}));
}

TEST_F(Win32WindowTest, AHandlerThatRefusesCreationFailsIt) {
    Log log;
    Win32Window window;
    RecordingHandler refusing(&log);
    refusing.m_create = false;
    RecordingHandler second(&log, "second.");
    window.AddEventHandler(&refusing);
    window.AddEventHandler(&second);
    EXPECT_FALSE(Create(window));
    EXPECT_EQ(window.GetWindowHandle(), nullptr);
    // The hook and the window each say the creation failed.
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{Win32EngineHookErrCreateWindow}, {Win32EngineHookErrCreateWindow}}));
    // Every handler hears WM_CREATE, however the first answered; the refused window's object hears nothing
    // more.
    EXPECT_EQ(RecordingHandler::Names(log), (Log{"OnCreate", "second.OnCreate"}));
}

TEST_F(Win32WindowTest, HandlersHearCreationAndDestructionInOrder) {
    Log log;
    Win32Window window;
    RecordingHandler handler(&log);
    window.AddEventHandler(&handler);
    ASSERT_TRUE(Create(window, true));
    EXPECT_EQ(RecordingHandler::Names(log), (Log{"OnCreate", "OnSize", "OnMove", "OnShowWindow",
                                                 "OnActivateApp", "OnActivate", "OnOtherMessage"}))
        << "WM_SETFOCUS has no operation of its own";
    log.clear();
    EXPECT_TRUE(window.Destroy());
    EXPECT_EQ(RecordingHandler::Names(log),
              (Log{"OnActivate", "OnActivateApp", "OnOtherMessage", "OnDestroy"}));
    EXPECT_TRUE(Win32EngineHook::Installed()->GetWindows().Empty());
}

// One message and what the handler must be told about it.
struct DispatchCase {
    win32::UINT message;
    win32::WPARAM first;
    win32::LPARAM second;
    const char* expected;
    win32::LRESULT result;
};

TEST_F(Win32WindowTest, EachMessageReachesItsOperationWithItsArguments) {
    const win32::LPARAM moved = win32::MAKELPARAM(static_cast<win32::WORD>(-5), 7);
    const DispatchCase cases[] = {
        {win32::WM_MOVE, 0, moved, "OnMove(-5,7)", 0},
        {win32::WM_SIZE, win32::SIZE_MAXIMIZED, win32::MAKELPARAM(640, 480), "OnSize(2,640,480)", 0},
        {win32::WM_ACTIVATE, win32::MAKEWPARAM(win32::WA_CLICKACTIVE, 1), 0x1234, "OnActivate(2,1,4660)", 0},
        {win32::WM_PAINT, 7, 0, "OnPaint(7)", 0},
        {win32::WM_ERASEBKGND, 0x55, 0, "OnEraseBackground(85)", 0},
        {win32::WM_SHOWWINDOW, 1, 3, "OnShowWindow(1,3)", 0},
        {win32::WM_ACTIVATEAPP, 1, 99, "OnActivateApp(1,99)", 0},
        {win32::WM_SETCURSOR, 0x10, win32::MAKELPARAM(1, win32::WM_MOUSEMOVE), "OnSetCursor(16,1,512)", 0},
        {win32::WM_GETMINMAXINFO, 0, 0, "OnGetMinMaxInfo()", 0},
        {win32::WM_POWER, 4, 0, "OnPower(4)", 1},
        {win32::WM_DISPLAYCHANGE, 16, win32::MAKELPARAM(800, 600), "OnDisplayChange(16,800,600)", 0},
        {win32::WM_KEYDOWN, 0x41, 0x1E0001, "OnKeyDown(65,1966081)", 0},
        {win32::WM_KEYUP, 0x41, 0xC01E0001, "OnKeyUp(65,3223191553)", 0},
        {win32::WM_CHAR, 'a', 0x1E0001, "OnChar(97,1966081)", 0},
        {win32::WM_SYSKEYDOWN, 0x58, 0x202D0001, "OnSysKeyDown(88,539820033)", 0},
        {win32::WM_SYSKEYUP, 0x58, 0xE02D0001, "OnSysKeyUp(88,3761045505)", 0},
        {win32::WM_COMMAND, win32::MAKEWPARAM(5, 2), 0x77, "OnCommand(2,5,119)", 0},
        {win32::WM_SYSCOMMAND, win32::SC_CLOSE | 3, win32::MAKELPARAM(static_cast<win32::WORD>(-1), 2),
         "OnSysCommand(61536,-1,2)", 0},
        {win32::WM_CTLCOLOREDIT, 3, 4, "OnCtlColorEdit(3,4)", 0},
        {win32::WM_CTLCOLORSTATIC, 3, 4, "OnCtlColorStatic(3,4)", 0},
        {win32::WM_ENTERMENULOOP, 1, 0, "OnEnterMenuLoop(1)", 0},
        {win32::WM_EXITMENULOOP, 0, 0, "OnExitMenuLoop(0)", 0},
        {win32::WM_POWERBROADCAST, 9, 10, "OnPowerBroadcast(9,10)", 1},
        {win32::WM_ENTERSIZEMOVE, 0, 0, "OnEnterSizeMove()", 0},
        {win32::WM_EXITSIZEMOVE, 0, 0, "OnExitSizeMove()", 0},
        {win32::WM_NULL, 1, 2, "OnOtherMessage(0,1,2)", 0},
        {win32::WM_LBUTTONDOWN, win32::MK_LBUTTON, 0x00140010, "OnOtherMessage(513,1,1310736)", 0},
        {0x03FF, 0, 0, "OnOtherMessage(1023,0,0)", 0},
        {0x0400, 0, 0, "OnUserMessage(1024,0,0)", 0},
        {0x7FFF, 0, 0, "OnUserMessage(32767,0,0)", 0},
        {0x8000, 0, 0, "OnAppMessage(32768,0,0)", 0},
        {0xBFFF, 0, 0, "OnAppMessage(49151,0,0)", 0},
        {0xC000, 0, 0, "OnRegisteredMessage(49152,0,0)", 0},
        {0xFFFF, 0, 0, "OnRegisteredMessage(65535,0,0)", 0},
        {0x10000, 0, 0, "OnReservedMessage(65536,0,0)", 0},
    };
    Log log;
    Win32Window window;
    RecordingHandler handler(&log);
    window.AddEventHandler(&handler);
    const auto handle = reinterpret_cast<win32::HWND>(static_cast<win32::ULONG_PTR>(0x10));
    for (const DispatchCase& test : cases) {
        log.clear();
        // Without the call-default flag, default processing answers 0.
        EXPECT_EQ(window.HandleMessage(handle, test.message, test.first, test.second, false), test.result)
            << test.expected;
        EXPECT_EQ(log, (Log{test.expected}));
    }
}

// Two handlers' answers and what the window makes of them.
TEST_F(Win32WindowTest, AnswersCombineAsEachMessageSays) {
    struct Case {
        win32::UINT message;
        bool firstAnswer;
        bool secondAnswer;
        win32::LRESULT result;
    };
    const Case cases[] = {
        {win32::WM_ERASEBKGND, false, false, 0},
        {win32::WM_ERASEBKGND, false, true, 1},
        {win32::WM_POWER, true, true, 1},
        {win32::WM_POWER, true, false, -1},
        {win32::WM_POWERBROADCAST, true, true, 1},
        {win32::WM_POWERBROADCAST, false, true, win32::BROADCAST_QUERY_DENY},
        {win32::WM_SETCURSOR, false, true, 1},
    };
    for (const Case& test : cases) {
        Log log;
        Win32Window window;
        RecordingHandler first(&log);
        RecordingHandler second(&log);
        first.m_erase = first.m_power = first.m_setCursor = test.firstAnswer;
        second.m_erase = second.m_power = second.m_setCursor = test.secondAnswer;
        window.AddEventHandler(&first);
        window.AddEventHandler(&second);
        EXPECT_EQ(window.HandleMessage(nullptr, test.message, 0, 0, false), test.result) << test.message;
        EXPECT_EQ(log.size(), 2U) << "every handler is asked";
    }

    // With no handler the answers are the neutral ones.
    Win32Window bare;
    EXPECT_EQ(bare.HandleMessage(nullptr, win32::WM_ERASEBKGND, 0, 0, false), 0);
    EXPECT_EQ(bare.HandleMessage(nullptr, win32::WM_POWER, 0, 0, false), 1);
    EXPECT_EQ(bare.HandleMessage(nullptr, win32::WM_POWERBROADCAST, 0, 0, false), 1);
}

TEST_F(Win32WindowTest, OnlyTheLastHandlersBrushCounts) {
    Log log;
    Win32Window window;
    RecordingHandler first(&log);
    RecordingHandler second(&log);
    window.AddEventHandler(&first);
    window.AddEventHandler(&second);
    auto brush = reinterpret_cast<win32::HBRUSH>(static_cast<win32::ULONG_PTR>(0x99));
    first.m_brush = brush;
    EXPECT_EQ(window.HandleMessage(nullptr, win32::WM_CTLCOLORSTATIC, 0, 0, false), 0);
    first.m_brush = nullptr;
    second.m_brush = brush;
    EXPECT_EQ(window.HandleMessage(nullptr, win32::WM_CTLCOLOREDIT, 0, 0, false), 0x99);
}

TEST_F(Win32WindowTest, AHandlerRefusingCloseKeepsTheWindowAndTheOthersStillHearIt) {
    Log log;
    Win32Window window;
    RecordingHandler refusing(&log);
    RecordingHandler second(&log, "second.");
    refusing.m_close = false;
    window.AddEventHandler(&refusing);
    window.AddEventHandler(&second);
    ASSERT_TRUE(Create(window));
    log.clear();
    EXPECT_EQ(win32::SendMessageA(window.GetWindowHandle(), win32::WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(log, (Log{"OnClose()", "second.OnClose()"}));
    EXPECT_NE(window.GetWindowHandle(), nullptr);

    // Swallowing SC_CLOSE keeps the window too; letting it through closes it.
    second.m_sysCommand = true;
    win32::SendMessageA(window.GetWindowHandle(), win32::WM_SYSCOMMAND, win32::SC_CLOSE, 0);
    EXPECT_NE(window.GetWindowHandle(), nullptr);
    second.m_sysCommand = false;
    refusing.m_close = true;
    win32::HWND handle = window.GetWindowHandle();
    win32::SendMessageA(handle, win32::WM_SYSCOMMAND, win32::SC_CLOSE, 0);
    EXPECT_FALSE(GetWindowState(handle).exists);
}

TEST_F(Win32WindowTest, AWindowClosedByTheSystemLeavesTheHookAndCanBeCreatedAgain) {
    Win32Window window;
    ASSERT_TRUE(Create(window));
    win32::HWND handle = window.GetWindowHandle();
    win32::testing::HostCloses(handle);
    Pump();
    EXPECT_FALSE(GetWindowState(handle).exists);
    EXPECT_EQ(window.GetWindowHandle(), nullptr);
    EXPECT_TRUE(window.IsCreated()) << "nobody called Destroy";
    EXPECT_TRUE(Win32EngineHook::Installed()->GetWindows().Empty());

    ASSERT_TRUE(Create(window));
    EXPECT_EQ(Win32EngineHook::Installed()->GetWindows().Size(), 1U);
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(Win32WindowTest, TheDestructorDestroysTheNativeWindowThroughTheHookOrDirectly) {
    Log log;
    RecordingHandler handler(&log);
    win32::HWND handle;
    {
        Win32Window window;
        window.AddEventHandler(&handler);
        ASSERT_TRUE(Create(window));
        handle = window.GetWindowHandle();
    }
    EXPECT_FALSE(GetWindowState(handle).exists);
    EXPECT_EQ(handler.GetWindow(), nullptr);
    EXPECT_EQ(RecordingHandler::Names(log).back(), "OnDestroy");
    EXPECT_TRUE(Win32EngineHook::Installed()->GetWindows().Empty());

    auto window = std::make_unique<Win32Window>();
    ASSERT_TRUE(Create(*window));
    handle = window->GetWindowHandle();
    // Without the hook (which forgets its windows when it goes, and cannot unregister the class of a live
    // window) the window destroys its native window itself.
    EXPECT_FALSE(Win32EngineHook::Uninstall());
    window.reset();
    EXPECT_FALSE(GetWindowState(handle).exists);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{Win32EngineHookErrUnregisterClass}, {EngineHookErrShutdownFailed}}));
    EXPECT_TRUE(win32::UnregisterClassA("Thornwickstead Window Class", kInstance));
}

TEST_F(Win32WindowTest, AddingMovesAHandlerAndRemovingAStrangerChangesNothing) {
    Log log;
    Win32Window first;
    Win32Window second;
    RecordingHandler a(&log);
    RecordingHandler b(&log);
    EXPECT_EQ(first.AddEventHandler(&a), 1U);
    EXPECT_EQ(first.AddEventHandler(&b), 2U);
    EXPECT_EQ(second.AddEventHandler(&a), 1U);
    EXPECT_FALSE(first.HasEventHandler(&a));
    EXPECT_TRUE(second.HasEventHandler(&a));
    EXPECT_EQ(a.GetWindow(), &second);

    // Adding again moves the handler to the end of the list.
    EXPECT_EQ(second.AddEventHandler(&b), 2U);
    EXPECT_EQ(second.AddEventHandler(&a), 2U);
    log.clear();
    second.HandleMessage(nullptr, win32::WM_PAINT, 0, 0, false);
    EXPECT_EQ(log, (Log{"OnPaint(0)", "OnPaint(0)"}));

    RecordingHandler stranger(&log);
    first.RemoveEventHandler(&stranger);
    EXPECT_EQ(second.GetEventHandlerCount(), 2U);
    EXPECT_EQ(stranger.GetWindow(), nullptr);

    {
        RecordingHandler shortLived(&log);
        second.AddEventHandler(&shortLived);
        EXPECT_EQ(second.GetEventHandlerCount(), 3U);
    }
    EXPECT_EQ(second.GetEventHandlerCount(), 2U) << "a destroyed handler detaches itself";
}

TEST_F(Win32WindowTest, DispatchSurvivesHandlersLeavingAndJoiningDuringAMessage) {
    Log log;
    Win32Window window;
    auto* a = new RecordingHandler(&log, "a.");
    RecordingHandler b(&log, "b.");
    auto* c = new RecordingHandler(&log, "c.");
    RecordingHandler d(&log, "d.");
    RecordingHandler e(&log, "e.");
    for (Win32WindowEventHandler* handler : std::initializer_list<Win32WindowEventHandler*>{a, &b, c, &d}) {
        window.AddEventHandler(handler);
    }
    // a deletes itself and c; b adds e and moves itself to the end.
    a->m_duringUserMessage = [&](RecordingHandler& self) {
        delete c;
        delete &self;
    };
    b.m_duringUserMessage = [&](RecordingHandler&) {
        window.AddEventHandler(&e);
        window.AddEventHandler(&b);
    };
    window.HandleMessage(nullptr, win32::WM_USER, 0, 0, false);
    EXPECT_EQ(RecordingHandler::Names(log), (Log{"a.OnUserMessage", "b.OnUserMessage", "d.OnUserMessage"}));

    b.m_duringUserMessage = nullptr;
    log.clear();
    window.HandleMessage(nullptr, win32::WM_USER, 0, 0, false);
    EXPECT_EQ(RecordingHandler::Names(log), (Log{"d.OnUserMessage", "e.OnUserMessage", "b.OnUserMessage"}));
}

TEST_F(Win32WindowTest, AHandlerMayDestroyItsWindowDuringDispatch) {
    Log log;
    auto window = std::make_unique<Win32Window>();
    RecordingHandler first(&log, "first.");
    RecordingHandler second(&log, "second.");
    window->AddEventHandler(&first);
    window->AddEventHandler(&second);
    ASSERT_TRUE(Create(*window));
    win32::HWND handle = window->GetWindowHandle();
    first.m_duringUserMessage = [&](RecordingHandler&) { window.reset(); };
    log.clear();
    win32::SendMessageA(handle, win32::WM_USER, 0, 0);
    EXPECT_EQ(RecordingHandler::Names(log),
              (Log{"first.OnUserMessage", "first.OnDestroy", "second.OnDestroy"}));
    EXPECT_FALSE(GetWindowState(handle).exists);
    EXPECT_EQ(second.GetWindow(), nullptr);
}

// A handler may delete its window while the window's own Destroy runs. With a second window in the hook's
// set, whatever still runs of the Destroy must not read the deleted object.
TEST_F(Win32WindowTest, AHandlerMayDeleteItsWindowWhileDestroyRuns) {
    Log log;
    Win32Window other;
    ASSERT_TRUE(Create(other));
    auto* window = new Win32Window;
    RecordingHandler handler(&log);
    handler.m_duringDestroy = [&](RecordingHandler&) { delete window; };
    window->AddEventHandler(&handler);
    ASSERT_TRUE(Create(*window));
    win32::HWND handle = window->GetWindowHandle();
    EXPECT_TRUE(window->Destroy());
    EXPECT_FALSE(GetWindowState(handle).exists);
    EXPECT_EQ(handler.GetWindow(), nullptr);
    ASSERT_EQ(Win32EngineHook::Installed()->GetWindows().Size(), 1U);
    EXPECT_EQ(*Win32EngineHook::Installed()->GetWindows().Begin(), &other);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(Win32WindowTest, MouseInputReachesOtherMessage) {
    Log log;
    Win32Window window;
    RecordingHandler handler(&log);
    window.AddEventHandler(&handler);
    Point position(0, 0);
    Size size(200, 100);
    ASSERT_TRUE(
        window.Create("", &position, &size, true, true, 0, win32::WS_POPUP, nullptr, nullptr, true, true));
    Pump();
    log.clear();
    win32::testing::Click(window.GetWindowHandle(), win32::testing::MouseButton::Left, 12, 34);
    Pump();
    EXPECT_EQ(log, (Log{"OnOtherMessage(512,0,2228236)", "OnOtherMessage(513,1,2228236)",
                        "OnOtherMessage(514,0,2228236)"}));
}

TEST_F(Win32WindowTest, AClickOnARealSdlWindowReachesTheHandler) {
    ASSERT_TRUE(win32::testing::UseDummySdlBackend());
    Log log;
    {
        Win32Window window;
        RecordingHandler handler(&log);
        window.AddEventHandler(&handler);
        ASSERT_TRUE(Create(window, true));
        ASSERT_TRUE(GetWindowState(window.GetWindowHandle()).hasNativeWindow);
        Pump();
        log.clear();
        ASSERT_TRUE(win32::testing::PushSdlClick(window.GetWindowHandle(), win32::testing::MouseButton::Left,
                                                 12, 34));
        Pump();
        // The host may add window events of its own; the click is what matters here.
        Log clicks;
        for (const std::string& entry : log) {
            if (entry.starts_with("OnOtherMessage(513,") || entry.starts_with("OnOtherMessage(514,")) {
                clicks.push_back(entry);
            }
        }
        EXPECT_EQ(clicks, (Log{"OnOtherMessage(513,1,2228236)", "OnOtherMessage(514,0,2228236)"}));
        EXPECT_TRUE(window.Destroy());
    }
    win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
}

TEST_F(Win32WindowTest, DialogsStoreTheirWindowAtInitDialog) {
    Log log;
    Win32Window dialog;
    RecordingHandler handler(&log);
    dialog.AddEventHandler(&handler);
    ASSERT_TRUE(dialog.CreateDialog(100, nullptr, true, false));
    ASSERT_NE(dialog.GetWindowHandle(), nullptr);
    EXPECT_EQ(win32::testing::ActiveWindow(), dialog.GetWindowHandle());
    EXPECT_EQ(log.front(), "OnInitDialog(0)") << "the dialog's object hears from WM_INITDIALOG on";
    EXPECT_TRUE(dialog.Destroy());

    Win32Window refused;
    RecordingHandler refusing(&log);
    refusing.m_initDialog = false;
    refused.AddEventHandler(&refusing);
    EXPECT_TRUE(refused.CreateDialog(100, nullptr, false, false)) << "the dialog is made all the same";
    EXPECT_EQ(refused.GetWindowHandle(), nullptr);
    win32::HWND native = win32::FindWindowA("#32770", nullptr);
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(win32::GetWindowLongA(native, win32::DWL_USER), 0);
    log.clear();
    win32::SendMessageA(native, win32::WM_USER, 0, 0);
    EXPECT_TRUE(log.empty()) << "later messages reach no handler";
    EXPECT_TRUE(win32::DestroyWindow(native));
}

TEST_F(Win32WindowTest, ARefusedDialogsObjectLeavesTheHooksSetWhenDestroyed) {
    Log log;
    RecordingHandler refusing(&log);
    refusing.m_initDialog = false;
    win32::HWND native;
    {
        Win32Window refused;
        refused.AddEventHandler(&refusing);
        ASSERT_TRUE(refused.CreateDialog(100, nullptr, false, false));
        ASSERT_EQ(refused.GetWindowHandle(), nullptr);
        EXPECT_EQ(Win32EngineHook::Installed()->GetWindows().Size(), 1U);
        native = win32::FindWindowA("#32770", nullptr);
    }
    EXPECT_TRUE(Win32EngineHook::Installed()->GetWindows().Empty())
        << "the set would keep the address of an object that is gone";
    EXPECT_TRUE(m_application.TakeReports().empty());

    // A window made afterwards is compared with what the set holds.
    Win32Window next;
    EXPECT_TRUE(Create(next));
    EXPECT_TRUE(next.Destroy());
    EXPECT_TRUE(win32::DestroyWindow(native));
}

} // namespace
