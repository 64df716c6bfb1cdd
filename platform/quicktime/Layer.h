// The QuickTime layer's process-wide state: every live object, the open movie files, the audio backend and
// the calling thread's last results, beside the start-up's state (its one lock, the start-up counts and the
// failures tests ask for), which lives in the start-up part. Internal to the layer.
#pragma once

#include "platform/quicktime/Types.h"
#include "platform/quicktime/startup/StartupState.h"
#include "platform/video/AudioBackend.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qt::detail {

class SoundMixer;

struct OpenMovieFile {
    std::string hostPath;
    int descriptor = -1;
    bool writable = false;
};

// A memory block of NewHandle: the handle is the address of data.
struct HandleBlock {
    char* data = nullptr;
    Size size = 0;
    bool locked = false;
};

class Layer {
public:
    static Layer& Instance();

    // The start-up's lock (recursive: the null sink renders, under the lock, from calls that hold it
    // already).
    std::recursive_mutex& Lock() { return m_startup.Lock(); }

    // The start-up's counts.
    int& qtmlStarts;
    int& movieServicesStarts;
    int vrLibraryLoads = 0;

    std::set<MovieRecord*> movies;
    std::set<TrackRecord*> tracks;
    std::set<MediaRecord*> media;
    std::set<ControllerRecord*> controllers;
    std::set<GrafPortRecord*> ports;
    std::map<Handle, std::unique_ptr<HandleBlock>> handles;
    std::map<std::int16_t, OpenMovieFile> files;
    std::int16_t nextRefNum = 1;

    video::AudioBackendKind audioKind = video::AudioBackendKind::Default;

    bool IsMovie(Movie movie) const { return movie != nullptr && movies.count(movie) != 0; }
    bool IsTrack(Track track) const { return track != nullptr && tracks.count(track) != 0; }
    bool IsMedia(Media m) const { return m != nullptr && media.count(m) != 0; }
    bool IsController(MovieController c) const { return c != nullptr && controllers.count(c) != 0; }
    bool IsPort(CGrafPtr port) const { return port != nullptr && ports.count(port) != 0; }

    // The code a test asked the named call to fail with, once or always.
    std::optional<OSErr> TakeFailure(const char* call) { return m_startup.TakeFailure(call); }

    // Audio: opened with the first movie after QTML starts (with the lock held: the new device's thread takes
    // the lock only once it has the mixer), closed by the last shut-down (without the lock: SDL's audio
    // thread may be waiting for it while the device is locked). A version query alone opens no device.
    void OpenAudio();
    void CloseAudio();
    // Lets the null sink consume the clock's time since the last pump. With or without the lock.
    void PumpAudio();
    std::shared_ptr<video::AudioBackend> Audio();

private:
    Layer();
    ~Layer();

    StartupState& m_startup;
    std::mutex m_audioLock;
    std::shared_ptr<video::AudioBackend> m_audio;
    std::unique_ptr<SoundMixer> m_mixer;
};

// The calling thread's last results.
void SetMoviesError(OSErr error);
OSErr MoviesError();
void SetMemoryError(OSErr error);
OSErr MemoryError();

// Nanoseconds of the platform clock.
std::uint64_t ClockNanoseconds();

} // namespace qt::detail
