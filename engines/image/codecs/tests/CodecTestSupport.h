// What the codec tests share: decoding a real file into a container graphic of a chosen format and size, and
// reading back what the graphic shows.
#pragma once

#include "engines/graphics/Graphic.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/image/Image.h"
#include "engines/image/ImageContainer.h"
#include "engines/image/testing/ImageFamilyFixture.h"
#include "engines/image/testing/ImageFiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VemoTest {

inline constexpr std::uint32_t kSystemMemory = 3;

struct Decoded {
    bool opened = false;
    bool decoded = false;
    // What the graphic shows, row by row, as colour words.
    Picture colors;
    // The graphic's raw pixels, row by row.
    Picture pixels;
    // The graphic's palette, when it has one.
    std::vector<std::uint32_t> palette;
};

struct DecodeOptions {
    // Graphic size; 0 takes the image's.
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool dither = false;
    const Vemo::TaggedColor* key = nullptr;
};

class CodecFixture : public ImageFamilyFixture {
protected:
    // Writes the file, opens it as an image and decodes it into a new container graphic of the format.
    Decoded DecodeFile(const std::string& name, const Bytes& bytes, const Vemo::PixelFormat& format,
                       const DecodeOptions& options = DecodeOptions()) {
        WriteFile(name, bytes);
        Decoded result;
        Vemo::Image image;
        if (!image.Open(At(name))) {
            Taken();
            return result;
        }
        result.opened = true;
        const std::uint32_t width =
            options.width != 0 ? static_cast<std::uint32_t>(options.width) : image.GetWidth();
        const std::uint32_t height =
            options.height != 0 ? static_cast<std::uint32_t>(options.height) : image.GetHeight();
        Vemo::ImageContainer container;
        EXPECT_TRUE(container.Create(width, height, &format, kSystemMemory, 1));
        container.SetDecodeOptions(options.dither, options.key);
        EXPECT_TRUE(container.SelectImage(image));
        result.decoded = container.DecodeCurrentImage();
        Vemo::Graphic graphic;
        EXPECT_TRUE(container.GetGraphic(graphic));
        Read(graphic, result);
        Taken();
        return result;
    }

    static void Read(Vemo::Graphic& graphic, Decoded& result) {
        EXPECT_FALSE(graphic.IsLocked());
        for (std::int32_t y = 0; y < graphic.GetHeight(); ++y) {
            result.colors.emplace_back();
            result.pixels.emplace_back();
            for (std::int32_t x = 0; x < graphic.GetWidth(); ++x) {
                result.colors.back().push_back(graphic.GetPixelColor(Vemo::Point(x, y)).rgb.Rgb());
                result.pixels.back().push_back(graphic.GetPixel(Vemo::Point(x, y)));
            }
        }
        if (graphic.IsPalettized()) {
            const std::uint32_t count = std::min<std::uint32_t>(graphic.GetPixelFormat().colorCount, 256);
            for (std::uint32_t index = 0; index < count; ++index) {
                result.palette.push_back(graphic.GetPaletteEntryImpl(index).Rgb());
            }
        }
    }
};

// A colour word with each channel cut to its top bits, as a channel of 8 - loss bits keeps it.
inline std::uint32_t Quantized(std::uint32_t color, std::uint8_t redLoss, std::uint8_t greenLoss,
                               std::uint8_t blueLoss) {
    const auto cut = [](std::uint32_t channel, std::uint8_t loss) {
        return loss >= 8 ? 0u : channel >> loss << loss;
    };
    return cut(color & 0xFF, redLoss) | cut(color >> 8 & 0xFF, greenLoss) << 8 |
           cut(color >> 16 & 0xFF, blueLoss) << 16;
}

inline std::uint32_t Quantized(std::uint32_t color, const Vemo::PixelFormat& format) {
    if (format.IsIndexed()) {
        return color;
    }
    return Quantized(color, format.redLoss, format.greenLoss, format.blueLoss);
}

} // namespace VemoTest
