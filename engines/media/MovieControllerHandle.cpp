#include "engines/media/MovieControllerHandle.h"

#include "engines/media/MovieControllerGraphic.h"
#include "engines/media/MovieErrorCodes.h"
#include "engines/media/MovieHandle.h"
#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"

namespace Vemo {

MovieControllerHandle::MovieControllerHandle(ResourceEngine* engine, MovieControllerGraphic* graphic)
    : ResourceHandle(engine), m_graphic(graphic) {}

MovieControllerHandle::~MovieControllerHandle() = default;

void MovieControllerHandle::DeleteGraphic() {
    m_graphic.reset();
}

bool MovieControllerHandle::AttachMovieHandle(MovieHandle* movieHandle) {
    if (movieHandle->GetEngine()->GetTypeId() != GetEngine()->GetTypeId()) {
        RaiseError(MovieSystemErrForeignMovieHandle);
        return false;
    }
    if (m_movieHandle != nullptr) {
        DetachMovieHandle();
    }
    if (m_graphic == nullptr || !m_graphic->AttachMovieHandle(movieHandle)) {
        RaiseError(MovieSystemErrGraphicRefusedMovie);
        return false;
    }
    m_movieHandle = movieHandle;
    return true;
}

bool MovieControllerHandle::DetachMovieHandle() {
    m_movieHandle = nullptr;
    return m_graphic == nullptr || m_graphic->DetachMovieHandle();
}

Rect& MovieControllerHandle::GetBox(Rect& out) {
    out = Rect();
    return out;
}

bool MovieControllerHandle::SetBox(const Rect&) {
    return false;
}

MovieHandle* MovieControllerHandle::GetMovieHandle() {
    return m_movieHandle;
}

} // namespace Vemo
