// What every DirectInput object and device shares as a COM object: its reference count (it goes with its
// last Release) and QueryInterface over the interfaces it answers to. Internal to the platform layer.
#pragma once

#include "platform/directx/DirectInputDevice.h"

#include <atomic>
#include <initializer_list>

namespace dinput::detail {

template <class Interface>
class DirectInputCounted : public Interface {
public:
    win32::ULONG AddRef() override { return m_references.fetch_add(1) + 1; }

    win32::ULONG Release() override {
        win32::ULONG left = m_references.fetch_sub(1) - 1;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    virtual ~DirectInputCounted() = default;

    // S_OK with a new reference to this object as Interface when iid is one of the answered ones (IUnknown
    // always), DIERR_NOINTERFACE otherwise, or the failure a test asked for.
    HRESULT Answer(com::REFIID iid, void** object, std::initializer_list<const com::IID*> answered) {
        if (object == nullptr) {
            return win32::E_POINTER;
        }
        *object = nullptr;
        if (HRESULT failure = TakeInjectedFailure(DeviceCall::QueryInterface); failure != DI_OK) {
            return failure;
        }
        bool known = iid == com::IID_IUnknown;
        for (const com::IID* candidate : answered) {
            known = known || iid == *candidate;
        }
        if (!known) {
            return DIERR_NOINTERFACE;
        }
        AddRef();
        *object = static_cast<Interface*>(this);
        return DI_OK;
    }

private:
    std::atomic<win32::ULONG> m_references{1};
};

} // namespace dinput::detail
