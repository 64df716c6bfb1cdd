// Small BMP and PCX files for the tests and the fuzz seeds, written from the formats' tables:
//
//     BmpFile bmp;
//     bmp.width = 3;
//     bmp.height = 2;
//     bmp.bits = 24;
//     bmp.pixels = PackBmpRows({{0x0000FF, 0x00FF00, 0xFF0000}, {0, 0, 0}}, 24);
//     std::vector<std::uint8_t> bytes = bmp.Encode();
//
// Pixel values of the rows are what the format stores: palette indices, or 16-, 24- and 32-bit words whose
// bytes are written least significant first.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace VemoTest {

using Bytes = std::vector<std::uint8_t>;
// Pixel values or colour words, row by row.
using Picture = std::vector<std::vector<std::uint32_t>>;

inline void PutU16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutU32(Bytes& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// Rows of pixel values packed as a BMP stores them: sub-byte pixels from the high bits, every row padded
// to 4 bytes (unless pad is false).
inline Bytes PackBmpRows(const Picture& rows, std::uint32_t bits, bool pad = true) {
    Bytes out;
    for (const auto& row : rows) {
        const std::size_t start = out.size();
        if (bits < 8) {
            std::uint32_t accumulated = 0;
            std::uint32_t filled = 0;
            for (std::uint32_t value : row) {
                accumulated = accumulated << bits | value;
                filled += bits;
                if (filled == 8) {
                    out.push_back(static_cast<std::uint8_t>(accumulated));
                    accumulated = 0;
                    filled = 0;
                }
            }
            if (filled != 0) {
                out.push_back(static_cast<std::uint8_t>(accumulated << (8 - filled)));
            }
        } else {
            for (std::uint32_t value : row) {
                for (std::uint32_t byte = 0; byte < bits / 8; ++byte) {
                    out.push_back(static_cast<std::uint8_t>(value >> (8 * byte)));
                }
            }
        }
        while (pad && (out.size() - start) % 4 != 0) {
            out.push_back(0);
        }
    }
    return out;
}

struct BmpFile {
    // 12 (core), 40, 108 or 124.
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    // Colour words, red in the low byte; written blue, green, red (and a zero byte unless core).
    std::vector<std::uint32_t> palette;
    // Bit-field masks: after a 40-byte header, else inside the later headers.
    std::uint32_t masks[3] = {0, 0, 0};
    Bytes pixels;
    // Replace the computed fields when set.
    std::int64_t pixelOffset = -1;
    std::int64_t fileSize = -1;

    Bytes Encode() const {
        Bytes header;
        const bool core = headerSize == 12;
        if (core) {
            PutU16(header, static_cast<std::uint32_t>(width));
            PutU16(header, static_cast<std::uint32_t>(height));
            PutU16(header, planes);
            PutU16(header, bits);
        } else {
            PutU32(header, static_cast<std::uint32_t>(width));
            PutU32(header, static_cast<std::uint32_t>(height));
            PutU16(header, planes);
            PutU16(header, bits);
            PutU32(header, compression);
            PutU32(header, static_cast<std::uint32_t>(pixels.size()));
            PutU32(header, 2835);
            PutU32(header, 2835);
            PutU32(header, colorsUsed);
            PutU32(header, 0);
            if (headerSize > 40) {
                for (std::uint32_t mask : masks) {
                    PutU32(header, mask);
                }
            }
            while (header.size() + 4 < headerSize) {
                PutU32(header, 0);
            }
        }
        Bytes extra;
        if (!core && headerSize == 40 && compression == 3) {
            for (std::uint32_t mask : masks) {
                PutU32(extra, mask);
            }
        }
        for (std::uint32_t color : palette) {
            extra.push_back(static_cast<std::uint8_t>(color >> 16));
            extra.push_back(static_cast<std::uint8_t>(color >> 8));
            extra.push_back(static_cast<std::uint8_t>(color));
            if (!core) {
                extra.push_back(0);
            }
        }
        const std::uint32_t offset = 14 + headerSize + static_cast<std::uint32_t>(extra.size());
        const std::uint32_t size = offset + static_cast<std::uint32_t>(pixels.size());
        Bytes out{'B', 'M'};
        PutU32(out, fileSize >= 0 ? static_cast<std::uint32_t>(fileSize) : size);
        PutU32(out, 0);
        PutU32(out, pixelOffset >= 0 ? static_cast<std::uint32_t>(pixelOffset) : offset);
        PutU32(out, headerSize);
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), extra.begin(), extra.end());
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

struct PcxFile {
    std::uint8_t version = 5;
    std::uint8_t encoding = 1;
    std::uint8_t bits = 8;
    std::int16_t xMin = 0;
    std::int16_t yMin = 0;
    std::int16_t xMax = 0;
    std::int16_t yMax = 0;
    std::uint8_t planes = 1;
    std::uint16_t bytesPerLine = 0;
    // The encoded scan lines, as they follow the header.
    Bytes data;
    // 256 colour words (red in the low byte) for an 8-bit single-plane file; appended after the marker 12
    // when not empty.
    std::vector<std::uint32_t> palette;

    Bytes Encode() const {
        Bytes out{10, version, encoding, bits};
        for (std::int16_t bound : {xMin, yMin, xMax, yMax}) {
            PutU16(out, static_cast<std::uint16_t>(bound));
        }
        PutU16(out, 72);
        PutU16(out, 72);
        out.resize(out.size() + 48, 0);
        out.push_back(0);
        out.push_back(planes);
        PutU16(out, bytesPerLine);
        PutU16(out, 1);
        out.resize(128, 0);
        out.insert(out.end(), data.begin(), data.end());
        if (!palette.empty()) {
            out.push_back(12);
            for (std::uint32_t color : palette) {
                out.push_back(static_cast<std::uint8_t>(color));
                out.push_back(static_cast<std::uint8_t>(color >> 8));
                out.push_back(static_cast<std::uint8_t>(color >> 16));
            }
        }
        return out;
    }
};

// Scan-line bytes as literals, each byte of 192 or more as a run of one.
inline Bytes PcxLiterals(const Bytes& line) {
    Bytes out;
    for (std::uint8_t byte : line) {
        if (byte >= 192) {
            out.push_back(193);
        }
        out.push_back(byte);
    }
    return out;
}

} // namespace VemoTest
