#include "engines/media/MovieEngine.h"

#include "engines/media/MovieControllerGraphic.h"
#include "engines/media/MovieControllerHandle.h"
#include "engines/media/MovieErrorCodes.h"
#include "engines/media/MovieHandle.h"
#include "engines/media/MovieSearchCriterion.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/storage/Path.h"

#include <memory>

namespace Vemo {

namespace {

template <class T>
T ValueOr(const T* given, T fallback) {
    return given != nullptr ? *given : fallback;
}

} // namespace

MovieEngine::MovieEngine() : MovieEngine(kMovieTypeId, "Movie Engine") {}

MovieEngine::MovieEngine(std::uint32_t typeId, const String& name) : ResourceEngine(typeId, name) {}

MovieEngine::~MovieEngine() = default;

MovieEngine* MovieEngine::Create(MovieEngine* engine) {
    return CreateThrough(
        engine, [] { return new MovieEngine; },
        [](MovieEngine* made) { return ResourceEngine::Create(made); });
}

ResourceHandle* MovieEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* movieCriterion = dynamic_cast<MovieSearchCriterion*>(criterion);
    if (movieCriterion == nullptr) {
        return nullptr;
    }
    if (movieCriterion->m_kind == MovieSearchCriterion::kController) {
        return CreateControllerFor(*movieCriterion);
    }
    if (ValueOr(movieCriterion->m_create, false)) {
        return CreateMovieFor(*movieCriterion);
    }
    return OpenMovieFor(*movieCriterion);
}

MovieControllerHandle* MovieEngine::CreateControllerFor(const MovieSearchCriterion& criterion) {
    MovieControllerHandle* handle = nullptr;
    if (criterion.m_viewport != nullptr) {
        handle = CreateController(criterion.m_viewport);
    } else {
        MovieHandle* movie = criterion.m_movieHandle;
        Size size;
        if (criterion.m_size != nullptr) {
            size = *criterion.m_size;
        } else if (movie != nullptr) {
            movie->GetBox(size);
        }
        const auto format = static_cast<std::uint32_t>(movie != nullptr ? movie->GetControllerPixelFormat()
                                                                        : StandardPixelFormat::None);
        const std::uint32_t pixelFormat = ValueOr(criterion.m_pixelFormat, format);
        const std::uint32_t graphicValue1 = ValueOr(criterion.m_graphicValue1, 0u);
        const std::uint32_t graphicValue2 =
            ValueOr(criterion.m_graphicValue2, movie != nullptr ? movie->GetControllerGraphicValue() : 0u);
        if (criterion.m_depth != nullptr) {
            handle = CreateController(size, *criterion.m_depth, graphicValue1, graphicValue2);
        } else {
            handle = CreateController(size, static_cast<StandardPixelFormat>(pixelFormat), graphicValue1,
                                      graphicValue2);
        }
    }
    if (handle == nullptr) {
        RaiseError(MovieEngineErrNoController);
    }
    return handle;
}

MovieHandle* MovieEngine::CreateMovieFor(const MovieSearchCriterion& criterion) {
    MovieHandle* handle = nullptr;
    if (criterion.m_file != nullptr) {
        handle = CreateMovie(*criterion.m_file);
    } else if (criterion.m_path != nullptr) {
        handle = CreateMovie(*criterion.m_path);
    } else {
        handle = CreateMovie();
    }
    if (handle == nullptr) {
        RaiseError(MovieEngineErrCreateFailed);
    }
    return handle;
}

MovieHandle* MovieEngine::OpenMovieFor(const MovieSearchCriterion& criterion) {
    const bool keepFileOpen = ValueOr(criterion.m_keepFileOpen, false);
    const bool streamed = ValueOr(criterion.m_streamed, true);
    MovieHandle* handle = nullptr;
    if (criterion.m_file != nullptr) {
        handle = OpenMovie(*criterion.m_file, keepFileOpen, streamed);
    } else if (criterion.m_path != nullptr) {
        handle = OpenMovie(*criterion.m_path, keepFileOpen, streamed);
    } else {
        RaiseError(MovieSystemErrNoSource);
        return nullptr;
    }
    if (handle == nullptr) {
        RaiseError(MovieEngineErrOpenFailed);
    }
    return handle;
}

bool MovieEngine::DestroyHandle(ResourceHandle* handle, Resource* resource) {
    if (handle->GetReferenceCount() != 0) {
        return true;
    }
    if (MovieHandle* movie = MovieHandle::FromResourceHandle(handle)) {
        if (MovieControllerHandle* controller = movie->GetController()) {
            if (controller->GetMovieHandle() == movie) {
                controller->DetachMovieHandle();
            }
            movie->DetachController();
        }
        if (!DestroyMovieHandle(movie)) {
            RaiseError(MovieEngineErrDestroyMovieFailed);
            return false;
        }
        return true;
    }
    auto* controller = dynamic_cast<MovieControllerHandle*>(handle);
    if (controller == nullptr) {
        return ResourceEngine::DestroyHandle(handle, resource);
    }
    if (MovieHandle* movie = controller->GetMovieHandle()) {
        if (movie->GetController() == controller) {
            movie->DetachController();
        }
        controller->DetachMovieHandle();
    }
    if (!DestroyControllerHandle(controller)) {
        RaiseError(MovieEngineErrDestroyControllerFailed);
        return false;
    }
    return true;
}

bool MovieEngine::AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                               ResourceHandle* handle) {
    if (!ResourceEngine::AttachHandle(criterion, resource, handle)) {
        return false;
    }
    m_movieHandles.Add(handle);
    return true;
}

bool MovieEngine::DetachHandle(ResourceHandle* handle, Resource* resource) {
    if (!ResourceEngine::DetachHandle(handle, resource)) {
        return false;
    }
    m_movieHandles.RemoveIfUnreferenced(handle);
    return true;
}

MovieHandle* MovieEngine::OpenMovie(const File& file, bool keepFileOpen, bool streamed) {
    Path path;
    path.Assign(file);
    return OpenMovie(path, keepFileOpen, streamed);
}

MovieHandle* MovieEngine::OpenMovie(const Path& path, bool, bool) {
    return new MovieHandle(this, path);
}

MovieHandle* MovieEngine::CreateMovie() {
    return new MovieHandle(this);
}

MovieHandle* MovieEngine::CreateMovie(const File& file) {
    Path path;
    path.Assign(file);
    return CreateMovie(path);
}

MovieHandle* MovieEngine::CreateMovie(const Path& path) {
    return new MovieHandle(this, path);
}

MovieControllerHandle* MovieEngine::CreateController(const Size& size, StandardPixelFormat format,
                                                     std::uint32_t graphicValue1,
                                                     std::uint32_t graphicValue2) {
    auto graphic = std::make_unique<MovieControllerGraphic>();
    const PixelFormat pixelFormat(format);
    if (!graphic->Open(size.width, size.height, &pixelFormat,
                       static_cast<GraphicSystem::Memory>(graphicValue1), graphicValue2, kGraphicTypeId)) {
        RaiseError(MovieEngineErrGraphicBySize);
        return nullptr;
    }
    return new MovieControllerHandle(this, graphic.release());
}

MovieControllerHandle* MovieEngine::CreateController(const Size& size, std::uint32_t depth,
                                                     std::uint32_t graphicValue1,
                                                     std::uint32_t graphicValue2) {
    auto graphic = std::make_unique<MovieControllerGraphic>();
    if (!graphic->Open(size.width, size.height, depth, static_cast<GraphicSystem::Memory>(graphicValue1),
                       PaletteReference(), graphicValue2, kGraphicTypeId)) {
        RaiseError(MovieEngineErrGraphicBySize);
        return nullptr;
    }
    return new MovieControllerHandle(this, graphic.release());
}

MovieControllerHandle* MovieEngine::CreateController(Viewport* viewport) {
    auto graphic = std::make_unique<MovieControllerGraphic>();
    if (!graphic->OpenOnViewport(viewport, 1, 0)) {
        RaiseError(MovieEngineErrGraphicOnViewport);
        return nullptr;
    }
    return new MovieControllerHandle(this, graphic.release());
}

bool MovieEngine::DestroyMovieHandle(MovieHandle* handle) {
    delete handle;
    return true;
}

bool MovieEngine::DestroyControllerHandle(MovieControllerHandle* handle) {
    handle->DeleteGraphic();
    delete handle;
    return true;
}

} // namespace Vemo
