#include "engines/graphics/GraphicSearchCriterion.h"

#include "resources/error/ErrorFacilities.h"

namespace Vemo {

GraphicSearchCriterion::GraphicSearchCriterion(std::uint32_t kind)
    : ResourceSearchCriterion(kGraphicTypeId, kSearchQuick), m_kind(kind) {}

GraphicSearchCriterion::~GraphicSearchCriterion() = default;

} // namespace Vemo
