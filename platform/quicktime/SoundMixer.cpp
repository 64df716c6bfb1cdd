#include "platform/quicktime/SoundMixer.h"

#include "platform/quicktime/AudioVoice.h"
#include "platform/quicktime/Layer.h"
#include "platform/quicktime/MovieRecord.h"

#include <algorithm>
#include <cmath>

namespace qt::detail {

namespace {

// A track's sound goes on from where the last block ended while that lies this close to the movie's time
// (in seconds); further off, it starts again at the movie's time.
constexpr double kDriftSeconds = 0.1;

bool Audible(MovieRecord& movie) {
    return movie.Active() && movie.Rate() > 0 && movie.volume > 0 && !movie.IsDone();
}

void RenderTrack(MovieRecord& movie, TrackRecord& track, double now, float* out, std::size_t frames,
                 int sampleRate) {
    if (!track.voice) {
        track.voice = std::make_unique<AudioVoice>(*track.media);
    }
    AudioVoice& voice = *track.voice;
    const double voiceRate = voice.Rate();
    if (voiceRate <= 0) {
        return;
    }
    const double scale = movie.scale;
    const double step = scale * (static_cast<double>(movie.Rate()) / kFixed1) / sampleRate;
    double time =
        track.voiceValid && std::fabs(track.voiceNext - now) < kDriftSeconds * scale ? track.voiceNext : now;
    const double duration = static_cast<double>(movie.Duration());
    const float gain = static_cast<float>(movie.volume) / 256.0f *
                       static_cast<float>(std::max<int>(0, track.volume)) / 256.0f;
    const double samplesPerMediaUnit = voiceRate * track.media->SecondsOf(1.0);
    // The edit and the decoded samples are looked up again only when the time leaves the one or the
    // samples wanted leave the other.
    EditSpan span = track.SpanAt(time);
    AudioVoice::Window window = voice.Ready();
    for (std::size_t i = 0; i < frames; ++i, time += step) {
        if (time >= duration) {
            if (!movie.looping || duration <= 0) {
                break;
            }
            time = std::fmod(time, duration);
        }
        if (!span.Contains(time)) {
            span = track.SpanAt(time);
        }
        if (!span.shows) {
            continue;
        }
        const double position = span.MediaTime(time) * samplesPerMediaUnit;
        const auto index = static_cast<std::int64_t>(std::floor(position));
        const auto fraction = static_cast<float>(position - static_cast<double>(index));
        float left0 = 0, right0 = 0, left1 = 0, right1 = 0;
        if (const float* pair = window.Pair(index)) {
            left0 = pair[0];
            right0 = pair[1];
            left1 = pair[2];
            right1 = pair[3];
        } else {
            voice.Sample(index, left0, right0);
            voice.Sample(index + 1, left1, right1);
            window = voice.Ready();
        }
        out[i * 2] += gain * (left0 + (left1 - left0) * fraction);
        out[i * 2 + 1] += gain * (right0 + (right1 - right0) * fraction);
    }
    track.voiceNext = time;
    track.voiceValid = true;
}

} // namespace

void SoundMixer::Render(float* interleaved, std::size_t frames, int sampleRate) {
    Layer& layer = Layer::Instance();
    std::lock_guard guard(layer.Lock());
    for (MovieRecord* movie : layer.movies) {
        if (!Audible(*movie)) {
            continue;
        }
        const double now = movie->Now();
        for (auto& track : movie->tracks) {
            if (track->enabled && track->IsAudible()) {
                RenderTrack(*movie, *track, now, interleaved, frames, sampleRate);
            }
        }
    }
    for (std::size_t i = 0; i < frames * 2; ++i) {
        interleaved[i] = std::clamp(interleaved[i], -1.0f, 1.0f);
    }
}

} // namespace qt::detail
