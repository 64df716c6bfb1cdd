// What a viewport handle tells the viewports attached to it. The handle builds the event on its stack, fills
// its fields and hands it to every viewport, first attached first (ViewportHandle::DispatchEvent, which calls
// each viewport's HandleEvent and so the event's Dispatch); it reads the fields afterwards. A notification
// may change them through the pointers it receives, and the last viewport to write a field decides.
#pragma once

#include "foundation/Rect.h"

namespace Vemo {

class Viewport;

class ViewportEvent {
public:
    virtual ~ViewportEvent();
    // Calls the viewport's notification for this event; nothing in the base.
    virtual void Dispatch(Viewport& viewport);
};

// The window became active (OnActivate) or inactive (OnDeactivate).
class ActivateViewportEvent : public ViewportEvent {
public:
    explicit ActivateViewportEvent(bool active);
    ~ActivateViewportEvent() override;
    void Dispatch(Viewport& viewport) override;

    bool m_active;
};

// The user asked to close the window; a viewport that clears allowClose (OnClose) keeps it open.
class CloseViewportEvent : public ViewportEvent {
public:
    ~CloseViewportEvent() override;
    void Dispatch(Viewport& viewport) override;

    bool m_allowClose = true;
};

// The window is gone (OnClosed).
class ClosedViewportEvent : public ViewportEvent {
public:
    ~ClosedViewportEvent() override;
    void Dispatch(Viewport& viewport) override;
};

// An area of the window needs repainting (OnPaint); a viewport that has repainted it sets handled.
class PaintViewportEvent : public ViewportEvent {
public:
    explicit PaintViewportEvent(const Rect& area);
    ~PaintViewportEvent() override;
    void Dispatch(Viewport& viewport) override;

    Rect m_area;
    bool m_handled = false;
};

// The surfaces are about to be made again (before: OnRestore), or have been, successfully or not
// (OnRestored).
class RestoreViewportEvent : public ViewportEvent {
public:
    RestoreViewportEvent(bool before, bool succeeded);
    ~RestoreViewportEvent() override;
    void Dispatch(Viewport& viewport) override;

    bool m_before;
    bool m_succeeded;
};

// The description of the viewport changed (OnStyleChanged).
class ViewportStyleChangedEvent : public ViewportEvent {
public:
    ~ViewportStyleChangedEvent() override;
    void Dispatch(Viewport& viewport) override;
};

} // namespace Vemo
