// An area of the screen as a set of rectangles. Normal form, kept by every operation: each member is
// non-empty and no two members overlap, so no two share a top-left corner and the set, ordered by top then
// left, never refuses a member.
#pragma once

#include "foundation/BasicSet.h"
#include "foundation/Rect.h"

#include <cstddef>

namespace Vemo {

class Region {
public:
    // Top to bottom, then left to right within one top.
    struct RectLess {
        bool operator()(const Rect& a, const Rect& b) const {
            return a.top < b.top || (a.top == b.top && a.left < b.left);
        }
    };
    using Rects = BasicSet<Rect, RectLess>;
    using ConstIterator = Rects::ConstIterator;

    // Adds the parts of r not yet covered. An empty r adds nothing.
    void AddRect(const Rect& r);
    // Replaces every member that meets r by its parts outside r. An empty r removes nothing.
    void SubtractRect(const Rect& r);
    // AddRect of each member of other, then Coalesce.
    bool Add(const Region& other);
    // SubtractRect of each member of other, then Coalesce.
    bool Subtract(const Region& other);
    // The members clipped to r, empty clips dropped; this region is left as it is.
    Region Intersect(const Rect& r) const;
    // Rejoins neighbouring members until no merge applies. A side-by-side merge may grow the region within
    // the pair's bounds (a redraw area may grow), but never onto another member. Always returns true.
    bool Coalesce();

    std::size_t Size() const { return m_rects.Size(); }
    bool Empty() const { return m_rects.Empty(); }
    ConstIterator Begin() const { return m_rects.Begin(); }
    ConstIterator End() const { return m_rects.End(); }
    ConstIterator begin() const { return m_rects.begin(); }
    ConstIterator end() const { return m_rects.end(); }
    // The member at index in walking order, null past the end.
    const Rect* At(std::size_t index) const;
    // Removes the member at index in walking order; nothing past the end.
    void EraseAt(std::size_t index);
    // The smallest rectangle holding every member; {0, 0, 0, 0} for an empty region.
    Rect Bounds() const;

private:
    bool MergeSideBySide();
    bool MergeStacked();
    bool MeetsMember(const Rect& r) const;
    void InsertIfNotEmpty(const Rect& r);

    Rects m_rects;
};

} // namespace Vemo
