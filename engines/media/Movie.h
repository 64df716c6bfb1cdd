// The movie as the runtime holds it: a front-end over a movie handle, optionally bound to one movie
// controller. It opens through the Movie System and forwards its operations to the handle; without a handle
// every forwarding operation reports ResourceSystemErrNoHandle with the text "Movie" and answers false, 0,
// 0.0 or a 0 x 0 size, and so does an editing operation whose source movie has none.
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

class File;
class MovieController;
class MovieHandle;
class Path;

class Movie : public Resource {
public:
    Movie();
    // A bound movie is unbound first; should the controller refuse (this movie's handle already gone), the
    // two forget each other all the same. Then the handle is closed.
    ~Movie() override;

    // Also keeps the handle as a MovieHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;
    // The opens report ResourceSystemErrAlreadyOpen, ResourceSystemErrNoSystem or
    // ResourceSystemErrOpenFailed. The family's id as engine means any movie engine.
    virtual bool Open(const Path& path, bool keepFileOpen, bool streamed,
                      std::uint32_t engineId = kMovieTypeId);
    virtual bool Open(const File& file, bool keepFileOpen, bool streamed,
                      std::uint32_t engineId = kMovieTypeId);
    // A new, empty movie; kept open and streamed.
    virtual bool Create(std::uint32_t engineId = kMovieTypeId);
    virtual bool Create(const Path& path, std::uint32_t engineId = kMovieTypeId);
    virtual bool Create(const File& file, std::uint32_t engineId = kMovieTypeId);
    virtual void Task();
    virtual Size& GetBox(Size& out);
    virtual std::uint32_t GetControllerDepth();
    virtual std::uint32_t GetControllerGraphicValue();
    virtual StandardPixelFormat GetControllerPixelFormat();
    virtual bool SetRealParameter(float value);
    virtual float GetRealParameter();
    virtual std::uint32_t GetFrameCount();
    virtual std::uint32_t GetDuration(MediaTimeUnit unit);
    virtual bool SetVolume(std::uint8_t volume);
    virtual std::uint8_t GetVolume();
    virtual bool InsertSegment(Movie& source, std::uint32_t at, std::uint32_t sourceStart,
                               std::uint32_t sourceDuration, MediaTimeUnit unit);
    virtual bool InsertVisualSegment(Movie& source, std::uint32_t at, std::uint32_t sourceStart,
                                     std::uint32_t sourceDuration, MediaTimeUnit unit);
    virtual bool InsertAudioSegment(Movie& source, std::uint32_t at, std::uint32_t sourceStart,
                                    std::uint32_t sourceDuration, MediaTimeUnit unit);
    virtual bool AppendMovie(Movie& source);
    virtual bool AppendVisual(Movie& source);
    virtual bool AppendAudio(Movie& source);
    virtual bool IsStreamed();
    virtual bool IsFileOpen();
    virtual bool GetPath(Path& out);
    // The controller this movie is bound to, or null.
    virtual MovieController* GetController();

    // The attached handle as a movie handle, null while closed.
    MovieHandle* GetMovieHandle() const { return m_movieHandle; }

private:
    friend class MovieController;

    bool OpenThrough(const File* file, const Path* path, bool create, bool keepFileOpen, bool streamed,
                     std::uint32_t engineId);
    // The handle, or null with the no-handle report.
    MovieHandle* Handle() const;
    // The handles of this movie and the source, or null with one no-handle report.
    MovieHandle* HandleWithSource(const Movie& source, MovieHandle*& sourceHandle) const;

    MovieHandle* m_movieHandle = nullptr;
    MovieController* m_controller = nullptr;
};

} // namespace Vemo
