#include "engines/image/effects/CrossFadeEffect.h"

#include "engines/image/effects/FadeRows.h"
#include "engines/image/effects/SurfaceLock.h"

#include <algorithm>

namespace Vemo {

namespace {

constexpr std::uint32_t kFullLevel = 256;
// The 16-bit formats halve at levels 127 and 128 below this quality.
constexpr std::uint8_t kBlendingQuality = 33;

using FadeRow = void (*)(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                         std::size_t width, std::uint32_t level);

// The region after clipping, in 64-bit arithmetic so that no 32-bit coordinate can overflow it.
struct FadeRegion {
    std::int64_t destination[2];
    std::int64_t first[2];
    std::int64_t second[2];
    std::int64_t extent[2];
};

// One axis (0 x, 1 y) of a clipping step that moves the origin `moved` to at least `low`, carrying the move
// to the other two origins and taking it off the extent.
void RaiseTo(FadeRegion& region, std::int64_t* moved, std::int64_t low, int axis) {
    if (moved[axis] >= low) {
        return;
    }
    const std::int64_t shift = low - moved[axis];
    region.destination[axis] += shift;
    region.first[axis] += shift;
    region.second[axis] += shift;
    region.extent[axis] -= shift;
}

void CutTo(FadeRegion& region, const std::int64_t* origin, std::int64_t high, int axis) {
    region.extent[axis] = std::min(region.extent[axis], high - origin[axis]);
}

// The origins and the size cut to both sources and to the destination's clip rectangle, x before y at each
// step; false when less than a pixel is left.
bool ClipRegion(const CrossFadeEffect& effect, FadeRegion& region) {
    region = FadeRegion{{effect.GetDestinationOrigin().x, effect.GetDestinationOrigin().y},
                        {effect.GetFirstOrigin().x, effect.GetFirstOrigin().y},
                        {effect.GetSecondOrigin().x, effect.GetSecondOrigin().y},
                        {effect.GetSize().width, effect.GetSize().height}};
    const GraphicHandle& first = *effect.GetFirstSource();
    const GraphicHandle& second = *effect.GetSecondSource();
    const Rect& clip = effect.GetDestination()->GetClipRect();
    const std::int64_t firstSize[2] = {first.GetWidth(), first.GetHeight()};
    const std::int64_t secondSize[2] = {second.GetWidth(), second.GetHeight()};
    const std::int64_t clipLow[2] = {clip.left, clip.top};
    const std::int64_t clipHigh[2] = {clip.right, clip.bottom};
    for (int axis = 0; axis < 2; ++axis) {
        RaiseTo(region, region.first, 0, axis);
    }
    for (int axis = 0; axis < 2; ++axis) {
        CutTo(region, region.first, firstSize[axis], axis);
    }
    for (int axis = 0; axis < 2; ++axis) {
        RaiseTo(region, region.second, 0, axis);
    }
    for (int axis = 0; axis < 2; ++axis) {
        CutTo(region, region.second, secondSize[axis], axis);
    }
    for (int axis = 0; axis < 2; ++axis) {
        RaiseTo(region, region.destination, clipLow[axis], axis);
    }
    for (int axis = 0; axis < 2; ++axis) {
        CutTo(region, region.destination, clipHigh[axis], axis);
    }
    return region.extent[0] >= 1 && region.extent[1] >= 1;
}

bool FadeRegionRows(CrossFadeEffect& effect, const FadeRegion& region, std::uint32_t bytesPerPixel,
                    FadeRow row) {
    SurfaceLock destination(*effect.GetDestination());
    if (!destination.HasMemory()) {
        return false;
    }
    SurfaceLock first(*effect.GetFirstSource());
    if (!first.HasMemory()) {
        return false;
    }
    SurfaceLock second(*effect.GetSecondSource());
    if (!second.HasMemory()) {
        return false;
    }
    const auto width = static_cast<std::size_t>(region.extent[0]);
    for (std::int64_t y = 0; y < region.extent[1]; ++y) {
        row(destination.Row(region.destination[1] + y) + region.destination[0] * bytesPerPixel,
            first.Row(region.first[1] + y) + region.first[0] * bytesPerPixel,
            second.Row(region.second[1] + y) + region.second[0] * bytesPerPixel, width, effect.GetLevel());
    }
    return true;
}

// Halve is the blending row itself where the format has no halving shortcut.
template <std::uint32_t BytesPerPixel, FadeRow Blend, FadeRow Halve = Blend>
bool Fade(CrossFadeEffect& effect) {
    FadeRegion region;
    if (!ClipRegion(effect, region)) {
        return true;
    }
    const std::uint32_t level = effect.GetLevel();
    const bool halves = effect.GetQuality() < kBlendingQuality && (level == 127 || level == 128);
    return FadeRegionRows(effect, region, BytesPerPixel, halves ? Halve : Blend);
}

CrossFadeEffect::Routine RoutineForFormat(StandardPixelFormat format) {
    switch (format) {
    case StandardPixelFormat::Rgb555:
        return &Fade<2, &Blend555Rows, &Halve555Rows>;
    case StandardPixelFormat::Rgb565:
        return &Fade<2, &Blend565Rows, &Halve565Rows>;
    case StandardPixelFormat::Rgb24:
    case StandardPixelFormat::Bgr24:
        return &Fade<3, &Blend24Rows>;
    case StandardPixelFormat::Xrgb32:
    case StandardPixelFormat::Xbgr32:
    case StandardPixelFormat::Argb32:
    case StandardPixelFormat::Abgr32:
        return &Fade<4, &Blend32LowRows>;
    case StandardPixelFormat::Rgba32:
    case StandardPixelFormat::Bgra32:
        return &Fade<4, &Blend32HighRows>;
    default:
        return nullptr;
    }
}

} // namespace

CrossFadeEffect::CrossFadeEffect(GraphicHandle* destination, GraphicHandle* firstSource,
                                 GraphicHandle* secondSource)
    : RoutineEffect(destination), m_firstSource(firstSource), m_secondSource(secondSource) {}

CrossFadeEffect::~CrossFadeEffect() = default;

bool CrossFadeEffect::Set(std::uint32_t level, const Point& destinationOrigin, const Point& firstOrigin,
                          const Point& secondOrigin, const Size& size, std::uint8_t quality) {
    m_destinationOrigin = destinationOrigin;
    m_firstOrigin = firstOrigin;
    m_secondOrigin = secondOrigin;
    m_size = size;
    m_quality = quality;
    m_routine = &Refuse;
    if (m_destination == nullptr || m_firstSource == nullptr || m_secondSource == nullptr) {
        return false;
    }
    if (m_destination->GetLostFlag() != 0 || m_firstSource->GetLostFlag() != 0 ||
        m_secondSource->GetLostFlag() != 0) {
        return false;
    }
    const StandardPixelFormat format = m_destination->GetPixelFormat().format;
    if (format != m_firstSource->GetPixelFormat().format ||
        format != m_secondSource->GetPixelFormat().format) {
        return false;
    }
    const Routine routine = RoutineForFormat(format);
    if (routine == nullptr) {
        return false;
    }
    m_routine = routine;
    return SetLevel(level);
}

bool CrossFadeEffect::SetLevel(std::uint32_t level) {
    m_level = std::min(level, kFullLevel);
    return true;
}

} // namespace Vemo
