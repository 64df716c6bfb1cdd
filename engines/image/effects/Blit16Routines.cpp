// The blits into 16-bit destinations from 16- and 24-bit direct sources.
#include "engines/graphics/ChannelPacking.h"
#include "engines/image/effects/BlitFrame.h"
#include "engines/image/effects/BlitRoutines.h"
#include "engines/image/effects/ChunkedRow.h"
#include "engines/image/effects/PixelChunk.h"
#include "engines/image/effects/PixelWords.h"

#include <array>
#include <cstring>

namespace Vemo {

namespace {

// Which source pixels are transparent: (pixel AND pixelMask) == the key pixel AND keyMask.
struct KeyTest {
    std::uint32_t pixelMask;
    std::uint32_t keyMask;
};

// Each chunk converted and combined whole unless the key hides a pixel of it. Same-format Copy and Clear
// without a key are row copies and fills.
template <class Convert>
bool Blit16To16(BlitEffect& effect, Convert convert, KeyTest keyTest, bool sameFormat) {
    const GraphicHandle& source = *effect.GetSource();
    const bool keyed = source.IsColorKeyEnabled();
    const auto key = static_cast<std::uint16_t>(source.GetColorKeyPixel() & keyTest.keyMask);
    const auto pixelMask = static_cast<std::uint16_t>(keyTest.pixelMask);
    return VisitBlitOp(effect, [&]<RasterOp Op>() {
        return WalkBlitRows(effect, 2, 2, [&](std::uint8_t* to, const std::uint8_t* from, std::size_t width) {
            if (!keyed && sameFormat && Op == RasterOp::Copy) {
                std::memmove(to, from, 2 * width);
                return;
            }
            if (!keyed && sameFormat && Op == RasterOp::Clear) {
                std::memset(to, 0, 2 * width);
                return;
            }
            const auto whole = [&](std::size_t x) {
                const PixelChunk<std::uint16_t> chunk(from + 2 * x);
                if (keyed) {
                    PixelVector<std::uint16_t> hits{};
                    for (const PixelVector<std::uint16_t>& pixels : chunk.vectors) {
                        hits |= MatchingLanes(pixels, pixelMask, key);
                    }
                    if (AnyLane(hits)) {
                        return false;
                    }
                }
                for (std::size_t k = 0; k < kChunkVectors; ++k) {
                    std::uint8_t* at = to + 2 * x + kVectorBytes * k;
                    const PixelVector<std::uint16_t> under =
                        ReadsDestination(Op) ? LoadVector<std::uint16_t>(at) : PixelVector<std::uint16_t>{};
                    StoreVector(at, ApplyRasterOp(Op, convert(chunk.vectors[k]), under));
                }
                return true;
            };
            const auto one = [&](std::size_t x) {
                const std::uint32_t pixel = Load16(from + 2 * x);
                if (!keyed || (pixel & pixelMask) != key) {
                    Combine16<Op>(to + 2 * x, convert(pixel));
                }
            };
            WalkChunkedRow<kChunkPixels<std::uint16_t>>(ChunksKeepRowOrder(to, from, kChunkBytes), width,
                                                        whole, one);
        });
    });
}

constexpr auto kUnchanged = [](auto pixel) { return pixel; };

constexpr KeyTest kWhole15BitKey{0xFFFF, 0x7FFF};
constexpr KeyTest kBoth15BitKey{0x7FFF, 0x7FFF};
constexpr KeyTest k16BitKey{0xFFFF, 0xFFFF};

// The 16-bit pixel of each value of one 24-bit channel, by the destination's shift and loss.
using ChannelTable = std::array<std::uint16_t, 256>;

ChannelTable PackedChannel(std::uint8_t shift, std::uint8_t loss) {
    ChannelTable table;
    for (std::uint32_t value = 0; value < 256; ++value) {
        table[value] = static_cast<std::uint16_t>(PackChannel(static_cast<std::uint8_t>(value), shift, loss));
    }
    return table;
}

// redByte and blueByte: where red and blue lie among the pixel's three bytes, lowest address 0.
bool Blit24To16(BlitEffect& effect, std::uint32_t redByte, std::uint32_t blueByte) {
    const GraphicHandle& source = *effect.GetSource();
    const bool keyed = source.IsColorKeyEnabled();
    const std::uint32_t key = source.GetColorKeyPixel();
    const PixelFormat& format = effect.GetDestination()->GetPixelFormat();
    return VisitBlitOp(effect, [&]<RasterOp Op>() {
        const ChannelTable red = PackedChannel(format.redShift, format.redLoss);
        const ChannelTable green = PackedChannel(format.greenShift, format.greenLoss);
        const ChannelTable blue = PackedChannel(format.blueShift, format.blueLoss);
        return WalkBlitRows(effect, 2, 3, [&](std::uint8_t* to, const std::uint8_t* from, std::size_t width) {
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint8_t* bytes = from + 3 * x;
                Combine16Unless<Op>(keyed && Load24(bytes) == key, to + 2 * x,
                                    red[bytes[redByte]] | green[bytes[1]] | blue[bytes[blueByte]]);
            }
        });
    });
}

} // namespace

bool Blit555To555(BlitEffect& effect) {
    return Blit16To16(effect, kUnchanged, kWhole15BitKey, true);
}

bool Blit555To565(BlitEffect& effect) {
    return Blit16To16(
        effect, [](auto pixel) { return (pixel & 0x7FE0) << 1 | (pixel & 0x1F); }, kBoth15BitKey, false);
}

bool Blit565To555(BlitEffect& effect) {
    return Blit16To16(
        effect, [](auto pixel) { return (pixel >> 1 & 0x7FE0) | (pixel & 0x1F); }, k16BitKey, false);
}

bool Blit565To565(BlitEffect& effect) {
    return Blit16To16(effect, kUnchanged, k16BitKey, true);
}

bool BlitRGB24To16(BlitEffect& effect) {
    return Blit24To16(effect, 2, 0);
}

bool BlitBGR24To16(BlitEffect& effect) {
    return Blit24To16(effect, 0, 2);
}

} // namespace Vemo
