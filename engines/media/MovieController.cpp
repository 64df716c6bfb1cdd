#include "engines/media/MovieController.h"

#include "engines/media/MediaFrontEnd.h"
#include "engines/media/Movie.h"
#include "engines/media/MovieControllerHandle.h"
#include "engines/media/MovieErrorCodes.h"
#include "engines/media/MovieHandle.h"
#include "engines/media/MovieSearchCriterion.h"
#include "engines/media/MovieSystem.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"

namespace Vemo {

MovieController::MovieController() = default;

MovieController::~MovieController() {
    if (m_movie != nullptr) {
        Movie* movie = m_movie;
        UnbindMovie();
        if (movie->m_controller == this) {
            movie->m_controller = nullptr;
        }
        m_movie = nullptr;
    }
    ReleaseHandle();
}

void MovieController::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_controllerHandle = dynamic_cast<MovieControllerHandle*>(handle);
}

bool MovieController::OpenThrough(MovieSearchCriterion& criterion, std::uint32_t engineId) {
    ResourceHandle* handle = OpenFrontEnd(*this, GetMovieSystem(), criterion, engineId);
    if (handle == nullptr) {
        return false;
    }
    SetHandle(handle);
    return true;
}

bool MovieController::Open(Movie* movie, std::uint32_t graphicValue1) {
    if (movie == nullptr) {
        movie = m_movie;
    }
    if (movie == nullptr || movie->GetMovieHandle() == nullptr) {
        RaiseError(MovieSystemErrNoMovie);
        return false;
    }
    MovieSearchCriterion criterion(MovieSearchCriterion::kController);
    criterion.m_movieHandle = movie->GetMovieHandle();
    criterion.m_graphicValue1 = &graphicValue1;
    return OpenThrough(criterion, kMovieTypeId);
}

bool MovieController::Open(const Size& size, std::uint32_t depth, std::uint32_t graphicValue1,
                           std::uint32_t graphicValue2, std::uint32_t engineId) {
    MovieSearchCriterion criterion(MovieSearchCriterion::kController);
    criterion.m_size = &size;
    criterion.m_depth = &depth;
    criterion.m_graphicValue1 = &graphicValue1;
    criterion.m_graphicValue2 = &graphicValue2;
    return OpenThrough(criterion, engineId);
}

bool MovieController::Open(const Size& size, StandardPixelFormat format, std::uint32_t graphicValue1,
                           std::uint32_t graphicValue2, std::uint32_t engineId) {
    const auto pixelFormat = static_cast<std::uint32_t>(format);
    MovieSearchCriterion criterion(MovieSearchCriterion::kController);
    criterion.m_size = &size;
    criterion.m_pixelFormat = &pixelFormat;
    criterion.m_graphicValue1 = &graphicValue1;
    criterion.m_graphicValue2 = &graphicValue2;
    return OpenThrough(criterion, engineId);
}

bool MovieController::Open(Viewport* viewport, std::uint32_t engineId) {
    MovieSearchCriterion criterion(MovieSearchCriterion::kController);
    criterion.m_viewport = viewport;
    return OpenThrough(criterion, engineId);
}

bool MovieController::BindMovie(Movie* movie, bool preroll) {
    if (m_movie != nullptr) {
        UnbindMovie();
    }
    if (movie == nullptr || movie->GetMovieHandle() == nullptr) {
        RaiseError(MovieSystemErrNoMovie);
        return false;
    }
    if (movie->m_controller != nullptr) {
        RaiseError(MovieSystemErrMovieBound);
        return false;
    }
    MovieHandle* movieHandle = movie->GetMovieHandle();
    if (m_controllerHandle == nullptr || !m_controllerHandle->AttachMovieHandle(movieHandle)) {
        RaiseError(MovieSystemErrControllerRefusedMovie);
        return false;
    }
    if (!movieHandle->AttachController(m_controllerHandle)) {
        RaiseError(MovieSystemErrMovieRefusedController);
        m_controllerHandle->DetachMovieHandle();
        return false;
    }
    m_movie = movie;
    movie->m_controller = this;
    if (preroll && !Preroll(true, 0)) {
        RaiseError(MovieSystemErrPrerollFailed);
        return false;
    }
    Size size;
    movie->GetBox(size);
    if (!SetBox(Rect(0, 0, size.width, size.height))) {
        RaiseError(MovieSystemErrSetBoxFailed);
        return false;
    }
    return true;
}

bool MovieController::UnbindMovie() {
    if (m_movie == nullptr) {
        return true;
    }
    MovieHandle* movieHandle = m_movie->GetMovieHandle();
    if (movieHandle == nullptr) {
        RaiseError(MovieSystemErrNoBoundMovie);
        return false;
    }
    if (m_movie->m_controller != this) {
        RaiseError(MovieSystemErrNotBoundHere);
        return false;
    }
    m_movie->m_controller = nullptr;
    m_movie = nullptr;
    const bool detached = movieHandle->DetachController();
    if (!detached) {
        RaiseError(MovieSystemErrDetachControllerFailed);
    }
    if (m_controllerHandle != nullptr && !m_controllerHandle->DetachMovieHandle()) {
        RaiseError(MovieSystemErrDetachMovieFailed);
        return false;
    }
    return detached;
}

MovieHandle* MovieController::BoundHandle() const {
    MovieHandle* handle = m_movie != nullptr ? m_movie->GetMovieHandle() : nullptr;
    if (handle == nullptr) {
        RaiseError(MovieSystemErrNoBoundMovie);
    }
    return handle;
}

bool MovieController::Start(bool forward) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->Start(forward);
}

bool MovieController::Stop() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->Stop();
}

bool MovieController::StopAndRewind(bool rewind) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->StopAndRewind(rewind);
}

bool MovieController::Resume() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->Resume();
}

bool MovieController::StepForward() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->StepForward();
}

bool MovieController::StepBackward() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->StepBackward();
}

bool MovieController::Rewind() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->Rewind();
}

bool MovieController::GoToEnd() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->GoToEnd();
}

bool MovieController::SetTime(std::uint32_t time, MediaTimeUnit unit) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->SetTime(time, unit);
}

std::uint32_t MovieController::GetTime(MediaTimeUnit unit) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr ? handle->GetTime(unit) : 0;
}

std::uint32_t MovieController::GetNextFrameTime(std::uint32_t time, MediaTimeUnit unit) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr ? handle->GetNextFrameTime(time, unit) : 0;
}

std::uint32_t MovieController::GetPreviousFrameTime(std::uint32_t time, MediaTimeUnit unit) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr ? handle->GetPreviousFrameTime(time, unit) : 0;
}

bool MovieController::IsAtStart() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->IsAtStart();
}

bool MovieController::IsAtEnd() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->IsAtEnd();
}

bool MovieController::IsPlaying() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->IsPlaying();
}

void MovieController::Task() {
    if (m_movie != nullptr && m_movie->GetMovieHandle() != nullptr) {
        m_movie->GetMovieHandle()->Task();
    }
}

bool MovieController::Preroll(bool forward, std::uint32_t time) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->Preroll(forward, time);
}

bool MovieController::SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t third) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->SetLooping(loop, first, second, third);
}

bool MovieController::IsLooping() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->IsLooping();
}

bool MovieController::SetActive(bool active) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->SetActive(active);
}

bool MovieController::IsActive() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->IsActive();
}

bool MovieController::SetRealParameter(float value) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->SetRealParameter(value);
}

float MovieController::GetRealParameter() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr ? handle->GetRealParameter() : 0.0f;
}

bool MovieController::SetVolume(std::uint8_t volume) {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr && handle->SetVolume(volume);
}

std::uint8_t MovieController::GetVolume() {
    MovieHandle* handle = BoundHandle();
    return handle != nullptr ? handle->GetVolume() : 0;
}

Rect& MovieController::GetBox(Rect& out) {
    out = Rect();
    if (m_controllerHandle == nullptr) {
        ReportNoHandle("Movie");
        return out;
    }
    if (BoundHandle() == nullptr) {
        return out;
    }
    return m_controllerHandle->GetBox(out);
}

bool MovieController::SetBox(const Rect& box) {
    if (m_controllerHandle == nullptr) {
        ReportNoHandle("Movie");
        return false;
    }
    return BoundHandle() != nullptr && m_controllerHandle->SetBox(box);
}

} // namespace Vemo
