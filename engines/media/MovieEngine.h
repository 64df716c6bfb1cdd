// The base of the movie engines, named "Movie Engine". It turns a movie search criterion into the right
// engine operation (open, create, or make a controller), keeps the list of its movie handles, and has a
// default for every operation: bare movie handles and controllers over plain graphics, which an engine
// overrides with its own.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/media/MediaHandleList.h"
#include "foundation/Rect.h"
#include "resources/ResourceEngine.h"

#include <cstdint>

namespace Vemo {

class File;
class MovieControllerHandle;
class MovieHandle;
class MovieSearchCriterion;
class Path;
class Viewport;

class MovieEngine : public ResourceEngine {
public:
    MovieEngine();

    // A controller for a controller criterion (MovieEngineErrNoController when none is made); for a movie
    // criterion a new movie when it asks to create (MovieEngineErrCreateFailed), else the movie of its File
    // or Path, kept open or not and streamed unless told otherwise (MovieEngineErrOpenFailed;
    // MovieSystemErrNoSource with neither).
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // Leaves a handle that is still referenced. A movie handle goes to DestroyMovieHandle
    // (MovieEngineErrDestroyMovieFailed), a controller handle to DestroyControllerHandle
    // (MovieEngineErrDestroyControllerFailed); a handle still attached to its counterpart is detached from it
    // first, so that neither is left naming the other.
    bool DestroyHandle(ResourceHandle* handle, Resource* resource) override;
    ~MovieEngine() override;
    // A movie handle joins the engine's movie list.
    bool AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                      ResourceHandle* handle) override;
    // An unreferenced movie handle leaves the list.
    bool DetachHandle(ResourceHandle* handle, Resource* resource) override;

    // The File's path, then the Path form.
    virtual MovieHandle* OpenMovie(const File& file, bool keepFileOpen, bool streamed);
    // A bare movie handle keeping the path.
    virtual MovieHandle* OpenMovie(const Path& path, bool keepFileOpen, bool streamed);
    // A bare movie handle with an empty path.
    virtual MovieHandle* CreateMovie();
    virtual MovieHandle* CreateMovie(const File& file);
    virtual MovieHandle* CreateMovie(const Path& path);
    // A controller over a new graphic of the size and format (any graphic engine; the two values are its
    // placement and colour tag). MovieEngineErrGraphicBySize when the graphic does not open.
    virtual MovieControllerHandle* CreateController(const Size& size, StandardPixelFormat format,
                                                    std::uint32_t graphicValue1, std::uint32_t graphicValue2);
    // As above, by depth code with an empty palette reference.
    virtual MovieControllerHandle* CreateController(const Size& size, std::uint32_t depth,
                                                    std::uint32_t graphicValue1, std::uint32_t graphicValue2);
    // A controller over a graphic on the viewport's first back buffer; MovieEngineErrGraphicOnViewport.
    virtual MovieControllerHandle* CreateController(Viewport* viewport);
    // Deletes the handle; true.
    virtual bool DestroyMovieHandle(MovieHandle* handle);
    // Deletes the handle's graphic, then the handle; true.
    virtual bool DestroyControllerHandle(MovieControllerHandle* handle);

    // Runs the engine base's factory on the given engine, or on a new "Movie Engine" of the movie family.
    static MovieEngine* Create(MovieEngine* engine = nullptr);

    const BasicList<MovieHandle*>& GetMovieHandles() const { return m_movieHandles.Handles(); }

protected:
    MovieEngine(std::uint32_t typeId, const String& name);

private:
    MovieControllerHandle* CreateControllerFor(const MovieSearchCriterion& criterion);
    MovieHandle* CreateMovieFor(const MovieSearchCriterion& criterion);
    MovieHandle* OpenMovieFor(const MovieSearchCriterion& criterion);

    MediaHandleList<MovieHandle> m_movieHandles;
};

} // namespace Vemo
