// Windows, window classes, modeless dialogs and the message queue.
//
// Every thread that creates a window or asks for a message has a queue of its own; a window belongs to the
// thread that created it, and its window procedure runs on that thread only. The window procedure is called
// without any lock held, so a procedure may create, destroy and send to windows (SendMessageA is re-entrant).
//
// Handles are never reused: a destroyed window's handle stays invalid for the life of the process.
//
// Two video backends exist, chosen once per process by VEMO_VIDEO ("sdl", the default, or "headless"; a
// scripted run is headless): with SDL2 every top-level window is a real window whose events become window
// messages; headless windows keep their geometry and state and receive input only from platform/testing.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/windows/Capture.h"
#include "platform/win32/windows/WindowGeometry.h"

namespace win32 {

using ATOM = WORD;
using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
// Taken and kept; dialog navigation, which would step into such a child's own children, does not exist here.
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;

// A position or size that the system chooses.
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// Window-long indexes. Non-negative indexes address the window's extra bytes: every 4 declared bytes are one
// pointer-sized slot, so a class with 4 extra bytes keeps one pointer at index 0. Dialogs have three slots.
constexpr int DWL_MSGRESULT = 0;
constexpr int DWL_DLGPROC = 4;
constexpr int DWL_USER = 8;
// Negative indexes name the window's own values. GWL_WNDPROC and GWL_USERDATA are pointer-sized, as index 0.
constexpr int GWL_USERDATA = -21;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_STYLE = -16;
constexpr int GWL_WNDPROC = -4;

// GetWindow: the first child of a window (the earliest made that still lives).
constexpr UINT GW_CHILD = 5;

// SetWindowPos: where the window goes in the Z order, and what it leaves as it is.
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<std::intptr_t>(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// PeekMessageA options.
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;

// An integer resource or atom in place of a name.
inline LPCSTR MAKEINTRESOURCEA(WORD id) {
    return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(id));
}
inline bool IS_INTRESOURCE(LPCSTR name) {
    return (reinterpret_cast<ULONG_PTR>(name) >> 16) == 0;
}

inline LPARAM MAKELPARAM(WORD low, WORD high) {
    return static_cast<LPARAM>(MAKELONG(low, high));
}
inline WPARAM MAKEWPARAM(WORD low, WORD high) {
    return static_cast<WPARAM>(MAKELONG(low, high));
}
inline int GET_X_LPARAM(LPARAM lParam) {
    return static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam)));
}
inline int GET_Y_LPARAM(LPARAM lParam) {
    return static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lParam)));
}

struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

// Window classes. A class name is matched without regard to case; cbSize must be sizeof(WNDCLASSEXA) and the
// extra byte counts must not be negative (ERROR_INVALID_PARAMETER otherwise).
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);

// Creation sends WM_GETMINMAXINFO (top-level windows), WM_NCCREATE and WM_CREATE, both with the
// CREATESTRUCTA, then WM_SIZE and WM_MOVE. A FALSE from WM_NCCREATE or a -1 from WM_CREATE fails the
// creation: the window is destroyed again (WM_DESTROY after a refused WM_CREATE, then WM_NCDESTROY) and null
// is returned. A parent without WS_CHILD makes the new window an owned top-level window.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);

// A modeless dialog. No dialog resources exist here: an integer template gives an empty, hidden dialog (no
// controls), a named template fails with ERROR_RESOURCE_NAME_NOT_FOUND. The dialog procedure sees
// WM_INITDIALOG with initParam; what it does not handle (returns FALSE for) gets the default processing of
// DefWindowProcA, except that WM_CLOSE becomes WM_COMMAND IDCANCEL, so a modeless dialog is closed only by
// its owner.
HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam);

// Sends WM_DESTROY (the window first, then its children) and WM_NCDESTROY (children first); owned windows are
// destroyed before their owner. Only the owning thread may destroy a window (ERROR_ACCESS_DENIED).
BOOL DestroyWindow(HWND window);

// WM_CLOSE destroys the window; WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE, SC_RESTORE restores a minimised or
// maximised window, SC_KEYMENU would open the window menu (none exists: the request is only counted, for the
// testing API); Alt pressed and released with no other key between (WM_SYSKEYDOWN and WM_SYSKEYUP of VK_MENU
// reaching this procedure) sends WM_SYSCOMMAND SC_KEYMENU; WM_NCCREATE answers TRUE; WM_SETTEXT stores the
// text; WM_PAINT validates the window; WM_ACTIVATE of an active window gives it the keyboard focus.
// Everything else answers 0.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A stored 0 and a failure both return 0: callers clear the last error first and test it afterwards.
// GWL_WNDPROC replaces the procedure every later message goes to (a null procedure is refused with
// ERROR_INVALID_PARAMETER); GWL_USERDATA is a value kept for the window's user.
// GWL_STYLE reads the style with WS_VISIBLE, WS_MINIMIZE and WS_MAXIMIZE as the window is now; setting it
// shows or hides the window by WS_VISIBLE without any message, ignores WS_MINIMIZE, WS_MAXIMIZE and a change
// of WS_CHILD, and changes the frame (so the client area) at once, while the host's window takes the new
// frame at the next SetWindowPos with SWP_FRAMECHANGED. GWL_EXSTYLE is stored as it is; WS_EX_TOPMOST takes
// effect through SetWindowPos.
LONG_PTR GetWindowLongA(HWND window, int index);
LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value);

// Moves and sizes the window (its window rectangle: screen coordinates for a top-level window, the parent's
// client coordinates for a child) unless SWP_NOMOVE or SWP_NOSIZE; HWND_TOPMOST and HWND_NOTOPMOST set and
// clear WS_EX_TOPMOST, other places in the Z order are taken as given (the Z order is not kept). Sends
// WM_SIZE when the client size changed and WM_MOVE when the client area moved, both after SWP_FRAMECHANGED;
// shows (SWP_SHOWWINDOW) or hides (SWP_HIDEWINDOW) it; activates a visible top-level window unless
// SWP_NOACTIVATE; and, unless SWP_NOREDRAW, has a window that changed size or frame painted again.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
// SetWindowPos without a change of Z order or activation; repaint false is SWP_NOREDRAW.
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// The menu of a top-level window; null for a child window.
HMENU GetMenu(HWND window);

// Adds the rectangle (client coordinates; null for the whole client area) to the area to paint; the next
// paint is told to erase the background when erase is TRUE. A null window invalidates every window.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
// Sends WM_PAINT at once when the window is visible and needs painting.
BOOL UpdateWindow(HWND window);
// Fills the paint record with the area to paint (cut to the client area) and whether the background is to
// be erased, and validates the window. A window has no device context of its own here (what it shows is its
// primary surface, platform/directx/DirectDraw.h): hdc, and the result, are null; EndPaint takes the record
// back. Null also for a window that does not exist, with the record cleared.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// Whether the handle names a live window (one being destroyed still is one until WM_NCDESTROY is over).
BOOL IsWindow(HWND window);
// Whether the window and every parent it has are shown.
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);

// Returns whether the window was visible before. Sends WM_SHOWWINDOW when the visibility changes and WM_SIZE
// when the window is minimised, maximised or restored; showing commands other than SW_SHOWNA,
// SW_SHOWNOACTIVATE and SW_SHOWMINNOACTIVE activate a top-level window.
BOOL ShowWindow(HWND window, int command);
BOOL SetForegroundWindow(HWND window);
// Sets or clears WS_DISABLED and sends WM_ENABLE when that changes; a window disabled while it or one of its
// children holds the keyboard focus loses it. Returns whether the window was disabled before (FALSE also
// for a window that does not exist). A disabled window takes no mouse input: the mouse goes to what lies
// beneath it.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
// Gives the keyboard focus to the window (null: to none), with WM_KILLFOCUS to the window losing it and
// WM_SETFOCUS to the window gaining it; keys go to the focus window. Returns the window that held it
// before; null, with the focus unchanged, for a window that does not exist.
HWND SetFocus(HWND window);
HWND GetFocus();
// GW_CHILD only; null for another relation, a window without children or one that does not exist.
HWND GetWindow(HWND window, UINT relation);
// Calls the procedure (a window's previous one, read through GWL_WNDPROC) with the message; 0 for a null
// procedure.
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Returns the window that was active before (null when none or on failure).
HWND SetActiveWindow(HWND window);
BOOL SetWindowTextA(HWND window, LPCSTR text);
// The first top-level window whose class and title match (either may be null for any); names compare without
// regard to case. Windows of this process come first. Then, when a class name is given (not an atom), the
// top-level windows of the other processes on the same desktop: VEMO_DESKTOP names it (by default all of a
// user's processes share one; "private" keeps a process's windows to itself, as tests want). Such a window
// is answered by a handle of this process that stands for it: PostMessageA reaches the window through it
// (its parameters as numbers: a pointer means nothing in the other process), and every other call takes it
// for a window that does not exist.
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
// Grows a client rectangle into the window rectangle of a window with these styles and this host's frame
// sizes.
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
// Where the cursor last was, in screen coordinates.
BOOL GetCursorPos(POINT* point);

// Messages are returned in this order: messages sent from other threads are handled first (never returned),
// then posted messages, then WM_QUIT once PostQuitMessage was called (never to a window filter), then input
// (mouse and keys), then WM_PAINT for a window that needs painting (until DefWindowProcA validates it). A
// filter window of null takes every message of the thread, (HWND)-1 only the messages posted with no window.
// A range of 0, 0 takes all.
BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT options);
// Blocks until a message is there; 0 for WM_QUIT, -1 for an invalid filter window.
BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last);
// The time stamp (milliseconds of GetTickCount) and the cursor's screen position (x in the low 16 bits, y
// in the high) of the last message the calling thread took with GetMessageA or PeekMessageA; 0 before any.
LONG GetMessageTime();
DWORD GetMessagePos();
// Posts WM_CHAR (WM_SYSCHAR) for a WM_KEYDOWN (WM_SYSKEYDOWN) of a key that types a character, ahead of every
// other posted message. Returns whether the message was a key message.
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
// With a null window the message goes to the calling thread's queue. A window of another process (found by
// FindWindowA) gets the message in that process's queue; FALSE with ERROR_INVALID_WINDOW_HANDLE when the
// process or the window is gone.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Returns when the calling thread's queue holds a message GetMessageA would take (another thread's or
// process's post among them), answering messages sent to the thread meanwhile. On the main thread of a
// scripted headless run (platform/win32/input/HeadlessRun.h) it returns at once.
BOOL WaitMessage();
// Calls the window procedure at once on the owning thread; from another thread it waits for the owner to take
// the message, handling messages sent to itself meanwhile.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// A message number of the process for the name, the same for every call with that name (compared without
// regard to case): numbers are given out from 0xC000 up, one per name. 0 with ERROR_INVALID_PARAMETER for a
// null or empty name, and with ERROR_NOT_ENOUGH_MEMORY once 0xFFFF has been given.
UINT RegisterWindowMessageA(LPCSTR name);

// System metrics. SM_CXCURSOR and SM_CYCURSOR give the size of a cursor (32 by 32); every other index
// answers 0.
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
int GetSystemMetrics(int index);

constexpr DWORD ERROR_INVALID_CURSOR_HANDLE = 1402;

// A monochrome cursor: two planes of width by height bits, each row a whole number of 16-bit words. Where the
// AND plane's bit is set and the XOR plane's clear the screen shows through, so a cursor with every AND bit
// set and every XOR bit clear is no picture at all: the pointer is hidden while it is over a window of a
// class with that cursor. Other cursors show the host's pointer. Null with ERROR_INVALID_PARAMETER for a size
// below 1 or a missing plane.
HCURSOR CreateCursor(HINSTANCE instance, int xHotSpot, int yHotSpot, int width, int height,
                     const void* andPlane, const void* xorPlane);
// FALSE with ERROR_INVALID_CURSOR_HANDLE for a handle CreateCursor did not give (or gave and took back).
BOOL DestroyCursor(HCURSOR cursor);

// Message boxes: the button sets an OK box (MB_OK) and an OK and Cancel box (MB_OKCANCEL); the other bits of
// the type (icon, default button, modality) are taken and not used here.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_TYPEMASK = 0x0000000F;
// Modality and placement: over every window of the task, brought to the foreground, above all others.
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;
// The answers, as Windows numbers them (IDOK and IDCANCEL in platform/win32/WindowMessages.h).
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows the text (null: empty) under the caption (null: "Error") and returns the button that closed the box:
// IDOK, or IDCANCEL for the Cancel button of an OK and Cancel box (and for its close box). The video backend
// shows it (platform/video/VideoBackend.h): SDL2 in a message box of the host, over the owner's window when
// it is the SDL thread's, the texts turned from the code page into UTF-8; headless, a box answers at once,
// with the answers a scripted run or a test gave in order, else OK for an OK box and Cancel for an OK and
// Cancel box. When the host's box cannot show (an X server without the core fonts), the program draws the box
// itself (platform/win32/desktop/DrawnMessageBox.h). Every box answered goes into the run's log
// (platform/win32/input/HeadlessRun.h). 0 with ERROR_INVALID_PARAMETER for another button set; 0 when neither
// box can show (a thread other than SDL's), which is then said on the standard error.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

} // namespace win32
