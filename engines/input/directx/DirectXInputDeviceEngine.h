// The input-device engine on DirectInput 2, named "DirectX Input Device Engine": the system keyboard and the
// system mouse, each as index 0 only, read in immediate mode (the whole state at every poll, the changes
// since the previous poll becoming events). No joystick can be opened. Its DirectInput interface comes from
// an embedded DirectInputObject while the engine is started; the mouse takes the DirectX engine hook's main
// window as its cooperative window.
//
// DirectInput failures are reported with this engine's numbered codes, without text; polls fail silently.
#pragma once

#include "engines/input/InputDeviceEngine.h"
#include "engines/input/directx/DirectInputObject.h"
#include "platform/directx/DirectInput.h"

namespace Vemo {

inline constexpr ErrorCode DirectXInputErrCreateObject = MakeErrorCode(kDirectXInputDeviceEngineFacility, 1);
inline constexpr ErrorCode DirectXInputErrNoDirectInput2 =
    MakeErrorCode(kDirectXInputDeviceEngineFacility, 2);
inline constexpr ErrorCode DirectXInputErrReleaseDirectInput2 =
    MakeErrorCode(kDirectXInputDeviceEngineFacility, 3);
inline constexpr ErrorCode DirectXInputErrReleaseObject = MakeErrorCode(kDirectXInputDeviceEngineFacility, 4);
inline constexpr ErrorCode DirectXInputErrNoMainWindow = MakeErrorCode(kDirectXInputDeviceEngineFacility, 5);
inline constexpr ErrorCode DirectXInputErrNoNativeWindow =
    MakeErrorCode(kDirectXInputDeviceEngineFacility, 6);
inline constexpr ErrorCode DirectXInputErrCreateDevice = MakeErrorCode(kDirectXInputDeviceEngineFacility, 7);
inline constexpr ErrorCode DirectXInputErrDeviceInterface =
    MakeErrorCode(kDirectXInputDeviceEngineFacility, 8);
inline constexpr ErrorCode DirectXInputErrDataFormat = MakeErrorCode(kDirectXInputDeviceEngineFacility, 9);
inline constexpr ErrorCode DirectXInputErrCooperativeLevel =
    MakeErrorCode(kDirectXInputDeviceEngineFacility, 10);
inline constexpr ErrorCode DirectXInputErrAcquire = MakeErrorCode(kDirectXInputDeviceEngineFacility, 11);
inline constexpr ErrorCode DirectXInputErrDeviceInfo = MakeErrorCode(kDirectXInputDeviceEngineFacility, 12);
inline constexpr ErrorCode DirectXInputErrCapabilities = MakeErrorCode(kDirectXInputDeviceEngineFacility, 13);
inline constexpr ErrorCode DirectXInputErrDeviceState = MakeErrorCode(kDirectXInputDeviceEngineFacility, 14);
inline constexpr ErrorCode DirectXInputErrTimerOpen = MakeErrorCode(kDirectXInputDeviceEngineFacility, 15);
inline constexpr ErrorCode DirectXInputErrTimerStart = MakeErrorCode(kDirectXInputDeviceEngineFacility, 16);

class DirectXInputDeviceEngine : public InputDeviceEngine {
public:
    DirectXInputDeviceEngine();
    ~DirectXInputDeviceEngine() override;

    // Run Initialize on the given engine, or on a new one when none is given; null when that fails.
    static DirectXInputDeviceEngine* Create(DirectXInputDeviceEngine* engine = nullptr);

    // Takes a DirectInput 2 interface through the embedded object.
    bool Activate() override;
    // Gives the interface and the object's DirectInput interface back.
    bool Deactivate() override;

    // Acquired devices, with a timer started for their events' times.
    KeyboardHandle* CreateKeyboardHandle(const std::uint32_t* index, const String* name) override;
    MouseHandle* CreateMouseHandle(const std::uint32_t* index, const String* name) override;
    // Always refused (DirectXInputErrCreateDevice), after the mouse's checks.
    JoystickHandle* CreateJoystickHandle(const std::uint32_t* index, const String* name) override;
    // Unacquire and release the device, delete the handle.
    bool DestroyKeyboardHandle(KeyboardHandle* handle) override;
    bool DestroyMouseHandle(MouseHandle* handle) override;
    bool DestroyJoystickHandle(JoystickHandle* handle) override;

    dinput::IDirectInput2A* GetDirectInput() const { return m_directInput; }
    const DirectInputObject& GetDirectInputObject() const { return m_object; }

private:
    // Only the default device, index 0, can be opened; anything else is refused with
    // ResourceSystemErrNotSupported.
    static bool IsDefaultDevice(const std::uint32_t* index, const String* name);
    // The main window's native window, or null after reporting why there is none.
    static win32::HWND CooperativeWindow();

    DirectInputObject m_object;
    dinput::IDirectInput2A* m_directInput = nullptr;
};

} // namespace Vemo
