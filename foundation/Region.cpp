#include "foundation/Region.h"

#include <algorithm>
#include <iterator>

namespace Vemo {

namespace {

bool Overlaps(const Rect& a, const Rect& b) {
    return a.right > b.left && a.left < b.right && a.bottom > b.top && a.top < b.bottom;
}

bool Contains(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

} // namespace

// Members are walked in order only while their top lies above r's bottom: every later member lies below r.

void Region::AddRect(const Rect& added) {
    // A copy, since the caller's rectangle may be one of the members erased below.
    const Rect r = added;
    if (r.IsEmpty()) {
        return;
    }
    Rects::Iterator m = m_rects.Begin();
    while (m != m_rects.End() && m->top < r.bottom) {
        if (!Overlaps(*m, r)) {
            ++m;
            continue;
        }
        if (Contains(r, *m)) {
            m = m_rects.Erase(m);
            continue;
        }
        // Only the parts of r around m are new; each may meet further members, so each starts its own walk.
        const Rect member = *m;
        const std::int32_t bandTop = std::max(member.top, r.top);
        const std::int32_t bandBottom = std::min(member.bottom, r.bottom);
        AddRect(Rect(r.left, r.top, r.right, bandTop));
        AddRect(Rect(r.left, bandTop, std::max(member.left, r.left), bandBottom));
        AddRect(Rect(std::min(member.right, r.right), bandTop, r.right, bandBottom));
        if (member.bottom < r.bottom) {
            AddRect(Rect(r.left, member.bottom, r.right, r.bottom));
        }
        return;
    }
    m_rects.Insert(r);
}

void Region::SubtractRect(const Rect& removed) {
    const Rect r = removed;
    if (r.IsEmpty()) {
        return;
    }
    Rects::Iterator m = m_rects.Begin();
    while (m != m_rects.End() && m->top < r.bottom) {
        if (!Overlaps(*m, r)) {
            ++m;
            continue;
        }
        // The pieces miss r, so the walk passes over them when it meets them again.
        const Rect member = *m;
        m = m_rects.Erase(m);
        const std::int32_t bandTop = std::max(r.top, member.top);
        const std::int32_t bandBottom = std::min(r.bottom, member.bottom);
        InsertIfNotEmpty(Rect(member.left, member.top, member.right, bandTop));
        InsertIfNotEmpty(Rect(member.left, bandTop, std::max(r.left, member.left), bandBottom));
        InsertIfNotEmpty(Rect(std::min(r.right, member.right), bandTop, member.right, bandBottom));
        InsertIfNotEmpty(Rect(member.left, bandBottom, member.right, member.bottom));
    }
}

bool Region::Add(const Region& other) {
    if (&other == this) {
        const Region copy(other);
        return Add(copy);
    }
    for (const Rect& r : other.m_rects) {
        AddRect(r);
    }
    return Coalesce();
}

bool Region::Subtract(const Region& other) {
    if (&other == this) {
        const Region copy(other);
        return Subtract(copy);
    }
    for (const Rect& r : other.m_rects) {
        SubtractRect(r);
    }
    return Coalesce();
}

Region Region::Intersect(const Rect& r) const {
    Region result;
    for (ConstIterator m = m_rects.Begin(); m != m_rects.End() && m->top < r.bottom; ++m) {
        Rect clip;
        m->Intersect(clip, r);
        result.InsertIfNotEmpty(clip);
    }
    return result;
}

// Coalesce ends. Let W be the sum over members of area times width, that is, the sum over covered pixels of
// the width of their member. A side-by-side merge leaves the pixels of the parts above and below as wide as
// before, makes every pixel of the band strictly wider and may add the strip's pixels, so W strictly grows. W
// is bounded: the strip lies within the merged pair's bounds, so the members stay inside the bounds the
// region had on entry, and being disjoint they cover at most that area, each at most that wide. A stacked
// merge keeps W and removes a member. So (W, -member count) grows lexicographically and is bounded.
bool Region::Coalesce() {
    while (MergeSideBySide() || MergeStacked()) {
    }
    return true;
}

// The first pair a, b (b after a) where b touches a's left or right edge with its top within a's rows becomes
// the part of a above b, a band across both down to a's bottom, and the part of b below a. Where b ends above
// a's bottom the band also covers the strip of b's columns between the two bottoms; a pair whose strip would
// meet another member is left as it is, as overlapping members would break the normal form.
bool Region::MergeSideBySide() {
    for (Rects::Iterator a = m_rects.Begin(); a != m_rects.End(); ++a) {
        for (Rects::Iterator b = std::next(a); b != m_rects.End() && b->top < a->bottom; ++b) {
            if (b->left != a->right && b->right != a->left) {
                continue;
            }
            if (b->bottom < a->bottom && MeetsMember(Rect(b->left, b->bottom, b->right, a->bottom))) {
                continue;
            }
            const Rect first = *a;
            const Rect second = *b;
            m_rects.Erase(a);
            m_rects.Erase(b);
            InsertIfNotEmpty(Rect(first.left, first.top, first.right, second.top));
            InsertIfNotEmpty(Rect(std::min(first.left, second.left), second.top,
                                  std::max(first.right, second.right), first.bottom));
            InsertIfNotEmpty(Rect(second.left, first.bottom, second.right, second.bottom));
            return true;
        }
    }
    return false;
}

// The first member a with a member b of the same columns starting at a's bottom; the two become one.
bool Region::MergeStacked() {
    for (Rects::Iterator a = m_rects.Begin(); a != m_rects.End(); ++a) {
        // Corners are unique, so b is the one member whose corner is a's bottom-left.
        Rects::Iterator b = m_rects.Find(Rect(a->left, a->bottom, a->left, a->bottom));
        if (b == m_rects.End() || b->right != a->right) {
            continue;
        }
        const Rect merged(a->left, a->top, a->right, b->bottom);
        m_rects.Erase(a);
        m_rects.Erase(b);
        m_rects.Insert(merged);
        return true;
    }
    return false;
}

bool Region::MeetsMember(const Rect& r) const {
    for (ConstIterator m = m_rects.Begin(); m != m_rects.End() && m->top < r.bottom; ++m) {
        if (Overlaps(*m, r)) {
            return true;
        }
    }
    return false;
}

void Region::InsertIfNotEmpty(const Rect& r) {
    if (!r.IsEmpty()) {
        m_rects.Insert(r);
    }
}

const Rect* Region::At(std::size_t index) const {
    if (index >= m_rects.Size()) {
        return nullptr;
    }
    return &*std::next(m_rects.Begin(), static_cast<std::ptrdiff_t>(index));
}

void Region::EraseAt(std::size_t index) {
    if (index < m_rects.Size()) {
        m_rects.Erase(std::next(m_rects.Begin(), static_cast<std::ptrdiff_t>(index)));
    }
}

Rect Region::Bounds() const {
    if (m_rects.Empty()) {
        return Rect();
    }
    Rect bounds = *m_rects.Begin();
    for (const Rect& m : m_rects) {
        bounds.Union(m);
    }
    return bounds;
}

} // namespace Vemo
