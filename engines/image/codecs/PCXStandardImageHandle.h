// The image handle of a PCX version 5 file: parses the 128-byte header, decodes 1-bit single-plane
// (black and white), 8-bit palette and 24-bit three-plane files, run-length encoded or raw, into the
// container graphic, and encodes the container graphic as a 24-bit three-plane run-length encoded file.
//
// The header reader refuses bounds whose maximum lies below their minimum, a line shorter than a row of the
// width, an 8-bit single-plane file too short for its palette block (128 + 769 bytes at least), and an image
// beyond the handle's maximum size. The pixels of an 8-bit single-plane file end before its palette marker.
#pragma once

#include "engines/image/StandardImageHandle.h"

#include <cstdint>

namespace Vemo {

class Stream;

class PCXStandardImageHandle : public StandardImageHandle {
public:
    static constexpr std::uint32_t kHeaderBytes = 128;
    // The marker byte and 256 red, green, blue triples that end an 8-bit single-plane file.
    static constexpr std::uint32_t kPaletteBlockBytes = 769;
    static constexpr std::uint8_t kPaletteMarker = 12;

    // The header, in file order.
    struct Header {
        std::uint8_t manufacturer = 10;
        std::uint8_t version = 5;
        std::uint8_t encoding = 1;
        std::uint8_t bitsPerPixel = 0;
        std::int16_t xMin = 0;
        std::int16_t yMin = 0;
        std::int16_t xMax = 0;
        std::int16_t yMax = 0;
        std::uint16_t horizontalResolution = 0;
        std::uint16_t verticalResolution = 0;
        std::uint8_t colorMap[48] = {};
        std::uint8_t reserved = 0;
        std::uint8_t planes = 0;
        std::uint16_t bytesPerLine = 0;
        std::uint16_t paletteInfo = 1;
        std::uint16_t horizontalScreenSize = 0;
        std::uint16_t verticalScreenSize = 0;
        std::uint8_t filler[54] = {};
    };

    explicit PCXStandardImageHandle(StandardImageEngine* engine);
    ~PCXStandardImageHandle() override;

    bool Decode(bool dither, const TaggedColor* keyColor) override;
    // Writes the container graphic into a block of this handle's own; a failed encode leaves the handle
    // without encoded bytes.
    bool Encode() override;
    bool ReadHeader() override;

    // Whether the first bytes of a file are a PCX header this codec reads: at least 128 of them, manufacturer
    // 10, version 5, encoding 0 or 1, 1 or 8 bits per pixel.
    static bool HasSignature(const std::uint8_t* data, std::uint32_t size);
    // One row of bytes, run-length encoded, appended to the stream: runs of up to 63 equal bytes as 192 +
    // count and the byte, a single byte below 192 as itself.
    static void EncodeRow(const std::uint8_t* row, std::uint32_t count, Stream& out);

    const Header& GetHeader() const { return m_header; }

private:
    void ReadFields(Stream& in);
    void WriteFields(Stream& out) const;
    // One scan line (bytes per line times planes) into line, from the stream: run-length decoded, or raw
    // with encoding 0. A run that passes the end of the line ends in the spare bytes behind it. What the data
    // does not hold is 0. Whether the line is all zeros because the data had ended: such a line is not
    // filled again (a line may be far longer than a row of the width).
    bool DecodeScanLine(Stream& in, std::uint8_t* line, std::uint32_t lineBytes, bool lineIsZero) const;
    bool EncodePlanes(Graphic& graphic, Stream& out);

    Header m_header;
};

} // namespace Vemo
