// The base of the short-lived effect objects through which a graphic handle draws. The handle operation
// builds the effect on its stack, gives it the drawing arguments through the effect's Set operation, which
// chooses a pixel routine, runs that routine once and destroys the effect. Nothing of an effect outlives the
// operation.
//
// An effect holds its destination (not owned, possibly null); the routine it chooses lives in the
// RoutineEffect layer, typed by the effect's own class.
#pragma once

namespace Vemo {

class GraphicHandle;

class GraphicEffect {
public:
    explicit GraphicEffect(GraphicHandle* destination) : m_destination(destination) {}
    GraphicEffect(const GraphicEffect&) = delete;
    GraphicEffect& operator=(const GraphicEffect&) = delete;
    virtual ~GraphicEffect();

    GraphicHandle* GetDestination() const { return m_destination; }

protected:
    GraphicHandle* m_destination;
};

} // namespace Vemo
