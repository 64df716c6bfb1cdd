#include "platform/quicktime/AudioVoice.h"

#include <algorithm>

namespace qt::detail {

namespace {
// How far past the decoded samples a wanted one may lie before seeking beats decoding on, and how much is
// kept behind the position asked for.
constexpr double kDecodeAheadSeconds = 1.0;
constexpr double kKeepBehindSeconds = 0.25;
} // namespace

AudioVoice::AudioVoice(const MediaRecord& media) : m_media(media), m_stream(media) {}

AudioVoice::~AudioVoice() {
    av_frame_free(&m_frame);
    swr_free(&m_resampler);
}

double AudioVoice::Rate() const {
    if (m_media.InMemory()) {
        return m_media.unitsPerSample > 0
                   ? static_cast<double>(m_media.unitDenominator) /
                         (static_cast<double>(m_media.unitNumerator) * m_media.unitsPerSample)
                   : 0;
    }
    return m_media.sampleRate;
}

bool AudioVoice::Prepare() {
    if (m_prepared) {
        return !m_stream.Failed();
    }
    m_prepared = true;
    if (!m_stream.Ready()) {
        return false;
    }
    AVCodecContext* codec = m_stream.Codec();
    m_frame = av_frame_alloc();
    if (codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&codec->ch_layout, codec->ch_layout.nb_channels);
    }
    // Mono stays mono (and is doubled in Append) so that it keeps its level; more channels mix to stereo.
    m_mono = codec->ch_layout.nb_channels == 1;
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (m_frame == nullptr ||
        swr_alloc_set_opts2(&m_resampler, m_mono ? &mono : &stereo, AV_SAMPLE_FMT_FLT, codec->sample_rate,
                            &codec->ch_layout, codec->sample_fmt, codec->sample_rate, 0, nullptr) < 0 ||
        swr_init(m_resampler) < 0) {
        m_stream.Fail(cantFindHandler);
        return false;
    }
    return true;
}

void AudioVoice::Append(const AVFrame* frame) {
    const std::int64_t stamp = frame->best_effort_timestamp;
    const std::int64_t end = m_first + static_cast<std::int64_t>(m_buffer.size() / 2);
    if (m_buffer.empty() && stamp != AV_NOPTS_VALUE) {
        const AVRational base = m_stream.Stream()->time_base;
        m_first = av_rescale_q(stamp - m_media.origin, base, AVRational{1, m_media.sampleRate});
    } else if (stamp == AV_NOPTS_VALUE && m_buffer.empty()) {
        m_first = end;
    }
    m_converted.resize(static_cast<std::size_t>(frame->nb_samples) * 2 + 64);
    auto* out = reinterpret_cast<std::uint8_t*>(m_converted.data());
    int count = swr_convert(m_resampler, &out, frame->nb_samples + 32,
                            const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
    if (count <= 0) {
        return;
    }
    if (!m_seekFirstKnown) {
        m_seekFirst = m_first;
        m_seekFirstKnown = true;
    }
    if (!m_mono) {
        m_buffer.insert(m_buffer.end(), m_converted.begin(), m_converted.begin() + count * 2);
        return;
    }
    for (int i = 0; i < count; ++i) {
        m_buffer.push_back(m_converted[static_cast<std::size_t>(i)]);
        m_buffer.push_back(m_converted[static_cast<std::size_t>(i)]);
    }
}

bool AudioVoice::DecodeMore() {
    if (!m_stream.Next(m_frame)) {
        m_atEnd = true;
        return false;
    }
    Append(m_frame);
    return true;
}

bool AudioVoice::Seek(std::int64_t index) {
    // Decoding goes on until the buffer reaches the index, and the first frame decoded puts m_first at its own
    // time: until then the empty buffer starts where the seek went.
    m_buffer.clear();
    m_first = index;
    m_atEnd = false;
    m_seekFirstKnown = false;
    const AVRational base = m_stream.Stream()->time_base;
    return m_stream.Seek(av_rescale_q(index, AVRational{1, m_media.sampleRate}, base) + m_media.origin);
}

AudioVoice::Window AudioVoice::Ready() const {
    if (m_media.InMemory()) {
        return {m_media.samples.data(), 0, static_cast<std::int64_t>(m_media.samples.size() / 2)};
    }
    if (!m_prepared || m_media.sampleRate <= 0 || m_stream.Failed()) {
        return {};
    }
    return {m_buffer.data(), m_first, static_cast<std::int64_t>(m_buffer.size() / 2)};
}

void AudioVoice::Sample(std::int64_t index, float& left, float& right) {
    left = right = 0;
    if (index < 0) {
        return;
    }
    if (m_media.InMemory()) {
        const std::size_t at = static_cast<std::size_t>(index) * 2;
        if (at + 1 < m_media.samples.size()) {
            left = m_media.samples[at];
            right = m_media.samples[at + 1];
        }
        return;
    }
    if (m_media.sampleRate <= 0 || !Prepare()) {
        return;
    }
    const std::int64_t end = m_first + static_cast<std::int64_t>(m_buffer.size() / 2);
    const auto ahead = static_cast<std::int64_t>(kDecodeAheadSeconds * m_media.sampleRate);
    if (m_atEnd && index >= end && index >= m_first) {
        return;
    }
    if (index >= m_seekTarget && index < m_seekFirst && m_seekFirstKnown) {
        // The media has nothing before its first decoded sample since the last seek.
        return;
    }
    if (index < m_first || index >= end + ahead) {
        m_seekTarget = index;
        if (!Seek(index)) {
            m_stream.Fail(invalidMedia);
            return;
        }
    }
    while (index >= m_first + static_cast<std::int64_t>(m_buffer.size() / 2) && DecodeMore()) {
    }
    const auto behind = static_cast<std::int64_t>(kKeepBehindSeconds * m_media.sampleRate);
    if (index - m_first > behind * 2) {
        const std::int64_t drop =
            std::min<std::int64_t>(index - m_first - behind, static_cast<std::int64_t>(m_buffer.size() / 2));
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + drop * 2);
        m_first += drop;
    }
    if (index >= m_first && index < m_first + static_cast<std::int64_t>(m_buffer.size() / 2)) {
        const std::size_t at = static_cast<std::size_t>(index - m_first) * 2;
        left = m_buffer[at];
        right = m_buffer[at + 1];
    }
}

} // namespace qt::detail
