// The sound as the runtime holds it: a front-end over a sound handle. It opens through the Sound System and
// forwards its operations to the handle; without a handle every forwarding operation, Task included, reports
// ResourceSystemErrNoHandle with the text "Sound" and answers false, 0 or 0.0, and so does an editing
// operation whose source sound has none.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/media/MediaTimeUnit.h"
#include "resources/Resource.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class File;
class Path;
class SoundHandle;

class Sound : public Resource {
public:
    Sound();
    // Closes the handle while the sound is still whole.
    ~Sound() override;

    // Also keeps the handle as a SoundHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;
    // The opens report ResourceSystemErrAlreadyOpen, ResourceSystemErrNoSystem or
    // ResourceSystemErrOpenFailed. The family's id as engine means any sound engine.
    virtual bool Open(const Path& path, bool keepFileOpen, bool streamed,
                      std::uint32_t engineId = kSoundTypeId);
    virtual bool Open(const File& file, bool keepFileOpen, bool streamed,
                      std::uint32_t engineId = kSoundTypeId);
    // A new, empty sound.
    virtual bool Create(std::uint32_t engineId = kSoundTypeId);
    virtual bool Create(const Path& path, std::uint32_t engineId = kSoundTypeId);
    virtual bool Create(const File& file, std::uint32_t engineId = kSoundTypeId);
    virtual bool Start();
    virtual bool Stop();
    virtual bool StopAndRewind(bool rewind);
    virtual bool Rewind();
    virtual bool GoToEnd();
    virtual bool SetTime(std::uint32_t time, MediaTimeUnit unit);
    virtual std::uint32_t GetTime(MediaTimeUnit unit);
    virtual bool IsAtStart();
    virtual bool IsAtEnd();
    virtual bool IsPlaying();
    virtual void Task();
    virtual bool SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t third);
    virtual bool IsLooping();
    virtual bool SetActive(bool active);
    virtual bool IsActive();
    virtual bool SetRealParameter(float value);
    virtual float GetRealParameter();
    virtual std::uint32_t GetFrameCount();
    virtual std::uint32_t GetDuration(MediaTimeUnit unit);
    virtual bool SetVolume(std::uint8_t volume);
    virtual std::uint8_t GetVolume();
    virtual bool InsertSegment(Sound& source, std::uint32_t at, std::uint32_t sourceStart,
                               std::uint32_t sourceDuration, MediaTimeUnit unit);
    virtual bool AppendSound(Sound& source);
    virtual bool IsStreamed();
    virtual bool IsFileOpen();
    virtual bool GetPath(Path& out);

    // The attached handle as a sound handle, null while closed.
    SoundHandle* GetSoundHandle() const { return m_soundHandle; }

private:
    bool OpenThrough(const File* file, const Path* path, bool create, bool keepFileOpen, bool streamed,
                     std::uint32_t engineId);
    // The handle, or null with the no-handle report.
    SoundHandle* Handle() const;

    SoundHandle* m_soundHandle = nullptr;
};

} // namespace Vemo
