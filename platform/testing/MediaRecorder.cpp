#include "platform/testing/MediaRecorder.h"

#include <mutex>

namespace win32::testing {

struct MediaRecorder::Shared {
    std::mutex lock;
    std::vector<Request> requests;
    int error = 0;
};

MediaRecorder::MediaRecorder() : m_shared(std::make_shared<Shared>()) {
    seam::InstallMediaHandler([shared = m_shared](const std::string& device, int, MediaRequest request) {
        std::lock_guard guard(shared->lock);
        shared->requests.push_back({device, request});
        return shared->error;
    });
}

MediaRecorder::~MediaRecorder() {
    seam::InstallMediaHandler(nullptr);
}

std::vector<MediaRecorder::Request> MediaRecorder::Requests() const {
    std::lock_guard guard(m_shared->lock);
    return m_shared->requests;
}

void MediaRecorder::FailWith(int error) {
    std::lock_guard guard(m_shared->lock);
    m_shared->error = error;
}

} // namespace win32::testing
