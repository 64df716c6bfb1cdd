#include "platform/tests/GdiTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace win32::tests {
namespace {

constexpr MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

class GdiFontTest : public GdiTest {
protected:
    void SetUp() override {
        GdiTest::SetUp();
        m_dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(m_dc, nullptr);
    }
    void TearDown() override {
        EXPECT_TRUE(DeleteDC(m_dc));
        GdiTest::TearDown();
    }

    HDC m_dc = nullptr;
};

TEST_F(GdiFontTest, TwelvePointsAtTheScreensResolutionAreSixteenPixels) {
    EXPECT_EQ(GetDeviceCaps(m_dc, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(m_dc, LOGPIXELSY), 96);
    EXPECT_EQ(MulDiv(12, GetDeviceCaps(m_dc, LOGPIXELSY), 72), 16);
}

// DejaVu Sans: 2048 units to the em, Windows ascent 1901 and descent 483.
TEST_F(GdiFontTest, APositiveHeightIsTheCellAndANegativeOneTheEm) {
    {
        SelectedFont cell(m_dc, MakeFont("DejaVu Sans", 16));
        ASSERT_TRUE(cell.Valid());
        TEXTMETRICA metrics = cell.Metrics();
        EXPECT_EQ(metrics.tmHeight, 16);
        // The em is the largest that fits: 16 x 2048 / 2384 = 13.7, so 13 pixels; the ascent 1901 x 13 / 2048
        // = 12.07 rounds up.
        EXPECT_EQ(metrics.tmAscent, 13);
        EXPECT_EQ(metrics.tmDescent, 3);
        EXPECT_EQ(metrics.tmInternalLeading, 3);
    }
    {
        SelectedFont em(m_dc, MakeFont("DejaVu Sans", -16));
        ASSERT_TRUE(em.Valid());
        TEXTMETRICA metrics = em.Metrics();
        EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 16);
        EXPECT_EQ(metrics.tmAscent, 15); // 1901 x 16 / 2048 = 14.85
        EXPECT_EQ(metrics.tmDescent, 4); // 483 x 16 / 2048 = 3.77
        EXPECT_EQ(metrics.tmHeight, 19);
        EXPECT_EQ(metrics.tmExternalLeading, 0);
    }
}

TEST_F(GdiFontTest, AHeightOfZeroIsTheDefaultCellOfSixteen) {
    SelectedFont font(m_dc, MakeFont("DejaVu Sans", 0));
    ASSERT_TRUE(font.Valid());
    EXPECT_EQ(font.Metrics().tmHeight, 16);
}

TEST_F(GdiFontTest, TheMetricsTellTheFaceAndWhatWasAskedFor) {
    SelectedFont sans(m_dc, MakeFont("DejaVu Sans", -16, ANTIALIASED_QUALITY, FW_BOLD, true, true));
    ASSERT_TRUE(sans.Valid());
    TEXTMETRICA metrics = sans.Metrics();
    EXPECT_EQ(metrics.tmWeight, FW_BOLD);
    EXPECT_NE(metrics.tmItalic, 0);
    EXPECT_NE(metrics.tmUnderlined, 0);
    EXPECT_EQ(metrics.tmCharSet, ANSI_CHARSET);
    EXPECT_EQ(metrics.tmFirstChar, 0x20);
    EXPECT_EQ(metrics.tmLastChar, 0xFF);
    // Set for a proportional face: Windows' inverted meaning.
    EXPECT_EQ(metrics.tmPitchAndFamily & (TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE),
              TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE);
    EXPECT_EQ(metrics.tmAveCharWidth, 9); // 1173 units of the bold face at 16 pixels

    SelectedFont mono(m_dc, MakeFont("DejaVu Sans Mono", -16));
    ASSERT_TRUE(mono.Valid());
    TEXTMETRICA monoMetrics = mono.Metrics();
    EXPECT_EQ(monoMetrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
    EXPECT_EQ(monoMetrics.tmWeight, FW_NORMAL);
    EXPECT_EQ(monoMetrics.tmItalic, 0);
    int advance = mono.Advance('M');
    for (int code = monoMetrics.tmFirstChar; code <= monoMetrics.tmLastChar; ++code) {
        EXPECT_EQ(mono.Advance(static_cast<BYTE>(code)), advance) << code;
    }
    EXPECT_EQ(monoMetrics.tmAveCharWidth, advance);
    EXPECT_EQ(monoMetrics.tmMaxCharWidth, advance);
}

TEST_F(GdiFontTest, AWidthSetsTheAverageCharacterWidth) {
    TEXTMETRICA naturalMetrics{};
    int naturalAdvance = 0;
    {
        SelectedFont natural(m_dc, MakeFont("DejaVu Sans", -16));
        ASSERT_TRUE(natural.Valid());
        naturalMetrics = natural.Metrics();
        naturalAdvance = natural.Advance('m');
    }
    EXPECT_EQ(naturalMetrics.tmAveCharWidth, 8); // 1038 x 16 / 2048 = 8.1
    SelectedFont wide(m_dc, MakeFont("DejaVu Sans", -16, ANTIALIASED_QUALITY, FW_NORMAL, false, false, 16));
    ASSERT_TRUE(wide.Valid());
    EXPECT_EQ(wide.Metrics().tmAveCharWidth, 16);
    EXPECT_EQ(wide.Metrics().tmHeight, naturalMetrics.tmHeight);
    EXPECT_GT(wide.Advance('m'), naturalAdvance * 3 / 2);
}

TEST_F(GdiFontTest, AnUnknownFaceNameStillGivesAFont) {
    SelectedFont font(m_dc, MakeFont("No Such Face At All", -16));
    ASSERT_TRUE(font.Valid());
    EXPECT_EQ(font.Metrics().tmHeight - font.Metrics().tmInternalLeading, 16);
    HFONT longName = MakeFont("A face name far longer than thirty-one characters", 12);
    EXPECT_NE(longName, nullptr);
    EXPECT_TRUE(DeleteObject(longName));
}

TEST_F(GdiFontTest, CreateFontIndirectTakesTheSameDescription) {
    LOGFONTA description{};
    description.lfHeight = -16;
    description.lfWeight = FW_NORMAL;
    description.lfQuality = ANTIALIASED_QUALITY;
    description.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(description.lfFaceName, "DejaVu Sans");
    SelectedFont indirect(m_dc, CreateFontIndirectA(&description));
    ASSERT_TRUE(indirect.Valid());
    TEXTMETRICA metrics = indirect.Metrics();
    EXPECT_EQ(metrics.tmHeight, 19);
    EXPECT_EQ(metrics.tmPitchAndFamily & 0xF0, FF_SWISS);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
}

TEST_F(GdiFontTest, FontsThatCannotBeDrawnAreRefused) {
    EXPECT_EQ(CreateFontA(-16, 0, 900, 900, 0, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"), nullptr);
    EXPECT_EQ(MakeFont("DejaVu Sans", 5000), nullptr);
    EXPECT_EQ(MakeFont("DejaVu Sans", -16, ANTIALIASED_QUALITY, FW_NORMAL, false, false, -5000), nullptr);
}

// The fixture's glyphs are rectangles on the pixel grid at 16 pixels (see fixtures/fonts/make-fonts.py).
class GdiFixtureFontTest : public GdiFontTest {
protected:
    void SetUp() override {
        GdiFontTest::SetUp();
        ASSERT_TRUE(testing::AddFontFile(testing::FixtureFontPath("VemoBlock.ttf")));
    }
};

TEST_F(GdiFixtureFontTest, MetricsOfGlyphsOnThePixelGrid) {
    SelectedFont font(m_dc, MakeFont("Vemo Block", -16));
    ASSERT_TRUE(font.Valid());
    TEXTMETRICA metrics = font.Metrics();
    EXPECT_EQ(metrics.tmHeight, 16);
    EXPECT_EQ(metrics.tmAscent, 12);
    EXPECT_EQ(metrics.tmDescent, 4);
    EXPECT_EQ(metrics.tmInternalLeading, 0);
    EXPECT_EQ(metrics.tmAveCharWidth, 8);
    EXPECT_EQ(metrics.tmMaxCharWidth, 9);
    // No space: the range starts at '!'; the euro sign (code 0x80) is the last code mapped.
    EXPECT_EQ(metrics.tmFirstChar, '!');
    EXPECT_EQ(metrics.tmLastChar, 0x80);

    struct Expected {
        BYTE code;
        int a;
        UINT b;
        int c;
        UINT rows;
        LONG top;
    };
    for (Expected expected : {Expected{'!', 0, 8, 0, 16, 12}, Expected{'A', 0, 7, 1, 10, 10},
                              Expected{'V', 1, 7, 1, 10, 10}, Expected{0x80, 1, 6, 1, 8, 8}}) {
        ABC abc = font.Widths(expected.code);
        EXPECT_EQ(abc.abcA, expected.a) << expected.code;
        EXPECT_EQ(abc.abcB, expected.b) << expected.code;
        EXPECT_EQ(abc.abcC, expected.c) << expected.code;
        GLYPHMETRICS glyph{};
        ASSERT_NE(GetGlyphOutlineA(m_dc, expected.code, GGO_METRICS, &glyph, 0, nullptr, &kIdentity),
                  GDI_ERROR);
        EXPECT_EQ(glyph.gmBlackBoxX, expected.b);
        EXPECT_EQ(glyph.gmBlackBoxY, expected.rows);
        EXPECT_EQ(glyph.gmptGlyphOrigin.x, expected.a);
        EXPECT_EQ(glyph.gmptGlyphOrigin.y, expected.top);
        EXPECT_EQ(glyph.gmCellIncX, expected.a + static_cast<int>(expected.b) + expected.c);
        EXPECT_EQ(glyph.gmCellIncY, 0);
    }
}

TEST_F(GdiFixtureFontTest, UndefinedAndMissingCodesTakeTheDefaultGlyph) {
    SelectedFont font(m_dc, MakeFont("Vemo Block", -16));
    ASSERT_TRUE(font.Valid());
    // .notdef: ink from 1 to 5 pixels, advance 6.
    for (BYTE code :
         {BYTE{'"'}, BYTE{'B'}, BYTE{0x81}, BYTE{0x8D}, BYTE{0x8F}, BYTE{0x90}, BYTE{0x9D}, BYTE{0xFF}}) {
        ABC abc = font.Widths(code);
        EXPECT_EQ(abc.abcA, 1) << int{code};
        EXPECT_EQ(abc.abcB, 4u) << int{code};
        EXPECT_EQ(abc.abcC, 1) << int{code};
    }
    std::vector<ABC> all(256);
    EXPECT_TRUE(GetCharABCWidthsA(m_dc, 0, 255, all.data()));
    EXPECT_FALSE(GetCharABCWidthsA(m_dc, 0, 256, all.data()));
    EXPECT_FALSE(GetCharABCWidthsA(m_dc, 5, 4, all.data()));
}

// FreeType's default kerning mode scales kerning below 25 pixels to the em by ppem / 25: the fixture's A,V of
// 2 pixels at 16 becomes -1, its V,A of half a pixel 0 (left out) and its !,! of 1 pixel stays 1.
TEST_F(GdiFixtureFontTest, KerningPairsInWholePixelsWithoutThoseOfZero) {
    SelectedFont font(m_dc, MakeFont("Vemo Block", -16));
    ASSERT_TRUE(font.Valid());
    ASSERT_EQ(GetKerningPairsA(m_dc, 0, nullptr), 2u);
    KERNINGPAIR pairs[3]{};
    ASSERT_EQ(GetKerningPairsA(m_dc, 3, pairs), 2u);
    EXPECT_EQ(std::tie(pairs[0].wFirst, pairs[0].wSecond, pairs[0].iKernAmount),
              std::make_tuple('!', '!', 1));
    EXPECT_EQ(std::tie(pairs[1].wFirst, pairs[1].wSecond, pairs[1].iKernAmount),
              std::make_tuple('A', 'V', -1));
    KERNINGPAIR first{};
    EXPECT_EQ(GetKerningPairsA(m_dc, 1, &first), 1u);
    EXPECT_EQ(first.wFirst, '!');
}

TEST_F(GdiFixtureFontTest, ABoldRequestOnARegularFaceIsSynthesised) {
    SelectedFont regular(m_dc, MakeFont("Vemo Block", -16));
    ASSERT_TRUE(regular.Valid());
    ABC plain = regular.Widths('A');
    SelectedFont bold(m_dc, MakeFont("Vemo Block", -16, ANTIALIASED_QUALITY, FW_BOLD));
    ASSERT_TRUE(bold.Valid());
    ABC emboldened = bold.Widths('A');
    EXPECT_GT(emboldened.abcB, plain.abcB);
    EXPECT_EQ(bold.Metrics().tmWeight, FW_BOLD);
}

TEST_F(GdiFontTest, GlyphMetricsAreRefusedOutsideTheirOneUse) {
    SelectedFont font(m_dc, MakeFont("DejaVu Sans", -16));
    ASSERT_TRUE(font.Valid());
    GLYPHMETRICS glyph{};
    MAT2 doubled = kIdentity;
    doubled.eM11.value = 2;
    EXPECT_EQ(GetGlyphOutlineA(m_dc, 'A', GGO_METRICS, &glyph, 0, nullptr, &doubled), GDI_ERROR);
    EXPECT_EQ(GetGlyphOutlineA(m_dc, 'A', GGO_METRICS, &glyph, 0, nullptr, nullptr), GDI_ERROR);
    EXPECT_EQ(GetGlyphOutlineA(m_dc, 'A', 1, &glyph, 0, nullptr, &kIdentity), GDI_ERROR);
    EXPECT_EQ(GetGlyphOutlineA(m_dc, 0x100, GGO_METRICS, &glyph, 0, nullptr, &kIdentity), GDI_ERROR);
    EXPECT_EQ(GetGlyphOutlineA(nullptr, 'A', GGO_METRICS, &glyph, 0, nullptr, &kIdentity), GDI_ERROR);
}

TEST_F(GdiFontTest, DejaVuSansHasKerningPairsAndSansMonoNone) {
    SelectedFont sans(m_dc, MakeFont("DejaVu Sans", -16));
    ASSERT_TRUE(sans.Valid());
    DWORD count = GetKerningPairsA(m_dc, 0, nullptr);
    ASSERT_GT(count, 0u);
    std::vector<KERNINGPAIR> pairs(count);
    ASSERT_EQ(GetKerningPairsA(m_dc, count, pairs.data()), count);
    bool foundAV = false;
    for (const KERNINGPAIR& pair : pairs) {
        EXPECT_NE(pair.iKernAmount, 0);
        foundAV = foundAV || (pair.wFirst == 'A' && pair.wSecond == 'V' && pair.iKernAmount < 0);
    }
    EXPECT_TRUE(foundAV);
    SelectedFont mono(m_dc, MakeFont("DejaVu Sans Mono", -16));
    ASSERT_TRUE(mono.Valid());
    EXPECT_EQ(GetKerningPairsA(m_dc, 0, nullptr), 0u);
}

TEST_F(GdiFontTest, ARasterFontHasMetricsButNoGlyphOutlines) {
    ASSERT_TRUE(testing::AddFontFile(testing::FixtureFontPath("VemoRaster.bdf")));
    SelectedFont font(m_dc, MakeFont("Vemo Raster", -16));
    ASSERT_TRUE(font.Valid());
    TEXTMETRICA metrics{};
    ASSERT_TRUE(GetTextMetricsA(m_dc, &metrics));
    EXPECT_EQ(metrics.tmHeight, 16);
    EXPECT_EQ(metrics.tmAscent, 12);
    EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_VECTOR, 0);
    GLYPHMETRICS glyph{};
    EXPECT_EQ(GetGlyphOutlineA(m_dc, 'A', GGO_METRICS, &glyph, 0, nullptr, &kIdentity), GDI_ERROR);
    ABC abc{};
    EXPECT_FALSE(GetCharABCWidthsA(m_dc, 'A', 'A', &abc));

    // It still draws: its A is 8 pixels wide and 12 high, standing on the baseline 12 rows down.
    DibDc canvas(16, 16, 32);
    canvas.Fill(RGB(255, 255, 255));
    HGDIOBJ previous = SelectObject(canvas.Dc(), font.Font());
    ASSERT_TRUE(TextOutA(canvas.Dc(), 0, 0, "A", 1));
    RECT ink = canvas.InkBounds(RGB(255, 255, 255));
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.top, 0);
    EXPECT_EQ(ink.right, 8);
    EXPECT_EQ(ink.bottom, 12);
    EXPECT_EQ(canvas.Pixel(3, 0), RGB(0, 0, 0));
    EXPECT_EQ(canvas.Pixel(2, 0), RGB(255, 255, 255));
    SelectObject(canvas.Dc(), previous);
}

TEST_F(GdiFontTest, AFileWithoutAFaceIsNotAdded) {
    EXPECT_FALSE(testing::AddFontFile(testing::FixtureFontPath("make-fonts.py")));
    EXPECT_FALSE(testing::AddFontFile(testing::FixtureFontPath("no-such-file.ttf")));
}

// What a font draws of a line that tells the faces apart, in black on white.
std::vector<COLORREF> SampleLine(const LOGFONTA& description) {
    DibDc canvas(120, 24, 32);
    EXPECT_TRUE(canvas.Valid());
    canvas.Fill(RGB(255, 255, 255));
    SelectedFont font(canvas.Dc(), CreateFontIndirectA(&description));
    EXPECT_TRUE(font.Valid());
    SetBkMode(canvas.Dc(), TRANSPARENT);
    TextOutA(canvas.Dc(), 2, 2, "Rag_{|}il1", 10);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            pixels.push_back(canvas.Pixel(x, y));
        }
    }
    return pixels;
}

LOGFONTA Described(const char* face, int weight, BYTE pitchAndFamily) {
    LOGFONTA description{};
    description.lfHeight = -16;
    description.lfWeight = weight;
    description.lfQuality = ANTIALIASED_QUALITY;
    description.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    return description;
}

// The name decides where fontconfig knows it, its aliases for the Windows faces included; the pitch and
// family bits decide only for a name it does not know, or none.
struct FaceNameCase {
    const char* requested;
    BYTE pitchAndFamily;
    int weight;
    const char* drawnAs;
};

const FaceNameCase kFaceNames[] = {
    {"Courier New", 0, FW_NORMAL, "DejaVu Sans Mono"},
    {"Courier New", VARIABLE_PITCH | FF_SWISS, FW_BOLD, "DejaVu Sans Mono"},
    {"Times New Roman", 0, FW_NORMAL, "DejaVu Serif"},
    {"Times New Roman", 0, FW_BOLD, "DejaVu Serif"},
    {"Arial", 0, FW_NORMAL, "DejaVu Sans"},
    {"Arial", FIXED_PITCH | FF_MODERN, FW_BOLD, "DejaVu Sans"},
    {"No Such Face", FF_ROMAN, FW_NORMAL, "DejaVu Serif"},
    {"No Such Face", FF_MODERN, FW_NORMAL, "DejaVu Sans Mono"},
    {"No Such Face", 0, FW_BOLD, "DejaVu Sans"},
    {"", FF_ROMAN, FW_BOLD, "DejaVu Serif"},
    {"", FIXED_PITCH, FW_NORMAL, "DejaVu Sans Mono"},
    {"", 0, FW_NORMAL, "DejaVu Sans"},
};

class GdiFaceNameTest : public GdiTest, public ::testing::WithParamInterface<FaceNameCase> {};

TEST_P(GdiFaceNameTest, DrawsInTheFaceTheNameStandsFor) {
    const FaceNameCase& face = GetParam();
    EXPECT_TRUE(SampleLine(Described(face.requested, face.weight, face.pitchAndFamily)) ==
                SampleLine(Described(face.drawnAs, face.weight, 0)))
        << "not drawn in " << face.drawnAs;
}

INSTANTIATE_TEST_SUITE_P(Names, GdiFaceNameTest, ::testing::ValuesIn(kFaceNames),
                         [](const ::testing::TestParamInfo<FaceNameCase>& info) {
                             std::string name = info.param.requested[0] == '\0' ? "NoName" : info.param.requested;
                             std::erase(name, ' ');
                             return name + std::to_string(info.index);
                         });

// A cell height gives the largest em whose glyphs fit the cell: the underscore, the lowest ink of these faces,
// is drawn inside it at every height, and the cell is the height asked for.
using FaceStyleAndQuality = std::tuple<const char*, int, BYTE>;

class GdiCellHeightTest : public GdiTest, public ::testing::WithParamInterface<FaceStyleAndQuality> {};

TEST_P(GdiCellHeightTest, TheUnderscoreIsInsideTheCell) {
    auto [face, weight, quality] = GetParam();
    DibDc canvas(40, 150, 32);
    ASSERT_TRUE(canvas.Valid());
    SetBkMode(canvas.Dc(), TRANSPARENT);
    const int top = 50;
    for (int cell = 8; cell <= 48; ++cell) {
        SCOPED_TRACE(cell);
        SelectedFont font(canvas.Dc(), MakeFont(face, cell, quality, weight));
        ASSERT_TRUE(font.Valid());
        EXPECT_EQ(font.Metrics().tmHeight, cell);
        canvas.Fill(RGB(255, 255, 255));
        ASSERT_TRUE(TextOutA(canvas.Dc(), 4, top, "_", 1));
        RECT ink = canvas.InkBounds(RGB(255, 255, 255));
        EXPECT_LT(ink.top, ink.bottom);
        EXPECT_GE(ink.top, top);
        EXPECT_LE(ink.bottom, top + cell);
    }
}

INSTANTIATE_TEST_SUITE_P(DejaVu, GdiCellHeightTest,
                         ::testing::Combine(::testing::Values("DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"),
                                            ::testing::Values(FW_NORMAL, FW_BOLD),
                                            ::testing::Values(ANTIALIASED_QUALITY, NONANTIALIASED_QUALITY)),
                         [](const ::testing::TestParamInfo<FaceStyleAndQuality>& info) {
                             std::string name = std::get<0>(info.param);
                             std::erase(name, ' ');
                             return name + (std::get<1>(info.param) == FW_BOLD ? "Bold" : "") +
                                    (std::get<2>(info.param) == NONANTIALIASED_QUALITY ? "Monochrome" : "Grey");
                         });

// Every code of the range on every kind of face: A + B + C is the advance, and what TextOutA draws at x - A
// lies in [x, x + B) and in the cell.
using FaceAndQuality = std::tuple<const char*, BYTE>;

class GdiGlyphInkTest : public GdiTest, public ::testing::WithParamInterface<FaceAndQuality> {};

TEST_P(GdiGlyphInkTest, InkLiesInTheBlackBoxAndTheCell) {
    auto [face, quality] = GetParam();
    DibDc canvas(64, 40, 32);
    ASSERT_TRUE(canvas.Valid());
    SelectedFont font(canvas.Dc(), MakeFont(face, -16, quality));
    ASSERT_TRUE(font.Valid());
    TEXTMETRICA metrics = font.Metrics();
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), RGB(0, 0, 0));
    const int x = 20;
    const int y = 10;
    int inked = 0;
    for (int code = metrics.tmFirstChar; code <= metrics.tmLastChar; ++code) {
        ABC abc = font.Widths(static_cast<BYTE>(code));
        GLYPHMETRICS glyph{};
        ASSERT_NE(GetGlyphOutlineA(canvas.Dc(), static_cast<UINT>(code), GGO_METRICS, &glyph, 0, nullptr,
                                   &kIdentity),
                  GDI_ERROR);
        EXPECT_EQ(abc.abcA + static_cast<int>(abc.abcB) + abc.abcC, glyph.gmCellIncX) << code;
        EXPECT_EQ(abc.abcA, glyph.gmptGlyphOrigin.x) << code;
        EXPECT_EQ(abc.abcB, glyph.gmBlackBoxX) << code;
        EXPECT_LE(static_cast<LONG>(abc.abcB), metrics.tmMaxCharWidth) << code;
        canvas.Fill(RGB(255, 255, 255));
        char text = static_cast<char>(code);
        ASSERT_TRUE(TextOutA(canvas.Dc(), x - abc.abcA, y, &text, 1));
        RECT ink = canvas.InkBounds(RGB(255, 255, 255));
        if (ink.right == 0) {
            continue;
        }
        ++inked;
        EXPECT_GE(ink.left, x) << code;
        EXPECT_LE(ink.right, x + static_cast<LONG>(abc.abcB)) << code;
        EXPECT_GE(ink.top, y) << code;
        EXPECT_LE(ink.bottom, y + metrics.tmHeight) << code;
    }
    EXPECT_GT(inked, 180);
}

INSTANTIATE_TEST_SUITE_P(Faces, GdiGlyphInkTest,
                         ::testing::Combine(::testing::Values("DejaVu Sans", "DejaVu Sans Mono"),
                                            ::testing::Values(ANTIALIASED_QUALITY, NONANTIALIASED_QUALITY)),
                         [](const ::testing::TestParamInfo<FaceAndQuality>& info) {
                             std::string name = std::get<0>(info.param);
                             std::erase(name, ' ');
                             return name + (std::get<1>(info.param) == NONANTIALIASED_QUALITY ? "Monochrome"
                                                                                              : "Grey");
                         });

} // namespace
} // namespace win32::tests
