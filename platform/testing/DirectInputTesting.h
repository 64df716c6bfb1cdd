// Test-only access to DirectInput: failures on demand and a count of the objects still alive.
#pragma once

#include "platform/win32/Types.h"

namespace dinput::testing {

// The next DirectInputCreateA fails with this (negative) result.
void FailNextDirectInputCreate(win32::HRESULT result);
// DirectInput objects made and not yet released for good.
int LiveDirectInputObjects();

} // namespace dinput::testing
