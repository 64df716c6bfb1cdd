// What a viewport is opened with: the window (title, position, size, style) or the full-screen mode, the
// depth and colour tag of its buffers, how they are presented, and how many back buffers it has. The viewport
// has backBufferCount + 1 buffers, buffer 0 being the front.
#pragma once

#include "foundation/Rect.h"
#include "foundation/String.h"

#include <cstdint>

namespace Vemo {

class Viewport;
class ViewportHandle;

struct ViewportDescription {
    String title;
    Point position;
    // Whether position is that of the client area rather than of the outer window.
    bool positionIsClient = false;
    Size size;
    // Whether size is that of the client area rather than of the outer window.
    bool sizeIsClient = true;
    // A full-screen display mode instead of a window.
    bool fullscreen = false;
    // An overlapped window with a border rather than a pop-up window.
    bool bordered = true;
    bool caption = true;
    bool sizingFrame = false;
    // Depth code 1 to 7; 0 takes the display's.
    std::uint32_t depth = 0;
    // 1 (RGB), the only tag a viewport accepts; 0 takes the display's.
    std::uint32_t colorTag = 1;
    // 1 manual, 2 copy, 3 flip: how the handle's periodic work presents the first back buffer.
    std::uint32_t presentMode = 1;
    std::uint32_t backBufferCount = 0;
    // As a request: a flipping chain is required. On an open handle: flipping is available.
    bool flip = true;
    bool waitForVerticalBlank = true;

    ViewportDescription(const String& title, const Point& position, bool positionIsClient, const Size& size,
                        bool sizeIsClient, bool fullscreen, bool bordered, bool caption, bool sizingFrame,
                        std::uint32_t depth, std::uint32_t colorTag, std::uint32_t presentMode,
                        std::uint32_t backBufferCount, bool flip, bool waitForVerticalBlank);
    ViewportDescription(const ViewportDescription& other) = default;
    ViewportDescription& operator=(const ViewportDescription& other) = default;
    // The handle's current description.
    explicit ViewportDescription(ViewportHandle& handle);
    // An open viewport's description; for a closed one the defaults (a bordered window with a caption and no
    // sizing frame, client size, depth and position 0, colour tag 1, manual presentation, no back buffer,
    // flip and vertical-blank waits asked for), without an error report.
    explicit ViewportDescription(Viewport& viewport);

    // The titles byte for byte and every other field.
    bool operator==(const ViewportDescription& other) const;
};

} // namespace Vemo
