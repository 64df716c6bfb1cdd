// The list of front-ends that a graphic or viewport handle tells about its events, in the order they were
// attached. The list holds no references: the Graphic System adds a front-end when it is attached and removes
// it when it is detached.
#pragma once

#include "foundation/BasicList.h"

#include <algorithm>
#include <vector>

namespace Vemo {

// Calls visit on every front-end of the list, first attached first. A front-end that leaves the list before
// its turn (closed or destroyed by an earlier one's handler) is skipped, and one attached meanwhile waits for
// the next walk.
template <class T, class Visit>
void VisitAttached(BasicList<T*>& list, Visit visit) {
    const std::vector<T*> order(list.begin(), list.end());
    for (T* frontEnd : order) {
        if (std::find(list.begin(), list.end(), frontEnd) != list.end()) {
            visit(*frontEnd);
        }
    }
}

} // namespace Vemo
