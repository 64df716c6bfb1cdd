// Test-only access to the window system: the video backend, input as a user would give it, the host's window
// events, and what the window system holds (queued messages, geometry, activation).
#pragma once

#include "platform/win32/windows/Window.h"

#include <cstdint>
#include <string>
#include <vector>

namespace win32::testing {

enum class VideoBackendKind { Headless, Sdl };

// Replaces the video backend; no window may be alive. Sdl starts SDL (set SDL_VIDEODRIVER first to choose
// its driver) and returns false when it cannot.
bool UseVideoBackend(VideoBackendKind kind);
// The emulated desktop mode (platform/video/VideoBackend.h): the size that default and maximised windows
// are measured against (headless only; SDL2 keeps the host's) and its depth, 32 (x-R-G-B), 16 (R-G-B 5-6-5)
// or 8 (palette indexes), under either backend. False, and the depth unchanged, for another depth. Replacing
// the video backend brings back 1920x1080 at 32 bits.
bool SetDesktopSize(int width, int height, int bitsPerPixel = 32);
// The display refuses (or accepts again) a depth in bits per pixel: DirectDraw neither lists nor sets a
// display mode of it. Replacing the video backend makes it accept every depth again.
void RefuseDisplayDepth(int bitsPerPixel, bool refuse = true);
std::size_t LiveWindowCount();

enum class MouseButton { Left, Right, Middle };

// Mouse input over a top-level window, at a point in its client area (the deepest child under it gets it).
void MoveMouse(HWND topLevel, int x, int y);
void PressMouse(HWND topLevel, MouseButton button, int x, int y, int clickCount = 1);
void ReleaseMouse(HWND topLevel, MouseButton button, int x, int y);
// A press and a release; a second click within the double-click time is clickCount 2.
void Click(HWND topLevel, MouseButton button, int x, int y, int clickCount = 1);

// The wheel turned by a number of notches (forward positive), with the cursor where it is.
void TurnMouseWheel(HWND topLevel, int notches);

// The pointer moved to a point of the emulated screen, over a window or outside every window: the window
// holding the capture, else the window under it (WindowFromPoint), is told.
void MovePointerTo(int screenX, int screenY);
// The system takes the mouse capture away (as another program taking it does): its holder is sent
// WM_CAPTURECHANGED, and no window holds it any more.
void TakeCaptureAway();

// Keys by virtual key (VK_LSHIFT and the like name one of a pair); they go to the focus window, else the
// active window, else topLevel.
void PressKey(BYTE virtualKey, HWND topLevel = nullptr, bool repeat = false);
void ReleaseKey(BYTE virtualKey, HWND topLevel = nullptr);
void TypeKey(BYTE virtualKey, HWND topLevel = nullptr);
// Releases every key and button still held and puts the cursor off every window, so that a test leaves no
// input state behind.
void ReleaseAllInput();

// What the host does to a top-level window: the user moves, sizes, minimises, maximises, restores, focuses,
// closes or uncovers it.
void HostMoves(HWND topLevel, int clientX, int clientY);
void HostResizes(HWND topLevel, int clientWidth, int clientHeight);
void HostMinimizes(HWND topLevel);
void HostMaximizes(HWND topLevel);
void HostRestores(HWND topLevel);
void HostFocuses(HWND topLevel);
void HostUnfocuses(HWND topLevel);
void HostCloses(HWND topLevel);
void HostExposes(HWND topLevel);

// The power events the system sends to every top-level window, and its reading of their answers: PWR_FAIL
// when a window answered WM_POWER with it (else PWR_OK), BROADCAST_QUERY_DENY when a window answered
// WM_POWERBROADCAST with it (else TRUE).
LRESULT SendPower(WPARAM event);
LRESULT SendPowerBroadcast(WPARAM event, LPARAM data);
// How many requests for the window menu (WM_SYSCOMMAND with SC_KEYMENU) reached DefWindowProcA so far.
std::size_t WindowMenuRequests();

// The messages posted to the calling thread's queue and not yet taken, in the order they will be taken (input
// after posted messages); WM_QUIT and WM_PAINT are made when asked for and are not listed.
std::vector<MSG> QueuedMessages();
bool QuitPending();

struct WindowState {
    bool exists = false;
    std::string text;
    std::string className;
    RECT rect{};       // screen coordinates
    RECT clientRect{}; // screen coordinates
    bool visible = false;
    bool minimized = false;
    bool maximized = false;
    bool needsPaint = false;
    bool isDialog = false;
    bool hasNativeWindow = false;
    HWND parent = nullptr;
    DWORD style = 0; // WS_VISIBLE is not kept here: see visible
    DWORD exStyle = 0;
};

WindowState GetWindowState(HWND window);
HWND ActiveWindow();
HWND FocusWindow();
// The key state of the calling thread's queue as of the last input message taken: bit 7 down, bit 0 toggled.
BYTE QueueKeyState(BYTE virtualKey);

// The SDL window id behind a window (0 when it has none); under the SDL backend only.
std::uint32_t SdlWindowId(HWND window);
// The SDL backend under SDL's dummy video driver: real SDL windows and events without a display.
bool UseDummySdlBackend();
// A press and a release of the button put into SDL's own event queue, over the real window behind the
// top-level window at a point of its client area, as the host delivers a click; the next look at the message
// queue reads them. False when the window has no SDL window.
bool PushSdlClick(HWND topLevel, MouseButton button, int x, int y);
// The same for the mouse moving to a point of the client area, the wheel turning by notches (forward
// positive), and a key, named by its USB HID usage (SDL's scan code), going down or up.
bool PushSdlMouseMotion(HWND topLevel, int x, int y);
bool PushSdlWheel(HWND topLevel, int notches);
bool PushSdlKey(HWND topLevel, int usage, bool down);

} // namespace win32::testing
