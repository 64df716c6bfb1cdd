#include "engines/media/MovieHandle.h"

namespace Vemo {

MovieHandle::MovieHandle(ResourceEngine* engine) : ResourceHandle(engine) {}

MovieHandle::MovieHandle(ResourceEngine* engine, const Path& path) : ResourceHandle(engine), m_path(path) {}

MovieHandle::~MovieHandle() = default;

bool MovieHandle::Start(bool) {
    return false;
}
bool MovieHandle::Stop() {
    return false;
}
bool MovieHandle::StopAndRewind(bool) {
    return false;
}
bool MovieHandle::Resume() {
    return false;
}
bool MovieHandle::StepForward() {
    return false;
}
bool MovieHandle::StepBackward() {
    return false;
}
bool MovieHandle::Rewind() {
    return false;
}
bool MovieHandle::GoToEnd() {
    return false;
}
bool MovieHandle::SetTime(std::uint32_t, MediaTimeUnit) {
    return false;
}
std::uint32_t MovieHandle::GetTime(MediaTimeUnit) {
    return 0;
}
std::uint32_t MovieHandle::GetNextFrameTime(std::uint32_t, MediaTimeUnit) {
    return 0;
}
std::uint32_t MovieHandle::GetPreviousFrameTime(std::uint32_t, MediaTimeUnit) {
    return 0;
}
bool MovieHandle::IsAtStart() {
    return false;
}
bool MovieHandle::IsAtEnd() {
    return false;
}
bool MovieHandle::IsPlaying() {
    return false;
}
void MovieHandle::Task() {}
bool MovieHandle::Preroll(bool, std::uint32_t) {
    return false;
}
bool MovieHandle::SetLooping(bool, std::uint32_t, std::uint32_t, std::uint32_t) {
    return false;
}
bool MovieHandle::IsLooping() {
    return false;
}
bool MovieHandle::SetActive(bool) {
    return false;
}
bool MovieHandle::IsActive() {
    return false;
}
Size& MovieHandle::GetBox(Size& out) {
    out = Size(0, 0);
    return out;
}
std::uint32_t MovieHandle::GetControllerDepth() {
    return 0;
}
std::uint32_t MovieHandle::GetControllerGraphicValue() {
    return 0;
}
StandardPixelFormat MovieHandle::GetControllerPixelFormat() {
    return StandardPixelFormat::None;
}
bool MovieHandle::SetRealParameter(float) {
    return false;
}
float MovieHandle::GetRealParameter() {
    return 0.0f;
}
std::uint32_t MovieHandle::GetFrameCount() {
    return 0;
}
std::uint32_t MovieHandle::GetDuration(MediaTimeUnit) {
    return 0;
}
bool MovieHandle::SetVolume(std::uint8_t) {
    return false;
}
std::uint8_t MovieHandle::GetVolume() {
    return 0;
}
bool MovieHandle::InsertSegment(MovieHandle*, std::uint32_t, std::uint32_t, std::uint32_t, MediaTimeUnit) {
    return false;
}
bool MovieHandle::InsertVisualSegment(MovieHandle*, std::uint32_t, std::uint32_t, std::uint32_t,
                                      MediaTimeUnit) {
    return false;
}
bool MovieHandle::InsertAudioSegment(MovieHandle*, std::uint32_t, std::uint32_t, std::uint32_t,
                                     MediaTimeUnit) {
    return false;
}
bool MovieHandle::AppendMovie(MovieHandle*) {
    return false;
}
bool MovieHandle::AppendVisual(MovieHandle*) {
    return false;
}
bool MovieHandle::AppendAudio(MovieHandle*) {
    return false;
}
bool MovieHandle::IsStreamed() {
    return false;
}
bool MovieHandle::IsFileOpen() {
    return false;
}

bool MovieHandle::GetPath(Path& out) {
    out = m_path;
    return true;
}

bool MovieHandle::AttachController(MovieControllerHandle* controller) {
    if (m_controller != nullptr) {
        DetachController();
    }
    m_controller = controller;
    return true;
}

bool MovieHandle::DetachController() {
    m_controller = nullptr;
    return true;
}

MovieControllerHandle* MovieHandle::GetController() {
    return m_controller;
}

std::uint32_t MovieHandle::FromMovieTime(std::uint32_t native) {
    return native;
}

std::uint32_t MovieHandle::ToMovieTime(std::uint32_t milliseconds) {
    return milliseconds;
}

MovieHandle* MovieHandle::FromResourceHandle(ResourceHandle* handle) {
    return dynamic_cast<MovieHandle*>(handle);
}

} // namespace Vemo
