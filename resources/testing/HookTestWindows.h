// Small stand-ins for what the engine hooks manage, for the hook tests below the graphics layer: a window
// that records its messages, a DirectX window, and a DirectInput object that holds the interfaces it asks
// for.
#pragma once

#include "platform/directx/DirectInput.h"
#include "platform/win32/windows/Window.h"
#include "resources/hooks/DirectInputHookObject.h"
#include "resources/hooks/DirectXHookWindow.h"
#include "resources/hooks/Win32HookWindow.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace VemoTest {

inline std::uint32_t NextTestSerial() {
    static std::uint32_t serial = 0;
    return ++serial;
}

class HookTestWindow : public Vemo::Win32HookWindow {
public:
    std::uint32_t GetSerial() const override { return m_serial; }
    win32::HWND GetWindowHandle() const override { return m_window; }

    win32::LRESULT HandleMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                 win32::LPARAM second, bool callDefault) override {
        m_messages.push_back(message);
        if (message == win32::WM_CREATE || message == win32::WM_INITDIALOG) {
            if (m_refuseCreation) {
                return -1;
            }
            m_window = window;
        }
        if (message == win32::WM_DESTROY && !m_keepStaleHandle) {
            m_window = nullptr;
        }
        return callDefault ? win32::DefWindowProcA(window, message, first, second) : 0;
    }

    bool Received(win32::UINT message) const {
        return std::find(m_messages.begin(), m_messages.end(), message) != m_messages.end();
    }

    // Destroys a native window the test left behind.
    ~HookTestWindow() override {
        if (m_window != nullptr && !m_keepStaleHandle) {
            win32::DestroyWindow(m_window);
        }
    }

    std::uint32_t m_serial = NextTestSerial();
    win32::HWND m_window = nullptr;
    bool m_refuseCreation = false;
    // Keeps the handle after WM_DESTROY, as a window whose native window went behind its back.
    bool m_keepStaleHandle = false;
    std::vector<win32::UINT> m_messages;
};

class HookTestDisplayWindow : public Vemo::DirectXHookWindow {
public:
    explicit HookTestDisplayWindow(bool main = false) : DirectXHookWindow(main) {}
    std::uint32_t GetSerial() const override { return m_serial; }
    win32::HWND GetWindowHandle() const override { return m_window; }

    std::uint32_t m_serial = NextTestSerial();
    win32::HWND m_window = nullptr;
};

class HookTestInputObject : public Vemo::DirectInputHookObject {
public:
    ~HookTestInputObject() override {
        while (!m_interfaces.empty()) {
            ReleaseInterface(m_interfaces.front());
        }
        if (m_directInput != nullptr) {
            m_directInput->Release();
        }
    }

    std::uint32_t GetSerial() const override { return m_serial; }
    dinput::IDirectInputA* GetDirectInput() const override { return m_directInput; }
    void SetDirectInput(dinput::IDirectInputA* directInput) override { m_directInput = directInput; }
    com::IUnknown* FirstInterface() const override {
        return m_interfaces.empty() ? nullptr : m_interfaces.front();
    }

    bool ReleaseInterface(com::IUnknown* object) override {
        auto found = std::find(m_interfaces.begin(), m_interfaces.end(), object);
        if (found == m_interfaces.end()) {
            return false;
        }
        m_interfaces.erase(found);
        object->Release();
        ++m_released;
        return true;
    }

    // Holds one more reference to its DirectInput object, as a further interface.
    void Obtain() {
        void* object = nullptr;
        if (m_directInput != nullptr &&
            m_directInput->QueryInterface(dinput::IID_IDirectInput2A, &object) >= 0) {
            m_interfaces.push_back(static_cast<com::IUnknown*>(object));
        }
    }

    std::uint32_t m_serial = NextTestSerial();
    dinput::IDirectInputA* m_directInput = nullptr;
    std::vector<com::IUnknown*> m_interfaces;
    int m_released = 0;
};

} // namespace VemoTest
