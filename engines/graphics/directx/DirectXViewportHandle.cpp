#include "engines/graphics/directx/DirectXViewportHandle.h"

#include "engines/graphics/directx/DirectXViewportEventHandler.h"
#include "engines/graphics/directx/DirectXWindow.h"

namespace Vemo {

DirectXViewportHandle::DirectXViewportHandle(ResourceEngine* engine) : ViewportHandle(engine) {}

DirectXViewportHandle::~DirectXViewportHandle() {
    for (DirectXViewportEventHandler* handler : m_handlers) {
        handler->m_viewport = nullptr;
    }
    m_handlers.Clear();
}

ddraw::IDirectDraw4* DirectXViewportHandle::GetDirectDraw() {
    return nullptr;
}

ddraw::IDirectDrawSurface4* DirectXViewportHandle::GetPrimarySurface() {
    return nullptr;
}

ddraw::IDirectDrawClipper* DirectXViewportHandle::GetClipper() {
    return nullptr;
}

void DirectXViewportHandle::AddEventHandler(DirectXViewportEventHandler* handler) {
    if (handler->m_viewport != nullptr) {
        handler->m_viewport->RemoveEventHandler(handler);
    }
    m_handlers.PushBack(handler);
    handler->m_viewport = this;
    if (m_window != nullptr) {
        m_window->AddEventHandler(handler);
    }
}

void DirectXViewportHandle::RemoveEventHandler(DirectXViewportEventHandler* handler) {
    for (auto entry = m_handlers.Begin(); entry != m_handlers.End(); ++entry) {
        if ((*entry)->GetSerial() == handler->GetSerial()) {
            if (m_window != nullptr) {
                m_window->RemoveEventHandler(*entry);
            }
            (*entry)->m_viewport = nullptr;
            m_handlers.Erase(entry);
            return;
        }
    }
}

bool DirectXViewportHandle::HasEventHandler(const DirectXViewportEventHandler* handler) const {
    for (const DirectXViewportEventHandler* registered : m_handlers) {
        if (registered->GetSerial() == handler->GetSerial()) {
            return true;
        }
    }
    return false;
}

void DirectXViewportHandle::AttachEventHandlers() {
    if (m_window == nullptr) {
        return;
    }
    for (DirectXViewportEventHandler* handler : m_handlers) {
        m_window->AddEventHandler(handler);
    }
}

DirectXViewportHandle* DirectXViewportHandle::FromViewportHandle(ViewportHandle* handle) {
    return dynamic_cast<DirectXViewportHandle*>(handle);
}

} // namespace Vemo
