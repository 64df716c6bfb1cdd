// A port movies draw into: a graphics world over caller memory, or a window's port. Internal to the layer;
// under the layer's lock.
#pragma once

#include "platform/quicktime/Types.h"

#include <cstdint>
#include <vector>

namespace qt {

struct GrafPortRecord {
    enum class Kind { World, Window };

    explicit GrafPortRecord(Kind kind);
    ~GrafPortRecord();
    GrafPortRecord(const GrafPortRecord&) = delete;
    GrafPortRecord& operator=(const GrafPortRecord&) = delete;

    Kind kind;

    // A world: its pixels, the colour table of an indexed format, and whether its pixels are locked.
    PixMap pixMap{};
    PixMapPtr pixMapPointer = &pixMap;
    ColorTable colors{};
    bool locked = false;
    // The nearest colour-table entry of each 15-bit colour, made on first use.
    std::vector<std::uint8_t> nearest;

    // A window's port, and how many associations hold it.
    win32::HWND window = nullptr;
    int associations = 0;

    PixMapHandle PixMapHandleOf() { return &pixMapPointer; }
};

// The table an indexed world gets without one of its own: black and white; four greys; the sixteen standard
// colours; a 6x6x6 colour cube followed by 40 greys.
ColorTable StandardColorTable(int depth);

} // namespace qt
