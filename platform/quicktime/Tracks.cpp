#include "platform/quicktime/Calls.h"
#include "platform/quicktime/QuickTime.h"

#include <algorithm>
#include <cstring>

namespace qt {

namespace {

using detail::Enter;
using detail::Layer;
using detail::LayerGuard;

bool Matches(const TrackRecord& track, OSType type, std::int32_t flags) {
    if ((flags & movieTrackEnabledOnly) != 0 && !track.enabled) {
        return false;
    }
    if ((flags & movieTrackCharacteristic) != 0) {
        if (type == VisualMediaCharacteristic) {
            return track.IsVisual();
        }
        if (type == AudioMediaCharacteristic) {
            return track.IsAudible();
        }
        return false;
    }
    if ((flags & movieTrackMediaType) != 0) {
        return track.media != nullptr && track.media->type == type;
    }
    return true;
}

void TracksChanged(MovieRecord& movie) {
    movie.Changed();
    for (auto& track : movie.tracks) {
        track->voiceValid = false;
    }
}

OSErr Finish(OSErr error) {
    detail::SetMoviesError(error);
    return error;
}

// Decodes sound bytes to stereo floats.
void AppendSamples(MediaRecord& media, const MediaRecord::Chunk& chunk) {
    const int bytesPerSample = chunk.bits / 8;
    const bool bigEndian = chunk.format == MakeOSType("twos");
    const bool offsetBinary = chunk.format == MakeOSType("raw ");
    for (std::int64_t sample = 0; sample < chunk.samples; ++sample) {
        float values[2] = {0, 0};
        for (int channel = 0; channel < chunk.channels; ++channel) {
            const std::uint8_t* at =
                chunk.bytes.data() + (sample * chunk.channels + channel) * bytesPerSample;
            float value;
            if (bytesPerSample == 1) {
                value = offsetBinary ? (static_cast<float>(at[0]) - 128.0f) / 128.0f
                                     : static_cast<float>(static_cast<std::int8_t>(at[0])) / 128.0f;
            } else {
                const auto raw =
                    static_cast<std::int16_t>(bigEndian ? (at[0] << 8) | at[1] : (at[1] << 8) | at[0]);
                value = static_cast<float>(raw) / 32768.0f;
            }
            values[channel] = value;
        }
        media.samples.push_back(values[0]);
        media.samples.push_back(chunk.channels == 2 ? values[1] : values[0]);
    }
}

} // namespace

std::int32_t GetMovieTrackCount(Movie movie) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "GetMovieTrackCount", movie) == noErr
               ? static_cast<std::int32_t>(movie->tracks.size())
               : 0;
}

Track GetMovieIndexedTrack(Movie movie, std::int32_t index) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "GetMovieIndexedTrack", movie) != noErr) {
        return nullptr;
    }
    if (index < 1 || index > static_cast<std::int32_t>(movie->tracks.size())) {
        detail::SetMoviesError(badTrackIndex);
        return nullptr;
    }
    return movie->tracks[static_cast<std::size_t>(index - 1)].get();
}

Track GetMovieIndexedTrackOfType(Movie movie, std::int32_t index, OSType type, std::int32_t flags) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "GetMovieIndexedTrackOfType", movie) != noErr) {
        return nullptr;
    }
    std::int32_t seen = 0;
    for (auto& track : movie->tracks) {
        if (Matches(*track, type, flags) && ++seen == index) {
            return track.get();
        }
    }
    return nullptr;
}

OSErr AddEmptyTrackToMovie(Track srcTrack, Movie dstMovie, Handle, OSType, Track* dstTrack) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (dstTrack != nullptr) {
        *dstTrack = nullptr;
    }
    if (OSErr error = Enter(layer, "AddEmptyTrackToMovie", srcTrack); error != noErr) {
        return error;
    }
    if (!layer.IsMovie(dstMovie)) {
        return Finish(invalidMovie);
    }
    if (dstTrack == nullptr || srcTrack->media == nullptr) {
        return Finish(paramErr);
    }
    auto track = std::make_unique<TrackRecord>(dstMovie, srcTrack->media);
    track->enabled = srcTrack->enabled;
    track->volume = srcTrack->volume;
    *dstTrack = track.get();
    dstMovie->tracks.push_back(std::move(track));
    return noErr;
}

OSErr InsertTrackSegment(Track srcTrack, Track dstTrack, TimeValue srcIn, TimeValue srcDuration,
                         TimeValue dstIn) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (OSErr error = Enter(layer, "InsertTrackSegment", srcTrack); error != noErr) {
        return error;
    }
    if (!layer.IsTrack(dstTrack)) {
        return Finish(invalidTrack);
    }
    if (srcIn < 0 || srcDuration < 0 || dstIn < 0) {
        return Finish(invalidTime);
    }
    if (dstTrack->media == nullptr || srcTrack->media == nullptr) {
        return Finish(invalidMedia);
    }
    if (dstTrack->media != srcTrack->media) {
        return Finish(mediaTypesDontMatch);
    }
    std::vector<Edit> edits = TrackRecord::Rescaled(srcTrack->Extract(srcIn, srcDuration),
                                                    srcTrack->movie->scale, dstTrack->movie->scale);
    dstTrack->Insert(dstIn, edits);
    TracksChanged(*dstTrack->movie);
    return noErr;
}

OSErr ScaleTrackSegment(Track track, TimeValue startTime, TimeValue oldDuration, TimeValue newDuration) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (OSErr error = Enter(layer, "ScaleTrackSegment", track); error != noErr) {
        return error;
    }
    if (startTime < 0 || oldDuration <= 0 || newDuration <= 0) {
        return Finish(invalidDuration);
    }
    track->Scale(startTime, oldDuration, newDuration);
    TracksChanged(*track->movie);
    return noErr;
}

OSErr ScaleMovieSegment(Movie movie, TimeValue startTime, TimeValue oldDuration, TimeValue newDuration) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (OSErr error = Enter(layer, "ScaleMovieSegment", movie); error != noErr) {
        return error;
    }
    if (startTime < 0 || oldDuration <= 0 || newDuration <= 0) {
        return Finish(invalidDuration);
    }
    for (auto& track : movie->tracks) {
        track->Scale(startTime, oldDuration, newDuration);
    }
    TracksChanged(*movie);
    return noErr;
}

TimeValue GetTrackOffset(Track track) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "GetTrackOffset", track) == noErr ? static_cast<TimeValue>(track->Offset()) : 0;
}

TimeValue GetTrackDuration(Track track) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    return Enter(layer, "GetTrackDuration", track) == noErr
               ? static_cast<TimeValue>(track->End() - track->Offset())
               : 0;
}

void GetTrackNextInterestingTime(Track track, std::int16_t flags, TimeValue time, Fixed rate,
                                 TimeValue* interestingTime, TimeValue* interestingDuration) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "GetTrackNextInterestingTime", track) != noErr || track->media == nullptr) {
        detail::NearestEdge({}, 0, flags, time, rate, interestingTime, interestingDuration);
        return;
    }
    detail::NearestEdge(track->Edges(), track->End(), flags, time, rate, interestingTime,
                        interestingDuration);
}

Track NewMovieTrack(Movie movie, Fixed, Fixed, std::int16_t volume) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "NewMovieTrack", movie) != noErr) {
        return nullptr;
    }
    auto track = std::make_unique<TrackRecord>(movie, nullptr);
    track->volume = volume;
    Track made = track.get();
    movie->tracks.push_back(std::move(track));
    return made;
}

Media NewTrackMedia(Track track, OSType mediaType, TimeScale timeScale, Handle, OSType) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "NewTrackMedia", track) != noErr) {
        return nullptr;
    }
    if (track->media != nullptr || timeScale <= 0) {
        detail::SetMoviesError(paramErr);
        return nullptr;
    }
    if (mediaType != SoundMediaType) {
        detail::SetMoviesError(featureUnsupported);
        return nullptr;
    }
    auto media = std::make_shared<MediaRecord>();
    media->type = mediaType;
    media->unitNumerator = 1;
    media->unitDenominator = timeScale;
    track->media = media;
    return media.get();
}

OSErr BeginMediaEdits(Media media) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (OSErr error = Enter(layer, "BeginMediaEdits", media); error != noErr) {
        return error;
    }
    media->editing = true;
    return noErr;
}

OSErr EndMediaEdits(Media media) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (OSErr error = Enter(layer, "EndMediaEdits", media); error != noErr) {
        return error;
    }
    media->editing = false;
    return noErr;
}

OSErr AddMediaSample(Media media, Handle data, std::int32_t offset, std::uint32_t size,
                     TimeValue durationPerSample, SampleDescriptionHandle description,
                     std::int32_t numberOfSamples, std::int16_t, TimeValue* sampleTime) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (OSErr error = Enter(layer, "AddMediaSample", media); error != noErr) {
        return error;
    }
    if (!media->InMemory()) {
        return Finish(featureUnsupported);
    }
    if (!media->editing) {
        return Finish(invalidEditState);
    }
    auto dataBlock = layer.handles.find(data);
    auto descriptionBlock = layer.handles.find(description);
    if (dataBlock == layer.handles.end() || descriptionBlock == layer.handles.end()) {
        return Finish(nilHandleErr);
    }
    if (descriptionBlock->second->size < static_cast<Size>(sizeof(SoundDescription)) || offset < 0 ||
        static_cast<std::int64_t>(offset) + size > dataBlock->second->size || numberOfSamples <= 0 ||
        durationPerSample <= 0) {
        return Finish(paramErr);
    }
    SoundDescription sound{};
    std::memcpy(&sound, descriptionBlock->second->data, sizeof(sound));
    const bool knownFormat = sound.dataFormat == MakeOSType("raw ") ||
                             sound.dataFormat == MakeOSType("twos") || sound.dataFormat == MakeOSType("sowt");
    if (!knownFormat || (sound.numChannels != 1 && sound.numChannels != 2) ||
        (sound.sampleSize != 8 && sound.sampleSize != 16) ||
        (sound.dataFormat == MakeOSType("raw ") && sound.sampleSize != 8)) {
        return Finish(featureUnsupported);
    }
    const std::int64_t needed =
        static_cast<std::int64_t>(numberOfSamples) * sound.numChannels * (sound.sampleSize / 8);
    if (static_cast<std::int64_t>(size) < needed ||
        (media->unitsPerSample != 0 && media->unitsPerSample != durationPerSample)) {
        return Finish(paramErr);
    }
    media->unitsPerSample = durationPerSample;
    MediaRecord::Chunk chunk;
    chunk.format = sound.dataFormat;
    chunk.channels = sound.numChannels;
    chunk.bits = sound.sampleSize;
    chunk.samples = numberOfSamples;
    const char* bytes = dataBlock->second->data + offset;
    chunk.bytes.assign(bytes, bytes + needed);
    AppendSamples(*media, chunk);
    media->chunks.push_back(std::move(chunk));
    if (sampleTime != nullptr) {
        *sampleTime = static_cast<TimeValue>(media->duration);
    }
    media->duration += static_cast<std::int64_t>(numberOfSamples) * durationPerSample;
    return noErr;
}

OSErr InsertMediaIntoTrack(Track track, TimeValue trackStart, TimeValue mediaTime, TimeValue mediaDuration,
                           Fixed mediaRate) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (OSErr error = Enter(layer, "InsertMediaIntoTrack", track); error != noErr) {
        return error;
    }
    if (track->media == nullptr) {
        return Finish(invalidMedia);
    }
    if (mediaTime < 0 || mediaDuration <= 0 || mediaRate <= 0 ||
        static_cast<std::int64_t>(mediaTime) + mediaDuration > track->media->duration) {
        return Finish(invalidDuration);
    }
    const MediaRecord& media = *track->media;
    const __int128 numerator =
        static_cast<__int128>(mediaDuration) * media.unitNumerator * track->movie->scale * kFixed1;
    const __int128 denominator = static_cast<__int128>(media.unitDenominator) * mediaRate;
    const auto length = static_cast<std::int64_t>((numerator + denominator / 2) / denominator);
    const std::int64_t at = trackStart < 0 ? track->End() : trackStart;
    track->Insert(at, {Edit{std::max<std::int64_t>(1, length), mediaTime, mediaDuration}});
    TracksChanged(*track->movie);
    return noErr;
}

TimeValue GetMediaDuration(Media media) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "GetMediaDuration", media) != noErr) {
        return 0;
    }
    return static_cast<TimeValue>(std::min<std::int64_t>(media->duration, INT32_MAX));
}

} // namespace qt
