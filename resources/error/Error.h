// The front-end through which every part of the system reports a failure. A failing operation builds a local
// Error, reports a code with an optional text and returns its failure value; the report lives on as an error
// handle in the error system's logs after the Error is gone:
//
//     Error error;
//     error.Report(ResourceSystemErrOpenFailed, &m_name);
//
// Reporting is silent while there is no error system. A report made while another report is being opened, or
// while an Error is closing its handle, or while the error system shuts down, is dropped, so that a failing
// error system cannot report its own failures without end; so is one made while an ErrorReportsDropped
// exists.
#pragma once

#include "resources/Resource.h"
#include "resources/error/ErrorCode.h"

#include <cstdint>

namespace Vemo {

class ErrorHandle;
class ResourceHandle;
class String;

class Error : public Resource {
public:
    Error();
    // Closes the handle while further reports are dropped (closing is the error system's own work).
    ~Error() override;

    // Also keeps the handle as an ErrorHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;
    // Does nothing when the Error already has a handle: the first report stays. The text is copied.
    virtual void Report(std::uint32_t codeLow, std::uint32_t codeHigh, const String* text);
    // Attaches this Error to the index-th most recent reported error (0 the newest), counted in the
    // system-wide log or in the log of the error engine. Its code, or ErrorCodeFailure when there is none.
    virtual ErrorCode OpenReported(std::uint32_t index, bool systemWide);
    // Without an error handle: ErrorCodeFailure, while IsError and IsSuccess are both false.
    virtual ErrorCode Code() const;
    virtual const String* Text() const;
    virtual bool IsError() const;
    virtual bool IsSuccess() const;
    // Kind in bits 32-39, module id in bits 0-31; FacilityNone without an error handle.
    virtual ErrorFacility Facility() const;
    virtual std::uint16_t Number() const;
    virtual std::uint8_t Severity() const;
    virtual std::uint8_t Kind() const;

    void Report(ErrorCode code, const String* text = nullptr);
    void Report(ErrorCode code, const String& text);

    ErrorHandle* GetErrorHandle() const { return m_errorHandle; }

private:
    ErrorHandle* m_errorHandle = nullptr;
};

// While one made with drop set exists, every report of its thread is dropped: a caller that has said a
// failure once tries again without saying it anew, whatever the parts beneath it would report.
class ErrorReportsDropped {
public:
    explicit ErrorReportsDropped(bool drop = true);
    ~ErrorReportsDropped();
    ErrorReportsDropped(const ErrorReportsDropped&) = delete;
    ErrorReportsDropped& operator=(const ErrorReportsDropped&) = delete;

private:
    bool m_previous;
};

// The reporting used by the resource framework's own operations: builds an Error (and so takes a serial
// number) only when an error system exists.
void ReportIfErrorSystem(ErrorCode code, const String* text);

} // namespace Vemo

// The reporting shortcut of the script and messenger code: a temporary Error that reports and is gone.
void RaiseError(const Vemo::ErrorCode& code, const Vemo::String* text = nullptr);
