#include "engines/image/effects/VerticalLineEffect.h"

#include "engines/graphics/PixelAccess.h"
#include "engines/image/effects/EffectTables.h"
#include "engines/image/effects/SurfaceLock.h"

#include <algorithm>

namespace Vemo {

namespace {

using Routine = VerticalLineEffect::Routine;

template <DepthCode Depth, RasterOp Op>
bool CombineColumn(VerticalLineEffect& effect) {
    SurfaceLock surface(*effect.GetDestination());
    if (!surface.HasMemory()) {
        return false;
    }
    const auto x = static_cast<std::uint32_t>(effect.GetX());
    const std::uint32_t color = effect.GetColor();
    for (std::int64_t y = effect.GetTop(); y <= effect.GetBottom(); ++y) {
        std::uint8_t* row = surface.Row(y);
        WritePixel(row, x, Depth, ApplyRasterOp(Op, color, ReadPixel(row, x, Depth)));
    }
    return true;
}

struct VerticalLineEntry {
    template <DepthCode Depth, RasterOp Op>
    constexpr Routine operator()() const {
        if constexpr (Depth == 0) {
            return &GenericVerticalLineRoutine;
        } else if constexpr (Op == RasterOp::NoOp) {
            return &VerticalLineEffect::DoNothing;
        } else {
            return &CombineColumn<Depth, Op>;
        }
    }
};

constinit const auto kVerticalLineTable = MakeEffectTable<Routine>(VerticalLineEntry());

} // namespace

VerticalLineEffect::VerticalLineEffect(GraphicHandle* destination) : RoutineEffect(destination) {
    Select();
}

VerticalLineEffect::~VerticalLineEffect() = default;

bool VerticalLineEffect::Set(std::int32_t x, std::int32_t y1, std::int32_t y2, std::uint32_t color,
                             RasterOp op) {
    m_x = x;
    m_top = std::min(y1, y2);
    m_bottom = std::max(y1, y2);
    m_color = color;
    m_op = op;
    return Select();
}

bool VerticalLineEffect::Select() {
    return SelectFromTable(kVerticalLineTable, m_op, &GenericVerticalLineRoutine);
}

bool GenericVerticalLineRoutine(VerticalLineEffect& effect) {
    GraphicHandle& destination = *effect.GetDestination();
    for (std::int64_t y = effect.GetTop(); y <= effect.GetBottom(); ++y) {
        if (!destination.SetPixelImpl(effect.GetColor(),
                                      Point(effect.GetX(), static_cast<std::int32_t>(y)))) {
            return false;
        }
    }
    return true;
}

} // namespace Vemo
