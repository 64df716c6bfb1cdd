#include "platform/quicktime/AudioVoice.h"

#include <algorithm>

namespace qt::detail {

namespace {
// How far past the decoded samples a wanted one may lie before seeking beats decoding on, and how much is
// kept behind the position asked for.
constexpr double kDecodeAheadSeconds = 1.0;
constexpr double kKeepBehindSeconds = 0.25;
} // namespace

AudioVoice::AudioVoice(const MediaRecord& media) : m_media(media) {}

AudioVoice::~AudioVoice() {
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    swr_free(&m_resampler);
    avcodec_free_context(&m_codec);
}

double AudioVoice::Rate() const {
    if (m_media.InMemory()) {
        return m_media.unitsPerSample > 0 ? static_cast<double>(m_media.unitDenominator) /
                                                (static_cast<double>(m_media.unitNumerator) * m_media.unitsPerSample)
                                          : 0;
    }
    return m_media.sampleRate;
}

bool AudioVoice::Open() {
    m_opened = true;
    m_error = couldNotResolveDataRef;
    if (!m_demuxer.Open(*m_media.source) || m_media.stream >= static_cast<int>(m_demuxer.Format()->nb_streams)) {
        return false;
    }
    m_error = cantFindHandler;
    AVStream* stream = m_demuxer.Stream(m_media.stream);
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (codec == nullptr) {
        return false;
    }
    m_codec = avcodec_alloc_context3(codec);
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (m_codec == nullptr || m_packet == nullptr || m_frame == nullptr ||
        avcodec_parameters_to_context(m_codec, stream->codecpar) < 0) {
        return false;
    }
    m_codec->pkt_timebase = stream->time_base;
    if (avcodec_open2(m_codec, codec, nullptr) < 0) {
        return false;
    }
    if (m_codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&m_codec->ch_layout, m_codec->ch_layout.nb_channels);
    }
    // Mono stays mono (and is doubled in Append) so that it keeps its level; more channels mix to stereo.
    m_mono = m_codec->ch_layout.nb_channels == 1;
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&m_resampler, m_mono ? &mono : &stereo, AV_SAMPLE_FMT_FLT, m_codec->sample_rate, &m_codec->ch_layout,
                            m_codec->sample_fmt, m_codec->sample_rate, 0, nullptr) < 0 ||
        swr_init(m_resampler) < 0) {
        return false;
    }
    for (unsigned i = 0; i < m_demuxer.Format()->nb_streams; ++i) {
        m_demuxer.Stream(static_cast<int>(i))->discard =
            static_cast<int>(i) == m_media.stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    m_error = noErr;
    return true;
}

void AudioVoice::Append(const AVFrame* frame) {
    const std::int64_t stamp = frame->best_effort_timestamp;
    const std::int64_t end = m_first + static_cast<std::int64_t>(m_buffer.size() / 2);
    if (m_buffer.empty() && stamp != AV_NOPTS_VALUE) {
        const AVRational base = m_demuxer.Stream(m_media.stream)->time_base;
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
    while (!m_atEnd) {
        int received = avcodec_receive_frame(m_codec, m_frame);
        if (received == 0) {
            Append(m_frame);
            return true;
        }
        if (received == AVERROR_EOF || m_draining) {
            m_atEnd = true;
            break;
        }
        if (received != AVERROR(EAGAIN)) {
            m_failed = true;
            m_error = invalidMedia;
            return false;
        }
        int read = av_read_frame(m_demuxer.Format(), m_packet);
        if (read == AVERROR_EOF) {
            m_draining = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        if (read < 0) {
            m_failed = true;
            m_error = invalidMedia;
            return false;
        }
        if (m_packet->stream_index == m_media.stream) {
            avcodec_send_packet(m_codec, m_packet);
        }
        av_packet_unref(m_packet);
    }
    return false;
}

bool AudioVoice::Seek(std::int64_t index) {
    m_buffer.clear();
    m_atEnd = false;
    m_draining = false;
    avcodec_flush_buffers(m_codec);
    const AVRational base = m_demuxer.Stream(m_media.stream)->time_base;
    const std::int64_t stamp = av_rescale_q(index, AVRational{1, m_media.sampleRate}, base) + m_media.origin;
    return av_seek_frame(m_demuxer.Format(), m_media.stream, stamp, AVSEEK_FLAG_BACKWARD) >= 0;
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
    if (!m_opened && !Open()) {
        m_failed = true;
    }
    if (m_failed || m_media.sampleRate <= 0) {
        return;
    }
    const std::int64_t end = m_first + static_cast<std::int64_t>(m_buffer.size() / 2);
    const auto ahead = static_cast<std::int64_t>(kDecodeAheadSeconds * m_media.sampleRate);
    if (m_atEnd && index >= end && index >= m_first) {
        return;
    }
    if (index < m_first && index >= m_seekTarget && !m_buffer.empty()) {
        // The media has nothing before its first decoded sample since the last seek.
        return;
    }
    if (index < m_first || index >= end + ahead) {
        m_seekTarget = index;
        if (!Seek(index)) {
            m_failed = true;
            m_error = invalidMedia;
            return;
        }
    }
    while (index >= m_first + static_cast<std::int64_t>(m_buffer.size() / 2) && DecodeMore()) {
    }
    const auto behind = static_cast<std::int64_t>(kKeepBehindSeconds * m_media.sampleRate);
    if (index - m_first > behind * 2) {
        const std::int64_t drop = std::min<std::int64_t>(index - m_first - behind,
                                                         static_cast<std::int64_t>(m_buffer.size() / 2));
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
