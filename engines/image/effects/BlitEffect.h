// Copies a rectangle of one graphic handle onto another, combining each source pixel with the destination
// pixel by a raster operation. The routine comes from the format-pair tables (BlitRoutineTable), chosen by
// the format numbers of source and destination.
//
//     BlitEffect effect(destination, source);
//     bool drawn = effect.RunIfSet(effect.Set(Point(10, 20), Rect(0, 0, 64, 48), RasterOp::Copy));
//
// The rectangles reach the routines already clipped to both surfaces; a point blit writes the source
// rectangle's size at the point.
#pragma once

#include "engines/image/effects/RasterOp.h"
#include "engines/image/effects/RoutineEffect.h"
#include "foundation/Rect.h"

namespace Vemo {

class BlitEffect : public RoutineEffect<BlitEffect> {
public:
    // Copy, both rectangles 0, the refusing routine.
    BlitEffect(GraphicHandle* destination, GraphicHandle* source);
    ~BlitEffect() override;

    // The point blit: the format-pair routine, or the generic one where the pair has none or either surface
    // is lost. False, with the refusing routine, when either handle is null.
    bool Set(const Point& destination, const Rect& sourceRect, RasterOp op);
    // The scaling blit: no pair has a routine for it, so the routine refuses (false) whatever the surfaces.
    bool SetRectToRect(const Rect& destination, const Rect& sourceRect, RasterOp op);

    GraphicHandle* GetSource() const { return m_source; }
    // A point blit sets the left and top only.
    const Rect& GetDestinationRect() const { return m_destinationRect; }
    const Rect& GetSourceRect() const { return m_sourceRect; }
    RasterOp GetOp() const { return m_op; }

private:
    bool HasHandles() const { return m_destination != nullptr && m_source != nullptr; }
    bool EitherLost() const;

    GraphicHandle* m_source;
    Rect m_destinationRect;
    Rect m_sourceRect;
    RasterOp m_op = RasterOp::Copy;
};

} // namespace Vemo
