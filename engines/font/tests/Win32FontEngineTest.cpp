// The Win32 font engine's fonts, on DejaVu Sans and Sans Mono and the checked-in test fonts: sizes and
// metrics as GDI gives them, glyph tables, kerning pairs, styles, sharing, and every GDI failure.
#include "engines/font/tests/FontTestFixture.h"
#include "engines/font/win32/Win32FontHandle.h"
#include "resources/storage/Path.h"

#include <gtest/gtest.h>

#include <string>

namespace VemoTest {
namespace {

using Vemo::ErrorCode;
using Vemo::Font;
using Vemo::FontContainer;
using Vemo::String;

struct HeightCase {
    const char* name;
    const char* face;
    bool cellHeight;
    bool pixelUnits;
    std::uint32_t size;
};

// 12 points at 96 dots per inch are 16 pixels.
const HeightCase kHeights[] = {
    {"SansCellPoints", "DejaVu Sans", true, false, 12},
    {"SansCharacterPoints", "DejaVu Sans", false, false, 12},
    {"MonoCellPoints", "DejaVu Sans Mono", true, false, 12},
    {"MonoCharacterPoints", "DejaVu Sans Mono", false, false, 12},
    {"SansCellPixels", "DejaVu Sans", true, true, 16},
    {"MonoCharacterPixels", "DejaVu Sans Mono", false, true, 16},
};

class Win32FontHeightTest : public FontFamilyFixture, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(Win32FontHeightTest, IsTheCellOrTheCharacterHeight) {
    const HeightCase& height = GetParam();
    Font font;
    ASSERT_TRUE(OpenFont(font, {.name = height.face,
                                .size = height.size,
                                .cellHeight = height.cellHeight,
                                .pixelUnits = height.pixelUnits}));
    const std::int32_t cell = font.GetLineHeight() - font.GetExternalLeading();
    EXPECT_EQ(height.cellHeight ? cell : cell - font.GetInternalLeading(), 16);
    EXPECT_EQ(font.GetAscent() + font.GetDescent(), cell);
    EXPECT_GT(font.GetInternalLeading(), 0);
    EXPECT_TRUE(Taken().empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, Win32FontHeightTest, ::testing::ValuesIn(kHeights),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FontFamilyFixture, AWidthOfZeroLetsGdiChoose) {
    Font natural;
    Font naturalPixels;
    Font pixels;
    Font points;
    ASSERT_TRUE(OpenFont(natural, {}));
    ASSERT_TRUE(OpenFont(naturalPixels, {.size = 16, .pixelUnits = true}));
    ASSERT_TRUE(OpenFont(pixels, {.size = 16, .width = 10, .pixelUnits = true}));
    // 6 points are 8 pixels.
    ASSERT_TRUE(OpenFont(points, {.width = 6}));
    EXPECT_EQ(naturalPixels.GetAverageWidth(), natural.GetAverageWidth());
    EXPECT_EQ(pixels.GetAverageWidth(), 10);
    EXPECT_EQ(points.GetAverageWidth(), 8);
    EXPECT_NE(natural.GetAverageWidth(), 8);
}

TEST_F(FontFamilyFixture, TheGlyphTableCoversTheCharacterRangeWithAbcWidthsThatAddUp) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {.cellHeight = false}));
    const Vemo::FontDescription& description = *font.GetDescription();
    EXPECT_EQ(description.firstCharacter, 0x20u);
    EXPECT_EQ(description.lastCharacter, 0xFFu);
    EXPECT_EQ(description.glyphs.Size(), 0xFFu - 0x20u + 1);
    std::uint32_t code = description.firstCharacter;
    for (const Vemo::GlyphDescriptor& glyph : description.glyphs) {
        SCOPED_TRACE(glyph.code);
        EXPECT_EQ(glyph.code, code++);
        EXPECT_EQ(glyph.leftBearing + glyph.blackWidth + glyph.rightBearing, glyph.advance.x);
        EXPECT_EQ(glyph.advance.y, 0);
        EXPECT_EQ(glyph.box.right - glyph.box.left, glyph.blackWidth);
        EXPECT_EQ(glyph.box.left, glyph.leftBearing);
        EXPECT_LE(glyph.blackWidth, description.maximumWidth);
    }
    // Codes Windows-1252 leaves undefined take the default glyph, as does a code the face lacks.
    EXPECT_EQ(font.GetGlyphBox(0x81), font.GetGlyphBox(0x8D));
}

TEST_F(FontFamilyFixture, SansIsKernedAndProportionalMonoIsNeither) {
    Font sans;
    Font mono;
    ASSERT_TRUE(OpenFont(sans, {.cellHeight = false}));
    ASSERT_TRUE(OpenFont(mono, {.name = "DejaVu Sans Mono", .cellHeight = false}));
    EXPECT_FALSE(sans.IsFixedPitch());
    EXPECT_FALSE(sans.GetDescription()->kerningPairs.Empty());
    EXPECT_LT(sans.GetKerning('T', 'o'), 0);
    EXPECT_NE(sans.GetGlyphAdvance('i').x, sans.GetGlyphAdvance('W').x);

    EXPECT_TRUE(mono.IsFixedPitch());
    EXPECT_TRUE(mono.GetDescription()->kerningPairs.Empty());
    EXPECT_EQ(mono.GetKerning('T', 'o'), 0);
    for (const Vemo::GlyphDescriptor& glyph : mono.GetDescription()->glyphs) {
        EXPECT_EQ(glyph.advance.x, mono.GetAverageWidth());
    }
}

TEST_F(FontFamilyFixture, MeasureAppliesTheKerningPairs) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {.cellHeight = false}));
    FontContainer container;
    ASSERT_TRUE(container.OpenForFont(&font, 0));
    ASSERT_TRUE(container.AttachFont(&font));
    const std::int32_t kern = font.GetKerning('T', 'o');
    ASSERT_NE(kern, 0);
    EXPECT_EQ(container.MeasureText(String("To"), nullptr).width,
              font.GetGlyphBlackWidth('T') + font.GetGlyphRightBearing('T') + kern +
                  font.GetGlyphLeftBearing('o') + font.GetGlyphBlackWidth('o'));
    const std::int32_t unkerned = container.MeasureText(String("T"), nullptr).width +
                                  font.GetGlyphRightBearing('T') + font.GetGlyphLeftBearing('o') +
                                  container.MeasureText(String("o"), nullptr).width;
    EXPECT_EQ(container.MeasureText(String("To"), nullptr).width, unkerned + kern);
}

TEST_F(FontFamilyFixture, TheDescriptionKeepsWhatWasAskedFor) {
    const Vemo::TaggedColor red(Vemo::PixelValue(200, 0, 0), 1);
    const Vemo::TaggedColor foreign(Vemo::PixelValue(0, 0, 200), 2);
    Font font;
    ASSERT_TRUE(OpenFont(font, {.name = "No Such Face",
                                .bold = true,
                                .italic = true,
                                .underline = true,
                                .antialiased = true,
                                .styleExtra = 77,
                                .foreground = red,
                                .background = foreign}));
    String name;
    EXPECT_TRUE(font.GetName(name));
    EXPECT_STREQ(name.CStr(), "No Such Face");
    EXPECT_TRUE(font.IsBold());
    EXPECT_TRUE(font.IsItalic());
    EXPECT_TRUE(font.IsUnderline());
    EXPECT_FALSE(font.IsAntialiased());
    EXPECT_EQ(font.GetStyle()->extra, 77u);
    EXPECT_EQ(*font.GetForegroundColor(), red);
    EXPECT_EQ(*font.GetBackgroundColor(), foreign);
    EXPECT_EQ(font.GetCharacterSet(), Vemo::FontCharacterSet::Ansi);
    EXPECT_EQ(font.GetContainerColorTag(), 1u);
    EXPECT_EQ(font.GetContainerPixelFormat(), 5u);
    Vemo::Path path;
    EXPECT_TRUE(font.GetPath(path));
    EXPECT_TRUE(path.GetName().IsEmpty());
}

TEST_F(FontFamilyFixture, AFaceWithoutOutlinesIsRefused) {
    ASSERT_TRUE(AddFixtureFont("VemoRaster.bdf"));
    Font font;
    EXPECT_FALSE(OpenFont(font, {.name = "Vemo Raster", .size = 16, .pixelUnits = true}));
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {Vemo::Win32FontEngineErrGetGlyphOutline,
                                  Vemo::FontEngineErrOpenByAttributes, Vemo::ResourceSystemErrOpenFailed}));
    EXPECT_TRUE(m_fontSystem->GetFonts().Empty());
}

TEST_F(FontFamilyFixture, FilesAndDescriptionsAreNotSupported) {
    const String name("face.ttf");
    Font fromPath;
    EXPECT_FALSE(fromPath.Open(Vemo::Path(&name, nullptr)));
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {Vemo::ResourceSystemErrNotSupported, Vemo::FontEngineErrOpenFromPath,
                                  Vemo::ResourceSystemErrOpenFailed}));
    Font fromDescription;
    EXPECT_FALSE(fromDescription.OpenFromDescription(Vemo::FontDescription(), 1, Vemo::kWin32FontTypeId));
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {Vemo::ResourceSystemErrNotSupported, Vemo::FontEngineErrOpenFromDescription,
                                  Vemo::ResourceSystemErrOpenFailed}));
}

// Vemo Block at 16 pixels has a 16-pixel line and an average width of 8.
TEST_F(FontFamilyFixture, AFontOfTheSameNameLineHeightWidthStyleAndColoursIsShared) {
    ASSERT_TRUE(AddFixtureFont("VemoBlock.ttf"));
    const FontRequest block{.name = "Vemo Block", .size = 16, .width = 8, .pixelUnits = true};
    Font first;
    ASSERT_TRUE(OpenFont(first, block));
    ASSERT_EQ(first.GetLineHeight(), 16);
    ASSERT_EQ(first.GetAverageWidth(), 8);

    FontRequest characterHeight = block;
    characterHeight.cellHeight = false;
    Font second;
    ASSERT_TRUE(OpenFont(second, characterHeight));
    EXPECT_EQ(second.GetFontHandle(), first.GetFontHandle());

    FontRequest wider = block;
    wider.width = 9;
    FontRequest bold = block;
    bold.bold = true;
    FontRequest white = block;
    white.foreground = kWhite;
    for (const FontRequest& other : {wider, bold, white}) {
        Font font;
        ASSERT_TRUE(OpenFont(font, other));
        EXPECT_NE(font.GetFontHandle(), first.GetFontHandle());
    }
    EXPECT_EQ(first.GetFontHandle()->GetReferenceCount(), 2u);
}

struct GdiFailureCase {
    const char* name;
    const char* call;
    int skip;
    ErrorCode code;
};

const GdiFailureCase kOpenFailures[] = {
    {"CreateCompatibleDC", "CreateCompatibleDC", 0, Vemo::Win32FontEngineErrCreateDC},
    {"SetMapMode", "SetMapMode", 0, Vemo::Win32FontEngineErrSetMapMode},
    {"SetBkMode", "SetBkMode", 0, Vemo::Win32FontEngineErrSetBkMode},
    {"SetTextAlign", "SetTextAlign", 0, Vemo::Win32FontEngineErrSetTextAlign},
    {"SetTextCharacterExtra", "SetTextCharacterExtra", 0, Vemo::Win32FontEngineErrSetTextCharacterExtra},
    {"SetTextJustification", "SetTextJustification", 0, Vemo::Win32FontEngineErrSetTextJustification},
    {"CreateFontA", "CreateFontA", 0, Vemo::Win32FontEngineErrCreateFont},
    {"SelectObject", "SelectObject", 0, Vemo::Win32FontEngineErrSelectObject},
    {"GetTextMetricsA", "GetTextMetricsA", 0, Vemo::Win32FontEngineErrGetTextMetrics},
    {"GetGlyphOutlineA", "GetGlyphOutlineA", 40, Vemo::Win32FontEngineErrGetGlyphOutline},
    {"GetCharABCWidthsA", "GetCharABCWidthsA", 40, Vemo::Win32FontEngineErrGetCharABCWidths},
    {"GetKerningPairsA", "GetKerningPairsA", 1, Vemo::Win32FontEngineErrGetKerningPairs},
};

class Win32FontOpenFailureTest : public FontFamilyFixture,
                                 public ::testing::WithParamInterface<GdiFailureCase> {};

// Reported with the call's code; whatever the open had made is released (the fixture counts GDI's objects).
TEST_P(Win32FontOpenFailureTest, IsReportedAndReleasesWhatWasMade) {
    ASSERT_TRUE(win32::testing::FailGdiCall(GetParam().call, 1, GetParam().skip));
    Font font;
    EXPECT_FALSE(OpenFont(font, {.cellHeight = false}));
    const Reports reports = Taken();
    EXPECT_TRUE(ReportedInOrder(
        reports, {GetParam().code, Vemo::FontEngineErrOpenByAttributes, Vemo::ResourceSystemErrOpenFailed}));
    EXPECT_EQ(std::count_if(reports.begin(), reports.end(),
                            [](const Reported& r) {
                                return Vemo::ErrorCodeFacility(r.m_code) == Vemo::kWin32FontEngineFacility;
                            }),
              1);
    EXPECT_TRUE(m_fontSystem->GetFonts().Empty());
}

INSTANTIATE_TEST_SUITE_P(Calls, Win32FontOpenFailureTest, ::testing::ValuesIn(kOpenFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FontFamilyFixture, OfTwoFailingSettingsTheLastIsReported) {
    ASSERT_TRUE(win32::testing::FailGdiCall("SetMapMode"));
    ASSERT_TRUE(win32::testing::FailGdiCall("SetTextAlign"));
    Font font;
    EXPECT_FALSE(OpenFont(font, {}));
    const Reports reports = Taken();
    EXPECT_TRUE(ReportedInOrder(reports, {Vemo::Win32FontEngineErrSetTextAlign}));
    EXPECT_FALSE(ReportedInOrder(reports, {Vemo::Win32FontEngineErrSetMapMode}));
}

struct CloseFailureCase {
    const char* name;
    const char* call;
    Reports reports;
    std::size_t leakedObjects;
    std::size_t leakedDeviceContexts;
};

// A delete that fails leaves its object alive; a font that is not selected out cannot be deleted either.
const CloseFailureCase kCloseFailures[] = {
    {"SelectObject",
     "SelectObject",
     {Vemo::Win32FontEngineErrSelectObject, Vemo::Win32FontEngineErrDeleteObject,
      Vemo::FontEngineErrCloseFont},
     1,
     0},
    {"DeleteObject",
     "DeleteObject",
     {Vemo::Win32FontEngineErrDeleteObject, Vemo::FontEngineErrCloseFont},
     1,
     0},
    {"DeleteDC", "DeleteDC", {Vemo::Win32FontEngineErrDeleteDC, Vemo::FontEngineErrCloseFont}, 0, 1},
};

class Win32FontCloseFailureTest : public FontFamilyFixture,
                                  public ::testing::WithParamInterface<CloseFailureCase> {};

TEST_P(Win32FontCloseFailureTest, ReportsEachStepAndTakesTheNext) {
    {
        Font font;
        ASSERT_TRUE(OpenFont(font, {}));
        ASSERT_TRUE(win32::testing::FailGdiCall(GetParam().call));
    }
    EXPECT_TRUE(ReportedInOrder(Taken(), GetParam().reports));
    EXPECT_TRUE(m_fontSystem->GetFonts().Empty());
    ExpectLeaked(GetParam().leakedObjects, GetParam().leakedDeviceContexts);
}

INSTANTIATE_TEST_SUITE_P(Calls, Win32FontCloseFailureTest, ::testing::ValuesIn(kCloseFailures),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace VemoTest
