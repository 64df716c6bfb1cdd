// Starts QuickTime for the whole process and stops it again: the QuickTime libraries and movie services, a
// graphics port for the application's main window, and a small looping, near-silent sound movie of its own,
// saved to a file, which the application pauses and resumes around hosted players. Installed by the
// application after its main window exists and before the QuickTime engines are made; removed at shut-down.
// Used from the application's thread only.
//
// Every failing step is reported with this hook's code for it. A start-up that fails is undone by Shutdown,
// which reverses only what was done, before the hook is deleted.
#pragma once

#include "foundation/String.h"
#include "platform/quicktime/QuickTime.h"
#include "platform/win32/Types.h"
#include "resources/ResourceEngineHook.h"

#include <cstdint>
#include <memory>

namespace Vemo {

class QuickTimeEngineHook : public ResourceEngineHook {
public:
    ~QuickTimeEngineHook() override;
    // In order: QTML (flags 6), movie services, a version of at least 4.0, the window's port, the two
    // optional services when both arguments are non-zero, and the own movie when a path was given.
    bool Startup() override;
    // Runs every step that undoes a started part, past failures; false when any failed.
    bool Shutdown() override;

    // EngineHookErrAlreadyInstalled when one is installed. Otherwise makes the hook the installed one and
    // starts it; a failed start-up is shut down, reported as EngineHookErrStartupFailed, and the hook
    // deleted. ownMoviePath (null: no own movie) must live until Install returns.
    static bool Install(win32::HWND window, std::int32_t optionalArgument1, std::int32_t optionalArgument2,
                        const String* ownMoviePath);
    // EngineHookErrNotInstalled without a hook; EngineHookErrShutdownFailed when its shut-down fails. The
    // hook is deleted in every case.
    static bool Remove();
    static QuickTimeEngineHook* Installed();
    // Gives every open movie processing time, once movie services are started.
    static void Idle();
    // Plays (at its preferred rate) or pauses the own movie; nothing without one.
    static void PlayOwnMovie(bool play);

    bool HasOwnMovie() const { return m_ownMovie != nullptr && m_ownController != nullptr; }
    qt::Movie GetOwnMovie() const { return m_ownMovie; }

private:
    QuickTimeEngineHook(win32::HWND window, std::int32_t optionalArgument1, std::int32_t optionalArgument2,
                        const String* ownMoviePath);

    bool BuildOwnMovie();
    // The own movie's track and media, then its sound samples.
    bool BuildOwnTrack();
    bool AddOwnSoundSamples(qt::Track track, qt::Media media);
    bool MakeOwnController();
    bool LoopOwnMovie();
    bool DisposeOwnMovie();

    bool m_qtmlStarted = false;
    bool m_movieServicesStarted = false;
    bool m_optionalServiceInstalled = false;
    qt::CGrafPtr m_windowPort = nullptr;
    // Cleared once its port is made.
    win32::HWND m_window;
    // Used at start-up, then cleared.
    std::int32_t m_optionalArgument1;
    std::int32_t m_optionalArgument2;
    // Cleared once the own movie is built.
    const String* m_ownMoviePath;
    std::unique_ptr<qt::FSSpec> m_ownMovieFileSpec;
    // Whether the own movie's file was made, so that only a file of the hook's own is deleted.
    bool m_ownMovieFileMade = false;
    std::int16_t m_ownMovieFile = 0;
    qt::Movie m_ownMovie = nullptr;
    qt::MovieController m_ownController = nullptr;
};

} // namespace Vemo
