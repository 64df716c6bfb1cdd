#include "platform/quicktime/Calls.h"
#include "platform/quicktime/QuickTime.h"

namespace qt {

int QuickTimeVRLibrary_Load() {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (std::optional<OSErr> failure = layer.TakeFailure("QuickTimeVRLibrary_Load")) {
        return *failure;
    }
    ++layer.vrLibraryLoads;
    return 0;
}

void QuickTimeVRLibrary_Unload() {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (layer.vrLibraryLoads > 0) {
        --layer.vrLibraryLoads;
    }
}

Track QTVRGetQTVRTrack(Movie, std::int32_t) {
    return nullptr;
}

OSErr QTVRGetQTVRInstance(QTVRInstance* instance, Track, MovieController) {
    if (instance != nullptr) {
        *instance = nullptr;
    }
    return paramErr;
}

OSErr QTVRSetAngularUnits(QTVRInstance, std::int32_t) {
    return paramErr;
}

OSErr QTVRSetControlSetting(QTVRInstance, std::int32_t, Boolean) {
    return paramErr;
}

} // namespace qt
