#include "script/MessengerApplication.h"

#include "resources/error/Error.h"
#include "resources/storage/Directory.h"
#include "resources/storage/Path.h"

MessengerApplication* MessengerApplication::Instance = nullptr;

namespace {

// The same file: the same path text and the same directory.
bool SamePath(const Vemo::Path& a, const Vemo::Path& b) {
    Vemo::String aText;
    Vemo::String bText;
    return a.GetDirectory() != nullptr && b.GetDirectory() != nullptr &&
           a.GetText(aText, true, false).Compare(b.GetText(bText, true, false)) == 0;
}

} // namespace

MessengerApplication::MessengerApplication(const Vemo::String& name)
    : Messenger(name, nullptr, nullptr), Vemo::Win32Application(name) {
    Instance = this;
    TextLocaleProvider::SetCurrent(this);
}

MessengerApplication::~MessengerApplication() {
    // Nothing may reach the stores through the application once they are gone.
    if (Instance == this) {
        Instance = nullptr;
    }
}

const Vemo::String& MessengerApplication::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("Application");
    return *word;
}

Vemo::String MessengerApplication::GetClassName() const {
    return ClassWord();
}

bool MessengerApplication::Initialize(const Vemo::BasicArray<Vemo::String>& arguments) {
    if (!Messenger::ReadScript()) {
        return false;
    }
    return Vemo::Win32Application::Initialize(arguments);
}

bool MessengerApplication::OpenUserSettings(const Vemo::Path& path) {
    if (m_userSettings != nullptr) {
        if (SamePath(m_userSettings->GetPath(), path)) {
            return true;
        }
        if (!SaveAndCloseUserSettings()) {
            m_earlierSaveFailed = true;
        }
    }
    if (path.GetDirectory() == nullptr) {
        RaiseError(kErrorSettings);
        return false;
    }
    auto* settings = new Config;
    const bool exists = path.GetDirectory()->ContainsFile(path.GetName());
    // A new file starts as an empty one loads: the empty-named section alone, written as one empty line.
    if (!(exists ? settings->Load(path, false)
                 : settings->LoadBuffer("", 0) && settings->Save(path, false))) {
        delete settings;
        RaiseError(kErrorSettings);
        return false;
    }
    m_userSettings = settings;
    Config::RemoveStaleNewFiles(path);
    return true;
}

bool MessengerApplication::CloseUserSettings() {
    const bool saved = SaveAndCloseUserSettings();
    const bool earlierSaved = !m_earlierSaveFailed;
    m_earlierSaveFailed = false;
    return saved && earlierSaved;
}

bool MessengerApplication::SaveAndCloseUserSettings() {
    if (m_userSettings == nullptr) {
        return true;
    }
    // Saved to a copy of its own path: Save records the path it is given.
    const Vemo::Path path(m_userSettings->GetPath());
    const bool saved = m_userSettings->Save(path, false);
    if (!saved) {
        ReportSettingsNotSaved(path);
    }
    delete m_userSettings;
    m_userSettings = nullptr;
    return saved;
}

void MessengerApplication::ReportSettingsNotSaved(const Vemo::Path& file) {
    // The file as the player finds it on the machine.
    Vemo::String text;
    file.GetText(text, true, true);
    RaiseError(kErrorSettings, &text);
}
