#include "engines/media/Movie.h"

#include "engines/media/MediaFrontEnd.h"
#include "engines/media/MovieController.h"
#include "engines/media/MovieHandle.h"
#include "engines/media/MovieSearchCriterion.h"
#include "engines/media/MovieSystem.h"
#include "resources/SystemAccessors.h"
#include "resources/storage/Path.h"

namespace Vemo {

namespace {

constexpr const char* kName = "Movie";

} // namespace

Movie::Movie() = default;

Movie::~Movie() {
    if (m_controller != nullptr) {
        MovieController* controller = m_controller;
        controller->UnbindMovie();
        if (controller->m_movie == this) {
            controller->m_movie = nullptr;
        }
        m_controller = nullptr;
    }
    ReleaseHandle();
}

void Movie::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_movieHandle = MovieHandle::FromResourceHandle(handle);
}

bool Movie::OpenThrough(const File* file, const Path* path, bool create, bool keepFileOpen, bool streamed,
                        std::uint32_t engineId) {
    MovieSearchCriterion criterion(MovieSearchCriterion::kMovie);
    criterion.m_file = file;
    criterion.m_path = path;
    criterion.m_create = &create;
    criterion.m_keepFileOpen = &keepFileOpen;
    criterion.m_streamed = &streamed;
    ResourceHandle* handle = OpenFrontEnd(*this, GetMovieSystem(), criterion, engineId);
    if (handle == nullptr) {
        return false;
    }
    SetHandle(handle);
    return true;
}

bool Movie::Open(const Path& path, bool keepFileOpen, bool streamed, std::uint32_t engineId) {
    return OpenThrough(nullptr, &path, false, keepFileOpen, streamed, engineId);
}

bool Movie::Open(const File& file, bool keepFileOpen, bool streamed, std::uint32_t engineId) {
    return OpenThrough(&file, nullptr, false, keepFileOpen, streamed, engineId);
}

bool Movie::Create(std::uint32_t engineId) {
    return OpenThrough(nullptr, nullptr, true, true, true, engineId);
}

bool Movie::Create(const Path& path, std::uint32_t engineId) {
    return OpenThrough(nullptr, &path, true, true, true, engineId);
}

bool Movie::Create(const File& file, std::uint32_t engineId) {
    return OpenThrough(&file, nullptr, true, true, true, engineId);
}

MovieHandle* Movie::Handle() const {
    if (m_movieHandle == nullptr) {
        ReportNoHandle(kName);
    }
    return m_movieHandle;
}

MovieHandle* Movie::HandleWithSource(const Movie& source, MovieHandle*& sourceHandle) const {
    sourceHandle = source.m_movieHandle;
    if (m_movieHandle == nullptr || sourceHandle == nullptr) {
        ReportNoHandle(kName);
        return nullptr;
    }
    return m_movieHandle;
}

void Movie::Task() {
    if (MovieHandle* handle = Handle()) {
        handle->Task();
    }
}

Size& Movie::GetBox(Size& out) {
    MovieHandle* handle = Handle();
    if (handle == nullptr) {
        out = Size(0, 0);
        return out;
    }
    return handle->GetBox(out);
}

std::uint32_t Movie::GetControllerDepth() {
    MovieHandle* handle = Handle();
    return handle != nullptr ? handle->GetControllerDepth() : 0;
}

std::uint32_t Movie::GetControllerGraphicValue() {
    MovieHandle* handle = Handle();
    return handle != nullptr ? handle->GetControllerGraphicValue() : 0;
}

StandardPixelFormat Movie::GetControllerPixelFormat() {
    MovieHandle* handle = Handle();
    return handle != nullptr ? handle->GetControllerPixelFormat() : StandardPixelFormat::None;
}

bool Movie::SetRealParameter(float value) {
    MovieHandle* handle = Handle();
    return handle != nullptr && handle->SetRealParameter(value);
}

float Movie::GetRealParameter() {
    MovieHandle* handle = Handle();
    return handle != nullptr ? handle->GetRealParameter() : 0.0f;
}

std::uint32_t Movie::GetFrameCount() {
    MovieHandle* handle = Handle();
    return handle != nullptr ? handle->GetFrameCount() : 0;
}

std::uint32_t Movie::GetDuration(MediaTimeUnit unit) {
    MovieHandle* handle = Handle();
    return handle != nullptr ? handle->GetDuration(unit) : 0;
}

bool Movie::SetVolume(std::uint8_t volume) {
    MovieHandle* handle = Handle();
    return handle != nullptr && handle->SetVolume(volume);
}

std::uint8_t Movie::GetVolume() {
    MovieHandle* handle = Handle();
    return handle != nullptr ? handle->GetVolume() : 0;
}

bool Movie::InsertSegment(Movie& source, std::uint32_t at, std::uint32_t sourceStart,
                          std::uint32_t sourceDuration, MediaTimeUnit unit) {
    MovieHandle* sourceHandle = nullptr;
    MovieHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr && handle->InsertSegment(sourceHandle, at, sourceStart, sourceDuration, unit);
}

bool Movie::InsertVisualSegment(Movie& source, std::uint32_t at, std::uint32_t sourceStart,
                                std::uint32_t sourceDuration, MediaTimeUnit unit) {
    MovieHandle* sourceHandle = nullptr;
    MovieHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr &&
           handle->InsertVisualSegment(sourceHandle, at, sourceStart, sourceDuration, unit);
}

bool Movie::InsertAudioSegment(Movie& source, std::uint32_t at, std::uint32_t sourceStart,
                               std::uint32_t sourceDuration, MediaTimeUnit unit) {
    MovieHandle* sourceHandle = nullptr;
    MovieHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr &&
           handle->InsertAudioSegment(sourceHandle, at, sourceStart, sourceDuration, unit);
}

bool Movie::AppendMovie(Movie& source) {
    MovieHandle* sourceHandle = nullptr;
    MovieHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr && handle->AppendMovie(sourceHandle);
}

bool Movie::AppendVisual(Movie& source) {
    MovieHandle* sourceHandle = nullptr;
    MovieHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr && handle->AppendVisual(sourceHandle);
}

bool Movie::AppendAudio(Movie& source) {
    MovieHandle* sourceHandle = nullptr;
    MovieHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr && handle->AppendAudio(sourceHandle);
}

bool Movie::IsStreamed() {
    MovieHandle* handle = Handle();
    return handle != nullptr && handle->IsStreamed();
}

bool Movie::IsFileOpen() {
    MovieHandle* handle = Handle();
    return handle != nullptr && handle->IsFileOpen();
}

bool Movie::GetPath(Path& out) {
    MovieHandle* handle = Handle();
    return handle != nullptr && handle->GetPath(out);
}

MovieController* Movie::GetController() {
    return m_controller;
}

} // namespace Vemo
