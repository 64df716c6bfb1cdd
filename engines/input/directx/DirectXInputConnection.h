// What the DirectX keyboard, mouse and joystick handles share: the device interface they own, the timer that
// stamps their events, and what the device said of itself (name, force feedback). The creation steps report
// the DirectX input engine's codes.
#pragma once

#include "engines/timing/Timer.h"
#include "foundation/String.h"
#include "platform/directx/DirectInput.h"

#include <cstdint>

namespace Vemo {

class DirectXInputConnection {
public:
    DirectXInputConnection();
    DirectXInputConnection(const DirectXInputConnection&) = delete;
    DirectXInputConnection& operator=(const DirectXInputConnection&) = delete;
    // Releases the device, if it still holds it.
    ~DirectXInputConnection();

    // The creation steps, in their order; each answers false after reporting its code.
    bool CreateDevice(dinput::IDirectInput2A* directInput, com::REFGUID device);
    bool SetDataFormat(const dinput::DIDATAFORMAT& format);
    bool SetCooperativeLevel(win32::HWND window, win32::DWORD flags);
    bool Acquire();
    bool ReadDeviceInfo();
    bool ReadCapabilities(dinput::DIDEVCAPS& capabilities);
    bool ReadFirstState(void* state, win32::DWORD size);
    // A standard-precision timer of any timer engine, started.
    bool StartTimer();

    // The device's state now. On lost input (DIERR_INPUTLOST, or DIERR_NOTACQUIRED after a loss whose
    // re-acquisition failed) the device is acquired again and read again; false when that fails, or on any
    // other failure.
    bool ReadState(void* state, win32::DWORD size);
    // Unacquires and releases the device.
    void Disconnect();

    // The device's capability flags say it is connected; false when they cannot be read.
    bool IsAttached();
    // The timer's elapsed time.
    std::uint32_t Now();

    const String& GetIdentifier() const { return m_identifier; }
    const String& GetName() const { return m_name; }
    bool HasForceFeedback() const { return m_forceFeedback != 0; }

private:
    Timer m_timer;
    dinput::IDirectInputDevice2A* m_device = nullptr;
    String m_identifier;
    String m_name;
    std::uint8_t m_forceFeedback = 0;
};

} // namespace Vemo
