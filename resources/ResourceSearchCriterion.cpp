#include "resources/ResourceSearchCriterion.h"

namespace Vemo {

ResourceSearchCriterion::ResourceSearchCriterion(std::uint32_t familyId, std::uint32_t searchMode)
    : m_searchMode(searchMode), m_familyId(familyId) {}

ResourceSearchCriterion::~ResourceSearchCriterion() = default;

} // namespace Vemo
