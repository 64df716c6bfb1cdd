#include "engines/image/codecs/PCXStandardImageHandle.h"

#include "engines/graphics/Graphic.h"
#include "engines/image/StandardImageSourceReader.h"
#include "engines/image/StandardImageTargetWriter.h"
#include "engines/image/codecs/RowConverters.h"
#include "resources/archive/Stream.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace Vemo {

namespace {

constexpr std::uint8_t kManufacturer = 10;
constexpr std::uint8_t kVersion = 5;
constexpr std::uint8_t kRunFlag = 0xC0;
constexpr std::uint8_t kRunCountMask = 0x3F;
constexpr std::uint32_t kLongestRun = 63;

std::uint16_t Unsigned(std::int16_t value) {
    return static_cast<std::uint16_t>(value);
}

} // namespace

PCXStandardImageHandle::PCXStandardImageHandle(StandardImageEngine* engine) : StandardImageHandle(engine) {
    m_colorTag = 1;
}

PCXStandardImageHandle::~PCXStandardImageHandle() = default;

bool PCXStandardImageHandle::HasSignature(const std::uint8_t* data, std::uint32_t size) {
    return data != nullptr && size >= kHeaderBytes && data[0] == kManufacturer && data[1] == kVersion &&
           data[2] <= 1 && (data[3] == 1 || data[3] == 8);
}

void PCXStandardImageHandle::ReadFields(Stream& in) {
    std::uint16_t word = 0;
    in.ReadU8(m_header.manufacturer);
    in.ReadU8(m_header.version);
    in.ReadU8(m_header.encoding);
    in.ReadU8(m_header.bitsPerPixel);
    for (std::int16_t* bound : {&m_header.xMin, &m_header.yMin, &m_header.xMax, &m_header.yMax}) {
        in.ReadU16(word);
        *bound = static_cast<std::int16_t>(word);
    }
    in.ReadU16(m_header.horizontalResolution);
    in.ReadU16(m_header.verticalResolution);
    in.ReadBytes(m_header.colorMap, sizeof m_header.colorMap);
    in.ReadU8(m_header.reserved);
    in.ReadU8(m_header.planes);
    in.ReadU16(m_header.bytesPerLine);
    in.ReadU16(m_header.paletteInfo);
    in.ReadU16(m_header.horizontalScreenSize);
    in.ReadU16(m_header.verticalScreenSize);
    in.ReadBytes(m_header.filler, sizeof m_header.filler);
}

void PCXStandardImageHandle::WriteFields(Stream& out) const {
    out.WriteU8(m_header.manufacturer);
    out.WriteU8(m_header.version);
    out.WriteU8(m_header.encoding);
    out.WriteU8(m_header.bitsPerPixel);
    for (std::int16_t bound : {m_header.xMin, m_header.yMin, m_header.xMax, m_header.yMax}) {
        out.WriteU16(Unsigned(bound));
    }
    out.WriteU16(m_header.horizontalResolution);
    out.WriteU16(m_header.verticalResolution);
    out.WriteBytes(m_header.colorMap, sizeof m_header.colorMap);
    out.WriteU8(m_header.reserved);
    out.WriteU8(m_header.planes);
    out.WriteU16(m_header.bytesPerLine);
    out.WriteU16(m_header.paletteInfo);
    out.WriteU16(m_header.horizontalScreenSize);
    out.WriteU16(m_header.verticalScreenSize);
    out.WriteBytes(m_header.filler, sizeof m_header.filler);
}

bool PCXStandardImageHandle::ReadHeader() {
    SetPixelData(nullptr, 0);
    m_colorTag = 1;
    m_width = 0;
    m_height = 0;
    m_pixelFormat.Clear();
    FreePalette();
    const std::uint8_t* data = GetData();
    const std::uint32_t size = GetDataSize();
    if (!HasSignature(data, size)) {
        return false;
    }
    Stream in(const_cast<std::uint8_t*>(data), size, false);
    ReadFields(in);
    const std::int32_t width = std::int32_t{m_header.xMax} - m_header.xMin + 1;
    const std::int32_t height = std::int32_t{m_header.yMax} - m_header.yMin + 1;
    if (width <= 0 || height <= 0 ||
        !IsAllowedSize(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height))) {
        return false;
    }
    m_width = static_cast<std::uint32_t>(width);
    m_height = static_cast<std::uint32_t>(height);
    const bool oneBit = m_header.bitsPerPixel == 1;
    if (m_header.bytesPerLine < (oneBit ? (m_width + 7) / 8 : m_width)) {
        return false;
    }
    if (oneBit) {
        m_pixelFormat = PixelFormat(DepthCode{1});
        AllocatePalette(2);
        SetPaletteEntry(0, PixelValue(0, 0, 0));
        SetPaletteEntry(1, PixelValue(255, 255, 255));
        SetPixelData(data + kHeaderBytes, size - kHeaderBytes);
        return true;
    }
    if (m_header.planes == 3) {
        m_pixelFormat = PixelFormat(StandardPixelFormat::Rgb24);
        SetPixelData(data + kHeaderBytes, size - kHeaderBytes);
        return true;
    }
    if (m_header.planes != 1 || size < kHeaderBytes + kPaletteBlockBytes ||
        data[size - kPaletteBlockBytes] != kPaletteMarker) {
        return false;
    }
    m_pixelFormat = PixelFormat(DepthCode{4});
    AllocatePalette(256);
    const std::uint8_t* entry = data + size - kPaletteBlockBytes + 1;
    for (std::uint32_t index = 0; index < 256; ++index, entry += 3) {
        SetPaletteEntry(index, PixelValue(entry[0], entry[1], entry[2]));
    }
    SetPixelData(data + kHeaderBytes, size - kHeaderBytes - kPaletteBlockBytes);
    return true;
}

bool PCXStandardImageHandle::DecodeScanLine(Stream& in, std::uint8_t* line, std::uint32_t lineBytes,
                                            bool lineIsZero) const {
    const std::uint64_t left = in.Size() - in.Position();
    if (left == 0) {
        if (!lineIsZero) {
            std::fill(line, line + lineBytes, 0);
        }
        return true;
    }
    if (m_header.encoding == 0) {
        const auto taken = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, lineBytes));
        in.ReadBytes(line, taken);
        std::fill(line + taken, line + lineBytes, 0);
        return false;
    }
    std::uint32_t filled = 0;
    std::uint8_t byte = 0;
    while (filled < lineBytes && in.Position() < in.Size()) {
        in.ReadU8(byte);
        if ((byte & kRunFlag) != kRunFlag) {
            line[filled++] = byte;
            continue;
        }
        const std::uint32_t count = byte & kRunCountMask;
        in.ReadU8(byte);
        std::fill(line + filled, line + filled + count, byte);
        filled += count;
    }
    std::fill(line + std::min(filled, lineBytes), line + lineBytes, 0);
    return false;
}

bool PCXStandardImageHandle::Decode(bool dither, const TaggedColor* keyColor) {
    Graphic graphic;
    if (!OpenTargetGraphic(graphic)) {
        return false;
    }
    // 1 bit a pixel is read from one plane only; ReadHeader lets 8 bits through with one or three planes.
    if (m_header.bitsPerPixel == 1 && m_header.planes != 1) {
        return false;
    }
    const std::uint32_t bits = m_header.bitsPerPixel * std::uint32_t{m_header.planes};
    const bool indexed = bits != 24;
    if (indexed && !PutPaletteIntoGraphic(graphic, bits == 1 ? 1 : 4)) {
        return false;
    }
    const bool diffuse = dither && bits == 24 && graphic.GetDepth() == 5;
    StandardImageTargetWriter writer;
    if (!writer.Begin(m_width, m_height, bits, 1, &graphic, true, indexed ? GetPalette().data() : nullptr,
                      static_cast<std::uint32_t>(GetPalette().size()), diffuse)) {
        return false;
    }
    if (diffuse && keyColor != nullptr) {
        writer.m_hasKey = true;
        writer.m_key = keyColor->ConvertTo(graphic.GetColorTag());
    }
    writer.m_sourcePlaneBytes = m_header.bytesPerLine;
    const SourcePixels source = bits == 1   ? SourcePixels::Index1
                                : bits == 8 ? SourcePixels::Index8
                                            : SourcePixels::Planar24;
    const RowConverter convert = ChooseRowConverter(source, writer, diffuse);
    if (convert == nullptr) {
        return false;
    }
    const std::uint32_t lineBytes = std::uint32_t{m_header.bytesPerLine} * m_header.planes;
    std::vector<std::uint8_t> line(lineBytes + kLongestRun);
    Stream in(const_cast<std::uint8_t*>(GetPixelData()), GetPixelDataSize(), false);
    bool lineIsZero = true;
    for (std::uint32_t y = 0; y < m_height; ++y) {
        lineIsZero = DecodeScanLine(in, line.data(), lineBytes, lineIsZero);
        convert(writer, writer.Row(y), 0, line.data(), 0, m_width);
    }
    writer.End();
    return true;
}

void PCXStandardImageHandle::EncodeRow(const std::uint8_t* row, std::uint32_t count, Stream& out) {
    std::uint32_t at = 0;
    while (at < count) {
        const std::uint8_t value = row[at];
        std::uint32_t run = 1;
        while (at + run < count && run < kLongestRun && row[at + run] == value) {
            ++run;
        }
        if (run > 1 || (value & kRunFlag) == kRunFlag) {
            out.WriteU8(static_cast<std::uint8_t>(kRunFlag | run));
        }
        out.WriteU8(value);
        at += run;
    }
}

bool PCXStandardImageHandle::Encode() {
    Graphic graphic;
    if (!OpenSourceGraphic(graphic)) {
        return false;
    }
    ReleaseData(false);
    const Size size = graphic.GetSize();
    if (size.width <= 0 || size.height <= 0 || size.width > 0x8000 || size.height > 0x8000) {
        return false;
    }
    m_width = static_cast<std::uint32_t>(size.width);
    m_height = static_cast<std::uint32_t>(size.height);
    m_header.manufacturer = kManufacturer;
    m_header.version = kVersion;
    m_header.encoding = 1;
    m_header.xMin = 0;
    m_header.yMin = 0;
    m_header.xMax = static_cast<std::int16_t>(m_width - 1);
    m_header.yMax = static_cast<std::int16_t>(m_height - 1);
    m_header.paletteInfo = 1;
    const DepthCode depth = m_pixelFormat.depth != 0 ? m_pixelFormat.depth : graphic.GetDepth();
    if (depth == 1) {
        m_header.bitsPerPixel = 1;
        m_header.planes = 1;
        m_header.bytesPerLine = static_cast<std::uint16_t>((m_width + 7) / 8);
    } else if (depth >= 2 && depth <= 7) {
        m_header.bitsPerPixel = 8;
        m_header.planes = depth <= 4 ? 1 : 3;
        m_header.bytesPerLine = static_cast<std::uint16_t>(m_width);
    } else {
        return false;
    }
    // Only three-plane files are written.
    if (m_header.planes != 3) {
        return false;
    }
    const std::uint64_t capacity =
        std::uint64_t{m_height} * m_header.bytesPerLine * m_header.planes * 2 + 256;
    if (capacity > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[capacity]);
    Stream out(block.get(), capacity, false);
    WriteFields(out);
    if (!EncodePlanes(graphic, out)) {
        return false;
    }
    const auto written = static_cast<std::uint32_t>(out.Position());
    TakeEncoded(std::move(block), written);
    SetPixelData(GetData() + kHeaderBytes, written - kHeaderBytes);
    return true;
}

bool PCXStandardImageHandle::EncodePlanes(Graphic& graphic, Stream& out) {
    StandardImageSourceReader reader;
    if (!reader.Begin(m_width, m_height, 24, 1, &graphic, true)) {
        return false;
    }
    const PixelFormat& format = reader.GetFormat();
    if (format.depth < 5 || format.depth > 7) {
        return false;
    }
    const std::uint32_t width = std::min(m_width, reader.GetGraphicWidth());
    std::vector<std::uint8_t> planes(3 * static_cast<std::size_t>(m_width), 0);
    std::uint8_t* red = planes.data();
    std::uint8_t* green = red + m_width;
    std::uint8_t* blue = green + m_width;
    for (std::uint32_t y = 0; y < m_height; ++y) {
        UnpackRow(format, reader.Row(y), width, red, green, blue, 1);
        EncodeRow(planes.data(), 3 * m_width, out);
    }
    return true;
}

} // namespace Vemo
