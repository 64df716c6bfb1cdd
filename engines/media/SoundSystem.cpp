#include "engines/media/SoundSystem.h"

#include "engines/media/SoundErrorCodes.h"
#include "engines/media/SoundHandle.h"
#include "engines/media/SoundSearchCriterion.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"

namespace Vemo {

SoundSystem::SoundSystem() : ResourceSystem(kSoundTypeId, "Sound System") {}

SoundSystem::~SoundSystem() = default;

SoundSystem* SoundSystem::Create(SoundSystem* system) {
    return CreateThrough(
        system, [] { return new SoundSystem; },
        [](SoundSystem* made) { return ResourceSystem::Create(made); });
}

ResourceHandle* SoundSystem::Open(ResourceSearchCriterion* criterion, Resource* resource) {
    if (auto* soundCriterion = dynamic_cast<SoundSearchCriterion*>(criterion)) {
        if (soundCriterion->m_file == nullptr && soundCriterion->m_path == nullptr &&
            !soundCriterion->m_create) {
            RaiseError(SoundSystemErrNoSource);
            return nullptr;
        }
    }
    return ResourceSystem::Open(criterion, resource);
}

bool SoundSystem::AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                               ResourceHandle* handle) {
    if (!ResourceSystem::AttachHandle(criterion, engine, resource, handle)) {
        return false;
    }
    m_soundHandles.Add(handle);
    return true;
}

bool SoundSystem::DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    if (!ResourceSystem::DetachResource(handle, engine, resource)) {
        return false;
    }
    m_soundHandles.RemoveIfUnreferenced(handle);
    return true;
}

} // namespace Vemo
