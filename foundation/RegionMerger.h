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
    // The members whose left (or right) edge lies on one column, ordered by top. Members sharing an edge
    // column are disjoint in their rows, so a column holds few.
    using Column = std::vector<Rect>;

    // The waiting corners, smallest first: for each row the columns waiting on it, and a bit for each row that
    // has any. A corner named twice waits once, as a second wait would only find the same answer.
    class Candidates {
    public:
        // Every member waits, and nothing else.
        void Start(std::size_t rows, const std::vector<Rect>& members);
        void Wait(std::int32_t row, std::int32_t column);
        // The smallest waiting corner, which stops waiting; false when none waits.
        bool Take(std::int32_t& row, std::int32_t& column);

    private:
        std::vector<std::vector<std::int32_t>> m_columns;
        std::vector<std::uint64_t> m_waitingRows;
        // No row below the rows of this word waits.
        std::size_t m_lowestWord = 0;
    };

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
    std::vector<Rect> Members() const;

    void Insert(const Rect& r);
    void Erase(const Rect& r);

    // Every left and right edge the members have, ascending, and every top and bottom: inside the merger a
    // member's edges are the numbers of these columns and rows. Merges only compare edges and take the
    // smaller or larger of two, which the numbering keeps, and only reuse edges, so the numbers hold every
    // member's edges until the end.
    std::vector<std::int32_t> m_columns;
    std::vector<std::int32_t> m_rows;
    std::vector<Column> m_byLeft;
    std::vector<Column> m_byRight;
    Candidates m_sideBySideCandidates;
    Candidates m_stackedCandidates;
};

} // namespace Vemo
