#include "engines/font/FontSearchCriterion.h"

#include "resources/error/ErrorFacilities.h"

namespace Vemo {

FontSearchCriterion::FontSearchCriterion(std::uint32_t kind, const std::uint32_t& engineId)
    : ResourceSearchCriterion(kFontTypeId, kSearchQuick), m_kind(kind) {
    if (engineId != kFontTypeId) {
        SetWantedEngineId(&engineId);
    }
}

FontSearchCriterion::~FontSearchCriterion() = default;

bool FontSearchCriterion::HasAttributes() const {
    return m_name != nullptr || m_size != nullptr || m_width != nullptr || m_cellHeight != nullptr ||
           m_pixelUnits != nullptr || m_style != nullptr || m_foreground != nullptr ||
           m_background != nullptr;
}

} // namespace Vemo
