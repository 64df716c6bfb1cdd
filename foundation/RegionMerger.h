// Coalesce's merges over a region's members.
#pragma once

#include "foundation/Rect.h"
#include "foundation/Region.h"

#include <array>
#include <cstdint>
#include <set>
#include <utility>
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
    struct ByLeftEdge {
        bool operator()(const Rect& a, const Rect& b) const {
            return a.left < b.left || (a.left == b.left && a.top < b.top);
        }
    };
    struct ByRightEdge {
        bool operator()(const Rect& a, const Rect& b) const {
            return a.right < b.right || (a.right == b.right && a.top < b.top);
        }
    };
    // (top, left): the member order.
    using Corner = std::pair<std::int32_t, std::int32_t>;
    // A corner waits once however often it is named: a second wait would only find the same answer.
    using Candidates = std::set<Corner>;

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
    bool TakeCandidate(Candidates& candidates, Rect& member);

    void Insert(const Rect& r);
    void Erase(const Rect& r);

    std::set<Rect, Region::RectLess> m_members;
    std::set<Rect, ByLeftEdge> m_byLeft;
    std::set<Rect, ByRightEdge> m_byRight;
    Candidates m_sideBySideCandidates;
    Candidates m_stackedCandidates;
};

} // namespace Vemo
