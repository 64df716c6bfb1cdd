// A DirectInput object as the DirectX engine hook sees it from below the graphics layer: its serial number,
// the DirectInput interface the hook creates for it, and the further interfaces it obtained through that one.
// Vemo::DirectInputObject implements it.
#pragma once

#include "platform/com/Unknown.h"
#include "platform/directx/DirectInput.h"

#include <cstdint>

namespace Vemo {

class DirectInputHookObject {
public:
    DirectInputHookObject() = default;
    DirectInputHookObject(const DirectInputHookObject&) = delete;
    DirectInputHookObject& operator=(const DirectInputHookObject&) = delete;
    virtual ~DirectInputHookObject();

    // From the objects' own process-wide counter: the object's identity in the hook's object set.
    virtual std::uint32_t GetSerial() const = 0;
    virtual dinput::IDirectInputA* GetDirectInput() const = 0;
    virtual void SetDirectInput(dinput::IDirectInputA* directInput) = 0;
    // The first further interface the object still holds, or null.
    virtual com::IUnknown* FirstInterface() const = 0;
    // Releases one of the further interfaces and forgets it; false when the object does not hold it.
    virtual bool ReleaseInterface(com::IUnknown* object) = 0;
};

struct DirectInputObjectSort {
    bool operator()(const DirectInputHookObject* a, const DirectInputHookObject* b) const {
        return a->GetSerial() < b->GetSerial();
    }
};

} // namespace Vemo
