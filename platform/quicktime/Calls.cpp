#include "platform/quicktime/Calls.h"

#include <algorithm>

namespace qt::detail {

namespace {

OSErr Finish(OSErr error) {
    SetMoviesError(error);
    return error;
}

OSErr Check(Layer& layer, const char* call, bool valid, OSErr invalid) {
    if (std::optional<OSErr> failure = layer.TakeFailure(call)) {
        return Finish(*failure);
    }
    return Finish(valid ? noErr : invalid);
}

} // namespace

OSErr Enter(Layer& layer, const char* call) {
    return Check(layer, call, true, noErr);
}

OSErr Enter(Layer& layer, const char* call, Movie movie) {
    return Check(layer, call, layer.IsMovie(movie), invalidMovie);
}

OSErr Enter(Layer& layer, const char* call, Track track) {
    return Check(layer, call, layer.IsTrack(track), invalidTrack);
}

OSErr Enter(Layer& layer, const char* call, Media media) {
    return Check(layer, call, layer.IsMedia(media), invalidMedia);
}

OSErr Enter(Layer& layer, const char* call, MovieController controller) {
    return Check(layer, call, layer.IsController(controller) && layer.IsMovie(controller->movie), paramErr);
}

// The nearest edge after time (or before it, going backwards); -1 when there is none.
void NearestEdge(const std::vector<std::int64_t>& edges, std::int64_t end, std::int16_t flags, TimeValue time,
                 Fixed rate, TimeValue* found, TimeValue* duration) {
    constexpr std::int16_t nextTimeEdgeOK = 0x4000;
    const bool inclusive = (flags & nextTimeEdgeOK) != 0;
    std::int64_t result = -1;
    if (rate >= 0) {
        auto at = inclusive ? std::lower_bound(edges.begin(), edges.end(), time)
                            : std::upper_bound(edges.begin(), edges.end(), time);
        if (at != edges.end()) {
            result = *at;
        }
    } else {
        auto at = inclusive ? std::upper_bound(edges.begin(), edges.end(), time)
                            : std::lower_bound(edges.begin(), edges.end(), time);
        if (at != edges.begin()) {
            result = *(at - 1);
        }
    }
    if (found != nullptr) {
        *found = static_cast<TimeValue>(result);
    }
    if (duration != nullptr) {
        std::int64_t length = 0;
        if (result >= 0) {
            auto next = std::upper_bound(edges.begin(), edges.end(), result);
            length = (next != edges.end() ? *next : end) - result;
        }
        *duration = static_cast<TimeValue>(length);
    }
}

} // namespace qt::detail
