#include "engines/timing/TimerKeywordIds.h"

template class KeywordIds<Vemo::TimerSystem::PrecisionType>;
template class KeywordIds<Vemo::TimerSystem::TimeScale>;

namespace Vemo {

// Built on first use and never destroyed, like every keyword table: scripted objects that live until exit
// may still read words while the process ends.
const KeywordIds<TimerSystem::PrecisionType>& TimerPrecisionIds() {
    static const auto* const ids = new KeywordIds<TimerSystem::PrecisionType>(
        {
            {"High", TimerSystem::High},
            {"Standard", TimerSystem::Standard},
            {"Low", TimerSystem::Low},
        },
        TimerSystem::Standard);
    return *ids;
}

const KeywordIds<TimerSystem::TimeScale>& TimerTimeScaleIds() {
    static const auto* const ids = new KeywordIds<TimerSystem::TimeScale>(
        {
            {"Native", TimerSystem::Native},
            {"MicroSecond", TimerSystem::MicroSecond},
            {"MilliSecond", TimerSystem::MilliSecond},
            {"Second", TimerSystem::Second},
        },
        TimerSystem::MilliSecond);
    return *ids;
}

} // namespace Vemo
