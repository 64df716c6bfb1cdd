// Where a movie's media bytes come from: its file on the host, or the file's bytes read into memory. Every
// reader gets its own ByteReader, so readers never disturb each other. The file is the one the movie was
// read from, held open, never opened again by its name: a name that comes to stand for another file later
// changes nothing of the movie. Internal to the layer.
#pragma once

#include "platform/win32/HostDescriptor.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qt::detail {

class ByteReader {
public:
    virtual ~ByteReader();
    // Bytes read; 0 at the end, -1 on an error.
    virtual int Read(std::uint8_t* buffer, int size) = 0;
    // Moves to an absolute position; false when it lies outside the bytes.
    virtual bool Seek(std::int64_t position) = 0;
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Length() const = 0;
};

class MediaSource {
public:
    // A source of its own on the open file (the descriptor is duplicated); null when it cannot be.
    static std::shared_ptr<MediaSource> FromFile(int descriptor);
    static std::shared_ptr<MediaSource> FromBytes(std::vector<std::uint8_t> bytes);

    // Null when the file cannot be opened.
    std::unique_ptr<ByteReader> OpenReader() const;
    // Reads the whole file into memory (readers opened afterwards read it there); false when it cannot.
    bool KeepInMemory();
    void ReleaseMemory();
    bool InMemory() const { return m_bytes != nullptr; }

private:
    std::shared_ptr<const win32::HostDescriptor> m_file;
    std::shared_ptr<const std::vector<std::uint8_t>> m_bytes;
};

} // namespace qt::detail
