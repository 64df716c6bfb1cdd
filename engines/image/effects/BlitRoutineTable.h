// The two format-pair tables of the blit effect, indexed by [source format number][destination format
// number], 20 x 20. Both are constant data, complete before the program starts. An empty entry (null), and
// every pair with a format number 19 or beyond, leaves the choice to the effect: the generic blit for a point
// blit, the refusing routine for a scaling one.
//
// Point blits: the generic blit for every pair of numbers 0 to 18, with routines of their own for 8-bit
// indexed sources (to 8-bit indexed, 16-, 24- and 32-bit destinations), between the 5-5-5 and 5-6-5 formats,
// and from both 24-bit formats to the 16-bit ones. Scaling blits: the refusing routine for every pair.
#pragma once

#include "engines/image/effects/BlitEffect.h"

#include <cstdint>

namespace Vemo {

class BlitRoutineTable {
public:
    static BlitEffect::Routine Find(std::uint32_t sourceFormat, std::uint32_t destinationFormat);
    static BlitEffect::Routine FindRectToRect(std::uint32_t sourceFormat, std::uint32_t destinationFormat);
};

} // namespace Vemo
