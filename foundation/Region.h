// An area of the screen as a set of rectangles. Normal form, kept by every operation: each member is
// non-empty and no two members overlap, so no two share a top-left corner and the members, ordered by top
// then left, form a set.
#pragma once

#include "foundation/Rect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Vemo {

class Region {
public:
    // Top to bottom, then left to right within one top.
    struct RectLess {
        bool operator()(const Rect& a, const Rect& b) const {
            return a.top < b.top || (a.top == b.top && a.left < b.left);
        }
    };
    // The members in RectLess order. A sorted array rather than a tree: whole operations rebuild it in one
    // pass, and walks over it touch contiguous memory.
    using Rects = std::vector<Rect>;
    using ConstIterator = Rects::const_iterator;

    // Adds the parts of r not yet covered. An empty r adds nothing.
    void AddRect(const Rect& r);
    // Replaces every member that meets r by its parts outside r. An empty r removes nothing.
    void SubtractRect(const Rect& r);
    // This region joined with other, then coalesced: the exact union, each member a maximal run of covered
    // pixels in every row it spans, rows with the same run stacked into one member. Always returns true.
    bool Add(const Region& other);
    // This region less other, coalesced as by Add. Always returns true.
    bool Subtract(const Region& other);
    // The members clipped to r, empty clips dropped; this region is left as it is.
    Region Intersect(const Rect& r) const;
    // Rejoins neighbouring members until no merge applies. A side-by-side merge may grow the region within
    // the pair's bounds (a redraw area may grow), but never onto another member. Always returns true.
    bool Coalesce();

    std::size_t Size() const { return m_rects.size(); }
    bool Empty() const { return m_rects.empty(); }
    ConstIterator Begin() const { return m_rects.begin(); }
    ConstIterator End() const { return m_rects.end(); }
    ConstIterator begin() const { return m_rects.begin(); }
    ConstIterator end() const { return m_rects.end(); }
    // The member at index in walking order, null past the end.
    const Rect* At(std::size_t index) const;
    // Removes the member at index in walking order; nothing past the end.
    void EraseAt(std::size_t index);
    // The smallest rectangle holding every member; {0, 0, 0, 0} for an empty region.
    Rect Bounds() const;

private:
    void AddFrom(const Rect& r, std::size_t start);
    std::size_t FirstThatMayMeet(const Rect& r, std::size_t from) const;
    void Insert(const Rect& r);
    // Recomputes m_tallest after the members were replaced as a whole.
    void Replaced();

    Rects m_rects;
    // At least the height of every member (never less; it may stay above after members go).
    std::int64_t m_tallest = 0;
};

} // namespace Vemo
