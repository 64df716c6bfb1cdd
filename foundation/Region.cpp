#include "foundation/Region.h"

#include "foundation/RegionMerger.h"
#include "foundation/RegionSweep.h"

#include <algorithm>
#include <iterator>

namespace Vemo {

namespace {

bool Overlaps(const Rect& a, const Rect& b) {
    return a.right > b.left && a.left < b.right && a.bottom > b.top && a.top < b.bottom;
}

// Whether member lies below r, which ends a walk over members ordered by top, or meets r.
bool EndsOrMeets(const Rect& member, const Rect& r) {
    const bool below = member.top >= r.bottom;
    return below | ((member.right > r.left) & (member.left < r.right) & (member.bottom > r.top));
}

// The first index at or after from whose member is not before, the members before it all being so: steps
// doubling from from, then halving, so the cost follows the log of the distance from from, not of the size.
template <class Before>
std::size_t Gallop(const Region::Rects& rects, std::size_t from, Before before) {
    std::size_t low = from;
    std::size_t high = rects.size();
    for (std::size_t step = 1; low < high; step *= 2) {
        const std::size_t probe = std::min(low + step, high) - 1;
        if (!before(rects[probe])) {
            high = probe;
            break;
        }
        low = probe + 1;
    }
    const auto first = std::partition_point(rects.begin() + static_cast<std::ptrdiff_t>(low),
                                            rects.begin() + static_cast<std::ptrdiff_t>(high), before);
    return static_cast<std::size_t>(first - rects.begin());
}

bool Contains(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

} // namespace

// Members are walked in order only while their top lies above r's bottom: every later member lies below r.
// Nor can a member meet r whose top lies a tallest member's height or more above r's top, so the walk starts
// past those; skipping members that miss r changes nothing, as the walk only moves them along.

std::size_t Region::FirstThatMayMeet(const Rect& r, std::size_t from) const {
    const std::int64_t above = std::int64_t{r.top} - m_tallest;
    return Gallop(m_rects, from, [above](const Rect& m) { return m.top <= above; });
}

void Region::AddRect(const Rect& added) {
    // A copy, since the caller's rectangle may be one of the members erased below.
    const Rect r = added;
    if (!r.IsEmpty()) {
        AddFrom(r, FirstThatMayMeet(r, 0));
    }
}

// Adds r, whose walk starts at the member at start: no member before it meets r.
void Region::AddFrom(const Rect& r, std::size_t start) {
    // Most members the walk passes miss r and stay where they are: a first pass finds the first that meets
    // r or ends the walk, its tests joined without branches, which are as good as random here.
    std::size_t next = start;
    while (next < m_rects.size() && !EndsOrMeets(m_rects[next], r)) {
        ++next;
    }
    // Members inside r are dropped by moving the members after them down as the walk goes.
    std::size_t kept = next;
    for (; next < m_rects.size() && m_rects[next].top < r.bottom; ++next) {
        const Rect member = m_rects[next];
        if (Overlaps(member, r) && Contains(r, member)) {
            continue;
        }
        m_rects[kept++] = member;
        if (!Overlaps(member, r)) {
            continue;
        }
        m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(kept),
                      m_rects.begin() + static_cast<std::ptrdiff_t>(next + 1));
        // Only the parts of r around the member are new; each may meet further members, so each starts its
        // own walk. Every member before this one misses r, and what one part adds stays inside that part, so
        // a part's walk starts at this member, which stays.
        const std::int32_t bandTop = std::max(member.top, r.top);
        const std::int32_t bandBottom = std::min(member.bottom, r.bottom);
        // The member is never dropped by a part, which misses it, and a part drops members only from its walk's
        // start on, so only members added before it move it, and only on.
        const Rect parts[] = {Rect(r.left, r.top, r.right, bandTop),
                              Rect(r.left, bandTop, std::max(member.left, r.left), bandBottom),
                              Rect(std::min(member.right, r.right), bandTop, r.right, bandBottom),
                              Rect(r.left, member.bottom, r.right, r.bottom)};
        std::size_t at = kept - 1;
        for (const Rect& part : parts) {
            if (part.IsEmpty()) {
                continue;
            }
            at = Gallop(m_rects, at, [&member](const Rect& m) { return RectLess()(m, member); });
            AddFrom(part, FirstThatMayMeet(part, at));
        }
        return;
    }
    m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(kept),
                  m_rects.begin() + static_cast<std::ptrdiff_t>(next));
    Insert(r);
}

// The pieces miss r, so a walk meeting them again would pass over them: they join the members once the walk
// is done.
void Region::SubtractRect(const Rect& removed) {
    const Rect r = removed;
    if (r.IsEmpty()) {
        return;
    }
    Rects pieces;
    std::size_t kept = FirstThatMayMeet(r, 0);
    std::size_t next = kept;
    for (; next < m_rects.size() && m_rects[next].top < r.bottom; ++next) {
        const Rect member = m_rects[next];
        if (!Overlaps(member, r)) {
            m_rects[kept++] = member;
            continue;
        }
        const std::int32_t bandTop = std::max(r.top, member.top);
        const std::int32_t bandBottom = std::min(r.bottom, member.bottom);
        const Rect parts[] = {Rect(member.left, member.top, member.right, bandTop),
                              Rect(member.left, bandTop, std::max(r.left, member.left), bandBottom),
                              Rect(std::min(r.right, member.right), bandTop, member.right, bandBottom),
                              Rect(member.left, bandBottom, member.right, member.bottom)};
        std::copy_if(std::begin(parts), std::end(parts), std::back_inserter(pieces),
                     [](const Rect& part) { return !part.IsEmpty(); });
    }
    m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(kept),
                  m_rects.begin() + static_cast<std::ptrdiff_t>(next));
    for (const Rect& piece : pieces) {
        Insert(piece);
    }
}

bool Region::Add(const Region& other) {
    m_rects = RegionSweep::Combine(m_rects, other.m_rects, RegionSweep::Operation::Union);
    Replaced();
    return true;
}

bool Region::Subtract(const Region& other) {
    m_rects = RegionSweep::Combine(m_rects, other.m_rects, RegionSweep::Operation::Difference);
    Replaced();
    return true;
}

Region Region::Intersect(const Rect& r) const {
    Region result;
    for (ConstIterator m = m_rects.begin(); m != m_rects.end() && m->top < r.bottom; ++m) {
        Rect clip;
        m->Intersect(clip, r);
        if (!clip.IsEmpty()) {
            result.m_rects.push_back(clip);
        }
    }
    // Clipping moves tops down to r's top, which can reorder members.
    std::sort(result.m_rects.begin(), result.m_rects.end(), RectLess());
    result.Replaced();
    return result;
}

// Coalesce ends. Let W be the sum over members of area times width, that is, the sum over covered pixels of
// the width of their member. A side-by-side merge leaves the pixels of the parts above and below as wide as
// before, makes every pixel of the band strictly wider and may add the strip's pixels, so W strictly grows. W
// is bounded: the strip lies within the merged pair's bounds, so the members stay inside the bounds the
// region had on entry, and being disjoint they cover at most that area, each at most that wide. A stacked
// merge keeps W and removes a member. So (W, -member count) grows lexicographically and is bounded.
bool Region::Coalesce() {
    RegionMerger::MergeAll(m_rects);
    Replaced();
    return true;
}

void Region::Insert(const Rect& r) {
    m_rects.insert(std::upper_bound(m_rects.begin(), m_rects.end(), r, RectLess()), r);
    m_tallest = std::max(m_tallest, std::int64_t{r.bottom} - r.top);
}

void Region::Replaced() {
    m_tallest = 0;
    for (const Rect& m : m_rects) {
        m_tallest = std::max(m_tallest, std::int64_t{m.bottom} - m.top);
    }
}

const Rect* Region::At(std::size_t index) const {
    return index < m_rects.size() ? &m_rects[index] : nullptr;
}

void Region::EraseAt(std::size_t index) {
    if (index < m_rects.size()) {
        m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

Rect Region::Bounds() const {
    if (m_rects.empty()) {
        return Rect();
    }
    Rect bounds = m_rects.front();
    for (const Rect& m : m_rects) {
        bounds.Union(m);
    }
    return bounds;
}

} // namespace Vemo
