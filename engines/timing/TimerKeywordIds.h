// The script words of the timer enumerations, for the scripted classes that read a precision or a time scale.
// A word outside a table reads as standard precision or as milliseconds.
#pragma once

#include "engines/timing/TimerSystem.h"
#include "script/KeywordIds.h"

namespace Vemo {

// "High", "Standard", "Low".
const KeywordIds<TimerSystem::PrecisionType>& TimerPrecisionIds();
// "Native", "MicroSecond", "MilliSecond", "Second".
const KeywordIds<TimerSystem::TimeScale>& TimerTimeScaleIds();

} // namespace Vemo
