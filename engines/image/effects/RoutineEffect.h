// An effect whose pixel routine is a plain function of the effect's own class: Set chooses the routine once
// from a static table, and running it does no further test of format or operation.
//
// Every effect starts with the refusing routine (false, touches nothing), the result of every failed
// selection; the do-nothing routine (true, locks nothing) stands where an operation changes no pixel.
#pragma once

#include "engines/graphics/GraphicHandle.h"
#include "engines/image/effects/EffectTables.h"
#include "engines/image/effects/GraphicEffect.h"

namespace Vemo {

template <class Effect>
class RoutineEffect : public GraphicEffect {
public:
    using Routine = bool (*)(Effect& effect);

    static bool Refuse(Effect&) { return false; }
    static bool DoNothing(Effect&) { return true; }

    Routine GetRoutine() const { return m_routine; }
    bool Run() { return m_routine(static_cast<Effect&>(*this)); }

    // What a handle operation does once Set has answered: the routine runs only when Set succeeded, the
    // destination is present and its drawing is not suppressed, and its answer is the operation's.
    bool RunIfSet(bool set) {
        if (!set || m_destination == nullptr || m_destination->IsReadOnly()) {
            return false;
        }
        return Run();
    }

protected:
    using GraphicEffect::GraphicEffect;

    // The choice of an effect with a per-operation table: the entry for the destination's depth code and the
    // operation, the fallback while the destination is lost or where the table has no entry. The refusing
    // routine, and false, without destination or for an operation above 15.
    bool SelectFromTable(const std::array<Routine, kEffectTableSize>& table, RasterOp op, Routine fallback) {
        if (m_destination == nullptr || !IsValidRasterOp(op)) {
            m_routine = &Refuse;
            return false;
        }
        const Routine entry = m_destination->GetLostFlag() != 0
                                  ? nullptr
                                  : FindEffectRoutine(table, m_destination->GetDepth(), op);
        m_routine = entry != nullptr ? entry : fallback;
        return true;
    }

    Routine m_routine = &Refuse;
};

} // namespace Vemo
