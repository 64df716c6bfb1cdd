#include "controls/ScreenSaverControl.h"

#include "platform/win32/Handle.h"
#include "platform/win32/kernel/Process.h"
#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/registry/Profile.h"
#include "platform/win32/registry/Registry.h"
#include "platform/win32/registry/SystemParameters.h"
#include "platform/win32/windows/Window.h"
#include "resources/hooks/Win32EngineHook.h"
#include "resources/storage/Directory.h"
#include "resources/storage/Path.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/application/SearchOrder.h"
#include "runtime/application/WindowsPaths.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentsEnumerator.h"

#include <string>

namespace {

const MessengerFactory::Registrar g_screenSaverRegistrar(ScreenSaverControl::ClassWord(),
                                                         &ScreenSaverControl::Create);

constexpr win32::LSTATUS kSuccess = 0;
constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kScreenSaverValue = "SCRNSAVE.EXE";
constexpr const char* kBootSection = "BOOT";
constexpr const char* kSystemIni = "SYSTEM.INI";
constexpr unsigned kInstallerPollMilliseconds = 100;
constexpr unsigned kPathBufferSize = 260;

} // namespace

ScreenSaverControl::ScreenSaverControl(const Vemo::String& name, Messenger* owner, Script* script)
    : DesktopInstallControl(name, owner, script) {}

ScreenSaverControl::~ScreenSaverControl() = default;

Messenger* ScreenSaverControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<ScreenSaverControl>(name, owner, script);
}

const Vemo::String& ScreenSaverControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("ScreenSaverControl");
    return *word;
}

Vemo::String ScreenSaverControl::GetClassName() const {
    return ClassWord();
}

bool ScreenSaverControl::Select(const Fragment& descriptionName) {
    m_selected = 0;
    m_confirm = 0;
    Script description;
    if (LoadDescription(descriptionName, description)) {
        // A later description replaces all of an earlier one, so that Install never mixes the two.
        m_installer = Vemo::String();
        m_screenSaverFile = Vemo::String();
        m_copyLists = Vemo::BasicArray<Vemo::BasicArray<Fragment>>();
        Vemo::String installer;
        if (ReadDescriptionText(description, "Installer", installer)) {
            m_selected = 1;
            m_installer = installer;
            const Vemo::BasicArray<Fragment>* confirm = nullptr;
            m_confirm = description.GetFragments(Vemo::String(), Vemo::String("mb"), confirm) ? 1 : 0;
        } else {
            ScriptKeyFragmentsEnumerator copies;
            if (description.EnumerateKey(Vemo::String(), Vemo::String("Copy"), copies) &&
                copies.GetValues().Size() > 0) {
                m_copyLists = copies.GetValues();
                m_selected = 1;
            }
        }
        if (m_selected != 0) {
            Vemo::String file;
            if (ReadDescriptionText(description, "Scr", file)) {
                m_screenSaverFile = file;
            }
            AnnounceThumb(description, "ScreenSaverControl");
        }
    }
    CheckState();
    return true;
}

bool ScreenSaverControl::Install() {
    if (m_copyLists.Size() == 0) {
        return RunInstaller();
    }
    CopyFiles();
    MakeCurrent();
    CheckState();
    return true;
}

bool ScreenSaverControl::RunInstaller() {
    MultimediaApplication* application = MultimediaApplication::Instance();
    Vemo::Path program;
    if (m_installer.IsEmpty() || application == nullptr ||
        !application->FindFile(Fragment(m_installer), program, false)) {
        return false;
    }
    Vemo::String text;
    program.GetText(text, true, true);
    BringDesktopForward();
    // The program is named apart from its command line, and quoted there, so that a path with blanks cannot
    // start a shorter program named by its first words.
    std::string commandLine = "\"";
    commandLine.append(text.CStr()).append("\"");
    win32::STARTUPINFOA startup{};
    startup.cb = win32::kStartupInfoSize;
    win32::PROCESS_INFORMATION started{};
    if (!win32::CreateProcessA(text.CStr(), commandLine.data(), nullptr, nullptr, win32::FALSE, 0, nullptr,
                               nullptr, &startup, &started)) {
        return false;
    }
    win32::DWORD code = win32::STILL_ACTIVE;
    while (win32::GetExitCodeProcess(started.hProcess, &code) && code == win32::STILL_ACTIVE) {
        win32::Sleep(kInstallerPollMilliseconds);
    }
    win32::CloseHandle(started.hThread);
    win32::CloseHandle(started.hProcess);
    if (m_confirm != 0) {
        win32::MessageBoxA(nullptr, "The screen saver was installed successfully.", "",
                           win32::MB_TASKMODAL | win32::MB_SETFOREGROUND | win32::MB_TOPMOST);
    }
    RestoreTitleWindow();
    CheckState();
    return true;
}

void ScreenSaverControl::CopyFiles() {
    MultimediaApplication* application = MultimediaApplication::Instance();
    Vemo::Directory destination;
    if (application == nullptr || !OpenWindowsDirectory(destination)) {
        return;
    }
    for (std::size_t list = 0; list < m_copyLists.Size(); ++list) {
        const Vemo::BasicArray<Fragment>& names = m_copyLists[list];
        for (std::size_t i = 0; i < names.Size(); ++i) {
            Vemo::Path file;
            if (application->FindFile(names[i], file, false)) {
                destination.Copy(file, true, true);
                continue;
            }
            SearchOrder::DirectoryList directories;
            if (!application->FindDirectories(directories, names[i], false, false)) {
                continue;
            }
            for (auto it = directories.Begin(); it != directories.End(); ++it) {
                Vemo::Path found;
                if (found.Assign(**it)) {
                    destination.Copy(found, true, true);
                }
            }
        }
    }
}

void ScreenSaverControl::MakeCurrent() {
    Vemo::String folder;
    Vemo::String shortPath;
    if (m_screenSaverFile.IsEmpty() || !WindowsDirectoryText(folder)) {
        return;
    }
    folder.Append(m_screenSaverFile);
    if (!GetShortPathText(folder, shortPath)) {
        return;
    }
    if (Vemo::Win32PlatformIsNT) {
        win32::HKEY key = nullptr;
        if (win32::RegOpenKeyExA(win32::HKEY_CURRENT_USER, kDesktopKey, 0, win32::KEY_ALL_ACCESS, &key) ==
            kSuccess) {
            win32::RegSetValueExA(key, kScreenSaverValue, 0, win32::REG_SZ,
                                  reinterpret_cast<const win32::BYTE*>(shortPath.CStr()),
                                  shortPath.Length() + 1);
            win32::RegCloseKey(key);
        }
    } else {
        win32::WritePrivateProfileStringA(kBootSection, kScreenSaverValue, shortPath.CStr(), kSystemIni);
    }
    win32::SystemParametersInfoA(win32::SPI_SETSCREENSAVEACTIVE, win32::TRUE, nullptr, 0);
}

bool ScreenSaverControl::ReadCurrentScreenSaver(Vemo::String& out) {
    if (!Vemo::Win32PlatformIsNT) {
        char buffer[kPathBufferSize] = {};
        if (win32::GetPrivateProfileStringA(kBootSection, kScreenSaverValue, "", buffer, kPathBufferSize,
                                            kSystemIni) == 0) {
            return false;
        }
        out = Vemo::String(buffer);
        return true;
    }
    win32::HKEY key = nullptr;
    if (win32::RegOpenKeyExA(win32::HKEY_CURRENT_USER, kDesktopKey, 0, win32::KEY_READ, &key) != kSuccess) {
        return false;
    }
    char buffer[kPathBufferSize] = {};
    win32::DWORD size = kPathBufferSize - 1;
    const bool read = win32::RegQueryValueExA(key, kScreenSaverValue, nullptr, nullptr,
                                              reinterpret_cast<win32::BYTE*>(buffer), &size) == kSuccess;
    win32::RegCloseKey(key);
    if (read) {
        // Up to the first zero: the buffer keeps one after whatever the value holds.
        out = Vemo::String(buffer);
    }
    return read;
}

void ScreenSaverControl::CheckState() {
    if (m_screenSaverFile.IsEmpty()) {
        return;
    }
    m_installed = WindowsDirectoryContains(m_screenSaverFile) ? 1 : 0;
    Announce("Installed", m_installed != 0);
    m_active = m_installed;
    if (m_installed != 0) {
        win32::BOOL switchedOn = win32::FALSE;
        Vemo::String current;
        Vemo::String ours;
        m_active = win32::SystemParametersInfoA(win32::SPI_GETSCREENSAVEACTIVE, 0, &switchedOn, 0) &&
                           switchedOn == win32::TRUE && ReadCurrentScreenSaver(current) &&
                           WindowsDirectoryText(ours) &&
                           SameShortPath(current, ours.Append(m_screenSaverFile))
                       ? 1
                       : 0;
    }
    Announce("Active", m_active != 0);
}
