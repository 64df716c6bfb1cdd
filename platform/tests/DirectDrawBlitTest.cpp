#include "platform/tests/DirectDrawFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace ddraw::tests {
namespace {

using BlitTest = DirectDrawTest;

struct Layout {
    const char* name;
    DDPIXELFORMAT format;
    std::uint32_t first;
    std::uint32_t second;
};

class CopyTest : public DirectDrawTest, public ::testing::WithParamInterface<Layout> {};

// A source filled with `first` but for a `second` square at (1, 1)-(3, 3), copied at (4, 2) of a
// destination cleared to 0.
TEST_P(CopyTest, ARectangleLandsAtItsPlaceAndNothingElseChanges) {
    const Layout& layout = GetParam();
    IDirectDrawSurface4* source = Make(6, 6, layout.format);
    IDirectDrawSurface4* destination = Make(8, 8, layout.format);
    ASSERT_EQ(Fill(source, layout.first), DD_OK);
    RECT square{1, 1, 3, 3};
    ASSERT_EQ(Fill(source, layout.second, &square), DD_OK);
    ASSERT_EQ(Fill(destination, 0), DD_OK);

    RECT from{0, 0, 4, 4};
    RECT to{4, 2, 8, 6};
    ASSERT_EQ(destination->Blt(&to, source, &from, DDBLT_WAIT | DDBLT_ASYNC, nullptr), DD_OK);
    EXPECT_EQ(ReadPixel(destination, 4, 2), layout.first);
    EXPECT_EQ(ReadPixel(destination, 5, 3), layout.second);
    EXPECT_EQ(ReadPixel(destination, 6, 4), layout.second);
    EXPECT_EQ(ReadPixel(destination, 7, 5), layout.first);
    EXPECT_EQ(ReadPixel(destination, 3, 3), 0U);
    EXPECT_EQ(ReadPixel(destination, 4, 1), 0U);
    EXPECT_EQ(ReadPixel(destination, 4, 6), 0U);
}

INSTANTIATE_TEST_SUITE_P(Formats, CopyTest,
                         ::testing::Values(Layout{"Rgb32", Rgb32(), 0x00123456, 0x00FEDCBA},
                                           Layout{"Rgb24", Rgb24(), 0x123456, 0xFEDCBA},
                                           Layout{"Rgb16", Rgb16(), 0x1234, 0xF81F},
                                           Layout{"Indexed8", Indexed(8), 0x12, 0xFE},
                                           Layout{"Indexed4", Indexed(4), 0x3, 0xC},
                                           Layout{"Indexed1", Indexed(1), 0x1, 0x0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BlitTest, TheSourceKeyLeavesKeyColouredPixelsOut) {
    IDirectDrawSurface4* source = Make(4, 1, Rgb32());
    IDirectDrawSurface4* destination = Make(4, 1, Rgb32());
    for (int x = 0; x < 4; ++x) {
        WritePixel(source, x, 0, x % 2 == 0 ? 0xFF00FF : 0x000010 * static_cast<std::uint32_t>(x));
    }
    ASSERT_EQ(Fill(destination, 0x777777), DD_OK);
    DDCOLORKEY key{0xFF00FF, 0xFF00FF};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    ASSERT_EQ(destination->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr), DD_OK);
    EXPECT_EQ(ReadPixel(destination, 0, 0), 0x777777U);
    EXPECT_EQ(ReadPixel(destination, 1, 0), 0x000010U);
    EXPECT_EQ(ReadPixel(destination, 2, 0), 0x777777U);
    EXPECT_EQ(ReadPixel(destination, 3, 0), 0x000030U);

    // A range key (colour space) takes out every value between its ends.
    DDCOLORKEY range{0x10, 0x20};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT | DDCKEY_COLORSPACE, &range), DD_OK);
    ASSERT_EQ(Fill(destination, 0x5), DD_OK);
    ASSERT_EQ(destination->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr), DD_OK);
    EXPECT_EQ(ReadPixel(destination, 0, 0), 0xFF00FFU);
    EXPECT_EQ(ReadPixel(destination, 1, 0), 0x5U);
    EXPECT_EQ(ReadPixel(destination, 3, 0), 0x30U);
}

struct RasterCase {
    const char* name;
    DWORD operation;
    std::uint8_t result;
};

// With the source 0xCC and the destination 0xAA, each operation gives its own index byte.
const RasterCase kRasterCases[] = {
    {"Blackness", BLACKNESS, 0x00}, {"NotSrcErase", NOTSRCERASE, 0x11}, {"NotSrcCopy", NOTSRCCOPY, 0x33},
    {"SrcErase", SRCERASE, 0x44},   {"DstInvert", DSTINVERT, 0x55},     {"SrcInvert", SRCINVERT, 0x66},
    {"SrcAnd", SRCAND, 0x88},       {"MergePaint", MERGEPAINT, 0xBB},   {"SrcCopy", SRCCOPY, 0xCC},
    {"SrcPaint", SRCPAINT, 0xEE},   {"Whiteness", WHITENESS, 0xFF},
};

class RasterTest : public DirectDrawTest, public ::testing::WithParamInterface<RasterCase> {};

TEST_P(RasterTest, ABlitCombinesSourceAndDestination) {
    IDirectDrawSurface4* source = Make(2, 2, Indexed(8));
    IDirectDrawSurface4* destination = Make(2, 2, Indexed(8));
    ASSERT_EQ(Fill(source, 0xCC), DD_OK);
    ASSERT_EQ(Fill(destination, 0xAA), DD_OK);
    DDBLTFX fx = Effects();
    fx.dwROP = GetParam().operation;
    ASSERT_EQ(destination->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_ASYNC | DDBLT_ROP, &fx), DD_OK);
    EXPECT_EQ(ReadPixel(destination, 1, 1), GetParam().result);
}

TEST_P(RasterTest, AColourFillTakesTheFillColourAsItsSource) {
    IDirectDrawSurface4* destination = Make(2, 2, Indexed(8));
    ASSERT_EQ(Fill(destination, 0xAA), DD_OK);
    DDBLTFX fx = Effects();
    fx.dwROP = GetParam().operation;
    fx.dwFillColor = 0xCC;
    ASSERT_EQ(destination->Blt(nullptr, nullptr, nullptr,
                               DDBLT_WAIT | DDBLT_COLORFILL | DDBLT_ROP | DDBLT_ASYNC, &fx),
              DD_OK);
    EXPECT_EQ(ReadPixel(destination, 0, 1), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Operations, RasterTest, ::testing::ValuesIn(kRasterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BlitTest, RasterOperationsActOnEveryBitOfAPixel) {
    IDirectDrawSurface4* destination = Make(2, 1, Rgb32());
    ASSERT_EQ(Fill(destination, 0x00123456), DD_OK);
    DDBLTFX fx = Effects();
    fx.dwROP = DSTINVERT;
    ASSERT_EQ(destination->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT | DDBLT_ROP, &fx), DD_OK);
    EXPECT_EQ(ReadPixel(destination, 0, 0), 0xFFEDCBA9U);
    fx.dwROP = WHITENESS;
    ASSERT_EQ(destination->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT | DDBLT_ROP, &fx), DD_OK);
    EXPECT_EQ(ReadPixel(destination, 1, 0), 0xFFFFFFFFU);
}

TEST_F(BlitTest, AnOperationThatUsesAPatternIsNotDone) {
    IDirectDrawSurface4* source = Make(2, 2, Rgb32());
    IDirectDrawSurface4* destination = Make(2, 2, Rgb32());
    ASSERT_EQ(Fill(destination, 9), DD_OK);
    DDBLTFX fx = Effects();
    fx.dwROP = 0x00F00021; // PATCOPY
    EXPECT_EQ(destination->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_ROP, &fx), DDERR_NORASTEROPHW);
    EXPECT_EQ(ReadPixel(destination, 0, 0), 9U);
}

TEST_F(BlitTest, ScaledBlitsTakeThePixelUnderEachCentre) {
    IDirectDrawSurface4* source = Make(4, 1, Indexed(8));
    for (int x = 0; x < 4; ++x) {
        WritePixel(source, x, 0, static_cast<std::uint32_t>(10 * (x + 1)));
    }
    IDirectDrawSurface4* wide = Make(8, 2, Indexed(8));
    ASSERT_EQ(wide->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    const std::uint32_t doubled[] = {10, 10, 20, 20, 30, 30, 40, 40};
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(ReadPixel(wide, x, 0), doubled[x]) << x;
        EXPECT_EQ(ReadPixel(wide, x, 1), doubled[x]) << x;
    }
    IDirectDrawSurface4* narrow = Make(2, 1, Indexed(8));
    ASSERT_EQ(narrow->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixel(narrow, 0, 0), 20U);
    EXPECT_EQ(ReadPixel(narrow, 1, 0), 40U);
    RECT three{0, 0, 3, 1};
    RECT two{0, 0, 2, 1};
    ASSERT_EQ(narrow->Blt(&two, source, &three, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixel(narrow, 0, 0), 10U);
    EXPECT_EQ(ReadPixel(narrow, 1, 0), 30U);
}

TEST_F(BlitTest, AScaledBlitKeepsTheSourceKeyAndTheRasterOperation) {
    IDirectDrawSurface4* source = Make(2, 1, Indexed(8));
    WritePixel(source, 0, 0, 0xF0);
    WritePixel(source, 1, 0, 0x0F);
    DDCOLORKEY key{0x0F, 0x0F};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    IDirectDrawSurface4* destination = Make(4, 1, Indexed(8));
    ASSERT_EQ(Fill(destination, 0x11), DD_OK);
    DDBLTFX fx = Effects();
    fx.dwROP = SRCPAINT;
    ASSERT_EQ(destination->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC | DDBLT_ROP, &fx), DD_OK);
    EXPECT_EQ(ReadPixel(destination, 1, 0), 0xF1U);
    EXPECT_EQ(ReadPixel(destination, 2, 0), 0x11U);
}

TEST_F(BlitTest, ABlitWithinOneSurfaceMayOverlap) {
    IDirectDrawSurface4* surface = Make(5, 1, Rgb16());
    for (int x = 0; x < 5; ++x) {
        WritePixel(surface, x, 0, static_cast<std::uint32_t>(x + 1));
    }
    RECT from{0, 0, 4, 1};
    RECT to{1, 0, 5, 1};
    ASSERT_EQ(surface->Blt(&to, surface, &from, DDBLT_WAIT, nullptr), DD_OK);
    const std::uint32_t shifted[] = {1, 1, 2, 3, 4};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(ReadPixel(surface, x, 0), shifted[x]) << x;
    }
}

TEST_F(BlitTest, AColourFillCoversItsRectangleOnly) {
    IDirectDrawSurface4* surface = Make(6, 4, Rgb24());
    ASSERT_EQ(Fill(surface, 0x010203), DD_OK);
    RECT part{2, 1, 4, 3};
    ASSERT_EQ(Fill(surface, 0xA0B0C0, &part), DD_OK);
    EXPECT_EQ(ReadPixel(surface, 2, 1), 0xA0B0C0U);
    EXPECT_EQ(ReadPixel(surface, 3, 2), 0xA0B0C0U);
    EXPECT_EQ(ReadPixel(surface, 4, 2), 0x010203U);
    EXPECT_EQ(ReadPixel(surface, 2, 3), 0x010203U);
}

TEST_F(BlitTest, RectanglesMustLieInsideUnlessTheDestinationHasAClipper) {
    IDirectDrawSurface4* source = Make(4, 4, Rgb32());
    IDirectDrawSurface4* destination = Make(4, 4, Rgb32());
    ASSERT_EQ(Fill(source, 0x55), DD_OK);
    ASSERT_EQ(Fill(destination, 0), DD_OK);
    RECT beyond{2, 2, 6, 6};
    RECT whole{0, 0, 4, 4};
    RECT inverted{3, 0, 1, 4};
    EXPECT_EQ(destination->Blt(&beyond, source, &whole, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(destination->Blt(&whole, source, &beyond, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(destination->Blt(&inverted, source, &whole, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);

    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
    ASSERT_EQ(destination->SetClipper(clipper), DD_OK);
    ASSERT_EQ(destination->Blt(&beyond, source, &whole, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixel(destination, 3, 3), 0x55U);
    EXPECT_EQ(ReadPixel(destination, 1, 1), 0U);
    ASSERT_EQ(destination->SetClipper(nullptr), DD_OK);
    clipper->Release();
}

TEST_F(BlitTest, BlitsThatCannotBeDoneSayWhy) {
    IDirectDrawSurface4* source = Make(4, 4, Rgb32());
    IDirectDrawSurface4* other = Make(4, 4, Rgb16());
    IDirectDrawSurface4* destination = Make(4, 4, Rgb32());
    EXPECT_EQ(destination->Blt(nullptr, other, nullptr, DDBLT_WAIT, nullptr), DDERR_UNSUPPORTED);
    EXPECT_EQ(destination->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr),
              DDERR_COLORKEYNOTSET);
    EXPECT_EQ(destination->Blt(nullptr, source, nullptr, DDBLT_WAIT | 0x800 /* DDBLT_DDFX */, nullptr),
              DDERR_UNSUPPORTED);
    EXPECT_EQ(destination->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(destination->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT | DDBLT_COLORFILL, nullptr),
              DDERR_INVALIDPARAMS);
    ASSERT_TRUE(testing::LoseSurface(source));
    EXPECT_EQ(destination->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(source->Blt(nullptr, destination, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACELOST);
}

} // namespace
} // namespace ddraw::tests
