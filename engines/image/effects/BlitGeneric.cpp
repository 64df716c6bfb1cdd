// The generic point blit: each source pixel read as a colour and written as a colour, as the handles' own
// GetPixelColor and SetPixel do it. Where both surfaces can be addressed directly (neither lost, a
// direct-colour destination, the rectangles inside both clip rectangles) the same conversion runs over the
// locked rows instead of through a lock per pixel, with the same pixels as result; between two surfaces of
// one format it is a masked word copy. The fourth channel of the destination is never written.
#include "engines/graphics/PixelAccess.h"
#include "engines/image/effects/BlitRoutines.h"
#include "engines/image/effects/ChunkedRow.h"
#include "engines/image/effects/PixelChunk.h"
#include "engines/image/effects/PixelWords.h"
#include "engines/image/effects/SurfaceLock.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace Vemo {

namespace {

bool Contains(const Rect& outer, std::int64_t left, std::int64_t top, std::int64_t width,
              std::int64_t height) {
    return left >= outer.left && top >= outer.top && left + width <= outer.right &&
           top + height <= outer.bottom;
}

bool BlitPixelByPixel(BlitEffect& effect) {
    GraphicHandle& source = *effect.GetSource();
    GraphicHandle& destination = *effect.GetDestination();
    const bool keyed = source.IsColorKeyEnabled();
    const Color key = keyed ? source.GetColorKey() : Color();
    const Rect& from = effect.GetSourceRect();
    const Rect& to = effect.GetDestinationRect();
    for (std::int32_t y = from.top; y < from.bottom; ++y) {
        for (std::int32_t x = from.left; x < from.right; ++x) {
            const Color color = source.GetPixelColor(Point(x, y));
            if (keyed && color == key) {
                continue;
            }
            if (!destination.SetPixel(color, Point(to.left + (x - from.left), to.top + (y - from.top)))) {
                return false;
            }
        }
    }
    return true;
}

// The colour of a source pixel as GetPixelColor gives it: a palette entry or the unpacked pixel, in the
// source's tag.
class SourceColors {
public:
    explicit SourceColors(GraphicHandle& source)
        : m_format(source.GetPixelFormat()), m_tag(source.GetColorTag()) {
        for (std::uint32_t index = 0; index < m_format.colorCount; ++index) {
            m_palette[index] = source.GetPaletteEntry(index);
        }
    }

    Color operator()(std::uint32_t pixel) const {
        return m_format.IsIndexed() ? m_palette[pixel] : Color(m_format.UnpackPixel(pixel), m_tag);
    }

private:
    const PixelFormat& m_format;
    std::uint32_t m_tag;
    std::array<Color, 256> m_palette;
};

bool CanAddressDirectly(BlitEffect& effect) {
    const GraphicHandle& source = *effect.GetSource();
    const GraphicHandle& destination = *effect.GetDestination();
    const PixelFormat& from = source.GetPixelFormat();
    const PixelFormat& to = destination.GetPixelFormat();
    const Rect& area = effect.GetSourceRect();
    const std::int64_t width = std::int64_t{area.right} - area.left;
    const std::int64_t height = std::int64_t{area.bottom} - area.top;
    return source.GetLostFlag() == 0 && destination.GetLostFlag() == 0 && from.depth >= 1 &&
           from.depth <= 7 && to.depth >= 1 && to.depth <= 7 && from.colorCount <= 256 && !to.IsIndexed() &&
           Contains(source.GetClipRect(), area.left, area.top, width, height) &&
           Contains(destination.GetClipRect(), effect.GetDestinationRect().left,
                    effect.GetDestinationRect().top, width, height);
}

bool SameLayout(const PixelFormat& a, const PixelFormat& b) {
    return a.depth == b.depth && a.redMask == b.redMask && a.greenMask == b.greenMask &&
           a.blueMask == b.blueMask && a.redShift == b.redShift && a.greenShift == b.greenShift &&
           a.blueShift == b.blueShift && a.redLoss == b.redLoss && a.greenLoss == b.greenLoss &&
           a.blueLoss == b.blueLoss && a.colorCount == b.colorCount;
}

// One direct format on both sides. Unpacking keeps the top 8 bits of each channel and packing puts them back
// with zeros below, so a pixel repacked into its own format is the pixel AND the packed white: each pixel is
// written so (0 where the tags differ, as a foreign colour is black), and a pixel has the key's colour
// exactly when its colour bits equal the packed key.
template <class Word>
void CopyMaskedRow(std::uint8_t* to, const std::uint8_t* from, std::size_t width, std::uint32_t outputMask,
                   bool keyed, std::uint32_t colorMask, std::uint32_t keyBits) {
    const auto whole = [&](std::size_t x) {
        const PixelChunk<Word> chunk(from + sizeof(Word) * x);
        if (keyed) {
            PixelVector<Word> hits{};
            for (const PixelVector<Word>& pixels : chunk.vectors) {
                hits |= MatchingLanes(pixels, static_cast<Word>(colorMask), static_cast<Word>(keyBits));
            }
            if (AnyLane(hits)) {
                return false;
            }
        }
        for (std::size_t k = 0; k < kChunkVectors; ++k) {
            StoreVector(to + sizeof(Word) * x + kVectorBytes * k,
                        chunk.vectors[k] & static_cast<Word>(outputMask));
        }
        return true;
    };
    const auto one = [&](std::size_t x) {
        Word pixel;
        std::memcpy(&pixel, from + sizeof(Word) * x, sizeof pixel);
        if (!keyed || (pixel & colorMask) != keyBits) {
            pixel &= static_cast<Word>(outputMask);
            std::memcpy(to + sizeof(Word) * x, &pixel, sizeof pixel);
        }
    };
    WalkChunkedRow<kChunkPixels<Word>>(ChunksKeepRowOrder(to, from, kChunkBytes), width, whole, one);
}

bool BlitRows(BlitEffect& effect) {
    GraphicHandle& source = *effect.GetSource();
    GraphicHandle& destination = *effect.GetDestination();
    const PixelFormat& fromFormat = source.GetPixelFormat();
    const PixelFormat& toFormat = destination.GetPixelFormat();
    const bool sameTag = source.GetColorTag() == destination.GetColorTag();
    const bool keyed = source.IsColorKeyEnabled();
    const Color key = keyed ? source.GetColorKey() : Color();
    const SourceColors colorOf(source);

    SurfaceLock to(destination);
    if (!to.HasMemory()) {
        return false;
    }
    SurfaceLock from(source);
    if (!from.HasMemory()) {
        return false;
    }
    const Rect& area = effect.GetSourceRect();
    const Point at(effect.GetDestinationRect().left, effect.GetDestinationRect().top);
    const auto width = static_cast<std::size_t>(std::int64_t{area.right} - area.left);
    const std::int64_t height = std::int64_t{area.bottom} - area.top;

    const std::uint32_t bytes = BytesPerPixelFromDepth(toFormat.depth);
    if (SameLayout(fromFormat, toFormat) && (toFormat.depth == 5 || toFormat.depth == 7)) {
        const std::uint32_t colorMask = toFormat.PackColor(PixelValue(0xFFFFFF));
        const std::uint32_t keyBits = fromFormat.PackColor(key.rgb);
        // A key colour that no pixel unpacks to (or of another tag) makes nothing transparent.
        const bool keyMatches = keyed && key.tag == source.GetColorTag() &&
                                fromFormat.UnpackPixel(keyBits).Rgb() == key.rgb.Rgb();
        const std::uint32_t outputMask = sameTag ? colorMask : 0;
        for (std::int64_t y = 0; y < height; ++y) {
            std::uint8_t* row = to.Row(at.y + y) + std::int64_t{at.x} * bytes;
            const std::uint8_t* sourceRow = from.Row(area.top + y) + std::int64_t{area.left} * bytes;
            if (bytes == 4) {
                CopyMaskedRow<std::uint32_t>(row, sourceRow, width, outputMask, keyMatches, colorMask,
                                             keyBits);
            } else {
                CopyMaskedRow<std::uint16_t>(row, sourceRow, width, outputMask, keyMatches, colorMask,
                                             keyBits);
            }
        }
        return true;
    }

    for (std::int64_t y = 0; y < height; ++y) {
        std::uint8_t* row = to.Row(at.y + y);
        const std::uint8_t* sourceRow = from.Row(area.top + y);
        for (std::size_t x = 0; x < width; ++x) {
            const Color color =
                colorOf(ReadPixel(sourceRow, static_cast<std::uint32_t>(area.left + x), fromFormat.depth));
            if (keyed && color == key) {
                continue;
            }
            WritePixel(row, static_cast<std::uint32_t>(at.x + x), toFormat.depth,
                       toFormat.PackColor(color.ConvertTo(destination.GetColorTag())));
        }
    }
    return true;
}

} // namespace

bool BlitGeneric(BlitEffect& effect) {
    if (effect.GetOp() != RasterOp::Copy) {
        return false;
    }
    return CanAddressDirectly(effect) ? BlitRows(effect) : BlitPixelByPixel(effect);
}

} // namespace Vemo
