// What every DirectDraw object, surface and clipper shares as a COM object: its reference count, whose last
// release destroys it under the display's lock, and QueryInterface over the interfaces it answers to.
// Internal to the platform layer.
#pragma once

#include "platform/directx/DirectDrawDisplay.h"

#include <atomic>
#include <initializer_list>
#include <mutex>
#include <utility>

namespace ddraw::detail {

template <class... Interfaces>
class DirectDrawCounted : public Interfaces... {
public:
    win32::ULONG AddRef() override { return m_references.fetch_add(1) + 1; }

    win32::ULONG Release() override {
        std::lock_guard guard(Display::Instance().Lock());
        return ReleaseLocked();
    }

    // With the display's lock held.
    win32::ULONG ReleaseLocked() {
        win32::ULONG left = DropReference();
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    virtual ~DirectDrawCounted() = default;

    win32::ULONG DropReference() { return m_references.fetch_sub(1) - 1; }

    // S_OK with a new reference in *object when iid is one of the answered ones (each with the interface
    // pointer it gives; the first also answers IUnknown), E_NOINTERFACE otherwise, or the answer a test set.
    HRESULT Answer(com::REFIID iid, void** object,
                   std::initializer_list<std::pair<const com::IID*, void*>> answered) {
        if (object == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        *object = nullptr;
        if (HRESULT answer = TakeAnswer(Call::QueryInterface); answer != DD_OK) {
            return answer;
        }
        for (const auto& [candidate, pointer] : answered) {
            if (iid == *candidate || (iid == com::IID_IUnknown && candidate == answered.begin()->first)) {
                AddRef();
                *object = pointer;
                return DD_OK;
            }
        }
        return win32::E_NOINTERFACE;
    }

private:
    std::atomic<win32::ULONG> m_references{1};
};

} // namespace ddraw::detail
