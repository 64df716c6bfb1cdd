// A movie of the QuickTime movie engine: every operation of the movie handle made with QuickTime calls. The
// movie loops exactly while it has a QuickTime controller, which SetLooping(true) makes and SetLooping(false)
// disposes; without one, play and time go to the movie itself. Time values convert between milliseconds and
// the movie's own units at its time scale.
//
// The handle's QuickTime objects are released by the engine's DestroyMovieHandle; the destructor releases
// only the handle's own strings and path.
#pragma once

#include "engines/media/MovieHandle.h"
#include "engines/media/quicktime/QuickTimeErrorCodes.h"
#include "engines/media/quicktime/QuickTimeMedia.h"

namespace Vemo {

class QuickTimeMovieHandle : public MovieHandle {
public:
    // What the movie engine reports for its QuickTime steps.
    static constexpr QuickTimeMediaCodes kCodes{
        .path = QuickTimeMovieErrPath,
        .openFile = QuickTimeMovieErrOpenFile,
        .readMovie = QuickTimeMovieErrReadMovie,
        .memory = QuickTimeMovieErrMemory,
        .createFile = QuickTimeMovieErrCreateFile,
        .newMovie = QuickTimeMovieErrNewMovie,
        .closeFile = QuickTimeMovieErrCloseFile,
        .disposeController = QuickTimeMovieErrDisposeController,
        .disposeMovie = QuickTimeMovieErrDisposeMovie,
        .insertNoTrack = QuickTimeMovieErrInsertNoTrack,
        .insertAddTrack = QuickTimeMovieErrInsertAddTrack,
        .insertSegment = QuickTimeMovieErrInsertSegment,
    };

    explicit QuickTimeMovieHandle(ResourceEngine* engine);
    ~QuickTimeMovieHandle() override;

    // Plays at the preferred rate, its sign made to agree with the direction (a rate so turned becomes the
    // preferred rate).
    bool Start(bool forward) override;
    bool Stop() override;
    bool StopAndRewind(bool rewind) override;
    // Plays at the unchanged preferred rate.
    bool Resume() override;
    // To the next frame edge, or to the end when there is none before it.
    bool StepForward() override;
    // To the previous frame edge, or to the start.
    bool StepBackward() override;
    bool Rewind() override;
    bool GoToEnd() override;
    bool SetTime(std::uint32_t time, MediaTimeUnit unit) override;
    std::uint32_t GetTime(MediaTimeUnit unit) override;
    // The next frame edge after the time; the duration when there is none up to it.
    std::uint32_t GetNextFrameTime(std::uint32_t time, MediaTimeUnit unit) override;
    // The frame edge before the time; 0 when there is none.
    std::uint32_t GetPreviousFrameTime(std::uint32_t time, MediaTimeUnit unit) override;
    bool IsAtStart() override;
    bool IsAtEnd() override;
    // Without a controller, a playing movie that QuickTime finds done is stopped first.
    bool IsPlaying() override;
    void Task() override;
    // Prerolls at the time with the preferred rate turned to the direction (the preferred rate stays).
    bool Preroll(bool forward, std::uint32_t time) override;
    // Only zeros for the first two values (else ResourceSystemErrNotSupported). Looping on makes a hidden
    // controller of the movie's size (QuickTimeMovieErrNoSize for an empty box, ...NewController), looping
    // off disposes it (false with ...DisposeController); the time and whether it plays carry over.
    bool SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t third) override;
    bool IsLooping() override;
    bool SetActive(bool active) override;
    bool IsActive() override;
    Size& GetBox(Size& out) override;
    std::uint32_t GetControllerDepth() override;
    std::uint32_t GetControllerGraphicValue() override;
    StandardPixelFormat GetControllerPixelFormat() override;
    // Not supported: ResourceSystemErrNotSupported.
    bool SetRealParameter(float value) override;
    float GetRealParameter() override;
    std::uint32_t GetFrameCount() override;
    std::uint32_t GetDuration(MediaTimeUnit unit) override;
    bool SetVolume(std::uint8_t volume) override;
    std::uint8_t GetVolume() override;
    // The source must be a QuickTime movie (QuickTimeMovieErrInsertForeign) and neither movie may play
    // (...InsertPlaying). The visual and audible forms take the tracks the source plays: its enabled ones.
    bool InsertSegment(MovieHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                       std::uint32_t sourceDuration, MediaTimeUnit unit) override;
    bool InsertVisualSegment(MovieHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                             std::uint32_t sourceDuration, MediaTimeUnit unit) override;
    bool InsertAudioSegment(MovieHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                            std::uint32_t sourceDuration, MediaTimeUnit unit) override;
    bool AppendMovie(MovieHandle* source) override;
    bool AppendVisual(MovieHandle* source) override;
    bool AppendAudio(MovieHandle* source) override;
    bool IsStreamed() override;
    bool IsFileOpen() override;
    // Also makes the movie active (and activates its controller).
    bool AttachController(MovieControllerHandle* controller) override;
    // Also deactivates the controller and the movie.
    bool DetachController() override;
    std::uint32_t FromMovieTime(std::uint32_t native) override;
    std::uint32_t ToMovieTime(std::uint32_t milliseconds) override;

    // The handle as a QuickTime movie handle, null when it is of another class.
    static QuickTimeMovieHandle* FromMovieHandle(MovieHandle* handle);
    // The QuickTime movie, for callers that make QuickTime calls of their own on it.
    qt::Movie GetMovie() const { return m_media.movie; }
    // The looping controller, or null.
    qt::MovieController GetMovieController() const { return m_media.controller; }

private:
    friend class QuickTimeMovieEngine;

    bool Insert(MovieHandle* source, QuickTimeMedia::Tracks tracks, std::uint32_t at,
                std::uint32_t sourceStart, std::uint32_t sourceDuration, MediaTimeUnit unit);
    // The preferred rate with its sign made to agree with the direction.
    qt::Fixed DirectedRate(bool forward) const;
    bool MakeLoopingController();
    bool DisposeLoopingController();

    QuickTimeMedia m_media;
};

} // namespace Vemo
