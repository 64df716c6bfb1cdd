#include "engines/graphics/GraphicEvent.h"

#include "engines/graphics/Graphic.h"

namespace Vemo {

GraphicEvent::~GraphicEvent() = default;

void GraphicEvent::Dispatch(Graphic&) {}

RestoredGraphicEvent::~RestoredGraphicEvent() = default;

void RestoredGraphicEvent::Dispatch(Graphic& graphic) {
    graphic.OnRestored(&m_handled);
}

} // namespace Vemo
