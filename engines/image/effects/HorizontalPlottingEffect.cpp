#include "engines/image/effects/HorizontalPlottingEffect.h"

#include "engines/image/effects/SpanRoutines.h"

namespace Vemo {

HorizontalPlottingEffect::HorizontalPlottingEffect(GraphicHandle* destination) : RoutineEffect(destination) {}

HorizontalPlottingEffect::~HorizontalPlottingEffect() = default;

bool HorizontalPlottingEffect::SelectRoutine() {
    m_plotRoutine = &Refuse;
    if (m_destination == nullptr || !IsValidRasterOp(m_op)) {
        return false;
    }
    if (m_destination->GetLostFlag() == 0) {
        const Routine routine = FindSpanRoutine(m_destination->GetDepth(), m_op);
        if (routine != nullptr) {
            m_plotRoutine = routine;
        }
    }
    return true;
}

} // namespace Vemo
