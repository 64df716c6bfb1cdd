// The input-device family's system, named "Input Device System". It keeps the live input handles so that
// a second front-end asking for a device that is open already shares its handle.
#pragma once

#include "foundation/BasicList.h"
#include "resources/ResourceSystem.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

class InputDeviceHandle;

// An open request named neither an index nor a name.
inline constexpr ErrorCode InputDeviceSystemErrNoDevice = MakeErrorCode(kInputDeviceSystemFacility, 1);

class InputDeviceSystem : public ResourceSystem {
public:
    InputDeviceSystem();
    ~InputDeviceSystem() override;

    // Run Initialize on the given system, or on a new one when none is given; null when that fails.
    static InputDeviceSystem* Create(InputDeviceSystem* system = nullptr);

    // Shares the first live handle of the kind whose index (tried first) or name (exactly) is the one asked
    // for; opens a new one when none is.
    ResourceHandle* Open(ResourceSearchCriterion* criterion, Resource* resource) override;
    bool AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                      ResourceHandle* handle) override;
    // A handle that has lost its last reference leaves the live list.
    bool DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) override;

    const BasicList<InputDeviceHandle*>& GetLiveHandles() const { return m_handles; }
    // A handle going away leaves the list, however it went.
    void ForgetHandle(InputDeviceHandle* handle);

private:
    BasicList<InputDeviceHandle*> m_handles;
};

} // namespace Vemo
