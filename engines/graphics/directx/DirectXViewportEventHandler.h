// A window event handler that a DirectX viewport handle keeps in its list: the handle attaches it to the
// viewport's window whenever the viewport has one, so that it hears the window's messages whichever window
// the viewport uses (its own, or the main window while it is full screen).
#pragma once

#include "engines/graphics/directx/DirectXWindowEventHandler.h"

namespace Vemo {

class DirectXViewportHandle;

class DirectXViewportEventHandler : public DirectXWindowEventHandler {
public:
    // Belongs to no viewport handle and no window.
    DirectXViewportEventHandler();
    // Leaves its viewport handle's list (and so its window), then the window as every handler does.
    ~DirectXViewportEventHandler() override;

    // The viewport handle whose list holds it; null while in none.
    DirectXViewportHandle* GetViewport() const { return m_viewport; }

private:
    friend class DirectXViewportHandle;

    DirectXViewportHandle* m_viewport = nullptr;
};

} // namespace Vemo
