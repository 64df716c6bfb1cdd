#include "engines/timing/TimerEngine.h"

#include "resources/error/ErrorFacilities.h"

namespace Vemo {

TimerEngine::TimerEngine() : ResourceEngine(kTimerTypeId, "Timer Engine") {}

TimerEngine::TimerEngine(std::uint32_t typeId, const String& name) : ResourceEngine(typeId, name) {}

} // namespace Vemo
