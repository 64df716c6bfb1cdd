#include "engines/media/quicktime/QuickTimeMovieHandle.h"

#include "engines/media/quicktime/QuickTimeSettings.h"
#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

QuickTimeMovieHandle::QuickTimeMovieHandle(ResourceEngine* engine) : MovieHandle(engine) {}

QuickTimeMovieHandle::~QuickTimeMovieHandle() = default;

QuickTimeMovieHandle* QuickTimeMovieHandle::FromMovieHandle(MovieHandle* handle) {
    return dynamic_cast<QuickTimeMovieHandle*>(handle);
}

qt::Fixed QuickTimeMovieHandle::DirectedRate(bool forward) const {
    const qt::Fixed rate = qt::GetMoviePreferredRate(m_media.movie);
    return (forward && rate < 0) || (!forward && rate > 0) ? -rate : rate;
}

bool QuickTimeMovieHandle::Start(bool forward) {
    const qt::Fixed rate = DirectedRate(forward);
    if (rate != qt::GetMoviePreferredRate(m_media.movie)) {
        qt::SetMoviePreferredRate(m_media.movie, rate);
    }
    m_media.Play(rate);
    return true;
}

bool QuickTimeMovieHandle::Stop() {
    m_media.Stop();
    return true;
}

bool QuickTimeMovieHandle::StopAndRewind(bool rewind) {
    Stop();
    if (rewind) {
        Rewind();
    }
    return true;
}

bool QuickTimeMovieHandle::Resume() {
    m_media.Play(qt::GetMoviePreferredRate(m_media.movie));
    return true;
}

bool QuickTimeMovieHandle::StepForward() {
    const qt::TimeValue duration = m_media.Duration();
    const qt::TimeValue now = m_media.CurrentTime();
    const qt::TimeValue next = m_media.NextFrameEdge(now, true);
    if (now <= next && next <= duration) {
        return SetTime(static_cast<std::uint32_t>(next), MediaTimeUnit::Native);
    }
    return GoToEnd();
}

bool QuickTimeMovieHandle::StepBackward() {
    const qt::TimeValue now = m_media.CurrentTime();
    const qt::TimeValue previous = m_media.NextFrameEdge(now, false);
    if (0 <= previous && previous <= now) {
        return SetTime(static_cast<std::uint32_t>(previous), MediaTimeUnit::Native);
    }
    return Rewind();
}

bool QuickTimeMovieHandle::Rewind() {
    m_media.GoToStart();
    return true;
}

bool QuickTimeMovieHandle::GoToEnd() {
    m_media.GoToEnd();
    return true;
}

bool QuickTimeMovieHandle::SetTime(std::uint32_t time, MediaTimeUnit unit) {
    m_media.GoToTime(static_cast<qt::TimeValue>(m_media.ToNative(time, unit)));
    return true;
}

std::uint32_t QuickTimeMovieHandle::GetTime(MediaTimeUnit unit) {
    return m_media.FromNative(static_cast<std::uint32_t>(m_media.CurrentTime()), unit);
}

std::uint32_t QuickTimeMovieHandle::GetNextFrameTime(std::uint32_t time, MediaTimeUnit unit) {
    const auto from = static_cast<qt::TimeValue>(m_media.ToNative(time, unit));
    const qt::TimeValue duration = m_media.Duration();
    qt::TimeValue next = m_media.NextFrameEdge(from, true);
    if (next > duration || next < from) {
        next = duration;
    }
    return m_media.FromNative(static_cast<std::uint32_t>(next), unit);
}

std::uint32_t QuickTimeMovieHandle::GetPreviousFrameTime(std::uint32_t time, MediaTimeUnit unit) {
    const auto from = static_cast<qt::TimeValue>(m_media.ToNative(time, unit));
    qt::TimeValue previous = m_media.NextFrameEdge(from, false);
    if (previous < 0 || previous > from) {
        previous = 0;
    }
    return m_media.FromNative(static_cast<std::uint32_t>(previous), unit);
}

bool QuickTimeMovieHandle::IsAtStart() {
    return m_media.CurrentTime() == 0;
}

bool QuickTimeMovieHandle::IsAtEnd() {
    return m_media.CurrentTime() == m_media.Duration();
}

bool QuickTimeMovieHandle::IsPlaying() {
    if (m_media.controller == nullptr) {
        m_media.StopIfDone();
    }
    return m_media.playing;
}

void QuickTimeMovieHandle::Task() {
    m_media.Task();
}

bool QuickTimeMovieHandle::Preroll(bool forward, std::uint32_t time) {
    qt::PrerollMovie(m_media.movie, static_cast<qt::TimeValue>(time), DirectedRate(forward));
    return true;
}

bool QuickTimeMovieHandle::SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t) {
    if (first != 0 || second != 0) {
        RaiseError(ResourceSystemErrNotSupported);
        return false;
    }
    if ((m_media.controller != nullptr) == loop) {
        return true;
    }
    return loop ? MakeLoopingController() : DisposeLoopingController();
}

bool QuickTimeMovieHandle::MakeLoopingController() {
    const std::uint32_t time = GetTime(MediaTimeUnit::Native);
    const bool wasPlaying = IsPlaying();
    Size size;
    GetBox(size);
    if (size.width == 0 || size.height == 0) {
        RaiseError(QuickTimeMovieErrNoSize);
        return false;
    }
    const qt::Rect bounds{0, 0, static_cast<std::int16_t>(size.height),
                          static_cast<std::int16_t>(size.width)};
    m_media.controller = qt::NewMovieController(m_media.movie, &bounds, kHiddenControllerFlags);
    if (m_media.controller == nullptr) {
        RaiseError(QuickTimeMovieErrNewController);
        return false;
    }
    Stop();
    ControllerAct(m_media.controller, qt::mcActionSetLooping, 1);
    ControllerAct(m_media.controller, qt::mcActionSetKeysEnabled, 0);
    ControllerAct(m_media.controller, qt::mcActionSetFlags, kHiddenControllerSettings);
    SetTime(time, MediaTimeUnit::Native);
    if (wasPlaying) {
        Resume();
    }
    return true;
}

bool QuickTimeMovieHandle::DisposeLoopingController() {
    const std::uint32_t time = GetTime(MediaTimeUnit::Native);
    const bool wasPlaying = IsPlaying();
    Stop();
    ControllerAct(m_media.controller, qt::mcActionSetLooping, 0);
    qt::DisposeMovieController(m_media.controller);
    bool result = true;
    if (qt::GetMoviesError() != qt::noErr) {
        RaiseError(QuickTimeMovieErrDisposeController);
        result = false;
    }
    m_media.controller = nullptr;
    SetTime(time, MediaTimeUnit::Native);
    if (wasPlaying) {
        Resume();
    }
    return result;
}

bool QuickTimeMovieHandle::IsLooping() {
    return m_media.controller != nullptr;
}

bool QuickTimeMovieHandle::SetActive(bool active) {
    m_media.SetActive(active);
    return true;
}

bool QuickTimeMovieHandle::IsActive() {
    return m_media.IsActive();
}

Size& QuickTimeMovieHandle::GetBox(Size& out) {
    qt::Rect box{};
    qt::GetMovieBox(m_media.movie, &box);
    out = Size(box.right - box.left, box.bottom - box.top);
    return out;
}

std::uint32_t QuickTimeMovieHandle::GetControllerDepth() {
    return 0;
}

std::uint32_t QuickTimeMovieHandle::GetControllerGraphicValue() {
    return 0;
}

StandardPixelFormat QuickTimeMovieHandle::GetControllerPixelFormat() {
    return StandardPixelFormat::None;
}

bool QuickTimeMovieHandle::SetRealParameter(float) {
    RaiseError(ResourceSystemErrNotSupported);
    return false;
}

float QuickTimeMovieHandle::GetRealParameter() {
    RaiseError(ResourceSystemErrNotSupported);
    return 0.0f;
}

std::uint32_t QuickTimeMovieHandle::GetFrameCount() {
    return m_media.FrameCount();
}

std::uint32_t QuickTimeMovieHandle::GetDuration(MediaTimeUnit unit) {
    return m_media.FromNative(static_cast<std::uint32_t>(m_media.Duration()), unit);
}

bool QuickTimeMovieHandle::SetVolume(std::uint8_t volume) {
    m_media.SetVolume(volume);
    return true;
}

std::uint8_t QuickTimeMovieHandle::GetVolume() {
    return m_media.GetVolume();
}

bool QuickTimeMovieHandle::Insert(MovieHandle* source, QuickTimeMedia::Tracks tracks, std::uint32_t at,
                                  std::uint32_t sourceStart, std::uint32_t sourceDuration,
                                  MediaTimeUnit unit) {
    QuickTimeMovieHandle* quickTimeSource =
        source->GetEngine()->GetTypeId() == kQuickTimeMovieTypeId ? FromMovieHandle(source) : nullptr;
    if (quickTimeSource == nullptr) {
        RaiseError(QuickTimeMovieErrInsertForeign);
        return false;
    }
    if (IsPlaying() || quickTimeSource->IsPlaying()) {
        RaiseError(QuickTimeMovieErrInsertPlaying);
        return false;
    }
    const QuickTimeMedia& from = quickTimeSource->m_media;
    return m_media.InsertTracks(from, tracks, static_cast<qt::TimeValue>(m_media.ToNative(at, unit)),
                                static_cast<qt::TimeValue>(from.ToNative(sourceStart, unit)),
                                static_cast<qt::TimeValue>(from.ToNative(sourceDuration, unit)), kCodes);
}

bool QuickTimeMovieHandle::InsertSegment(MovieHandle* source, std::uint32_t at, std::uint32_t sourceStart,
                                         std::uint32_t sourceDuration, MediaTimeUnit unit) {
    return Insert(source, QuickTimeMedia::Tracks::All, at, sourceStart, sourceDuration, unit);
}

bool QuickTimeMovieHandle::InsertVisualSegment(MovieHandle* source, std::uint32_t at,
                                               std::uint32_t sourceStart, std::uint32_t sourceDuration,
                                               MediaTimeUnit unit) {
    return Insert(source, QuickTimeMedia::Tracks::Visual, at, sourceStart, sourceDuration, unit);
}

bool QuickTimeMovieHandle::InsertAudioSegment(MovieHandle* source, std::uint32_t at,
                                              std::uint32_t sourceStart, std::uint32_t sourceDuration,
                                              MediaTimeUnit unit) {
    return Insert(source, QuickTimeMedia::Tracks::Audible, at, sourceStart, sourceDuration, unit);
}

bool QuickTimeMovieHandle::AppendMovie(MovieHandle* source) {
    return InsertSegment(source, GetDuration(MediaTimeUnit::Native), 0,
                         source->GetDuration(MediaTimeUnit::Native), MediaTimeUnit::Native);
}

bool QuickTimeMovieHandle::AppendVisual(MovieHandle* source) {
    return InsertVisualSegment(source, GetDuration(MediaTimeUnit::Native), 0,
                               source->GetDuration(MediaTimeUnit::Native), MediaTimeUnit::Native);
}

bool QuickTimeMovieHandle::AppendAudio(MovieHandle* source) {
    return InsertAudioSegment(source, GetDuration(MediaTimeUnit::Native), 0,
                              source->GetDuration(MediaTimeUnit::Native), MediaTimeUnit::Native);
}

bool QuickTimeMovieHandle::IsStreamed() {
    return m_media.streamed;
}

bool QuickTimeMovieHandle::IsFileOpen() {
    return m_media.fileReference != 0;
}

bool QuickTimeMovieHandle::AttachController(MovieControllerHandle* controller) {
    if (!MovieHandle::AttachController(controller)) {
        return false;
    }
    m_media.SetActive(true);
    if (m_media.controller != nullptr) {
        ControllerAct(m_media.controller, qt::mcActionActivate, 0);
    }
    return true;
}

bool QuickTimeMovieHandle::DetachController() {
    if (m_media.controller != nullptr) {
        ControllerAct(m_media.controller, qt::mcActionDeactivate, 0);
    }
    m_media.SetActive(false);
    return MovieHandle::DetachController();
}

std::uint32_t QuickTimeMovieHandle::FromMovieTime(std::uint32_t native) {
    return m_media.FromMovieTime(native);
}

std::uint32_t QuickTimeMovieHandle::ToMovieTime(std::uint32_t milliseconds) {
    return m_media.ToMovieTime(milliseconds);
}

} // namespace Vemo
