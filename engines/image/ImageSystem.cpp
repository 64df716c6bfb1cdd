#include "engines/image/ImageSystem.h"

#include "engines/image/ImageContainerHandle.h"
#include "engines/image/ImageHandle.h"
#include "engines/image/ImageSearchCriterion.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"

namespace Vemo {

ImageSystem::ImageSystem() : ResourceSystem(kImageTypeId, "Image System") {}

ImageSystem* ImageSystem::Create(ImageSystem* system) {
    return CreateThrough(
        system, [] { return new ImageSystem; },
        [](ImageSystem* made) { return ResourceSystem::Create(made); });
}

ResourceHandle* ImageSystem::Open(ResourceSearchCriterion* criterion, Resource* resource) {
    auto* image = dynamic_cast<ImageSearchCriterion*>(criterion);
    if (image == nullptr) {
        Error().Report(ImageSystemErrBadCriterion);
        return nullptr;
    }
    const std::uint32_t kind = image->m_kind;
    if (kind != ImageSearchCriterion::kImage && kind != ImageSearchCriterion::kContainer) {
        return nullptr;
    }
    ResourceHandle* handle = ResourceSystem::Open(criterion, resource);
    if (handle == nullptr) {
        return nullptr;
    }
    const bool fits = kind == ImageSearchCriterion::kImage
                          ? dynamic_cast<ImageHandle*>(handle) != nullptr
                          : dynamic_cast<ImageContainerHandle*>(handle) != nullptr;
    if (!fits) {
        Close(handle, resource);
        return nullptr;
    }
    return handle;
}

bool ImageSystem::DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    if (!ResourceSystem::DetachResource(handle, engine, resource)) {
        return false;
    }
    if (handle->GetReferenceCount() > 0) {
        return true;
    }
    if (auto* image = dynamic_cast<ImageHandle*>(handle)) {
        image->Unload();
        image->ReleaseTarget();
    } else if (auto* container = dynamic_cast<ImageContainerHandle*>(handle)) {
        container->Close();
    }
    return true;
}

} // namespace Vemo
