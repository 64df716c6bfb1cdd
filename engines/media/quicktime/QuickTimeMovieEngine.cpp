#include "engines/media/quicktime/QuickTimeMovieEngine.h"

#include "engines/media/MovieErrorCodes.h"
#include "engines/media/quicktime/QuickTimeEngineHook.h"
#include "engines/media/quicktime/QuickTimeErrorCodes.h"
#include "engines/media/quicktime/QuickTimeMovieControllerGraphic.h"
#include "engines/media/quicktime/QuickTimeMovieControllerHandle.h"
#include "engines/media/quicktime/QuickTimeMovieHandle.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"

#include <memory>

namespace Vemo {

namespace {

// The controller handle over the graphic once made, else the graphic deleted and the code reported.
template <class Make>
MovieControllerHandle* ControllerOver(ResourceEngine* engine, ErrorCode failure, Make make) {
    auto graphic = std::make_unique<QuickTimeMovieControllerGraphic>();
    if (!make(*graphic)) {
        RaiseError(failure);
        return nullptr;
    }
    return new QuickTimeMovieControllerHandle(engine, graphic.release());
}

} // namespace

QuickTimeMovieEngine::QuickTimeMovieEngine() : MovieEngine(kQuickTimeMovieTypeId, "QuickTime Movie Engine") {}

QuickTimeMovieEngine::~QuickTimeMovieEngine() = default;

QuickTimeMovieEngine* QuickTimeMovieEngine::Create(QuickTimeMovieEngine* engine) {
    if (QuickTimeEngineHook::Installed() == nullptr) {
        RaiseError(QuickTimeMovieErrNoHook);
        return nullptr;
    }
    return CreateThrough(
        engine, [] { return new QuickTimeMovieEngine; },
        [](QuickTimeMovieEngine* made) { return MovieEngine::Create(made); });
}

MovieHandle* QuickTimeMovieEngine::OpenMovie(const Path& path, bool keepFileOpen, bool streamed) {
    const QuickTimeMediaCodes& codes = QuickTimeMovieHandle::kCodes;
    auto handle = std::make_unique<QuickTimeMovieHandle>(this);
    QuickTimeMedia& media = handle->m_media;
    qt::FSSpec spec{};
    if (!media.MakeFileSpec(path, spec, codes) || !media.OpenFile(spec, codes)) {
        return nullptr;
    }
    if (!media.Load(streamed, codes)) {
        media.Discard();
        return nullptr;
    }
    media.CloseFileUnlessKept(keepFileOpen);
    handle->m_path = path;
    return handle.release();
}

MovieHandle* QuickTimeMovieEngine::CreateMovie() {
    auto handle = std::make_unique<QuickTimeMovieHandle>(this);
    if (!handle->m_media.CreateEmpty(QuickTimeMovieHandle::kCodes)) {
        return nullptr;
    }
    handle->m_media.streamed = true;
    return handle.release();
}

MovieHandle* QuickTimeMovieEngine::CreateMovie(const Path& path) {
    auto handle = std::make_unique<QuickTimeMovieHandle>(this);
    if (!handle->m_media.CreateFile(path, QuickTimeMovieHandle::kCodes)) {
        return nullptr;
    }
    handle->m_media.streamed = true;
    handle->m_path = path;
    return handle.release();
}

MovieControllerHandle* QuickTimeMovieEngine::CreateController(const Size& size, StandardPixelFormat format,
                                                              std::uint32_t graphicValue1,
                                                              std::uint32_t graphicValue2) {
    return ControllerOver(this, MovieEngineErrGraphicBySize, [&](QuickTimeMovieControllerGraphic& graphic) {
        return graphic.CreateOffscreenWithFormat(size.width, size.height, PixelFormat(format), graphicValue1,
                                                 graphicValue2);
    });
}

MovieControllerHandle* QuickTimeMovieEngine::CreateController(const Size& size, std::uint32_t depth,
                                                              std::uint32_t graphicValue1,
                                                              std::uint32_t graphicValue2) {
    return ControllerOver(this, MovieEngineErrGraphicBySize, [&](QuickTimeMovieControllerGraphic& graphic) {
        return graphic.CreateOffscreen(size.width, size.height, depth, graphicValue1, PaletteReference(),
                                       graphicValue2);
    });
}

MovieControllerHandle* QuickTimeMovieEngine::CreateController(Viewport* viewport) {
    return ControllerOver(
        this, MovieEngineErrGraphicOnViewport,
        [&](QuickTimeMovieControllerGraphic& graphic) { return graphic.OpenOnViewport(viewport, 1, 0); });
}

bool QuickTimeMovieEngine::DestroyMovieHandle(MovieHandle* handle) {
    QuickTimeMovieHandle* movie = QuickTimeMovieHandle::FromMovieHandle(handle);
    if (movie == nullptr) {
        return MovieEngine::DestroyMovieHandle(handle);
    }
    if (movie->IsPlaying()) {
        movie->StopAndRewind(true);
    }
    if (movie->IsLooping()) {
        movie->SetLooping(false, 0, 0, 1);
    }
    const bool released = movie->m_media.Release(QuickTimeMovieHandle::kCodes);
    delete movie;
    return released;
}

} // namespace Vemo
