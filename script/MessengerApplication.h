// The application seen as a messenger: it answers the built-in messages under its name and is driven through
// Initialize, Run and Shutdown as the application object. It keeps the two stores that every messenger
// reaches through it, the variables (for the life of the object, never saved) and the open user-settings
// file, and leaves to the multimedia application what only it can supply: the scripts by name, the text
// locales and the shared settings.
//
// Its class word is "Application"; the application is never created from a script.
#pragma once

#include "script/Config.h"
#include "script/Messenger.h"
#include "script/TextLocaleProvider.h"
#include "script/Win32Application.h"

namespace Vemo {
class Path;
}

class Fragment;
class Script;
class TextLocale;

class MessengerApplication : public Messenger, public Vemo::Win32Application, public TextLocaleProvider {
public:
    // The application, or null while there is none: set by the constructor, cleared by the destructor.
    static MessengerApplication* Instance;

    // Also becomes the provider of the text locales.
    explicit MessengerApplication(const Vemo::String& name);
    // Leaves open user settings alone: close them (CloseUserSettings) before.
    ~MessengerApplication() override;

    Vemo::String GetClassName() const override;
    // The messenger's script section first; when it cannot be read, the application part is not initialised.
    bool Initialize(const Vemo::BasicArray<Vemo::String>& arguments) override;

    // The loaded script of that name, or null.
    virtual Script* GetScript(const Vemo::String& name) = 0;
    // The text locale named by the fragment's text, or null.
    TextLocale* GetTextLocale(const Fragment& name) override = 0;
    // Loads the user settings from the file, creating it when it does not exist, and removes the new files
    // that killed saves of it left (Config::RemoveStaleNewFiles). The same path again keeps the open
    // settings; another path saves and closes them first, a failed save being answered by the next
    // CloseUserSettings. Failures report code 1000 and leave no user settings open.
    virtual bool OpenUserSettings(const Vemo::Path& path);
    // Saves the user settings to their file and closes them. A failed save reports code 1000 with the file's
    // path and answers false; the settings are closed all the same. Also false when the save of settings that
    // an open of another path closed failed since the last close.
    virtual bool CloseUserSettings();
    // The shared settings: these also serve every messenger's operations of the same names.
    bool GetSharedSetting(const Vemo::String& section, const Vemo::String& key,
                          Vemo::String& value) override = 0;
    bool SetSharedSetting(const Vemo::String& section, const Vemo::String& key,
                          const Vemo::String& value) override = 0;
    bool RemSharedSetting(const Vemo::String& section, const Vemo::String& key) override = 0;

    // The messenger's name (the application part keeps the same name as its own).
    using Messenger::GetName;
    // The script the messenger was made from; GetScript(name) finds a script by name.
    using Messenger::GetScript;

    Config& GetVariables() { return m_variables; }
    // Null while no user settings are open.
    Config* GetUserSettings() const { return m_userSettings; }

    // The class word "Application".
    static const Vemo::String& ClassWord();

    // Reports code 1000 with the Windows path of the settings file that was not saved.
    static void ReportSettingsNotSaved(const Vemo::Path& file);

private:
    // CloseUserSettings without the answer for earlier settings.
    bool SaveAndCloseUserSettings();

    Config m_variables;
    Config* m_userSettings = nullptr;
    // Settings closed by an open of another path were not saved; the next close answers it.
    bool m_earlierSaveFailed = false;
};
