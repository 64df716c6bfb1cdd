// The DirectX level of the viewport handle: the viewport's window, and the viewport event handlers that
// follow the viewport from window to window. Handlers are registered here in order; while the viewport has a
// window, each registered handler is attached to it as well, and a handler attached to a window later is
// attached through AttachEventHandlers. Handlers are told apart by serial number and are not owned.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/ViewportHandle.h"
#include "foundation/BasicList.h"
#include "platform/directx/DirectDraw.h"

namespace Vemo {

class DirectXViewportEventHandler;
class DirectXWindow;

class DirectXViewportHandle : public ViewportHandle {
public:
    explicit DirectXViewportHandle(ResourceEngine* engine);
    // The handlers still registered forget this handle; they stay attached to their windows.
    ~DirectXViewportHandle() override;

    // The viewport's DirectDraw objects; null at this level.
    virtual ddraw::IDirectDraw4* GetDirectDraw();
    virtual ddraw::IDirectDrawSurface4* GetPrimarySurface();
    virtual ddraw::IDirectDrawClipper* GetClipper();
    // Takes the handler from the viewport handle it belongs to (this one included), appends it and, while
    // there is a window, attaches it to the window.
    virtual void AddEventHandler(DirectXViewportEventHandler* handler);
    // Unregisters the first handler of the same serial and detaches it from the window; nothing when none is
    // registered.
    virtual void RemoveEventHandler(DirectXViewportEventHandler* handler);
    virtual bool HasEventHandler(const DirectXViewportEventHandler* handler) const;
    // Attaches every registered handler, in order, to the window; nothing without a window.
    virtual void AttachEventHandlers();

    // The handle as a DirectX viewport handle, or null when it is another kind (or null).
    static DirectXViewportHandle* FromViewportHandle(ViewportHandle* handle);

    // Null while the viewport has no window.
    DirectXWindow* GetWindow() const { return m_window; }
    const BasicList<DirectXViewportEventHandler*>& GetEventHandlers() const { return m_handlers; }

protected:
    DirectXWindow* m_window = nullptr;
    BasicList<DirectXViewportEventHandler*> m_handlers;
};

} // namespace Vemo
