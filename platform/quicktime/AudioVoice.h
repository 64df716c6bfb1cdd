// The samples of an audible media as stereo floats at the media's own rate, decoded around the position the
// mixer asks for. Sound added in memory is read as it is. Internal to the layer.
#pragma once

#include "platform/quicktime/StreamDecoder.h"

extern "C" {
#include <libswresample/swresample.h>
}

#include <cstdint>
#include <deque>
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
    std::deque<float> m_buffer;
    std::int64_t m_first = 0;
    std::int64_t m_seekTarget = 0;
    std::vector<float> m_converted;
};

} // namespace qt::detail
