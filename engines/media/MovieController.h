// The movie controller as the runtime holds it: a front-end over a controller handle (which owns the graphic
// the movie draws into), bound to at most one movie. Its play, time and volume operations go to the bound
// movie's handle: without a bound movie, or with one that has no handle, they report
// MovieSystemErrNoBoundMovie and answer false or 0, except Task, which then does nothing. A bound movie and
// its controller name each other.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/media/MediaTimeUnit.h"
#include "foundation/Rect.h"
#include "resources/Resource.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class Movie;
class MovieControllerHandle;
class MovieHandle;
class MovieSearchCriterion;
class Viewport;

class MovieController : public Resource {
public:
    MovieController();
    // A bound movie is unbound first; should that fail, the two forget each other all the same. Then the
    // handle is closed.
    ~MovieController() override;

    // Also keeps the handle as a MovieControllerHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;
    virtual bool Start(bool forward);
    virtual bool Stop();
    virtual bool StopAndRewind(bool rewind);
    virtual bool Resume();
    virtual bool StepForward();
    virtual bool StepBackward();
    virtual bool Rewind();
    virtual bool GoToEnd();
    virtual bool SetTime(std::uint32_t time, MediaTimeUnit unit);
    virtual std::uint32_t GetTime(MediaTimeUnit unit);
    virtual std::uint32_t GetNextFrameTime(std::uint32_t time, MediaTimeUnit unit);
    virtual std::uint32_t GetPreviousFrameTime(std::uint32_t time, MediaTimeUnit unit);
    virtual bool IsAtStart();
    virtual bool IsAtEnd();
    virtual bool IsPlaying();
    virtual void Task();
    virtual bool Preroll(bool forward, std::uint32_t time);
    virtual bool SetLooping(bool loop, std::uint32_t first, std::uint32_t second, std::uint32_t third);
    virtual bool IsLooping();
    virtual bool SetActive(bool active);
    virtual bool IsActive();
    virtual bool SetRealParameter(float value);
    virtual float GetRealParameter();
    virtual bool SetVolume(std::uint8_t volume);
    virtual std::uint8_t GetVolume();
    // The controller handle's box: ResourceSystemErrNoHandle ("Movie") without a controller handle,
    // MovieSystemErrNoBoundMovie without a bound movie; all edges 0 then.
    virtual Rect& GetBox(Rect& out);
    // As GetBox; false then.
    virtual bool SetBox(const Rect& box);

    // A controller sized for the movie (null: the bound movie), which must have a handle
    // (MovieSystemErrNoMovie). The opens then report as a movie's do.
    bool Open(Movie* movie, std::uint32_t graphicValue1 = 0);
    bool Open(const Size& size, std::uint32_t depth, std::uint32_t graphicValue1, std::uint32_t graphicValue2,
              std::uint32_t engineId = kMovieTypeId);
    bool Open(const Size& size, StandardPixelFormat format, std::uint32_t graphicValue1,
              std::uint32_t graphicValue2, std::uint32_t engineId = kMovieTypeId);
    // A controller that draws into the viewport's window.
    bool Open(Viewport* viewport, std::uint32_t engineId = kMovieTypeId);
    // Unbinds a bound movie, then binds this one: the controller handle takes its movie handle
    // (MovieSystemErrControllerRefusedMovie) and the movie handle the controller handle
    // (MovieSystemErrMovieRefusedController). A movie without a handle: MovieSystemErrNoMovie; one bound to
    // another controller: MovieSystemErrMovieBound. Then, the binding made, the preroll when asked
    // (MovieSystemErrPrerollFailed) and the box of the movie's size at (0, 0) (MovieSystemErrSetBoxFailed).
    bool BindMovie(Movie* movie, bool preroll);
    // True when nothing is bound. A bound movie without a handle (MovieSystemErrNoBoundMovie) or one that
    // does not name this controller (MovieSystemErrNotBoundHere) stays bound. Otherwise the links are cleared
    // and both handles let go of each other (MovieSystemErrDetachControllerFailed, ...DetachMovieFailed).
    bool UnbindMovie();

    Movie* GetMovie() const { return m_movie; }
    MovieControllerHandle* GetControllerHandle() const { return m_controllerHandle; }

private:
    friend class Movie;

    bool OpenThrough(MovieSearchCriterion& criterion, std::uint32_t engineId);
    // The bound movie's handle, or null with MovieSystemErrNoBoundMovie.
    MovieHandle* BoundHandle() const;

    MovieControllerHandle* m_controllerHandle = nullptr;
    Movie* m_movie = nullptr;
};

} // namespace Vemo
