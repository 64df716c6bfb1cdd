// What platform/testing sees of the DirectInput objects. Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

namespace dinput::detail {

// DirectInput objects made and not yet released for good.
int LiveObjectCount();
// The next DirectInputCreateA fails with this result (one call only; S_OK clears it).
void FailNextCreate(win32::HRESULT result);

} // namespace dinput::detail
