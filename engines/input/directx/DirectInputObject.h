// An object with a DirectInput interface of its own, which the DirectX engine hook creates for it when it
// registers there, and the list of further interfaces obtained through that one, each holding one reference
// until it is released. The DirectX input engine's objects are built on it.
#pragma once

#include "foundation/BasicList.h"
#include "platform/com/Unknown.h"
#include "platform/directx/DirectInput.h"
#include "resources/hooks/DirectInputHookObject.h"

#include <cstdint>

namespace Vemo {

class DirectInputObject : public DirectInputHookObject {
public:
    DirectInputObject();
    // Leaves the hook, or without one releases every interface it holds itself.
    ~DirectInputObject() override;

    // Registers with the hook, which creates the DirectInput interface.
    virtual bool Create();
    // Leaves the hook, which releases every interface the object holds.
    virtual bool Release();
    // A further interface of the DirectInput object, held until ReleaseInterface; null on failure.
    virtual com::IUnknown* QueryInterface(com::REFIID iid);
    bool ReleaseInterface(com::IUnknown* object) override;

    std::uint32_t GetSerial() const override { return m_serial; }
    dinput::IDirectInputA* GetDirectInput() const override { return m_directInput; }
    void SetDirectInput(dinput::IDirectInputA* directInput) override { m_directInput = directInput; }
    com::IUnknown* FirstInterface() const override;
    std::size_t GetInterfaceCount() const { return m_interfaces.Size(); }

private:
    void ReleaseEverything();

    std::uint32_t m_serial;
    dinput::IDirectInputA* m_directInput = nullptr;
    BasicList<com::IUnknown*> m_interfaces;
};

} // namespace Vemo
