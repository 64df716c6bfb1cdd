// Coalesce's merges over a region's members.
#pragma once

#include "foundation/Rect.h"
#include "foundation/Region.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Vemo {

// The merges go in the order of a walk that, after every merge, starts again from the first member: the
// side-by-side pair with the first a (ordered by top, then left) and, for it, the first b after it; and only
// when no such pair is left, the first stacked pair. A small region is walked just so. A larger one finds the
// same pairs through indexes:
//
// A member that has no partner now can only gain one when a member appears beside, above or below it, because
// a pair whose grown strip meets a member stays refused: merges never uncover a pixel. So only new members
// and the members next to them need looking at again. Their corners wait in two queues, one per kind of
// merge, and the smallest waiting corner whose member still has a partner is the walk's first a.
class RegionMerger {
public:
    // members: disjoint, non-empty, ordered by top, then left; they stay so.
    static void MergeAll(std::vector<Rect>& members);

private:
    // (top, left) in one number, ordered as the members are.
    using Corner = std::uint64_t;
    // The waiting corners as a heap, smallest first. A corner named twice waits once: equal corners leave the
    // heap together, as a second wait would only find the same answer.
    using Candidates = std::vector<Corner>;
    // The members whose left (or right) edge lies on one column, ordered by top. Members sharing an edge
    // column are disjoint in their rows, so a column holds few.
    using Column = std::vector<Rect>;

    explicit RegionMerger(const std::vector<Rect>& members);

    static std::array<Rect, 3> SideBySidePieces(const Rect& a, const Rect& b);
    static Rect Strip(const Rect& a, const Rect& b);

    static bool WalkSideBySide(std::vector<Rect>& members);
    static bool WalkStacked(std::vector<Rect>& members);

    bool MergeNextSideBySide();
    bool MergeNextStacked();
    bool SideBySidePartner(const Rect& a, Rect& b) const;
    bool StackedPartner(const Rect& a, Rect& b) const;
    bool StripMeetsMember(const Rect& a, const Rect& b) const;
    bool AnyStartsIn(const std::vector<Column>& columns, std::size_t from, std::size_t to, std::int32_t top,
                     std::int32_t bottom) const;
    bool TakeCandidate(Candidates& candidates, Rect& member);
    static void Wait(Candidates& candidates, const Rect& member);
    std::vector<Rect> Members() const;

    std::int32_t ColumnOf(std::int32_t x) const;
    static Corner CornerOf(const Rect& member);
    void Insert(const Rect& r);
    void Erase(const Rect& r);

    // Every left and right edge the members have, ascending; a member's left and right are numbers of these
    // columns. Merges only reuse edges, so the columns hold every member's edges until the end.
    std::vector<std::int32_t> m_edges;
    std::vector<Column> m_byLeft;
    std::vector<Column> m_byRight;
    Candidates m_sideBySideCandidates;
    Candidates m_stackedCandidates;
};

} // namespace Vemo
