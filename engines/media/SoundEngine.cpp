#include "engines/media/SoundEngine.h"

#include "engines/media/SoundErrorCodes.h"
#include "engines/media/SoundHandle.h"
#include "engines/media/SoundSearchCriterion.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/storage/Path.h"

namespace Vemo {

SoundEngine::SoundEngine() : SoundEngine(kSoundTypeId, "Sound Engine") {}

SoundEngine::SoundEngine(std::uint32_t typeId, const String& name) : ResourceEngine(typeId, name) {}

SoundEngine::~SoundEngine() = default;

SoundEngine* SoundEngine::Create(SoundEngine* engine) {
    return CreateThrough(
        engine, [] { return new SoundEngine; },
        [](SoundEngine* made) { return ResourceEngine::Create(made); });
}

ResourceHandle* SoundEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* sound = dynamic_cast<SoundSearchCriterion*>(criterion);
    if (sound == nullptr) {
        return nullptr;
    }
    SoundHandle* handle = nullptr;
    if (sound->m_create) {
        if (sound->m_file != nullptr) {
            handle = CreateSound(*sound->m_file);
        } else if (sound->m_path != nullptr) {
            handle = CreateSound(*sound->m_path);
        } else {
            handle = CreateSound();
        }
        if (handle == nullptr) {
            RaiseError(SoundEngineErrCreateFailed);
        }
        return handle;
    }
    if (sound->m_file != nullptr) {
        handle = OpenSound(*sound->m_file, sound->m_keepFileOpen, sound->m_streamed);
    } else if (sound->m_path != nullptr) {
        handle = OpenSound(*sound->m_path, sound->m_keepFileOpen, sound->m_streamed);
    } else {
        RaiseError(SoundSystemErrNoSource);
        return nullptr;
    }
    if (handle == nullptr) {
        RaiseError(SoundEngineErrOpenFailed);
    }
    return handle;
}

bool SoundEngine::DestroyHandle(ResourceHandle* handle, Resource* resource) {
    if (handle->GetReferenceCount() != 0) {
        return true;
    }
    SoundHandle* sound = SoundHandle::FromResourceHandle(handle);
    if (sound == nullptr) {
        return ResourceEngine::DestroyHandle(handle, resource);
    }
    if (!DestroySoundHandle(sound)) {
        RaiseError(SoundEngineErrDestroyFailed);
        return false;
    }
    return true;
}

bool SoundEngine::AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                               ResourceHandle* handle) {
    if (!ResourceEngine::AttachHandle(criterion, resource, handle)) {
        return false;
    }
    m_soundHandles.Add(handle);
    return true;
}

bool SoundEngine::DetachHandle(ResourceHandle* handle, Resource* resource) {
    if (!ResourceEngine::DetachHandle(handle, resource)) {
        return false;
    }
    m_soundHandles.RemoveIfUnreferenced(handle);
    return true;
}

SoundHandle* SoundEngine::OpenSound(const File& file, bool keepFileOpen, bool streamed) {
    Path path;
    path.Assign(file);
    return OpenSound(path, keepFileOpen, streamed);
}

SoundHandle* SoundEngine::OpenSound(const Path& path, bool, bool) {
    return new SoundHandle(this, path);
}

SoundHandle* SoundEngine::CreateSound() {
    return new SoundHandle(this);
}

SoundHandle* SoundEngine::CreateSound(const File& file) {
    Path path;
    path.Assign(file);
    return CreateSound(path);
}

SoundHandle* SoundEngine::CreateSound(const Path& path) {
    return new SoundHandle(this, path);
}

bool SoundEngine::DestroySoundHandle(SoundHandle* handle) {
    delete handle;
    return true;
}

} // namespace Vemo
