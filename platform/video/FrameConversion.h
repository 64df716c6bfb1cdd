// Surface pixels turned into the x-R-G-B pixels of a window's picture. Internal to the platform layer.
#pragma once

#include "platform/video/Frame.h"
#include "platform/win32/Types.h"

#include <array>
#include <cstdint>

namespace video {

// The colours of 8-bit surfaces, as x-R-G-B. Entries 0-9 and 246-255 are the twenty static colours of the
// Windows palette; 10-225 are a 6x6x6 colour cube (entry 10 + 36 r + 6 g + b, each step 0x33); 226-245 are a
// grey ramp from 12 to 242 (entry 226 + i is 255 (i + 1) / 21).
const std::array<std::uint32_t, 256>& FixedSystemPalette();

// Converts the area of source (cut to both) into the same place of frame, which has the source's size. A
// channel of n bits becomes 8 bits as round(value x 255 / (2^n - 1)).
void ConvertArea(const PixelSource& source, const win32::RECT& area, Frame& frame);

} // namespace video
