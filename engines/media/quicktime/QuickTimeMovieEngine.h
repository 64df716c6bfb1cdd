// The movie engine of the system: movies read from files, created empty or as new files, and played through
// QuickTime, and controllers whose graphic is an offscreen QuickTime world or a viewport's window. QuickTime
// must have been started by the QuickTime engine hook.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/media/MovieEngine.h"

namespace Vemo {

class QuickTimeMovieEngine : public MovieEngine {
public:
    QuickTimeMovieEngine();
    ~QuickTimeMovieEngine() override;

    using MovieEngine::CreateMovie;
    using MovieEngine::OpenMovie;

    // The path's text as a file spec (QuickTimeMovieErrPath), the file opened for reading
    // (...OpenFile) and its movie read (...ReadMovie), read into memory unless streamed (...Memory), and the
    // file closed unless it is to be kept open. The movie is not made active: binding it to a controller does
    // that. A failed open leaves nothing open.
    MovieHandle* OpenMovie(const Path& path, bool keepFileOpen, bool streamed) override;
    // A new, empty movie without a file (QuickTimeMovieErrNewMovie), streamed.
    MovieHandle* CreateMovie() override;
    // A new movie file at the path, replacing one that is there (QuickTimeMovieErrPath, ...CreateFile); the
    // file stays open and the movie counts as streamed.
    MovieHandle* CreateMovie(const Path& path) override;
    // A controller over an offscreen of the size and format; MovieEngineErrGraphicBySize when none is made.
    MovieControllerHandle* CreateController(const Size& size, StandardPixelFormat format,
                                            std::uint32_t graphicValue1,
                                            std::uint32_t graphicValue2) override;
    // As above by format index, without palette.
    MovieControllerHandle* CreateController(const Size& size, std::uint32_t depth,
                                            std::uint32_t graphicValue1,
                                            std::uint32_t graphicValue2) override;
    // A controller drawing into the viewport's window; MovieEngineErrGraphicOnViewport when none is made.
    MovieControllerHandle* CreateController(Viewport* viewport) override;
    // Stops and rewinds a playing movie, ends its looping, lets its memory go (QuickTimeMovieErrMemory),
    // closes its file (...CloseFile) and disposes it (...DisposeMovie), every step run; then deletes the
    // handle. False when any step failed.
    bool DestroyMovieHandle(MovieHandle* handle) override;

    // QuickTimeMovieErrNoHook while no QuickTime engine hook is installed. Otherwise runs the movie engine's
    // factory on the given engine, or on a new "QuickTime Movie Engine".
    static QuickTimeMovieEngine* Create(QuickTimeMovieEngine* engine = nullptr);
};

} // namespace Vemo
