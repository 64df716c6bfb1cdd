// A reported error as the error system keeps it: its code and its own copy of the text. Made only by
// ErrorEngine::CreateErrorHandle.
#pragma once

#include "resources/ResourceHandle.h"
#include "resources/error/ErrorCode.h"

namespace Vemo {

class ErrorLog;
class String;

class ErrorHandle : public ResourceHandle {
public:
    explicit ErrorHandle(ResourceEngine* engine, ErrorCode code = ErrorCodeSuccess,
                         const String* text = nullptr);
    ~ErrorHandle() override;

    virtual ErrorCode Code() const;
    // Null when the error was reported without a text.
    virtual const String* Text() const;

private:
    friend class ErrorEngine;

    ErrorCode m_code;
    String* m_text = nullptr;
    friend class ErrorLog;

    // Set by the destructor when CreateErrorHandle watches whether a failed share has destroyed the handle.
    bool* m_destroyed = nullptr;
    // The logs that list this handle (the system's and its engine's). A handle destroyed while still listed,
    // as one taken from an engine that left its system, leaves them, so that no log keeps a freed handle.
    ErrorLog* m_logs[2] = {nullptr, nullptr};
};

} // namespace Vemo
