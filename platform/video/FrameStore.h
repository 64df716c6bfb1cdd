// The pictures of the windows: what Present gave each window, waiting to be shown by the backend or read by
// the testing API. Internal to the platform layer.
//
// Its own lock guards it; it never takes the window system's lock, so Present works from any thread, and the
// window system may call Forget with its lock held.
#pragma once

#include "platform/video/Frame.h"
#include "platform/win32/Types.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace video {

// What a window shows that changed since it was last taken: the part of its picture (overlays composed over
// it) inside area, and the size and mode of the whole picture.
struct ChangedPicture {
    win32::HWND window = nullptr;
    win32::RECT area{};
    Frame part;
    int width = 0;
    int height = 0;
    bool fullscreen = false;
};

class FrameStore {
public:
    static FrameStore& Instance();

    // A new window, which can be given pictures from now on; pictures for windows that were never opened, or
    // are gone, are dropped.
    void Open(win32::HWND window);
    // A copy that leaves every pixel as it was changes nothing, and nothing has to be shown again for it.
    void Update(win32::HWND window, const PixelSource& source, const win32::RECT& changed, bool fullscreen);
    void EndFullscreen(win32::HWND window);
    // The window is gone: its picture goes with it.
    void Forget(win32::HWND window);
    // The window's picture has to be shown again (the host uncovered it).
    void MarkChanged(win32::HWND window);

    // The parts of the pictures changed since they were last taken, each with the window's overlays composed
    // over it. A change of any overlay changes the whole of every picture.
    std::vector<ChangedPicture> TakeChanged();
    // What the window shows now, overlays composed; none when nothing was presented for it.
    std::optional<Frame> Shown(win32::HWND window);

private:
    struct Entry {
        Frame picture;
        bool presented = false;
        // What has to be shown again; empty when nothing has.
        win32::RECT changed{};
        // The overlays' version when the picture was last taken.
        std::uint64_t overlaysTaken = 0;
    };

    static void MarkWhole(Entry& entry);

    FrameStore() = default;

    std::mutex m_lock;
    std::map<win32::HWND, Entry> m_entries;
    // The pixels an update is about to replace, to tell whether it changed them.
    std::vector<std::uint32_t> m_before;
};

// A windowed picture as a client area of that size shows it: from its top-left corner, cut to the client
// area, black where the picture does not reach.
Frame InClientArea(const Frame& picture, win32::SIZE client);

} // namespace video
