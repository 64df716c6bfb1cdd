// What platform/testing sees of the DirectInput objects and devices. Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

namespace dinput::detail {

enum class DeviceKind { Keyboard, Mouse };

// The calls that tests can make fail. QueryInterface is that of a DirectInput object or of a device.
enum class DeviceCall {
    CreateDevice,
    QueryInterface,
    SetDataFormat,
    SetCooperativeLevel,
    Acquire,
    GetDeviceInfo,
    GetCapabilities,
    GetDeviceState,
};

// DirectInput objects made and not yet released for good.
int LiveObjectCount();
// The next DirectInputCreateA fails with this result (one call only; S_OK clears it).
void FailNextCreate(win32::HRESULT result);

int LiveDeviceCount();
// The next `times` calls of that kind, on any device, fail with the result (0 times: none).
void FailDeviceCall(DeviceCall call, win32::HRESULT result, int times);
// What GetCapabilities reports for every device of the kind.
void SetCapabilities(DeviceKind kind, win32::DWORD flags, win32::DWORD buttons, win32::DWORD axes);
// Every acquired device loses its input, as when another application takes it.
void LoseInput();
// Default capabilities, no failures to come, nothing held down and no motion waiting.
void ResetDevices();

} // namespace dinput::detail
