// The sound family's system, named "Sound System". It checks a sound search criterion before the generic
// open and keeps the list of every sound handle attached through it.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/media/MediaHandleList.h"
#include "resources/ResourceSystem.h"

namespace Vemo {

class SoundHandle;

class SoundSystem : public ResourceSystem {
public:
    SoundSystem();

    // A sound criterion must name a File or a Path or ask to create (SoundSystemErrNoSource); then the
    // generic open.
    ResourceHandle* Open(ResourceSearchCriterion* criterion, Resource* resource) override;
    ~SoundSystem() override;
    // A sound handle joins the system's sound list.
    bool AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                      ResourceHandle* handle) override;
    // A sound handle left without references leaves the list.
    bool DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) override;

    // Runs the system base's factory on the given system, or on a new "Sound System".
    static SoundSystem* Create(SoundSystem* system = nullptr);

    const BasicList<SoundHandle*>& GetSoundHandles() const { return m_soundHandles.Handles(); }

private:
    MediaHandleList<SoundHandle> m_soundHandles;
};

} // namespace Vemo
