// The pictures of the windows: what Present gave each window, waiting to be shown by the backend or read by
// the testing API. Internal to the platform layer.
//
// Its own lock guards it; it never takes the window system's lock, so Present works from any thread, and the
// window system may call Forget with its lock held.
#pragma once

#include "platform/video/Frame.h"
#include "platform/win32/Types.h"

#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace video {

class FrameStore {
public:
    static FrameStore& Instance();

    // A new window, which can be given pictures from now on; pictures for windows that were never opened, or
    // are gone, are dropped.
    void Open(win32::HWND window);
    void Update(win32::HWND window, const PixelSource& source, const win32::RECT& changed, bool fullscreen);
    void EndFullscreen(win32::HWND window);
    // The window is gone: its picture goes with it.
    void Forget(win32::HWND window);
    // The window's picture has to be shown again (the host uncovered it).
    void MarkChanged(win32::HWND window);

    // The pictures changed since they were last taken, each with the window's overlays composed over it.
    std::vector<std::pair<win32::HWND, Frame>> TakeChanged();
    // What the window shows now, overlays composed; none when nothing was presented for it.
    std::optional<Frame> Shown(win32::HWND window);

private:
    struct Entry {
        Frame picture;
        bool presented = false;
        bool changed = false;
    };

    FrameStore() = default;

    std::mutex m_lock;
    std::map<win32::HWND, Entry> m_entries;
};

// A windowed picture as a client area of that size shows it: from its top-left corner, cut to the client
// area, black where the picture does not reach.
Frame InClientArea(const Frame& picture, win32::SIZE client);

} // namespace video
