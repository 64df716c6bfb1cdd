// Test-only access to DirectInput: failures on demand, lost input, device capabilities and counts of the
// objects and devices still alive. The devices' input itself comes from the window layer
// (platform/testing/WindowTesting.h), as a user would give it.
#pragma once

#include "platform/directx/DirectInputObjects.h"
#include "platform/win32/Types.h"

namespace dinput::testing {

using detail::DeviceCall;
using detail::DeviceKind;

// The next DirectInputCreateA fails with this (negative) result.
void FailNextDirectInputCreate(win32::HRESULT result);
// DirectInput objects made and not yet released for good.
int LiveDirectInputObjects();
int LiveDirectInputDevices();

// The next `times` calls of the kind, on any device (QueryInterface also on a DirectInput object), fail with
// the (negative) result.
void FailDeviceCall(DeviceCall call, win32::HRESULT result, int times = 1);
// What GetCapabilities reports for the devices of the kind (DIDC_ATTACHED, DIDC_FORCEFEEDBACK, ...).
void SetDeviceCapabilities(DeviceKind kind, win32::DWORD flags, win32::DWORD buttons, win32::DWORD axes);
// Every acquired device loses its input: its next read answers DIERR_INPUTLOST, later ones DIERR_NOTACQUIRED
// until it is acquired again.
void LoseInput();
// Default capabilities, no failures to come, nothing held and no motion waiting.
void ResetDevices();

} // namespace dinput::testing
