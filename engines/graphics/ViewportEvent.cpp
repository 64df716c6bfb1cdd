#include "engines/graphics/ViewportEvent.h"

#include "engines/graphics/Viewport.h"

namespace Vemo {

ViewportEvent::~ViewportEvent() = default;

void ViewportEvent::Dispatch(Viewport&) {}

ActivateViewportEvent::ActivateViewportEvent(bool active) : m_active(active) {}

ActivateViewportEvent::~ActivateViewportEvent() = default;

void ActivateViewportEvent::Dispatch(Viewport& viewport) {
    if (m_active) {
        viewport.OnActivate();
    } else {
        viewport.OnDeactivate();
    }
}

CloseViewportEvent::~CloseViewportEvent() = default;

void CloseViewportEvent::Dispatch(Viewport& viewport) {
    viewport.OnClose(&m_allowClose);
}

ClosedViewportEvent::~ClosedViewportEvent() = default;

void ClosedViewportEvent::Dispatch(Viewport& viewport) {
    viewport.OnClosed();
}

PaintViewportEvent::PaintViewportEvent(const Rect& area) : m_area(area) {}

PaintViewportEvent::~PaintViewportEvent() = default;

void PaintViewportEvent::Dispatch(Viewport& viewport) {
    viewport.OnPaint(&m_area, &m_handled);
}

RestoreViewportEvent::RestoreViewportEvent(bool before, bool succeeded)
    : m_before(before), m_succeeded(succeeded) {}

RestoreViewportEvent::~RestoreViewportEvent() = default;

void RestoreViewportEvent::Dispatch(Viewport& viewport) {
    if (m_before) {
        viewport.OnRestore();
    } else {
        viewport.OnRestored(m_succeeded);
    }
}

ViewportStyleChangedEvent::~ViewportStyleChangedEvent() = default;

void ViewportStyleChangedEvent::Dispatch(Viewport& viewport) {
    viewport.OnStyleChanged();
}

} // namespace Vemo
