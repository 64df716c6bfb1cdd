#include "engines/input/directx/DirectXInputDeviceEngine.h"

#include "engines/input/directx/DirectXJoystickHandle.h"
#include "engines/input/directx/DirectXKeyboardHandle.h"
#include "engines/input/directx/DirectXMouseHandle.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/hooks/DirectXEngineHook.h"

namespace Vemo {

namespace {

// Unacquires and releases the device of one of this engine's handles, then deletes the handle.
template <class Own, class Handle>
bool DisconnectAndDelete(Handle* handle) {
    if (auto* own = dynamic_cast<Own*>(handle)) {
        own->Disconnect();
    }
    delete handle;
    return true;
}

} // namespace

DirectXInputDeviceEngine::DirectXInputDeviceEngine()
    : InputDeviceEngine(kDirectXInputDeviceTypeId, "DirectX Input Device Engine") {}

DirectXInputDeviceEngine::~DirectXInputDeviceEngine() = default;

DirectXInputDeviceEngine* DirectXInputDeviceEngine::Create(DirectXInputDeviceEngine* engine) {
    return CreateThrough(
        engine, [] { return new DirectXInputDeviceEngine; },
        [](DirectXInputDeviceEngine* made) { return InputDeviceEngine::Create(made); });
}

bool DirectXInputDeviceEngine::Activate() {
    if (!m_object.Create()) {
        Error().Report(DirectXInputErrCreateObject);
        return false;
    }
    com::IUnknown* directInput = m_object.QueryInterface(dinput::IID_IDirectInput2A);
    if (directInput == nullptr) {
        m_object.Release();
        Error().Report(DirectXInputErrNoDirectInput2);
        return false;
    }
    m_directInput = static_cast<dinput::IDirectInput2A*>(directInput);
    return true;
}

bool DirectXInputDeviceEngine::Deactivate() {
    bool result = true;
    if (m_directInput != nullptr) {
        if (!m_object.ReleaseInterface(m_directInput)) {
            Error().Report(DirectXInputErrReleaseDirectInput2);
            result = false;
        }
        m_directInput = nullptr;
    }
    if (m_object.GetDirectInput() != nullptr && !m_object.Release()) {
        Error().Report(DirectXInputErrReleaseObject);
        return false;
    }
    return result;
}

bool DirectXInputDeviceEngine::IsDefaultDevice(const std::uint32_t* index, const String* name) {
    if (name != nullptr || (index != nullptr && *index != 0)) {
        Error().Report(ResourceSystemErrNotSupported);
        return false;
    }
    return true;
}

win32::HWND DirectXInputDeviceEngine::CooperativeWindow() {
    DirectXEngineHook* hook = DirectXEngineHook::Installed();
    DirectXHookWindow* main = hook != nullptr ? hook->GetCurrentWindow() : nullptr;
    if (main == nullptr) {
        Error().Report(DirectXInputErrNoMainWindow);
        return nullptr;
    }
    win32::HWND window = main->GetWindowHandle();
    if (window == nullptr) {
        Error().Report(DirectXInputErrNoNativeWindow);
    }
    return window;
}

KeyboardHandle* DirectXInputDeviceEngine::CreateKeyboardHandle(const std::uint32_t* index,
                                                               const String* name) {
    if (!IsDefaultDevice(index, name)) {
        return nullptr;
    }
    auto* handle = new DirectXKeyboardHandle(this);
    if (!handle->Connect(m_directInput)) {
        delete handle;
        return nullptr;
    }
    return handle;
}

MouseHandle* DirectXInputDeviceEngine::CreateMouseHandle(const std::uint32_t* index, const String* name) {
    if (!IsDefaultDevice(index, name)) {
        return nullptr;
    }
    win32::HWND window = CooperativeWindow();
    if (window == nullptr) {
        return nullptr;
    }
    auto* handle = new DirectXMouseHandle(this);
    if (!handle->Connect(m_directInput, window)) {
        delete handle;
        return nullptr;
    }
    return handle;
}

JoystickHandle* DirectXInputDeviceEngine::CreateJoystickHandle(const std::uint32_t* index,
                                                               const String* name) {
    if (!IsDefaultDevice(index, name) || CooperativeWindow() == nullptr) {
        return nullptr;
    }
    delete new DirectXJoystickHandle(this);
    Error().Report(DirectXInputErrCreateDevice);
    return nullptr;
}

bool DirectXInputDeviceEngine::DestroyKeyboardHandle(KeyboardHandle* handle) {
    return DisconnectAndDelete<DirectXKeyboardHandle>(handle);
}

bool DirectXInputDeviceEngine::DestroyMouseHandle(MouseHandle* handle) {
    return DisconnectAndDelete<DirectXMouseHandle>(handle);
}

bool DirectXInputDeviceEngine::DestroyJoystickHandle(JoystickHandle* handle) {
    return DisconnectAndDelete<DirectXJoystickHandle>(handle);
}

} // namespace Vemo
