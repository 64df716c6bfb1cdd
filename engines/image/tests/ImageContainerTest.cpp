#include "engines/image/ImageContainer.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/image/Image.h"
#include "engines/image/ImageContainerHandle.h"
#include "engines/image/StandardImageHandle.h"
#include "engines/image/testing/ImageFamilyFixture.h"
#include "engines/image/testing/ImageFiles.h"

#include <gtest/gtest.h>

#include <vector>

namespace VemoTest {
namespace {

using Vemo::Graphic;
using Vemo::Image;
using Vemo::ImageContainer;
using Vemo::PixelFormat;
using Vemo::Point;
using Vemo::StandardPixelFormat;

constexpr std::uint32_t kSystemMemory = 3;

Bytes ThreePixelBmp() {
    BmpFile bmp;
    bmp.width = 3;
    bmp.height = 1;
    bmp.pixels = PackBmpRows({{0x0000FF, 0x00FF00, 0xFF0000}}, 24);
    return bmp.Encode();
}

// A 32-bit file of bit fields without masks: its header is read, its decode fails.
Bytes UndecodableBmp() {
    BmpFile bmp;
    bmp.width = 3;
    bmp.height = 1;
    bmp.bits = 32;
    bmp.compression = 3;
    bmp.pixels = PackBmpRows({{1, 2, 3}}, 32);
    return bmp.Encode();
}

class ImageContainerTest : public ImageFamilyFixture {
protected:
    void SetUp() override {
        ImageFamilyFixture::SetUp();
        WriteFile("art.bmp", ThreePixelBmp());
        WriteFile("bad.bmp", UndecodableBmp());
    }

    // The container graphic's pixels, left to right.
    static std::vector<std::uint32_t> Pixels(ImageContainer& container) {
        Graphic graphic;
        EXPECT_TRUE(container.GetGraphic(graphic));
        std::vector<std::uint32_t> pixels;
        for (std::int32_t x = 0; x < graphic.GetWidth(); ++x) {
            pixels.push_back(graphic.GetPixel(Point(x, 0)));
        }
        return pixels;
    }

    static void Clear(ImageContainer& container) {
        Graphic graphic;
        ASSERT_TRUE(container.GetGraphic(graphic));
        ASSERT_TRUE(graphic.Clear());
    }
};

// The file's blue, green and red pixels in a graphic of format 10, which holds red in its low byte.
const std::vector<std::uint32_t> kDecoded = {0xFF0000, 0x00FF00, 0x0000FF};

TEST_F(ImageContainerTest, WithoutAHandleEveryOperationReportsAndAnswersFalse) {
    ImageContainer container;
    Image image;
    Graphic graphic;
    EXPECT_FALSE(container.SelectImage(image));
    EXPECT_FALSE(container.ReleaseImage());
    EXPECT_FALSE(container.GetCurrentImage(image));
    EXPECT_FALSE(container.DecodeCurrentImage());
    EXPECT_FALSE(container.SaveCurrentImage(1));
    EXPECT_FALSE(container.GetGraphic(graphic));
    EXPECT_FALSE(container.SetDecodeOptions(false, nullptr));
    EXPECT_EQ(Taken(), Reports(7, Reported(Vemo::ResourceSystemErrNoHandle)));
}

TEST_F(ImageContainerTest, SelectingTheSelectedImageDecodesNothing) {
    Image image;
    ASSERT_TRUE(image.Open(At("art.bmp")));
    ImageContainer container;
    ASSERT_TRUE(container.Open(image, kSystemMemory));
    ASSERT_TRUE(container.SelectImage(image));
    ASSERT_TRUE(container.DecodeCurrentImage());
    EXPECT_EQ(Pixels(container), kDecoded);
    Clear(container);
    Image same;
    ASSERT_TRUE(same.Share(image));
    EXPECT_TRUE(container.SelectImage(same));
    EXPECT_EQ(Pixels(container), std::vector<std::uint32_t>(3, 0));
    EXPECT_EQ(image.GetImageHandle()->GetTarget(), container.GetContainerHandle());
}

TEST_F(ImageContainerTest, ReleasingTheImageLeavesTheGraphic) {
    ImageContainer container;
    ASSERT_TRUE(container.Open(At("art.bmp"), kSystemMemory, 0, nullptr));
    Image current;
    ASSERT_TRUE(container.GetCurrentImage(current));
    ASSERT_TRUE(container.ReleaseImage());
    EXPECT_EQ(current.GetImageHandle()->GetTarget(), nullptr);
    Image none;
    EXPECT_FALSE(container.GetCurrentImage(none));
    EXPECT_FALSE(container.DecodeCurrentImage());
    EXPECT_EQ(Pixels(container), kDecoded);
}

TEST_F(ImageContainerTest, ANullKeyColourKeepsTheOneStoredBefore) {
    ImageContainer container;
    const Vemo::TaggedColor key(Vemo::PixelValue(1, 2, 3), 1);
    ASSERT_TRUE(container.Open(At("art.bmp"), kSystemMemory, 1, &key));
    ASSERT_TRUE(container.SetDecodeOptions(false, nullptr));
    const Vemo::ImageContainerHandle* handle = container.GetContainerHandle();
    ASSERT_NE(handle->GetKeyColor(), nullptr);
    EXPECT_EQ(*handle->GetKeyColor(), key);
    EXPECT_FALSE(handle->GetDither());
}

TEST_F(ImageContainerTest, AReadOnlyGraphicIsWritableOnlyWhileItDecodes) {
    for (const char* name : {"art.bmp", "bad.bmp"}) {
        ImageContainer container;
        ASSERT_TRUE(container.Open(At(name), kSystemMemory, 0, nullptr));
        Graphic graphic;
        ASSERT_TRUE(container.GetGraphic(graphic));
        ASSERT_TRUE(graphic.SetReadOnly(true));
        EXPECT_EQ(container.DecodeCurrentImage(), std::string(name) == "art.bmp") << name;
        EXPECT_TRUE(graphic.IsReadOnly()) << name;
        Image current;
        EXPECT_TRUE(container.GetCurrentImage(current)) << name;
    }
}

// The content of a lost surface is gone when it comes back: the container decodes its image again, reading
// the file anew (the decode before gave up the bytes).
TEST_F(ImageContainerTest, ARestoredSurfaceGetsTheImageDecodedAgain) {
    ImageContainer container;
    ASSERT_TRUE(container.Open(At("art.bmp"), kSystemMemory, 0, nullptr));
    Image current;
    ASSERT_TRUE(container.GetCurrentImage(current));
    EXPECT_EQ(dynamic_cast<Vemo::StandardImageHandle*>(current.GetImageHandle())->GetData(), nullptr);
    Graphic graphic;
    ASSERT_TRUE(container.GetGraphic(graphic));
    ASSERT_TRUE(LoseSurface(graphic));
    EXPECT_NE(Pixels(container), kDecoded);
    Taken();
    EXPECT_TRUE(RestoreSurface(graphic));
    EXPECT_EQ(Pixels(container), kDecoded);
    EXPECT_TRUE(Taken().empty());
}

// A picture in the caller's memory keeps its bytes, and so its palette, through every decode: the second
// decode and the one after a lost surface give the same colours as the first.
TEST_F(ImageContainerTest, AnIndexedImageInMemoryDecodesAgainWithItsPalette) {
    BmpFile bmp;
    bmp.width = 3;
    bmp.height = 1;
    bmp.bits = 8;
    bmp.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    bmp.colorsUsed = 3;
    bmp.pixels = PackBmpRows({{0, 1, 2}}, 8);
    const Bytes file = bmp.Encode();
    Image image;
    ASSERT_TRUE(image.Open(file.data(), static_cast<std::uint32_t>(file.size())));
    ImageContainer container;
    const PixelFormat format(StandardPixelFormat::Bgr24);
    ASSERT_TRUE(container.Open(image, &format, kSystemMemory));
    ASSERT_TRUE(container.SelectImage(image));
    ASSERT_TRUE(container.DecodeCurrentImage());
    EXPECT_EQ(Pixels(container), kDecoded);
    Clear(container);
    ASSERT_TRUE(container.DecodeCurrentImage());
    EXPECT_EQ(Pixels(container), kDecoded) << "decoded a second time";
    Graphic graphic;
    ASSERT_TRUE(container.GetGraphic(graphic));
    ASSERT_TRUE(LoseSurface(graphic));
    Taken();
    EXPECT_TRUE(RestoreSurface(graphic));
    EXPECT_EQ(Pixels(container), kDecoded) << "decoded after the surface came back";
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ImageContainerTest, ARestoredSurfaceWithoutAnImageIsNotTaken) {
    ImageContainer container;
    const PixelFormat format(StandardPixelFormat::Xrgb32);
    ASSERT_TRUE(container.Create(4, 4, &format, kSystemMemory, 1));
    Graphic graphic;
    ASSERT_TRUE(container.GetGraphic(graphic));
    ASSERT_TRUE(LoseSurface(graphic));
    EXPECT_FALSE(RestoreSurface(graphic));
}

TEST_F(ImageContainerTest, AContainerOverCallerMemoryChecksItsValuesInOrder) {
    std::vector<std::uint8_t> memory(64 * 4, 0);
    const PixelFormat format(StandardPixelFormat::Xrgb32);
    const struct {
        std::uint32_t width;
        std::uint32_t height;
        std::int32_t pitch;
        std::uint32_t flags;
        std::uint32_t colorTag;
        Vemo::ErrorCode error;
    } cases[] = {
        {0, 0, 4, 0, 0, Vemo::GraphicSystemErrNoWidth},
        {4, 0, 4, 0, 0, Vemo::GraphicSystemErrNoHeight},
        {4, 4, 4, 0, 0, Vemo::GraphicSystemErrNoColorTag},
        {4, 4, 4, 0, 1, Vemo::GraphicSystemErrNoPlacement},
        {4, 4, 12, kSystemMemory, 1, Vemo::GraphicSystemErrPitchTooShort},
    };
    for (const auto& c : cases) {
        ImageContainer container;
        EXPECT_FALSE(
            container.Create(memory.data(), c.width, c.height, &format, c.pitch, c.flags, c.colorTag));
        EXPECT_EQ(Taken(), Reports{Reported(c.error)}) << c.width << " " << c.height << " " << c.pitch;
    }
    ImageContainer unpitched;
    ASSERT_TRUE(unpitched.Create(memory.data(), 4, 4, &format, 0, kSystemMemory, 1));
    Graphic graphic;
    ASSERT_TRUE(unpitched.GetGraphic(graphic));
    ASSERT_TRUE(graphic.SetPixel(0x123456u, Point(0, 0)));
    EXPECT_EQ(memory[0], 0x56);
}

// An empty container's graphic is made like an open graphic, or of a depth code with its palette.
TEST_F(ImageContainerTest, AnEmptyContainerTakesItsGraphicFromAModelOrADepth) {
    const PixelFormat format(StandardPixelFormat::Rgb565);
    Graphic model;
    ASSERT_TRUE(model.Open(6, 5, &format, Vemo::GraphicSystem::Memory::System, 1));
    ImageContainer compatible;
    ASSERT_TRUE(compatible.Create(model, 3, 2, kSystemMemory));
    Graphic graphic;
    ASSERT_TRUE(compatible.GetGraphic(graphic));
    EXPECT_EQ(graphic.GetSize().width, 3);
    EXPECT_EQ(graphic.GetPixelFormat().format, StandardPixelFormat::Rgb565);

    ImageContainer byDepth;
    ASSERT_TRUE(byDepth.Create(4, 4, Vemo::DepthCode{4}, kSystemMemory, Vemo::PaletteReference(), 1));
    Graphic indexed;
    ASSERT_TRUE(byDepth.GetGraphic(indexed));
    EXPECT_TRUE(indexed.IsPalettized());
    EXPECT_EQ(indexed.GetDepth(), 4u);
}

TEST_F(ImageContainerTest, OpeningOnAnImageWithoutAHandleReportsIt) {
    Image closed;
    ImageContainer container;
    EXPECT_FALSE(container.Open(closed, kSystemMemory));
    EXPECT_EQ(Taken(), Reports{Reported(Vemo::ResourceSystemErrNoHandle)});
}

TEST_F(ImageContainerTest, ASharedContainerIsTheSameContainer) {
    ImageContainer container;
    ASSERT_TRUE(container.Open(At("art.bmp"), kSystemMemory, 0, nullptr));
    ImageContainer shared;
    ASSERT_TRUE(shared.Share(container));
    EXPECT_EQ(shared.GetContainerHandle(), container.GetContainerHandle());
    EXPECT_EQ(Pixels(shared), kDecoded);
}

} // namespace
} // namespace VemoTest
