// Steps shared by the window calls, the message calls and the host events. Internal to the platform layer.
// Unless a function says otherwise, call it without the window system's lock: these send messages.
#pragma once

#include "platform/video/VideoBackend.h"
#include "platform/win32/windows/Window.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

// poll(2)'s record, declared here only: the header stays free of system headers for the callers above it.
struct pollfd;

namespace win32 {

// Waits on the calling thread until a message is waiting for it (the host's events read meanwhile), one of
// the other descriptors shows what it is watched for (their revents say what), or the time has passed; true
// when a message is waiting.
bool WaitForMessageFor(std::chrono::nanoseconds time, pollfd* others = nullptr, std::size_t otherCount = 0);

class MessageQueue;
class WindowClass;
class WindowObject;
class WindowSystem;

// CreateWindowExA's work once the class is known: the creation values are those of the record. A dialog
// procedure makes the window a dialog, with the procedure in place before the first message.
HWND CreateWindowOfClass(const std::shared_ptr<WindowClass>& windowClass, const CREATESTRUCTA& creation,
                         DLGPROC dialogProcedure);

// With the lock held: the time stamp and cursor position a new message carries.
MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// With the lock held: the top-level window's close box was used. WM_SYSCOMMAND SC_CLOSE is posted, which the
// default processing turns into WM_CLOSE; nothing once the window's thread has ended.
void PostCloseBox(WindowObject& topLevel);

// Calls the window procedure on the owning thread, or hands the message to the owner and waits for it. 0 for
// a window that does not exist.
LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// With the lock held (through the given guard, which is let go while procedures run): answers every message
// other threads have sent to this thread.
void DeliverSentMessages(std::unique_lock<std::mutex>& lock, MessageQueue& queue);

// Makes the top-level window the active one (null: none), with WM_ACTIVATE to the window losing and the
// window gaining activation, WM_ACTIVATEAPP to every top-level window when the application as a whole gains
// or loses it, and the keyboard focus following.
void ActivateWindow(HWND window);
void SetFocusWindow(HWND window);

// The picture shown for the child window's top-level window is to be shown again: the child's place, size
// or visibility changed what lies over it. Nothing for a top-level window or one that does not exist.
void MarkChildPictureChanged(HWND window);

// ShowWindow's work, after the window was checked.
BOOL ApplyShowCommand(HWND window, int command);

// Destroys the window, its children and the windows it owns (the owned ones first).
BOOL DestroyWindowTree(HWND window);

// FindWindowA and PostMessageA within this process only: what the other processes of the desktop ask for
// (platform/win32/windows/WindowExchange.h).
HWND FindLocalWindow(LPCSTR className, LPCSTR windowName);
BOOL PostToLocalWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// For DirectDraw. The client area's size; false for a window that does not exist.
bool ClientSizeOf(HWND window, SIZE& size);
// Whether the window exists and is a top-level one.
bool IsTopLevelWindow(HWND window);
// Posts the message to every top-level window of every thread, as a broadcast does.
void PostToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam);
// The top-level windows of every thread that are made and not being destroyed, in creation order.
std::vector<HWND> LiveTopLevelWindows();
// The emulated desktop mode (platform/video/VideoBackend.h).
video::DesktopMode CurrentDesktopMode();
// Whether the emulated display can be set to the depth.
bool DisplayAcceptsDepth(DWORD bitsPerPixel);

// With the lock held: the window rectangle in screen coordinates.
RECT WindowRectOnScreen(WindowSystem& system, const WindowObject& window);
// With the lock held: the top-level window under a screen point (see WindowFromPoint), null over none.
WindowObject* TopLevelWindowAt(WindowSystem& system, POINT point);
// With the lock held: the live window that holds the mouse capture, or null.
WindowObject* CaptureHolder(WindowSystem& system);
// Gives the capture to the window (null: to none) and sends WM_CAPTURECHANGED to the window that loses it;
// the previous holder. False for a window that does not exist.
bool ChangeCapture(HWND window, HWND& previous);

} // namespace win32
