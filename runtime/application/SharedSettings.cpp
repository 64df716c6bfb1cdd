#include "runtime/application/SharedSettings.h"

#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/kernel/Time.h"
#include "resources/error/Error.h"
#include "resources/storage/Directory.h"
#include "script/Config.h"
#include "script/MessengerApplication.h"

#include <utility>

SharedSettings::SharedSettings() = default;

SharedSettings::~SharedSettings() = default;

bool SharedSettings::Open(const Vemo::Path& file) {
    if (m_config != nullptr) {
        return true;
    }
    m_file.Assign(file);
    return Read(kLoadTries);
}

bool SharedSettings::Read(unsigned tries) {
    Vemo::Directory* folder = m_file.GetDirectory();
    if (folder == nullptr) {
        return false;
    }
    auto config = std::make_unique<Config>();
    if (folder->ContainsFile(m_file.GetName())) {
        if (!Load(*config, tries)) {
            return false;
        }
    } else if (!m_save.IsTryDue() || !config->LoadBuffer("", 0) || !Save(*config)) {
        return false;
    }
    if (!m_changes.ApplyTo(*config)) {
        return false;
    }
    m_config = std::move(config);
    return true;
}

bool SharedSettings::Load(Config& config, unsigned tries) {
    // A file that did not load is looked at again a second later at the soonest, once, saying nothing: a
    // file that cannot be read at all must not stall every frame that asks for a shared value, nor fill the
    // standard error.
    if (m_load.failing) {
        if (!m_load.IsTryDue()) {
            return false;
        }
        tries = 1;
    }
    // Another instance or program may be writing the file: it is tried again, for a while, and then given up
    // without touching it. Only the first try of a failure says why.
    for (unsigned tried = 1;; ++tried) {
        bool loaded = false;
        {
            const Vemo::ErrorReportsDropped quiet(m_load.failing || tried > 1);
            loaded = config.Load(m_file, false);
        }
        if (loaded) {
            m_load.Succeeded();
            return true;
        }
        if (tried >= tries) {
            m_load.Failed();
            return false;
        }
        win32::Sleep(kLoadRetryMilliseconds);
    }
}

bool SharedSettings::SetValue(const Vemo::String& section, const Vemo::String& key,
                              const Vemo::String& value) {
    Vemo::String held;
    if (m_config == nullptr || (m_config->GetValue(section, key, held) && held.Compare(value) == 0)) {
        return m_config != nullptr;
    }
    if (!m_config->SetValue(section, key, value)) {
        return false;
    }
    m_changes.Set(section, key, value);
    return true;
}

bool SharedSettings::RemoveKey(const Vemo::String& section, const Vemo::String& key) {
    if (m_config == nullptr || !m_config->RemoveKey(section, key)) {
        return false;
    }
    m_changes.Remove(section, key);
    return true;
}

bool SharedSettings::Close(bool lastChance) {
    bool written = m_changes.IsEmpty();
    if (!written && (lastChance || m_save.IsTryDue())) {
        bool read = m_config != nullptr;
        if (!read) {
            const Vemo::ErrorReportsDropped quiet(m_save.failing);
            read = Read(1);
        }
        if (read) {
            written = Save(*m_config);
        } else {
            Failed();
        }
    }
    if (written) {
        m_changes.Clear();
    }
    m_config.reset();
    return written;
}

void SharedSettings::Discard() {
    m_config.reset();
    m_changes.Clear();
}

bool SharedSettings::Save(Config& config) {
    bool saved = false;
    {
        // A retry of a failure said once says nothing, neither here nor beneath.
        const Vemo::ErrorReportsDropped quiet(m_save.failing);
        saved = config.Save(m_file, false);
    }
    if (!saved) {
        Failed();
        return false;
    }
    m_save.Succeeded();
    return true;
}

void SharedSettings::Failed() {
    if (m_save.Failed()) {
        MessengerApplication::ReportSettingsNotSaved(m_file);
    }
}

bool SharedSettings::FailurePace::IsTryDue() const {
    return !failing || win32::timeGetTime() - failedAt >= kSaveRetryMilliseconds;
}

bool SharedSettings::FailurePace::Failed() {
    failedAt = win32::timeGetTime();
    return !std::exchange(failing, true);
}
