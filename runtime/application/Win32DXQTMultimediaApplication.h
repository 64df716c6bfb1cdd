// The application of the engine world on Windows with DirectX 6 and QuickTime. Initialize refuses Win32s and
// Windows NT before 5, and a second instance: a second process finds the first one's hidden mutex window and
// posts it WM_USER, which brings the first one's viewport window back, then ends quietly. OnStartup builds
// the whole engine world in one fixed order (the Win32 engine hook, the window classes and the mutex window,
// the ten Systems and their Engines, the DirectX and QuickTime engine hooks, the main window), runs the
// multimedia application's start-up and creates the viewport the "Viewport" key of the "App" section names;
// OnShutdown takes the world down in reverse. OnStep gives every System its time once per frame.
//
// The application is the current ApplicationSystems while it exists: the System accessors read its ten
// fields, which OnStartup fills and OnShutdown clears.
#pragma once

#include "platform/win32/Types.h"
#include "resources/ApplicationSystems.h"
#include "resources/error/ErrorFacilities.h"
#include "runtime/application/MultimediaApplication.h"

namespace Vemo {
class DirectXWindow;
class ResourceSystem;
} // namespace Vemo

class Win32DXQTMultimediaApplication : public MultimediaApplication, public Vemo::ApplicationSystems {
public:
    // The application module's numbers 10 to 17 are this class's; 13 and 14 are not raised.
    // Text: the System's name.
    static constexpr Vemo::ErrorCode kErrorSystemCreate = Vemo::MakeErrorCode(Vemo::kApplicationFacility, 10);
    // Text: the Engine's name.
    static constexpr Vemo::ErrorCode kErrorEngineCreate = Vemo::MakeErrorCode(Vemo::kApplicationFacility, 11);
    static constexpr Vemo::ErrorCode kErrorEngineRefused =
        Vemo::MakeErrorCode(Vemo::kApplicationFacility, 12);
    static constexpr Vemo::ErrorCode kErrorSystemShutdown =
        Vemo::MakeErrorCode(Vemo::kApplicationFacility, 15);
    // Text: the hook's name.
    static constexpr Vemo::ErrorCode kErrorHookInstall = Vemo::MakeErrorCode(Vemo::kApplicationFacility, 16);
    static constexpr Vemo::ErrorCode kErrorHookRemove = Vemo::MakeErrorCode(Vemo::kApplicationFacility, 17);

    static const char* const kWindowClassName;
    static const char* const kMutexWindowClassName;
    static constexpr std::uint32_t kIconId = 32512;

    // Becomes the current ApplicationSystems.
    explicit Win32DXQTMultimediaApplication(const Vemo::String& name);
    // The engine world must be gone already (OnShutdown); the user settings are OnShutdown's to close.
    ~Win32DXQTMultimediaApplication() override;

    Vemo::String GetClassName() const override;
    // The platform and single-instance guard, then the messenger application's Initialize; true only when a
    // viewport exists.
    bool Initialize(const Vemo::BasicArray<Vemo::String>& arguments) override;
    bool OnStartup() override;
    // Every step runs, whatever an earlier one did; true when all succeeded.
    bool OnShutdown() override;
    // While input is disabled: the viewport's events, then a wait for the next window message. Otherwise
    // the Timer System, the "MaxSystemFPS" gate, QuickTime, the other Systems and the viewport's events.
    void OnStep() override;
    int ShowMessage(const Vemo::String* text, const Vemo::String* caption) override;
    // Pauses or plays QuickTime's own start-up movie as well.
    bool EnableInput(bool enable) override;

    // WM_USER brings the viewport's window (window data word 0) back from the task bar.
    static win32::LRESULT MutexWindowProc(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                          win32::LPARAM lParam);

    win32::HWND GetMutexWindow() const { return m_mutexWindow; }
    const Vemo::BasicList<Vemo::ResourceEngine*>& GetEngines() const { return m_engines; }
    static win32::HCURSOR GetBlankCursor();
    static Vemo::DirectXWindow* GetMainWindow();

private:
    bool IsSupportedPlatform() const;
    bool IsFirstInstance();
    bool CreateBlankCursor();
    bool RegisterWindowClasses();
    bool CreateMutexWindow(bool classRegistered);
    bool CreateSystemsAndEngines();
    // Stores the System made by the factory in its field; null reports App 10 with the name.
    template <class System>
    bool CreateSystem(System*& field, System* (*create)(System*), const char* name);
    // Creates the engine, adds it to the System and, with listed, appends it to the engine list.
    template <class Engine>
    bool AddEngine(Vemo::ResourceSystem* system, Engine* (*create)(Engine*), const char* name, bool listed);
    bool CreateMainWindow();
    bool InstallQuickTime();
    bool CreateEngines();
    bool CreateViewport();
    bool ShutdownSystems();
    void DeleteViewport();

    win32::HWND m_mutexWindow = nullptr;
};
