// The visitor of a display-mode enumeration: called once per mode the display offers, until it answers false.
#pragma once

#include "foundation/Rect.h"

#include <cstdint>

namespace Vemo {

struct PixelFormat;

class ViewportDisplayModes {
public:
    virtual ~ViewportDisplayModes();
    // One mode: its size, pixel format, refresh rate (as the display reports it) and colour tag. True to go
    // on with the next mode; the base stops at once.
    virtual bool OnMode(const Size& size, const PixelFormat& format, std::uint32_t refreshRate,
                        std::uint32_t colorTag);
};

} // namespace Vemo
