#include "engines/image/codecs/JErrorManager.h"

#include "engines/image/codecs/JCommon.h"

#include <cstdlib>
#include <cstring>

namespace Vemo {

namespace {

JCommon& CommonOf(j_common_ptr record) {
    return *static_cast<JCommon*>(record->client_data);
}

void ErrorExitTrampoline(j_common_ptr record) {
    CommonOf(record).GetErrorManager().ErrorExit(CommonOf(record));
}

void EmitMessageTrampoline(j_common_ptr record, int level) {
    CommonOf(record).GetErrorManager().EmitMessage(CommonOf(record), level);
}

void OutputMessageTrampoline(j_common_ptr record) {
    CommonOf(record).GetErrorManager().OutputMessage(CommonOf(record));
}

void FormatMessageTrampoline(j_common_ptr record, char* buffer) {
    CommonOf(record).GetErrorManager().FormatMessage(CommonOf(record), buffer);
}

void ResetErrorManagerTrampoline(j_common_ptr record) {
    CommonOf(record).GetErrorManager().ResetErrorManager(CommonOf(record));
}

} // namespace

JErrorManager::JErrorManager() {
    std::memset(&m_record, 0, sizeof m_record);
    std::memset(&m_exitRecord, 0, sizeof m_exitRecord);
    m_record.error_exit = ErrorExitTrampoline;
    m_record.emit_message = EmitMessageTrampoline;
    m_record.output_message = OutputMessageTrampoline;
    m_record.format_message = FormatMessageTrampoline;
    m_record.reset_error_mgr = ResetErrorManagerTrampoline;
}

JErrorManager::~JErrorManager() = default;

void JErrorManager::ErrorExit(JCommon&) {
    m_exitRecord = m_record;
    if (!m_guarding) {
        // Every libjpeg call runs under a Guard; an error outside one has nowhere to go.
        std::abort();
    }
    m_guarding = false;
    std::longjmp(m_return, 1);
}

void JErrorManager::EmitMessage(JCommon&, int level) {
    if (level < 0) {
        ++m_record.num_warnings;
        if (m_record.msg_code == JWRN_HIT_MARKER) {
            m_hitEndOfData = true;
        }
    }
}

void JErrorManager::OutputMessage(JCommon&) {}

void JErrorManager::FormatMessage(JCommon&, char* buffer) {
    if (buffer != nullptr) {
        buffer[0] = '\0';
    }
}

void JErrorManager::ResetErrorManager(JCommon&) {
    m_record.num_warnings = 0;
    m_record.msg_code = 0;
}

} // namespace Vemo
