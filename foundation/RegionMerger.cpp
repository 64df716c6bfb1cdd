#include "foundation/RegionMerger.h"

#include <algorithm>
#include <cstddef>

namespace Vemo {

namespace {

// Walking costs a pass over the members before each merge, building the indexes a few tree nodes per member:
// regions below this size are walked to the end, larger ones only for their first few merges, which is all
// that a coalesced region needs after a change or two.
constexpr std::size_t kWalkedRegionSize = 256;
constexpr std::size_t kWalkedMerges = 8;

// Members come ordered by top: from the first that starts at r's bottom or below, none meets r.
bool MeetsMember(const std::vector<Rect>& members, const Rect& r) {
    for (auto m = members.begin(); m != members.end() && m->top < r.bottom; ++m) {
        if (m->right > r.left && m->left < r.right && m->bottom > r.top) {
            return true;
        }
    }
    return false;
}

void InsertInOrder(std::vector<Rect>& members, const Rect& r) {
    members.insert(std::upper_bound(members.begin(), members.end(), r, Region::RectLess()), r);
}

// Whether index (ordered by edge, then top) holds a member whose edge lies in [from, to) and whose top lies
// in [top, bottom). Each probe either answers or skips to the next edge value that occurs, so the cost
// follows the number of distinct edges in the range, not the members in it.
template <class Index>
bool AnyInRange(const Index& index, std::int32_t Rect::*edge, std::int64_t from, std::int64_t to,
                std::int32_t top, std::int32_t bottom) {
    std::int64_t value = from;
    while (value < to) {
        Rect probe;
        probe.*edge = static_cast<std::int32_t>(value);
        probe.top = top;
        const auto found = index.lower_bound(probe);
        if (found == index.end() || (*found).*edge >= to) {
            return false;
        }
        if ((*found).*edge > value) {
            value = (*found).*edge;
        } else if (found->top < bottom) {
            return true;
        } else {
            ++value;
        }
    }
    return false;
}

} // namespace

void RegionMerger::MergeAll(std::vector<Rect>& members) {
    for (std::size_t merges = 0; members.size() < kWalkedRegionSize || merges < kWalkedMerges; ++merges) {
        if (!WalkSideBySide(members) && !WalkStacked(members)) {
            return;
        }
    }
    RegionMerger merger(members);
    while (merger.MergeNextSideBySide() || merger.MergeNextStacked()) {
    }
    members.assign(merger.m_members.begin(), merger.m_members.end());
}

RegionMerger::RegionMerger(const std::vector<Rect>& members) {
    std::vector<Corner> corners;
    corners.reserve(members.size());
    for (const Rect& r : members) {
        m_members.insert(m_members.end(), r);
        m_byLeft.insert(r);
        m_byRight.insert(r);
        corners.emplace_back(r.top, r.left);
    }
    m_sideBySideCandidates = Candidates(corners.begin(), corners.end());
    m_stackedCandidates = Candidates(corners.begin(), corners.end());
}

// The pair a, b (b after a) where b touches a's left or right edge with its top within a's rows becomes the
// part of a above b, a band across both down to a's bottom, and the part of b below a; empty pieces are
// dropped. Where b ends above a's bottom the band also covers the strip of b's columns between the two
// bottoms; a pair whose strip would meet another member is left as it is, as overlapping members would break
// the normal form.
std::array<Rect, 3> RegionMerger::SideBySidePieces(const Rect& a, const Rect& b) {
    return {Rect(a.left, a.top, a.right, b.top),
            Rect(std::min(a.left, b.left), b.top, std::max(a.right, b.right), a.bottom),
            Rect(b.left, a.bottom, b.right, b.bottom)};
}

Rect RegionMerger::Strip(const Rect& a, const Rect& b) {
    return Rect(b.left, b.bottom, b.right, a.bottom);
}

bool RegionMerger::WalkSideBySide(std::vector<Rect>& members) {
    for (std::size_t first = 0; first < members.size(); ++first) {
        const Rect a = members[first];
        for (std::size_t second = first + 1; second < members.size() && members[second].top < a.bottom;
             ++second) {
            const Rect b = members[second];
            if (b.left != a.right && b.right != a.left) {
                continue;
            }
            if (b.bottom < a.bottom && MeetsMember(members, Strip(a, b))) {
                continue;
            }
            members.erase(members.begin() + static_cast<std::ptrdiff_t>(second));
            members.erase(members.begin() + static_cast<std::ptrdiff_t>(first));
            for (const Rect& piece : SideBySidePieces(a, b)) {
                if (!piece.IsEmpty()) {
                    InsertInOrder(members, piece);
                }
            }
            return true;
        }
    }
    return false;
}

bool RegionMerger::WalkStacked(std::vector<Rect>& members) {
    for (std::size_t first = 0; first < members.size(); ++first) {
        const Rect a = members[first];
        const auto below = std::lower_bound(members.begin(), members.end(),
                                            Rect(a.left, a.bottom, a.left, a.bottom), Region::RectLess());
        if (below == members.end() || below->top != a.bottom || below->left != a.left ||
            below->right != a.right) {
            continue;
        }
        const Rect merged(a.left, a.top, a.right, below->bottom);
        members.erase(below);
        members.erase(members.begin() + static_cast<std::ptrdiff_t>(first));
        InsertInOrder(members, merged);
        return true;
    }
    return false;
}

bool RegionMerger::MergeNextSideBySide() {
    Rect a;
    Rect b;
    while (TakeCandidate(m_sideBySideCandidates, a)) {
        if (!SideBySidePartner(a, b)) {
            continue;
        }
        Erase(a);
        Erase(b);
        for (const Rect& piece : SideBySidePieces(a, b)) {
            if (!piece.IsEmpty()) {
                Insert(piece);
            }
        }
        return true;
    }
    return false;
}

// A member and the member of the same columns starting at its bottom become one.
bool RegionMerger::MergeNextStacked() {
    Rect a;
    Rect b;
    while (TakeCandidate(m_stackedCandidates, a)) {
        if (!StackedPartner(a, b)) {
            continue;
        }
        Erase(a);
        Erase(b);
        Insert(Rect(a.left, a.top, a.right, b.bottom));
        return true;
    }
    return false;
}

// Partners start at a's right edge with their tops in a's rows, or end at its left edge with their tops below
// a's top (one level with it would come before a). Members sharing an edge column are disjoint in their rows,
// so each side's partners come ordered by top; the two sides are walked together in member order.
bool RegionMerger::SideBySidePartner(const Rect& a, Rect& b) const {
    auto right = m_byLeft.lower_bound(Rect(a.right, a.top, 0, 0));
    auto left = m_byRight.lower_bound(Rect(0, a.top + 1, a.left, 0));
    for (;;) {
        const bool rightFits = right != m_byLeft.end() && right->left == a.right && right->top < a.bottom;
        const bool leftFits = left != m_byRight.end() && left->right == a.left && left->top < a.bottom;
        if (!rightFits && !leftFits) {
            return false;
        }
        const Rect& candidate = leftFits && (!rightFits || left->top <= right->top) ? *left++ : *right++;
        if (!StripMeetsMember(a, candidate)) {
            b = candidate;
            return true;
        }
    }
}

bool RegionMerger::StackedPartner(const Rect& a, Rect& b) const {
    const auto below = m_members.find(Rect(a.left, a.bottom, a.left, a.bottom));
    if (below == m_members.end() || below->right != a.right) {
        return false;
    }
    b = *below;
    return true;
}

// The strip is {b.left, b.bottom, b.right, a.bottom}. A member meeting it shares rows with a, so it lies on
// b's side of a's edge, and shares columns with b, so it starts below b: its corner on a's side is inside the
// strip. Conversely every member with such a corner meets the strip.
bool RegionMerger::StripMeetsMember(const Rect& a, const Rect& b) const {
    if (b.bottom >= a.bottom) {
        return false;
    }
    if (b.left == a.right) {
        return AnyInRange(m_byLeft, &Rect::left, b.left, b.right, b.bottom, a.bottom);
    }
    return AnyInRange(m_byRight, &Rect::right, std::int64_t{b.left} + 1, std::int64_t{b.right} + 1, b.bottom,
                      a.bottom);
}

// The smallest waiting corner that still holds a member; corners of merged members are dropped on the way.
bool RegionMerger::TakeCandidate(Candidates& candidates, Rect& member) {
    while (!candidates.empty()) {
        const Corner corner = *candidates.begin();
        candidates.erase(candidates.begin());
        const auto found = m_members.find(Rect(corner.second, corner.first, corner.second, corner.first));
        if (found != m_members.end()) {
            member = *found;
            return true;
        }
    }
    return false;
}

// Besides the new member itself, the members it can be the second of a pair for: side by side, the member
// whose right edge it touches and whose rows hold its top, and the member on its right whose rows hold its
// top and which starts above it; stacked, the member of its columns ending at its top.
void RegionMerger::Insert(const Rect& r) {
    m_members.insert(r);
    m_byLeft.insert(r);
    m_byRight.insert(r);
    m_sideBySideCandidates.emplace(r.top, r.left);
    m_stackedCandidates.emplace(r.top, r.left);

    auto leftNeighbour = m_byRight.upper_bound(Rect(0, r.top, r.left, 0));
    if (leftNeighbour != m_byRight.begin() && (--leftNeighbour)->right == r.left &&
        leftNeighbour->bottom > r.top) {
        m_sideBySideCandidates.emplace(leftNeighbour->top, leftNeighbour->left);
    }
    auto rightNeighbour = m_byLeft.lower_bound(Rect(r.right, r.top, 0, 0));
    if (rightNeighbour != m_byLeft.begin() && (--rightNeighbour)->left == r.right &&
        rightNeighbour->bottom > r.top) {
        m_sideBySideCandidates.emplace(rightNeighbour->top, rightNeighbour->left);
    }
    auto above = m_byLeft.lower_bound(Rect(r.left, r.top, 0, 0));
    if (above != m_byLeft.begin() && (--above)->left == r.left && above->bottom == r.top &&
        above->right == r.right) {
        m_stackedCandidates.emplace(above->top, above->left);
    }
}

void RegionMerger::Erase(const Rect& r) {
    m_members.erase(r);
    m_byLeft.erase(r);
    m_byRight.erase(r);
}

} // namespace Vemo
