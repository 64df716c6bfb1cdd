// The platform hook of the DirectX engines. It keeps the set of live DirectX windows and the one window that
// holds the display (the window whose DirectX state owns the screen), and the set of live DirectInput
// objects, giving each of them a DirectInput interface of its own. The windows and objects register
// themselves when they are created and leave when they are destroyed.
//
// Installed after the Win32 hook and removed before it. Used from the application's thread only.
#pragma once

#include "foundation/BasicSet.h"
#include "platform/win32/Types.h"
#include "resources/ResourceEngineHook.h"
#include "resources/hooks/DirectInputHookObject.h"
#include "resources/hooks/DirectXHookWindow.h"

namespace Vemo {

class DirectXEngineHook : public ResourceEngineHook {
public:
    using InputObjectSet = BasicSet<DirectInputHookObject*, DirectInputObjectSort>;
    using WindowSet = BasicSet<DirectXHookWindow*, DirectXWindowSort>;

    // The version every DirectInput interface is created for.
    static constexpr win32::DWORD kDirectInputVersion = 0x0700;

    ~DirectXEngineHook() override;
    bool Startup() override;
    // Forgets the input objects (they keep their interfaces and release them themselves), removes every
    // window left in the set and releases the display window.
    bool Shutdown() override;

    static bool Install(win32::HINSTANCE instance);
    static bool Uninstall();
    static DirectXEngineHook* Installed();

    static bool AddWindow(DirectXHookWindow* window);
    static bool RemoveWindow(DirectXHookWindow* window);
    // True when a hook is installed and the window is in its set; reports nothing.
    static bool HasWindow(DirectXHookWindow* window);
    // Makes the window the one that holds the display; refused while another window holds it.
    static bool SetCurrentWindow(DirectXHookWindow* window);
    static bool ReleaseCurrentWindow(DirectXHookWindow* window);
    // Creates the object's DirectInput interface and enters the object into the set.
    static bool AddInputObject(DirectInputHookObject* object);
    // Releases every further interface the object holds, then its DirectInput interface, and takes it out of
    // the set.
    static bool RemoveInputObject(DirectInputHookObject* object);

    win32::HINSTANCE GetInstance() const { return m_instance; }
    DirectXHookWindow* GetCurrentWindow() const { return m_currentWindow; }
    const WindowSet& GetWindows() const { return m_windows; }
    const InputObjectSet& GetInputObjects() const { return m_inputObjects; }

private:
    explicit DirectXEngineHook(win32::HINSTANCE instance);

    InputObjectSet m_inputObjects;
    win32::HINSTANCE m_instance;
    DirectXHookWindow* m_currentWindow = nullptr;
    WindowSet m_windows;
};

} // namespace Vemo
