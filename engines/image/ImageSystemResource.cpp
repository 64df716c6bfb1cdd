#include "engines/image/ImageSystemResource.h"

#include "engines/image/ImageSearchCriterion.h"
#include "engines/image/ImageSystem.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

ImageSystemResource::~ImageSystemResource() = default;

ImageSystem* ImageSystemResource::PrepareOpen() const {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return nullptr;
    }
    ImageSystem* system = GetImageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
    }
    return system;
}

bool ImageSystemResource::OpenThrough(ImageSystem* system, ImageSearchCriterion& criterion,
                                      std::uint32_t engineId) {
    if (engineId != kImageTypeId) {
        criterion.SetWantedEngineId(&engineId);
    }
    ResourceHandle* handle = system->Open(&criterion, this);
    if (handle == nullptr) {
        Error().Report(ResourceSystemErrOpenFailed);
        return false;
    }
    SetHandle(handle);
    return true;
}

bool ImageSystemResource::ShareFrom(const Resource& other) {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return false;
    }
    if (other.GetHandle() == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
        return false;
    }
    ImageSystem* system = GetImageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    ResourceHandle* handle = system->Share(other.GetHandle(), this);
    if (handle == nullptr) {
        Error().Report(ResourceSystemErrShareFailed);
        return false;
    }
    SetHandle(handle);
    return true;
}

} // namespace Vemo
