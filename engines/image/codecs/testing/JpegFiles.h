// JPEG files for the codec tests, the seeds and the benchmark, made and read by libjpeg itself, so that the
// codec is measured against the library it drives. Here, inside the codec's folder, is the one place outside
// the codec itself that calls libjpeg.
#pragma once

#include "engines/image/codecs/JpegLibrary.h"
#include "engines/image/testing/ImageFiles.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace VemoTest {

enum class JpegKind { kJfif, kExif, kProgressive };

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
    jpeg_set_quality(&record, quality, Vemo::kJpegTrue);
    record.write_JFIF_header = kind != JpegKind::kExif ? Vemo::kJpegTrue : Vemo::kJpegFalse;
    if (kind == JpegKind::kProgressive) {
        jpeg_simple_progression(&record);
    }
    jpeg_start_compress(&record, Vemo::kJpegTrue);
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

// libjpeg's default decode of the bytes (colour space from the file, no scaling), each row written where
// rowFor(std::uint32_t index, std::size_t bytes) says; the component count.
template <class RowFor>
int DecodeWithLibjpegInto(const std::uint8_t* data, std::size_t size, RowFor rowFor) {
    jpeg_decompress_struct record{};
    jpeg_error_mgr errors{};
    record.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&record);
    jpeg_mem_src(&record, data, static_cast<unsigned long>(size));
    jpeg_read_header(&record, Vemo::kJpegTrue);
    jpeg_start_decompress(&record);
    const std::size_t rowBytes = static_cast<std::size_t>(record.output_width) * record.output_components;
    while (record.output_scanline < record.output_height) {
        JSAMPROW row = rowFor(static_cast<std::uint32_t>(record.output_scanline), rowBytes);
        jpeg_read_scanlines(&record, &row, 1);
    }
    const int components = record.output_components;
    jpeg_finish_decompress(&record);
    jpeg_destroy_decompress(&record);
    return components;
}

// The rows of samples libjpeg decodes from the file, and the component count.
inline std::vector<Bytes> DecodeWithLibjpeg(const Bytes& file, int* components = nullptr) {
    std::vector<Bytes> rows;
    const int count =
        DecodeWithLibjpegInto(file.data(), file.size(), [&rows](std::uint32_t, std::size_t bytes) {
            rows.emplace_back(bytes);
            return rows.back().data();
        });
    if (components != nullptr) {
        *components = count;
    }
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
