// DirectInput 2: the entry point, the DirectInput interface and the system keyboard and mouse devices made
// through it. The devices read the window layer's input (the host's events, SDL2 or injected by tests): the
// keyboard the state of every key, the mouse its relative motion and its buttons. Only immediate reads of the
// whole state are offered; there is no event buffer.
#pragma once

#include "platform/com/Unknown.h"
#include "platform/win32/Types.h"

namespace dinput {

using win32::BYTE;
using win32::CHAR;
using win32::DWORD;
using win32::HINSTANCE;
using win32::HRESULT;
using win32::HWND;
using win32::LONG;
using win32::WORD;

// The newest DirectInput version this implementation answers to; older versions from 0x0300 are accepted.
constexpr DWORD DIRECTINPUT_VERSION = 0x0700;

constexpr HRESULT DI_OK = win32::S_OK;
// Acquire of an acquired device, Unacquire of one that is not.
constexpr HRESULT DI_NOEFFECT = win32::S_FALSE;
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047E);
constexpr HRESULT DIERR_BETADIRECTINPUTVERSION = static_cast<HRESULT>(0x80070481);
constexpr HRESULT DIERR_INVALIDPARAM = win32::E_INVALIDARG;
constexpr HRESULT DIERR_NOINTERFACE = win32::E_NOINTERFACE;
constexpr HRESULT DIERR_OUTOFMEMORY = win32::E_OUTOFMEMORY;
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
// The device lost its input (another application took it); it has to be acquired again.
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001E);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000C);
// The call is not allowed while the device is acquired.
constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AA);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005);
constexpr HRESULT DIERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001);
constexpr HRESULT DIERR_HANDLE = static_cast<HRESULT>(0x80070006);

// SetCooperativeLevel: one of the first two and one of the last two.
constexpr DWORD DISCL_EXCLUSIVE = 0x01;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x02;
constexpr DWORD DISCL_FOREGROUND = 0x04;
constexpr DWORD DISCL_BACKGROUND = 0x08;

constexpr DWORD DIDC_ATTACHED = 0x0001;
constexpr DWORD DIDC_FORCEFEEDBACK = 0x0100;

constexpr DWORD DIDEVTYPE_MOUSE = 2;
constexpr DWORD DIDEVTYPE_KEYBOARD = 3;

constexpr DWORD DIDF_ABSAXIS = 0x01;
constexpr DWORD DIDF_RELAXIS = 0x02;

// The layout of a device's state. Only the two standard formats below are accepted; the object descriptions
// of a format are not read.
struct DIDATAFORMAT {
    DWORD dwSize;
    DWORD dwObjSize;
    DWORD dwFlags;
    DWORD dwDataSize;
    DWORD dwNumObjs;
    const void* rgodf;
};

// 256 bytes, one a key code: 0x80 while the key is down. Key codes are set-1 make codes, 0x80 added for the
// extended keys, except Num Lock (0x45) and Pause (0xC5), the reverse of their scan codes in key messages.
extern const DIDATAFORMAT c_dfDIKeyboard;
// A DIMOUSESTATE.
extern const DIDATAFORMAT c_dfDIMouse;

struct DIMOUSESTATE {
    // Motion since the previous read: x right, y down, z the wheel (WHEEL_DELTA a notch, forward positive).
    LONG lX;
    LONG lY;
    LONG lZ;
    // 0x80 while down: left, right, middle, fourth.
    BYTE rgbButtons[4];
};

struct DIDEVCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwDevType;
    DWORD dwAxes;
    DWORD dwButtons;
    DWORD dwPOVs;
    DWORD dwFFSamplePeriod;
    DWORD dwFFMinTimeResolution;
    DWORD dwFirmwareRevision;
    DWORD dwHardwareRevision;
    DWORD dwFFDriverVersion;
};

struct DIDEVICEINSTANCEA {
    DWORD dwSize;
    com::GUID guidInstance;
    com::GUID guidProduct;
    DWORD dwDevType;
    CHAR tszInstanceName[260];
    CHAR tszProductName[260];
    com::GUID guidFFDriver;
    WORD wUsagePage;
    WORD wUsage;
};

static_assert(sizeof(DIMOUSESTATE) == 16);
static_assert(sizeof(DIDEVCAPS) == 44);
static_assert(sizeof(DIDEVICEINSTANCEA) == 580);

// A device. Sizes passed in (dwSize fields, state sizes) must be the exact sizes above.
class IDirectInputDeviceA : public com::IUnknown {
public:
    virtual HRESULT GetCapabilities(DIDEVCAPS* capabilities) = 0;
    // Needs a data format. DI_NOEFFECT when already acquired.
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    // The first read after the device lost its input answers DIERR_INPUTLOST, the later ones
    // DIERR_NOTACQUIRED until it is acquired again.
    virtual HRESULT GetDeviceState(DWORD size, void* data) = 0;
    // c_dfDIKeyboard for the keyboard, c_dfDIMouse for the mouse; not while acquired.
    virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
    // A live top-level window and a valid level; not while acquired. Devices read the input whatever the
    // level and whatever window is in front.
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT GetDeviceInfo(DIDEVICEINSTANCEA* instance) = 0;

protected:
    ~IDirectInputDeviceA() = default;
};

class IDirectInputDevice2A : public IDirectInputDeviceA {
protected:
    ~IDirectInputDevice2A() = default;
};

class IDirectInputA : public com::IUnknown {
public:
    // GUID_SysKeyboard or GUID_SysMouse; DIERR_DEVICENOTREG for any other device. Each call makes a device of
    // its own, with one reference.
    virtual HRESULT CreateDevice(com::REFGUID device, IDirectInputDeviceA** created,
                                 com::IUnknown* outer) = 0;

protected:
    ~IDirectInputA() = default;
};

class IDirectInput2A : public IDirectInputA {
protected:
    ~IDirectInput2A() = default;
};

extern const com::IID IID_IDirectInputA;
extern const com::IID IID_IDirectInput2A;
extern const com::IID IID_IDirectInputDeviceA;
extern const com::IID IID_IDirectInputDevice2A;
extern const com::GUID GUID_SysKeyboard;
extern const com::GUID GUID_SysMouse;

// A new DirectInput object with one reference. Fails with DIERR_INVALIDPARAM without an instance,
// DIERR_OLDDIRECTINPUTVERSION or DIERR_BETADIRECTINPUTVERSION for a version outside 0x0300-0x0700,
// CLASS_E_NOAGGREGATION with an outer object, E_POINTER without a place for the result.
HRESULT DirectInputCreateA(HINSTANCE instance, DWORD version, IDirectInputA** directInput,
                           com::IUnknown* outer);

} // namespace dinput
