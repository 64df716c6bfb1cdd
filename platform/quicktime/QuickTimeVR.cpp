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

Track QTVRGetQTVRTrack(Movie movie, std::int32_t index) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (index != 1 || !layer.IsMovie(movie)) {
        return nullptr;
    }
    return movie->vrTrack;
}

} // namespace qt
