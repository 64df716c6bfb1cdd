// Test-only access to the QuickTime layer: failures on demand, the start-up counts and what is open, the
// version StartQTML reports, the audio backend it opens, and movies read straight from bytes.
#pragma once

#include "platform/quicktime/QuickTime.h"
#include "platform/video/AudioBackend.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qt::testing {

enum class Times { Once, Always };

// The named call (as QuickTime.h names it: "NewMovieFromFile", "DisposeMovie", ...) fails with the code,
// once or until cleared. A call with a result gives the code; a call without one leaves it as the movies
// (or memory) error, a call giving an object gives null. Disposing calls still dispose.
void FailCall(const std::string& call, OSErr code, Times times = Times::Once);
void ClearFailures();

struct StartupCounts {
    int qtml = 0;
    int movieServices = 0;
    int vrLibrary = 0;
};
StartupCounts GetStartupCounts();

struct OpenObjects {
    std::size_t movies = 0;
    std::size_t tracks = 0;
    std::size_t media = 0;
    std::size_t controllers = 0;
    std::size_t windowPorts = 0;
    std::size_t worlds = 0;
    std::size_t handles = 0;
    std::size_t files = 0;

    bool None() const {
        return movies + tracks + media + controllers + windowPorts + worlds + handles + files == 0;
    }
};
OpenObjects GetOpenObjects();

// The version setting StartQTML reads in place of VEMO_QUICKTIME ("6.0", "4.1", "none", ...); nothing goes
// back to the environment.
void SetQuickTimeVersion(std::optional<std::string> version);

// The audio backend the next first start-up opens (Default: as VEMO_AUDIO says).
void UseAudioBackend(video::AudioBackendKind kind);

struct AudioState {
    bool open = false;
    std::string name;
    int sampleRate = 0;
    std::uint64_t framesRendered = 0;
    float peak = 0;
};
AudioState GetAudio();
void ResetAudioPeak();

// A movie read from bytes as NewMovieFromFile reads a file (movie services must be started).
OSErr NewMovieFromBytes(const std::uint8_t* bytes, std::size_t size, Movie* movie);

// A VR movie's nodes decoded as entering each does: every node's pictures. The nodes whose pictures decode;
// -1 for a movie that is no VR movie.
int DecodeVrNodes(Movie movie);

// Starts QTML and the movie services for the object's life, on the null audio sink unless told otherwise.
class QuickTimeSession {
public:
    explicit QuickTimeSession(video::AudioBackendKind audio = video::AudioBackendKind::None);
    ~QuickTimeSession();
    QuickTimeSession(const QuickTimeSession&) = delete;
    QuickTimeSession& operator=(const QuickTimeSession&) = delete;

    bool Started() const { return m_started; }

private:
    bool m_started = false;
};

} // namespace qt::testing
