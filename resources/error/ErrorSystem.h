// The system of the error family: opens a new error handle for every report (through its one error engine),
// keeps every reported error in a system-wide log, and lets an Error reopen a logged error by its place in a
// log.
//
// Each logged error holds one reference of the logs' own. The logs are bounded: when a report would exceed
// kMaxLoggedErrors, the oldest error leaves both logs and gives up that reference (it lives on only while a
// front-end still holds it).
#pragma once

#include "resources/ResourceSystem.h"
#include "resources/error/ErrorLog.h"

#include <cstdint>

namespace Vemo {

class ErrorHandle;

class ErrorSystem : public ResourceSystem {
public:
    static constexpr std::uint32_t kMaxLoggedErrors = 1024;

    ErrorSystem(std::uint32_t typeId, const String& name);

    // A criterion with its create flag set opens a new error; one without shares a logged error, found by
    // index in the system's log or in the log of the engine that the criterion finds.
    ResourceHandle* Open(ResourceSearchCriterion* criterion, Resource* resource) override;
    // Empties the log; the handles are closed by Shutdown.
    ~ErrorSystem() override;
    bool AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                      ResourceHandle* handle) override;
    bool DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) override;
    // Index 0 is the most recent error; ErrorSystemErrIndexOutOfRange and null past the log.
    virtual ErrorHandle* ErrorHandleAt(std::uint32_t index);

    // Runs the base factory on the given system, or on a new "Error System" of the error family.
    static ErrorSystem* Create(ErrorSystem* system = nullptr);

    const ErrorLog& GetLog() const { return m_log; }

private:
    ResourceHandle* Reopen(ResourceSearchCriterion* criterion, const std::uint32_t* index,
                           const bool* systemWide, Resource* resource);
    void DropOldestLogged();

    ErrorLog m_log;
};

} // namespace Vemo
