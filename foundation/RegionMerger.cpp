#include "foundation/RegionMerger.h"

#include <algorithm>
#include <cstddef>
#include <functional>

namespace Vemo {

namespace {

// Walking costs a pass over the members before each merge, building the indexes a sort and a pass over them:
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

// The first member of column whose top lies at or below top.
std::vector<Rect>::const_iterator FirstFrom(const std::vector<Rect>& column, std::int32_t top) {
    return std::partition_point(column.begin(), column.end(), [top](const Rect& m) { return m.top < top; });
}

std::size_t Index(std::int32_t column) {
    return static_cast<std::size_t>(column);
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
    members = merger.Members();
}

// The merger works on column numbers in place of the left and right edges: merges only compare edges and take
// the smaller or larger of two, which numbering in ascending order keeps. Members come ordered by top, so each
// column fills in order of top, and their corners come ascending, which is already a heap.
RegionMerger::RegionMerger(const std::vector<Rect>& members) {
    m_edges.reserve(2 * members.size());
    for (const Rect& r : members) {
        m_edges.push_back(r.left);
        m_edges.push_back(r.right);
    }
    std::sort(m_edges.begin(), m_edges.end());
    m_edges.erase(std::unique(m_edges.begin(), m_edges.end()), m_edges.end());
    m_byLeft.resize(m_edges.size());
    m_byRight.resize(m_edges.size());
    m_sideBySideCandidates.reserve(members.size());
    for (const Rect& r : members) {
        const Rect numbered(ColumnOf(r.left), r.top, ColumnOf(r.right), r.bottom);
        m_byLeft[static_cast<std::size_t>(numbered.left)].push_back(numbered);
        m_byRight[static_cast<std::size_t>(numbered.right)].push_back(numbered);
        m_sideBySideCandidates.push_back(CornerOf(numbered));
    }
    m_stackedCandidates = m_sideBySideCandidates;
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
// a's top (one level with it would come before a). Each column comes ordered by top; the two sides are walked
// together in member order.
bool RegionMerger::SideBySidePartner(const Rect& a, Rect& b) const {
    const Column& starting = m_byLeft[Index(a.right)];
    const Column& ending = m_byRight[Index(a.left)];
    auto right = FirstFrom(starting, a.top);
    auto left = FirstFrom(ending, a.top + 1);
    for (;;) {
        const bool rightFits = right != starting.end() && right->top < a.bottom;
        const bool leftFits = left != ending.end() && left->top < a.bottom;
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
    const Column& column = m_byLeft[Index(a.left)];
    const auto below = FirstFrom(column, a.bottom);
    if (below == column.end() || below->top != a.bottom || below->right != a.right) {
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
    const std::size_t left = Index(b.left);
    const std::size_t right = Index(b.right);
    if (b.left == a.right) {
        return AnyStartsIn(m_byLeft, left, right, b.bottom, a.bottom);
    }
    return AnyStartsIn(m_byRight, left + 1, right + 1, b.bottom, a.bottom);
}

// Whether a column in [from, to) holds a member whose top lies in [top, bottom).
bool RegionMerger::AnyStartsIn(const std::vector<Column>& columns, std::size_t from, std::size_t to,
                               std::int32_t top, std::int32_t bottom) const {
    for (std::size_t i = from; i < to; ++i) {
        const auto found = FirstFrom(columns[i], top);
        if (found != columns[i].end() && found->top < bottom) {
            return true;
        }
    }
    return false;
}

// The smallest waiting corner that still holds a member; corners of merged members are dropped on the way.
bool RegionMerger::TakeCandidate(Candidates& candidates, Rect& member) {
    while (!candidates.empty()) {
        const Corner corner = candidates.front();
        do {
            std::pop_heap(candidates.begin(), candidates.end(), std::greater<>());
            candidates.pop_back();
        } while (!candidates.empty() && candidates.front() == corner);
        const std::int32_t top = static_cast<std::int32_t>(static_cast<std::uint32_t>(corner >> 32) ^ 0x80000000u);
        const Column& column = m_byLeft[static_cast<std::uint32_t>(corner)];
        const auto found = FirstFrom(column, top);
        if (found != column.end() && found->top == top) {
            member = *found;
            return true;
        }
    }
    return false;
}

void RegionMerger::Wait(Candidates& candidates, const Rect& member) {
    candidates.push_back(CornerOf(member));
    std::push_heap(candidates.begin(), candidates.end(), std::greater<>());
}

std::vector<Rect> RegionMerger::Members() const {
    std::vector<Rect> members;
    for (const Column& column : m_byLeft) {
        for (const Rect& m : column) {
            members.emplace_back(m_edges[static_cast<std::size_t>(m.left)], m.top,
                                 m_edges[static_cast<std::size_t>(m.right)], m.bottom);
        }
    }
    std::sort(members.begin(), members.end(), Region::RectLess());
    return members;
}

std::int32_t RegionMerger::ColumnOf(std::int32_t x) const {
    return static_cast<std::int32_t>(std::lower_bound(m_edges.begin(), m_edges.end(), x) - m_edges.begin());
}

// The top in the high half, biased to keep the order of negative tops, and the column in the low half.
RegionMerger::Corner RegionMerger::CornerOf(const Rect& member) {
    return (std::uint64_t{static_cast<std::uint32_t>(member.top) ^ 0x80000000u} << 32) |
           static_cast<std::uint32_t>(member.left);
}

// Besides the new member itself, the members it can be the second of a pair for: side by side, the member
// whose right edge it touches and whose rows hold its top, and the member on its right whose rows hold its
// top and which starts above it; stacked, the member of its columns ending at its top.
void RegionMerger::Insert(const Rect& r) {
    Column& startingWith = m_byLeft[Index(r.left)];
    Column& endingWith = m_byRight[Index(r.right)];
    startingWith.insert(FirstFrom(startingWith, r.top), r);
    endingWith.insert(FirstFrom(endingWith, r.top), r);
    Wait(m_sideBySideCandidates, r);
    Wait(m_stackedCandidates, r);

    const Column& endingAtLeft = m_byRight[Index(r.left)];
    auto leftNeighbour = FirstFrom(endingAtLeft, r.top + 1);
    if (leftNeighbour != endingAtLeft.begin() && (--leftNeighbour)->bottom > r.top) {
        Wait(m_sideBySideCandidates, *leftNeighbour);
    }
    const Column& startingAtRight = m_byLeft[Index(r.right)];
    auto rightNeighbour = FirstFrom(startingAtRight, r.top);
    if (rightNeighbour != startingAtRight.begin() && (--rightNeighbour)->bottom > r.top) {
        Wait(m_sideBySideCandidates, *rightNeighbour);
    }
    auto above = FirstFrom(startingWith, r.top);
    if (above != startingWith.begin() && (--above)->bottom == r.top && above->right == r.right) {
        Wait(m_stackedCandidates, *above);
    }
}

void RegionMerger::Erase(const Rect& r) {
    Column& startingWith = m_byLeft[Index(r.left)];
    Column& endingWith = m_byRight[Index(r.right)];
    startingWith.erase(FirstFrom(startingWith, r.top));
    endingWith.erase(FirstFrom(endingWith, r.top));
}

} // namespace Vemo
