#include "engines/image/ImageSearchCriterion.h"

namespace Vemo {

ImageSearchCriterion::ImageSearchCriterion(std::uint32_t systemTypeId, std::uint32_t searchMode)
    : ResourceSearchCriterion(systemTypeId, searchMode) {}

ImageSearchCriterion::~ImageSearchCriterion() = default;

} // namespace Vemo
