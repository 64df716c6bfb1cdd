// A font container opened like an image: the graphic the image decodes into gives its size and format.
#include "engines/font/FontContainer.h"
#include "engines/font/FontContainerGraphic.h"
#include "engines/font/FontContainerHandle.h"
#include "engines/font/FontErrorCodes.h"
#include "engines/font/FontSystem.h"
#include "engines/font/win32/Win32FontEngine.h"
#include "engines/image/Image.h"
#include "engines/image/testing/ImageFamilyFixture.h"
#include "engines/image/testing/ImageFiles.h"

#include <gtest/gtest.h>

namespace VemoTest {
namespace {

class FontContainerImageTest : public ImageFamilyFixture {
protected:
    void SetUp() override {
        ImageFamilyFixture::SetUp();
        m_fontSystem = Vemo::FontSystem::Create();
        ASSERT_NE(m_fontSystem, nullptr);
        m_application.m_fontSystem = m_fontSystem;
        ASSERT_TRUE(m_fontSystem->AddEngine(Vemo::Win32FontEngine::Create()));
        BmpFile bmp;
        bmp.width = 5;
        bmp.height = 2;
        bmp.pixels = PackBmpRows({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}, 24);
        WriteFile("art.bmp", bmp.Encode());
        // Bit fields without masks: the header reads, the pixels do not decode.
        BmpFile undecodable;
        undecodable.width = 3;
        undecodable.height = 1;
        undecodable.bits = 32;
        undecodable.compression = 3;
        undecodable.pixels = PackBmpRows({{1, 2, 3}}, 32);
        WriteFile("bad.bmp", undecodable.Encode());
        Taken();
    }

    void TearDown() override {
        m_fontSystem->Shutdown();
        m_application.m_fontSystem = nullptr;
        ImageFamilyFixture::TearDown();
    }

    Vemo::FontSystem* m_fontSystem = nullptr;
};

TEST_F(FontContainerImageTest, TakesTheSizeAndFormatOfTheDecodedImage) {
    Vemo::Image image;
    ASSERT_TRUE(image.Open(At("art.bmp")));
    Vemo::FontContainer container;
    ASSERT_TRUE(container.OpenLike(image));
    const Vemo::Graphic& graphic = *container.GetContainerHandle()->GetGraphic();
    EXPECT_EQ(graphic.GetWidth(), 5);
    EXPECT_EQ(graphic.GetHeight(), 2);
    EXPECT_EQ(graphic.GetDepth(), 6u);
    EXPECT_EQ(graphic.GetPlacement(), 3u);
    EXPECT_EQ(graphic.GetColorTag(), 1u);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(FontContainerImageTest, AnImageThatDoesNotDecodeOpensNothing) {
    Vemo::Image image;
    ASSERT_TRUE(image.Open(At("bad.bmp")));
    Vemo::Image closed;
    Vemo::FontContainer container;
    EXPECT_FALSE(container.OpenLike(image));
    EXPECT_TRUE(ReportedInOrder(Taken(), {Vemo::FontSystemErrImageDecodeFailed}));
    EXPECT_FALSE(container.OpenLike(closed));
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {Vemo::ResourceSystemErrNoHandle, Vemo::FontSystemErrImageDecodeFailed}));
    EXPECT_EQ(container.GetContainerHandle(), nullptr);
}

} // namespace
} // namespace VemoTest
