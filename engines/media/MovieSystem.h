// The movie family's system, named "Movie System". It checks a movie search criterion before the generic
// open and keeps the list of every movie handle attached through it.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/media/MediaHandleList.h"
#include "resources/ResourceSystem.h"

namespace Vemo {

class MovieHandle;

class MovieSystem : public ResourceSystem {
public:
    MovieSystem();

    // A controller criterion must name a viewport, a movie handle or a size
    // (MovieSystemErrNoControllerTarget); a movie criterion must give its three flags
    // (MovieSystemErrMissingFlags) and a File or a Path unless it asks to create (MovieSystemErrNoSource).
    // Then the generic open.
    ResourceHandle* Open(ResourceSearchCriterion* criterion, Resource* resource) override;
    ~MovieSystem() override;
    // A movie handle joins the system's movie list.
    bool AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                      ResourceHandle* handle) override;
    // A movie handle left without references leaves the list.
    bool DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) override;

    // Runs the system base's factory on the given system, or on a new "Movie System".
    static MovieSystem* Create(MovieSystem* system = nullptr);

    const BasicList<MovieHandle*>& GetMovieHandles() const { return m_movieHandles.Handles(); }

private:
    MediaHandleList<MovieHandle> m_movieHandles;
};

} // namespace Vemo
