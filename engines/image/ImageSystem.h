// The image family's system, named "Image System". Its open checks the criterion and that the engine made
// the kind of handle asked for; when the last front-end of a handle goes, an image lets go of its encoded
// bytes and of the container that has it selected, and a container closes its image and graphic.
#pragma once

#include "resources/ResourceSystem.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

// An open without a criterion, or an image engine handed a criterion that is not an ImageSearchCriterion.
inline constexpr ErrorCode ImageSystemErrBadCriterion = MakeErrorCode(kImageSystemFacility, 1);

class ImageSystem : public ResourceSystem {
public:
    ImageSystem();

    // Runs the system base's factory on the given system, or on a new one; null when that fails.
    static ImageSystem* Create(ImageSystem* system = nullptr);

    // No criterion, or one that is not an ImageSearchCriterion: ImageSystemErrBadCriterion. A kind other than
    // image or container: null without a report. A handle of the wrong class for the kind is closed again.
    ResourceHandle* Open(ResourceSearchCriterion* criterion, Resource* resource) override;
    bool DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) override;
};

} // namespace Vemo
