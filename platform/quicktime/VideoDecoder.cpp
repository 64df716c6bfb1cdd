#include "platform/quicktime/VideoDecoder.h"

#include <utility>

namespace qt::detail {

namespace {
// How far ahead of the frame in hand a wanted frame may lie before seeking beats decoding on.
constexpr double kDecodeAheadSeconds = 2.0;
constexpr std::int64_t kLargestFrame = 4096 * 4096;
} // namespace

VideoDecoder::VideoDecoder(const MediaRecord& media) : m_media(media) {}

VideoDecoder::~VideoDecoder() {
    av_frame_free(&m_current);
    av_frame_free(&m_next);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
}

bool VideoDecoder::Open() {
    m_opened = true;
    m_error = couldNotResolveDataRef;
    if (m_media.source == nullptr || !m_demuxer.Open(*m_media.source) ||
        m_media.stream >= static_cast<int>(m_demuxer.Format()->nb_streams)) {
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
    m_current = av_frame_alloc();
    m_next = av_frame_alloc();
    if (m_codec == nullptr || m_packet == nullptr || m_current == nullptr || m_next == nullptr ||
        avcodec_parameters_to_context(m_codec, stream->codecpar) < 0) {
        return false;
    }
    m_codec->pkt_timebase = stream->time_base;
    // A header may claim any size; no movie of a title comes near this one.
    m_codec->max_pixels = kLargestFrame;
    if (avcodec_open2(m_codec, codec, nullptr) < 0) {
        return false;
    }
    for (unsigned i = 0; i < m_demuxer.Format()->nb_streams; ++i) {
        m_demuxer.Stream(static_cast<int>(i))->discard = static_cast<int>(i) == m_media.stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    m_error = noErr;
    return true;
}

std::int64_t VideoDecoder::MediaTimeOf(const AVFrame* frame) const {
    const std::int64_t stamp = frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp : frame->pts;
    return stamp == AV_NOPTS_VALUE ? m_nextStart : stamp - m_media.origin;
}

bool VideoDecoder::DecodeNext() {
    while (!m_atEnd) {
        int received = avcodec_receive_frame(m_codec, m_next);
        if (received == 0) {
            m_nextStart = MediaTimeOf(m_next);
            m_hasNext = true;
            return true;
        }
        if (received == AVERROR_EOF) {
            m_atEnd = true;
            break;
        }
        if (received != AVERROR(EAGAIN)) {
            m_failed = true;
            m_error = invalidMedia;
            return false;
        }
        if (m_draining) {
            m_atEnd = true;
            break;
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
            int sent = avcodec_send_packet(m_codec, m_packet);
            if (sent < 0 && sent != AVERROR(EAGAIN) && sent != AVERROR_INVALIDDATA) {
                av_packet_unref(m_packet);
                m_failed = true;
                m_error = invalidMedia;
                return false;
            }
        }
        av_packet_unref(m_packet);
    }
    return false;
}

bool VideoDecoder::Seek(std::int64_t mediaTime) {
    m_hasCurrent = false;
    m_hasNext = false;
    m_draining = false;
    m_atEnd = false;
    avcodec_flush_buffers(m_codec);
    if (av_seek_frame(m_demuxer.Format(), m_media.stream, mediaTime + m_media.origin, AVSEEK_FLAG_BACKWARD) < 0 &&
        av_seek_frame(m_demuxer.Format(), m_media.stream, m_media.origin, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0) {
        return false;
    }
    return true;
}

const AVFrame* VideoDecoder::FrameAt(std::int64_t mediaTime, OSErr& error) {
    if (!m_opened && !Open()) {
        m_failed = true;
    }
    if (m_failed) {
        error = m_error;
        return nullptr;
    }
    const bool behind = m_hasCurrent && mediaTime < m_currentStart;
    const double ahead = m_media.SecondsOf(static_cast<double>(mediaTime - (m_hasCurrent ? m_currentStart : 0)));
    if (behind || !m_hasCurrent || ahead > kDecodeAheadSeconds) {
        const bool needSeek = behind || ahead > kDecodeAheadSeconds || (!m_hasCurrent && !m_hasNext);
        if (needSeek && !Seek(mediaTime)) {
            m_failed = true;
            m_error = invalidMedia;
            error = m_error;
            return nullptr;
        }
    }
    for (;;) {
        if (!m_hasNext && !DecodeNext()) {
            break;
        }
        if (m_hasCurrent && m_nextStart > mediaTime) {
            break;
        }
        std::swap(m_current, m_next);
        m_currentStart = m_nextStart;
        m_hasCurrent = true;
        m_hasNext = false;
    }
    if (m_failed) {
        error = m_error;
        return m_hasCurrent ? m_current : nullptr;
    }
    return m_hasCurrent ? m_current : nullptr;
}

} // namespace qt::detail
