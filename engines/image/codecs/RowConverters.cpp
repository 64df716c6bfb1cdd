#include "engines/image/codecs/RowConverters.h"

#include "engines/graphics/PixelAccess.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/image/StandardImageTargetWriter.h"

#include <algorithm>
#include <bit>
#include <cstring>

// The loops that every large picture runs through are also built for AVX2, chosen when the program starts on
// a processor that has it.
#if defined(__x86_64__) && defined(__linux__)
#define VEMO_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VEMO_VECTOR_CLONES
#endif

namespace Vemo {

namespace {

struct Channels {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

constexpr bool IsThreeByteSource(SourcePixels source) {
    return source == SourcePixels::Bgr24 || source == SourcePixels::Rgb24 || source == SourcePixels::Planar24;
}

template <SourcePixels Source>
Channels ReadChannels(const StandardImageTargetWriter& writer, const std::uint8_t* row, std::uint32_t x) {
    if constexpr (Source == SourcePixels::Bgr24) {
        const std::uint8_t* pixel = row + 3 * static_cast<std::size_t>(x);
        return {pixel[2], pixel[1], pixel[0]};
    } else if constexpr (Source == SourcePixels::Rgb24) {
        const std::uint8_t* pixel = row + 3 * static_cast<std::size_t>(x);
        return {pixel[0], pixel[1], pixel[2]};
    } else if constexpr (Source == SourcePixels::Planar24) {
        const std::size_t plane = writer.m_sourcePlaneBytes;
        return {row[x], row[x + plane], row[x + 2 * plane]};
    } else {
        constexpr DepthCode kDepth = Source == SourcePixels::Packed16 ? 5 : 7;
        const PixelValue color = writer.m_sourceChannels.UnpackPixel(ReadPixel(row, x, kDepth));
        return {color.Red(), color.Green(), color.Blue()};
    }
}

template <std::uint32_t Bytes>
void StorePixel(std::uint8_t* row, std::uint32_t x, std::uint32_t pixel) {
    std::uint8_t* at = row + Bytes * static_cast<std::size_t>(x);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(at, &pixel, Bytes);
    } else {
        for (std::uint32_t byte = 0; byte < Bytes; ++byte) {
            at[byte] = static_cast<std::uint8_t>(pixel >> (8 * byte));
        }
    }
}

std::uint32_t Pack(const PixelFormat& format, Channels color) {
    return format.PackColor(PixelValue(color.red, color.green, color.blue));
}

template <DepthCode Depth>
std::uint32_t ReadIndex(const std::uint8_t* row, std::uint32_t x) {
    if constexpr (Depth == 4) {
        return row[x];
    } else {
        return ReadPixel(row, x, Depth);
    }
}

template <std::uint32_t Bytes>
void CopyPixels(StandardImageTargetWriter&, std::uint8_t* target, std::uint32_t targetX,
                const std::uint8_t* source, std::uint32_t sourceX, std::uint32_t count) {
    std::memcpy(target + Bytes * static_cast<std::size_t>(targetX),
                source + Bytes * static_cast<std::size_t>(sourceX), Bytes * static_cast<std::size_t>(count));
}

// The first and third bytes of each pixel exchanged: five 3-byte pixels at a time in a 16-byte vector where
// the compiler has byte shuffles, then four at a time as three words.
VEMO_VECTOR_CLONES void SwapFirstAndThird3(StandardImageTargetWriter&, std::uint8_t* target,
                                           std::uint32_t targetX, const std::uint8_t* source,
                                           std::uint32_t sourceX, std::uint32_t count) {
    std::uint8_t* to = target + 3 * static_cast<std::size_t>(targetX);
    const std::uint8_t* from = source + 3 * static_cast<std::size_t>(sourceX);
    std::uint32_t i = 0;
#if defined(__has_builtin)
#if __has_builtin(__builtin_shufflevector)
    typedef std::uint8_t Sixteen __attribute__((vector_size(16)));
    // Each step reads and writes the first byte of a sixth pixel as well, unchanged, so a sixth must exist;
    // the row may be converted in place, as every byte is read before it is written.
    for (; i + 6 <= count; i += 5, to += 15, from += 15) {
        Sixteen pixels;
        std::memcpy(&pixels, from, sizeof pixels);
        const Sixteen swapped =
            __builtin_shufflevector(pixels, pixels, 2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
        std::memcpy(to, &swapped, sizeof swapped);
    }
#endif
#endif
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 4 <= count; i += 4, to += 12, from += 12) {
            // Each word moved on its own: a copy of several words through a buffer stalls on forwarding.
            std::uint32_t first = 0;
            std::uint32_t second = 0;
            std::uint32_t third = 0;
            std::memcpy(&first, from, 4);
            std::memcpy(&second, from + 4, 4);
            std::memcpy(&third, from + 8, 4);
            const std::uint32_t swappedFirst =
                (first >> 16 & 0xFF) | (first & 0xFF00) | (first & 0xFF) << 16 | (second >> 8 & 0xFF) << 24;
            const std::uint32_t swappedSecond =
                (second & 0xFF) | (first >> 24) << 8 | (third & 0xFF) << 16 | (second & 0xFF000000u);
            const std::uint32_t swappedThird =
                (second >> 16 & 0xFF) | (third >> 24) << 8 | (third & 0xFF0000) | (third >> 8 & 0xFF) << 24;
            std::memcpy(to, &swappedFirst, 4);
            std::memcpy(to + 4, &swappedSecond, 4);
            std::memcpy(to + 8, &swappedThird, 4);
        }
    }
    for (; i < count; ++i, to += 3, from += 3) {
        const std::uint8_t first = from[0];
        to[0] = from[2];
        to[1] = from[1];
        to[2] = first;
    }
}

// The first and third bytes of each 4-byte pixel exchanged, the fourth kept.
void SwapFirstAndThird4(StandardImageTargetWriter&, std::uint8_t* target, std::uint32_t targetX,
                        const std::uint8_t* source, std::uint32_t sourceX, std::uint32_t count) {
    std::uint8_t* to = target + 4 * static_cast<std::size_t>(targetX);
    const std::uint8_t* from = source + 4 * static_cast<std::size_t>(sourceX);
    for (std::uint32_t i = 0; i < count; ++i, to += 4, from += 4) {
        const std::uint8_t first = from[0];
        to[0] = from[2];
        to[1] = from[1];
        to[2] = first;
        to[3] = from[3];
    }
}

// Whole 32-bit pixels whose padding bits (outside the graphic's channels) are cleared.
VEMO_VECTOR_CLONES void CopyWithoutPadding(StandardImageTargetWriter& writer, std::uint8_t* target,
                                           std::uint32_t targetX, const std::uint8_t* source,
                                           std::uint32_t sourceX, std::uint32_t count) {
    const PixelFormat& format = writer.GetFormat();
    const std::uint32_t channels = format.redMask | format.greenMask | format.blueMask;
    std::uint8_t* to = target + 4 * static_cast<std::size_t>(targetX);
    const std::uint8_t* from = source + 4 * static_cast<std::size_t>(sourceX);
    for (std::uint32_t i = 0; i < count; ++i, to += 4, from += 4) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, from, 4);
        pixel &= channels;
        std::memcpy(to, &pixel, 4);
    }
}

// Each channel through the writer's table of its packed values.
template <SourcePixels Source, std::uint32_t Bytes>
void ByChannels(StandardImageTargetWriter& writer, std::uint8_t* target, std::uint32_t targetX,
                const std::uint8_t* source, std::uint32_t sourceX, std::uint32_t count) {
    const std::uint32_t* red = writer.m_redBits.data();
    const std::uint32_t* green = writer.m_greenBits.data();
    const std::uint32_t* blue = writer.m_blueBits.data();
    for (std::uint32_t i = 0; i < count; ++i) {
        const Channels color = ReadChannels<Source>(writer, source, sourceX + i);
        StorePixel<Bytes>(target, targetX + i, red[color.red] | green[color.green] | blue[color.blue]);
    }
}

template <DepthCode SourceDepth, std::uint32_t Bytes>
void LookUp(StandardImageTargetWriter& writer, std::uint8_t* target, std::uint32_t targetX,
            const std::uint8_t* source, std::uint32_t sourceX, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        StorePixel<Bytes>(target, targetX + i, writer.m_palette[ReadIndex<SourceDepth>(source, sourceX + i)]);
    }
}

template <DepthCode SourceDepth>
void IndexToIndex(StandardImageTargetWriter& writer, std::uint8_t* target, std::uint32_t targetX,
                  const std::uint8_t* source, std::uint32_t sourceX, std::uint32_t count) {
    const DepthCode depth = writer.GetFormat().depth;
    for (std::uint32_t i = 0; i < count; ++i) {
        WritePixel(target, targetX + i, depth, ReadIndex<SourceDepth>(source, sourceX + i));
    }
}

// Floyd-Steinberg error diffusion into 16-bit pixels. The carried errors of a pixel are sums of 16 times
// the errors spread to it; a channel takes (sum + 8) >> 4 of them, and its error is what the graphic's
// channel drops of the result. Rows alternate direction. A pixel of the key colour is packed as it is,
// takes nothing and spreads nothing.
template <SourcePixels Source>
void Diffuse(StandardImageTargetWriter& writer, std::uint8_t* target, std::uint32_t targetX,
             const std::uint8_t* source, std::uint32_t sourceX, std::uint32_t count) {
    const PixelFormat& format = writer.GetFormat();
    const std::uint8_t losses[3] = {format.blueLoss, format.greenLoss, format.redLoss};
    std::int32_t dropped[3];
    for (int channel = 0; channel < 3; ++channel) {
        dropped[channel] =
            losses[channel] >= 8 ? (losses[channel] == 8 ? 0xFF : 0) : (1 << losses[channel]) - 1;
    }
    std::int32_t* errors = writer.m_errorRow.data() + 3;
    std::fill(errors - 3, errors, 0);
    std::fill(errors + 3 * static_cast<std::ptrdiff_t>(count),
              errors + 3 * static_cast<std::ptrdiff_t>(count) + 3, 0);
    const bool forward = writer.m_ditheredRows++ % 2 == 0;
    const std::ptrdiff_t direction = forward ? 1 : -1;
    std::int32_t carried[3] = {0, 0, 0};
    std::int32_t ahead[3] = {0, 0, 0};
    for (std::uint32_t step = 0; step < count; ++step) {
        const std::uint32_t x = forward ? step : count - 1 - step;
        std::int32_t* here = errors + 3 * static_cast<std::ptrdiff_t>(x);
        std::int32_t* behind = here - 3 * direction;
        const Channels color = ReadChannels<Source>(writer, source, sourceX + x);
        if (writer.m_hasKey && color.red == writer.m_key.Red() && color.green == writer.m_key.Green() &&
            color.blue == writer.m_key.Blue()) {
            StorePixel<2>(target, targetX + x, Pack(format, color));
            for (int channel = 0; channel < 3; ++channel) {
                here[channel] = ahead[channel];
                carried[channel] = 0;
                ahead[channel] = 0;
            }
            continue;
        }
        const std::uint8_t values[3] = {color.blue, color.green, color.red};
        std::uint8_t out[3];
        for (int channel = 0; channel < 3; ++channel) {
            const std::int32_t sum = here[channel] + carried[channel];
            const std::int32_t value = std::min(255, values[channel] + ((sum + 8) >> 4));
            const std::int32_t error = value & dropped[channel];
            out[channel] = static_cast<std::uint8_t>(value);
            carried[channel] = 7 * error;
            behind[channel] += 3 * error;
            here[channel] = 5 * error + ahead[channel];
            ahead[channel] = error;
        }
        StorePixel<2>(target, targetX + x, Pack(format, {out[2], out[1], out[0]}));
    }
}

// Whether packed source pixels can be copied as they are: the same red, green and blue channels, and no
// alpha in the graphic for the source's spare bits to land in.
bool SameChannels(const PixelFormat& source, const PixelFormat& target) {
    return source.redShift == target.redShift && source.greenShift == target.greenShift &&
           source.blueShift == target.blueShift && source.redLoss == target.redLoss &&
           source.greenLoss == target.greenLoss && source.blueLoss == target.blueLoss &&
           target.alphaMask == 0;
}

template <DepthCode SourceDepth>
RowConverter ForIndices(const PixelFormat& format) {
    switch (format.depth) {
    case 1:
    case 2:
    case 3:
        return IndexToIndex<SourceDepth>;
    case 4:
        return SourceDepth == 4 ? CopyPixels<1> : IndexToIndex<SourceDepth>;
    case 5:
        return LookUp<SourceDepth, 2>;
    case 6:
        return LookUp<SourceDepth, 3>;
    case 7:
        return LookUp<SourceDepth, 4>;
    default:
        return nullptr;
    }
}

template <SourcePixels Source>
RowConverter Into16(const StandardImageTargetWriter& writer, bool dither) {
    if constexpr (IsThreeByteSource(Source)) {
        if (dither) {
            return Diffuse<Source>;
        }
    }
    if (Source == SourcePixels::Packed16 && SameChannels(writer.m_sourceChannels, writer.GetFormat())) {
        return CopyPixels<2>;
    }
    return ByChannels<Source, 2>;
}

template <SourcePixels Source>
RowConverter Into24(const StandardImageTargetWriter& writer) {
    const StandardPixelFormat number = writer.GetFormat().format;
    if constexpr (Source == SourcePixels::Bgr24 || Source == SourcePixels::Rgb24) {
        // Format 9 stores blue, green, red; format 10 red, green, blue.
        const StandardPixelFormat same =
            Source == SourcePixels::Bgr24 ? StandardPixelFormat::Rgb24 : StandardPixelFormat::Bgr24;
        const StandardPixelFormat swapped =
            Source == SourcePixels::Bgr24 ? StandardPixelFormat::Bgr24 : StandardPixelFormat::Rgb24;
        if (number == same) {
            return CopyPixels<3>;
        }
        if (number == swapped) {
            return SwapFirstAndThird3;
        }
    }
    return ByChannels<Source, 3>;
}

template <SourcePixels Source>
RowConverter Into32(const StandardImageTargetWriter& writer) {
    const PixelFormat& channels = writer.m_sourceChannels;
    if constexpr (Source == SourcePixels::Packed32) {
        if (SameChannels(channels, writer.GetFormat())) {
            return CopyPixels<4>;
        }
        if (channels.format == StandardPixelFormat::Xrgb32 &&
            writer.GetFormat().format == StandardPixelFormat::Xbgr32) {
            return SwapFirstAndThird4;
        }
    }
    if constexpr (Source == SourcePixels::Padded32) {
        if (SameChannels(channels, writer.GetFormat())) {
            return CopyWithoutPadding;
        }
    }
    return ByChannels<Source, 4>;
}

template <SourcePixels Source>
RowConverter ForColors(const StandardImageTargetWriter& writer, bool dither) {
    switch (writer.GetFormat().depth) {
    case 5:
        return Into16<Source>(writer, dither);
    case 6:
        return Into24<Source>(writer);
    case 7:
        return Into32<Source>(writer);
    default:
        return nullptr;
    }
}

} // namespace

RowConverter ChooseRowConverter(SourcePixels source, const StandardImageTargetWriter& writer, bool dither) {
    switch (source) {
    case SourcePixels::Index1:
        return ForIndices<1>(writer.GetFormat());
    case SourcePixels::Index4:
        return ForIndices<3>(writer.GetFormat());
    case SourcePixels::Index8:
        return ForIndices<4>(writer.GetFormat());
    case SourcePixels::Packed16:
        return ForColors<SourcePixels::Packed16>(writer, dither);
    case SourcePixels::Packed32:
        return ForColors<SourcePixels::Packed32>(writer, dither);
    case SourcePixels::Padded32:
        return ForColors<SourcePixels::Padded32>(writer, dither);
    case SourcePixels::Bgr24:
        return ForColors<SourcePixels::Bgr24>(writer, dither);
    case SourcePixels::Rgb24:
        return ForColors<SourcePixels::Rgb24>(writer, dither);
    case SourcePixels::Planar24:
        return ForColors<SourcePixels::Planar24>(writer, dither);
    }
    return nullptr;
}

void UnpackRow(const PixelFormat& format, const std::uint8_t* row, std::uint32_t count, std::uint8_t* red,
               std::uint8_t* green, std::uint8_t* blue, std::size_t step) {
    for (std::uint32_t x = 0; x < count; ++x) {
        const PixelValue color = format.UnpackPixel(ReadPixel(row, x, format.depth));
        red[x * step] = color.Red();
        green[x * step] = color.Green();
        blue[x * step] = color.Blue();
    }
}

} // namespace Vemo
