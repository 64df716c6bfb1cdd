// JPEG files for the codec tests, made and read by libjpeg itself, so that the codec is measured against the
// library it drives.
#pragma once

#include "engines/image/codecs/JpegLibrary.h"
#include "engines/image/testing/ImageFiles.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace VemoTest {

enum class JpegKind { kJfif, kExif };

// The samples of pixel (x, y): 1, 3 or 4 of them as the component count says.
using SampleSource = std::function<void(int x, int y, std::uint8_t* samples)>;

inline Bytes MakeJpeg(int width, int height, int components, const SampleSource& samples, int quality = 95,
                      JpegKind kind = JpegKind::kJfif) {
    jpeg_compress_struct record{};
    jpeg_error_mgr errors{};
    record.err = jpeg_std_error(&errors);
    jpeg_create_compress(&record);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&record, &buffer, &size);
    record.image_width = static_cast<JDIMENSION>(width);
    record.image_height = static_cast<JDIMENSION>(height);
    record.input_components = components;
    record.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&record);
    jpeg_set_quality(&record, quality, TRUE);
    record.write_JFIF_header = kind == JpegKind::kJfif ? TRUE : FALSE;
    jpeg_start_compress(&record, TRUE);
    if (kind == JpegKind::kExif) {
        const JOCTET exif[] = {'E', 'x', 'i', 'f', 0, 0};
        jpeg_write_marker(&record, JPEG_APP0 + 1, exif, sizeof exif);
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * components);
    while (record.next_scanline < record.image_height) {
        for (int x = 0; x < width; ++x) {
            samples(x, static_cast<int>(record.next_scanline), row.data() + x * components);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&record, rows, 1);
    }
    jpeg_finish_compress(&record);
    jpeg_destroy_compress(&record);
    Bytes file(buffer, buffer + size);
    std::free(buffer);
    return file;
}

// What libjpeg's default decode makes of the file: its rows of samples, and the component count.
inline std::vector<Bytes> DecodeWithLibjpeg(const Bytes& file, int* components = nullptr) {
    jpeg_decompress_struct record{};
    jpeg_error_mgr errors{};
    record.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&record);
    jpeg_mem_src(&record, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&record, TRUE);
    jpeg_start_decompress(&record);
    std::vector<Bytes> rows;
    while (record.output_scanline < record.output_height) {
        rows.emplace_back(static_cast<std::size_t>(record.output_width) * record.output_components);
        JSAMPROW target[1] = {rows.back().data()};
        jpeg_read_scanlines(&record, target, 1);
    }
    if (components != nullptr) {
        *components = record.output_components;
    }
    jpeg_finish_decompress(&record);
    jpeg_destroy_decompress(&record);
    return rows;
}

// The same picture as a color word (red in the low byte) of the first three samples, or of a grey sample.
inline std::uint32_t ColorOfSamples(const Bytes& row, int components, int x) {
    if (components == 1) {
        return row[x] * 0x010101u;
    }
    const std::uint8_t* at = row.data() + x * components;
    return at[0] | at[1] << 8 | at[2] << 16;
}

// Colourful, smooth samples.
inline void Gradient(int x, int y, std::uint8_t* samples) {
    samples[0] = static_cast<std::uint8_t>(x * 13 + y * 3);
    samples[1] = static_cast<std::uint8_t>(255 - y * 11);
    samples[2] = static_cast<std::uint8_t>((x ^ y) * 9);
}

} // namespace VemoTest
