// An FFmpeg demuxer over a ByteReader of its own. Internal to the layer.
#pragma once

#include "platform/quicktime/MediaSource.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <memory>

namespace qt::detail {

class Demuxer {
public:
    Demuxer() = default;
    ~Demuxer();
    Demuxer(const Demuxer&) = delete;
    Demuxer& operator=(const Demuxer&) = delete;

    // Opens the source and reads its stream information; false when FFmpeg finds no media in it.
    bool Open(const MediaSource& source);
    AVFormatContext* Format() const { return m_format; }
    AVStream* Stream(int index) const { return m_format->streams[index]; }
    // Whether the container is QuickTime's or one of its family (its tracks carry enabled flags).
    bool IsQuickTimeFamily() const;

private:
    static int ReadPacket(void* opaque, std::uint8_t* buffer, int size);
    static std::int64_t SeekTo(void* opaque, std::int64_t offset, int whence);

    std::unique_ptr<ByteReader> m_reader;
    AVIOContext* m_io = nullptr;
    AVFormatContext* m_format = nullptr;
};

} // namespace qt::detail
