// The shared settings of a run: "Shared.ini" of the shared folder, which other instances of the program and
// other programs use as well. They are read afresh in every frame that uses them and closed at its end, and
// written back then when this run changed a value. What this run changed and could not write yet is kept,
// never the file as it was read, and laid over every fresh read until a save succeeds, so that what others
// wrote meanwhile stays. A save that fails (creating a missing file is one) is reported once with the file's
// path until a save of it succeeds again, and tried again a second later at the soonest, on the platform
// clock, saying nothing further; the last chance at shut-down is taken whatever the wait.
#pragma once

#include "foundation/String.h"
#include "resources/storage/Path.h"
#include "script/ConfigChanges.h"

#include <cstdint>
#include <memory>

class Config;

class SharedSettings {
public:
    // Tries of a file that exists but does not load (another program writing it), this far apart.
    static constexpr unsigned kLoadTries = 100;
    static constexpr unsigned kLoadRetryMilliseconds = 10;
    // The least time from a failed save to the next try.
    static constexpr std::uint32_t kSaveRetryMilliseconds = 1000;

    SharedSettings();
    ~SharedSettings();
    SharedSettings(const SharedSettings&) = delete;
    SharedSettings& operator=(const SharedSettings&) = delete;

    // Opens them for this frame unless they are open: the file read afresh, or created when missing (not
    // while a failed save still waits for its next try), with this run's unwritten changes laid over it.
    bool Open(const Vemo::Path& file);
    // Null while they are closed.
    Config* Get() const { return m_config.get(); }
    // Changes of the open settings, kept until written; setting the value a key holds changes nothing.
    bool SetValue(const Vemo::String& section, const Vemo::String& key, const Vemo::String& value);
    bool RemoveKey(const Vemo::String& section, const Vemo::String& key);
    // Closes them, writing this run's changes first when a try is due (always with lastChance), from a fresh
    // read when they were closed. True when none of this run's changes is left unwritten.
    bool Close(bool lastChance);
    // Closes them and forgets this run's changes, writing nothing.
    void Discard();

private:
    // Reads the file into a new Config: tries loads while it exists, else creates it.
    bool Read(unsigned tries);
    // Config::Load of the file that exists: tries while another program may be writing it; after tries that
    // all failed, said once, one quiet try a second until a load succeeds again.
    bool Load(Config& config, unsigned tries);
    // Config::Save to the file, through the reporting and waiting a failure asks for.
    bool Save(Config& config);
    // After a failed save: reported when it is the first since one succeeded; the next try waits.
    void Failed();

    // The pace of the tries of one step (the load, the save) while it fails: the first failure since a
    // success is the one said, and the next try is due a second later at the soonest.
    struct FailurePace {
        bool failing = false;
        std::uint32_t failedAt = 0;

        bool IsTryDue() const;
        // True for the first failure since a success.
        bool Failed();
        void Succeeded() { failing = false; }
    };

    std::unique_ptr<Config> m_config;
    // The file of the last open.
    Vemo::Path m_file;
    ConfigChanges m_changes;
    FailurePace m_load;
    FailurePace m_save;
};
