// Positions, sizes and rectangles in screen coordinates. A Rect's right and bottom edges are exclusive: it
// holds the pixels left <= x < right, top <= y < bottom, and is empty unless left < right and top < bottom.
#pragma once

#include <algorithm>
#include <cstdint>

namespace Vemo {

// The sum wrapping at 32 bits, as screen arithmetic always has.
inline std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

inline std::int32_t WrappingSubtract(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    Point() = default;
    Point(std::int32_t px, std::int32_t py) : x(px), y(py) {}

    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;

    Size() = default;
    Size(std::int32_t w, std::int32_t h) : width(w), height(h) {}
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    Rect() = default;
    Rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
        : left(l), top(t), right(r), bottom(b) {}
    // The far edges wrap at 32 bits, as screen arithmetic always has.
    Rect(const Point& origin, const Size& size)
        : left(origin.x), top(origin.y), right(WrappingAdd(origin.x, size.width)),
          bottom(WrappingAdd(origin.y, size.height)) {}

    void Set(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }

    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }

    bool IsEmpty() const { return left >= right || top >= bottom; }

    // The rectangle shifted by (dx, dy), its edges wrapping at 32 bits.
    Rect Moved(std::int32_t dx, std::int32_t dy) const {
        return Rect(WrappingAdd(left, dx), WrappingAdd(top, dy), WrappingAdd(right, dx),
                    WrappingAdd(bottom, dy));
    }

    // The common part, possibly empty; an empty result keeps whatever edges the clipping gave.
    void Intersect(Rect& out, const Rect& other) const {
        out = Rect(std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                   std::min(bottom, other.bottom));
    }

    // Grows to cover other as well; an empty other still moves the edges.
    void Union(const Rect& other) {
        left = std::min(left, other.left);
        top = std::min(top, other.top);
        right = std::max(right, other.right);
        bottom = std::max(bottom, other.bottom);
    }
};

} // namespace Vemo
