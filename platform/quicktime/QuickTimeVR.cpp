#include "platform/quicktime/Calls.h"
#include "platform/quicktime/QuickTime.h"

#include <string>

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

namespace {

// The one instance a reported VR track gives; nothing is behind it.
QTVRInstance TestInstance() {
    static char record = 0;
    return reinterpret_cast<QTVRInstance>(&record);
}

} // namespace

Track QTVRGetQTVRTrack(Movie movie, std::int32_t index) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (index != 1 || !layer.IsMovie(movie)) {
        return nullptr;
    }
    if (movie->vrTrack != nullptr) {
        return movie->vrTrack;
    }
    return layer.vrTrackReported && !movie->tracks.empty() ? movie->tracks.front().get() : nullptr;
}

OSErr QTVRGetQTVRInstance(QTVRInstance* instance, Track vrTrack, MovieController) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (instance == nullptr) {
        return paramErr;
    }
    *instance = layer.vrTrackReported && vrTrack != nullptr ? TestInstance() : nullptr;
    return *instance != nullptr ? noErr : paramErr;
}

OSErr QTVRSetAngularUnits(QTVRInstance instance, std::int32_t units) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (instance == nullptr || instance != TestInstance()) {
        return paramErr;
    }
    layer.vrCalls.push_back("SetAngularUnits " + std::to_string(units));
    return noErr;
}

OSErr QTVRSetControlSetting(QTVRInstance instance, std::int32_t setting, Boolean enable) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (instance == nullptr || instance != TestInstance()) {
        return paramErr;
    }
    layer.vrCalls.push_back("SetControlSetting " + std::to_string(setting) + " " +
                            (enable ? "true" : "false"));
    return noErr;
}

} // namespace qt
