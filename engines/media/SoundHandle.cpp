#include "engines/media/SoundHandle.h"

namespace Vemo {

SoundHandle::SoundHandle(ResourceEngine* engine) : ResourceHandle(engine) {}

SoundHandle::SoundHandle(ResourceEngine* engine, const Path& path) : ResourceHandle(engine), m_path(path) {}

SoundHandle::~SoundHandle() = default;

bool SoundHandle::Start() {
    return false;
}
bool SoundHandle::Stop() {
    return false;
}
bool SoundHandle::StopAndRewind(bool) {
    return false;
}
bool SoundHandle::Rewind() {
    return false;
}
bool SoundHandle::GoToEnd() {
    return false;
}
bool SoundHandle::SetTime(std::uint32_t, MediaTimeUnit) {
    return false;
}
std::uint32_t SoundHandle::GetTime(MediaTimeUnit) {
    return 0;
}
bool SoundHandle::IsAtStart() {
    return false;
}
bool SoundHandle::IsAtEnd() {
    return false;
}
bool SoundHandle::IsPlaying() {
    return false;
}
void SoundHandle::Task() {}
bool SoundHandle::SetLooping(bool, std::uint32_t, std::uint32_t, std::uint32_t) {
    return false;
}
bool SoundHandle::IsLooping() {
    return false;
}
bool SoundHandle::SetActive(bool) {
    return false;
}
bool SoundHandle::IsActive() {
    return false;
}
bool SoundHandle::SetRealParameter(float) {
    return false;
}
float SoundHandle::GetRealParameter() {
    return 0.0f;
}
std::uint32_t SoundHandle::GetFrameCount() {
    return 0;
}
std::uint32_t SoundHandle::GetDuration(MediaTimeUnit) {
    return 0;
}
bool SoundHandle::SetVolume(std::uint8_t) {
    return false;
}
std::uint8_t SoundHandle::GetVolume() {
    return 0;
}
bool SoundHandle::InsertSegment(SoundHandle*, std::uint32_t, std::uint32_t, std::uint32_t, MediaTimeUnit) {
    return false;
}
bool SoundHandle::AppendSound(SoundHandle*) {
    return false;
}
bool SoundHandle::IsStreamed() {
    return false;
}
bool SoundHandle::IsFileOpen() {
    return false;
}

bool SoundHandle::GetPath(Path& out) {
    out = m_path;
    return true;
}

std::uint32_t SoundHandle::FromMovieTime(std::uint32_t native) {
    return native;
}

std::uint32_t SoundHandle::ToMovieTime(std::uint32_t milliseconds) {
    return milliseconds;
}

SoundHandle* SoundHandle::FromResourceHandle(ResourceHandle* handle) {
    return dynamic_cast<SoundHandle*>(handle);
}

} // namespace Vemo
