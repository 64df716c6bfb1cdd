// Pictures that producers other than the window's own drawing put on top of what a window shows: a movie
// playing in a window's port, a movie controller's bar. Internal to the platform layer.
//
// The registry is process-wide and thread-safe. A producer adds an overlay for a window, keeps its pixels
// (32-bit x-R-G-B, the top byte ignored) and changes them only while it holds OverlayLock, and removes the
// overlay when it stops drawing. The present path composes a window's overlays onto the frame it presents,
// after the window's own picture: higher order on top, equal orders in the order they were added.
//
// Lock order: a producer may take OverlayLock while it holds its own lock; the present path takes it with no
// other platform lock held.
#pragma once

#include "platform/win32/Types.h"

#include <cstddef>
#include <cstdint>
#include <mutex>

namespace video {

struct Overlay {
    win32::HWND window = nullptr;
    // Where the picture goes, in the window's client coordinates (right and bottom exclusive). A picture of
    // another size is scaled to it (nearest pixel).
    win32::RECT dest{};
    int width = 0;
    int height = 0;
    std::ptrdiff_t pitch = 0; // bytes from one row to the next
    const std::uint32_t* pixels = nullptr;
    std::int32_t order = 0;
};

using OverlayId = std::uint64_t;

// Held while a producer writes the pixels of an overlay or the present path reads them.
std::unique_lock<std::mutex> OverlayLock();

// 0 for an overlay without a window or pixels.
OverlayId AddOverlay(const Overlay& overlay);
// Replaces what an overlay shows; false for an id that is not registered.
bool UpdateOverlay(OverlayId id, const Overlay& overlay);
void RemoveOverlay(OverlayId id);

// A 32-bit x-R-G-B frame the present path composes onto. The window's client point (0, 0) lies at origin of
// the frame; nothing is written outside clip (frame coordinates, clipped to the frame itself).
struct OverlayFrame {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t pitch = 0; // bytes
    win32::POINT origin{};
    win32::RECT clip{0, 0, INT32_MAX, INT32_MAX};
};

// Moves on whenever an overlay is added, changed or removed, so that the present path can tell that what
// windows show with their overlays has changed.
std::uint64_t OverlaysVersion();

// Draws the window's overlays onto the frame; returns how many it drew.
int ComposeOverlays(win32::HWND window, const OverlayFrame& frame);

// Draws the overlays of a top-level window and of its visible child windows, each at its child's place and
// clipped to it, onto a frame of the top-level window's client area. A child window whose class has a solid
// background brush shows that colour under its overlays: its own picture, over its parent's. Call without
// the window system's lock.
int ComposeWindowOverlays(win32::HWND topLevel, const OverlayFrame& frame);

// The overlays a window has, for tests and diagnostics.
std::size_t OverlayCount(win32::HWND window);

} // namespace video
