#include "engines/graphics/directx/DirectXViewportEventHandler.h"

#include "engines/graphics/directx/DirectXViewportHandle.h"

namespace Vemo {

DirectXViewportEventHandler::DirectXViewportEventHandler() = default;

DirectXViewportEventHandler::~DirectXViewportEventHandler() {
    if (m_viewport != nullptr) {
        m_viewport->RemoveEventHandler(this);
    }
}

} // namespace Vemo
