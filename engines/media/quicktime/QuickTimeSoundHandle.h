// A sound of the QuickTime sound engine: a QuickTime movie without pictures, played through a small hidden
// controller that it has from open to close. Time values convert between milliseconds and the sound's own
// units at its time scale.
//
// The handle's QuickTime objects are released by the engine's DestroySoundHandle; the destructor releases
// only the handle's own strings and path.
#pragma once

#include "engines/media/SoundHandle.h"
#include "engines/media/quicktime/QuickTimeErrorCodes.h"
#include "engines/media/quicktime/QuickTimeMedia.h"

namespace Vemo {

class QuickTimeSoundHandle : public SoundHandle {
public:
    // What the sound engine reports for its QuickTime steps.
    static constexpr QuickTimeMediaCodes kCodes{
        .path = QuickTimeSoundErrPath,
        .openFile = QuickTimeSoundErrOpenFile,
        .readMovie = QuickTimeSoundErrReadMovie,
        .memory = QuickTimeSoundErrMemory,
        .createFile = QuickTimeSoundErrCreateFile,
        .newMovie = QuickTimeSoundErrNewMovie,
        .closeFile = QuickTimeSoundErrCloseFile,
        .disposeController = QuickTimeSoundErrDisposeController,
        .disposeMovie = QuickTimeSoundErrDisposeMovie,
        .insertNoTrack = QuickTimeSoundErrInsertNoTrack,
        .insertAddTrack = QuickTimeSoundErrInsertAddTrack,
        .insertSegment = QuickTimeSoundErrInsertSegment,
    };

    explicit QuickTimeSoundHandle(ResourceEngine* engine);
    ~QuickTimeSoundHandle() override;

    // Plays at the preferred rate.
    bool Start() override;
    bool Stop() override;
    bool StopAndRewind(bool rewind) override;
    bool Rewind() override;
    bool GoToEnd() override;
    bool SetTime(std::uint32_t time, MediaTimeUnit unit) override;
    std::uint32_t GetTime(MediaTimeUnit unit) override;
    bool IsAtStart() override;
    bool IsAtEnd() override;
    // A sound that does not loop stops playing once QuickTime finds it done.
    bool IsPlaying() override;
    void Task() override;
    // Only zeros for the first two values (else ResourceSystemErrNotSupported); the third is not used.
    bool SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t third) override;
    bool IsLooping() override;
    bool SetActive(bool active) override;
    bool IsActive() override;
    // Accepted and ignored.
    bool SetRealParameter(float value) override;
    float GetRealParameter() override;
    std::uint32_t GetFrameCount() override;
    std::uint32_t GetDuration(MediaTimeUnit unit) override;
    bool SetVolume(std::uint8_t volume) override;
    std::uint8_t GetVolume() override;
    // Every track of the source, which must be a QuickTime sound (QuickTimeSoundErrInsertForeign), while
    // neither sound plays (...InsertPlaying).
    bool InsertSegment(SoundHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                       std::uint32_t sourceDuration, MediaTimeUnit unit) override;
    bool AppendSound(SoundHandle* source) override;
    bool IsStreamed() override;
    bool IsFileOpen() override;
    std::uint32_t FromMovieTime(std::uint32_t native) override;
    std::uint32_t ToMovieTime(std::uint32_t milliseconds) override;

    // The handle as a QuickTime sound handle, null when it is of another class.
    static QuickTimeSoundHandle* FromSoundHandle(SoundHandle* handle);
    qt::Movie GetMovie() const { return m_media.movie; }

private:
    friend class QuickTimeSoundEngine;

    QuickTimeMedia m_media;
    bool m_looping = false;
};

} // namespace Vemo
