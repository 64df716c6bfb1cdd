#include "controls/DesktopInstallControl.h"

#include "platform/win32/desktop/Shell.h"
#include "platform/win32/files/WindowsDirectory.h"
#include "platform/win32/windows/Window.h"
#include "resources/storage/Directory.h"
#include "resources/storage/Path.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/application/WindowFunctions.h"
#include "runtime/application/WindowsPaths.h"
#include "runtime/screen/Control.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/Script.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr unsigned kPathBufferSize = 260;

enum Word : unsigned { kWordSelect, kWordInstall, kWordOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words =
        new KeywordIds<unsigned>({{"Select", kWordSelect}, {"Install", kWordInstall}}, kWordOther);
    return *words;
}

} // namespace

DesktopInstallControl::DesktopInstallControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

DesktopInstallControl::~DesktopInstallControl() = default;

bool DesktopInstallControl::HandleMessage(const Fragment& message, Messenger* sender) {
    switch (MessageWords()[message.GetText()]) {
    case kWordSelect:
        if (message.GetChildren().Size() == 0) {
            return false;
        }
        Select(message.GetChildren()[0]);
        return true;
    case kWordInstall:
        return Install();
    default:
        return Control::HandleMessage(message, sender);
    }
}

bool DesktopInstallControl::WindowsDirectoryText(Vemo::String& out) {
    char buffer[kPathBufferSize] = {};
    const win32::UINT length = win32::GetWindowsDirectoryA(buffer, kPathBufferSize);
    if (length == 0 || length >= kPathBufferSize) {
        return false;
    }
    out = Vemo::String(buffer);
    if (buffer[length - 1] != '\\') {
        out.Append("\\");
    }
    return true;
}

bool DesktopInstallControl::OpenWindowsDirectory(Vemo::Directory& out) {
    Vemo::String text;
    Vemo::Path path;
    return WindowsDirectoryText(text) && MakeAbsolutePath(text, path) && out.Open(path, false);
}

bool DesktopInstallControl::WindowsDirectoryContains(const Vemo::String& name) {
    Vemo::Directory directory;
    return !name.IsEmpty() && OpenWindowsDirectory(directory) && directory.ContainsFile(name);
}

bool DesktopInstallControl::LoadDescription(const Fragment& name, Script& out) {
    MultimediaApplication* application = MultimediaApplication::Instance();
    Vemo::Path path;
    return application != nullptr && application->FindFile(name, path, false) && out.Load(path, false);
}

bool DesktopInstallControl::ReadDescriptionText(Script& description, const char* key, Vemo::String& out) {
    const Vemo::BasicArray<Fragment>* value = nullptr;
    if (!description.GetFragments(Vemo::String(), Vemo::String(key), value) || value == nullptr) {
        return false;
    }
    FragmentStream(*value) >> out;
    return true;
}

void DesktopInstallControl::AnnounceThumb(Script& description, const char* section) {
    Vemo::String thumb;
    const bool present = ReadDescriptionText(description, "Thumb", thumb);
    if (present) {
        SetVar(Vemo::String(section), Vemo::String("Thumb"), thumb);
    }
    Announce("Thumb", present);
}

void DesktopInstallControl::Announce(const char* word, bool flag) {
    char text[32];
    std::snprintf(text, sizeof text, "%s(%d)", word, flag ? 1 : 0);
    ReceiveTextFrom(Vemo::String(text), SubString());
}

void DesktopInstallControl::BringDesktopForward() {
    win32::SetForegroundWindow(win32::GetDesktopWindow());
}

void DesktopInstallControl::RestoreTitleWindow() {
    MultimediaApplication* application = MultimediaApplication::Instance();
    const win32::HWND window =
        application != nullptr ? GetViewportWindowHandle(application->GetViewport()) : nullptr;
    if (window == nullptr) {
        return;
    }
    win32::ShowWindow(window, win32::SW_RESTORE);
    win32::UpdateWindow(window);
    win32::SetForegroundWindow(window);
}

bool DesktopInstallControl::SameShortPath(const Vemo::String& first, const Vemo::String& second) {
    Vemo::String shortFirst;
    Vemo::String shortSecond;
    if (!GetShortPathText(first, shortFirst) || !GetShortPathText(second, shortSecond) ||
        shortFirst.Length() != shortSecond.Length()) {
        return false;
    }
    const char* a = shortFirst.CStr();
    const char* b = shortSecond.CStr();
    for (unsigned i = 0; i < shortFirst.Length(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}
