// Test-only look at what a QuickTime VR movie's controller shows: the node, the view (degrees, whatever
// angular units the instance was given), the object view, the hot-spot clicks that entered no node and the
// pointer's look.
#pragma once

#include "platform/quicktime/QuickTime.h"

#include <cstdint>
#include <optional>

namespace qt::testing {

enum class VRCursor { Arrow, Pan, Link, Translate };

struct VRState {
    std::uint32_t node = 0;
    double pan = 0;
    double tilt = 0;
    double fieldOfView = 0;
    int column = 0;
    int row = 0;
    std::uint32_t lastHotSpotClicked = 0;
    int hotSpotClicks = 0;
    VRCursor cursor = VRCursor::Arrow;
};

// Nothing for a controller that shows no VR movie.
std::optional<VRState> GetVRState(MovieController controller);

} // namespace qt::testing
