#include "engines/media/MovieControllerGraphic.h"

namespace Vemo {

MovieControllerGraphic::MovieControllerGraphic() = default;

MovieControllerGraphic::~MovieControllerGraphic() = default;

bool MovieControllerGraphic::AttachMovieHandle(MovieHandle* movieHandle) {
    if (m_movieHandle != nullptr) {
        DetachMovieHandle();
    }
    m_movieHandle = movieHandle;
    return true;
}

bool MovieControllerGraphic::DetachMovieHandle() {
    m_movieHandle = nullptr;
    return true;
}

MovieHandle* MovieControllerGraphic::GetMovieHandle() {
    return m_movieHandle;
}

} // namespace Vemo
