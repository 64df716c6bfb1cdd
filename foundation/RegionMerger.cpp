#include "foundation/RegionMerger.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <functional>

namespace Vemo {

namespace {

// Walking costs a pass over the members before each merge, building the indexes a sort and a pass over them:
// regions below this size are walked to the end, larger ones only for their first few merges, which is all
// that a coalesced region needs after a change or two.
constexpr std::size_t kWalkedRegionSize = 128;
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

// The first member of column whose top lies at or below top. Columns hold few members, which a plain scan
// passes fastest; a long one is searched by halves.
std::vector<Rect>::const_iterator FirstFrom(const std::vector<Rect>& column, std::int32_t top) {
    constexpr std::size_t kScanned = 16;
    if (column.size() > kScanned) {
        return std::partition_point(column.begin(), column.end(), [top](const Rect& m) { return m.top < top; });
    }
    auto m = column.begin();
    while (m != column.end() && m->top < top) {
        ++m;
    }
    return m;
}

std::size_t Index(std::int32_t number) {
    return static_cast<std::size_t>(number);
}

// Numbers the first and second edges of the members (left and right, or top and bottom) in ascending order
// of edge, equal edges alike, in numbered, which holds a copy of the members; returns the edges by number.
std::vector<std::int32_t> Number(const std::vector<Rect>& members, std::int32_t Rect::*first,
                                 std::int32_t Rect::*second, std::vector<Rect>& numbered) {
    // A key holds an edge above the place it came from, the edge biased so that the keys sort by edge.
    const auto key = [](std::int32_t edge, std::size_t place) {
        return (std::uint64_t{static_cast<std::uint32_t>(edge) ^ 0x80000000u} << 32) | place;
    };
    std::vector<std::uint64_t> keys;
    keys.reserve(2 * members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
        keys.push_back(key(members[i].*first, 2 * i));
        keys.push_back(key(members[i].*second, 2 * i + 1));
    }
    std::sort(keys.begin(), keys.end());
    std::vector<std::int32_t> edges;
    for (const std::uint64_t k : keys) {
        const auto edge = static_cast<std::int32_t>(static_cast<std::uint32_t>(k >> 32) ^ 0x80000000u);
        if (edges.empty() || edges.back() != edge) {
            edges.push_back(edge);
        }
        const std::size_t place = k & 0xffffffffu;
        numbered[place / 2].*(place % 2 == 0 ? first : second) = static_cast<std::int32_t>(edges.size() - 1);
    }
    return edges;
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

// Members come ordered by top, so each column fills in order of top.
RegionMerger::RegionMerger(const std::vector<Rect>& members) {
    std::vector<Rect> numbered = members;
    m_columns = Number(members, &Rect::left, &Rect::right, numbered);
    m_rows = Number(members, &Rect::top, &Rect::bottom, numbered);
    m_byLeft.resize(m_columns.size());
    m_byRight.resize(m_columns.size());
    for (const Rect& r : numbered) {
        m_byLeft[Index(r.left)].push_back(r);
        m_byRight[Index(r.right)].push_back(r);
    }
    m_sideBySideCandidates.Start(m_rows.size(), numbered);
    m_stackedCandidates.Start(m_rows.size(), numbered);
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
    std::int32_t row = 0;
    std::int32_t column = 0;
    while (candidates.Take(row, column)) {
        const Column& starting = m_byLeft[Index(column)];
        const auto found = FirstFrom(starting, row);
        if (found != starting.end() && found->top == row) {
            member = *found;
            return true;
        }
    }
    return false;
}

std::vector<Rect> RegionMerger::Members() const {
    std::vector<Rect> members;
    for (const Column& column : m_byLeft) {
        for (const Rect& m : column) {
            members.emplace_back(m_columns[Index(m.left)], m_rows[Index(m.top)], m_columns[Index(m.right)],
                                 m_rows[Index(m.bottom)]);
        }
    }
    std::sort(members.begin(), members.end(), Region::RectLess());
    return members;
}

// members: numbered, ordered by top, then left.
void RegionMerger::Candidates::Start(std::size_t rows, const std::vector<Rect>& members) {
    m_columns.assign(rows, {});
    m_waitingRows.assign((rows + 63) / 64, 0);
    m_lowestWord = 0;
    for (auto m = members.rbegin(); m != members.rend(); ++m) {
        m_columns[Index(m->top)].push_back(m->left);
        m_waitingRows[Index(m->top) / 64] |= std::uint64_t{1} << (Index(m->top) % 64);
    }
}

// Each row's columns wait in descending order, the smallest last.
void RegionMerger::Candidates::Wait(std::int32_t row, std::int32_t column) {
    std::vector<std::int32_t>& columns = m_columns[Index(row)];
    const auto place = std::lower_bound(columns.begin(), columns.end(), column, std::greater<>());
    if (place != columns.end() && *place == column) {
        return;
    }
    columns.insert(place, column);
    const std::size_t word = Index(row) / 64;
    m_waitingRows[word] |= std::uint64_t{1} << (Index(row) % 64);
    m_lowestWord = std::min(m_lowestWord, word);
}

bool RegionMerger::Candidates::Take(std::int32_t& row, std::int32_t& column) {
    while (m_lowestWord < m_waitingRows.size() && m_waitingRows[m_lowestWord] == 0) {
        ++m_lowestWord;
    }
    if (m_lowestWord == m_waitingRows.size()) {
        return false;
    }
    const std::size_t lowest =
        m_lowestWord * 64 + static_cast<std::size_t>(std::countr_zero(m_waitingRows[m_lowestWord]));
    std::vector<std::int32_t>& columns = m_columns[lowest];
    column = columns.back();
    columns.pop_back();
    if (columns.empty()) {
        m_waitingRows[m_lowestWord] &= ~(std::uint64_t{1} << (lowest % 64));
    }
    row = static_cast<std::int32_t>(lowest);
    return true;
}

// Besides the new member itself, the members it can be the second of a pair for: side by side, the member
// whose right edge it touches and whose rows hold its top, and the member on its right whose rows hold its
// top and which starts above it; stacked, the member of its columns ending at its top.
void RegionMerger::Insert(const Rect& r) {
    Column& startingWith = m_byLeft[Index(r.left)];
    Column& endingWith = m_byRight[Index(r.right)];
    const auto place = startingWith.insert(FirstFrom(startingWith, r.top), r);
    endingWith.insert(FirstFrom(endingWith, r.top), r);
    m_sideBySideCandidates.Wait(r.top, r.left);
    m_stackedCandidates.Wait(r.top, r.left);

    const Column& endingAtLeft = m_byRight[Index(r.left)];
    auto leftNeighbour = FirstFrom(endingAtLeft, r.top + 1);
    if (leftNeighbour != endingAtLeft.begin() && (--leftNeighbour)->bottom > r.top) {
        m_sideBySideCandidates.Wait(leftNeighbour->top, leftNeighbour->left);
    }
    const Column& startingAtRight = m_byLeft[Index(r.right)];
    auto rightNeighbour = FirstFrom(startingAtRight, r.top);
    if (rightNeighbour != startingAtRight.begin() && (--rightNeighbour)->bottom > r.top) {
        m_sideBySideCandidates.Wait(rightNeighbour->top, rightNeighbour->left);
    }
    auto above = place;
    if (above != startingWith.begin() && (--above)->bottom == r.top && above->right == r.right) {
        m_stackedCandidates.Wait(above->top, above->left);
    }
}

void RegionMerger::Erase(const Rect& r) {
    Column& startingWith = m_byLeft[Index(r.left)];
    Column& endingWith = m_byRight[Index(r.right)];
    startingWith.erase(FirstFrom(startingWith, r.top));
    endingWith.erase(FirstFrom(endingWith, r.top));
}

} // namespace Vemo
