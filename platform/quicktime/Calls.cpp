#include "platform/quicktime/Calls.h"

#include <algorithm>

namespace qt::detail {

namespace {

OSErr Finish(OSErr error) {
    SetMoviesError(error);
    return error;
}

} // namespace

OSErr Enter(Layer& layer, const char* call) {
    return Finish(layer.TakeFailure(call).value_or(noErr));
}

OSErr Enter(Layer& layer, const char* call, Movie movie) {
    if (std::optional<OSErr> failure = layer.TakeFailure(call)) {
        return Finish(*failure);
    }
    return Finish(layer.IsMovie(movie) ? noErr : invalidMovie);
}

OSErr Enter(Layer& layer, const char* call, Track track) {
    if (std::optional<OSErr> failure = layer.TakeFailure(call)) {
        return Finish(*failure);
    }
    return Finish(layer.IsTrack(track) ? noErr : invalidTrack);
}

OSErr Enter(Layer& layer, const char* call, Media media) {
    if (std::optional<OSErr> failure = layer.TakeFailure(call)) {
        return Finish(*failure);
    }
    return Finish(layer.IsMedia(media) ? noErr : invalidMedia);
}

OSErr Enter(Layer& layer, const char* call, MovieController controller) {
    if (std::optional<OSErr> failure = layer.TakeFailure(call)) {
        return Finish(*failure);
    }
    return Finish(layer.IsController(controller) && layer.IsMovie(controller->movie) ? noErr : paramErr);
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
