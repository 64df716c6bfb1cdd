#include "runtime/states/MovieTrackEditing.h"

#include "engines/media/Movie.h"
#include "engines/media/quicktime/QuickTimeMovieHandle.h"
#include "platform/quicktime/QuickTime.h"

#include <algorithm>

namespace {

// The enabled tracks that show pictures.
constexpr std::int32_t kEnabledVisualTracks = qt::movieTrackCharacteristic | qt::movieTrackEnabledOnly;
// Searching backwards for the previous sample edge.
constexpr qt::Fixed kBackwards = -0x10000;

void ExtendTrack(qt::Track track, qt::TimeValue movieDuration, std::uint32_t target) {
    const qt::TimeValue offset = qt::GetTrackOffset(track);
    const qt::TimeValue duration = qt::GetTrackDuration(track);
    const qt::TimeValue end = offset + duration;
    // Only tracks that run to the movie's end are held; one that ends earlier leaves a gap on purpose.
    if (static_cast<std::uint32_t>(end) >= target || end < movieDuration) {
        return;
    }
    qt::TimeValue lastSample = 0;
    qt::GetTrackNextInterestingTime(track, qt::nextTimeStep, duration, kBackwards, &lastSample, nullptr);
    if (lastSample < 0) {
        lastSample = 0;
    }
    qt::ScaleTrackSegment(track, lastSample, duration - lastSample,
                          static_cast<qt::TimeValue>(target) - lastSample - offset);
}

} // namespace

bool ExtendVisualTracks(Vemo::Movie& movie, std::uint32_t target) {
    Vemo::QuickTimeMovieHandle* handle = Vemo::QuickTimeMovieHandle::FromMovieHandle(movie.GetMovieHandle());
    if (handle == nullptr || handle->GetMovie() == nullptr) {
        return false;
    }
    const qt::Movie quickTimeMovie = handle->GetMovie();
    const qt::TimeValue movieDuration = qt::GetMovieDuration(quickTimeMovie);
    for (std::int32_t index = 1;; ++index) {
        const qt::Track track = qt::GetMovieIndexedTrackOfType(
            quickTimeMovie, index, qt::VisualMediaCharacteristic, kEnabledVisualTracks);
        if (track == nullptr) {
            return true;
        }
        ExtendTrack(track, movieDuration, target);
    }
}

bool MixSoundIntoMovie(Vemo::Movie& movie, Vemo::Movie& sound, bool audioOnly) {
    const std::uint32_t soundDuration = sound.GetDuration(Vemo::MediaTimeUnit::Native);
    if (soundDuration > movie.GetDuration(Vemo::MediaTimeUnit::Native)) {
        ExtendVisualTracks(movie, soundDuration);
    }
    const std::uint32_t length = std::min(soundDuration, movie.GetDuration(Vemo::MediaTimeUnit::Native));
    return audioOnly ? movie.InsertAudioSegment(sound, 0, 0, length, Vemo::MediaTimeUnit::Native)
                     : movie.InsertSegment(sound, 0, 0, length, Vemo::MediaTimeUnit::Native);
}
