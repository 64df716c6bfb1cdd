#include "engines/image/codecs/JPEGStandardImageHandle.h"

#include "engines/image/StandardImageHandle.h"
#include "engines/image/codecs/JPEGStandardImageCodec.h"
#include "engines/image/codecs/ScanLimitProgressManager.h"
#include "engines/image/codecs/testing/JpegFiles.h"
#include "engines/image/codecs/tests/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace VemoTest {
namespace {

using Vemo::PixelFormat;
using Vemo::StandardPixelFormat;

const PixelFormat kXrgb32(StandardPixelFormat::Xrgb32);

// The position of the end-of-image marker, which libjpeg writes last.
std::size_t EndMarker(const Bytes& file) {
    return file.size() - 2;
}

class JPEGStandardImageHandleTest : public CodecFixture {
protected:
    // Encodes the graphic that fill draws through a new JPEG image file; the file's bytes, empty when the
    // save failed.
    Bytes EncodeGraphic(const PixelFormat& format, std::int32_t width, std::int32_t height,
                        const std::function<std::uint32_t(std::int32_t, std::int32_t)>& pixel) {
        Vemo::Image image;
        EXPECT_TRUE(image.Create(At("out.jpg"), Vemo::DepthCode{0}, 1, 1));
        Vemo::ImageContainer container;
        EXPECT_TRUE(container.Create(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                                     &format, kSystemMemory, 1));
        Vemo::Graphic graphic;
        EXPECT_TRUE(container.GetGraphic(graphic));
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) {
                graphic.SetPixel(pixel(x, y), Vemo::Point(x, y));
            }
        }
        EXPECT_TRUE(container.SelectImage(image));
        const bool saved = container.SaveCurrentImage(1);
        Taken();
        return saved ? ReadFile("out.jpg") : Bytes();
    }
};

TEST_F(JPEGStandardImageHandleTest, IdentifiesJfifFilesByTheBytesThereAreAndByTheExtension) {
    Vemo::JPEGStandardImageCodec codec(nullptr);
    const Bytes jfif = MakeJpeg(8, 8, 3, Gradient);
    const Bytes exif = MakeJpeg(8, 8, 3, Gradient, 95, JpegKind::kExif);
    const auto size = static_cast<std::uint32_t>(jfif.size());
    const Vemo::String jpeg("jpeg");
    const Vemo::String upper("JPG");
    const Vemo::String empty("");
    const Vemo::String bmp("bmp");
    const std::uint8_t four[4] = {1, 2, 3, 4};
    Bytes shortSegment = jfif;
    shortSegment[5] = 15;
    EXPECT_TRUE(codec.Identify(jfif.data(), size, size, nullptr, nullptr));
    EXPECT_FALSE(codec.Identify(exif.data(), static_cast<std::uint32_t>(exif.size()), 0, nullptr, nullptr));
    EXPECT_FALSE(codec.Identify(shortSegment.data(), size, size, nullptr, nullptr));
    EXPECT_TRUE(codec.Identify(four, 4, 4, nullptr, &upper));
    EXPECT_FALSE(codec.Identify(four, 4, 4, nullptr, &bmp));
    EXPECT_TRUE(codec.Identify(nullptr, 0, 0, nullptr, &jpeg));
    EXPECT_TRUE(codec.Identify(nullptr, 0, 0, nullptr, &empty));
}

TEST_F(JPEGStandardImageHandleTest, AColourFileShowsWhatLibjpegDecodes) {
    const Bytes file = MakeJpeg(19, 11, 3, Gradient);
    const std::vector<Bytes> reference = DecodeWithLibjpeg(file);
    for (auto number :
         {StandardPixelFormat::Rgb24, StandardPixelFormat::Bgr24, StandardPixelFormat::Xrgb32,
          StandardPixelFormat::Xbgr32, StandardPixelFormat::Abgr32, StandardPixelFormat::Rgb565}) {
        const PixelFormat format(number);
        const Decoded decoded = DecodeFile("colour.jpg", file, format);
        ASSERT_TRUE(decoded.decoded) << static_cast<int>(number);
        for (int y = 0; y < 11; ++y) {
            for (int x = 0; x < 19; ++x) {
                ASSERT_EQ(decoded.colors[y][x], Quantized(ColorOfSamples(reference[y], 3, x), format))
                    << static_cast<int>(number) << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(JPEGStandardImageHandleTest, AGreyFileGoesThroughAGreyPalette) {
    const Bytes file =
        MakeJpeg(9, 5, 1, [](int x, int y, std::uint8_t* samples) { samples[0] = x * 25 + y; });
    const std::vector<Bytes> reference = DecodeWithLibjpeg(file);
    const PixelFormat rgb565(StandardPixelFormat::Rgb565);
    const Decoded direct = DecodeFile("grey.jpg", file, rgb565);
    ASSERT_TRUE(direct.decoded);
    EXPECT_EQ(direct.colors[4][8], Quantized(ColorOfSamples(reference[4], 1, 8), rgb565));
    const Decoded indexed = DecodeFile("grey.jpg", file, PixelFormat(StandardPixelFormat::Indexed8));
    ASSERT_TRUE(indexed.decoded);
    EXPECT_EQ(indexed.pixels[2][3], reference[2][3]);
    EXPECT_EQ(indexed.palette[77], 0x4D4D4Du);
    EXPECT_FALSE(DecodeFile("grey.jpg", file, PixelFormat(StandardPixelFormat::Indexed4)).decoded);
}

TEST_F(JPEGStandardImageHandleTest, OnlySixteenBitGraphicsAreDithered) {
    const Bytes file = MakeJpeg(16, 16, 3, Gradient);
    DecodeOptions dither;
    dither.dither = true;
    const PixelFormat rgb24(StandardPixelFormat::Rgb24);
    EXPECT_EQ(DecodeFile("a.jpg", file, rgb24, dither).pixels, DecodeFile("a.jpg", file, rgb24).pixels);
    const PixelFormat rgb565(StandardPixelFormat::Rgb565);
    EXPECT_NE(DecodeFile("a.jpg", file, rgb565, dither).pixels, DecodeFile("a.jpg", file, rgb565).pixels);
}

// What the codec does not convert it refuses: four components (CMYK), colour into an indexed graphic.
TEST_F(JPEGStandardImageHandleTest, FilesWithoutAConverterAreRefused) {
    const Bytes cmyk = MakeJpeg(8, 8, 4, [](int x, int y, std::uint8_t* samples) {
        samples[0] = static_cast<std::uint8_t>(x);
        samples[1] = static_cast<std::uint8_t>(y);
        samples[2] = 9;
        samples[3] = 100;
    });
    const Decoded fourComponents = DecodeFile("cmyk.jpg", cmyk, kXrgb32);
    EXPECT_TRUE(fourComponents.opened);
    EXPECT_FALSE(fourComponents.decoded);
    EXPECT_FALSE(
        DecodeFile("colour.jpg", MakeJpeg(8, 8, 3, Gradient), PixelFormat(StandardPixelFormat::Indexed8))
            .decoded);
}

// Without its end marker a file still decodes whole; cut inside its scan data it converts the rows before the
// cut, then fails.
TEST_F(JPEGStandardImageHandleTest, ACutFileGivesItsRowsBeforeTheCut) {
    const Bytes file = MakeJpeg(16, 64, 3, Gradient, 90);
    const Decoded whole = DecodeFile("whole.jpg", file, kXrgb32);
    ASSERT_TRUE(whole.decoded);

    const Bytes unended(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(EndMarker(file)));
    const Decoded withoutEnd = DecodeFile("unended.jpg", unended, kXrgb32);
    EXPECT_TRUE(withoutEnd.decoded);
    EXPECT_EQ(withoutEnd.pixels, whole.pixels);

    const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() * 2 / 3));
    const Decoded part = DecodeFile("cut.jpg", cut, kXrgb32);
    ASSERT_TRUE(part.opened);
    EXPECT_FALSE(part.decoded);
    EXPECT_EQ(part.pixels[0], whole.pixels[0]);
    EXPECT_EQ(part.pixels[63], std::vector<std::uint32_t>(16, 0));
}

// A segment whose length runs past the data makes libjpeg skip more than there is: nothing past the buffer is
// read, and the file is refused.
TEST_F(JPEGStandardImageHandleTest, ASegmentLongerThanTheFileIsRefused) {
    Bytes file = MakeJpeg(8, 8, 3, Gradient);
    file.resize(20);
    const Bytes segment = {0xFF, 0xEF, 0xF0, 0x00, 1, 2, 3};
    file.insert(file.end(), segment.begin(), segment.end());
    WriteFile("long.jpg", file);
    Vemo::Image image;
    EXPECT_FALSE(image.Open(At("long.jpg")));
}

TEST_F(JPEGStandardImageHandleTest, AHeaderBeyondTheMaximumSizeIsRefused) {
    Bytes file = MakeJpeg(8, 8, 3, Gradient);
    std::size_t frame = 2;
    while (frame + 8 < file.size() && !(file[frame] == 0xFF && file[frame + 1] == 0xC0)) {
        ++frame;
    }
    ASSERT_LT(frame + 8, file.size());
    for (std::size_t at : {frame + 5, frame + 7}) {
        file[at] = 40000 >> 8;
        file[at + 1] = 40000 & 0xFF;
    }
    WriteFile("huge.jpg", file);
    Vemo::Image image;
    EXPECT_FALSE(image.Open(At("huge.jpg")));
}

// A progressive file decodes; one whose last scan is repeated past any real file's count of scans is refused
// before libjpeg has run over the image for each of them.
TEST_F(JPEGStandardImageHandleTest, AFileOfTooManyScansIsRefused) {
    const Bytes progressive = MakeJpeg(24, 16, 3, Gradient, 80, JpegKind::kProgressive);
    EXPECT_TRUE(DecodeFile("progressive.jpg", progressive, kXrgb32).decoded);
    std::size_t lastScan = 0;
    for (std::size_t at = 2; at + 1 < progressive.size(); ++at) {
        if (progressive[at] == 0xFF && progressive[at + 1] == 0xDA) {
            lastScan = at;
        }
    }
    ASSERT_NE(lastScan, 0u);
    const Bytes scan(progressive.begin() + static_cast<std::ptrdiff_t>(lastScan), progressive.end() - 2);
    Bytes repeated(progressive.begin(), progressive.end() - 2);
    for (int i = 0; i < Vemo::ScanLimitProgressManager::kMostScans; ++i) {
        repeated.insert(repeated.end(), scan.begin(), scan.end());
    }
    repeated.insert(repeated.end(), {0xFF, 0xD9});
    const Decoded decoded = DecodeFile("scans.jpg", repeated, kXrgb32);
    EXPECT_TRUE(decoded.opened);
    EXPECT_FALSE(decoded.decoded);
}

// The encoder writes what libjpeg writes for the same rows at quality 100.
TEST_F(JPEGStandardImageHandleTest, EncodesAsLibjpegDoes) {
    const PixelFormat rgb24(StandardPixelFormat::Bgr24);
    const auto pixel = [](std::int32_t x, std::int32_t y) {
        std::uint8_t samples[3];
        Gradient(x, y, samples);
        return static_cast<std::uint32_t>(samples[0] | samples[1] << 8 | samples[2] << 16);
    };
    const Bytes written = EncodeGraphic(rgb24, 40, 24, pixel);
    const Bytes expected = MakeJpeg(40, 24, 3, Gradient, 100);
    EXPECT_EQ(written, expected);
}

// The channels of every direct format are read by the format's shifts and losses; small and noisy images,
// which compress to more than three bytes a pixel at quality 100, are written whole.
TEST_F(JPEGStandardImageHandleTest, EncodesEveryDirectFormatByItsChannels) {
    for (auto number : {StandardPixelFormat::Rgb565, StandardPixelFormat::Rgb555, StandardPixelFormat::Rgb24,
                        StandardPixelFormat::Xrgb32, StandardPixelFormat::Xbgr32, StandardPixelFormat::Abgr32,
                        StandardPixelFormat::Rgba32}) {
        const PixelFormat format(number);
        const Bytes written = EncodeGraphic(format, 14, 14, [&format](std::int32_t x, std::int32_t) {
            return format.PackColor(x < 7 ? Vemo::PixelValue(255, 0, 0) : Vemo::PixelValue(0, 0, 255));
        });
        ASSERT_FALSE(written.empty()) << static_cast<int>(number);
        int components = 0;
        const std::vector<Bytes> rows = DecodeWithLibjpeg(written, &components);
        ASSERT_EQ(components, 3);
        EXPECT_GT(rows[7][0], 200) << static_cast<int>(number);
        EXPECT_LT(rows[7][2], 60) << static_cast<int>(number);
        EXPECT_LT(rows[7][13 * 3], 60) << static_cast<int>(number);
        EXPECT_GT(rows[7][13 * 3 + 2], 200) << static_cast<int>(number);
    }
    std::uint32_t seed = 1;
    const Bytes noisy =
        EncodeGraphic(PixelFormat(StandardPixelFormat::Xrgb32), 64, 64, [&seed](std::int32_t, std::int32_t) {
            seed = seed * 1664525u + 1013904223u;
            return seed >> 8;
        });
    ASSERT_FALSE(noisy.empty());
    EXPECT_EQ(DecodeWithLibjpeg(noisy).size(), 64u);
}

// An indexed graphic has no converter: the encode fails and leaves the image without bytes.
TEST_F(JPEGStandardImageHandleTest, AnIndexedGraphicIsNotEncoded) {
    const PixelFormat indexed(StandardPixelFormat::Indexed8);
    Vemo::Image image;
    ASSERT_TRUE(image.Create(At("out.jpg"), Vemo::DepthCode{0}, 1, 1));
    Vemo::ImageContainer container;
    ASSERT_TRUE(container.Create(8, 8, &indexed, kSystemMemory, 1));
    ASSERT_TRUE(container.SelectImage(image));
    EXPECT_FALSE(image.Encode());
    EXPECT_EQ(dynamic_cast<Vemo::StandardImageHandle*>(image.GetImageHandle())->GetData(), nullptr);
    EXPECT_FALSE(image.Save(1));
}

} // namespace
} // namespace VemoTest
