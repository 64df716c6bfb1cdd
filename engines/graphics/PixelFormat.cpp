#include "engines/graphics/PixelFormat.h"

namespace Vemo {

namespace {

// A layout that masks and an extra channel are recognised as. kAnyUsage: the extra channel is not looked at.
struct StandardLayout {
    StandardPixelFormat number;
    DepthCode depth;
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;
    std::uint32_t fourth;
    int usage;
};

constexpr int kAnyUsage = -1;

// In the order of recognition. The first row of a number is the layout its standard constructor builds;
// a 32-bit layout whose fourth byte is marked unused is the layout without it.
constexpr StandardLayout kStandardLayouts[] = {
    {StandardPixelFormat::Argb4444, 5, 0xF00, 0xF0, 0xF, 0xF000, ExtraChannel::kUsageAlpha},
    {StandardPixelFormat::Argb1555, 5, 0x7C00, 0x3E0, 0x1F, 0x8000, ExtraChannel::kUsageAlpha},
    {StandardPixelFormat::Rgb555, 5, 0x7C00, 0x3E0, 0x1F, 0, kAnyUsage},
    {StandardPixelFormat::Rgb565, 5, 0xF800, 0x7E0, 0x1F, 0, kAnyUsage},
    {StandardPixelFormat::Rgb24, 6, 0xFF0000, 0xFF00, 0xFF, 0, kAnyUsage},
    {StandardPixelFormat::Bgr24, 6, 0xFF, 0xFF00, 0xFF0000, 0, kAnyUsage},
    {StandardPixelFormat::Xrgb32, 7, 0xFF0000, 0xFF00, 0xFF, 0, kAnyUsage},
    {StandardPixelFormat::Xrgb32, 7, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, ExtraChannel::kUsageNone},
    {StandardPixelFormat::Xbgr32, 7, 0xFF, 0xFF00, 0xFF0000, 0, kAnyUsage},
    {StandardPixelFormat::Xbgr32, 7, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, ExtraChannel::kUsageNone},
    {StandardPixelFormat::Argb32, 7, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, ExtraChannel::kUsageAlpha},
    {StandardPixelFormat::Abgr32, 7, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, ExtraChannel::kUsageAlpha},
    {StandardPixelFormat::Rgba32, 7, 0xFF000000, 0xFF0000, 0xFF00, 0xFF, ExtraChannel::kUsageAlpha},
    {StandardPixelFormat::Bgra32, 7, 0xFF00, 0xFF0000, 0xFF000000, 0xFF, ExtraChannel::kUsageAlpha},
    {StandardPixelFormat::Rgb555Depth16, 7, 0x7C00, 0x3E0, 0x1F, 0xFFFF0000, ExtraChannel::kUsageDepth},
    {StandardPixelFormat::Rgb565Depth16, 7, 0xF800, 0x7E0, 0x1F, 0xFFFF0000, ExtraChannel::kUsageDepth},
};

bool IsLayoutOf(const StandardLayout& layout, const PixelFormat& format) {
    return layout.depth == format.depth && layout.red == format.redMask && layout.green == format.greenMask &&
           layout.blue == format.blueMask && layout.fourth == format.alphaMask &&
           (layout.usage == kAnyUsage ||
            format.extra.Matches(ExtraChannel(static_cast<std::uint8_t>(layout.usage))));
}

// Shift past the zero bits below the mask, then take one off the loss (from 8, wrapping as a byte) for each
// bit of the run of ones above them.
void MeasureMask(std::uint32_t mask, std::uint8_t& shift, std::uint8_t& loss) {
    shift = 0;
    loss = 8;
    if (mask == 0) {
        return;
    }
    for (; (mask & 1) == 0; mask >>= 1) {
        ++shift;
    }
    for (; (mask & 1) != 0; mask >>= 1) {
        --loss;
    }
}

} // namespace

PixelFormat::PixelFormat(StandardPixelFormat number) {
    const auto value = static_cast<std::uint32_t>(number);
    if (value >= 1 && value <= 4) {
        *this = PixelFormat(DepthCode{value});
        return;
    }
    for (const StandardLayout& layout : kStandardLayouts) {
        if (layout.number == number) {
            const auto usage = static_cast<std::uint8_t>(layout.usage == kAnyUsage ? 0 : layout.usage);
            SetMasks(layout.depth, layout.red, layout.green, layout.blue, layout.fourth, ExtraChannel(usage));
            return;
        }
    }
}

PixelFormat::PixelFormat(DepthCode depthCode, const ExtraChannel& palette) {
    const std::uint32_t bits = BitsPerPixelFromDepth(depthCode);
    if (bits == 0) {
        return;
    }
    format = depthCode <= 4 ? static_cast<StandardPixelFormat>(depthCode) : StandardPixelFormat::Other;
    depth = depthCode;
    extra = palette;
    colorCount = bits < 32 ? 1u << bits : 0xFFFFFFFFu;
}

void PixelFormat::SetMasks(DepthCode depthCode, std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                           std::uint32_t fourth, const ExtraChannel& extraChannel) {
    Clear();
    if (BitsPerPixelFromDepth(depthCode) == 0) {
        return;
    }
    format = StandardPixelFormat::Other;
    depth = depthCode;
    extra = extraChannel;
    redMask = red;
    greenMask = green;
    blueMask = blue;
    alphaMask = fourth;
    MeasureMask(red, redShift, redLoss);
    MeasureMask(green, greenShift, greenLoss);
    MeasureMask(blue, blueShift, blueLoss);
    MeasureMask(fourth, alphaShift, alphaLoss);
    for (const StandardLayout& layout : kStandardLayouts) {
        if (IsLayoutOf(layout, *this)) {
            format = layout.number;
            return;
        }
    }
}

} // namespace Vemo
