#include "platform/testing/DirectInputTesting.h"

namespace dinput::testing {

void FailNextDirectInputCreate(win32::HRESULT result) {
    detail::FailNextCreate(result);
}

int LiveDirectInputObjects() {
    return detail::LiveObjectCount();
}

int LiveDirectInputDevices() {
    return detail::LiveDeviceCount();
}

void FailDeviceCall(DeviceCall call, win32::HRESULT result, int times) {
    detail::FailDeviceCall(call, result, times);
}

void SetDeviceCapabilities(DeviceKind kind, win32::DWORD flags, win32::DWORD buttons, win32::DWORD axes) {
    detail::SetCapabilities(kind, flags, buttons, axes);
}

void LoseInput() {
    detail::LoseInput();
}

void ResetDevices() {
    detail::ResetDevices();
}

} // namespace dinput::testing
