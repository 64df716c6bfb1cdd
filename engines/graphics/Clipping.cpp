#include "engines/graphics/Clipping.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace Vemo {

namespace {

using Wide = std::int64_t;

struct WideRect {
    Wide left;
    Wide top;
    Wide right;
    Wide bottom;

    explicit WideRect(const Rect& rect)
        : left(rect.left), top(rect.top), right(rect.right), bottom(rect.bottom) {}
    // (0, 0, width, height).
    explicit WideRect(const Size& size) : left(0), top(0), right(size.width), bottom(size.height) {}

    bool IsEmpty() const { return left >= right || top >= bottom; }
};

std::int32_t Saturate(Wide value) {
    return static_cast<std::int32_t>(std::clamp<Wide>(value, std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max()));
}

void Store(const WideRect& wide, Rect& rect) {
    rect.Set(Saturate(wide.left), Saturate(wide.top), Saturate(wide.right), Saturate(wide.bottom));
}

// What cutting moved off an extent cuts off the other rectangle's extent. Both extents are positive and below
// 2^32 and moved is below extent, so the product stays below 2^64.
Wide Proportion(Wide moved, Wide otherExtent, Wide extent) {
    return static_cast<Wide>(static_cast<std::uint64_t>(moved) * static_cast<std::uint64_t>(otherExtent) /
                             static_cast<std::uint64_t>(extent));
}

// Moves one edge of a rectangle to its limit when it lies beyond it (inward +1 for a left or top edge, -1 for
// a right or bottom one), and the other rectangle's matching edge inward in proportion. A cut that takes the
// whole extent leaves the rectangle empty and answers false; any smaller one leaves both rectangles
// non-empty.
bool CutEdge(Wide& edge, Wide limit, Wide extent, Wide& otherEdge, Wide otherExtent, Wide inward) {
    const Wide moved = (limit - edge) * inward;
    if (moved <= 0) {
        return true;
    }
    if (moved >= extent) {
        return false;
    }
    otherEdge += inward * Proportion(moved, otherExtent, extent);
    edge = limit;
    return true;
}

// Cuts `cut` to `limit` left, top, right, then bottom, moving `other` in proportion.
bool CutScaled(WideRect& cut, WideRect& other, const WideRect& limit) {
    return !cut.IsEmpty() && !other.IsEmpty() &&
           CutEdge(cut.left, limit.left, cut.right - cut.left, other.left, other.right - other.left, 1) &&
           CutEdge(cut.top, limit.top, cut.bottom - cut.top, other.top, other.bottom - other.top, 1) &&
           CutEdge(cut.right, limit.right, cut.right - cut.left, other.right, other.right - other.left, -1) &&
           CutEdge(cut.bottom, limit.bottom, cut.bottom - cut.top, other.bottom, other.bottom - other.top,
                   -1);
}

// The box's pixels as inclusive bounds.
struct Box {
    Wide left;
    Wide top;
    Wide right;
    Wide bottom;
};

enum : unsigned { kLeft = 1, kRight = 2, kAbove = 4, kBelow = 8 };

unsigned Outcode(Wide x, Wide y, const Box& box) {
    unsigned code = 0;
    if (x < box.left) {
        code |= kLeft;
    } else if (x > box.right) {
        code |= kRight;
    }
    if (y < box.top) {
        code |= kAbove;
    } else if (y > box.bottom) {
        code |= kBelow;
    }
    return code;
}

// (2 slope d + 1) / (2 run), truncating toward zero. The products of 32-bit distances need more than 64 bits.
Wide Gain(Wide slope, Wide d, Wide run) {
    const __int128 numerator = static_cast<__int128>(2) * slope * d + 1;
    return static_cast<Wide>(numerator / (static_cast<__int128>(2) * run));
}

struct WidePoint {
    Wide x;
    Wide y;
};

// Moves one end to the edges its code names until it lies in the box; false when the two ends come to share
// a side. In exact arithmetic an end needs two moves; rounding may add a few, and an end that still has not
// settled after kMaxMoves is rejected rather than chased for ever.
bool MoveIntoBox(WidePoint& end, unsigned& code, unsigned otherCode, Wide dx, Wide dy, const Box& box) {
    constexpr int kMaxMoves = 8;
    for (int moves = 0; code != 0; ++moves) {
        if (moves == kMaxMoves) {
            return false;
        }
        if ((code & (kLeft | kRight)) != 0) {
            const Wide edge = (code & kLeft) != 0 ? box.left : box.right;
            end.y += Gain(dy, edge - end.x, dx);
            end.x = edge;
        } else {
            const Wide edge = (code & kAbove) != 0 ? box.top : box.bottom;
            end.x += Gain(dx, edge - end.y, dy);
            end.y = edge;
        }
        code = Outcode(end.x, end.y, box);
        if ((code & otherCode) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

bool ClipLineToBox(Point& from, Point& to, const Rect& box) {
    if (box.IsEmpty()) {
        return false;
    }
    const Box pixels{box.left, box.top, Wide{box.right} - 1, Wide{box.bottom} - 1};
    WidePoint first{from.x, from.y};
    WidePoint second{to.x, to.y};
    unsigned firstCode = Outcode(first.x, first.y, pixels);
    unsigned secondCode = Outcode(second.x, second.y, pixels);
    if ((firstCode & secondCode) != 0) {
        return false;
    }
    const Wide dx = second.x - first.x;
    const Wide dy = second.y - first.y;
    if (!MoveIntoBox(first, firstCode, secondCode, dx, dy, pixels) ||
        !MoveIntoBox(second, secondCode, firstCode, dx, dy, pixels)) {
        return false;
    }
    // Both ends lie in the box now, so they fit 32 bits.
    from = Point(static_cast<std::int32_t>(first.x), static_cast<std::int32_t>(first.y));
    to = Point(static_cast<std::int32_t>(second.x), static_cast<std::int32_t>(second.y));
    return true;
}

bool ClipBlitToSize(Point& destination, Rect& source, const Size& size) {
    WideRect wide(source);
    Wide x = destination.x;
    Wide y = destination.y;
    if (wide.left < 0) {
        x -= wide.left;
        wide.left = 0;
    }
    if (wide.top < 0) {
        y -= wide.top;
        wide.top = 0;
    }
    wide.right = std::min<Wide>(wide.right, size.width);
    wide.bottom = std::min<Wide>(wide.bottom, size.height);
    destination = Point(Saturate(x), Saturate(y));
    Store(wide, source);
    return !wide.IsEmpty();
}

bool ClipBlitToRect(Point& destination, Rect& source, const Rect& clip) {
    WideRect wide(source);
    Wide x = destination.x;
    Wide y = destination.y;
    if (x < clip.left) {
        wide.left += clip.left - x;
        x = clip.left;
    }
    if (y < clip.top) {
        wide.top += clip.top - y;
        y = clip.top;
    }
    const Wide rightExcess = x + (wide.right - wide.left) - clip.right;
    if (rightExcess > 0) {
        wide.right -= rightExcess;
    }
    const Wide bottomExcess = y + (wide.bottom - wide.top) - clip.bottom;
    if (bottomExcess > 0) {
        wide.bottom -= bottomExcess;
    }
    destination = Point(Saturate(x), Saturate(y));
    Store(wide, source);
    return !wide.IsEmpty();
}

bool ClipScaledBlitToSize(Rect& destination, Rect& source, const Size& size) {
    WideRect wideDestination(destination);
    WideRect wideSource(source);
    const bool visible = CutScaled(wideSource, wideDestination, WideRect(size));
    Store(wideDestination, destination);
    Store(wideSource, source);
    return visible;
}

bool ClipScaledBlitToRect(Rect& destination, Rect& source, const Rect& clip) {
    WideRect wideDestination(destination);
    WideRect wideSource(source);
    const bool visible = CutScaled(wideDestination, wideSource, WideRect(clip));
    Store(wideDestination, destination);
    Store(wideSource, source);
    return visible;
}

} // namespace Vemo
