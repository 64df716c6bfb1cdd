#include "platform/quicktime/Calls.h"
#include "platform/quicktime/MovieTask.h"
#include "platform/quicktime/QTVRInstanceRecord.h"
#include "platform/quicktime/QuickTime.h"

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace qt {

namespace {

using detail::Enter;
using detail::Layer;
using detail::LayerGuard;

TimeValue Clamp32(double value) {
    return static_cast<TimeValue>(std::clamp(std::floor(value), -2147483648.0, 2147483647.0));
}

void ReportDecodeError(MovieRecord& movie) {
    if (movie.decodeError != noErr) {
        detail::SetMoviesError(movie.decodeError);
    }
}

} // namespace

Movie NewMovie(std::int32_t flags) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "NewMovie") != noErr) {
        return nullptr;
    }
    if (layer.movieServicesStarts == 0) {
        detail::SetMoviesError(movieToolboxUninitialized);
        return nullptr;
    }
    layer.OpenAudio();
    auto* movie = new MovieRecord();
    movie->SetActive((flags & newMovieActive) != 0);
    return movie;
}

OSErr NewMovieFromFile(Movie* movie, std::int16_t refNum, std::int16_t* resId, const unsigned char*,
                       std::int16_t flags, Boolean* dataRefWasChanged) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (movie != nullptr) {
        *movie = nullptr;
    }
    if (dataRefWasChanged != nullptr) {
        *dataRefWasChanged = 0;
    }
    if (OSErr error = Enter(layer, "NewMovieFromFile"); error != noErr) {
        return error;
    }
    OSErr error = noErr;
    auto file = layer.files.find(refNum);
    if (movie == nullptr) {
        error = paramErr;
    } else if (layer.movieServicesStarts == 0) {
        error = movieToolboxUninitialized;
    } else if (file == layer.files.end()) {
        error = rfNumErr;
    } else if (std::shared_ptr<detail::MediaSource> source =
                   detail::MediaSource::FromFile(file->second.descriptor);
               source == nullptr) {
        error = ioErr;
    } else {
        error = detail::ReadMovie(source, *movie, file->second.hostPath);
    }
    if (error == noErr) {
        layer.OpenAudio();
        (*movie)->SetActive((flags & newMovieActive) != 0);
        if (resId != nullptr) {
            *resId = 128;
        }
    }
    detail::SetMoviesError(error);
    return error;
}

OSErr AddMovieResource(Movie movie, std::int16_t refNum, std::int16_t* resId, const unsigned char*) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (OSErr error = Enter(layer, "AddMovieResource", movie); error != noErr) {
        return error;
    }
    auto file = layer.files.find(refNum);
    OSErr error = noErr;
    if (file == layer.files.end()) {
        error = rfNumErr;
    } else if (!file->second.writable) {
        error = wrPermErr;
    } else {
        error = detail::WriteMovie(*movie, file->second.hostPath, file->second.descriptor);
    }
    if (error == noErr && resId != nullptr) {
        *resId = 128;
    }
    detail::SetMoviesError(error);
    return error;
}

void DisposeMovie(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    std::optional<OSErr> failure = layer.TakeFailure("DisposeMovie");
    if (!layer.IsMovie(movie)) {
        detail::SetMoviesError(invalidMovie);
        return;
    }
    for (ControllerRecord* controller : layer.controllers) {
        if (controller->movie == movie) {
            // Its VR instance shows the movie's nodes: it goes with the movie.
            controller->vr.reset();
            controller->movie = nullptr;
        }
    }
    delete movie;
    detail::SetMoviesError(failure.value_or(noErr));
}

OSErr GetMoviesError() {
    return detail::MoviesError();
}

OSErr LoadMovieIntoMemory(Movie movie, TimeValue, TimeValue, std::int32_t flags) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (OSErr error = Enter(layer, "LoadMovieIntoMemory", movie); error != noErr) {
        return error;
    }
    OSErr error = noErr;
    if (movie->source != nullptr) {
        if ((flags & keepInRam) != 0 && !movie->source->KeepInMemory()) {
            error = couldNotResolveDataRef;
        }
        if ((flags & (unkeepInRam | flushFromRam)) != 0) {
            movie->source->ReleaseMemory();
        }
    }
    detail::SetMoviesError(error);
    return error;
}

void SetMoviePlayHints(Movie movie, std::int32_t flags, std::int32_t flagsMask) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "SetMoviePlayHints", movie) == noErr) {
        movie->playHints = (movie->playHints & ~flagsMask) | (flags & flagsMask);
    }
}

void StartMovie(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "StartMovie", movie) == noErr) {
        movie->SetActive(true);
        movie->SetRate(movie->preferredRate);
    }
}

void StopMovie(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "StopMovie", movie) == noErr) {
        movie->SetRate(0);
    }
}

void GoToMovieStart(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "GoToMovieStart", movie) == noErr) {
        movie->SetTime(0);
    }
}

void GoToMovieEnd(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "GoToMovieEnd", movie) == noErr) {
        movie->SetTime(static_cast<double>(movie->Duration()));
    }
}

void SetMovieTimeValue(Movie movie, TimeValue value) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "SetMovieTimeValue", movie) == noErr) {
        movie->SetTime(value);
    }
}

TimeValue GetMovieTime(Movie movie, TimeRecord* currentTime) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "GetMovieTime", movie) != noErr) {
        return 0;
    }
    const TimeValue time = Clamp32(movie->Now());
    if (currentTime != nullptr) {
        *currentTime = TimeRecord{time, movie->scale, &movie->timeBase};
    }
    return time;
}

TimeScale GetMovieTimeScale(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "GetMovieTimeScale", movie) == noErr ? movie->scale : 0;
}

TimeBase GetMovieTimeBase(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "GetMovieTimeBase", movie) == noErr ? &movie->timeBase : nullptr;
}

TimeValue GetMovieDuration(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "GetMovieDuration", movie) == noErr ? Clamp32(static_cast<double>(movie->Duration()))
                                                            : 0;
}

Fixed GetMoviePreferredRate(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "GetMoviePreferredRate", movie) == noErr ? movie->preferredRate : 0;
}

void SetMoviePreferredRate(Movie movie, Fixed rate) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "SetMoviePreferredRate", movie) == noErr) {
        movie->preferredRate = rate;
    }
}

OSErr PrerollMovie(Movie movie, TimeValue, Fixed) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "PrerollMovie", movie);
}

Boolean IsMovieDone(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "IsMovieDone", movie) != noErr) {
        return 1;
    }
    return movie->IsDone() ? 1 : 0;
}

void TaskMovies(Movie movie, std::int32_t) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (movie == nullptr) {
        if (Enter(layer, "TaskMovies") != noErr) {
            return;
        }
        layer.PumpAudio();
        for (MovieRecord* each : std::vector<MovieRecord*>(layer.movies.begin(), layer.movies.end())) {
            if (layer.IsMovie(each) && each->Active()) {
                detail::TaskMovie(*each);
                ReportDecodeError(*each);
            }
        }
        return;
    }
    if (Enter(layer, "TaskMovies", movie) != noErr) {
        return;
    }
    layer.PumpAudio();
    if (layer.IsMovie(movie) && movie->Active()) {
        detail::TaskMovie(*movie);
        ReportDecodeError(*movie);
    }
}

void SetMovieActive(Movie movie, Boolean active) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "SetMovieActive", movie) == noErr) {
        movie->SetActive(active != 0);
    }
}

Boolean GetMovieActive(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "GetMovieActive", movie) == noErr && movie->Active() ? 1 : 0;
}

void SetMovieVolume(Movie movie, std::int16_t volume) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "SetMovieVolume", movie) == noErr) {
        movie->volume = volume;
    }
}

std::int16_t GetMovieVolume(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "GetMovieVolume", movie) == noErr ? movie->volume : 0;
}

void GetMovieBox(Movie movie, Rect* box) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (box == nullptr) {
        detail::SetMoviesError(paramErr);
        return;
    }
    *box = Rect{};
    if (Enter(layer, "GetMovieBox", movie) == noErr) {
        *box = movie->box;
    }
}

void SetMovieBox(Movie movie, const Rect* box) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "SetMovieBox", movie) != noErr) {
        return;
    }
    if (box == nullptr || box->right < box->left || box->bottom < box->top) {
        detail::SetMoviesError(paramErr);
        return;
    }
    movie->box = *box;
}

void GetMovieNextInterestingTime(Movie movie, std::int16_t flags, std::int16_t, const OSType*, TimeValue time,
                                 Fixed rate, TimeValue* interestingTime, TimeValue* interestingDuration) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "GetMovieNextInterestingTime", movie) != noErr) {
        detail::NearestEdge({}, 0, flags, time, rate, interestingTime, interestingDuration);
        return;
    }
    std::vector<std::int64_t> edges;
    for (const auto& track : movie->tracks) {
        if (track->enabled && track->IsVisual()) {
            std::vector<std::int64_t> more = track->Edges();
            edges.insert(edges.end(), more.begin(), more.end());
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    detail::NearestEdge(edges, movie->Duration(), flags, time, rate, interestingTime, interestingDuration);
}

void GetMovieGraphicsPort(Movie movie, CGrafPtr* port, GDHandle* device) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    const bool valid = Enter(layer, "GetMovieGraphicsPort", movie) == noErr;
    if (port != nullptr) {
        *port = valid ? movie->port : nullptr;
    }
    if (device != nullptr) {
        *device = valid ? movie->device : nullptr;
    }
}

void SetMovieGraphicsPort(Movie movie, CGrafPtr port, GDHandle device) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "SetMovieGraphicsPort", movie) != noErr) {
        return;
    }
    if (port != nullptr && !layer.IsPort(port)) {
        detail::SetMoviesError(paramErr);
        return;
    }
    if (movie->port != port) {
        detail::ForgetPicture(*movie);
    }
    movie->port = port;
    movie->device = device;
}

} // namespace qt
