// Decodes a visual media's frames for the times a movie shows. Internal to the layer.
#pragma once

#include "platform/quicktime/FrameWriter.h"
#include "platform/quicktime/StreamDecoder.h"

#include <cstdint>

namespace qt::detail {

class VideoDecoder {
public:
    explicit VideoDecoder(const MediaRecord& media);
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // The frame shown at the media time: the last one that begins at or before it. Null when there is none
    // (or the media cannot be decoded; error then says why).
    const AVFrame* FrameAt(std::int64_t mediaTime, OSErr& error);
    // The media time of the frame FrameAt returned last.
    std::int64_t CurrentStart() const { return m_currentStart; }
    // Draws this media's frames, keeping its scaler from one frame to the next.
    FrameWriter& Writer() { return m_writer; }

private:
    bool Seek(std::int64_t mediaTime);
    // Decodes the next frame into m_next; false at the end or on an error.
    bool DecodeNext();
    std::int64_t MediaTimeOf(const AVFrame* frame) const;

    const MediaRecord& m_media;
    StreamDecoder m_stream;
    FrameWriter m_writer;
    AVFrame* m_current = nullptr;
    AVFrame* m_next = nullptr;
    bool m_hasCurrent = false;
    bool m_hasNext = false;
    std::int64_t m_currentStart = -1;
    std::int64_t m_nextStart = 0;
};

} // namespace qt::detail
