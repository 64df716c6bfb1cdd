// Test-only removable media: records the door and eject requests that reach host devices and answers them as
// told, in place of the Linux CD-ROM ioctls, for the object's life. The 9x lock counts start at 0.
#pragma once

#include "platform/win32/files/Media.h"

#include <memory>
#include <string>
#include <vector>

namespace win32::testing {

class MediaRecorder {
public:
    struct Request {
        std::string device;
        MediaRequest request;
    };

    MediaRecorder();
    ~MediaRecorder();
    MediaRecorder(const MediaRecorder&) = delete;
    MediaRecorder& operator=(const MediaRecorder&) = delete;

    std::vector<Request> Requests() const;
    // Later requests fail with this errno value (0: they succeed again).
    void FailWith(int error);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};

} // namespace win32::testing
