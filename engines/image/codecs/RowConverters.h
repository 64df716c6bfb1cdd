// The row converters that the codecs' decodes write their pixels with: one call converts count pixels of a
// source row, from pixel sourceX on, into a graphic row from pixel targetX on, by the writer's palette and
// channel layout. Each source layout has its converter for every graphic depth it can be written to; the
// choice is made once a decode, by the graphic's depth and pixel format.
//
// Palette indices go into indexed graphics as they are (the graphic's depth must hold them: the codecs check)
// and into direct-colour graphics through the writer's packed palette. Colour sources go into direct-colour
// graphics by their channels, packed by the graphic's channel shifts and losses, or copied or byte-swapped
// where the layouts agree; 24-bit sources into 16-bit graphics may be dithered (Floyd-Steinberg, see
// the writer's error row), keyed or not.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Vemo {

class StandardImageTargetWriter;
struct PixelFormat;

enum class SourcePixels : std::uint8_t {
    // Palette indices of 1, 4 and 8 bits.
    Index1,
    Index4,
    Index8,
    // 16- and 32-bit little-endian words whose channels lie where the writer's m_sourceChannels says.
    Packed16,
    Packed32,
    // 32-bit words as Packed32, whose bits outside the channels are padding that no pixel keeps.
    Padded32,
    // Three bytes a pixel: blue, green, red, or red, green, blue.
    Bgr24,
    Rgb24,
    // A row of red bytes, then one of green and one of blue, the writer's m_sourcePlaneBytes apart.
    Planar24,
};

using RowConverter = void (*)(StandardImageTargetWriter& writer, std::uint8_t* target, std::uint32_t targetX,
                              const std::uint8_t* source, std::uint32_t sourceX, std::uint32_t count);

// The converter from the source layout into the writer's graphic; dither asks for error diffusion, which
// only 24-bit sources into 16-bit graphics have. Null when the pair has no converter (colour sources into
// indexed graphics among them).
RowConverter ChooseRowConverter(SourcePixels source, const StandardImageTargetWriter& writer, bool dither);

// The other way, for the encoders: count direct-colour pixels of a graphic row of the format, each channel
// widened to 8 bits by the format's shifts and losses, into red, green and blue bytes that lie step bytes
// apart from one pixel to the next (3 for an interleaved row, 1 for planes).
void UnpackRow(const PixelFormat& format, const std::uint8_t* row, std::uint32_t count, std::uint8_t* red,
               std::uint8_t* green, std::uint8_t* blue, std::size_t step);

} // namespace Vemo
