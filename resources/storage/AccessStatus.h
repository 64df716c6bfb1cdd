// One read or write request on a file handle and its outcome. ReadAt and WriteAt of the handle issue it, the
// engine's Read or Write carries it out, and the caller hands it back with Release; the caller must not use
// it afterwards. A handle that is destroyed releases the records still outstanding on it.
#pragma once

#include <cstdint>

namespace Vemo {

class FileHandle;

class AccessStatus {
public:
    static constexpr std::uint32_t kPending = 0;
    static constexpr std::uint32_t kDone = 1;

    AccessStatus(void* buffer, std::uint64_t position, std::uint32_t count, bool ownsBuffer,
                 FileHandle* owner);
    AccessStatus(const AccessStatus&) = delete;
    AccessStatus& operator=(const AccessStatus&) = delete;
    // Frees the buffer when the handle allocated it.
    virtual ~AccessStatus();

    // Hands the record back to the handle that issued it, which deletes it. Without an owner:
    // ResourceSystemErrNoHandle and false.
    bool Release();

    void* m_buffer;
    std::uint64_t m_position;
    // The bytes asked for; the engine replaces it with the bytes transferred.
    std::uint32_t m_count;
    // kDone only when the whole request was transferred.
    std::uint32_t m_status = kPending;
    std::uint8_t m_ownsBuffer;
    FileHandle* m_owner;
};

} // namespace Vemo
