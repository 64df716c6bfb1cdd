// The image handle of a BMP file: parses the file and information headers (core, version 3, 4 and 5) and
// decodes the pixels (1, 4, 8, 16, 24 and 32 bits; run-length encoded 4 and 8 bits; 16- and 32-bit bit
// fields) into the container graphic. BMP files are not written.
//
// The header reader refuses, before anything is allocated: pixel data starting beyond the file, a palette
// that is not inside the file, rows of an uncompressed image that do not fit in the file (a missing final
// padding is accepted), a negative width, and an image beyond the handle's maximum size. A negative height
// means rows stored top-down.
//
// Run-length data is cut at the row end: runs and moves that pass it lose their excess pixels (their bytes
// are still read), no row is written after the last one, and the end of the pixel data ends the image.
#pragma once

#include "engines/image/StandardImageHandle.h"
#include "engines/image/codecs/RowConverters.h"

#include <cstdint>
#include <vector>

namespace Vemo {

class StandardImageTargetWriter;

class BMPStandardImageHandle : public StandardImageHandle {
public:
    static constexpr std::uint16_t kSignature = 0x424D;

    enum Compression : std::uint32_t { kNone = 0, kRunLength8 = 1, kRunLength4 = 2, kBitFields = 3 };

    struct FileHeader {
        std::uint16_t signature = 0;
        std::uint32_t fileSize = 0;
        std::uint16_t reserved1 = 0;
        std::uint16_t reserved2 = 0;
        std::uint32_t pixelOffset = 0;
        // The first field of the information header, which tells its version.
        std::uint32_t headerSize = 0;
    };

    struct InfoHeader {
        // 40 for a core header.
        std::uint32_t headerSize = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::uint16_t planes = 0;
        std::uint16_t bitsPerPixel = 0;
        std::uint32_t compression = 0;
        std::uint32_t imageSize = 0;
        std::int32_t horizontalResolution = 0;
        std::int32_t verticalResolution = 0;
        std::uint32_t colorsUsed = 0;
        std::uint32_t colorsImportant = 0;
        // Version 4; the masks also come from the three words after a plain 40-byte header of bit fields.
        std::uint32_t redMask = 0;
        std::uint32_t greenMask = 0;
        std::uint32_t blueMask = 0;
        std::uint32_t alphaMask = 0;
        std::uint32_t colorSpace = 0;
        std::uint32_t endPoints[9] = {};
        std::uint32_t redGamma = 0;
        std::uint32_t greenGamma = 0;
        std::uint32_t blueGamma = 0;
        // Version 5.
        std::uint32_t intent = 0;
        std::uint32_t profileData = 0;
        std::uint32_t profileSize = 0;
        std::uint32_t reserved = 0;
    };

    explicit BMPStandardImageHandle(StandardImageEngine* engine);
    ~BMPStandardImageHandle() override;

    // Also frees the run-length work buffer.
    void Unload() override;
    bool Decode(bool dither, const TaggedColor* keyColor) override;
    // BMP files are not written: false.
    bool Encode() override;
    // Also frees the run-length work buffer.
    void ReleaseTarget() override;
    bool ReadHeader() override;

    // The file header and the header size from the first bytes of a file: false unless there are at least
    // 14 bytes, the signature is "BM" and the header size is 12, 40, 108 or 124.
    static bool ReadFileHeader(const std::uint8_t* data, std::uint32_t size, FileHeader& header);

    const FileHeader& GetFileHeader() const { return m_fileHeader; }
    const InfoHeader& GetInfoHeader() const { return m_info; }

private:
    bool ReadInfoHeader();
    // Reads count entries of entryBytes bytes (blue, green, red) at the offset; false when they are not
    // inside the file.
    bool ReadPalette(std::uint64_t offset, std::uint64_t count, std::uint32_t entryBytes);
    bool ChoosePixelFormat();
    bool RowsFit() const;
    // The stored row of an uncompressed image: its pixels' bytes rounded up to 4.
    std::uint32_t Stride() const;
    // The rows of the image, whichever way they are stored.
    std::uint32_t Rows() const;
    void DecodeRunLength(StandardImageTargetWriter& writer, RowConverter convert, bool fourBit);
    // The source layout of the pixels, and the writer's channel positions for packed ones; false for bit
    // fields whose masks are zero, overlap or have gaps.
    bool DescribeSource(StandardImageTargetWriter& writer, SourcePixels& source) const;

    FileHeader m_fileHeader;
    InfoHeader m_info;
    std::vector<std::uint8_t> m_runLengthRows;
};

} // namespace Vemo
