#include "engines/media/SoundSearchCriterion.h"

#include "resources/error/ErrorFacilities.h"

namespace Vemo {

SoundSearchCriterion::SoundSearchCriterion() : ResourceSearchCriterion(kSoundTypeId, kSearchQuick) {}

SoundSearchCriterion::~SoundSearchCriterion() = default;

} // namespace Vemo
