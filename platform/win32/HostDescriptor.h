// A descriptor of the host's, closed when it goes out of scope, and reading one to its end within a bound.
// Internal to the platform layer.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <string>

namespace win32 {

class HostDescriptor {
public:
    explicit HostDescriptor(int descriptor) : m_descriptor(descriptor) {}
    ~HostDescriptor() {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
    }
    HostDescriptor(const HostDescriptor&) = delete;
    HostDescriptor& operator=(const HostDescriptor&) = delete;

    int Get() const { return m_descriptor; }
    // Hands the descriptor over to the caller, who closes it.
    int Release() {
        const int descriptor = m_descriptor;
        m_descriptor = -1;
        return descriptor;
    }
    // Closes it now; false when the close failed (for a file written, data may not have reached it).
    bool Close() {
        const int descriptor = m_descriptor;
        m_descriptor = -1;
        return ::close(descriptor) == 0;
    }

private:
    int m_descriptor;
};

// Files the platform reads whole for the player (the registry store, the steps of a headless run) are small;
// anything larger is no such file, and a device that never ends must not fill the memory.
constexpr std::size_t kMostBytesReadWhole = 64u << 20;

enum class ReadOutcome { Read, TooLarge, Failed };

// Appends what is left to read from the descriptor to text, up to the limit. TooLarge when there is more;
// Failed with errno set when a read fails.
inline ReadOutcome ReadUpTo(int descriptor, std::size_t limit, std::string& text) {
    char buffer[16384];
    std::size_t total = 0;
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count == 0) {
            return ReadOutcome::Read;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return ReadOutcome::Failed;
        }
        total += static_cast<std::size_t>(count);
        if (total > limit) {
            return ReadOutcome::TooLarge;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace win32
