// The graphic into which a movie controller draws its movie. It names the movie handle attached to it; an
// engine's graphic overrides the attachment to connect the movie's drawing to its pixels.
//
// Virtual operations are declared in their slot order, after the Graphic's.
#pragma once

#include "engines/graphics/Graphic.h"

namespace Vemo {

class MovieHandle;

class MovieControllerGraphic : public Graphic {
public:
    MovieControllerGraphic();
    ~MovieControllerGraphic() override;

    // Detaches a previous movie handle, keeps the new one; true.
    virtual bool AttachMovieHandle(MovieHandle* movieHandle);
    // Forgets the movie handle; true.
    virtual bool DetachMovieHandle();
    virtual MovieHandle* GetMovieHandle();

protected:
    MovieHandle* m_movieHandle = nullptr;
};

} // namespace Vemo
