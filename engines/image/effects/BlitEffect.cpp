#include "engines/image/effects/BlitEffect.h"

#include "engines/image/effects/BlitRoutineTable.h"
#include "engines/image/effects/BlitRoutines.h"

namespace Vemo {

namespace {

std::uint32_t Kind(const GraphicHandle& handle) {
    return static_cast<std::uint32_t>(handle.GetPixelFormat().format);
}

} // namespace

BlitEffect::BlitEffect(GraphicHandle* destination, GraphicHandle* source)
    : RoutineEffect(destination), m_source(source) {}

BlitEffect::~BlitEffect() = default;

bool BlitEffect::Set(const Point& destination, const Rect& sourceRect, RasterOp op) {
    m_destinationRect.left = destination.x;
    m_destinationRect.top = destination.y;
    m_sourceRect = sourceRect;
    m_op = op;
    if (!HasHandles()) {
        m_routine = &Refuse;
        return false;
    }
    Routine routine = EitherLost() ? nullptr : BlitRoutineTable::Find(Kind(*m_source), Kind(*m_destination));
    m_routine = routine != nullptr ? routine : &BlitGeneric;
    return true;
}

bool BlitEffect::SetRectToRect(const Rect& destination, const Rect& sourceRect, RasterOp op) {
    m_destinationRect = destination;
    m_sourceRect = sourceRect;
    m_op = op;
    if (!HasHandles()) {
        m_routine = &Refuse;
        return false;
    }
    Routine routine =
        EitherLost() ? nullptr : BlitRoutineTable::FindRectToRect(Kind(*m_source), Kind(*m_destination));
    m_routine = routine != nullptr ? routine : &Refuse;
    return true;
}

bool BlitEffect::EitherLost() const {
    return m_destination->GetLostFlag() != 0 || m_source->GetLostFlag() != 0;
}

} // namespace Vemo
