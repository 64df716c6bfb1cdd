#include "engines/graphics/directx/MyViewportDisplayModes.h"

#include "engines/graphics/PixelFormat.h"

namespace Vemo {

MyViewportDisplayModes::MyViewportDisplayModes(const Size& size, DepthCode depth, std::uint32_t colorTag)
    : m_size(size), m_depth(depth), m_colorTag(colorTag) {}

MyViewportDisplayModes::~MyViewportDisplayModes() = default;

bool MyViewportDisplayModes::OnMode(const Size& size, const PixelFormat& format, std::uint32_t,
                                    std::uint32_t colorTag) {
    if (size.width == m_size.width && size.height == m_size.height && format.depth == m_depth &&
        colorTag == m_colorTag) {
        m_found = true;
        return false;
    }
    return true;
}

} // namespace Vemo
