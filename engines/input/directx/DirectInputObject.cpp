#include "engines/input/directx/DirectInputObject.h"

#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/hooks/DirectXEngineHook.h"

namespace Vemo {

namespace {

// Object serials: their own counter; the first object is 1.
std::uint32_t g_objectCounter = 0;

} // namespace

DirectInputObject::DirectInputObject() : m_serial(++g_objectCounter) {}

DirectInputObject::~DirectInputObject() {
    if (m_directInput != nullptr) {
        if (DirectXEngineHook::Installed() != nullptr) {
            if (!DirectXEngineHook::RemoveInputObject(this)) {
                RaiseError(DirectXEngineHookErrObjectRemoveFailed);
            }
        }
        // Without a hook, or with one that does not know the object (a hook installed after the one that made
        // the interface), the object releases what it holds itself.
        ReleaseEverything();
    }
    m_interfaces.Clear();
}

void DirectInputObject::ReleaseEverything() {
    while (!m_interfaces.Empty()) {
        ReleaseInterface(m_interfaces.Front());
    }
    if (m_directInput != nullptr) {
        m_directInput->Release();
        m_directInput = nullptr;
    }
}

bool DirectInputObject::Create() {
    if (m_directInput != nullptr) {
        RaiseError(DirectXEngineHookErrObjectAttached);
        return false;
    }
    if (DirectXEngineHook::Installed() == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (!DirectXEngineHook::AddInputObject(this)) {
        RaiseError(DirectXEngineHookErrObjectAddFailed);
        return false;
    }
    return true;
}

bool DirectInputObject::Release() {
    if (m_directInput == nullptr) {
        RaiseError(DirectXEngineHookErrObjectNotAttached);
        return false;
    }
    if (DirectXEngineHook::Installed() == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (!DirectXEngineHook::RemoveInputObject(this)) {
        RaiseError(DirectXEngineHookErrObjectRemoveFailed);
        return false;
    }
    return true;
}

com::IUnknown* DirectInputObject::QueryInterface(com::REFIID iid) {
    void* object = nullptr;
    // Without its DirectInput interface the object has nothing to ask.
    if (m_directInput == nullptr || win32::FAILED(m_directInput->QueryInterface(iid, &object)) ||
        object == nullptr) {
        RaiseError(DirectXEngineHookErrQueryInterface);
        return nullptr;
    }
    auto* obtained = static_cast<com::IUnknown*>(object);
    m_interfaces.PushBack(obtained);
    return obtained;
}

bool DirectInputObject::ReleaseInterface(com::IUnknown* object) {
    for (auto entry = m_interfaces.Begin(); entry != m_interfaces.End(); ++entry) {
        if (*entry == object) {
            m_interfaces.Erase(entry);
            object->Release();
            return true;
        }
    }
    RaiseError(DirectXEngineHookErrInterfaceUnknown);
    return false;
}

com::IUnknown* DirectInputObject::FirstInterface() const {
    return m_interfaces.Empty() ? nullptr : *m_interfaces.Begin();
}

} // namespace Vemo
