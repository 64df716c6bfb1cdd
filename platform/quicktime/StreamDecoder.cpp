#include "platform/quicktime/StreamDecoder.h"

namespace qt::detail {

namespace {
// A header may claim any size; no movie of a title comes near this one.
constexpr std::int64_t kLargestFrame = 4096 * 4096;
} // namespace

StreamDecoder::StreamDecoder(const MediaRecord& media) : m_media(media) {}

StreamDecoder::~StreamDecoder() {
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
}

void StreamDecoder::Fail(OSErr error) {
    m_failed = true;
    m_error = error;
}

bool StreamDecoder::Ready() {
    if (!m_opened) {
        m_opened = true;
        if (!Open()) {
            m_failed = true;
        }
    }
    return !m_failed;
}

bool StreamDecoder::Open() {
    m_error = couldNotResolveDataRef;
    if (m_media.source == nullptr || !m_demuxer.Open(*m_media.source) ||
        m_media.stream >= static_cast<int>(m_demuxer.Format()->nb_streams)) {
        return false;
    }
    m_error = cantFindHandler;
    const AVCodec* codec = avcodec_find_decoder(Stream()->codecpar->codec_id);
    if (codec == nullptr) {
        return false;
    }
    m_codec = avcodec_alloc_context3(codec);
    m_packet = av_packet_alloc();
    if (m_codec == nullptr || m_packet == nullptr ||
        avcodec_parameters_to_context(m_codec, Stream()->codecpar) < 0) {
        return false;
    }
    m_codec->pkt_timebase = Stream()->time_base;
    m_codec->max_pixels = kLargestFrame;
    if (avcodec_open2(m_codec, codec, nullptr) < 0) {
        return false;
    }
    for (unsigned i = 0; i < m_demuxer.Format()->nb_streams; ++i) {
        m_demuxer.Stream(static_cast<int>(i))->discard =
            static_cast<int>(i) == m_media.stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    m_error = noErr;
    return true;
}

bool StreamDecoder::Next(AVFrame* frame) {
    while (!m_atEnd && !m_failed) {
        const int received = avcodec_receive_frame(m_codec, frame);
        if (received == 0) {
            return true;
        }
        if (received == AVERROR_EOF || (received == AVERROR(EAGAIN) && m_draining)) {
            m_atEnd = true;
            break;
        }
        if (received != AVERROR(EAGAIN)) {
            Fail(invalidMedia);
            break;
        }
        const int read = av_read_frame(m_demuxer.Format(), m_packet);
        if (read == AVERROR_EOF) {
            m_draining = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        if (read < 0) {
            Fail(invalidMedia);
            break;
        }
        if (m_packet->stream_index == m_media.stream) {
            // A damaged packet is skipped; the frames around it still decode.
            avcodec_send_packet(m_codec, m_packet);
        }
        av_packet_unref(m_packet);
    }
    return false;
}

bool StreamDecoder::Seek(std::int64_t stamp, int flags) {
    m_draining = false;
    m_atEnd = false;
    avcodec_flush_buffers(m_codec);
    return av_seek_frame(m_demuxer.Format(), m_media.stream, stamp, flags) >= 0;
}

} // namespace qt::detail
