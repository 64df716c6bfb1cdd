#include "platform/quicktime/Demuxer.h"

#include <cstring>

namespace qt::detail {

namespace {
constexpr int kBufferSize = 64 * 1024;
}

Demuxer::~Demuxer() {
    if (m_format != nullptr) {
        avformat_close_input(&m_format);
    }
    if (m_io != nullptr) {
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
}

bool Demuxer::Open(const MediaSource& source) {
    m_reader = source.OpenReader();
    if (m_reader == nullptr) {
        return false;
    }
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (buffer == nullptr) {
        return false;
    }
    m_io = avio_alloc_context(buffer, kBufferSize, 0, m_reader.get(), &Demuxer::ReadPacket, nullptr,
                              &Demuxer::SeekTo);
    if (m_io == nullptr) {
        av_free(buffer);
        return false;
    }
    m_format = avformat_alloc_context();
    if (m_format == nullptr) {
        return false;
    }
    m_format->pb = m_io;
    m_format->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&m_format, nullptr, nullptr, nullptr) < 0) {
        // avformat_open_input frees the context on failure.
        m_format = nullptr;
        return false;
    }
    return avformat_find_stream_info(m_format, nullptr) >= 0;
}

bool Demuxer::IsQuickTimeFamily() const {
    return m_format != nullptr && m_format->iformat != nullptr &&
           std::strstr(m_format->iformat->name, "mov") != nullptr;
}

int Demuxer::ReadPacket(void* opaque, std::uint8_t* buffer, int size) {
    int got = static_cast<ByteReader*>(opaque)->Read(buffer, size);
    if (got < 0) {
        return AVERROR(EIO);
    }
    return got == 0 ? AVERROR_EOF : got;
}

std::int64_t Demuxer::SeekTo(void* opaque, std::int64_t offset, int whence) {
    auto* reader = static_cast<ByteReader*>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return reader->Length();
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += reader->Position();
        break;
    case SEEK_END:
        offset += reader->Length();
        break;
    default:
        return -1;
    }
    return reader->Seek(offset) ? offset : -1;
}

} // namespace qt::detail
