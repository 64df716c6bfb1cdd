#include "engines/input/InputDeviceSearchCriterion.h"

#include "resources/error/ErrorFacilities.h"

namespace Vemo {

InputDeviceSearchCriterion::InputDeviceSearchCriterion(std::uint32_t kind, const std::uint32_t* index,
                                                       const String* name)
    : ResourceSearchCriterion(kInputDeviceTypeId, kSearchQuick), m_kind(kind), m_index(index), m_name(name) {}

InputDeviceSearchCriterion::~InputDeviceSearchCriterion() = default;

} // namespace Vemo
