#include "engines/graphics/ViewportDisplayModes.h"

namespace Vemo {

ViewportDisplayModes::~ViewportDisplayModes() = default;

bool ViewportDisplayModes::OnMode(const Size&, const PixelFormat&, std::uint32_t, std::uint32_t) {
    return false;
}

} // namespace Vemo
