#include "engines/timing/TimerSystem.h"

#include "engines/timing/Timer.h"
#include "engines/timing/TimerHandle.h"
#include "resources/CreateThrough.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

TimerSystem::TimerSystem() : ResourceSystem(kTimerTypeId, "Timer System") {}

TimerSystem* TimerSystem::Create(TimerSystem* system) {
    return CreateThrough(
        system, [] { return new TimerSystem; },
        [](TimerSystem* made) { return ResourceSystem::Create(made); });
}

void TimerSystem::Enlist(ResourceHandle* handle, Resource* resource) {
    auto* timerHandle = dynamic_cast<TimerHandle*>(handle);
    auto* timer = dynamic_cast<Timer*>(resource);
    if (timerHandle != nullptr && timer != nullptr) {
        timerHandle->AddTimer(timer);
    }
}

bool TimerSystem::AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                               ResourceHandle* handle) {
    Enlist(handle, resource);
    return ResourceSystem::AttachHandle(criterion, engine, resource, handle);
}

bool TimerSystem::AttachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource,
                                 ResourceHandle* shared) {
    Enlist(handle, resource);
    return ResourceSystem::AttachResource(handle, engine, resource, shared);
}

bool TimerSystem::Close(ResourceHandle* handle, Resource* resource) {
    // By address, not by a cast: a timer being destroyed is no longer a Timer to dynamic_cast.
    if (auto* timerHandle = dynamic_cast<TimerHandle*>(handle)) {
        timerHandle->RemoveResource(resource);
    }
    return ResourceSystem::Close(handle, resource);
}

} // namespace Vemo
