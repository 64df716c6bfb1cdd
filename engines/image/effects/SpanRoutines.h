// The span routine table: 128 routines indexed by depth code x 16 + raster operation. Row 0 (no depth)
// refuses (false, nothing touched); the NoOp column of rows 1 to 7 does nothing and answers true; every other
// entry is a routine of its own that clips the rows and spans, locks the surface, applies its operation to
// every pixel of every span and unlocks. On 1-, 2- and 4-bit surfaces every operation works on the pixel's
// own bits and keeps its neighbours in the byte.
//
// Rows: when the first row lies at or below the clip bottom, or every row above the clip top, nothing is
// locked and the answer is true; rows above the clip top are skipped with their spans, rows past the clip
// bottom dropped. A span is cut to the clip's columns. What is left of the rows, even none, is drawn under
// one lock; false only when the lock fails.
#pragma once

#include "engines/graphics/DepthCode.h"
#include "engines/image/effects/HorizontalPlottingEffect.h"

namespace Vemo {

// Null outside the table (depth code above 7, operation above 15).
HorizontalPlottingEffect::Routine FindSpanRoutine(DepthCode depth, RasterOp op);

} // namespace Vemo
