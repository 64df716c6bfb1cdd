#include "platform/quicktime/Calls.h"
#include "platform/quicktime/QTVRInstanceRecord.h"
#include "platform/quicktime/QuickTime.h"

namespace qt {

namespace {

using detail::Layer;
using detail::LayerGuard;

// Whether the instance belongs to a live controller.
bool IsInstance(Layer& layer, QTVRInstance instance) {
    if (instance == nullptr) {
        return false;
    }
    for (ControllerRecord* controller : layer.controllers) {
        if (controller->vr.get() == instance) {
            return layer.IsMovie(controller->movie);
        }
    }
    return false;
}

} // namespace

OSErr QTVRGetQTVRInstance(QTVRInstance* instance, Track vrTrack, MovieController controller) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (instance == nullptr) {
        return paramErr;
    }
    *instance = nullptr;
    if (std::optional<OSErr> failure = layer.TakeFailure("QTVRGetQTVRInstance")) {
        return *failure;
    }
    if (!layer.IsTrack(vrTrack) || !layer.IsController(controller) || controller->movie != vrTrack->movie ||
        vrTrack->movie->vrTrack != vrTrack || controller->vr == nullptr) {
        return paramErr;
    }
    *instance = controller->vr.get();
    return noErr;
}

OSErr QTVRSetAngularUnits(QTVRInstance instance, std::int32_t units) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (!IsInstance(layer, instance) || (units != kQTVRDegrees && units != kQTVRRadians)) {
        return paramErr;
    }
    instance->angularUnits = units;
    return noErr;
}

OSErr QTVRSetControlSetting(QTVRInstance instance, std::int32_t setting, Boolean enable) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (!IsInstance(layer, instance) || setting < kQTVRWrapPan || setting > kQTVRTranslation) {
        return paramErr;
    }
    instance->SetSetting(setting, enable != 0);
    return noErr;
}

} // namespace qt
