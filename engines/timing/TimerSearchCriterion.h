// What a timer asks the Timer System for: a precision and, for the long open form, two options: the first
// is the time scale and the second the period in that scale.
#pragma once

#include "resources/ResourceSearchCriterion.h"

#include <cstdint>

namespace Vemo {

class TimerSearchCriterion : public ResourceSearchCriterion {
public:
    // Quick search of the timing family; engineId null for any timer engine.
    TimerSearchCriterion(const std::uint32_t* engineId, std::uint32_t precision,
                         const std::uint32_t* firstOption, const std::uint32_t* secondOption);
    ~TimerSearchCriterion() override;

    std::uint32_t GetPrecision() const { return m_precision; }
    const std::uint32_t* GetFirstOption() const { return m_firstOption; }
    const std::uint32_t* GetSecondOption() const { return m_secondOption; }

private:
    std::uint32_t m_precision;
    const std::uint32_t* m_firstOption;
    const std::uint32_t* m_secondOption;
};

} // namespace Vemo
