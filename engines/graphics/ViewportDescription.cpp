#include "engines/graphics/ViewportDescription.h"

#include "engines/graphics/Viewport.h"
#include "engines/graphics/ViewportHandle.h"

#include <cstring>

namespace Vemo {

ViewportDescription::ViewportDescription(const String& title, const Point& position, bool positionIsClient,
                                         const Size& size, bool sizeIsClient, bool fullscreen, bool bordered,
                                         bool caption, bool sizingFrame, std::uint32_t depth,
                                         std::uint32_t colorTag, std::uint32_t presentMode,
                                         std::uint32_t backBufferCount, bool flip, bool waitForVerticalBlank)
    : title(title), position(position), positionIsClient(positionIsClient), size(size),
      sizeIsClient(sizeIsClient), fullscreen(fullscreen), bordered(bordered), caption(caption),
      sizingFrame(sizingFrame), depth(depth), colorTag(colorTag), presentMode(presentMode),
      backBufferCount(backBufferCount), flip(flip), waitForVerticalBlank(waitForVerticalBlank) {}

ViewportDescription::ViewportDescription(ViewportHandle& handle)
    : ViewportDescription(*handle.GetDescription()) {}

ViewportDescription::ViewportDescription(Viewport& viewport) {
    // A closed viewport has nothing to describe; asking its handle-less forwarder would report an error.
    if (!viewport.IsOpen()) {
        return;
    }
    if (const ViewportDescription* current = viewport.GetDescription()) {
        *this = *current;
    }
}

bool ViewportDescription::operator==(const ViewportDescription& other) const {
    return title.Length() == other.title.Length() &&
           std::memcmp(title.CStr(), other.title.CStr(), title.Length()) == 0 && position == other.position &&
           positionIsClient == other.positionIsClient && size.width == other.size.width &&
           size.height == other.size.height && sizeIsClient == other.sizeIsClient &&
           fullscreen == other.fullscreen && bordered == other.bordered && caption == other.caption &&
           sizingFrame == other.sizingFrame && depth == other.depth && colorTag == other.colorTag &&
           presentMode == other.presentMode && backBufferCount == other.backBufferCount &&
           flip == other.flip && waitForVerticalBlank == other.waitForVerticalBlank;
}

} // namespace Vemo
