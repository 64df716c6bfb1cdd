#include "engines/image/codecs/JPEGStandardImageHandle.h"

#include "engines/graphics/Graphic.h"
#include "engines/image/StandardImageSourceReader.h"
#include "engines/image/StandardImageTargetWriter.h"
#include "engines/image/codecs/JCompress.h"
#include "engines/image/codecs/JDecompress.h"
#include "engines/image/codecs/JErrorManager.h"
#include "engines/image/codecs/MemDestinationManager.h"
#include "engines/image/codecs/MemSourceManager.h"
#include "engines/image/codecs/RowConverters.h"
#include "engines/image/codecs/ScanLimitProgressManager.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Vemo {

namespace {

constexpr int kQuality = 100;
// libjpeg-turbo writes a row that starts on a 32-byte boundary with stores that bypass the cache, and the
// converter reads the row back at once: the row libjpeg decodes into starts this far into the block it gets.
constexpr JDIMENSION kRowShift = 16;

// How colour rows go into the graphic: the libjpeg output, the rows' layout for the converter, and whether
// libjpeg writes them into the graphic's rows itself (they are the graphic's pixels as they are).
struct ColourOutput {
    J_COLOR_SPACE space = JCS_RGB;
    SourcePixels pixels = SourcePixels::Rgb24;
    bool inPlace = false;
};

// The graphic's own byte order where libjpeg writes it (formats 9 to 12; the 32-bit ones with a padding byte
// that the converter clears), else RGB rows for the channel converter. Sets the writer's source channels for
// padded rows.
ColourOutput OutputFor(const PixelFormat& format, StandardImageTargetWriter& writer) {
    ColourOutput output;
    switch (format.format) {
    case StandardPixelFormat::Bgr24:
        output.inPlace = true;
        break;
#ifdef JCS_EXTENSIONS
    case StandardPixelFormat::Rgb24:
        output.space = JCS_EXT_BGR;
        output.pixels = SourcePixels::Bgr24;
        output.inPlace = true;
        break;
    case StandardPixelFormat::Xrgb32:
    case StandardPixelFormat::Xbgr32:
        output.space = format.format == StandardPixelFormat::Xrgb32 ? JCS_EXT_BGRX : JCS_EXT_RGBX;
        output.pixels = SourcePixels::Padded32;
        writer.m_sourceChannels = PixelFormat(format.format);
        break;
#endif
    default:
        break;
    }
    return output;
}

// Where the rows that libjpeg decodes go: into the graphic's rows themselves, or into the buffer and from
// there through the converter.
struct RowPlacement {
    bool inPlace;
    JSAMPROW buffer;
};

// Decodes rows into the writer's graphic until the image ends or libjpeg warns that the data ended inside the
// scan; a row made up past that end is not shown. The rows converted.
std::uint32_t ReadRows(JErrorManager& errors, jpeg_decompress_struct& record,
                       StandardImageTargetWriter& writer, RowConverter convert,
                       const RowPlacement& placement) {
    const std::size_t rowBytes = static_cast<std::size_t>(record.output_width) * record.output_components;
    std::uint32_t rows = 0;
    while (record.output_scanline < record.output_height) {
        JSAMPROW row = placement.inPlace ? writer.Row(rows) : placement.buffer;
        if (jpeg_read_scanlines(&record, &row, 1) != 1) {
            break;
        }
        if (errors.HitEndOfData()) {
            if (placement.inPlace) {
                std::memset(row, 0, rowBytes);
            }
            break;
        }
        if (!placement.inPlace) {
            convert(writer, writer.Row(rows), 0, row, 0, record.output_width);
        }
        ++rows;
    }
    return rows;
}

} // namespace

JPEGStandardImageHandle::JPEGStandardImageHandle(StandardImageEngine* engine) : StandardImageHandle(engine) {
    m_colorTag = 1;
}

JPEGStandardImageHandle::~JPEGStandardImageHandle() = default;

bool JPEGStandardImageHandle::ReadHeader() {
    SetPixelData(nullptr, 0);
    m_colorTag = 1;
    m_width = 0;
    m_height = 0;
    if (GetData() == nullptr) {
        return false;
    }
    JErrorManager errors;
    MemSourceManager source(GetData(), GetDataSize());
    JDecompress decompressor(source, errors, nullptr);
    int found = 0;
    const bool read = errors.Guard([&] {
        decompressor.Create();
        found = jpeg_read_header(&decompressor.m_record, kJpegTrue);
    });
    if (!read || found != JPEG_HEADER_OK ||
        !IsAllowedSize(decompressor.m_record.image_width, decompressor.m_record.image_height)) {
        return false;
    }
    m_width = decompressor.m_record.image_width;
    m_height = decompressor.m_record.image_height;
    SetPixelData(GetData(), GetDataSize());
    return true;
}

bool JPEGStandardImageHandle::Decode(bool dither, const TaggedColor* keyColor) {
    Graphic graphic;
    if (!OpenTargetGraphic(graphic)) {
        return false;
    }
    JErrorManager errors;
    ScanLimitProgressManager progress;
    MemSourceManager source(GetPixelData(), GetPixelDataSize());
    JDecompress decompressor(source, errors, &progress);
    jpeg_decompress_struct& record = decompressor.m_record;
    int found = 0;
    if (!errors.Guard([&] {
            decompressor.Create();
            found = jpeg_read_header(&record, kJpegTrue);
        }) ||
        found != JPEG_HEADER_OK) {
        return false;
    }
    const bool colour = record.out_color_space == JCS_RGB && record.num_components == 3;
    const bool diffuse = colour && dither && graphic.GetDepth() == 5;
    StandardImageTargetWriter writer;
    const ColourOutput output =
        colour && !diffuse ? OutputFor(graphic.GetPixelFormat(), writer) : ColourOutput();
    if (colour) {
        record.out_color_space = output.space;
    }
    JSAMPARRAY buffer = nullptr;
    if (!errors.Guard([&] {
            jpeg_start_decompress(&record);
            buffer =
                (*record.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&record), JPOOL_IMAGE,
                                            record.output_width * record.output_components + kRowShift, 1);
        }) ||
        record.output_width != m_width || record.output_height != m_height) {
        return false;
    }
    const RowConverter convert =
        BeginRows(record.output_components, colour ? output.pixels : SourcePixels::Index8, diffuse, keyColor,
                  graphic, writer);
    if (convert == nullptr) {
        return false;
    }
    const RowPlacement placement = {colour && output.inPlace, buffer[0] + kRowShift};
    std::uint32_t rows = 0;
    const bool read = errors.Guard([&] { rows = ReadRows(errors, record, writer, convert, placement); });
    writer.End();
    return read && rows == m_height && errors.Guard([&] { jpeg_finish_decompress(&record); });
}

RowConverter JPEGStandardImageHandle::BeginRows(int components, SourcePixels pixels, bool diffuse,
                                                const TaggedColor* keyColor, Graphic& graphic,
                                                StandardImageTargetWriter& writer) {
    if (components == 1) {
        AllocatePalette(256);
        for (std::uint32_t level = 0; level < 256; ++level) {
            SetPaletteEntry(level, PixelValue(level, level, level));
        }
        if (!PutPaletteIntoGraphic(graphic, 4) ||
            !writer.Begin(m_width, m_height, 8, 1, &graphic, true, GetPalette().data(), 256, false)) {
            return nullptr;
        }
    } else if (pixels == SourcePixels::Index8 ||
               !writer.Begin(m_width, m_height, 24, 1, &graphic, true, nullptr, 0, diffuse)) {
        return nullptr;
    }
    if (diffuse && keyColor != nullptr) {
        writer.m_hasKey = true;
        writer.m_key = keyColor->ConvertTo(graphic.GetColorTag());
    }
    return ChooseRowConverter(pixels, writer, diffuse);
}

bool JPEGStandardImageHandle::Encode() {
    Graphic graphic;
    if (!OpenSourceGraphic(graphic)) {
        return false;
    }
    ReleaseData(false);
    const Size size = graphic.GetSize();
    if (size.width <= 0 || size.height <= 0) {
        return false;
    }
    m_width = static_cast<std::uint32_t>(size.width);
    m_height = static_cast<std::uint32_t>(size.height);
    const DepthCode depth = m_pixelFormat.depth != 0 ? m_pixelFormat.depth : graphic.GetDepth();
    if (depth < 1 || depth > 7) {
        return false;
    }
    const std::uint64_t capacity = std::uint64_t{3} * m_width * m_height;
    if (capacity > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    MemDestinationManager destination(static_cast<std::size_t>(capacity));
    if (!destination.IsReady()) {
        return false;
    }
    JErrorManager errors;
    JCompress compressor(destination, errors, nullptr);
    jpeg_compress_struct& record = compressor.m_record;
    JSAMPARRAY scanline = nullptr;
    const bool started = errors.Guard([&] {
        compressor.Create();
        record.image_width = m_width;
        record.image_height = m_height;
        record.input_components = 3;
        record.in_color_space = JCS_RGB;
        record.input_gamma = 1.0;
        jpeg_set_defaults(&record);
        jpeg_set_quality(&record, kQuality, kJpegTrue);
        jpeg_start_compress(&record, kJpegTrue);
        scanline =
            (*record.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&record), JPOOL_IMAGE, 3 * m_width, 1);
    });
    StandardImageSourceReader reader;
    if (!started || !reader.Begin(m_width, m_height, 24, 1, &graphic, true)) {
        return false;
    }
    const PixelFormat format = reader.GetFormat();
    if (format.depth < 5 || format.depth > 7) {
        return false;
    }
    const std::uint32_t width = std::min(m_width, reader.GetGraphicWidth());
    const bool written = errors.Guard([&] {
        while (record.next_scanline < record.image_height) {
            UnpackRow(format, reader.Row(record.next_scanline), width, scanline[0], scanline[0] + 1,
                      scanline[0] + 2, 3);
            if (jpeg_write_scanlines(&record, scanline, 1) != 1) {
                break;
            }
        }
    });
    reader.End();
    if (!written || record.next_scanline != record.image_height ||
        !errors.Guard([&] { jpeg_finish_compress(&record); })) {
        return false;
    }
    const auto bytes = static_cast<std::uint32_t>(destination.GetWritten());
    TakeEncoded(destination.TakeBuffer(), bytes);
    SetPixelData(GetData(), bytes);
    return true;
}

} // namespace Vemo
