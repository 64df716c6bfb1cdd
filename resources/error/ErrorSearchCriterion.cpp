#include "resources/error/ErrorSearchCriterion.h"

#include "resources/error/ErrorFacilities.h"

namespace Vemo {

ErrorSearchCriterion::ErrorSearchCriterion() : ResourceSearchCriterion(kErrorTypeId, kSearchQuick) {}

ErrorSearchCriterion::~ErrorSearchCriterion() = default;

} // namespace Vemo
