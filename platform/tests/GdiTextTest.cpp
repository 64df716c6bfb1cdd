#include "platform/tests/GdiTestSupport.h"
#include "platform/win32/gdi/GdiText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace win32::tests {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Text in the fixture font, whose glyphs are rectangles on the pixel grid at 16 pixels: 'A' inks columns 0-6
// of its advance of 8 and rows 2-11 of its cell (the baseline lies below row 11), 'V' columns 1-7 of 9.
class GdiTextTest : public GdiTest {
protected:
    void SetUp() override {
        GdiTest::SetUp();
        ASSERT_TRUE(testing::AddFontFile(testing::FixtureFontPath("VemoBlock.ttf")));
        ASSERT_TRUE(m_canvas.Valid());
        m_font = MakeFont("Vemo Block", -16, m_quality);
        ASSERT_NE(m_font, nullptr);
        m_previous = SelectObject(Dc(), m_font);
        SetTextColor(Dc(), kBlack);
        SetBkColor(Dc(), kWhite);
        m_canvas.Fill(kRed);
    }
    void TearDown() override {
        SelectObject(Dc(), m_previous);
        DeleteObject(m_font);
        GdiTest::TearDown();
    }

    HDC Dc() const { return m_canvas.Dc(); }
    RECT Ink() const { return m_canvas.InkBounds(kRed); }

    BYTE m_quality = ANTIALIASED_QUALITY;
    DibDc m_canvas{48, 40, 32};
    HFONT m_font = nullptr;
    HGDIOBJ m_previous = nullptr;
};

void ExpectRect(const RECT& actual, const RECT& expected) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST_F(GdiTextTest, AnOpaqueRunFillsItsCellAndATransparentOneLeavesWhatIsThere) {
    ASSERT_TRUE(TextOutA(Dc(), 2, 3, "AV", 2));
    // The background covers the advances (8 + 9) by the cell's height (16).
    ExpectRect(Ink(), RECT{2, 3, 19, 19});
    EXPECT_EQ(m_canvas.Pixel(2, 3), kWhite);
    EXPECT_EQ(m_canvas.Pixel(2, 5), kBlack);
    EXPECT_EQ(m_canvas.Pixel(8, 14), kBlack);
    EXPECT_EQ(m_canvas.Pixel(9, 5), kWhite);
    EXPECT_EQ(m_canvas.Pixel(11, 5), kBlack);
    EXPECT_EQ(m_canvas.Pixel(8, 15), kWhite);

    m_canvas.Fill(kRed);
    SetBkMode(Dc(), TRANSPARENT);
    ASSERT_TRUE(TextOutA(Dc(), 2, 3, "AV", 2));
    ExpectRect(Ink(), RECT{2, 5, 18, 15});
    EXPECT_EQ(m_canvas.Pixel(9, 5), kRed);
    EXPECT_EQ(m_canvas.Pixel(11, 5), kBlack);
}

TEST_F(GdiTextTest, TheAlignmentPlacesTheRunAroundItsReferencePoint) {
    SetBkMode(Dc(), TRANSPARENT);
    struct Case {
        UINT align;
        RECT ink;
    };
    for (Case c :
         {Case{TA_LEFT | TA_TOP, RECT{30, 22, 37, 32}}, Case{TA_RIGHT | TA_BASELINE, RECT{22, 10, 29, 20}},
          Case{TA_CENTER | TA_BOTTOM, RECT{26, 6, 33, 16}}}) {
        m_canvas.Fill(kRed);
        SetTextAlign(Dc(), c.align);
        ASSERT_TRUE(TextOutA(Dc(), 30, 20, "A", 1));
        ExpectRect(Ink(), c.ink);
    }
}

TEST_F(GdiTextTest, WithUpdateCpRunsFollowOneAnother) {
    SetBkMode(Dc(), TRANSPARENT);
    SetTextAlign(Dc(), TA_UPDATECP);
    ASSERT_TRUE(TextOutA(Dc(), 40, 30, "A", 1));
    ExpectRect(Ink(), RECT{0, 2, 7, 12});
    ASSERT_TRUE(TextOutA(Dc(), 40, 30, "A", 1));
    ExpectRect(Ink(), RECT{0, 2, 15, 12});
}

TEST_F(GdiTextTest, CharacterExtraAndJustificationWidenTheRun) {
    SetTextCharacterExtra(Dc(), 3);
    ASSERT_TRUE(TextOutA(Dc(), 0, 0, "AA", 2));
    EXPECT_EQ(Ink().right, 22);
    SetTextCharacterExtra(Dc(), 0);

    // The face has no space: code 0x20 is its default glyph, 6 wide; the break extra goes to it.
    m_canvas.Fill(kRed);
    SetTextJustification(Dc(), 5, 1);
    ASSERT_TRUE(TextOutA(Dc(), 0, 0, "A A", 3));
    EXPECT_EQ(Ink().right, 8 + 6 + 5 + 8);
    m_canvas.Fill(kRed);
    SetTextJustification(Dc(), 0, 0);
    ASSERT_TRUE(TextOutA(Dc(), 0, 0, "A A", 3));
    EXPECT_EQ(Ink().right, 8 + 6 + 8);
}

TEST_F(GdiTextTest, TheClipRegionBoundsText) {
    HRGN region = CreateRectRgn(0, 0, 5, 40);
    SelectClipRgn(Dc(), region);
    DeleteObject(region);
    ASSERT_TRUE(TextOutA(Dc(), 2, 3, "AV", 2));
    ExpectRect(Ink(), RECT{2, 3, 5, 19});
}

TEST_F(GdiTextTest, UnderlineAndStrikeOutCrossTheWholeRun) {
    HFONT lined =
        CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, TRUE, TRUE, 0, 0, 0, ANTIALIASED_QUALITY, 0, "Vemo Block");
    HGDIOBJ plain = SelectObject(Dc(), lined);
    SetBkMode(Dc(), TRANSPARENT);
    ASSERT_TRUE(TextOutA(Dc(), 0, 0, "AV", 2));
    // The underline lies 2 pixels below the baseline (row 14), the strike-out 5 above it (row 7).
    for (int x = 0; x < 17; ++x) {
        EXPECT_EQ(m_canvas.Pixel(x, 14), kBlack) << x;
        EXPECT_EQ(m_canvas.Pixel(x, 7), kBlack) << x;
    }
    EXPECT_EQ(m_canvas.Pixel(17, 14), kRed);
    EXPECT_EQ(m_canvas.Pixel(0, 13), kRed);
    SelectObject(Dc(), plain);
    DeleteObject(lined);
}

TEST_F(GdiTextTest, TextIsRefusedWithoutADcTextOrARange) {
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "A", 1));
    EXPECT_FALSE(TextOutA(Dc(), 0, 0, nullptr, 1));
    EXPECT_FALSE(TextOutA(Dc(), 0, 0, "A", -1));
    EXPECT_FALSE(TextOutA(Dc(), 1 << 28, 0, "A", 1));
    EXPECT_TRUE(TextOutA(Dc(), 0, 0, nullptr, 0));
    EXPECT_TRUE(TextOutA(Dc(), -(1 << 27), 1 << 27, "AVAV", 4));
    ExpectRect(Ink(), RECT{0, 0, 0, 0});
}

// DrawTextA's placement of lines in its rectangle.
TEST_F(GdiTextTest, DrawTextAlignsEachLineInTheRectangle) {
    SetBkMode(Dc(), TRANSPARENT);
    struct Case {
        UINT format;
        LONG inkLeft;
    };
    for (Case c : {Case{DT_LEFT, 4}, Case{DT_RIGHT, 28}, Case{DT_CENTER, 16}}) {
        m_canvas.Fill(kRed);
        RECT rect{4, 0, 44, 16};
        ASSERT_EQ(DrawTextA(Dc(), "AA", 2, &rect, c.format | DT_NOPREFIX), 16);
        ExpectRect(Ink(), RECT{c.inkLeft, 2, c.inkLeft + 15, 12});
    }
}

TEST_F(GdiTextTest, DrawTextClipsToItsRectangleUnlessToldNot) {
    SetBkMode(Dc(), TRANSPARENT);
    RECT rect{0, 0, 20, 16};
    DrawTextA(Dc(), "AAAA", 4, &rect, DT_NOPREFIX);
    ExpectRect(Ink(), RECT{0, 2, 20, 12});
    m_canvas.Fill(kRed);
    DrawTextA(Dc(), "AAAA", 4, &rect, DT_NOPREFIX | DT_NOCLIP);
    ExpectRect(Ink(), RECT{0, 2, 31, 12});
}

TEST_F(GdiTextTest, AnEditControlLeavesOutALastLineItWouldShowInPart) {
    SetBkMode(Dc(), TRANSPARENT);
    RECT rect{0, 0, 20, 24};
    EXPECT_EQ(DrawTextA(Dc(), "AA AA", -1, &rect, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX), 32);
    ExpectRect(Ink(), RECT{0, 2, 15, 12});
    m_canvas.Fill(kRed);
    EXPECT_EQ(DrawTextA(Dc(), "AA AA", -1, &rect, DT_WORDBREAK | DT_NOPREFIX), 32);
    ExpectRect(Ink(), RECT{0, 2, 15, 24});
}

TEST_F(GdiTextTest, APrefixUnderlinesItsCharacter) {
    SetBkMode(Dc(), TRANSPARENT);
    RECT rect{0, 0, 48, 16};
    ASSERT_EQ(DrawTextA(Dc(), "&AA", 3, &rect, DT_LEFT), 16);
    EXPECT_EQ(m_canvas.Pixel(0, 14), kBlack);
    EXPECT_EQ(m_canvas.Pixel(7, 14), kBlack);
    EXPECT_EQ(m_canvas.Pixel(8, 14), kRed);
    EXPECT_EQ(Ink().right, 15);
}

TEST_F(GdiTextTest, AnOpaqueDrawTextFillsEachLinesExtent) {
    RECT rect{0, 0, 20, 40};
    ASSERT_EQ(DrawTextA(Dc(), "AA A", -1, &rect, DT_WORDBREAK | DT_NOPREFIX), 32);
    EXPECT_EQ(m_canvas.Pixel(15, 15), kWhite);
    EXPECT_EQ(m_canvas.Pixel(7, 16), kWhite);
    EXPECT_EQ(m_canvas.Pixel(8, 16), kRed);
    EXPECT_EQ(m_canvas.Pixel(0, 32), kRed);
}

TEST_F(GdiTextTest, EmptyTextDrawsNothingAndMeasuresNothing) {
    RECT rect{3, 4, 30, 30};
    EXPECT_EQ(DrawTextA(Dc(), "", -1, &rect, DT_NOPREFIX), 0);
    EXPECT_EQ(DrawTextA(Dc(), "AA", 0, &rect, DT_CALCRECT | DT_NOPREFIX), 0);
    ExpectRect(rect, RECT{3, 4, 3, 4});
    EXPECT_EQ(DrawTextA(Dc(), nullptr, 2, &rect, DT_NOPREFIX), 0);
    EXPECT_EQ(DrawTextA(Dc(), "AA", 2, nullptr, DT_NOPREFIX), 0);
    EXPECT_EQ(DrawTextA(Dc(), "AA", -2, &rect, DT_NOPREFIX), 0);
    ExpectRect(Ink(), RECT{0, 0, 0, 0});
}

class GdiMonochromeTextTest : public GdiTextTest {
protected:
    void SetUp() override {
        m_quality = NONANTIALIASED_QUALITY;
        GdiTextTest::SetUp();
    }
};

TEST_F(GdiMonochromeTextTest, AnIndexedSectionTakesTheNearestEntries) {
    DibDc indexed(24, 16, 8);
    ASSERT_TRUE(indexed.Valid());
    indexed.Fill(kWhite);
    HFONT font = MakeFont("Vemo Block", -16, NONANTIALIASED_QUALITY);
    HGDIOBJ previous = SelectObject(indexed.Dc(), font);
    SetBkMode(indexed.Dc(), TRANSPARENT);
    SetTextColor(indexed.Dc(), RGB(250, 5, 5));
    ASSERT_TRUE(TextOutA(indexed.Dc(), 0, 0, "A", 1));
    // White is the cube's entry 225, red its entry 190.
    EXPECT_EQ(indexed.Index(0, 2), 190);
    EXPECT_EQ(indexed.Index(6, 11), 190);
    EXPECT_EQ(indexed.Index(7, 2), 225);
    EXPECT_EQ(indexed.Index(0, 1), 225);
    SelectObject(indexed.Dc(), previous);
    DeleteObject(font);
}

// Grey levels on a real face: antialiased text mixes the text colour into what is there; monochrome text does
// not.
class GdiGreyLevelTest : public GdiTest {};

TEST_F(GdiGreyLevelTest, AntialiasedTextBlendsOverTheBackgroundAndMonochromeTextDoesNot) {
    for (BYTE quality : {ANTIALIASED_QUALITY, NONANTIALIASED_QUALITY}) {
        DibDc canvas(40, 24, 32);
        canvas.Fill(RGB(0, 0, 255));
        SelectedFont font(canvas.Dc(), MakeFont("DejaVu Sans", -16, quality));
        ASSERT_TRUE(font.Valid());
        SetBkMode(canvas.Dc(), TRANSPARENT);
        SetTextColor(canvas.Dc(), kBlack);
        ASSERT_TRUE(TextOutA(canvas.Dc(), 2, 2, "Ow", 2));
        int partial = 0;
        int full = 0;
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 40; ++x) {
                COLORREF pixel = canvas.Pixel(x, y);
                EXPECT_EQ(GetRValue(pixel), 0);
                EXPECT_EQ(GetGValue(pixel), 0);
                partial += GetBValue(pixel) > 0 && GetBValue(pixel) < 255 ? 1 : 0;
                full += GetBValue(pixel) == 0 ? 1 : 0;
            }
        }
        EXPECT_GT(full, 0);
        if (quality == ANTIALIASED_QUALITY) {
            EXPECT_GT(partial, 0);
        } else {
            EXPECT_EQ(partial, 0);
        }
    }
}

// What DT_CALCRECT measures, in DejaVu Sans Mono, whose characters all advance alike: the rectangle keeps its
// top-left corner and becomes the widest line by the lines' height.
struct Measure {
    const char* name;
    std::string_view text;
    UINT format;
    int boxChars; // the rectangle's width in characters
    int lines;
    int widestChars;
};

class GdiMeasureTest : public GdiTest, public ::testing::WithParamInterface<Measure> {};

TEST_P(GdiMeasureTest, TheRectangleBoundsTheLines) {
    const Measure& measure = GetParam();
    HDC screen = GetDC(nullptr);
    {
        SelectedFont font(screen, MakeFont("DejaVu Sans Mono", -16));
        ASSERT_TRUE(font.Valid());
        int advance = font.Advance('a');
        int height = font.Metrics().tmHeight;
        RECT rect{5, 7, 5 + measure.boxChars * advance, 500};
        EXPECT_EQ(DrawTextA(screen, measure.text.data(), static_cast<int>(measure.text.size()), &rect,
                            measure.format | DT_CALCRECT),
                  measure.lines * height);
        ExpectRect(rect, RECT{5, 7, 5 + measure.widestChars * advance, 7 + measure.lines * height});
    }
    ReleaseDC(nullptr, screen);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GdiMeasureTest,
    ::testing::Values(Measure{"OneLine", "Hello", DT_NOPREFIX, 100, 1, 5},
                      Measure{"NoBreakWithoutWordBreak", "one two three", DT_NOPREFIX, 9, 1, 13},
                      Measure{"BreaksBeforeTheWordThatPassesTheEdge", "one two three",
                              DT_WORDBREAK | DT_NOPREFIX, 9, 2, 7},
                      Measure{"ALongWordStaysWhole", "abcdefghij", DT_WORDBREAK | DT_NOPREFIX, 4, 1, 10},
                      Measure{"AnEditControlCutsALongWord", "abcdefghij",
                              DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX, 4, 3, 4},
                      Measure{"LineBreaks", "a\nbb\r\nccc", DT_NOPREFIX, 100, 3, 3},
                      Measure{"ACarriageReturnBreaks", "a\rb", DT_WORDBREAK | DT_NOPREFIX, 100, 2, 1},
                      Measure{"ALastLineFeedStartsAnEmptyLine", "x\n", DT_NOPREFIX, 100, 2, 1},
                      Measure{"SpacesAtABreakAreDropped", "aa    bb", DT_WORDBREAK | DT_NOPREFIX, 3, 2, 2},
                      Measure{"LeadingSpacesStay", "  lead", DT_WORDBREAK | DT_NOPREFIX, 100, 1, 6},
                      Measure{"APrefixTakesNoRoom", "&File", 0, 100, 1, 4},
                      Measure{"NoPrefixKeepsTheAmpersand", "&File", DT_NOPREFIX, 100, 1, 5},
                      Measure{"ADoubledAmpersandIsOne", "a&&b", 0, 100, 1, 3}),
    [](const ::testing::TestParamInfo<Measure>& info) { return std::string(info.param.name); });

// DrawTextA's lines from the characters' advances, every character 10 wide here: each line as its first
// character, the one after its last, and its width.
using LineList = std::vector<std::tuple<std::size_t, std::size_t, int>>;

LineList Lines(std::string_view text, int maxWidth, UINT format) {
    const std::vector<gdi::TextCharacter> characters = gdi::ReadCharacters(text, false);
    const std::vector<int> advances(characters.size(), 10);
    LineList lines;
    for (const gdi::TextLineRange& line : gdi::BreakLines(characters, advances, maxWidth, format)) {
        lines.emplace_back(line.begin, line.end, line.width);
    }
    return lines;
}

struct Breaking {
    const char* name;
    std::string_view text;
    int maxWidth;
    UINT format;
    LineList lines;
};

class GdiBreakLinesTest : public ::testing::TestWithParam<Breaking> {};

TEST_P(GdiBreakLinesTest, TheLinesBreakWhereTheyAlwaysHave) {
    const Breaking& breaking = GetParam();
    EXPECT_EQ(Lines(breaking.text, breaking.maxWidth, breaking.format), breaking.lines);
}

constexpr UINT kCut = DT_WORDBREAK | DT_EDITCONTROL;

INSTANTIATE_TEST_SUITE_P(
    Texts, GdiBreakLinesTest,
    ::testing::Values(
        Breaking{"NoBreakWithoutWordBreak", "one two three", 50, 0, {{0, 13, 130}}},
        Breaking{
            "BeforeTheWordThatPassesTheEdge", "one two three", 90, DT_WORDBREAK, {{0, 7, 70}, {8, 13, 50}}},
        Breaking{"ALongWordStandsAlone",
                 "ab abcdefghij c",
                 40,
                 DT_WORDBREAK,
                 {{0, 2, 20}, {3, 13, 100}, {14, 15, 10}}},
        Breaking{"AnEditControlCutsALongWord", "abcdefghij", 40, kCut, {{0, 4, 40}, {4, 8, 40}, {8, 10, 20}}},
        Breaking{"TheRestOfACutWordTakesTheNextWord",
                 "ab cdefghijk l",
                 40,
                 kCut,
                 {{0, 2, 20}, {3, 7, 40}, {7, 11, 40}, {11, 14, 30}}},
        Breaking{
            "ACutWordsRestBreaksBeforeTheNext", "abcdef gh", 40, kCut, {{0, 4, 40}, {4, 6, 20}, {7, 9, 20}}},
        Breaking{"OneCharacterALineWhenNoneFits", "abc", 5, kCut, {{0, 1, 10}, {1, 2, 10}, {2, 3, 10}}},
        Breaking{"TabsBreakAsSpacesDo", "a\tb", 15, DT_WORDBREAK, {{0, 1, 10}, {2, 3, 10}}},
        Breaking{
            "SpacesAtABreakAndAtTheEndAreDropped", "aa    bb  ", 30, DT_WORDBREAK, {{0, 2, 20}, {6, 8, 20}}},
        Breaking{"LeadingSpacesStay", "  lead", 1000, DT_WORDBREAK, {{0, 6, 60}}},
        Breaking{
            "LineEndsBreak", "a\nbb\r\nccc\rd", 1000, 0, {{0, 1, 10}, {2, 4, 20}, {6, 9, 30}, {10, 11, 10}}},
        Breaking{"EachParagraphCutsItsOwnWords",
                 "abcdef\nghijkl",
                 40,
                 kCut,
                 {{0, 4, 40}, {4, 6, 20}, {7, 11, 40}, {11, 13, 20}}},
        Breaking{"ALastLineFeedStartsAnEmptyLine", "x\n", 1000, DT_WORDBREAK, {{0, 1, 10}, {2, 2, 0}}},
        Breaking{"EmptyTextIsOneEmptyLine", "", 1000, kCut, {{0, 0, 0}}}),
    [](const ::testing::TestParamInfo<Breaking>& info) { return std::string(info.param.name); });

// One unbroken word of 256 KB cut into lines of four characters: the work follows the text's length.
TEST(GdiBreakLinesLengthTest, ALongWordIsCutInTimeLinearInItsLength) {
    const std::string word(256 * 1024, 'x');
    const auto started = std::chrono::steady_clock::now();
    const LineList lines = Lines(word, 40, kCut);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(lines.size(), word.size() / 4);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i], std::make_tuple(4 * i, 4 * i + 4, 40)) << i;
    }
    EXPECT_LT(elapsed, std::chrono::seconds(1));
}

} // namespace
} // namespace win32::tests
