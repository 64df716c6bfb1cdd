// The union or difference of two regions' members, swept down the rows in one pass.
#pragma once

#include "foundation/Rect.h"

#include <vector>

namespace Vemo {

// Both inputs hold disjoint non-empty rectangles ordered by top, then left. The result covers exactly the
// pixels of the union (or of the first less the second) and is coalesced: in every row it spans, a member is
// one maximal run of covered pixels, and consecutive rows with the same run belong to one member. That
// decomposition is unique to the covered pixels, and no merge applies to it: two members never touch side by
// side within a common row (their runs would be one) and never stack with the same columns (they would be one
// member). The members come out ordered by top, then left.
//
// The sweep stops only at rows where an input member starts or ends; between two such rows nothing changes.
// At each stop it updates each input's list of members crossing the row, works out the row's runs from the
// two lists, and matches each run against the runs of the row above: an unchanged run extends its member, any
// other starts a new member and ends the old. The cost follows the number of stops times the members crossing
// each, not the pairs of members.
class RegionSweep {
public:
    enum class Operation { Union, Difference };

    static std::vector<Rect> Combine(const std::vector<Rect>& first, const std::vector<Rect>& second,
                                     Operation operation);
};

} // namespace Vemo
