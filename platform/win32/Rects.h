// Arithmetic on rectangles, whose right and bottom edges lie outside them. Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

#include <algorithm>

namespace win32 {

inline bool IsEmptyRect(const RECT& rect) {
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

inline RECT IntersectRects(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

inline bool RectContains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

// The smallest rectangle holding both; both are to be non-empty.
inline RECT UnionRects(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

} // namespace win32
