// The volume handle class of the Quib engine family; it adds nothing and is the base of the Monolith
// engine's.
#pragma once

#include "resources/storage/VolumeHandle.h"

namespace Vemo {

class QuibVolumeHandle : public VolumeHandle {
public:
    explicit QuibVolumeHandle(ResourceEngine* engine) : VolumeHandle(engine) {}
    ~QuibVolumeHandle() override = default;
};

} // namespace Vemo
