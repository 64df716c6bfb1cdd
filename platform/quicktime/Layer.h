// The QuickTime layer's process-wide state: its one lock, the start-up counts, every live object, the open
// movie files, the audio backend and the calling thread's last results. Internal to the layer.
#pragma once

#include "platform/quicktime/Types.h"
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

struct InjectedFailure {
    OSErr code = 0;
    bool always = false;
};

class Layer {
public:
    static Layer& Instance();

    // Recursive: the null sink renders, under the lock, from calls that hold it already.
    std::recursive_mutex& Lock() { return m_lock; }

    int qtmlStarts = 0;
    int movieServicesStarts = 0;
    int vrLibraryLoads = 0;
    // For tests: the VR library finds a VR track (a movie's first track) and gives an instance for it; the
    // calls made with an instance are kept, in order.
    bool vrTrackReported = false;
    std::vector<std::string> vrCalls;

    std::set<MovieRecord*> movies;
    std::set<TrackRecord*> tracks;
    std::set<MediaRecord*> media;
    std::set<ControllerRecord*> controllers;
    std::set<GrafPortRecord*> ports;
    std::map<Handle, std::unique_ptr<HandleBlock>> handles;
    std::map<std::int16_t, OpenMovieFile> files;
    std::int16_t nextRefNum = 1;

    std::optional<std::string> versionOverride;
    video::AudioBackendKind audioKind = video::AudioBackendKind::Default;

    bool IsMovie(Movie movie) const { return movie != nullptr && movies.count(movie) != 0; }
    bool IsTrack(Track track) const { return track != nullptr && tracks.count(track) != 0; }
    bool IsMedia(Media m) const { return m != nullptr && media.count(m) != 0; }
    bool IsController(MovieController c) const { return c != nullptr && controllers.count(c) != 0; }
    bool IsPort(CGrafPtr port) const { return port != nullptr && ports.count(port) != 0; }

    // The code a test asked the named call to fail with, once or always.
    std::optional<OSErr> TakeFailure(const char* call);
    void SetFailure(const std::string& call, InjectedFailure failure);
    void ClearFailures();

    // Audio: opened with the first movie after QTML starts (with the lock held: the new device's thread takes
    // the lock only once it has the mixer), closed by the last shut-down (without the lock: SDL's audio
    // thread may be waiting for it while the device is locked). A version query alone opens no device.
    void OpenAudio();
    void CloseAudio();
    // Lets the null sink consume the clock's time since the last pump. With or without the lock.
    void PumpAudio();
    std::shared_ptr<video::AudioBackend> Audio();
    // Serialises start-up and shut-down, as QuickTime's own start-up mutex does; never taken under the lock.
    std::mutex& StartupLock() { return m_startup; }

private:
    Layer();
    ~Layer();

    std::recursive_mutex m_lock;
    std::mutex m_startup;
    std::map<std::string, InjectedFailure> m_failures;
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
