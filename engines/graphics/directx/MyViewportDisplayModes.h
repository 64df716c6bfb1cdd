// The display-mode visitor by which a full-screen viewport checks that the mode it wants exists: it stops at
// the first mode of the wanted size, depth and colour tag.
#pragma once

#include "engines/graphics/DepthCode.h"
#include "engines/graphics/ViewportDisplayModes.h"

#include <cstdint>

namespace Vemo {

class MyViewportDisplayModes : public ViewportDisplayModes {
public:
    MyViewportDisplayModes(const Size& size, DepthCode depth, std::uint32_t colorTag);
    ~MyViewportDisplayModes() override;

    // False (stop) for the wanted mode, which is then found; true for any other.
    bool OnMode(const Size& size, const PixelFormat& format, std::uint32_t refreshRate,
                std::uint32_t colorTag) override;

    bool IsFound() const { return m_found; }

private:
    Size m_size;
    DepthCode m_depth;
    std::uint32_t m_colorTag;
    bool m_found = false;
};

} // namespace Vemo
