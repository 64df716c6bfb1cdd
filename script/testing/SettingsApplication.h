// The base of the tests' applications: shared settings kept in memory in a Config, and user settings closed
// when the application shuts down, as the product does.
#pragma once

#include "foundation/String.h"
#include "script/Config.h"
#include "script/MessengerApplication.h"

namespace ScriptTest {

class SettingsApplication : public MessengerApplication {
public:
    using MessengerApplication::MessengerApplication;

    bool GetSharedSetting(const Vemo::String& section, const Vemo::String& key,
                          Vemo::String& value) override {
        return m_shared.GetValue(section, key, value);
    }
    bool SetSharedSetting(const Vemo::String& section, const Vemo::String& key,
                          const Vemo::String& value) override {
        return m_shared.SetValue(section, key, value);
    }
    bool RemSharedSetting(const Vemo::String& section, const Vemo::String& key) override {
        return m_shared.RemoveKey(section, key);
    }

    bool OnShutdown() override {
        CloseUserSettings();
        return true;
    }

    Config m_shared;
};

} // namespace ScriptTest
