#include "engines/image/StandardImageHandle.h"

#include "engines/graphics/Graphic.h"
#include "engines/image/Image.h"
#include "engines/image/ImageContainer.h"
#include "engines/image/StandardImageFile.h"
#include "engines/image/StandardImageTargetWriter.h"
#include "engines/image/testing/ImageFamilyFixture.h"
#include "engines/image/testing/ImageFiles.h"
#include "resources/storage/File.h"

#include <gtest/gtest.h>

#include <memory>

namespace VemoTest {
namespace {

using Vemo::Graphic;
using Vemo::Image;
using Vemo::ImageContainer;
using Vemo::PixelFormat;
using Vemo::PixelValue;
using Vemo::StandardImageHandle;
using Vemo::StandardPixelFormat;

constexpr std::uint32_t kSystemMemory = 3;

Bytes SmallBmp() {
    BmpFile bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.pixels = PackBmpRows({{0x010203, 0x040506}, {0x070809, 0x0A0B0C}}, 24);
    return bmp.Encode();
}

StandardImageHandle* StandardHandle(const Image& image) {
    return dynamic_cast<StandardImageHandle*>(image.GetImageHandle());
}

// The handle base with its palette table reachable.
class PaletteHandle : public StandardImageHandle {
public:
    PaletteHandle() : StandardImageHandle(nullptr) {}
    using StandardImageHandle::AllocatePalette;
};

class StandardImageHandleTest : public ImageFamilyFixture {};

TEST_F(StandardImageHandleTest, LoadKeepsBytesItHoldsAndNeedsAPathOtherwise) {
    const Bytes bytes = SmallBmp();
    Image inMemory;
    ASSERT_TRUE(inMemory.Open(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    EXPECT_TRUE(inMemory.Load());
    EXPECT_EQ(StandardHandle(inMemory)->GetData(), bytes.data());
    EXPECT_EQ(StandardHandle(inMemory)->GetFile(), nullptr);

    std::unique_ptr<StandardImageHandle> unnamed(
        m_imageEngine->CreateHandleForName(Vemo::String("x.jpg"), nullptr, nullptr, nullptr));
    ASSERT_NE(unnamed, nullptr);
    EXPECT_FALSE(unnamed->Load());
    EXPECT_EQ(unnamed->GetFile(), nullptr);
}

TEST_F(StandardImageHandleTest, UnloadClosesOnlyAFileTheHandleOpenedItself) {
    WriteFile("art.bmp", SmallBmp());
    Image byPath;
    ASSERT_TRUE(byPath.Open(At("art.bmp")));
    StandardImageHandle* owning = StandardHandle(byPath);
    owning->ReleaseData(false);
    EXPECT_EQ(owning->GetData(), nullptr);
    EXPECT_NE(owning->GetFile(), nullptr);
    ASSERT_TRUE(byPath.Load());
    ASSERT_TRUE(byPath.Unload());
    EXPECT_EQ(owning->GetFile(), nullptr);
    ASSERT_TRUE(byPath.Load());
    EXPECT_EQ(byPath.GetWidth(), 2u);

    Vemo::File file;
    ASSERT_TRUE(file.Open(At("art.bmp"), nullptr, false));
    Image byFile;
    ASSERT_TRUE(byFile.Open(file));
    ASSERT_TRUE(byFile.Unload());
    EXPECT_NE(StandardHandle(byFile)->GetFile(), nullptr);
    EXPECT_TRUE(byFile.Load());
}

TEST_F(StandardImageHandleTest, AFailingHeaderLeavesTheHandleWithoutBytes) {
    WriteFile("art.bmp", SmallBmp());
    Image image;
    ASSERT_TRUE(image.Open(At("art.bmp")));
    ASSERT_TRUE(image.Unload());
    WriteFile("art.bmp", Bytes(80, 1));
    EXPECT_FALSE(image.Load());
    EXPECT_EQ(StandardHandle(image)->GetData(), nullptr);
}

TEST_F(StandardImageHandleTest, ALargeEnoughPaletteIsKeptWithItsCount) {
    PaletteHandle handle;
    handle.AllocatePalette(256);
    handle.AllocatePalette(16);
    EXPECT_EQ(handle.GetPalette().size(), 256u);
    handle.AllocatePalette(300);
    EXPECT_EQ(handle.GetPalette().size(), 300u);
}

// Saving writes the bytes at the start of the file and cuts off what an earlier, longer save left.
TEST_F(StandardImageHandleTest, SaveCutsTheFileToTheBytes) {
    const PixelFormat format(StandardPixelFormat::Rgb565);
    Image image;
    ASSERT_TRUE(image.Create(At("out.pcx"), Vemo::DepthCode{0}, 1, 1));
    ImageContainer container;
    ASSERT_TRUE(container.Create(40, 30, &format, kSystemMemory, 1));
    ASSERT_TRUE(container.SelectImage(image));
    Graphic graphic;
    ASSERT_TRUE(container.GetGraphic(graphic));
    for (std::int32_t y = 0; y < 30; ++y) {
        for (std::int32_t x = 0; x < 40; ++x) {
            graphic.SetPixel(static_cast<std::uint32_t>(x * 977 + y * 131), Vemo::Point(x, y));
        }
    }
    ASSERT_TRUE(container.SaveCurrentImage(1));
    const std::size_t noisy = ReadFile("out.pcx").size();
    ASSERT_TRUE(graphic.Clear());
    ASSERT_TRUE(container.SaveCurrentImage(1));
    const Bytes plain = ReadFile("out.pcx");
    EXPECT_LT(plain.size(), noisy);
    EXPECT_EQ(plain[0], 10);
}

class TargetWriterTest : public ImageFamilyFixture {
protected:
    std::unique_ptr<Graphic> Make(StandardPixelFormat number) {
        auto graphic = std::make_unique<Graphic>();
        const PixelFormat format(number);
        EXPECT_TRUE(graphic->Open(4, 2, &format, Vemo::GraphicSystem::Memory::System, 1));
        return graphic;
    }
};

TEST_F(TargetWriterTest, PacksThePaletteOnlyForIndicesIntoDirectColour) {
    std::vector<PixelValue> palette(256);
    for (std::uint32_t i = 0; i < 256; ++i) {
        palette[i] = PixelValue(static_cast<std::uint8_t>(i), 0x10, 0x80);
    }
    auto wide = Make(StandardPixelFormat::Rgb24);
    auto indexed = Make(StandardPixelFormat::Indexed8);
    Vemo::StandardImageTargetWriter writer;
    ASSERT_TRUE(writer.Begin(4, 2, 8, 1, wide.get(), true, palette.data(), 256, false));
    EXPECT_EQ(writer.m_palette[0], 0x001080u);
    EXPECT_EQ(writer.m_palette[255], 0xFF1080u);
    writer.End();

    ASSERT_TRUE(writer.Begin(4, 2, 16, 1, wide.get(), true, palette.data(), 256, false));
    EXPECT_EQ(writer.m_palette[0], 0u);
    writer.End();

    ASSERT_TRUE(writer.Begin(4, 2, 8, 1, indexed.get(), true, palette.data(), 256, false));
    EXPECT_EQ(writer.m_palette[1], 0u);
}

// Only the entries the image has are converted; the others are black, and nothing past the table is read.
TEST_F(TargetWriterTest, AShortPaletteLeavesTheOtherEntriesBlack) {
    const std::vector<PixelValue> palette(5, PixelValue(0xFF, 0xFF, 0xFF));
    auto graphic = Make(StandardPixelFormat::Xrgb32);
    Vemo::StandardImageTargetWriter writer;
    ASSERT_TRUE(writer.Begin(4, 2, 4, 1, graphic.get(), true, palette.data(), 5, false));
    EXPECT_EQ(writer.m_palette[4], 0xFFFFFFu);
    EXPECT_EQ(writer.m_palette[5], 0u);
    EXPECT_EQ(writer.m_palette[15], 0u);
}

TEST_F(TargetWriterTest, RowsRunTopDownOrBottomUpFromTheTopLeftCorner) {
    auto graphic = Make(StandardPixelFormat::Indexed8);
    ASSERT_TRUE(graphic->Lock());
    std::uint8_t* top = graphic->GetPixels();
    const std::int32_t pitch = graphic->GetPitch();
    ASSERT_TRUE(graphic->Unlock());
    Vemo::StandardImageTargetWriter writer;
    ASSERT_TRUE(writer.Begin(4, 2, 8, 1, graphic.get(), true, nullptr, 0, false));
    EXPECT_EQ(writer.Row(0), top);
    EXPECT_EQ(writer.Row(1), top + pitch);
    writer.End();
    ASSERT_TRUE(writer.Begin(4, 1, 8, 1, graphic.get(), false, nullptr, 0, false));
    EXPECT_EQ(writer.Row(0), top);
    writer.End();
    ASSERT_TRUE(writer.Begin(4, 2, 8, 1, graphic.get(), false, nullptr, 0, false));
    EXPECT_EQ(writer.Row(0), top + pitch);
    EXPECT_EQ(writer.Row(1), top);
    writer.End();
    EXPECT_FALSE(graphic->IsLocked());
}

TEST_F(TargetWriterTest, ALockThatFailsOrAWriterInUseRefuses) {
    auto graphic = Make(StandardPixelFormat::Xrgb32);
    Vemo::StandardImageTargetWriter writer;
    ASSERT_TRUE(writer.Begin(4, 2, 24, 1, graphic.get(), true, nullptr, 0, false));
    EXPECT_FALSE(writer.Begin(4, 2, 24, 1, graphic.get(), true, nullptr, 0, false));
    writer.End();
    FailNextLock();
    EXPECT_FALSE(writer.Begin(4, 2, 24, 1, graphic.get(), true, nullptr, 0, false));
    EXPECT_FALSE(writer.Begin(4, 2, 0, 1, graphic.get(), true, nullptr, 0, false));
    EXPECT_FALSE(graphic->IsLocked());
}

} // namespace
} // namespace VemoTest
