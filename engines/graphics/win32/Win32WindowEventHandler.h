// What a window tells its event handlers: one operation per window message it dispatches, and five for the
// message ranges. The base does nothing; operations that answer return the answer that lets the message go on
// as usual. A handler is identified by its serial number, never by its address, and belongs to at most one
// window; destroying it detaches it.
#pragma once

#include "platform/win32/windows/Window.h"

#include <cstdint>

namespace Vemo {

class Win32Window;

class Win32WindowEventHandler {
public:
    Win32WindowEventHandler();
    Win32WindowEventHandler(const Win32WindowEventHandler&) = delete;
    Win32WindowEventHandler& operator=(const Win32WindowEventHandler&) = delete;
    virtual ~Win32WindowEventHandler();

    virtual void OnActivate(win32::UINT state, bool minimized, win32::HWND other);
    virtual void OnActivateApp(bool active, win32::DWORD otherThread);
    virtual void OnChar(win32::WPARAM character, win32::LPARAM keyData);
    virtual bool OnClose();
    virtual void OnCommand(win32::UINT notification, win32::UINT identifier, win32::HWND control);
    virtual bool OnCreate(win32::CREATESTRUCTA* creation);
    virtual void OnDestroy();
    virtual void OnDisplayChange(win32::WPARAM bitsPerPixel, win32::UINT width, win32::UINT height);
    virtual void OnEnterMenuLoop(bool popup);
    virtual void OnEnterSizeMove();
    virtual bool OnEraseBackground(win32::HDC context);
    virtual void OnExitMenuLoop(bool popup);
    virtual void OnExitSizeMove();
    virtual void OnGetMinMaxInfo(win32::MINMAXINFO* limits);
    virtual bool OnInitDialog(win32::HWND focus);
    virtual void OnKeyDown(win32::WPARAM virtualKey, win32::LPARAM keyData);
    virtual void OnKeyUp(win32::WPARAM virtualKey, win32::LPARAM keyData);
    virtual void OnMove(int x, int y);
    virtual void OnPaint(win32::WPARAM first);
    virtual bool OnPower(win32::WPARAM event);
    virtual bool OnPowerBroadcast(win32::WPARAM event, win32::LPARAM data);
    virtual bool OnSetCursor(win32::HWND window, win32::UINT hitTest, win32::UINT mouseMessage);
    virtual void OnSize(win32::WPARAM type, win32::UINT width, win32::UINT height);
    virtual void OnShowWindow(bool shown, win32::LPARAM status);
    // True swallows the command.
    virtual bool OnSysCommand(win32::WPARAM command, int x, int y);
    virtual void OnSysKeyDown(win32::WPARAM virtualKey, win32::LPARAM keyData);
    virtual void OnSysKeyUp(win32::WPARAM virtualKey, win32::LPARAM keyData);
    virtual win32::HBRUSH OnCtlColorEdit(win32::HDC context, win32::HWND control);
    virtual win32::HBRUSH OnCtlColorStatic(win32::HDC context, win32::HWND control);
    // Messages below WM_USER without an operation of their own, the mouse messages among them.
    virtual void OnOtherMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                win32::LPARAM second);
    virtual void OnUserMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                               win32::LPARAM second);
    virtual void OnAppMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                              win32::LPARAM second);
    virtual void OnRegisteredMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                     win32::LPARAM second);
    virtual void OnReservedMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                   win32::LPARAM second);

    std::uint32_t GetSerial() const { return m_serial; }
    // Null while detached.
    Win32Window* GetWindow() const { return m_window; }

private:
    friend class Win32Window;

    std::uint32_t m_serial;
    Win32Window* m_window = nullptr;
};

} // namespace Vemo
