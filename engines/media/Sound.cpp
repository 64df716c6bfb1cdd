#include "engines/media/Sound.h"

#include "engines/media/MediaFrontEnd.h"
#include "engines/media/SoundHandle.h"
#include "engines/media/SoundSearchCriterion.h"
#include "engines/media/SoundSystem.h"
#include "resources/SystemAccessors.h"
#include "resources/storage/Path.h"

namespace Vemo {

Sound::Sound() = default;

Sound::~Sound() {
    ReleaseHandle();
}

void Sound::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_soundHandle = SoundHandle::FromResourceHandle(handle);
}

bool Sound::OpenThrough(const File* file, const Path* path, bool create, bool keepFileOpen, bool streamed,
                        std::uint32_t engineId) {
    SoundSearchCriterion criterion;
    criterion.m_file = file;
    criterion.m_path = path;
    criterion.m_create = create;
    criterion.m_keepFileOpen = keepFileOpen;
    criterion.m_streamed = streamed;
    ResourceHandle* handle = OpenFrontEnd(*this, GetSoundSystem(), criterion, engineId);
    if (handle == nullptr) {
        return false;
    }
    SetHandle(handle);
    return true;
}

bool Sound::Open(const Path& path, bool keepFileOpen, bool streamed, std::uint32_t engineId) {
    return OpenThrough(nullptr, &path, false, keepFileOpen, streamed, engineId);
}

bool Sound::Open(const File& file, bool keepFileOpen, bool streamed, std::uint32_t engineId) {
    return OpenThrough(&file, nullptr, false, keepFileOpen, streamed, engineId);
}

bool Sound::Create(std::uint32_t engineId) {
    return OpenThrough(nullptr, nullptr, true, true, true, engineId);
}

bool Sound::Create(const Path& path, std::uint32_t engineId) {
    return OpenThrough(nullptr, &path, true, true, true, engineId);
}

bool Sound::Create(const File& file, std::uint32_t engineId) {
    return OpenThrough(&file, nullptr, true, true, true, engineId);
}

SoundHandle* Sound::Handle() const {
    if (m_soundHandle == nullptr) {
        ReportNoHandle("Sound");
    }
    return m_soundHandle;
}

bool Sound::Start() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->Start();
}

bool Sound::Stop() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->Stop();
}

bool Sound::StopAndRewind(bool rewind) {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->StopAndRewind(rewind);
}

bool Sound::Rewind() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->Rewind();
}

bool Sound::GoToEnd() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->GoToEnd();
}

bool Sound::SetTime(std::uint32_t time, MediaTimeUnit unit) {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->SetTime(time, unit);
}

std::uint32_t Sound::GetTime(MediaTimeUnit unit) {
    SoundHandle* handle = Handle();
    return handle != nullptr ? handle->GetTime(unit) : 0;
}

bool Sound::IsAtStart() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->IsAtStart();
}

bool Sound::IsAtEnd() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->IsAtEnd();
}

bool Sound::IsPlaying() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->IsPlaying();
}

void Sound::Task() {
    if (SoundHandle* handle = Handle()) {
        handle->Task();
    }
}

bool Sound::SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t third) {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->SetLooping(loop, first, second, third);
}

bool Sound::IsLooping() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->IsLooping();
}

bool Sound::SetActive(bool active) {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->SetActive(active);
}

bool Sound::IsActive() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->IsActive();
}

bool Sound::SetRealParameter(float value) {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->SetRealParameter(value);
}

float Sound::GetRealParameter() {
    SoundHandle* handle = Handle();
    return handle != nullptr ? handle->GetRealParameter() : 0.0f;
}

std::uint32_t Sound::GetFrameCount() {
    SoundHandle* handle = Handle();
    return handle != nullptr ? handle->GetFrameCount() : 0;
}

std::uint32_t Sound::GetDuration(MediaTimeUnit unit) {
    SoundHandle* handle = Handle();
    return handle != nullptr ? handle->GetDuration(unit) : 0;
}

bool Sound::SetVolume(std::uint8_t volume) {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->SetVolume(volume);
}

std::uint8_t Sound::GetVolume() {
    SoundHandle* handle = Handle();
    return handle != nullptr ? handle->GetVolume() : 0;
}

bool Sound::InsertSegment(Sound& source, std::uint32_t at, std::uint32_t sourceStart,
                          std::uint32_t sourceDuration, MediaTimeUnit unit) {
    if (m_soundHandle == nullptr || source.m_soundHandle == nullptr) {
        ReportNoHandle("Sound");
        return false;
    }
    return m_soundHandle->InsertSegment(source.m_soundHandle, at, sourceStart, sourceDuration, unit);
}

bool Sound::AppendSound(Sound& source) {
    if (m_soundHandle == nullptr || source.m_soundHandle == nullptr) {
        ReportNoHandle("Sound");
        return false;
    }
    return m_soundHandle->AppendSound(source.m_soundHandle);
}

bool Sound::IsStreamed() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->IsStreamed();
}

bool Sound::IsFileOpen() {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->IsFileOpen();
}

bool Sound::GetPath(Path& out) {
    SoundHandle* handle = Handle();
    return handle != nullptr && handle->GetPath(out);
}

} // namespace Vemo
