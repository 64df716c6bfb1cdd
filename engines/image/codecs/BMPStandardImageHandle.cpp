#include "engines/image/codecs/BMPStandardImageHandle.h"

#include "engines/graphics/Graphic.h"
#include "engines/image/StandardImageTargetWriter.h"
#include "resources/archive/Stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace Vemo {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kVersion4HeaderBytes = 108;
constexpr std::uint32_t kVersion5HeaderBytes = 124;

bool IsHeaderSize(std::uint32_t size) {
    return size == kCoreHeaderBytes || size == kInfoHeaderBytes || size == kVersion4HeaderBytes ||
           size == kVersion5HeaderBytes;
}

std::int32_t Signed(std::uint32_t value) {
    return static_cast<std::int32_t>(value);
}

// A mask of one run of set bits.
bool IsContiguous(std::uint32_t mask) {
    if (mask == 0) {
        return false;
    }
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

} // namespace

BMPStandardImageHandle::BMPStandardImageHandle(StandardImageEngine* engine) : StandardImageHandle(engine) {
    m_colorTag = 1;
}

BMPStandardImageHandle::~BMPStandardImageHandle() = default;

void BMPStandardImageHandle::Unload() {
    m_runLengthRows = std::vector<std::uint8_t>();
    StandardImageHandle::Unload();
}

void BMPStandardImageHandle::ReleaseTarget() {
    m_runLengthRows = std::vector<std::uint8_t>();
    ImageHandle::ReleaseTarget();
}

bool BMPStandardImageHandle::Encode() {
    return false;
}

bool BMPStandardImageHandle::ReadFileHeader(const std::uint8_t* data, std::uint32_t size,
                                            FileHeader& header) {
    if (data == nullptr || size < kFileHeaderBytes) {
        return false;
    }
    Stream stream(const_cast<std::uint8_t*>(data), size, true);
    stream.ReadU16(header.signature);
    stream.SetBigEndian(false);
    stream.ReadU32(header.fileSize);
    stream.ReadU16(header.reserved1);
    stream.ReadU16(header.reserved2);
    stream.ReadU32(header.pixelOffset);
    stream.ReadU32(header.headerSize);
    return header.signature == kSignature && IsHeaderSize(header.headerSize);
}

bool BMPStandardImageHandle::ReadHeader() {
    SetPixelData(nullptr, 0);
    m_colorTag = 1;
    m_width = 0;
    m_height = 0;
    m_pixelFormat.Clear();
    m_fileHeader = FileHeader();
    m_info = InfoHeader();
    FreePalette();
    if (!ReadFileHeader(GetData(), GetDataSize(), m_fileHeader) || m_fileHeader.fileSize != GetDataSize() ||
        !ReadInfoHeader()) {
        return false;
    }
    if (m_info.width <= 0 || m_info.height == 0 || m_info.planes != 1 ||
        !IsAllowedSize(m_info.width, Rows())) {
        return false;
    }
    m_width = static_cast<std::uint32_t>(m_info.width);
    m_height = Rows();
    if (!ChoosePixelFormat() || m_fileHeader.pixelOffset > GetDataSize() || !RowsFit()) {
        return false;
    }
    SetPixelData(GetData() + m_fileHeader.pixelOffset, m_fileHeader.fileSize - m_fileHeader.pixelOffset);
    return true;
}

bool BMPStandardImageHandle::ReadInfoHeader() {
    Stream stream(const_cast<std::uint8_t*>(GetData()), GetDataSize(), false);
    std::uint8_t skipped[kFileHeaderBytes + 4];
    stream.ReadBytes(skipped, sizeof skipped);
    std::uint32_t word = 0;
    if (m_fileHeader.headerSize == kCoreHeaderBytes) {
        std::uint16_t width = 0;
        std::uint16_t height = 0;
        stream.ReadU16(width);
        stream.ReadU16(height);
        stream.ReadU16(m_info.planes);
        stream.ReadU16(m_info.bitsPerPixel);
        m_info.headerSize = kInfoHeaderBytes;
        m_info.width = width;
        m_info.height = height;
    } else {
        m_info.headerSize = m_fileHeader.headerSize;
        stream.ReadU32(word);
        m_info.width = Signed(word);
        stream.ReadU32(word);
        m_info.height = Signed(word);
        stream.ReadU16(m_info.planes);
        stream.ReadU16(m_info.bitsPerPixel);
        stream.ReadU32(m_info.compression);
        stream.ReadU32(m_info.imageSize);
        stream.ReadU32(word);
        m_info.horizontalResolution = Signed(word);
        stream.ReadU32(word);
        m_info.verticalResolution = Signed(word);
        stream.ReadU32(m_info.colorsUsed);
        stream.ReadU32(m_info.colorsImportant);
        // A plain header of bit fields is followed by the three masks; the later versions hold them.
        if (m_info.headerSize > kInfoHeaderBytes || m_info.compression == kBitFields) {
            stream.ReadU32(m_info.redMask);
            stream.ReadU32(m_info.greenMask);
            stream.ReadU32(m_info.blueMask);
        }
        if (m_info.headerSize > kInfoHeaderBytes) {
            stream.ReadU32(m_info.alphaMask);
            stream.ReadU32(m_info.colorSpace);
            for (std::uint32_t& point : m_info.endPoints) {
                stream.ReadU32(point);
            }
            stream.ReadU32(m_info.redGamma);
            stream.ReadU32(m_info.greenGamma);
            stream.ReadU32(m_info.blueGamma);
        }
        if (m_info.headerSize > kVersion4HeaderBytes) {
            stream.ReadU32(m_info.intent);
            stream.ReadU32(m_info.profileData);
            stream.ReadU32(m_info.profileSize);
            stream.ReadU32(m_info.reserved);
        }
    }
    // 0 bits a pixel counts as indexed too: its palette has 2^0 = 1 entry, or the colours used.
    if (m_info.bitsPerPixel > 8) {
        return true;
    }
    const bool core = m_fileHeader.headerSize == kCoreHeaderBytes;
    const std::uint64_t count =
        !core && m_info.colorsUsed != 0 ? m_info.colorsUsed : 1ull << m_info.bitsPerPixel;
    return ReadPalette(kFileHeaderBytes + m_fileHeader.headerSize, count, core ? 3 : 4);
}

bool BMPStandardImageHandle::ReadPalette(std::uint64_t offset, std::uint64_t count,
                                         std::uint32_t entryBytes) {
    if (offset + count * entryBytes > GetDataSize()) {
        return false;
    }
    const auto kept = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, 256));
    AllocatePalette(kept);
    const std::uint8_t* entry = GetData() + offset;
    for (std::uint32_t index = 0; index < kept; ++index, entry += entryBytes) {
        SetPaletteEntry(index, PixelValue(entry[2], entry[1], entry[0]));
    }
    return true;
}

std::uint32_t BMPStandardImageHandle::Rows() const {
    return m_info.height < 0 ? 0u - static_cast<std::uint32_t>(m_info.height)
                             : static_cast<std::uint32_t>(m_info.height);
}

bool BMPStandardImageHandle::ChoosePixelFormat() {
    // The pixel layouts read, and the format each sets; bit fields and 0 bits a pixel set none.
    static constexpr struct {
        std::uint16_t bits;
        std::uint32_t compression;
        StandardPixelFormat format;
    } kLayouts[] = {
        {1, kNone, StandardPixelFormat::Indexed1},       {4, kNone, StandardPixelFormat::Indexed4},
        {4, kRunLength4, StandardPixelFormat::Indexed4}, {8, kNone, StandardPixelFormat::Indexed8},
        {8, kRunLength8, StandardPixelFormat::Indexed8}, {16, kNone, StandardPixelFormat::Rgb555},
        {16, kBitFields, StandardPixelFormat::None},     {24, kNone, StandardPixelFormat::Bgr24},
        {32, kNone, StandardPixelFormat::Xbgr32},        {32, kBitFields, StandardPixelFormat::None},
    };
    if (m_info.bitsPerPixel == 0) {
        return true;
    }
    for (const auto& layout : kLayouts) {
        if (layout.bits == m_info.bitsPerPixel && layout.compression == m_info.compression) {
            m_pixelFormat = PixelFormat(layout.format);
            return true;
        }
    }
    return false;
}

std::uint32_t BMPStandardImageHandle::Stride() const {
    const DepthCode depth = DepthFromBitsPerPixel(m_info.bitsPerPixel);
    return (BytesFromPixels(m_width, depth) + 3) / 4 * 4;
}

bool BMPStandardImageHandle::RowsFit() const {
    const bool stored = m_info.compression == kNone || m_info.compression == kBitFields;
    if (!stored || m_info.bitsPerPixel == 0) {
        return true;
    }
    const std::uint64_t row = BytesFromPixels(m_width, DepthFromBitsPerPixel(m_info.bitsPerPixel));
    const std::uint64_t end =
        std::uint64_t{m_fileHeader.pixelOffset} + std::uint64_t{m_height - 1} * Stride() + row;
    return end <= GetDataSize();
}

bool BMPStandardImageHandle::DescribeSource(StandardImageTargetWriter& writer, SourcePixels& source) const {
    const bool runLength = m_info.compression == kRunLength4 || m_info.compression == kRunLength8;
    switch (m_info.bitsPerPixel) {
    case 1:
        source = SourcePixels::Index1;
        return true;
    case 4:
        source = runLength ? SourcePixels::Index8 : SourcePixels::Index4;
        return true;
    case 8:
        source = SourcePixels::Index8;
        return true;
    case 24:
        source = SourcePixels::Bgr24;
        return true;
    case 16:
    case 32:
        break;
    default:
        return false;
    }
    const bool sixteen = m_info.bitsPerPixel == 16;
    source = sixteen ? SourcePixels::Packed16 : SourcePixels::Packed32;
    if (m_info.compression != kBitFields) {
        writer.m_sourceChannels.SetMasks(sixteen ? 5 : 7, sixteen ? 0x7C00 : 0xFF0000,
                                         sixteen ? 0x3E0 : 0xFF00, sixteen ? 0x1F : 0xFF, 0, ExtraChannel());
        return true;
    }
    const std::uint32_t red = m_info.redMask;
    const std::uint32_t green = m_info.greenMask;
    const std::uint32_t blue = m_info.blueMask;
    const std::uint32_t pixelBits = sixteen ? 0xFFFFu : 0xFFFFFFFFu;
    if (!IsContiguous(red) || !IsContiguous(green) || !IsContiguous(blue) || (red & green) != 0 ||
        (red & blue) != 0 || (green & blue) != 0 || ((red | green | blue) & ~pixelBits) != 0) {
        return false;
    }
    writer.m_sourceChannels.SetMasks(sixteen ? 5 : 7, red, green, blue, 0, ExtraChannel());
    return true;
}

bool BMPStandardImageHandle::Decode(bool dither, const TaggedColor* keyColor) {
    Graphic graphic;
    if (!OpenTargetGraphic(graphic) || m_info.bitsPerPixel == 0) {
        return false;
    }
    const DepthCode depth = DepthFromBitsPerPixel(m_info.bitsPerPixel);
    const bool indexed = m_info.bitsPerPixel <= 8;
    if (indexed && !PutPaletteIntoGraphic(graphic, depth)) {
        return false;
    }
    const bool runLength = m_info.compression == kRunLength4 || m_info.compression == kRunLength8;
    const bool diffuse = dither && m_info.bitsPerPixel == 24 && graphic.GetDepth() == 5;
    StandardImageTargetWriter writer;
    if (!writer.Begin(m_width, m_height, m_info.bitsPerPixel, 1, &graphic, m_info.height < 0,
                      indexed ? GetPalette().data() : nullptr,
                      static_cast<std::uint32_t>(GetPalette().size()), diffuse)) {
        return false;
    }
    if (diffuse && keyColor != nullptr) {
        writer.m_hasKey = true;
        writer.m_key = keyColor->ConvertTo(graphic.GetColorTag());
    }
    SourcePixels source{};
    const RowConverter convert =
        DescribeSource(writer, source) ? ChooseRowConverter(source, writer, diffuse) : nullptr;
    if (convert == nullptr) {
        return false;
    }
    if (runLength) {
        DecodeRunLength(writer, convert, m_info.compression == kRunLength4);
    } else {
        const std::uint8_t* row = GetPixelData();
        const std::uint32_t stride = Stride();
        for (std::uint32_t y = 0; y < m_height; ++y, row += stride) {
            convert(writer, writer.Row(y), 0, row, 0, m_width);
        }
    }
    writer.End();
    return true;
}

void BMPStandardImageHandle::DecodeRunLength(StandardImageTargetWriter& writer, RowConverter convert,
                                             bool fourBit) {
    if (m_runLengthRows.empty()) {
        m_runLengthRows.assign(2 * static_cast<std::size_t>(m_width), 0);
    }
    const std::uint8_t* zeros = m_runLengthRows.data();
    std::uint8_t* work = m_runLengthRows.data() + m_width;
    std::fill(work, work + m_width, 0);
    Stream in(const_cast<std::uint8_t*>(GetPixelData()), GetPixelDataSize(), false);
    std::uint32_t row = 0;
    std::uint32_t x = 0;
    const auto put = [&](std::uint8_t index) {
        if (x < m_width) {
            work[x++] = index;
        }
    };
    const auto advance = [&](std::uint32_t columns) { x = std::min(m_width, x + columns); };
    const auto writeRow = [&](const std::uint8_t* line) {
        if (row < m_height) {
            convert(writer, writer.Row(row++), 0, line, 0, m_width);
        }
    };
    const auto finishRow = [&] {
        writeRow(work);
        std::fill(work, work + m_width, 0);
        x = 0;
    };
    std::uint8_t count = 0;
    std::uint8_t value = 0;
    while (row < m_height && in.Position() < in.Size()) {
        in.ReadU8(count);
        in.ReadU8(value);
        if (count != 0) {
            for (std::uint32_t i = 0; i < count; ++i) {
                put(fourBit ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
            }
            continue;
        }
        if (value == 0) {
            finishRow();
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            std::uint8_t columns = 0;
            std::uint8_t rows = 0;
            in.ReadU8(columns);
            in.ReadU8(rows);
            if (rows != 0) {
                finishRow();
                for (std::uint32_t i = 1; i < rows; ++i) {
                    writeRow(zeros);
                }
            }
            advance(columns);
        } else {
            std::uint8_t byte = 0;
            for (std::uint32_t i = 0; i < value; ++i) {
                if (!fourBit || i % 2 == 0) {
                    in.ReadU8(byte);
                }
                put(fourBit ? (i % 2 == 0 ? byte >> 4 : byte & 0xF) : byte);
            }
            if (in.Position() % 2 != 0) {
                in.ReadU8(byte);
            }
        }
    }
    // The end of the image, by its escape or by the end of the data: the row begun, then zeros.
    finishRow();
    while (row < m_height) {
        writeRow(zeros);
    }
}

} // namespace Vemo
