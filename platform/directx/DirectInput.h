// DirectInput: the entry point and the DirectInput interface. The keyboard and mouse devices made through it
// read the window layer's input; what the DirectInput interface offers beyond its identity and reference
// count comes with those devices.
#pragma once

#include "platform/com/Unknown.h"
#include "platform/win32/Types.h"

namespace dinput {

using win32::DWORD;
using win32::HINSTANCE;
using win32::HRESULT;

// The newest DirectInput version this implementation answers to; older versions from 0x0300 are accepted.
constexpr DWORD DIRECTINPUT_VERSION = 0x0700;

constexpr HRESULT DI_OK = win32::S_OK;
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047E);
constexpr HRESULT DIERR_BETADIRECTINPUTVERSION = static_cast<HRESULT>(0x80070481);
constexpr HRESULT DIERR_INVALIDPARAM = win32::E_INVALIDARG;
constexpr HRESULT DIERR_NOINTERFACE = win32::E_NOINTERFACE;
constexpr HRESULT DIERR_OUTOFMEMORY = win32::E_OUTOFMEMORY;
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);

class IDirectInputA : public com::IUnknown {
protected:
    ~IDirectInputA() = default;
};

class IDirectInput2A : public IDirectInputA {
protected:
    ~IDirectInput2A() = default;
};

extern const com::IID IID_IDirectInputA;
extern const com::IID IID_IDirectInput2A;

// A new DirectInput object with one reference. Fails with DIERR_INVALIDPARAM without an instance,
// DIERR_OLDDIRECTINPUTVERSION or DIERR_BETADIRECTINPUTVERSION for a version outside 0x0300-0x0700,
// CLASS_E_NOAGGREGATION with an outer object, E_POINTER without a place for the result.
HRESULT DirectInputCreateA(HINSTANCE instance, DWORD version, IDirectInputA** directInput,
                           com::IUnknown* outer);

} // namespace dinput
