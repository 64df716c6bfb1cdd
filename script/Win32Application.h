// The application on Windows: takes the instance handles and show command that WinMain was given, and pumps
// the thread's window messages before every frame step.
#pragma once

#include "platform/win32/Types.h"
#include "script/Application.h"

namespace Vemo {

class Win32Application : public Application {
public:
    static constexpr ErrorCode kErrorNoInstance = MakeErrorCode(kWin32ApplicationFacility, 1);

    explicit Win32Application(const String& name);

    // Fails, reported, while WinMain has stored no instance handle; otherwise copies the process values.
    bool Initialize(const BasicArray<String>& arguments) override;
    // Also puts the process values back to their initial ones.
    bool Shutdown() override;
    // Handles the waiting window messages for at most 2 ms, never waiting for one, then the frame step. A
    // WM_QUIT ends the step at once, without the frame step: it sets the quit flag, and the exit-success flag
    // when its exit code is 0.
    void Step() override;
    // Posts WM_QUIT with exit code 0; the pump ends the run when it takes it.
    void Quit() override;

    virtual win32::HINSTANCE GetInstanceHandle() const { return m_instance; }
    virtual win32::HINSTANCE GetPreviousInstanceHandle() const { return m_previousInstance; }
    virtual int GetShowCommand() const { return m_showCommand; }

    // What WinMain was started with; the show command is SW_SHOW until WinMain stores one.
    static void SetProcessValues(win32::HINSTANCE instance, win32::HINSTANCE previousInstance,
                                 int showCommand);
    static win32::HINSTANCE GetProcessInstanceHandle();
    static win32::HINSTANCE GetProcessPreviousInstanceHandle();
    static int GetProcessShowCommand();

private:
    win32::HINSTANCE m_instance = nullptr;
    win32::HINSTANCE m_previousInstance = nullptr;
    int m_showCommand;
};

} // namespace Vemo
