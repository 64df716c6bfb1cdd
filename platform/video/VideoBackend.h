// What the window system asks of a video backend: real windows behind its top-level windows, and their
// events; and what DirectDraw asks of the video layer: presenting a window's picture and the vertical blank.
// Internal to the platform layer.
//
// The window system calls the window operations with its lock held; a backend must not call back into the
// window system from them. PumpEvents is called without the lock and hands the host's events to
// platform/win32/input/HostEvents.h.
//
// The emulated desktop mode. The desktop that windows are measured against is the backend's DesktopSize
// (headless: 1920x1080 unless a test sets another; SDL2: the host's desktop), and its pixel layout is
// DesktopBitsPerPixel: 32 (x-R-G-B, masks 0xFF0000, 0xFF00, 0xFF) unless a test sets 16 (R-G-B 5-6-5, masks
// 0xF800, 0x7E0, 0x1F) or 8 (palette indexes, no masks). It is the display mode that DirectDraw reports while
// no program has set one, and the format of every windowed primary surface. The display can be made to
// refuse depths: DirectDraw then neither lists nor sets a display mode of a refused depth.
//
// The fixed system palette (FixedSystemPalette in platform/video/FrameConversion.h) gives the colours of
// 8-bit surfaces: no DirectDraw palette exists here, so an 8-bit primary is shown through it.
#pragma once

#include "platform/video/Frame.h"
#include "platform/win32/Types.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace video {

struct NativeWindowSpec {
    const char* title = "";
    // The client area in screen coordinates; the host draws its own frame around it.
    win32::RECT client{};
    win32::DWORD style = 0;
    win32::DWORD exStyle = 0;
};

enum class NativeShow { Hidden, Shown, Minimized, Maximized };

// A message box to show (platform/win32/windows/Window.h MessageBoxA).
struct MessageBoxSpec {
    // The top-level window of the box's owner, or null.
    win32::HWND owner = nullptr;
    std::string text;
    std::string caption;
    // MB_OK or MB_OKCANCEL.
    win32::UINT buttons = 0;
    // The whole type MessageBoxA was given.
    win32::UINT type = 0;
};

// The emulated desktop mode (above): its size and pixel layout.
struct DesktopMode {
    win32::SIZE size{};
    int bitsPerPixel = 32;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
};

class VideoBackend {
public:
    virtual ~VideoBackend();

    virtual const char* Name() const = 0;

    // Whether this thread may make real windows and read their events (SDL keeps to the thread that started
    // it); windows made on other threads are kept without a real window.
    virtual bool OwnsCurrentThread() const = 0;
    virtual bool CreateNative(win32::HWND window, const NativeWindowSpec& spec) = 0;
    virtual void DestroyNative(win32::HWND window) = 0;
    virtual void ShowNative(win32::HWND window, NativeShow show) = 0;
    virtual void SetNativeTitle(win32::HWND window, const char* title) = 0;
    virtual void RaiseNative(win32::HWND window) = 0;

    // Reads the host's pending events and turns them into window messages. Without the lock.
    virtual void PumpEvents() = 0;
    // How the thread that pumps sleeps until the host has events for it. EventDescriptor becomes readable
    // when the host has more (-1: none is known). Before it sleeps, EventsPending tells whether the host
    // already holds events the next pump takes (read from its connection meanwhile, where the descriptor no
    // longer shows them); it also sends what the host was asked for meanwhile. With the lock held.
    virtual int EventDescriptor() const { return -1; }
    virtual bool EventsPending() { return false; }
    // Without a descriptor, the host's events can still come: a thread waiting for messages then wakes now
    // and then to pump.
    virtual bool NeedsPolling() const = 0;

    virtual win32::SIZE DesktopSize() const = 0;
    DesktopMode Desktop() const;
    // 8, 16 or 32; false (and unchanged) for any other depth.
    bool SetDesktopBitsPerPixel(int bitsPerPixel);
    // Whether the display can be set to a depth (in bits per pixel), and making it refuse or accept one.
    bool AcceptsDepth(int bitsPerPixel) const;
    void RefuseDepth(int bitsPerPixel, bool refuse);

    // The program moved or sized a window (the client area in screen coordinates), or changed its styles.
    virtual void MoveNative(win32::HWND window, const win32::RECT& client) = 0;
    virtual void RestyleNative(win32::HWND window, const NativeWindowSpec& spec) = 0;
    // The window took the mouse capture (the host's mouse events reach it wherever the pointer goes), or
    // none holds it any more (null).
    virtual void CaptureNative(win32::HWND window) = 0;

    // For the testing API, without the lock: the picture the window shows, as the backend has it (headless:
    // as presented; SDL2: read back from the real window); none when it shows none.
    virtual std::optional<Frame> ReadShown(win32::HWND window) = 0;

    // Without the lock: shows the box until it is answered and returns the answer (IDOK or IDCANCEL), or 0
    // when the host cannot show it, with why in failure.
    virtual int ShowMessageBox(const MessageBoxSpec& box, std::string& failure) = 0;
    // With the lock held: whether the host's pointer shows over the program's windows.
    virtual void ShowPointer(bool shown) = 0;

private:
    int m_desktopBitsPerPixel = 32;
    std::set<int> m_refusedDepths;
};

// The backend the settings ask for: headless when asked for (HeadlessVideoAsked), else SDL2 on a display the
// player sees. Without SDL_VIDEODRIVER naming one of SDL's drivers, SDL may only open an X (DISPLAY) or
// Wayland (WAYLAND_DISPLAY) display, never fall back to a driver whose windows nobody sees. When SDL does not
// start, failure says why in one line (SDL's words where it has them, and that VEMO_VIDEO=headless runs
// without a window), and the backend makes no real window.
struct VideoChoice {
    std::unique_ptr<VideoBackend> backend;
    std::string failure;
};
VideoChoice ChooseVideoBackend();
// ChooseVideoBackend's backend, its failure said on the standard error.
std::unique_ptr<VideoBackend> MakeVideoBackend();

// Whether headless video is asked for: VEMO_VIDEO=headless, or a scripted run. Nothing else makes a run
// headless: no display is a failure to say, not a reason to run unseen.
bool HeadlessVideoAsked();

// Presentation. What a window shows is the picture last presented for it: the pixels of its primary surface,
// with the window's overlays (movie ports, child windows) composed over them when it is shown. Headless keeps
// the picture for the testing API to read; SDL2 shows it at the next pump of the host's events on its thread.
// A windowed picture is shown at the client area's top-left corner, one pixel a pixel, cut to the client
// area; a full-screen picture makes the window a borderless full-screen window scaled to the desktop (the
// host's display mode never changes).
//
// Callable from any thread; never takes the window system's lock.
//
// The window shows source from now on; only `changed` (in source coordinates) has to be read again when the
// source has the size of the picture the window showed before. Sources are 8-bit (through the fixed system
// palette), 16, 24 or 32 bits a pixel.
void Present(win32::HWND window, const PixelSource& source, const win32::RECT& changed, bool fullscreen);
// The window is no longer shown full screen (its program left the exclusive level); it keeps its picture.
void EndFullscreen(win32::HWND window);

// The vertical blank. On SDL2 with a renderer that waits for the display's blank when it presents, that wait
// is the blank: the calls below answer at once (in the blank). Otherwise the display refreshes at 60 Hz on
// the platform clock (platform/win32/kernel/Time.h): the k-th blank starts at k x 1000/60 ms rounded up to
// the next whole millisecond and lasts 1 ms. The waits sleep on the platform clock as Sleep does: on the
// thread that drives a test's fake clock they move it to the moment waited for.
enum class BlankWait {
    // Until the next blank starts.
    Begin,
    // Until the current blank ends, or the next one when the display is not in one.
    End,
};
void WaitForVerticalBlank(BlankWait wait);
bool InVerticalBlank();
// Set by a backend whose presents wait for the display's blank, cleared when it has none left that do.
void SetPresentsWaitForBlank(bool wait);
// How many times the calling thread has waited for a blank, by the calls above or by a present that waits for
// the display's; the run loop tells by its own count whether a step was paced by the display (the busy
// cursor's thread waits for blanks of its own). NoteBlankWaited counts one for the calling thread.
std::uint64_t BlanksWaited();
void NoteBlankWaited();
// When the next blank starts on the platform clock, in its nanoseconds, seen at now.
std::uint64_t NextBlankNanoseconds(std::uint64_t now);

} // namespace video
