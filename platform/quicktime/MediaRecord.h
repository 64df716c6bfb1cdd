// A track's media: a stream of a file, read by FFmpeg, or sound samples added in memory. Media units last
// unitNumerator / unitDenominator seconds. Tracks of several movies may share one media. Internal to the
// layer; read and written under the layer's lock.
#pragma once

#include "platform/quicktime/MediaSource.h"
#include "platform/quicktime/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qt {

struct MediaRecord {
    MediaRecord();
    ~MediaRecord();
    MediaRecord(const MediaRecord&) = delete;
    MediaRecord& operator=(const MediaRecord&) = delete;

    OSType type = 0;
    std::int64_t unitNumerator = 1;
    std::int64_t unitDenominator = 600;
    std::int64_t duration = 0;

    // A file's stream. origin is the stream timestamp of media time 0.
    std::shared_ptr<detail::MediaSource> source;
    int stream = -1;
    std::int64_t origin = 0;
    int width = 0;
    int height = 0;
    int sampleRate = 0;
    // Media times at which frames begin, ascending.
    std::vector<std::int64_t> frameStarts;

    // Sound added in memory: one stereo frame per sample, each lasting unitsPerSample media units.
    struct Chunk {
        OSType format = 0;
        int channels = 1;
        int bits = 8;
        std::vector<std::uint8_t> bytes;
        std::int64_t samples = 0;
    };
    bool editing = false;
    std::int64_t unitsPerSample = 0;
    std::vector<Chunk> chunks;
    std::vector<float> samples;

    bool InMemory() const { return source == nullptr; }
    bool IsVisual() const { return type == VideoMediaType; }
    bool IsAudible() const { return type == SoundMediaType; }
    double SecondsOf(double units) const {
        return units * static_cast<double>(unitNumerator) / static_cast<double>(unitDenominator);
    }
};

} // namespace qt
