// The engine of the error family. It makes an ErrorHandle for every report and keeps it in its own log as
// well as in the system's. An application's error engine derives from it, keeps the family's type id, and may
// override CreateErrorHandle to present each new error, obtaining the handle from this class's
// CreateErrorHandle so that it is counted and logged.
#pragma once

#include "resources/ResourceEngine.h"
#include "resources/error/ErrorLog.h"

#include <cstdint>

namespace Vemo {

class ErrorHandle;

class ErrorEngine : public ResourceEngine {
public:
    ErrorEngine(std::uint32_t typeId, const String& name);

    // The criterion must carry a code (ErrorEngineErrNoCode); the handle comes from CreateErrorHandle
    // (ErrorEngineErrCreateFailed when it gives none).
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // Empties the log; the handles are the system's to close.
    ~ErrorEngine() override;
    bool AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                      ResourceHandle* handle) override;
    bool DetachHandle(ResourceHandle* handle, Resource* resource) override;
    // Index 0 is the most recent error of this engine; ErrorSystemErrIndexOutOfRange and null past the log.
    virtual ErrorHandle* ErrorHandleAt(std::uint32_t index);
    // A new handle carrying the code and a copy of the text, shared once through the system so that it holds
    // the logs' reference. Null without a system (ResourceSystemErrNoSystem) or when the share fails.
    virtual ErrorHandle* CreateErrorHandle(std::uint32_t codeLow, std::uint32_t codeHigh, const String* text);

    // Runs the base factory on the given engine, or on a new "Error Engine" of the error family.
    static ErrorEngine* Create(ErrorEngine* engine = nullptr);

    const ErrorLog& GetLog() const { return m_log; }

private:
    friend class ErrorSystem;

    ErrorLog m_log;
};

} // namespace Vemo
