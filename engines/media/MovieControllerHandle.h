// The handle behind a movie controller: the movie handle it controls and the graphic the movie draws into,
// which the handle owns and deletes with itself.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "foundation/Rect.h"
#include "resources/ResourceHandle.h"

#include <memory>

namespace Vemo {

class MovieControllerGraphic;
class MovieHandle;

class MovieControllerHandle : public ResourceHandle {
public:
    MovieControllerHandle(ResourceEngine* engine, MovieControllerGraphic* graphic);
    ~MovieControllerHandle() override;

    // The movie handle must come from an engine of this handle's type id (else
    // MovieSystemErrForeignMovieHandle) and be taken by the graphic (else MovieSystemErrGraphicRefusedMovie);
    // a previous one is detached first.
    virtual bool AttachMovieHandle(MovieHandle* movieHandle);
    // Forgets the movie handle and detaches it from the graphic; the graphic's result.
    virtual bool DetachMovieHandle();
    // Where the movie shows; all edges 0 in the base, also written to out.
    virtual Rect& GetBox(Rect& out);
    // False in the base.
    virtual bool SetBox(const Rect& box);
    virtual MovieHandle* GetMovieHandle();

    MovieControllerGraphic* GetGraphic() const { return m_graphic.get(); }
    // Deletes the graphic before the handle goes.
    void DeleteGraphic();

protected:
    MovieHandle* m_movieHandle = nullptr;
    std::unique_ptr<MovieControllerGraphic> m_graphic;
};

} // namespace Vemo
