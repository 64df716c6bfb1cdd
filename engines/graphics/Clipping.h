// The clipping that drawing does before it touches a pixel, shared by the graphic handles and the Graphic
// front-end. Rectangles have exclusive right and bottom edges.
//
// Each function answers false when nothing is left to draw, its arguments then left in some clipped state.
// None divides by an extent of 0 or below, and the arithmetic is wide enough for any 32-bit coordinates; a
// coordinate that would leave 32 bits is stored saturated, which happens only on the way to an empty result.
#pragma once

#include "foundation/Rect.h"

namespace Vemo {

// Cuts the segment to the box's pixels (left to right - 1, top to bottom - 1) by outcodes: the first end,
// then the second, moves to the edges it lies beyond until it lies in the box. Towards a left or right edge y
// gains (2 dy d + 1) / (2 dx), towards a top or bottom edge x gains (2 dx d + 1) / (2 dy), where d is the
// signed distance to the edge and dx, dy the second end minus the first before any move (division truncating
// toward zero). False when both ends lie beyond one edge, before or after a move, and for an empty box.
bool ClipLineToBox(Point& from, Point& to, const Rect& box);

// Unscaled blit, source side: a negative left or top of the source moves the destination point on by as much
// and becomes 0; right and bottom are cut to the size.
bool ClipBlitToSize(Point& destination, Rect& source, const Size& size);
// Unscaled blit, destination side: a destination point left of or above the clip rectangle moves the
// source's left or top on by the difference; a source reaching past the clip's right or bottom edge from the
// destination point is cut by the excess.
bool ClipBlitToRect(Point& destination, Rect& source, const Rect& clip);

// Scaled blit, source side: the source is cut to (0, 0, width, height) edge by edge (left, top, right,
// bottom); each cut moves the destination's matching edge by the cut times the destination's extent divided
// by the source's, the extents as they stand before that cut (truncating toward zero). False as soon as
// either rectangle is empty, as given or after a cut.
bool ClipScaledBlitToSize(Rect& destination, Rect& source, const Size& size);
// Scaled blit, destination side: the destination cut to the clip rectangle in the same way, each cut carried
// over to the source in proportion.
bool ClipScaledBlitToRect(Rect& destination, Rect& source, const Rect& clip);

} // namespace Vemo
