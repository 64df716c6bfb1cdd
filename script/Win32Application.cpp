#include "script/Win32Application.h"

#include "platform/win32/kernel/Time.h"
#include "platform/win32/windows/Window.h"
#include "resources/error/Error.h"

namespace Vemo {

namespace {

constexpr win32::DWORD kPumpMilliseconds = 2;

win32::HINSTANCE g_instance = nullptr;
win32::HINSTANCE g_previousInstance = nullptr;
int g_showCommand = win32::SW_SHOW;

} // namespace

Win32Application::Win32Application(const String& name) : Application(name), m_showCommand(win32::SW_SHOW) {}

bool Win32Application::Initialize(const BasicArray<String>& arguments) {
    if (g_instance == nullptr) {
        RaiseError(kErrorNoInstance);
        return false;
    }
    m_instance = g_instance;
    m_previousInstance = g_previousInstance;
    m_showCommand = g_showCommand;
    return Application::Initialize(arguments);
}

bool Win32Application::Shutdown() {
    const bool result = Application::Shutdown();
    g_showCommand = win32::SW_SHOW;
    g_instance = nullptr;
    g_previousInstance = nullptr;
    return result;
}

void Win32Application::Step() {
    // The time spent is measured as a difference, so the bound holds across a wrap of the clock.
    const win32::DWORD start = win32::timeGetTime();
    while (win32::timeGetTime() - start < kPumpMilliseconds) {
        win32::MSG message;
        if (!win32::PeekMessageA(&message, nullptr, 0, 0, win32::PM_NOREMOVE)) {
            break;
        }
        if (win32::GetMessageA(&message, nullptr, 0, 0) == 0) {
            SetExitSuccess(message.wParam == 0);
            Application::Quit();
            return;
        }
        win32::TranslateMessage(&message);
        win32::DispatchMessageA(&message);
    }
    Application::Step();
}

void Win32Application::Quit() {
    win32::PostQuitMessage(0);
}

void Win32Application::SetProcessValues(win32::HINSTANCE instance, win32::HINSTANCE previousInstance,
                                        int showCommand) {
    g_instance = instance;
    g_previousInstance = previousInstance;
    g_showCommand = showCommand;
}

win32::HINSTANCE Win32Application::GetProcessInstanceHandle() {
    return g_instance;
}

win32::HINSTANCE Win32Application::GetProcessPreviousInstanceHandle() {
    return g_previousInstance;
}

int Win32Application::GetProcessShowCommand() {
    return g_showCommand;
}

} // namespace Vemo
