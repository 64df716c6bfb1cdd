// The QuickTime movie behind a QuickTime movie or sound handle, the controller that plays it while it has
// one, its file and its playing state, with the QuickTime steps both kinds of handle take: opening and
// releasing, playing and positioning (through the controller when there is one, else on the movie), time
// conversion, frame edges and inserting another movie's tracks. The codes each step reports are the handle
// family's.
#pragma once

#include "engines/media/MediaTimeUnit.h"
#include "foundation/String.h"
#include "platform/quicktime/QuickTime.h"
#include "resources/error/ErrorCode.h"

#include <cstdint>

namespace Vemo {

class Path;

// What a family reports for each step.
struct QuickTimeMediaCodes {
    ErrorCode path;
    ErrorCode openFile;
    ErrorCode readMovie;
    ErrorCode memory;
    ErrorCode createFile;
    ErrorCode newMovie;
    ErrorCode closeFile;
    ErrorCode disposeController;
    ErrorCode disposeMovie;
    ErrorCode insertNoTrack;
    ErrorCode insertAddTrack;
    ErrorCode insertSegment;
};

class QuickTimeMedia {
public:
    enum class Tracks { All, Visual, Audible };

    QuickTimeMedia() = default;
    QuickTimeMedia(const QuickTimeMedia&) = delete;
    QuickTimeMedia& operator=(const QuickTimeMedia&) = delete;

    // The path's native text as a file spec; codes.path when the path has no text or does not convert (a
    // missing file is no error).
    bool MakeFileSpec(const Path& path, qt::FSSpec& spec, const QuickTimeMediaCodes& codes);
    // Opens the file for reading (codes.openFile) and reads its movie (codes.readMovie); nothing stays open
    // on failure.
    bool OpenFile(const qt::FSSpec& spec, const QuickTimeMediaCodes& codes);
    // A new movie file at the path, replacing one that is there, kept open (codes.path, codes.createFile).
    bool CreateFile(const Path& path, const QuickTimeMediaCodes& codes);
    // A new, empty movie without a file (codes.newMovie).
    bool CreateEmpty(const QuickTimeMediaCodes& codes);
    // Reads the movie's media into memory, or plays them from the file; codes.memory.
    bool Load(bool streamed, const QuickTimeMediaCodes& codes);
    void CloseFileUnlessKept(bool keepFileOpen);
    // Disposes whatever a failed open made: controller, file, movie.
    void Discard();
    // Lets the movie's memory go (codes.memory), closes the file (codes.closeFile), disposes the controller
    // (codes.disposeController) and the movie (codes.disposeMovie), every step run; false when any failed.
    bool Release(const QuickTimeMediaCodes& codes);

    // At the rate: through the controller, else StartMovie (at the preferred rate). Playing from now on.
    void Play(qt::Fixed rate);
    // The controller at rate 0, else StopMovie. Not playing from now on.
    void Stop();
    // Playing, and the movie found done: it is stopped.
    void StopIfDone();
    void GoToTime(qt::TimeValue time);
    void GoToStart();
    void GoToEnd();
    qt::TimeValue CurrentTime() const;
    qt::TimeValue Duration() const;
    // The controller draws, else the movie is tasked.
    void Task();
    void SetActive(bool active);
    bool IsActive() const;
    // 0 silent, v above 0 sent as v + 1 of 256.
    void SetVolume(std::uint8_t volume);
    std::uint8_t GetVolume() const;

    // Native units to milliseconds and back at the movie's time scale: 0 for a scale of 0, 0xFFFFFFFF for a
    // time that does not fit 32 bits.
    std::uint32_t FromMovieTime(std::uint32_t native) const;
    std::uint32_t ToMovieTime(std::uint32_t milliseconds) const;
    // A value in the unit to native units, and back.
    std::uint32_t ToNative(std::uint32_t value, MediaTimeUnit unit) const;
    std::uint32_t FromNative(std::uint32_t native, MediaTimeUnit unit) const;

    // The next frame edge of the visual tracks after the time (or before it), -1 when there is none.
    qt::TimeValue NextFrameEdge(qt::TimeValue time, bool forward) const;
    // 1 and one more for each frame edge after 0.
    std::uint32_t FrameCount() const;

    // The chosen tracks of the source from sourceStart for sourceDuration, added as new tracks placed at
    // the time; the enabled ones only, unless every track is asked for. A missing track (codes.insertNoTrack)
    // stops it before anything is added.
    bool InsertTracks(const QuickTimeMedia& source, Tracks tracks, qt::TimeValue at,
                      qt::TimeValue sourceStart, qt::TimeValue sourceDuration,
                      const QuickTimeMediaCodes& codes);

    qt::Movie movie = nullptr;
    qt::MovieController controller = nullptr;
    String pathText;
    std::int16_t fileReference = 0;
    bool playing = false;
    bool streamed = false;
};

} // namespace Vemo
