// The samples of an audible media as stereo floats at the media's own rate, decoded around the position the
// mixer asks for. Sound added in memory is read as it is. Internal to the layer.
#pragma once

#include "platform/quicktime/StreamDecoder.h"

extern "C" {
#include <libswresample/swresample.h>
}

#include <cstdint>
#include <vector>

namespace qt::detail {

class AudioVoice {
public:
    explicit AudioVoice(const MediaRecord& media);
    ~AudioVoice();
    AudioVoice(const AudioVoice&) = delete;
    AudioVoice& operator=(const AudioVoice&) = delete;

    // Samples a second.
    double Rate() const;
    // The sample at an index (0 at media time 0); silence outside the media or where it cannot be decoded.
    void Sample(std::int64_t index, float& left, float& right);

    // The samples that lie in memory now, two floats each, frame `first` at data[0]: what Sample gives for
    // these indices without decoding. Valid until the next Sample.
    struct Window {
        const float* data = nullptr;
        std::int64_t first = 0;
        std::int64_t count = 0;

        // The two frames from index on, or null when either is not in memory.
        const float* Pair(std::int64_t index) const {
            const std::int64_t at = index - first;
            return at >= 0 && at + 1 < count ? data + at * 2 : nullptr;
        }
    };
    Window Ready() const;

private:
    bool Prepare();
    bool Seek(std::int64_t index);
    // Decodes the next frame onto the buffer's end; false at the end or on an error.
    bool DecodeMore();
    void Append(const AVFrame* frame);

    const MediaRecord& m_media;
    StreamDecoder m_stream;
    SwrContext* m_resampler = nullptr;
    AVFrame* m_frame = nullptr;
    bool m_prepared = false;
    bool m_mono = false;
    bool m_atEnd = false;
    // Decoded samples from m_first on, two floats each.
    std::vector<float> m_buffer;
    std::int64_t m_first = 0;
    // The sample the last seek asked for (0 before any), and the first one decoded since: the media has
    // nothing between the two. Samples let go from the buffer's front since then lie after them.
    std::int64_t m_seekTarget = 0;
    std::int64_t m_seekFirst = 0;
    bool m_seekFirstKnown = false;
    std::vector<float> m_converted;
};

} // namespace qt::detail
