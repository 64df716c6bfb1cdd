// The sound engine of the system: sounds read from files, created empty or as new files, and played through
// QuickTime as movies without pictures, each with a small hidden controller. QuickTime must have been started
// by the QuickTime engine hook.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/media/SoundEngine.h"

namespace Vemo {

class QuickTimeMedia;

class QuickTimeSoundEngine : public SoundEngine {
public:
    QuickTimeSoundEngine();
    ~QuickTimeSoundEngine() override;

    using SoundEngine::CreateSound;
    using SoundEngine::OpenSound;

    // The path's text as a file spec (QuickTimeSoundErrPath), the file opened for reading (...OpenFile) and
    // its movie read (...ReadMovie), read into memory unless streamed (...Memory), given its controller
    // (...NewController), the file closed unless it is to be kept open, and the sound made active. A failed
    // open leaves nothing open.
    SoundHandle* OpenSound(const Path& path, bool keepFileOpen, bool streamed) override;
    // A new, empty sound without a file (QuickTimeSoundErrNewMovie).
    SoundHandle* CreateSound() override;
    // A new sound file at the path, replacing one that is there (QuickTimeSoundErrPath, ...CreateFile); the
    // file stays open.
    SoundHandle* CreateSound(const Path& path) override;
    // Stops and rewinds a playing sound, ends its looping, lets its memory go (QuickTimeSoundErrMemory),
    // closes its file (...CloseFile), disposes its controller (...DisposeController) and its movie
    // (...DisposeMovie), every step run; then deletes the handle. False when any step failed.
    bool DestroySoundHandle(SoundHandle* handle) override;

    // QuickTimeSoundErrNoHook while no QuickTime engine hook is installed. Otherwise runs the sound engine's
    // factory on the given engine, or on a new "QuickTime Sound Engine".
    static QuickTimeSoundEngine* Create(QuickTimeSoundEngine* engine = nullptr);

private:
    // The hidden controller (QuickTimeSoundErrNewController, the movie discarded then) with its settings.
    static bool AddController(QuickTimeMedia& media);
};

} // namespace Vemo
