#include "engines/media/quicktime/QuickTimeSoundHandle.h"

#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

QuickTimeSoundHandle::QuickTimeSoundHandle(ResourceEngine* engine) : SoundHandle(engine) {}

QuickTimeSoundHandle::~QuickTimeSoundHandle() = default;

QuickTimeSoundHandle* QuickTimeSoundHandle::FromSoundHandle(SoundHandle* handle) {
    return dynamic_cast<QuickTimeSoundHandle*>(handle);
}

bool QuickTimeSoundHandle::Start() {
    m_media.Play(qt::GetMoviePreferredRate(m_media.movie));
    return true;
}

bool QuickTimeSoundHandle::Stop() {
    m_media.Stop();
    return true;
}

bool QuickTimeSoundHandle::StopAndRewind(bool rewind) {
    Stop();
    if (rewind) {
        Rewind();
    }
    return true;
}

bool QuickTimeSoundHandle::Rewind() {
    m_media.GoToStart();
    return true;
}

bool QuickTimeSoundHandle::GoToEnd() {
    m_media.GoToEnd();
    return true;
}

bool QuickTimeSoundHandle::SetTime(std::uint32_t time, MediaTimeUnit unit) {
    m_media.GoToTime(static_cast<qt::TimeValue>(m_media.ToNative(time, unit)));
    return true;
}

std::uint32_t QuickTimeSoundHandle::GetTime(MediaTimeUnit unit) {
    return m_media.FromNative(static_cast<std::uint32_t>(m_media.CurrentTime()), unit);
}

bool QuickTimeSoundHandle::IsAtStart() {
    return m_media.CurrentTime() == 0;
}

bool QuickTimeSoundHandle::IsAtEnd() {
    return m_media.CurrentTime() == m_media.Duration();
}

bool QuickTimeSoundHandle::IsPlaying() {
    // A looping sound never ends; one that does not stops at its end, and so stops playing.
    if (!m_looping) {
        m_media.StopIfDone();
    }
    return m_media.playing;
}

void QuickTimeSoundHandle::Task() {
    m_media.Task();
}

bool QuickTimeSoundHandle::SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t) {
    if (first != 0 || second != 0) {
        RaiseError(ResourceSystemErrNotSupported);
        return false;
    }
    qt::ControllerAction(m_media.controller, qt::mcActionSetLooping, qt::ActionValue(loop ? 1 : 0));
    m_looping = loop;
    return true;
}

bool QuickTimeSoundHandle::IsLooping() {
    return m_looping;
}

bool QuickTimeSoundHandle::SetActive(bool active) {
    m_media.SetActive(active);
    return true;
}

bool QuickTimeSoundHandle::IsActive() {
    return m_media.IsActive();
}

bool QuickTimeSoundHandle::SetRealParameter(float) {
    return true;
}

float QuickTimeSoundHandle::GetRealParameter() {
    return 0.0f;
}

std::uint32_t QuickTimeSoundHandle::GetFrameCount() {
    return m_media.FrameCount();
}

std::uint32_t QuickTimeSoundHandle::GetDuration(MediaTimeUnit unit) {
    return m_media.FromNative(static_cast<std::uint32_t>(m_media.Duration()), unit);
}

bool QuickTimeSoundHandle::SetVolume(std::uint8_t volume) {
    m_media.SetVolume(volume);
    return true;
}

std::uint8_t QuickTimeSoundHandle::GetVolume() {
    return m_media.GetVolume();
}

bool QuickTimeSoundHandle::InsertSegment(SoundHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                                         std::uint32_t sourceDuration, MediaTimeUnit unit) {
    QuickTimeSoundHandle* quickTimeSource =
        source->GetEngine()->GetTypeId() == kQuickTimeSoundTypeId ? FromSoundHandle(source) : nullptr;
    if (quickTimeSource == nullptr) {
        RaiseError(QuickTimeSoundErrInsertForeign);
        return false;
    }
    if (IsPlaying() || quickTimeSource->IsPlaying()) {
        RaiseError(QuickTimeSoundErrInsertPlaying);
        return false;
    }
    const QuickTimeMedia& from = quickTimeSource->m_media;
    return m_media.InsertTracks(from, QuickTimeMedia::Tracks::All,
                                static_cast<qt::TimeValue>(m_media.ToNative(at, unit)),
                                static_cast<qt::TimeValue>(from.ToNative(sourceStart, unit)),
                                static_cast<qt::TimeValue>(from.ToNative(sourceDuration, unit)), kCodes);
}

bool QuickTimeSoundHandle::AppendSound(SoundHandle* source) {
    return InsertSegment(source, GetDuration(MediaTimeUnit::Native), 0,
                         source->GetDuration(MediaTimeUnit::Native), MediaTimeUnit::Native);
}

bool QuickTimeSoundHandle::IsStreamed() {
    return m_media.streamed;
}

bool QuickTimeSoundHandle::IsFileOpen() {
    return m_media.fileReference != 0;
}

std::uint32_t QuickTimeSoundHandle::FromMovieTime(std::uint32_t native) {
    return m_media.FromMovieTime(native);
}

std::uint32_t QuickTimeSoundHandle::ToMovieTime(std::uint32_t milliseconds) {
    return m_media.ToMovieTime(milliseconds);
}

} // namespace Vemo
