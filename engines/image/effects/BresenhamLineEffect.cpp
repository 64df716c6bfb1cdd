#include "engines/image/effects/BresenhamLineEffect.h"

#include "engines/graphics/PixelAccess.h"
#include "engines/image/effects/EffectTables.h"
#include "engines/image/effects/LineWalk.h"
#include "engines/image/effects/SurfaceLock.h"

namespace Vemo {

namespace {

using Routine = BresenhamLineEffect::Routine;

template <DepthCode Depth>
bool PlotLine(BresenhamLineEffect& effect) {
    SurfaceLock surface(*effect.GetDestination());
    if (!surface.HasMemory()) {
        return false;
    }
    const std::uint32_t color = effect.GetColor();
    return WalkLine(effect.GetFirstPoint(), effect.GetSecondPoint(), [&](std::int64_t x, std::int64_t y) {
        WritePixel(surface.Row(y), static_cast<std::uint32_t>(x), Depth, color);
        return true;
    });
}

struct LineEntry {
    template <DepthCode Depth, RasterOp Op>
    constexpr Routine operator()() const {
        if constexpr (Op == RasterOp::NoOp) {
            return &BresenhamLineEffect::DoNothing;
        } else if constexpr (Depth == 0) {
            return &GenericLineRoutine;
        } else {
            return &PlotLine<Depth>;
        }
    }
};

constinit const auto kLineTable = MakeEffectTable<Routine>(LineEntry());

} // namespace

BresenhamLineEffect::BresenhamLineEffect(GraphicHandle* destination) : RoutineEffect(destination) {
    Select();
}

BresenhamLineEffect::~BresenhamLineEffect() = default;

bool BresenhamLineEffect::Set(const Point& a, const Point& b, std::uint32_t color, RasterOp op) {
    const bool aFirst = a.y <= b.y;
    m_first = aFirst ? a : b;
    m_second = aFirst ? b : a;
    m_color = color;
    m_op = op;
    return Select();
}

bool BresenhamLineEffect::Select() {
    return SelectFromTable(kLineTable, m_op, &GenericLineRoutine);
}

bool GenericLineRoutine(BresenhamLineEffect& effect) {
    GraphicHandle& destination = *effect.GetDestination();
    const std::uint32_t color = effect.GetColor();
    return WalkLine(effect.GetFirstPoint(), effect.GetSecondPoint(), [&](std::int64_t x, std::int64_t y) {
        return destination.SetPixelImpl(color,
                                        Point(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)));
    });
}

} // namespace Vemo
