// What a graphic handle tells the graphics attached to it. The handle builds the event on its stack, hands it
// to every graphic (GraphicHandle::NotifyGraphics, which calls each graphic's HandleEvent and so the event's
// Dispatch), and reads the event's fields afterwards.
#pragma once

namespace Vemo {

class Graphic;

class GraphicEvent {
public:
    virtual ~GraphicEvent();
    // Calls the graphic's notification for this event; nothing in the base.
    virtual void Dispatch(Graphic& graphic);
};

// The surface was restored after it was lost and its content is gone. A graphic that has redrawn its content
// sets handled; the handle clears a surface that no graphic took.
class RestoredGraphicEvent : public GraphicEvent {
public:
    ~RestoredGraphicEvent() override;
    // The graphic's OnRestored with a pointer to handled.
    void Dispatch(Graphic& graphic) override;

    bool m_handled = false;
};

} // namespace Vemo
