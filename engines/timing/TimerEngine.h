// The base of the timing family's engines, named "Timer Engine"; it adds nothing to the resource engine but
// its name and type id.
#pragma once

#include "resources/ResourceEngine.h"

namespace Vemo {

class TimerEngine : public ResourceEngine {
public:
    TimerEngine();

protected:
    TimerEngine(std::uint32_t typeId, const String& name);
};

} // namespace Vemo
