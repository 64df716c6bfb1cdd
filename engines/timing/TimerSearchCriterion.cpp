#include "engines/timing/TimerSearchCriterion.h"

#include "resources/error/ErrorFacilities.h"

namespace Vemo {

TimerSearchCriterion::TimerSearchCriterion(const std::uint32_t* engineId, std::uint32_t precision,
                                           const std::uint32_t* firstOption,
                                           const std::uint32_t* secondOption)
    : ResourceSearchCriterion(kTimerTypeId, kSearchQuick), m_precision(precision), m_firstOption(firstOption),
      m_secondOption(secondOption) {
    SetWantedEngineId(engineId);
}

TimerSearchCriterion::~TimerSearchCriterion() = default;

} // namespace Vemo
