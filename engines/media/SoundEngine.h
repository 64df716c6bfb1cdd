// The base of the sound engines, named "Sound Engine". It turns a sound search criterion into the right
// engine operation (open or create), keeps the list of its sound handles, and has a default for every
// operation: bare sound handles, which an engine overrides with its own.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/media/MediaHandleList.h"
#include "resources/ResourceEngine.h"

#include <cstdint>

namespace Vemo {

class File;
class Path;
class SoundHandle;

class SoundEngine : public ResourceEngine {
public:
    SoundEngine();

    // A new sound when the criterion asks to create (SoundEngineErrCreateFailed), else the sound of its File
    // or Path (SoundEngineErrOpenFailed; SoundSystemErrNoSource with neither).
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // Leaves a handle that is still referenced; otherwise DestroySoundHandle (SoundEngineErrDestroyFailed).
    bool DestroyHandle(ResourceHandle* handle, Resource* resource) override;
    ~SoundEngine() override;
    // A sound handle joins the engine's sound list.
    bool AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                      ResourceHandle* handle) override;
    // An unreferenced sound handle leaves the list.
    bool DetachHandle(ResourceHandle* handle, Resource* resource) override;

    // The File's path, then the Path form with the same flags.
    virtual SoundHandle* OpenSound(const File& file, bool keepFileOpen, bool streamed);
    // A bare sound handle keeping the path.
    virtual SoundHandle* OpenSound(const Path& path, bool keepFileOpen, bool streamed);
    // A bare sound handle with an empty path.
    virtual SoundHandle* CreateSound();
    virtual SoundHandle* CreateSound(const File& file);
    virtual SoundHandle* CreateSound(const Path& path);
    // Deletes the handle; true.
    virtual bool DestroySoundHandle(SoundHandle* handle);

    // Runs the engine base's factory on the given engine, or on a new "Sound Engine" of the sound family.
    static SoundEngine* Create(SoundEngine* engine = nullptr);

    const BasicList<SoundHandle*>& GetSoundHandles() const { return m_soundHandles.Handles(); }

protected:
    SoundEngine(std::uint32_t typeId, const String& name);

private:
    MediaHandleList<SoundHandle> m_soundHandles;
};

} // namespace Vemo
