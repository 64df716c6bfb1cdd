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

#include <algorithm>
#include <limits>

namespace Vemo {

namespace {

constexpr int kQuality = 100;

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
        found = jpeg_read_header(&decompressor.m_record, TRUE);
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
    MemSourceManager source(GetPixelData(), GetPixelDataSize());
    JDecompress decompressor(source, errors, nullptr);
    jpeg_decompress_struct& record = decompressor.m_record;
    JSAMPARRAY output = nullptr;
    int found = 0;
    const bool started = errors.Guard([&] {
        decompressor.Create();
        found = jpeg_read_header(&record, TRUE);
        if (found == JPEG_HEADER_OK) {
            jpeg_start_decompress(&record);
            output = (*record.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&record), JPOOL_IMAGE,
                                                 record.output_width * record.output_components, 1);
        }
    });
    if (!started || found != JPEG_HEADER_OK || record.output_width != m_width ||
        record.output_height != m_height) {
        return false;
    }

    StandardImageTargetWriter writer;
    bool begun = false;
    SourcePixels pixels = SourcePixels::Rgb24;
    bool diffuse = false;
    if (record.output_components == 1) {
        AllocatePalette(256);
        for (std::uint32_t level = 0; level < 256; ++level) {
            SetPaletteEntry(level, PixelValue(level, level, level));
        }
        pixels = SourcePixels::Index8;
        begun = PutPaletteIntoGraphic(graphic, 4) &&
                writer.Begin(m_width, m_height, 8, 1, &graphic, true, GetPalette().data(), 256, false);
    } else if (record.output_components == 3) {
        diffuse = dither && graphic.GetDepth() == 5;
        begun = writer.Begin(m_width, m_height, 24, 1, &graphic, true, nullptr, 0, diffuse);
        if (diffuse && keyColor != nullptr) {
            writer.m_hasKey = true;
            writer.m_key = keyColor->ConvertTo(graphic.GetColorTag());
        }
    }
    const RowConverter convert = begun ? ChooseRowConverter(pixels, writer, diffuse) : nullptr;
    if (convert == nullptr) {
        return false;
    }
    std::uint32_t rows = 0;
    const bool read = errors.Guard([&] {
        while (record.output_scanline < record.output_height &&
               jpeg_read_scanlines(&record, output, 1) == 1 && !errors.HitEndOfData()) {
            convert(writer, writer.Row(rows), 0, output[0], 0, m_width);
            ++rows;
        }
    });
    writer.End();
    if (!read || rows != m_height) {
        return false;
    }
    return errors.Guard([&] { jpeg_finish_decompress(&record); });
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
        jpeg_set_quality(&record, kQuality, TRUE);
        jpeg_start_compress(&record, TRUE);
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
