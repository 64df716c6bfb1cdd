// The handle behind a movie: the path it came from and the controller handle it is attached to. Every
// operation has a default that reports nothing and answers false, 0 or 0.0; an engine's handle overrides what
// the engine supports.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/media/MediaTimeUnit.h"
#include "foundation/Rect.h"
#include "resources/ResourceHandle.h"
#include "resources/storage/Path.h"

#include <cstdint>

namespace Vemo {

class MovieControllerHandle;

class MovieHandle : public ResourceHandle {
public:
    explicit MovieHandle(ResourceEngine* engine);
    // A movie of the file at the path (empty for a new movie).
    MovieHandle(ResourceEngine* engine, const Path& path);
    ~MovieHandle() override;

    // Plays from the current time, forwards or backwards.
    virtual bool Start(bool forward);
    virtual bool Stop();
    // Stops, and rewinds when told.
    virtual bool StopAndRewind(bool rewind);
    // Plays on in the current direction.
    virtual bool Resume();
    virtual bool StepForward();
    virtual bool StepBackward();
    virtual bool Rewind();
    virtual bool GoToEnd();
    virtual bool SetTime(std::uint32_t time, MediaTimeUnit unit);
    virtual std::uint32_t GetTime(MediaTimeUnit unit);
    virtual std::uint32_t GetNextFrameTime(std::uint32_t time, MediaTimeUnit unit);
    virtual std::uint32_t GetPreviousFrameTime(std::uint32_t time, MediaTimeUnit unit);
    virtual bool IsAtStart();
    virtual bool IsAtEnd();
    virtual bool IsPlaying();
    // Gives the movie processing time.
    virtual void Task();
    virtual bool Preroll(bool forward, std::uint32_t time);
    virtual bool SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t third);
    virtual bool IsLooping();
    virtual bool SetActive(bool active);
    virtual bool IsActive();
    // The natural width and height, also written to out.
    virtual Size& GetBox(Size& out);
    // What a controller made for this movie proposes where its criterion is silent.
    virtual std::uint32_t GetControllerDepth();
    virtual std::uint32_t GetControllerGraphicValue();
    virtual StandardPixelFormat GetControllerPixelFormat();
    virtual bool SetRealParameter(float value);
    virtual float GetRealParameter();
    virtual std::uint32_t GetFrameCount();
    virtual std::uint32_t GetDuration(MediaTimeUnit unit);
    // 0 silent ... 255 full.
    virtual bool SetVolume(std::uint8_t volume);
    virtual std::uint8_t GetVolume();
    // Every track of the source's segment, inserted at the time given.
    virtual bool InsertSegment(MovieHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                               std::uint32_t sourceDuration, MediaTimeUnit unit);
    // The visual tracks only.
    virtual bool InsertVisualSegment(MovieHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                                     std::uint32_t sourceDuration, MediaTimeUnit unit);
    // The audible tracks only.
    virtual bool InsertAudioSegment(MovieHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                                    std::uint32_t sourceDuration, MediaTimeUnit unit);
    // The whole source at this movie's end.
    virtual bool AppendMovie(MovieHandle* source);
    virtual bool AppendVisual(MovieHandle* source);
    virtual bool AppendAudio(MovieHandle* source);
    virtual bool IsStreamed();
    virtual bool IsFileOpen();
    // Copies the path into out; true.
    virtual bool GetPath(Path& out);
    // Detaches a previous controller, keeps the new one; true.
    virtual bool AttachController(MovieControllerHandle* controller);
    virtual bool DetachController();
    virtual MovieControllerHandle* GetController();
    // Native units to milliseconds and back; the base answers its argument.
    virtual std::uint32_t FromMovieTime(std::uint32_t native);
    virtual std::uint32_t ToMovieTime(std::uint32_t milliseconds);

    // The handle as a movie handle, null when it is of another class.
    static MovieHandle* FromResourceHandle(ResourceHandle* handle);

protected:
    Path m_path;
    MovieControllerHandle* m_controller = nullptr;
};

} // namespace Vemo
