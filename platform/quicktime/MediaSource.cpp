#include "platform/quicktime/MediaSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace qt::detail {

ByteReader::~ByteReader() = default;

namespace {

// Reads at its own position (pread), so readers of one file share its descriptor.
class FileReader final : public ByteReader {
public:
    explicit FileReader(std::shared_ptr<const win32::HostDescriptor> file) : m_file(std::move(file)) {
        struct stat status {};
        m_length = fstat(m_file->Get(), &status) == 0 ? status.st_size : 0;
    }

    int Read(std::uint8_t* buffer, int size) override {
        ssize_t got = pread(m_file->Get(), buffer, static_cast<std::size_t>(size), m_position);
        if (got < 0) {
            return -1;
        }
        m_position += got;
        return static_cast<int>(got);
    }
    bool Seek(std::int64_t position) override {
        if (position < 0 || position > m_length) {
            return false;
        }
        m_position = position;
        return true;
    }
    std::int64_t Position() const override { return m_position; }
    std::int64_t Length() const override { return m_length; }

private:
    std::shared_ptr<const win32::HostDescriptor> m_file;
    std::int64_t m_length = 0;
    std::int64_t m_position = 0;
};

class MemoryReader final : public ByteReader {
public:
    explicit MemoryReader(std::shared_ptr<const std::vector<std::uint8_t>> bytes)
        : m_bytes(std::move(bytes)) {}

    int Read(std::uint8_t* buffer, int size) override {
        const std::int64_t left = Length() - m_position;
        const int count = static_cast<int>(std::min<std::int64_t>(left, size));
        if (count <= 0) {
            return 0;
        }
        std::memcpy(buffer, m_bytes->data() + m_position, static_cast<std::size_t>(count));
        m_position += count;
        return count;
    }
    bool Seek(std::int64_t position) override {
        if (position < 0 || position > Length()) {
            return false;
        }
        m_position = position;
        return true;
    }
    std::int64_t Position() const override { return m_position; }
    std::int64_t Length() const override { return static_cast<std::int64_t>(m_bytes->size()); }

private:
    std::shared_ptr<const std::vector<std::uint8_t>> m_bytes;
    std::int64_t m_position = 0;
};

} // namespace

std::shared_ptr<MediaSource> MediaSource::FromFile(int descriptor) {
    const int own = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (own < 0) {
        return nullptr;
    }
    auto source = std::make_shared<MediaSource>();
    source->m_file = std::make_shared<const win32::HostDescriptor>(own);
    return source;
}

std::shared_ptr<MediaSource> MediaSource::FromBytes(std::vector<std::uint8_t> bytes) {
    auto source = std::make_shared<MediaSource>();
    source->m_bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    return source;
}

std::unique_ptr<ByteReader> MediaSource::OpenReader() const {
    if (m_bytes != nullptr) {
        return std::make_unique<MemoryReader>(m_bytes);
    }
    if (m_file == nullptr) {
        return nullptr;
    }
    return std::make_unique<FileReader>(m_file);
}

bool MediaSource::KeepInMemory() {
    if (m_bytes != nullptr) {
        return true;
    }
    std::unique_ptr<ByteReader> reader = OpenReader();
    if (reader == nullptr) {
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(reader->Length()));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        int got = reader->Read(bytes.data() + filled,
                               static_cast<int>(std::min<std::size_t>(bytes.size() - filled, 1 << 20)));
        if (got <= 0) {
            return false;
        }
        filled += static_cast<std::size_t>(got);
    }
    m_bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    return true;
}

void MediaSource::ReleaseMemory() {
    if (m_file != nullptr) {
        m_bytes.reset();
    }
}

} // namespace qt::detail
