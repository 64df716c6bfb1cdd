#include "engines/image/StandardImageEngine.h"

#include "engines/graphics/Graphic.h"
#include "engines/image/Image.h"
#include "engines/image/ImageContainer.h"
#include "engines/image/ImageSearchCriterion.h"
#include "engines/image/StandardImageHandle.h"
#include "engines/image/testing/ImageFamilyFixture.h"
#include "engines/image/testing/ImageFiles.h"
#include "resources/storage/File.h"

#include <gtest/gtest.h>

#include <string>

namespace VemoTest {
namespace {

using Vemo::Image;
using Vemo::ImageContainer;
using Vemo::PixelFormat;
using Vemo::StandardPixelFormat;

constexpr std::uint32_t kSystemMemory = 3;

Bytes TwoPixelBmp() {
    BmpFile bmp;
    bmp.width = 2;
    bmp.height = 1;
    bmp.pixels = PackBmpRows({{0x0000FF, 0xFF0000}}, 24);
    return bmp.Encode();
}

class StandardImageEngineTest : public ImageFamilyFixture {};

TEST_F(StandardImageEngineTest, TheExtensionIsTakenFromTheLastComponent) {
    const struct {
        const char* name;
        const char* extension;
    } cases[] = {
        {"art.bmp", "bmp"},
        {"a.b.JPG", "JPG"},
        {"Title", "Title"},
        {"name.", ""},
        {"", ""},
        {"Art.v2\\Title", "Title"},
        {"HD0:/d.x/pic.pcx", "pcx"},
        {"C:name", "name"},
        {"dir/sub.dir/file", "file"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(Vemo::StandardImageEngine::GetExtension(Vemo::String(c.name)).CStr(), c.extension)
            << c.name;
    }
}

TEST_F(StandardImageEngineTest, AFileOpensWhenItsExtensionIsKnownAndItsBytesAreAccepted) {
    WriteFile("bmp.jpg", TwoPixelBmp());
    WriteFile("bmp.txt", TwoPixelBmp());
    WriteFile("noise.bmp", Bytes(64, 0x33));
    Image named;
    ASSERT_TRUE(named.Open(At("bmp.jpg")));
    EXPECT_EQ(named.GetPixelFormat().format, StandardPixelFormat::Bgr24);
    for (const char* name : {"bmp.txt", "noise.bmp"}) {
        Image refused;
        EXPECT_FALSE(refused.Open(At(name))) << name;
        EXPECT_TRUE(ReportedInOrder(Taken(), {Reported(Vemo::ResourceSystemErrOpenFailed)}));
    }
}

TEST_F(StandardImageEngineTest, AFileOrMemoryIsIdentifiedByItsBytes) {
    WriteFile("picture.bmp", TwoPixelBmp());
    Vemo::File file;
    ASSERT_TRUE(file.Open(At("picture.bmp"), nullptr, false));
    Image fromFile;
    ASSERT_TRUE(fromFile.Open(file));
    EXPECT_EQ(fromFile.GetWidth(), 2u);
    EXPECT_STREQ(
        dynamic_cast<Vemo::StandardImageHandle*>(fromFile.GetImageHandle())->GetPath().GetName().CStr(),
        "picture.bmp");

    const Bytes bytes = TwoPixelBmp();
    Image fromMemory;
    ASSERT_TRUE(fromMemory.Open(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    EXPECT_EQ(fromMemory.GetHeight(), 1u);
}

TEST_F(StandardImageEngineTest, CreatingAFileEmptiesItAtOnce) {
    WriteFile("old.pcx", Bytes(300, 7));
    Image image;
    ASSERT_TRUE(image.Create(At("old.pcx"), 6, 1, 1));
    EXPECT_TRUE(ReadFile("old.pcx").empty());
    EXPECT_EQ(image.GetPixelFormat().format, StandardPixelFormat::Rgb24);
}

// What a codec can never write is refused before the file is touched: every BMP, and 1- and 8-bit PCX.
TEST_F(StandardImageEngineTest, ACreateThatTheCodecCannotWriteLeavesTheFileAlone) {
    const Bytes old(50, 9);
    WriteFile("keep.bmp", old);
    WriteFile("keep.pcx", old);
    const PixelFormat indexed(StandardPixelFormat::Indexed8);
    Image bmp;
    EXPECT_FALSE(bmp.Create(At("keep.bmp"), 6, 1, 1));
    EXPECT_TRUE(ReportedInOrder(Taken(), {Reported(Vemo::ResourceSystemErrOpenFailed)}));
    Image pcxFormat;
    EXPECT_FALSE(pcxFormat.Create(At("keep.pcx"), &indexed, 1, 1));
    Image pcxDepth;
    EXPECT_FALSE(pcxDepth.Create(At("keep.pcx"), 1, 1, 1));
    EXPECT_EQ(ReadFile("keep.bmp"), old);
    EXPECT_EQ(ReadFile("keep.pcx"), old);
}

// A name without '.' is its own extension; a name ending in '.' has an empty one, which no codec is asked
// about (JPEG would take it).
TEST_F(StandardImageEngineTest, ANameEndingInADotMatchesNoCodec) {
    for (const char* name : {"picture.", "jpg"}) {
        Image image;
        EXPECT_EQ(image.Create(At(name), 6, 1, 1), std::string(name) == "jpg") << name;
    }
    Taken();
}

TEST_F(StandardImageEngineTest, AnEmptyContainerIsMadeWithoutAnyCodec) {
    const PixelFormat format(StandardPixelFormat::Rgb565);
    ImageContainer container;
    ASSERT_TRUE(container.Create(5, 4, &format, kSystemMemory, 1));
    Vemo::Graphic graphic;
    ASSERT_TRUE(container.GetGraphic(graphic));
    EXPECT_EQ(graphic.GetWidth(), 5);
    EXPECT_EQ(graphic.GetPixelFormat().format, StandardPixelFormat::Rgb565);
    Image current;
    EXPECT_FALSE(container.GetCurrentImage(current));
}

TEST_F(StandardImageEngineTest, AContainerOnAnOpenImageOnlyMakesTheGraphic) {
    WriteFile("art.bmp", TwoPixelBmp());
    Image image;
    ASSERT_TRUE(image.Open(At("art.bmp")));
    ImageContainer container;
    ASSERT_TRUE(container.Open(image, kSystemMemory));
    Vemo::Graphic graphic;
    ASSERT_TRUE(container.GetGraphic(graphic));
    EXPECT_EQ(graphic.GetSize().width, 2);
    EXPECT_EQ(graphic.GetPixelFormat().format, StandardPixelFormat::Bgr24);
    EXPECT_EQ(graphic.GetPixel(Vemo::Point(0, 0)), 0u);
    Image current;
    EXPECT_FALSE(container.GetCurrentImage(current));
}

TEST_F(StandardImageEngineTest, AContainerOnAPathAFileOrMemoryDecodesAtOnce) {
    const Bytes bytes = TwoPixelBmp();
    WriteFile("art.bmp", bytes);
    Vemo::File file;
    ASSERT_TRUE(file.Open(At("art.bmp"), nullptr, false));
    ImageContainer fromPath;
    ASSERT_TRUE(fromPath.Open(At("art.bmp"), kSystemMemory, 0, nullptr));
    ImageContainer fromFile;
    Vemo::ImageSearchCriterion byFile;
    byFile.m_kind = Vemo::ImageSearchCriterion::kContainer;
    byFile.m_file = &file;
    fromFile.SetHandle(m_imageSystem->Open(&byFile, &fromFile));
    ImageContainer fromMemory;
    Vemo::ImageSearchCriterion byData;
    const auto size = static_cast<std::uint32_t>(bytes.size());
    byData.m_kind = Vemo::ImageSearchCriterion::kContainer;
    byData.m_data = bytes.data();
    byData.m_size = &size;
    fromMemory.SetHandle(m_imageSystem->Open(&byData, &fromMemory));
    for (ImageContainer* container : {&fromPath, &fromFile, &fromMemory}) {
        Vemo::Graphic graphic;
        ASSERT_TRUE(container->GetGraphic(graphic));
        // The file's blue and red pixels; format 10 holds red in its low byte.
        EXPECT_EQ(graphic.GetPixel(Vemo::Point(0, 0)), 0xFF0000u);
        EXPECT_EQ(graphic.GetPixel(Vemo::Point(1, 0)), 0x0000FFu);
        Image current;
        EXPECT_TRUE(container->GetCurrentImage(current));
    }
}

TEST_F(StandardImageEngineTest, AContainerWhoseFirstDecodeFailsIsStillOpened) {
    BmpFile bmp;
    bmp.width = 1;
    bmp.height = 1;
    bmp.bits = 32;
    bmp.compression = 3;
    bmp.pixels = PackBmpRows({{1}}, 32);
    WriteFile("masks.bmp", bmp.Encode());
    ImageContainer container;
    ASSERT_TRUE(container.Open(At("masks.bmp"), kSystemMemory, 0, nullptr));
    Image current;
    EXPECT_TRUE(container.GetCurrentImage(current));
    EXPECT_FALSE(container.DecodeCurrentImage());
}

} // namespace
} // namespace VemoTest
