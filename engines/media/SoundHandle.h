// The handle behind a sound: the path it came from. Every operation has a default that reports nothing and
// answers false, 0 or 0.0; an engine's handle overrides what the engine supports.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/media/MediaTimeUnit.h"
#include "resources/ResourceHandle.h"
#include "resources/storage/Path.h"

#include <cstdint>

namespace Vemo {

class SoundHandle : public ResourceHandle {
public:
    explicit SoundHandle(ResourceEngine* engine);
    // A sound of the file at the path (empty for a new sound).
    SoundHandle(ResourceEngine* engine, const Path& path);
    ~SoundHandle() override;

    virtual bool Start();
    virtual bool Stop();
    // Stops, and rewinds when told.
    virtual bool StopAndRewind(bool rewind);
    virtual bool Rewind();
    virtual bool GoToEnd();
    virtual bool SetTime(std::uint32_t time, MediaTimeUnit unit);
    virtual std::uint32_t GetTime(MediaTimeUnit unit);
    virtual bool IsAtStart();
    virtual bool IsAtEnd();
    virtual bool IsPlaying();
    // Gives the sound processing time.
    virtual void Task();
    virtual bool SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t third);
    virtual bool IsLooping();
    virtual bool SetActive(bool active);
    virtual bool IsActive();
    virtual bool SetRealParameter(float value);
    virtual float GetRealParameter();
    virtual std::uint32_t GetFrameCount();
    virtual std::uint32_t GetDuration(MediaTimeUnit unit);
    // 0 silent ... 255 full.
    virtual bool SetVolume(std::uint8_t volume);
    virtual std::uint8_t GetVolume();
    virtual bool InsertSegment(SoundHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                               std::uint32_t sourceDuration, MediaTimeUnit unit);
    // The whole source at this sound's end.
    virtual bool AppendSound(SoundHandle* source);
    virtual bool IsStreamed();
    virtual bool IsFileOpen();
    // Copies the path into out; true.
    virtual bool GetPath(Path& out);
    // Native units to milliseconds and back; the base answers its argument.
    virtual std::uint32_t FromMovieTime(std::uint32_t native);
    virtual std::uint32_t ToMovieTime(std::uint32_t milliseconds);

    // The handle as a sound handle, null when it is of another class.
    static SoundHandle* FromResourceHandle(ResourceHandle* handle);

protected:
    Path m_path;
};

} // namespace Vemo
