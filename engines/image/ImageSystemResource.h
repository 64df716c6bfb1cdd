// The base of the image family's front-ends (Image, ImageContainer): the open and share steps they have in
// common, each failure reported with the resource framework's codes and no text.
#pragma once

#include "resources/Resource.h"

#include <cstdint>

namespace Vemo {

class ImageSearchCriterion;
class ImageSystem;

class ImageSystemResource : public Resource {
public:
    ~ImageSystemResource() override;

protected:
    // The system to open through: null with ResourceSystemErrAlreadyOpen when this front-end is open, and
    // with ResourceSystemErrNoSystem when there is no Image System.
    ImageSystem* PrepareOpen() const;
    // The system's open of the criterion, restricted to the engine unless the id is the family's; on
    // failure ResourceSystemErrOpenFailed and false.
    bool OpenThrough(ImageSystem* system, ImageSearchCriterion& criterion, std::uint32_t engineId);
    // The other front-end's handle, counted once more: ResourceSystemErrAlreadyOpen when this one is open,
    // ResourceSystemErrNoHandle when the other is not, ResourceSystemErrNoSystem, and
    // ResourceSystemErrShareFailed when the system refuses.
    bool ShareFrom(const Resource& other);
};

} // namespace Vemo
