// Subclassing of a window that somebody else created: the object's HandleMessage sees each of the window's
// messages first and may consume it; what it does not consume goes on to the window's previous procedure.
// One process-wide map, keyed by window, holds each subclassed window at most once with its previous
// procedure and its subclassing object. The entry goes when the object unsubclasses, when it is destroyed,
// or when the window itself is destroyed (at WM_NCDESTROY). Main thread only.
#pragma once

#include "platform/win32/windows/Window.h"

class OSWindowSubclass {
public:
    OSWindowSubclass() = default;
    OSWindowSubclass(const OSWindowSubclass&) = delete;
    OSWindowSubclass& operator=(const OSWindowSubclass&) = delete;
    // Puts the previous procedure back.
    virtual ~OSWindowSubclass();
    // True when the message is consumed: the window's previous procedure does not see it, and 0 is answered.
    virtual bool HandleMessage(const win32::MSG& message);

    // While subclassing a window already: true only when it is the same window. False when another object
    // subclasses the window, or when the window does not exist.
    bool Subclass(win32::HWND window);
    void Unsubclass();

    win32::HWND GetWindow() const { return m_window; }

    // Whether the window is subclassed by any object now.
    static bool IsSubclassed(win32::HWND window);
    // The message record handed to the handlers: the window's message with the time and cursor position of
    // the last message taken from the queue.
    static win32::MSG MakeMessage(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                  win32::LPARAM lParam);

private:
    static win32::LRESULT Procedure(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                    win32::LPARAM lParam);

    win32::HWND m_window = nullptr;
};
