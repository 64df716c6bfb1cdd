// The window event handler of the messenger viewport: it turns the messages of the viewport's window into
// MessengerViewport::Event records appended to the viewport's queue, answers the few messages that need an
// answer at once (power events, the keyboard's window menu), holds the mouse capture while a button pressed
// in the window is down, and tells the viewport when the pointer has left the client area.
//
// Keys reach the queue as DirectInput key codes (platform/win32/input/KeyTable.h); a key without one is
// dropped. Mouse points are the signed 16-bit halves of lParam. A lost capture releases, at (-1, -1), every
// button still held, so that a control always sees the release of a press.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/directx/DirectXViewportEventHandler.h"

#include <cstdint>

class MessengerViewport;

class MessengerViewportEventHandler : public Vemo::DirectXViewportEventHandler {
public:
    explicit MessengerViewportEventHandler(MessengerViewport* viewport);

    // Activation redraws everything.
    void OnActivate(win32::UINT state, bool minimized, win32::HWND other) override;
    // The application's input follows its activation.
    void OnActivateApp(bool active, win32::DWORD otherThread) override;
    void OnChar(win32::WPARAM character, win32::LPARAM keyData) override;
    void OnKeyDown(win32::WPARAM virtualKey, win32::LPARAM keyData) override;
    void OnKeyUp(win32::WPARAM virtualKey, win32::LPARAM keyData) override;
    // A suspend request is refused when a control refuses it.
    bool OnPower(win32::WPARAM event) override;
    bool OnPowerBroadcast(win32::WPARAM event, win32::LPARAM data) override;
    // Swallows the keyboard's request for the window menu: Alt never opens it.
    bool OnSysCommand(win32::WPARAM command, int x, int y) override;
    void OnSysKeyDown(win32::WPARAM virtualKey, win32::LPARAM keyData) override;
    void OnSysKeyUp(win32::WPARAM virtualKey, win32::LPARAM keyData) override;
    // The mouse, WM_SYSCHAR, the capture and the keyboard focus.
    void OnOtherMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                        win32::LPARAM second) override;
    // Called by the viewport each frame: when the pointer has left the client area with no button held, one
    // move far outside (-10000, -10000) is queued, not repeated until the pointer has been inside again. With
    // a button held the pointer still counts as inside.
    virtual void CheckPointerInside();

    // The pointer in the window's client coordinates; false without a window or a pointer, and, with
    // overWindowOnly, while another window lies under the pointer. Any thread.
    bool ReadPointer(win32::POINT& local, bool overWindowOnly) const;

    // Bit 0 left, bit 1 right, bit 2 middle: the buttons pressed in the window and not yet released.
    std::uint32_t GetHeldButtons() const { return m_heldButtons; }

private:
    win32::HWND Window() const;
    void QueueKey(win32::WPARAM virtualKey, bool down, bool repeat);
    void QueueCharacter(win32::WPARAM character, win32::LPARAM keyData);
    void PressButton(unsigned button, win32::LPARAM position, bool doubleClick);
    void ReleaseButton(unsigned button, win32::LPARAM position);
    void OnCaptureLost();
    void OnFocusLost(win32::HWND gaining);
    // Whether the window is the viewport's window or lies inside it.
    bool IsInViewportWindow(win32::HWND window) const;
    // Hands the application's activation to the multimedia application's EnableInput; nothing until that
    // application exists.
    void EnableApplicationInput(bool active);

    std::uint32_t m_heldButtons = 0;
    std::uint8_t m_inside = 0;
    MessengerViewport* m_viewport;
};
