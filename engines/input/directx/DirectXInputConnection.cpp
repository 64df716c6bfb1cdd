#include "engines/input/directx/DirectXInputConnection.h"

#include "engines/input/directx/DirectXInputDeviceEngine.h"
#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"

namespace Vemo {

namespace {

bool Report(ErrorCode code) {
    Error().Report(code);
    return false;
}

} // namespace

DirectXInputConnection::DirectXInputConnection() = default;

DirectXInputConnection::~DirectXInputConnection() {
    if (m_device != nullptr) {
        m_device->Release();
    }
}

bool DirectXInputConnection::CreateDevice(dinput::IDirectInput2A* directInput, com::REFGUID device) {
    dinput::IDirectInputDeviceA* first = nullptr;
    if (directInput == nullptr || win32::FAILED(directInput->CreateDevice(device, &first, nullptr))) {
        return Report(DirectXInputErrCreateDevice);
    }
    void* second = nullptr;
    const win32::HRESULT result = first->QueryInterface(dinput::IID_IDirectInputDevice2A, &second);
    first->Release();
    if (win32::FAILED(result) || second == nullptr) {
        return Report(DirectXInputErrDeviceInterface);
    }
    m_device = static_cast<dinput::IDirectInputDevice2A*>(second);
    return true;
}

bool DirectXInputConnection::SetDataFormat(const dinput::DIDATAFORMAT& format) {
    return win32::SUCCEEDED(m_device->SetDataFormat(&format)) || Report(DirectXInputErrDataFormat);
}

bool DirectXInputConnection::SetCooperativeLevel(win32::HWND window, win32::DWORD flags) {
    return win32::SUCCEEDED(m_device->SetCooperativeLevel(window, flags)) ||
           Report(DirectXInputErrCooperativeLevel);
}

bool DirectXInputConnection::Acquire() {
    return win32::SUCCEEDED(m_device->Acquire()) || Report(DirectXInputErrAcquire);
}

bool DirectXInputConnection::ReadDeviceInfo() {
    dinput::DIDEVICEINSTANCEA instance{};
    instance.dwSize = sizeof(instance);
    if (win32::FAILED(m_device->GetDeviceInfo(&instance))) {
        return Report(DirectXInputErrDeviceInfo);
    }
    instance.tszProductName[sizeof(instance.tszProductName) - 1] = '\0';
    m_identifier = "Not implemented!";
    m_name = instance.tszProductName;
    return true;
}

bool DirectXInputConnection::ReadCapabilities(dinput::DIDEVCAPS& capabilities) {
    capabilities = dinput::DIDEVCAPS{};
    capabilities.dwSize = sizeof(capabilities);
    if (win32::FAILED(m_device->GetCapabilities(&capabilities))) {
        return Report(DirectXInputErrCapabilities);
    }
    m_forceFeedback = (capabilities.dwFlags & dinput::DIDC_FORCEFEEDBACK) != 0 ? 1 : 0;
    return true;
}

bool DirectXInputConnection::ReadFirstState(void* state, win32::DWORD size) {
    return win32::SUCCEEDED(m_device->GetDeviceState(size, state)) || Report(DirectXInputErrDeviceState);
}

bool DirectXInputConnection::StartTimer() {
    if (!m_timer.Open(TimerSystem::Standard, kTimerTypeId)) {
        return Report(DirectXInputErrTimerOpen);
    }
    return m_timer.Start() || Report(DirectXInputErrTimerStart);
}

bool DirectXInputConnection::ReadState(void* state, win32::DWORD size) {
    const win32::HRESULT result = m_device->GetDeviceState(size, state);
    if (win32::SUCCEEDED(result)) {
        return true;
    }
    if (result != dinput::DIERR_INPUTLOST && result != dinput::DIERR_NOTACQUIRED) {
        return false;
    }
    return win32::SUCCEEDED(m_device->Acquire()) && win32::SUCCEEDED(m_device->GetDeviceState(size, state));
}

void DirectXInputConnection::Disconnect() {
    if (m_device != nullptr) {
        m_device->Unacquire();
        m_device->Release();
        m_device = nullptr;
    }
}

bool DirectXInputConnection::IsAttached() {
    dinput::DIDEVCAPS capabilities{};
    capabilities.dwSize = sizeof(capabilities);
    return m_device != nullptr && win32::SUCCEEDED(m_device->GetCapabilities(&capabilities)) &&
           (capabilities.dwFlags & dinput::DIDC_ATTACHED) != 0;
}

std::uint32_t DirectXInputConnection::Now() {
    return m_timer.Elapsed();
}

} // namespace Vemo
