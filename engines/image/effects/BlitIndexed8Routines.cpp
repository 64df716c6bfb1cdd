// The blits from 8-bit indexed sources.
#include "engines/image/effects/BlitFrame.h"
#include "engines/image/effects/BlitRoutines.h"
#include "engines/image/effects/NearestPaletteIndex.h"
#include "engines/image/effects/PixelWords.h"

#include <array>
#include <bit>
#include <cstring>

namespace Vemo {

namespace {

constexpr std::uint32_t kColorBits = 0xFFFFFF;
// The 8-bit to 8-bit operations precompute every pair of indices above this many pixels.
constexpr std::int64_t kPairTableArea = 0x10000;

// Whether a source index is transparent: equal to the low byte of the key pixel while the key is on.
struct IndexKey {
    explicit IndexKey(const GraphicHandle& handle)
        : enabled(handle.IsColorKeyEnabled()), index(handle.GetColorKeyPixel() & 0xFF) {}

    bool IsTransparent(std::uint32_t sourceIndex) const { return enabled && sourceIndex == index; }

    bool enabled;
    std::uint32_t index;
};

// The destination pixel of each source palette entry: packed by the destination's shifts and losses, an entry
// of another tag as black.
std::array<std::uint32_t, 256> PackedPalette(BlitEffect& effect) {
    GraphicHandle& source = *effect.GetSource();
    const GraphicHandle& destination = *effect.GetDestination();
    const PixelFormat& format = destination.GetPixelFormat();
    std::array<std::uint32_t, 256> values;
    for (std::uint32_t index = 0; index < values.size(); ++index) {
        const PixelValue color = PixelValue::Convert(source.GetColorTag(), source.GetPaletteEntryImpl(index),
                                                     destination.GetColorTag());
        values[index] = format.PackColor(color);
    }
    return values;
}

template <std::uint32_t BytesPerPixel, RasterOp Op>
void CombineAt(std::uint8_t* at, std::uint32_t value) {
    if constexpr (BytesPerPixel == 2) {
        Combine16<Op>(at, value);
    } else if constexpr (BytesPerPixel == 3) {
        Combine24<Op>(at, value);
    } else {
        Combine32<Op>(at, value);
    }
}

// The first x from `x` on whose index equals `index`, or width: eight indices a step, each word tested for a
// zero byte of word XOR index in every byte. The lowest byte that the test marks is the first equal one.
std::size_t FindIndex(const std::uint8_t* indices, std::size_t x, std::size_t width, std::uint32_t index) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    for (; x + sizeof(std::uint64_t) <= width; x += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, indices + x, sizeof word);
        word ^= kOnes * index;
        const std::uint64_t marks = (word - kOnes) & ~word & (kOnes << 7);
        if (marks != 0) {
            return x + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
        }
    }
    for (; x < width && indices[x] != index; ++x) {
    }
    return x;
}

// Each index replaced by its table value, the runs between transparent indices a plain loop each.
template <std::uint32_t BytesPerPixel>
bool BlitIndexed8ToDirect(BlitEffect& effect) {
    const IndexKey key(*effect.GetSource());
    return VisitBlitOp(effect, [&]<RasterOp Op>() {
        const std::array<std::uint32_t, 256> values = PackedPalette(effect);
        return WalkBlitRows(
            effect, BytesPerPixel, 1, [&](std::uint8_t* to, const std::uint8_t* from, std::size_t width) {
                for (std::size_t x = 0; x < width; ++x) {
                    const std::size_t end = key.enabled ? FindIndex(from, x, width, key.index) : width;
                    for (; x < end; ++x) {
                        CombineAt<BytesPerPixel, Op>(to + BytesPerPixel * x, values[from[x]]);
                    }
                }
            });
    });
}

// Writes table[source index] wherever the source is not transparent.
bool WriteMapped(BlitEffect& effect, const IndexKey& key, const std::array<std::uint8_t, 256>& table) {
    return WalkBlitRows(effect, 1, 1, [&](std::uint8_t* to, const std::uint8_t* from, std::size_t width) {
        for (std::size_t x = 0; x < width; ++x) {
            if (!key.IsTransparent(from[x])) {
                to[x] = table[from[x]];
            }
        }
    });
}

// Copy and CopyInverted: each source entry, inverted or not, as the destination's nearest entry.
bool CopyMapped(BlitEffect& effect, const IndexKey& key, std::uint32_t inversion) {
    GraphicHandle& source = *effect.GetSource();
    GraphicHandle& destination = *effect.GetDestination();
    std::array<std::uint8_t, 256> map;
    for (std::uint32_t index = 0; index < map.size(); ++index) {
        Color entry = source.GetPaletteEntry(index);
        entry.rgb = PixelValue(entry.rgb ^ inversion);
        map[index] = static_cast<std::uint8_t>(destination.ColorToPixel(entry));
    }
    return WriteMapped(effect, key, map);
}

Palette256 DestinationPalette(GraphicHandle& destination) {
    Palette256 palette;
    for (std::uint32_t index = 0; index < palette.size(); ++index) {
        palette[index] = destination.GetPaletteEntryImpl(index) & kColorBits;
    }
    return palette;
}

// Invert reads the destination alone: each pixel becomes the entry nearest to its inverted colour, and the
// destination's own key keeps its matching pixels.
bool InvertMapped(BlitEffect& effect) {
    GraphicHandle& destination = *effect.GetDestination();
    const IndexKey key(destination);
    const Palette256 palette = DestinationPalette(destination);
    std::array<std::uint8_t, 256> map;
    for (std::uint32_t index = 0; index < map.size(); ++index) {
        map[index] =
            static_cast<std::uint8_t>(destination.ColorToPixelImpl(PixelValue(palette[index] ^ kColorBits)));
    }
    return WalkBlitRows(effect, 1, 1, [&](std::uint8_t* to, const std::uint8_t*, std::size_t width) {
        for (std::size_t x = 0; x < width; ++x) {
            if (!key.IsTransparent(to[x])) {
                to[x] = map[to[x]];
            }
        }
    });
}

// The operations that read both colours: the destination's entry nearest to (source colour op destination
// colour).
template <RasterOp Op>
bool CombineColors(BlitEffect& effect, const IndexKey& key) {
    GraphicHandle& destination = *effect.GetDestination();
    const Palette256 target = DestinationPalette(destination);
    Palette256 source;
    for (std::uint32_t index = 0; index < source.size(); ++index) {
        source[index] =
            effect.GetSource()->GetPaletteEntry(index).ConvertTo(destination.GetColorTag()) & kColorBits;
    }
    const auto nearest = [&](std::uint32_t from, std::uint32_t to) {
        return NearestPaletteIndex(target, ApplyRasterOp(Op, source[from], target[to]) & kColorBits);
    };
    const Rect& area = effect.GetSourceRect();
    const std::int64_t pixels =
        (std::int64_t{area.right} - area.left) * (std::int64_t{area.bottom} - area.top);
    if (pixels <= kPairTableArea) {
        return WalkBlitRows(effect, 1, 1, [&](std::uint8_t* to, const std::uint8_t* from, std::size_t width) {
            for (std::size_t x = 0; x < width; ++x) {
                if (!key.IsTransparent(from[x])) {
                    to[x] = nearest(from[x], to[x]);
                }
            }
        });
    }
    // [destination index][source index]
    std::array<std::array<std::uint8_t, 256>, 256> pairs;
    for (std::uint32_t to = 0; to < 256; ++to) {
        for (std::uint32_t from = 0; from < 256; ++from) {
            pairs[to][from] = nearest(from, to);
        }
    }
    return WalkBlitRows(effect, 1, 1, [&](std::uint8_t* to, const std::uint8_t* from, std::size_t width) {
        for (std::size_t x = 0; x < width; ++x) {
            if (!key.IsTransparent(from[x])) {
                to[x] = pairs[to[x]][from[x]];
            }
        }
    });
}

} // namespace

bool BlitIndexed8To8(BlitEffect& effect) {
    const IndexKey key(*effect.GetSource());
    return VisitBlitOp(effect, [&]<RasterOp Op>() {
        if constexpr (Op == RasterOp::Clear || Op == RasterOp::Set) {
            std::array<std::uint8_t, 256> fill;
            fill.fill(Op == RasterOp::Set ? 255 : 0);
            return WriteMapped(effect, key, fill);
        } else if constexpr (Op == RasterOp::Copy) {
            return CopyMapped(effect, key, 0);
        } else if constexpr (Op == RasterOp::CopyInverted) {
            return CopyMapped(effect, key, kColorBits);
        } else if constexpr (Op == RasterOp::Invert) {
            return InvertMapped(effect);
        } else {
            return CombineColors<Op>(effect, key);
        }
    });
}

bool BlitIndexed8To16(BlitEffect& effect) {
    return BlitIndexed8ToDirect<2>(effect);
}

bool BlitIndexed8To24(BlitEffect& effect) {
    return BlitIndexed8ToDirect<3>(effect);
}

bool BlitIndexed8To32(BlitEffect& effect) {
    return BlitIndexed8ToDirect<4>(effect);
}

} // namespace Vemo
