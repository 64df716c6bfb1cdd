// The reference count and QueryInterface that the platform's own COM objects share (the hosting library's
// host objects, connection points) and that tests' doubles of outside controls build on.
#pragma once

#include "platform/com/Unknown.h"

#include <atomic>
#include <initializer_list>
#include <utility>

namespace com {

// An object made with new and one reference; the last Release deletes it.
template <class... Interfaces>
class ComObject : public Interfaces... {
public:
    ULONG AddRef() override { return m_references.fetch_add(1) + 1; }

    ULONG Release() override {
        const ULONG left = m_references.fetch_sub(1) - 1;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    // S_OK with a new reference in *object when iid is one of the answered interfaces (each given with the
    // pointer it answers with; the first also answers IUnknown, the object's identity), E_NOINTERFACE with
    // *object null otherwise.
    HRESULT Answer(REFIID iid, void** object, std::initializer_list<std::pair<const IID*, void*>> answered) {
        if (object == nullptr) {
            return win32::E_POINTER;
        }
        *object = nullptr;
        for (const auto& [candidate, pointer] : answered) {
            if (iid == *candidate || (iid == IID_IUnknown && candidate == answered.begin()->first)) {
                AddRef();
                *object = pointer;
                return win32::S_OK;
            }
        }
        return win32::E_NOINTERFACE;
    }

private:
    std::atomic<ULONG> m_references{1};
};

} // namespace com
