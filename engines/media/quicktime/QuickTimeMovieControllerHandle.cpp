#include "engines/media/quicktime/QuickTimeMovieControllerHandle.h"

#include "engines/media/quicktime/QuickTimeMovieControllerGraphic.h"
#include "engines/media/quicktime/QuickTimeMovieHandle.h"

namespace Vemo {

QuickTimeMovieControllerHandle::QuickTimeMovieControllerHandle(ResourceEngine* engine,
                                                               QuickTimeMovieControllerGraphic* graphic)
    : MovieControllerHandle(engine, graphic) {}

QuickTimeMovieControllerHandle::~QuickTimeMovieControllerHandle() = default;

Rect& QuickTimeMovieControllerHandle::GetBox(Rect& out) {
    out = Rect();
    QuickTimeMovieHandle* movie = QuickTimeMovieHandle::FromMovieHandle(GetMovieHandle());
    if (movie == nullptr) {
        return out;
    }
    qt::Rect box{};
    if (qt::MovieController controller = movie->GetMovieController()) {
        if (qt::GetControllerBounds(controller, &box) != qt::noErr) {
            return out;
        }
    } else {
        qt::GetMovieBox(movie->GetMovie(), &box);
    }
    out = Rect(box.left, box.top, box.right, box.bottom);
    return out;
}

bool QuickTimeMovieControllerHandle::SetBox(const Rect& box) {
    QuickTimeMovieHandle* movie = QuickTimeMovieHandle::FromMovieHandle(GetMovieHandle());
    if (movie == nullptr) {
        return false;
    }
    const qt::Rect quickTimeBox{static_cast<std::int16_t>(box.top), static_cast<std::int16_t>(box.left),
                                static_cast<std::int16_t>(box.bottom), static_cast<std::int16_t>(box.right)};
    qt::SetMovieBox(movie->GetMovie(), &quickTimeBox);
    return true;
}

} // namespace Vemo
