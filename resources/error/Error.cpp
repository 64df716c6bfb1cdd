#include "resources/error/Error.h"

#include "resources/SystemAccessors.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSearchCriterion.h"
#include "resources/error/ErrorSystem.h"

namespace Vemo {

namespace {

// Set while the error system works for an Error (opening a report, closing an Error's handle). Reports that
// arrive meanwhile come from inside the error system and are dropped.
constinit bool g_errorSystemBusy = false;
// A caller's retry that says nothing drops the reports of its own thread only.
constinit thread_local bool g_reportsDropped = false;

class ErrorSystemBusy {
public:
    ErrorSystemBusy() : m_previous(g_errorSystemBusy) { g_errorSystemBusy = true; }
    ~ErrorSystemBusy() { g_errorSystemBusy = m_previous; }
    ErrorSystemBusy(const ErrorSystemBusy&) = delete;
    ErrorSystemBusy& operator=(const ErrorSystemBusy&) = delete;

private:
    bool m_previous;
};

} // namespace

Error::Error() = default;

Error::~Error() {
    m_errorHandle = nullptr;
    ErrorSystemBusy busy;
    ReleaseHandle();
}

void Error::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_errorHandle = dynamic_cast<ErrorHandle*>(handle);
}

void Error::Report(std::uint32_t codeLow, std::uint32_t codeHigh, const String* text) {
    if (IsOpen()) {
        return;
    }
    ErrorSystem* system = GetErrorSystem();
    if (system == nullptr || g_errorSystemBusy || g_reportsDropped || system->IsShuttingDown()) {
        return;
    }
    ErrorSystemBusy busy;
    const ErrorCode code = (static_cast<ErrorCode>(codeHigh) << 32) | codeLow;
    ErrorSearchCriterion criterion;
    criterion.SetCreate(true);
    criterion.SetCode(&code);
    criterion.SetText(text);
    ResourceHandle* handle = system->Open(&criterion, this);
    if (handle != nullptr) {
        SetHandle(handle);
    }
}

void Error::Report(ErrorCode code, const String* text) {
    Report(static_cast<std::uint32_t>(code), static_cast<std::uint32_t>(code >> 32), text);
}

void Error::Report(ErrorCode code, const String& text) {
    Report(code, &text);
}

ErrorCode Error::OpenReported(std::uint32_t index, bool systemWide) {
    if (IsOpen()) {
        return ErrorCodeFailure;
    }
    ErrorSystem* system = GetErrorSystem();
    if (system == nullptr) {
        return ErrorCodeFailure;
    }
    ErrorSearchCriterion criterion;
    criterion.SetIndex(&index);
    criterion.SetSystemWide(&systemWide);
    ResourceHandle* handle = system->Open(&criterion, this);
    if (handle == nullptr) {
        return ErrorCodeFailure;
    }
    SetHandle(handle);
    return Code();
}

ErrorCode Error::Code() const {
    return m_errorHandle != nullptr ? m_errorHandle->Code() : ErrorCodeFailure;
}

const String* Error::Text() const {
    return m_errorHandle != nullptr ? m_errorHandle->Text() : nullptr;
}

bool Error::IsError() const {
    return m_errorHandle != nullptr && ErrorCodeSeverity(m_errorHandle->Code()) == kErrorSeverityError;
}

bool Error::IsSuccess() const {
    return m_errorHandle != nullptr && ErrorCodeSeverity(m_errorHandle->Code()) == 0;
}

ErrorFacility Error::Facility() const {
    return m_errorHandle != nullptr ? ErrorCodeFacility(m_errorHandle->Code()) : FacilityNone;
}

std::uint16_t Error::Number() const {
    return m_errorHandle != nullptr ? ErrorCodeNumber(m_errorHandle->Code()) : 0;
}

std::uint8_t Error::Severity() const {
    return m_errorHandle != nullptr ? ErrorCodeSeverity(m_errorHandle->Code()) : 0;
}

std::uint8_t Error::Kind() const {
    return m_errorHandle != nullptr ? ErrorCodeKind(m_errorHandle->Code()) : 0;
}

ErrorReportsDropped::ErrorReportsDropped(bool drop) : m_previous(g_reportsDropped) {
    g_reportsDropped = m_previous || drop;
}

ErrorReportsDropped::~ErrorReportsDropped() {
    g_reportsDropped = m_previous;
}

void ReportIfErrorSystem(ErrorCode code, const String* text) {
    if (GetErrorSystem() == nullptr) {
        return;
    }
    Error error;
    error.Report(code, text);
}

} // namespace Vemo

void RaiseError(const Vemo::ErrorCode& code, const Vemo::String* text) {
    Vemo::Error error;
    error.Report(code, text);
}
