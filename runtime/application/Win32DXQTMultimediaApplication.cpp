#include "runtime/application/Win32DXQTMultimediaApplication.h"

#include "engines/font/FontSystem.h"
#include "engines/font/win32/Win32FontEngine.h"
#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/directx/DirectX6GraphicEngine.h"
#include "engines/graphics/directx/DirectXWindow.h"
#include "engines/image/ImageSystem.h"
#include "engines/image/StandardImageEngine.h"
#include "engines/input/InputDeviceSystem.h"
#include "engines/input/directx/DirectXInputDeviceEngine.h"
#include "engines/media/MovieSystem.h"
#include "engines/media/SoundSystem.h"
#include "engines/media/quicktime/QuickTimeEngineHook.h"
#include "engines/media/quicktime/QuickTimeMovieEngine.h"
#include "engines/media/quicktime/QuickTimeSoundEngine.h"
#include "engines/timing/Timer.h"
#include "engines/timing/TimerSystem.h"
#include "engines/timing/win32/Win32TimerEngine.h"
#include "platform/win32/LastError.h"
#include "platform/win32/Version.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/kernel/ModuleResources.h"
#include "platform/win32/kernel/RunFolder.h"
#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/kernel/Thread.h"
#include "platform/win32/windows/Window.h"
#include "resources/ResourceEngine.h"
#include "resources/ResourceSystem.h"
#include "resources/archive/MonolithStorageEngine.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorSystem.h"
#include "resources/hooks/DirectXEngineHook.h"
#include "resources/hooks/Win32EngineHook.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/win32/Win32StorageEngine.h"
#include "runtime/application/LocaleTexts.h"
#include "runtime/application/Win32DXQTMultimediaApplicationErrorEngine.h"
#include "runtime/application/WindowFunctions.h"
#include "runtime/screen/MessengerViewport.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <cstdio>
#include <iterator>
#include <vector>

const char* const Win32DXQTMultimediaApplication::kWindowClassName = "Thornwickstead Window Class";
const char* const Win32DXQTMultimediaApplication::kMutexWindowClassName = "Thornwickstead Mutex Window Class";

namespace {

win32::HCURSOR g_blankCursor = nullptr;
Vemo::DirectXWindow* g_mainWindow = nullptr;

constexpr win32::DWORD kVersionInfoSize = 148;
constexpr win32::DWORD kTempPathSize = 260;

void Report(Vemo::ErrorCode code, const char* text) {
    const Vemo::String name(text);
    RaiseError(code, &name);
}

template <class T>
void DeleteAndClear(T*& pointer) {
    delete pointer;
    pointer = nullptr;
}

// The field is cleared whether or not the System shut down.
template <class System>
bool ShutdownSystem(System*& field) {
    if (field == nullptr) {
        return true;
    }
    Vemo::ResourceSystem* system = field;
    const Vemo::String name = system->GetName();
    const bool shut = system->Shutdown();
    field = nullptr;
    if (!shut) {
        RaiseError(Win32DXQTMultimediaApplication::kErrorSystemShutdown, &name);
    }
    return shut;
}

} // namespace

Win32DXQTMultimediaApplication::Win32DXQTMultimediaApplication(const Vemo::String& name)
    : MultimediaApplication(name) {
    Vemo::ApplicationSystems::SetCurrent(this);
}

Win32DXQTMultimediaApplication::~Win32DXQTMultimediaApplication() = default;

Vemo::String Win32DXQTMultimediaApplication::GetClassName() const {
    return Vemo::String("Win32DXQTMultimediaApplication");
}

win32::HCURSOR Win32DXQTMultimediaApplication::GetBlankCursor() {
    return g_blankCursor;
}

Vemo::DirectXWindow* Win32DXQTMultimediaApplication::GetMainWindow() {
    return g_mainWindow;
}

// --- The guard
// -------------------------------------------------------------------------------------------------

bool Win32DXQTMultimediaApplication::Initialize(const Vemo::BasicArray<Vemo::String>& arguments) {
    if (!IsSupportedPlatform()) {
        RaiseError(kErrorWrongPlatform);
        // No error engine exists yet to show it, and no locale to word it: the
        // built-in text, in a box of its own.
        win32::MessageBoxA(nullptr, BuiltInText("ERR_WRONGPLATFORM"), BuiltInText("ERR_TITLE"), 0);
        return false;
    }
    if (!IsFirstInstance()) {
        return false;
    }
    if (!MultimediaApplication::Initialize(arguments)) {
        return false;
    }
    return m_viewport != nullptr;
}

bool Win32DXQTMultimediaApplication::IsSupportedPlatform() const {
    win32::OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = kVersionInfoSize;
    win32::GetVersionExA(&info);
    if (info.dwPlatformId == win32::VER_PLATFORM_WIN32s) {
        return false;
    }
    return info.dwPlatformId != win32::VER_PLATFORM_WIN32_NT || info.dwMajorVersion >= 5;
}

bool Win32DXQTMultimediaApplication::IsFirstInstance() {
    const Vemo::String& name = Vemo::Win32Application::GetName();
    Vemo::String mutexName(name);
    mutexName.Append(" Mutex");
    // Held for the life of the process and never released: its existence alone
    // marks a running instance.
    const win32::HANDLE mutex = win32::CreateMutexA(nullptr, win32::TRUE, mutexName.CStr());
    if (mutex != nullptr && win32::GetLastError() != win32::ERROR_ALREADY_EXISTS) {
        return true;
    }
    const win32::HWND first = win32::FindWindowA(kMutexWindowClassName, name.CStr());
    if (first != nullptr) {
        win32::PostMessageA(first, win32::WM_USER, 0, 0);
    }
    // Not an error of the title (no box, no report), but the run ends without doing anything: said once,
    // so the player knows where the title went.
    std::fprintf(stderr, "%s: the title is already running%s\n", name.CStr(),
                 first != nullptr ? "; it was asked to come forward" : ", and its window was not found");
    return false;
}

win32::LRESULT Win32DXQTMultimediaApplication::MutexWindowProc(win32::HWND window, win32::UINT message,
                                                               win32::WPARAM wParam, win32::LPARAM lParam) {
    if (message == win32::WM_USER) {
        const auto viewportWindow = reinterpret_cast<win32::HWND>(win32::GetWindowLongA(window, 0));
        if (viewportWindow != nullptr) {
            win32::PostMessageA(viewportWindow, win32::WM_SYSCOMMAND, win32::SC_RESTORE, 0);
        }
    }
    return win32::DefWindowProcA(window, message, wParam, lParam);
}

// --- Start-up
// ----------------------------------------------------------------------------------------------------

bool Win32DXQTMultimediaApplication::OnStartup() {
    if (!Vemo::Win32EngineHook::Install(GetInstanceHandle())) {
        Report(kErrorHookInstall, "Win32 Engine Hook");
        return false;
    }
    CreateBlankCursor();
    if (!RegisterWindowClasses()) {
        return false;
    }
    if (!CreateSystemsAndEngines() || !MultimediaApplication::OnStartup() || !CreateViewport()) {
        return false;
    }
    m_viewport->SetPresentMode(1);
    if (m_mutexWindow != nullptr) {
        win32::SetWindowLongA(m_mutexWindow, 0,
                              reinterpret_cast<win32::LONG_PTR>(GetViewportWindowHandle(m_viewport)));
    }
    return true;
}

bool Win32DXQTMultimediaApplication::CreateBlankCursor() {
    const int width = win32::GetSystemMetrics(win32::SM_CXCURSOR);
    const int height = win32::GetSystemMetrics(win32::SM_CYCURSOR);
    const auto size = static_cast<std::size_t>(width > 0 && height > 0 ? width * height : 0);
    const std::vector<win32::BYTE> andPlane(size, 0xFF);
    const std::vector<win32::BYTE> xorPlane(size, 0x00);
    g_blankCursor =
        win32::CreateCursor(GetInstanceHandle(), 0, 0, width, height, andPlane.data(), xorPlane.data());
    return g_blankCursor != nullptr;
}

bool Win32DXQTMultimediaApplication::RegisterWindowClasses() {
    const Vemo::String mainClass(kWindowClassName);
    const auto brush = static_cast<win32::HBRUSH>(win32::GetStockObject(win32::BLACK_BRUSH));
    const win32::HICON icon = win32::LoadIconA(GetInstanceHandle(), win32::MAKEINTRESOURCEA(kIconId));
    if (!Vemo::Win32EngineHook::RegisterWindowClass(mainClass, win32::CS_HREDRAW | win32::CS_VREDRAW,
                                                    g_blankCursor, brush, icon, nullptr, Vemo::String())) {
        // The engine hook has reported the same code already.
        RaiseError(Vemo::Win32EngineHookErrRegisterClass, &mainClass);
        return false;
    }
    win32::WNDCLASSEXA mutexClass{};
    mutexClass.cbSize = sizeof(mutexClass);
    mutexClass.lpfnWndProc = &MutexWindowProc;
    mutexClass.cbWndExtra = 4;
    mutexClass.hInstance = GetInstanceHandle();
    mutexClass.lpszClassName = kMutexWindowClassName;
    const bool registered = win32::RegisterClassExA(&mutexClass) != 0;
    if (!registered) {
        Report(Vemo::Win32EngineHookErrRegisterClass, kMutexWindowClassName);
    }
    return CreateMutexWindow(registered);
}

bool Win32DXQTMultimediaApplication::CreateMutexWindow(bool classRegistered) {
    m_mutexWindow = win32::CreateWindowExA(0, kMutexWindowClassName, Vemo::Win32Application::GetName().CStr(),
                                           win32::WS_OVERLAPPEDWINDOW, 0, 0, 1, 1, nullptr, nullptr,
                                           GetInstanceHandle(), nullptr);
    if (m_mutexWindow == nullptr) {
        RaiseError(kErrorMutexWindow);
        return false;
    }
    win32::SetWindowLongA(m_mutexWindow, 0, 0);
    return classRegistered;
}

template <class System>
bool Win32DXQTMultimediaApplication::CreateSystem(System*& field, System* (*create)(System*),
                                                  const char* name) {
    field = create(nullptr);
    if (field == nullptr) {
        Report(kErrorSystemCreate, name);
        return false;
    }
    return true;
}

template <class Engine>
bool Win32DXQTMultimediaApplication::AddEngine(Vemo::ResourceSystem* system, Engine* (*create)(Engine*),
                                               const char* name, bool listed) {
    Engine* engine = create(nullptr);
    if (engine == nullptr) {
        Report(kErrorEngineCreate, name);
        return false;
    }
    if (!system->AddEngine(engine)) {
        const Vemo::String ownName = engine->GetName();
        engine->Shutdown();
        RaiseError(kErrorEngineRefused, &ownName);
        return false;
    }
    if (listed) {
        m_engines.PushBack(engine);
    }
    return true;
}

bool Win32DXQTMultimediaApplication::CreateSystemsAndEngines() {
    if (!CreateSystem(m_resourceSystem, &Vemo::ResourceSystem::Create, "Resource System") ||
        !AddEngine(m_resourceSystem, &Vemo::ResourceEngine::Create, "Resource Engine", false) ||
        !CreateSystem(m_errorSystem, &Vemo::ErrorSystem::Create, "Error System")) {
        return false;
    }
    Win32DXQTMultimediaApplicationErrorEngine* errorEngine =
        Win32DXQTMultimediaApplicationErrorEngine::Create();
    if (errorEngine == nullptr) {
        Report(kErrorEngineCreate, "Error Engine");
        return false;
    }
    if (!m_errorSystem->AddEngine(errorEngine)) {
        const Vemo::String ownName = errorEngine->GetName();
        errorEngine->Shutdown();
        RaiseError(kErrorEngineRefused, &ownName);
        return false;
    }
    m_errorEngine = errorEngine;
    if (!CreateSystem(m_fontSystem, &Vemo::FontSystem::Create, "Font System") ||
        !CreateSystem(m_graphicSystem, &Vemo::GraphicSystem::Create, "Graphic System") ||
        !CreateSystem(m_imageSystem, &Vemo::ImageSystem::Create, "Image System") ||
        !CreateSystem(m_inputDeviceSystem, &Vemo::InputDeviceSystem::Create, "Input Device System") ||
        !CreateSystem(m_movieSystem, &Vemo::MovieSystem::Create, "Movie System") ||
        !CreateSystem(m_soundSystem, &Vemo::SoundSystem::Create, "Sound System") ||
        !CreateSystem(m_storageSystem, &Vemo::StorageSystem::Create, "Storage System") ||
        !CreateSystem(m_timerSystem, &Vemo::TimerSystem::Create, "Timer System")) {
        return false;
    }
    if (!AddEngine(m_storageSystem, &Vemo::Win32StorageEngine::Create, "Win32 Storage Engine", true) ||
        !AddEngine(m_storageSystem, &Vemo::MonolithStorageEngine::Create, "Monolith Storage Engine", true)) {
        return false;
    }
    if (!Vemo::DirectXEngineHook::Install(GetInstanceHandle())) {
        Report(kErrorHookInstall, "DirectX Engine Hook");
        return false;
    }
    return CreateMainWindow() && InstallQuickTime() && CreateEngines();
}

bool Win32DXQTMultimediaApplication::CreateMainWindow() {
    g_mainWindow = new Vemo::DirectXWindow(true);
    const Vemo::Point position(0, 0);
    const Vemo::Size size(640, 480);
    // Hidden: the viewport opens the window the title is shown in.
    if (!g_mainWindow->Create(Vemo::String("Main Window"), &position, &size, false, false, 0,
                              win32::WS_CAPTION, nullptr, nullptr, false, false)) {
        RaiseError(kErrorMainWindow);
        return false;
    }
    return true;
}

bool Win32DXQTMultimediaApplication::InstallQuickTime() {
    // In the run's own temporary folder, where nobody else can have put anything under the movie's name.
    char folder[kTempPathSize] = {};
    const bool placed = win32::CreateRunTempFolderA(kTempPathSize, folder) != 0;
    Vemo::String moviePath(folder);
    moviePath.Append(GetClassName()).Append(".mov");
    if (!placed || !Vemo::QuickTimeEngineHook::Install(g_mainWindow->GetWindowHandle(), 0, 0, &moviePath)) {
        const char* product = GetProductTitle().IsEmpty() ? "quorven" : GetProductTitle().CStr();
        if (placed) {
            std::fprintf(stderr, "%s: QuickTime did not start with its start-up movie %s\n", product,
                         moviePath.CStr());
        } else {
            std::fprintf(stderr, "%s: QuickTime did not start: its start-up movie has no temporary folder\n",
                         product);
        }
        Report(kErrorHookInstall, "QuickTime Engine Hook");
        return false;
    }
    return true;
}

bool Win32DXQTMultimediaApplication::CreateEngines() {
    return AddEngine(m_fontSystem, &Vemo::Win32FontEngine::Create, "Win32 Font Engine", true) &&
           AddEngine(m_graphicSystem, &Vemo::DirectX6GraphicEngine::Install, "DirectX 6 Graphic Engine",
                     true) &&
           AddEngine(m_imageSystem, &Vemo::StandardImageEngine::Create, "Standard Image Engine", true) &&
           AddEngine(m_inputDeviceSystem, &Vemo::DirectXInputDeviceEngine::Create,
                     "DirectX Input Device Engine", true) &&
           AddEngine(m_movieSystem, &Vemo::QuickTimeMovieEngine::Create, "QuickTime Movie Engine", true) &&
           AddEngine(m_soundSystem, &Vemo::QuickTimeSoundEngine::Create, "QuickTime Sound Engine", true) &&
           AddEngine(m_timerSystem, &Vemo::Win32TimerEngine::Create, "Win32 Timer Engine", true);
}

bool Win32DXQTMultimediaApplication::CreateViewport() {
    Script* script = GetConfigScript();
    const Vemo::BasicArray<Fragment>* value = nullptr;
    Vemo::String name;
    if (script != nullptr && script->GetFragments(AppSection(), Vemo::String("Viewport"), value)) {
        FragmentStream(*value) >> name;
    }
    Messenger* made = name.IsEmpty() ? nullptr : MessengerFactory::CreateFromScript(name, this, script);
    m_viewport = dynamic_cast<MessengerViewport*>(made);
    if (m_viewport == nullptr) {
        delete made;
        RaiseError(kErrorFailure);
        return false;
    }
    return true;
}

// --- The frame
// ---------------------------------------------------------------------------------------------------

void Win32DXQTMultimediaApplication::OnStep() {
    if (IsInputDisabled()) {
        if (m_viewport != nullptr) {
            m_viewport->ProcessEvents();
        }
        win32::WaitMessage();
        return;
    }
    if (m_timerSystem != nullptr) {
        m_timerSystem->Update();
    }
    Vemo::Timer* frameTimer = GetSystemFrameTimer();
    if (frameTimer != nullptr && frameTimer->IsRunning() && frameTimer->TakeTicks() == 0) {
        return;
    }
    Vemo::QuickTimeEngineHook::Idle();
    Vemo::ResourceSystem* const systems[] = {m_resourceSystem, m_errorSystem, m_fontSystem,
                                             m_graphicSystem,  m_imageSystem, m_inputDeviceSystem,
                                             m_movieSystem,    m_soundSystem, m_storageSystem};
    for (Vemo::ResourceSystem* system : systems) {
        if (system != nullptr) {
            system->Update();
        }
    }
    if (m_viewport != nullptr) {
        m_viewport->ProcessEvents();
    }
}

int Win32DXQTMultimediaApplication::ShowMessage(const Vemo::String* text, const Vemo::String* caption) {
    return win32::MessageBoxA(GetViewportWindowHandle(m_viewport), text != nullptr ? text->CStr() : "",
                              caption != nullptr ? caption->CStr() : nullptr, win32::MB_OKCANCEL);
}

bool Win32DXQTMultimediaApplication::EnableInput(bool enable) {
    Vemo::QuickTimeEngineHook::PlayOwnMovie(enable);
    return MultimediaApplication::EnableInput(enable);
}

// --- Shut-down
// ---------------------------------------------------------------------------------------------------

void Win32DXQTMultimediaApplication::DeleteViewport() {
    delete m_viewport;
    m_viewport = nullptr;
}

bool Win32DXQTMultimediaApplication::OnShutdown() {
    DeleteViewport();
    bool result = MultimediaApplication::OnShutdown();
    while (!m_engines.Empty()) {
        Vemo::ResourceEngine* engine = m_engines.Back();
        m_engines.Erase(std::prev(m_engines.End()));
        result = engine->Shutdown() && result;
    }
    if (Vemo::QuickTimeEngineHook::Installed() != nullptr && !Vemo::QuickTimeEngineHook::Remove()) {
        Report(kErrorHookRemove, "QuickTime Engine Hook");
        result = false;
    }
    // What the folder still holds goes with it; the standard error names a folder that stays.
    win32::RemoveRunTempFolder();
    if (g_mainWindow != nullptr) {
        g_mainWindow->Destroy();
        DeleteAndClear(g_mainWindow);
    }
    if (Vemo::DirectXEngineHook::Installed() != nullptr && !Vemo::DirectXEngineHook::Uninstall()) {
        Report(kErrorHookRemove, "DirectX Engine Hook");
        result = false;
    }
    if (Vemo::Win32EngineHook::Installed() != nullptr && !Vemo::Win32EngineHook::Uninstall()) {
        Report(kErrorHookRemove, "Win32 Engine Hook");
        result = false;
    }
    if (g_blankCursor != nullptr) {
        win32::DestroyCursor(g_blankCursor);
        g_blankCursor = nullptr;
    }
    result = ShutdownSystems() && result;
    if (m_mutexWindow != nullptr) {
        win32::DestroyWindow(m_mutexWindow);
        m_mutexWindow = nullptr;
    }
    return result;
}

bool Win32DXQTMultimediaApplication::ShutdownSystems() {
    // The error engine leaves with the Error System.
    m_errorEngine = nullptr;
    bool result = ShutdownSystem(m_timerSystem);
    result = ShutdownSystem(m_soundSystem) && result;
    result = ShutdownSystem(m_movieSystem) && result;
    result = ShutdownSystem(m_inputDeviceSystem) && result;
    result = ShutdownSystem(m_imageSystem) && result;
    result = ShutdownSystem(m_graphicSystem) && result;
    result = ShutdownSystem(m_fontSystem) && result;
    result = ShutdownSystem(m_storageSystem) && result;
    result = ShutdownSystem(m_errorSystem) && result;
    return ShutdownSystem(m_resourceSystem) && result;
}
