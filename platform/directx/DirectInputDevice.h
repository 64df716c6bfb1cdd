// The system keyboard and mouse devices behind IDirectInputDevice2A. Internal to the platform layer.
#pragma once

#include "platform/directx/DirectInput.h"
#include "platform/directx/DirectInputObjects.h"

namespace dinput::detail {

// A new device with one reference, or DIERR_DEVICENOTREG for a device other than the system keyboard and
// mouse.
HRESULT CreateSystemDevice(com::REFGUID device, IDirectInputDeviceA** created);
// The failure a test has made the next call of this kind give, used up by the call; DI_OK for none.
HRESULT TakeInjectedFailure(DeviceCall call);

} // namespace dinput::detail
