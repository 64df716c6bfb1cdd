#include "platform/quicktime/startup/StartupState.h"

#include <utility>

namespace qt::detail {

StartupState& StartupState::Instance() {
    static StartupState state;
    return state;
}

std::optional<OSErr> StartupState::TakeFailure(const char* call) {
    if (m_failures.empty()) {
        return std::nullopt;
    }
    auto found = m_failures.find(call);
    if (found == m_failures.end()) {
        return std::nullopt;
    }
    OSErr code = found->second.code;
    if (!found->second.always) {
        m_failures.erase(found);
    }
    return code;
}

void StartupState::SetFailure(const std::string& call, InjectedFailure failure) {
    m_failures[call] = failure;
}

void StartupState::ClearFailures() {
    m_failures.clear();
}

void StartupState::SetShutdown(std::function<void()> close) {
    std::lock_guard guard(m_shutdownLock);
    m_shutdown = std::move(close);
}

void StartupState::Shutdown() {
    std::function<void()> close;
    {
        std::lock_guard guard(m_shutdownLock);
        close = m_shutdown;
    }
    if (close) {
        close();
    }
}

} // namespace qt::detail
