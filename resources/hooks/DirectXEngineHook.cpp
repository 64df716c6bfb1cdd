#include "resources/hooks/DirectXEngineHook.h"

#include "platform/directx/DirectInput.h"

namespace Vemo {

namespace {

constinit DirectXEngineHook* g_installedHook = nullptr;

} // namespace

DirectXEngineHook::DirectXEngineHook(win32::HINSTANCE instance) : m_instance(instance) {}

DirectXEngineHook::~DirectXEngineHook() = default;

bool DirectXEngineHook::Install(win32::HINSTANCE instance) {
    return InstallHook(g_installedHook, [instance] { return new DirectXEngineHook(instance); });
}

bool DirectXEngineHook::Uninstall() {
    return UninstallHook(g_installedHook);
}

DirectXEngineHook* DirectXEngineHook::Installed() {
    return g_installedHook;
}

bool DirectXEngineHook::Startup() {
    if (m_instance == nullptr) {
        RaiseError(DirectXEngineHookErrNoInstance);
        return false;
    }
    return true;
}

bool DirectXEngineHook::Shutdown() {
    m_inputObjects.Clear();
    while (!m_windows.Empty()) {
        DirectXHookWindow* window = *m_windows.Begin();
        if (!RemoveWindow(window)) {
            // Cannot happen while this hook is the installed one; never loop on it.
            m_windows.Erase(m_windows.Begin());
        }
    }
    if (m_currentWindow != nullptr) {
        ReleaseCurrentWindow(m_currentWindow);
    }
    return true;
}

bool DirectXEngineHook::AddWindow(DirectXHookWindow* window) {
    DirectXEngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (!hook->m_windows.Insert(window).second) {
        RaiseError(DirectXEngineHookErrWindowKnown);
        return false;
    }
    window->m_hook = hook;
    window->m_main = false;
    return true;
}

bool DirectXEngineHook::RemoveWindow(DirectXHookWindow* window) {
    DirectXEngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    auto first = hook->m_windows.LowerBound(window);
    auto last = hook->m_windows.UpperBound(window);
    if (first == last) {
        RaiseError(DirectXEngineHookErrWindowUnknown);
        return false;
    }
    hook->m_windows.EraseRange(first, last);
    window->m_hook = nullptr;
    window->m_main = false;
    return true;
}

bool DirectXEngineHook::HasWindow(DirectXHookWindow* window) {
    DirectXEngineHook* hook = g_installedHook;
    return hook != nullptr && hook->m_windows.Find(window) != hook->m_windows.End();
}

bool DirectXEngineHook::SetCurrentWindow(DirectXHookWindow* window) {
    DirectXEngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (hook->m_currentWindow != nullptr) {
        RaiseError(DirectXEngineHookErrDisplayTaken);
        return false;
    }
    hook->m_currentWindow = window;
    window->m_hook = hook;
    window->m_main = true;
    return true;
}

bool DirectXEngineHook::ReleaseCurrentWindow(DirectXHookWindow* window) {
    DirectXEngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (hook->m_currentWindow == nullptr) {
        RaiseError(DirectXEngineHookErrNoDisplayWindow);
        return false;
    }
    if (hook->m_currentWindow->GetSerial() != window->GetSerial()) {
        RaiseError(DirectXEngineHookErrNotDisplayWindow);
        return false;
    }
    hook->m_currentWindow = nullptr;
    window->m_hook = nullptr;
    window->m_main = false;
    return true;
}

bool DirectXEngineHook::AddInputObject(DirectInputHookObject* object) {
    DirectXEngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (hook->m_inputObjects.Find(object) != hook->m_inputObjects.End()) {
        RaiseError(DirectXEngineHookErrObjectKnown);
        return false;
    }
    dinput::IDirectInputA* directInput = nullptr;
    if (win32::FAILED(
            dinput::DirectInputCreateA(hook->m_instance, kDirectInputVersion, &directInput, nullptr))) {
        RaiseError(DirectXEngineHookErrDirectInput);
        return false;
    }
    object->SetDirectInput(directInput);
    hook->m_inputObjects.Insert(object);
    return true;
}

bool DirectXEngineHook::RemoveInputObject(DirectInputHookObject* object) {
    DirectXEngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    auto first = hook->m_inputObjects.LowerBound(object);
    auto last = hook->m_inputObjects.UpperBound(object);
    if (first == last) {
        RaiseError(DirectXEngineHookErrObjectUnknown);
        return false;
    }
    while (com::IUnknown* held = object->FirstInterface()) {
        // An object whose release keeps the interface would hold the loop for ever.
        if (!object->ReleaseInterface(held)) {
            break;
        }
    }
    if (dinput::IDirectInputA* directInput = object->GetDirectInput()) {
        directInput->Release();
        object->SetDirectInput(nullptr);
    }
    hook->m_inputObjects.EraseRange(hook->m_inputObjects.LowerBound(object),
                                    hook->m_inputObjects.UpperBound(object));
    return true;
}

} // namespace Vemo
