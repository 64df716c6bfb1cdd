#include "runtime/application/SharedSettings.h"

#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/kernel/Time.h"
#include "resources/error/Error.h"
#include "resources/storage/Directory.h"
#include "script/Config.h"
#include "script/MessengerApplication.h"

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
        // Another instance or program may be writing the file: it is tried again, for a while, and then given
        // up without touching it.
        for (unsigned tried = 1; !config->Load(m_file, false); ++tried) {
            if (tried >= tries) {
                return false;
            }
            win32::Sleep(kLoadRetryMilliseconds);
        }
    } else if (!IsTryDue() || !config->LoadBuffer("", 0) || !Save(*config)) {
        return false;
    }
    if (!m_changes.ApplyTo(*config)) {
        return false;
    }
    m_config = std::move(config);
    return true;
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
    if (!written && (lastChance || IsTryDue())) {
        bool read = m_config != nullptr;
        if (!read) {
            const Vemo::ErrorReportsDropped quiet(m_failureReported);
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
        const Vemo::ErrorReportsDropped quiet(m_failureReported);
        saved = config.Save(m_file, false);
    }
    if (!saved) {
        Failed();
        return false;
    }
    m_failureReported = false;
    m_waiting = false;
    return true;
}

void SharedSettings::Failed() {
    m_waiting = true;
    m_failedAt = win32::timeGetTime();
    if (!m_failureReported) {
        MessengerApplication::ReportSettingsNotSaved(m_file);
        m_failureReported = true;
    }
}

bool SharedSettings::IsTryDue() const {
    return !m_waiting || win32::timeGetTime() - m_failedAt >= kSaveRetryMilliseconds;
}
