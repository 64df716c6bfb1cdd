#include "platform/testing/DebugOutput.h"

namespace platform::testing {

DebugOutputCapture::DebugOutputCapture() {
    win32::seam::InstallDebugOutputSink(&DebugOutputCapture::Receive, this, &m_previousSink,
                                        &m_previousContext);
}

DebugOutputCapture::~DebugOutputCapture() {
    win32::seam::InstallDebugOutputSink(m_previousSink, m_previousContext, nullptr, nullptr);
}

std::vector<std::string> DebugOutputCapture::Texts() const {
    std::lock_guard guard(m_lock);
    return m_texts;
}

void DebugOutputCapture::Receive(void* context, const char* text) {
    auto* capture = static_cast<DebugOutputCapture*>(context);
    std::lock_guard guard(capture->m_lock);
    capture->m_texts.emplace_back(text);
}

} // namespace platform::testing
