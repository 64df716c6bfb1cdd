#include "platform/testing/VrControllerTesting.h"

#include "platform/quicktime/Calls.h"
#include "platform/quicktime/QTVRInstanceRecord.h"

namespace qt::testing {

std::optional<VRState> GetVRState(MovieController controller) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (!layer.IsController(controller) || controller->vr == nullptr) {
        return std::nullopt;
    }
    const QTVRInstanceRecord::State state = controller->vr->GetState();
    return VRState{state.node,
                   state.pan,
                   state.tilt,
                   state.fieldOfView,
                   state.column,
                   state.row,
                   state.lastHotSpotClicked,
                   state.hotSpotClicks,
                   static_cast<VRCursor>(state.cursor)};
}

} // namespace qt::testing
