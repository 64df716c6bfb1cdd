// A descriptor of the host's, closed when it goes out of scope. Internal to the platform layer.
#pragma once

#include <unistd.h>

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
    // Closes it now; false when the close failed (for a file written, data may not have reached it).
    bool Close() {
        const int descriptor = m_descriptor;
        m_descriptor = -1;
        return ::close(descriptor) == 0;
    }

private:
    int m_descriptor;
};

} // namespace win32
