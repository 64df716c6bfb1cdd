// One stream of a media's file, demuxed and decoded with readers of its own: the part that picture and sound
// decoding share. Internal to the layer.
#pragma once

#include "platform/quicktime/Demuxer.h"
#include "platform/quicktime/MediaRecord.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstdint>

namespace qt::detail {

class StreamDecoder {
public:
    explicit StreamDecoder(const MediaRecord& media);
    ~StreamDecoder();
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    // Opens the stream on first use; false when it cannot be decoded (Error says why).
    bool Ready();
    AVCodecContext* Codec() const { return m_codec; }
    AVStream* Stream() const { return m_demuxer.Stream(m_media.stream); }
    // The next decoded frame; false at the stream's end or on an error.
    bool Next(AVFrame* frame);
    // Goes to the key frame at or before the stream timestamp; decoding goes on from there.
    bool Seek(std::int64_t stamp, int flags = AVSEEK_FLAG_BACKWARD);
    bool Failed() const { return m_failed; }
    OSErr Error() const { return m_error; }
    void Fail(OSErr error);

private:
    bool Open();

    const MediaRecord& m_media;
    Demuxer m_demuxer;
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    bool m_opened = false;
    bool m_failed = false;
    bool m_draining = false;
    bool m_atEnd = false;
    OSErr m_error = noErr;
};

} // namespace qt::detail
