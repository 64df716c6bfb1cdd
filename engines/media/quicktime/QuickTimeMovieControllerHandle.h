// A controller of the QuickTime movie engine: its box is the attached movie's box (or, while the movie loops,
// its controller's bounds), in the coordinates of the graphic the movie draws into.
#pragma once

#include "engines/media/MovieControllerHandle.h"

namespace Vemo {

class QuickTimeMovieControllerGraphic;

class QuickTimeMovieControllerHandle : public MovieControllerHandle {
public:
    QuickTimeMovieControllerHandle(ResourceEngine* engine, QuickTimeMovieControllerGraphic* graphic);
    ~QuickTimeMovieControllerHandle() override;

    // All edges 0 without a movie handle, and when the looping controller does not give its bounds.
    Rect& GetBox(Rect& out) override;
    // False without a movie handle.
    bool SetBox(const Rect& box) override;
};

} // namespace Vemo
