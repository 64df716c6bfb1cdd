#include "controls/WallpaperControl.h"

#include "platform/com/ActiveDesktop.h"
#include "platform/win32/desktop/DisplaySettings.h"
#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/registry/SystemParameters.h"
#include "platform/win32/windows/Window.h"
#include "resources/storage/Directory.h"
#include "resources/storage/win32/Win32StorageEngine.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/application/WindowsPaths.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentsEnumerator.h"

#include <vector>

namespace {

const MessengerFactory::Registrar g_wallpaperRegistrar(WallpaperControl::ClassWord(),
                                                       &WallpaperControl::Create);

// The wallpaper as the Active Desktop gives it, in UTF-16 units.
constexpr unsigned kWallpaperBufferSize = 520;
// How long the shell is given to repaint once the desktop is in front.
constexpr unsigned kRepaintMilliseconds = 250;

struct Paper {
    long width = 0;
    long height = 0;
    long depth = 0;
    const Fragment* file = nullptr;
};

void PumpOnce() {
    win32::MSG message;
    win32::PeekMessageA(&message, nullptr, 0, 0, win32::PM_NOREMOVE);
}

// Each byte widened to a UTF-16 unit, without a code page.
std::vector<win32::WCHAR> Widened(const Vemo::String& text) {
    std::vector<win32::WCHAR> wide;
    for (unsigned i = 0; i < text.Length(); ++i) {
        wide.push_back(static_cast<unsigned char>(text.CStr()[i]));
    }
    wide.push_back(0);
    return wide;
}

} // namespace

WallpaperControl::WallpaperControl(const Vemo::String& name, Messenger* owner, Script* script)
    : DesktopInstallControl(name, owner, script) {
    if (!win32::SUCCEEDED(com::CoInitialize(nullptr))) {
        return;
    }
    m_comStarted = true;
    void* object = nullptr;
    if (win32::FAILED(com::CoCreateInstance(com::CLSID_ActiveDesktop, nullptr, com::CLSCTX_INPROC_SERVER,
                                            com::IID_IActiveDesktop, &object))) {
        com::CoUninitialize();
        m_comStarted = false;
        return;
    }
    m_activeDesktop = static_cast<com::IActiveDesktop*>(object);
}

WallpaperControl::~WallpaperControl() {
    if (m_activeDesktop != nullptr) {
        m_activeDesktop->Release();
    }
    // Only a start of our own is undone: another user's COM on this thread stays started.
    if (m_comStarted) {
        com::CoUninitialize();
    }
}

Messenger* WallpaperControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<WallpaperControl>(name, owner, script);
}

const Vemo::String& WallpaperControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("WallpaperControl");
    return *word;
}

Vemo::String WallpaperControl::GetClassName() const {
    return ClassWord();
}

bool WallpaperControl::Select(const Fragment& descriptionName) {
    m_chosen = false;
    m_source = Vemo::Path();
    m_destination = Vemo::Path();
    Script description;
    if (LoadDescription(descriptionName, description)) {
        AnnounceThumb(description, "WallpaperControl");
        win32::DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        win32::EnumDisplaySettingsA(nullptr, win32::ENUM_CURRENT_SETTINGS, &mode);
        ScriptKeyFragmentsEnumerator papers;
        description.EnumerateKey(Vemo::String(), Vemo::String("Paper"), papers);
        Paper best;
        for (std::size_t i = 0; i < papers.GetValues().Size(); ++i) {
            Paper paper;
            FragmentStream(papers.GetValues()[i]) >> paper.width >> paper.height >> paper.depth >> paper.file;
            const bool fits = paper.file != nullptr && paper.width <= static_cast<long>(mode.dmPelsWidth) &&
                              paper.height <= static_cast<long>(mode.dmPelsHeight) &&
                              paper.depth <= static_cast<long>(mode.dmBitsPerPel);
            if (fits && (best.file == nullptr || (paper.width > best.width && paper.height > best.height))) {
                best = paper;
            }
        }
        MultimediaApplication* application = MultimediaApplication::Instance();
        Vemo::String folder;
        // The picture keeps its name in the Windows folder, so that name must be one entry of it: a name
        // from an archive may hold folders or "..", and would put the copy, and the wallpaper, elsewhere.
        if (best.file != nullptr && application != nullptr &&
            application->FindFile(*best.file, m_source, false) && WindowsDirectoryText(folder) &&
            Vemo::Win32StorageEngine::CheckEntryName(m_source.GetName(), folder)) {
            folder.Append(m_source.GetName());
            m_chosen = MakeAbsolutePath(folder, m_destination);
        }
    }
    m_installed = m_chosen && WindowsDirectoryContains(m_source.GetName()) ? 1 : 0;
    m_active = 0;
    if (m_installed != 0 && m_activeDesktop != nullptr) {
        win32::WCHAR wide[kWallpaperBufferSize] = {};
        if (win32::SUCCEEDED(m_activeDesktop->GetWallpaper(wide, kWallpaperBufferSize, 0))) {
            Vemo::String current;
            for (unsigned i = 0; i < kWallpaperBufferSize && wide[i] != 0; ++i) {
                const char narrow[2] = {static_cast<char>(wide[i] & 0xFF), 0};
                current.Append(narrow);
            }
            m_active = SameShortPath(current, DestinationText()) ? 1 : 0;
        }
    }
    Announce("Installed", m_installed != 0);
    Announce("Active", m_active != 0);
    return true;
}

bool WallpaperControl::Install() {
    if (m_chosen) {
        const bool present = WindowsDirectoryContains(m_source.GetName());
        Vemo::Directory folder;
        m_installed = present || (OpenWindowsDirectory(folder) && folder.Copy(m_source, true, true)) ? 1 : 0;
        if (m_installed != 0) {
            Announce("Installed", true);
        }
    }
    BringDesktopForward();
    win32::Sleep(kRepaintMilliseconds);
    PumpOnce();
    // Only a picture that lies in the Windows folder becomes the wallpaper: a failed copy, or nothing chosen,
    // leaves the desktop as it was.
    const bool inPlace = m_chosen && WindowsDirectoryContains(m_source.GetName());
    m_active = inPlace && SetWallpaper(DestinationText()) ? 1 : 0;
    RestoreTitleWindow();
    PumpOnce();
    Announce("Active", m_active != 0);
    return true;
}

bool WallpaperControl::SetWallpaper(const Vemo::String& destination) {
    if (m_activeDesktop == nullptr) {
        // The user's profile keeps its wallpaper: the change lasts for the session.
        return win32::SystemParametersInfoA(win32::SPI_SETDESKWALLPAPER, 0,
                                            const_cast<char*>(destination.CStr()), 0) != win32::FALSE;
    }
    const std::vector<win32::WCHAR> wide = Widened(destination);
    if (win32::FAILED(m_activeDesktop->SetWallpaper(wide.data(), 0))) {
        return false;
    }
    const com::WALLPAPEROPT options{sizeof(com::WALLPAPEROPT), com::WPSTYLE_CENTER};
    return win32::SUCCEEDED(m_activeDesktop->SetWallpaperOptions(&options, 0)) &&
           win32::SUCCEEDED(m_activeDesktop->ApplyChanges(com::AD_APPLY_ALL));
}

Vemo::String WallpaperControl::DestinationText() const {
    Vemo::String text;
    if (m_chosen) {
        m_destination.GetText(text, true, true);
    }
    return text;
}
