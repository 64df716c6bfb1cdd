#include "platform/quicktime/VideoDecoder.h"

#include <utility>

namespace qt::detail {

namespace {
// How far ahead of the frame in hand a wanted frame may lie before seeking beats decoding on.
constexpr double kDecodeAheadSeconds = 2.0;
} // namespace

VideoDecoder::VideoDecoder(const MediaRecord& media)
    : m_media(media), m_stream(media), m_current(av_frame_alloc()), m_next(av_frame_alloc()) {}

VideoDecoder::~VideoDecoder() {
    av_frame_free(&m_current);
    av_frame_free(&m_next);
}

std::int64_t VideoDecoder::MediaTimeOf(const AVFrame* frame) const {
    const std::int64_t stamp =
        frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp : frame->pts;
    return stamp == AV_NOPTS_VALUE ? m_nextStart : stamp - m_media.origin;
}

bool VideoDecoder::DecodeNext() {
    if (!m_stream.Next(m_next)) {
        return false;
    }
    m_nextStart = MediaTimeOf(m_next);
    m_hasNext = true;
    return true;
}

bool VideoDecoder::Seek(std::int64_t mediaTime) {
    m_hasCurrent = false;
    m_hasNext = false;
    return m_stream.Seek(mediaTime + m_media.origin) ||
           m_stream.Seek(m_media.origin, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
}

const AVFrame* VideoDecoder::FrameAt(std::int64_t mediaTime, OSErr& error) {
    if (m_current == nullptr || m_next == nullptr) {
        m_stream.Fail(memFullErr);
    }
    if (!m_stream.Ready()) {
        error = m_stream.Error();
        return nullptr;
    }
    const bool behind = m_hasCurrent && mediaTime < m_currentStart;
    const bool farAhead = m_hasCurrent && m_media.SecondsOf(static_cast<double>(mediaTime - m_currentStart)) >
                                              kDecodeAheadSeconds;
    if ((behind || farAhead) && !Seek(mediaTime)) {
        m_stream.Fail(invalidMedia);
    }
    while (!m_stream.Failed()) {
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
    if (m_stream.Failed()) {
        error = m_stream.Error();
    }
    return m_hasCurrent ? m_current : nullptr;
}

} // namespace qt::detail
