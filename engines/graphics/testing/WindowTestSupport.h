// What the window tests share: an event handler that writes every call it gets into a log and answers as
// told, and a fixture with a test application (recording reported errors), the headless video backend and
// both engine hooks installed, with the framework's window class registered.
#pragma once

#include "engines/graphics/win32/Win32Window.h"
#include "engines/graphics/win32/Win32WindowEventHandler.h"
#include "platform/testing/WindowTesting.h"
#include "resources/hooks/DirectXEngineHook.h"
#include "resources/hooks/Win32EngineHook.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace VemoTest {

using Log = std::vector<std::string>;

class RecordingHandler : public Vemo::Win32WindowEventHandler {
public:
    explicit RecordingHandler(Log* log, std::string name = "") : m_log(log), m_name(std::move(name)) {}

    void OnActivate(win32::UINT state, bool minimized, win32::HWND other) override {
        Note("OnActivate", state, minimized, Number(other));
    }
    void OnActivateApp(bool active, win32::DWORD thread) override { Note("OnActivateApp", active, thread); }
    void OnChar(win32::WPARAM character, win32::LPARAM data) override { Note("OnChar", character, data); }
    bool OnClose() override {
        Note("OnClose");
        return m_close;
    }
    void OnCommand(win32::UINT code, win32::UINT id, win32::HWND control) override {
        Note("OnCommand", code, id, Number(control));
    }
    bool OnCreate(win32::CREATESTRUCTA*) override {
        Note("OnCreate");
        if (m_duringCreate) {
            m_duringCreate(*this);
        }
        return m_create;
    }
    void OnDestroy() override {
        Note("OnDestroy");
        if (m_duringDestroy) {
            m_duringDestroy(*this);
        }
    }
    void OnDisplayChange(win32::WPARAM bits, win32::UINT width, win32::UINT height) override {
        Note("OnDisplayChange", bits, width, height);
    }
    void OnEnterMenuLoop(bool popup) override { Note("OnEnterMenuLoop", popup); }
    void OnEnterSizeMove() override { Note("OnEnterSizeMove"); }
    bool OnEraseBackground(win32::HDC context) override {
        Note("OnEraseBackground", Number(context));
        return m_erase;
    }
    void OnExitMenuLoop(bool popup) override { Note("OnExitMenuLoop", popup); }
    void OnExitSizeMove() override { Note("OnExitSizeMove"); }
    void OnGetMinMaxInfo(win32::MINMAXINFO*) override { Note("OnGetMinMaxInfo"); }
    bool OnInitDialog(win32::HWND focus) override {
        Note("OnInitDialog", Number(focus));
        return m_initDialog;
    }
    void OnKeyDown(win32::WPARAM key, win32::LPARAM data) override { Note("OnKeyDown", key, data); }
    void OnKeyUp(win32::WPARAM key, win32::LPARAM data) override { Note("OnKeyUp", key, data); }
    void OnMove(int x, int y) override { Note("OnMove", x, y); }
    void OnPaint(win32::WPARAM first) override { Note("OnPaint", first); }
    bool OnPower(win32::WPARAM event) override {
        Note("OnPower", event);
        return m_power;
    }
    bool OnPowerBroadcast(win32::WPARAM event, win32::LPARAM data) override {
        Note("OnPowerBroadcast", event, data);
        return m_power;
    }
    bool OnSetCursor(win32::HWND window, win32::UINT hit, win32::UINT mouse) override {
        Note("OnSetCursor", Number(window), hit, mouse);
        return m_setCursor;
    }
    void OnSize(win32::WPARAM type, win32::UINT width, win32::UINT height) override {
        Note("OnSize", type, width, height);
    }
    void OnShowWindow(bool shown, win32::LPARAM status) override { Note("OnShowWindow", shown, status); }
    bool OnSysCommand(win32::WPARAM command, int x, int y) override {
        Note("OnSysCommand", command, x, y);
        return m_sysCommand;
    }
    void OnSysKeyDown(win32::WPARAM key, win32::LPARAM data) override { Note("OnSysKeyDown", key, data); }
    void OnSysKeyUp(win32::WPARAM key, win32::LPARAM data) override { Note("OnSysKeyUp", key, data); }
    win32::HBRUSH OnCtlColorEdit(win32::HDC context, win32::HWND control) override {
        Note("OnCtlColorEdit", Number(context), Number(control));
        return m_brush;
    }
    win32::HBRUSH OnCtlColorStatic(win32::HDC context, win32::HWND control) override {
        Note("OnCtlColorStatic", Number(context), Number(control));
        return m_brush;
    }
    void OnOtherMessage(win32::HWND, win32::UINT message, win32::WPARAM first,
                        win32::LPARAM second) override {
        Note("OnOtherMessage", message, first, second);
    }
    void OnUserMessage(win32::HWND, win32::UINT message, win32::WPARAM first, win32::LPARAM second) override {
        Note("OnUserMessage", message, first, second);
        if (m_duringUserMessage) {
            m_duringUserMessage(*this);
        }
    }
    void OnAppMessage(win32::HWND, win32::UINT message, win32::WPARAM first, win32::LPARAM second) override {
        Note("OnAppMessage", message, first, second);
    }
    void OnRegisteredMessage(win32::HWND, win32::UINT message, win32::WPARAM first,
                             win32::LPARAM second) override {
        Note("OnRegisteredMessage", message, first, second);
    }
    void OnReservedMessage(win32::HWND, win32::UINT message, win32::WPARAM first,
                           win32::LPARAM second) override {
        Note("OnReservedMessage", message, first, second);
    }

    // The operations named in the log, in order, without their arguments.
    static Log Names(const Log& log) {
        Log names;
        for (const std::string& entry : log) {
            names.push_back(entry.substr(0, entry.find('(')));
        }
        return names;
    }

    bool m_close = true;
    bool m_create = true;
    bool m_erase = false;
    bool m_initDialog = true;
    bool m_power = true;
    bool m_setCursor = false;
    bool m_sysCommand = false;
    win32::HBRUSH m_brush = nullptr;
    std::function<void(RecordingHandler&)> m_duringUserMessage;
    std::function<void(RecordingHandler&)> m_duringDestroy;
    std::function<void(RecordingHandler&)> m_duringCreate;

private:
    template <class T>
    static long long Number(T* pointer) {
        return static_cast<long long>(reinterpret_cast<std::intptr_t>(pointer));
    }

    template <class... Arguments>
    void Note(const char* operation, Arguments... arguments) {
        std::string entry = m_name + operation + "(";
        [[maybe_unused]] const char* separator = "";
        ((entry += separator + std::to_string(static_cast<long long>(arguments)), separator = ","), ...);
        m_log->push_back(entry + ")");
    }

    Log* m_log;
    std::string m_name;
};

class WindowTest : public ::testing::Test {
protected:
    static inline const win32::HINSTANCE kInstance =
        reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x400000));

    void SetUp() override {
        ASSERT_EQ(win32::testing::LiveWindowCount(), 0U);
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        win32::testing::ReleaseAllInput();
        ASSERT_TRUE(Vemo::Win32EngineHook::Install(kInstance));
        ASSERT_TRUE(Vemo::Win32EngineHook::RegisterWindowClass("Thornwickstead Window Class",
                                                               win32::CS_DBLCLKS, nullptr, nullptr, nullptr,
                                                               nullptr, Vemo::String()));
        ASSERT_TRUE(Vemo::DirectXEngineHook::Install(kInstance));
    }

    void TearDown() override {
        if (Vemo::DirectXEngineHook::Installed() != nullptr) {
            Vemo::DirectXEngineHook::Uninstall();
        }
        if (Vemo::Win32EngineHook::Installed() != nullptr) {
            Vemo::Win32EngineHook::Uninstall();
        }
        win32::MSG message;
        while (win32::PeekMessageA(&message, nullptr, 0, 0, win32::PM_REMOVE)) {
            win32::DefWindowProcA(message.hwnd, message.message, message.wParam, message.lParam);
        }
        win32::testing::ReleaseAllInput();
        EXPECT_EQ(win32::testing::LiveWindowCount(), 0U);
    }

    // A plain overlapped window of 320 x 240 client pixels at (10, 10).
    static bool Create(Vemo::Win32Window& window, bool show = false) {
        Vemo::Point position(10, 10);
        Vemo::Size size(320, 240);
        return window.Create("Window", &position, &size, true, true, 0, win32::WS_OVERLAPPEDWINDOW, nullptr,
                             nullptr, show, show);
    }

    // Dispatches what is waiting, as the application's pump does.
    static void Pump() {
        win32::MSG message;
        while (win32::PeekMessageA(&message, nullptr, 0, 0, win32::PM_REMOVE) &&
               message.message != win32::WM_QUIT) {
            win32::TranslateMessage(&message);
            win32::DispatchMessageA(&message);
        }
    }

    TestApplication m_application;
};

} // namespace VemoTest
