// Captures what the code under test writes with OutputDebugStringA, for as long as the capture exists.
#pragma once

#include "platform/win32/kernel/Debug.h"

#include <mutex>
#include <string>
#include <vector>

namespace platform::testing {

class DebugOutputCapture {
public:
    DebugOutputCapture();
    // Puts back the receiver that was installed before.
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // Each text as written, in order.
    std::vector<std::string> Texts() const;

private:
    static void Receive(void* context, const char* text);

    mutable std::mutex m_lock;
    std::vector<std::string> m_texts;
    win32::seam::DebugOutputSink m_previousSink = nullptr;
    void* m_previousContext = nullptr;
};

} // namespace platform::testing
