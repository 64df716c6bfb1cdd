#include "resources/error/ErrorHandle.h"

#include "foundation/String.h"
#include "resources/error/ErrorLog.h"

namespace Vemo {

ErrorHandle::ErrorHandle(ResourceEngine* engine, ErrorCode code, const String* text)
    : ResourceHandle(engine), m_code(code), m_text(text != nullptr ? new String(*text) : nullptr) {}

ErrorHandle::~ErrorHandle() {
    for (ErrorLog* log : m_logs) {
        if (log != nullptr) {
            log->Remove(this);
        }
    }
    delete m_text;
    if (m_destroyed != nullptr) {
        *m_destroyed = true;
    }
}

ErrorCode ErrorHandle::Code() const {
    return m_code;
}

const String* ErrorHandle::Text() const {
    return m_text;
}

} // namespace Vemo
