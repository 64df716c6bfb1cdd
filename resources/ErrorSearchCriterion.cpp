#include "resources/ErrorSearchCriterion.h"

#include "resources/ErrorFacilities.h"

namespace Vemo {

ErrorSearchCriterion::ErrorSearchCriterion() : ResourceSearchCriterion(kErrorTypeId, kSearchQuick) {}

ErrorSearchCriterion::~ErrorSearchCriterion() = default;

} // namespace Vemo
