// Values that the QuickTime engine hook and engines pass alike, and the controller action they all make.
#pragma once

#include "platform/quicktime/QuickTime.h"

#include <cstdint>

namespace Vemo {

// New movie files: the creator "TVOD" and the system script.
inline constexpr qt::OSType kQuickTimeCreator = qt::MakeOSType("TVOD");
inline constexpr qt::ScriptCode kQuickTimeSystemScript = -2;
// A controller that draws nothing of its own, and the controller flags it is given.
inline constexpr std::int32_t kHiddenControllerFlags = qt::mcTopLeftMovie | qt::mcNotVisible;
inline constexpr std::int32_t kHiddenControllerSettings = 16;

// A controller action whose parameter is a value.
inline void ControllerAct(qt::MovieController controller, std::int16_t action, std::intptr_t value) {
    qt::ControllerAction(controller, action, qt::ActionValue(value));
}

} // namespace Vemo
