// The font cache, its Font handles and FontHelper, the alignment words and the system font, on the running
// application with the checked-in test font "Vemo Block" (at 16 pixels: cell 16 high, A 8 wide, V 9 wide,
// every character it lacks 6 wide).
#include "platform/testing/CaseNames.h"
#include "platform/testing/CodePage.h"
#include "runtime/fonts/Font.h"
#include "runtime/fonts/FontCache.h"
#include "runtime/fonts/FontHelper.h"
#include "runtime/fonts/MessengerBitmapFont.h"
#include "runtime/fonts/MessengerFont.h"
#include "runtime/fonts/Win32SystemFont.h"
#include "runtime/pictures/Bitmap.h"
#include "runtime/screen/AlignmentWords.h"
#include "runtime/screen/Control.h"
#include "runtime/testing/GlyphPicture.h"
#include "runtime/testing/RunningTitle.h"
#include "script/Script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Horizontal = Vemo::GraphicSystem::HorizontalAlignment;
using Vertical = Vemo::GraphicSystem::VerticalAlignment;

constexpr Vemo::ErrorCode kFailure = Messenger::kErrorSettings;

Vemo::String S(const std::string& text) {
    return Vemo::String(text.c_str());
}

std::string Text(const Vemo::Size& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

const char* const kBlock = "[Big]\nClass=SystemFont\nName=Vemo Block\nSize=-16\nColor=255, 0, 0\n";

class MessengerFontTest : public TitleTest::RunningTitle {
protected:
    FontCache& Cache() { return *App().GetFontCache(); }

    std::uint32_t Users(const char* name) {
        const FontCache::Record* record = Cache().Find(S(name));
        return record != nullptr ? record->users : 0xFFFFFFFF;
    }

    Win32SystemFont* SystemFontOf(const char* name) {
        const FontCache::Record* record = Cache().Find(S(name));
        return record != nullptr ? dynamic_cast<Win32SystemFont*>(record->font) : nullptr;
    }

    bool Loaded(const char* name) {
        Win32SystemFont* font = SystemFontOf(name);
        return font != nullptr && font->GetFontHandle() != nullptr;
    }
};

// --- The cache and its handles

TEST_F(MessengerFontTest, HandlesShareOneFontThatIsUnloadedWhenTheLastGoesAndLoadedByTheNext) {
    ASSERT_TRUE(Start(kBlock, "", ""));
    auto first = std::make_unique<Font>();
    auto second = std::make_unique<Font>();
    ASSERT_TRUE(first->Load(S("Big"), nullptr, nullptr));
    ASSERT_TRUE(second->Load(S("Big"), nullptr, nullptr));
    EXPECT_EQ(first->GetMessengerFont(), second->GetMessengerFont());
    EXPECT_EQ(Users("Big"), 2U);
    EXPECT_EQ(std::string(first->GetName().CStr()), "Big");
    EXPECT_TRUE(Loaded("Big"));
    first.reset();
    EXPECT_EQ(Users("Big"), 1U);
    EXPECT_TRUE(Loaded("Big"));
    second.reset();
    EXPECT_EQ(Users("Big"), 0U);
    EXPECT_FALSE(Loaded("Big"));
    Font third;
    ASSERT_TRUE(third.Load(S("Big"), nullptr, nullptr));
    EXPECT_TRUE(Loaded("Big"));
    EXPECT_EQ(Cache().GetRecords().Size(), 1U);
}

TEST_F(MessengerFontTest, TwoSpellingsOfANameAreTwoRecordsButOneFontForAHelper) {
    ASSERT_TRUE(Start(kBlock, "", ""));
    Font upper;
    Font lower;
    ASSERT_TRUE(upper.Load(S("Big"), nullptr, nullptr));
    ASSERT_TRUE(lower.Load(S("big"), nullptr, nullptr));
    EXPECT_NE(upper.GetMessengerFont(), lower.GetMessengerFont());
    EXPECT_EQ(Cache().GetRecords().Size(), 2U);

    FontHelper helper;
    const Vemo::PixelFormat format;
    ASSERT_TRUE(helper.SetFont(S("Big"), nullptr, &format));
    EXPECT_EQ(helper.GetFont(), nullptr) << "an inactive helper holds no font";
    ASSERT_TRUE(helper.SetActive(true, nullptr, &format));
    Font* held = helper.GetFont();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(Users("Big"), 2U);
    ASSERT_TRUE(helper.SetFont(S("BIG"), nullptr, &format));
    EXPECT_EQ(helper.GetFont(), held);
    EXPECT_EQ(std::string(helper.GetFontName().CStr()), "Big");
    ASSERT_TRUE(helper.SetActive(false, nullptr, nullptr));
    EXPECT_EQ(helper.GetFont(), nullptr);
    EXPECT_EQ(Users("Big"), 1U);
}

TEST_F(MessengerFontTest, AHelperWithoutANameOrAFormatHoldsNoFontAndSucceeds) {
    ASSERT_TRUE(Start(kBlock, "", ""));
    FontHelper helper;
    EXPECT_TRUE(helper.SetActive(true, nullptr, nullptr));
    EXPECT_EQ(helper.GetFont(), nullptr);
    EXPECT_TRUE(helper.SetFont(S("Big"), nullptr, nullptr));
    EXPECT_EQ(helper.GetFont(), nullptr) << "no format: no font";
    const Vemo::PixelFormat format;
    EXPECT_TRUE(helper.SetFont(S(""), nullptr, &format));
    EXPECT_EQ(helper.GetFont(), nullptr);
    EXPECT_EQ(ReportsOf(kFailure), 0);
}

TEST_F(MessengerFontTest, PreloadMakesTheFontWithoutLoadingItOrCountingAUser) {
    ASSERT_TRUE(Start(kBlock, "", ""));
    EXPECT_TRUE(Cache().Preload(S("Big")));
    EXPECT_EQ(Users("Big"), 0U);
    EXPECT_FALSE(Loaded("Big"));
    EXPECT_TRUE(Cache().ReloadAll(nullptr));
}

TEST_F(MessengerFontTest, AFontThatCannotBeMadeFailsTheHandleAndIsReported) {
    ASSERT_TRUE(Start(
        std::string(kBlock) + "[Plain]\nClass=Messenger\n[Broken]\nClass=SystemFont\nSize=2, 3\n", "", ""));
    for (const char* name : {"Nowhere", "Plain", "Broken"}) {
        const int before = ReportsOf(kFailure);
        Font font;
        EXPECT_FALSE(font.Load(S(name), nullptr, nullptr)) << name;
        EXPECT_EQ(font.GetMessengerFont(), nullptr) << name;
        EXPECT_GT(ReportsOf(kFailure), before) << name;
        EXPECT_EQ(Cache().Find(S(name)), nullptr) << name;
    }
    EXPECT_FALSE(Cache().Preload(S("Nowhere")));
}

TEST_F(MessengerFontTest, AHandleLoadsOnceAndAnEmptyOneNeitherDrawsNorMeasures) {
    ASSERT_TRUE(Start(kBlock, "", ""));
    Font font;
    ASSERT_TRUE(font.Load(S("Big"), nullptr, nullptr));
    int before = ReportsOf(kFailure);
    EXPECT_FALSE(font.Load(S("Big"), nullptr, nullptr));
    EXPECT_EQ(ReportsOf(kFailure), before + 1);
    EXPECT_EQ(Users("Big"), 1U);

    Font empty;
    Vemo::Size size(5, 5);
    before = ReportsOf(kFailure);
    empty.Measure(size, S("AV"), Vemo::Size(0, 0), 0, MessengerFont::kToEnd);
    EXPECT_EQ(Text(size), "0x0");
    EXPECT_FALSE(empty.Draw(*App().GetViewport(), Vemo::Rect(0, 0, 10, 10), S("AV"), Vertical::Top,
                            Horizontal::Left, 0, MessengerFont::kToEnd));
    EXPECT_EQ(ReportsOf(kFailure), before + 2);
    EXPECT_STREQ(empty.GetName().CStr(), "");
}

// --- Alignment words

TEST(AlignmentWordsTest, WordsParseWithoutRegardToCaseAndUnknownOnesMeanLeftOrTop) {
    EXPECT_EQ(ParseHorizontalAlignment(S("Left")), Horizontal::Left);
    EXPECT_EQ(ParseHorizontalAlignment(S("right")), Horizontal::Right);
    EXPECT_EQ(ParseHorizontalAlignment(S("CENTER")), Horizontal::Center);
    EXPECT_EQ(ParseHorizontalAlignment(S("Justified")), Horizontal::Justified);
    EXPECT_EQ(ParseHorizontalAlignment(S("Middle")), Horizontal::Left);
    EXPECT_EQ(ParseHorizontalAlignment(S("Cent")), Horizontal::Left);
    EXPECT_EQ(ParseVerticalAlignment(S("bottom")), Vertical::Bottom);
    EXPECT_EQ(ParseVerticalAlignment(S("Center")), Vertical::Center);
    EXPECT_EQ(ParseVerticalAlignment(S("Justified")), Vertical::Top);
}

// --- System fonts

struct SettingsCase {
    const char* name;
    const char* keys;
    const char* face;
    int size;
    bool italic;
    bool bold;
    std::uint32_t rgb;
};

class SystemFontSettingsTest : public MessengerFontTest,
                               public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SystemFontSettingsTest, KeysBecomeTheFontsSettings) {
    const SettingsCase& c = GetParam();
    ASSERT_TRUE(Start(std::string("[F]\nClass=SystemFont\n") + c.keys + "\n", "", ""));
    ASSERT_TRUE(Cache().Preload(S("F")));
    Win32SystemFont* font = SystemFontOf("F");
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(font->GetName().CStr(), c.face);
    EXPECT_EQ(font->GetSize(), c.size);
    EXPECT_EQ(font->IsItalic(), c.italic);
    EXPECT_EQ(font->IsBold(), c.bold);
    EXPECT_EQ(font->GetColor().rgb.Rgb(), c.rgb);
    EXPECT_EQ(font->GetColor().tag, 1U);
    EXPECT_STREQ(font->GetClassName().CStr(), "Win32SystemFont");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SystemFontSettingsTest,
    ::testing::Values(
        SettingsCase{"Defaults", "Name=Vemo Block", "Vemo Block", 12, false, false, 0},
        SettingsCase{"AllKeys", "Name=Vemo Block\nSize=0x10\nItalic=true\nBold=1\nColor=1, 2, 3",
                     "Vemo Block", 16, true, true, 0x030201},
        SettingsCase{"RedAlone", "Name=X\nColor=255", "X", 12, false, false, 0x0000FF},
        SettingsCase{"ColorKeepsLowBits", "Name=X\nColor=300, 0, 0", "X", 12, false, false, 44},
        SettingsCase{"QuotedNameKeepsQuotes", "Name=\"Vemo Block\"", "\"Vemo Block\"", 12, false, false, 0}),
    platform::testing::NameFromText<&SettingsCase::name>());

TEST_F(MessengerFontTest, SettingsWithTooManyValuesOrNoNameFailTheWholeFont) {
    ASSERT_TRUE(Start("[NoName]\nClass=SystemFont\nSize=12\n"
                      "[TwoSizes]\nClass=SystemFont\nName=X\nSize=2, 3\n"
                      "[TwoFlags]\nClass=SystemFont\nName=X\nBold=1, 1\n"
                      "[FourColors]\nClass=SystemFont\nName=X\nColor=1, 2, 3, 4\n",
                      "", ""));
    for (const char* name : {"NoName", "TwoSizes", "TwoFlags", "FourColors"}) {
        EXPECT_FALSE(Cache().Preload(S(name))) << name;
    }
}

struct LogFontCase {
    const char* name;
    const char* keys;
    unsigned codePage;
    int height;
    int weight;
    int italic;
    int charSet;
};

class SystemFontLogFontTest : public MessengerFontTest, public ::testing::WithParamInterface<LogFontCase> {};

TEST_P(SystemFontLogFontTest, LoadAsksGdiForTheFontAsDescribed) {
    const LogFontCase& c = GetParam();
    ASSERT_TRUE(Start(std::string("[F]\nClass=SystemFont\nName=Vemo Block\n") + c.keys + "\n", "", ""));
    win32::testing::ScopedCodePage codePage(c.codePage);
    Font font;
    ASSERT_TRUE(font.Load(S("F"), nullptr, nullptr));
    win32::LOGFONTA logFont{};
    ASSERT_TRUE(win32::testing::ReadLogFont(SystemFontOf("F")->GetFontHandle(), logFont));
    EXPECT_EQ(logFont.lfHeight, c.height);
    EXPECT_EQ(logFont.lfWidth, 0);
    EXPECT_EQ(logFont.lfWeight, c.weight);
    EXPECT_EQ(logFont.lfItalic, c.italic);
    EXPECT_EQ(logFont.lfUnderline, 0);
    EXPECT_EQ(logFont.lfStrikeOut, 0);
    EXPECT_EQ(logFont.lfCharSet, c.charSet);
    EXPECT_EQ(logFont.lfOutPrecision, 0);
    EXPECT_EQ(logFont.lfClipPrecision, 0);
    EXPECT_EQ(logFont.lfQuality, 4);
    EXPECT_EQ(logFont.lfPitchAndFamily, 0x22);
    EXPECT_STREQ(logFont.lfFaceName, "Vemo Block");
}

INSTANTIATE_TEST_SUITE_P(Keys, SystemFontLogFontTest,
                         ::testing::Values(LogFontCase{"Ansi", "Size=-16", 1252, -16, 400, 0, 0},
                                           LogFontCase{"Vietnamese", "Size=20\nBold=true", 1258, 20, 700, 0,
                                                       1},
                                           LogFontCase{"Russian", "Italic=1", 1251, 12, 400, 1, 204},
                                           LogFontCase{"Thai", "", 874, 12, 400, 0, 222},
                                           LogFontCase{"ShiftJis", "", 932, 12, 400, 0, 128}),
                         platform::testing::NameFromText<&LogFontCase::name>());

TEST_F(MessengerFontTest, ALongFaceNameIsCutForGdiAndKeptWholeByTheFont) {
    const std::string name = "Vemo Block With A Name Longer Than Thirty One";
    ASSERT_TRUE(Start("[Long]\nClass=SystemFont\nName=" + name + "\n", "", ""));
    Font font;
    ASSERT_TRUE(font.Load(S("Long"), nullptr, nullptr));
    EXPECT_EQ(std::string(SystemFontOf("Long")->GetName().CStr()), name);
    win32::LOGFONTA logFont{};
    ASSERT_TRUE(win32::testing::ReadLogFont(SystemFontOf("Long")->GetFontHandle(), logFont));
    EXPECT_EQ(std::string(logFont.lfFaceName), name.substr(0, 31));
}

TEST_F(MessengerFontTest, AFailedGdiFontFailsLoadButNotTheAcquisition) {
    ASSERT_TRUE(Start(kBlock, "", ""));
    ASSERT_TRUE(win32::testing::FailGdiCall("CreateFontIndirectA"));
    const int before = ReportsOf(kFailure);
    Font font;
    EXPECT_TRUE(font.Load(S("Big"), nullptr, nullptr));
    EXPECT_FALSE(Loaded("Big"));
    EXPECT_EQ(ReportsOf(kFailure), before + 1);
    Vemo::Size size(5, 5);
    font.Measure(size, S("AV"), Vemo::Size(0, 0), 0, MessengerFont::kToEnd);
    EXPECT_EQ(Text(size), "0x0") << "an unloaded system font measures nothing";
    EXPECT_EQ(ReportsOf(kFailure), before + 1);
}

TEST_F(MessengerFontTest, SystemFontsMeasureRunsAndWrapAtAPositiveWidth) {
    ASSERT_TRUE(Start(kBlock, "", ""));
    Font font;
    ASSERT_TRUE(font.Load(S("Big"), nullptr, nullptr));
    struct Case {
        const char* text;
        Vemo::Size bounds;
        std::uint32_t first;
        std::uint32_t count;
        Vemo::Size expected;
    };
    for (const Case& c :
         {Case{"AV", {0, 0}, 0, MessengerFont::kToEnd, {17, 16}}, Case{"AVA", {0, 0}, 1, 1, {9, 16}},
          Case{"AVA", {0, 0}, 1, 100, {17, 16}}, Case{"AVA", {0, 0}, 3, 1, {0, 0}},
          Case{"A\nAA", {0, 0}, 0, MessengerFont::kToEnd, {16, 32}},
          Case{"AAA AAA", {0, 0}, 0, MessengerFont::kToEnd, {54, 16}},
          Case{"AAA AAA", {30, 0}, 0, MessengerFont::kToEnd, {24, 32}}}) {
        Vemo::Size size;
        font.Measure(size, S(c.text), c.bounds, c.first, c.count);
        EXPECT_EQ(Text(size), Text(c.expected)) << c.text << " from " << c.first;
    }
}

TEST_F(MessengerFontTest, SystemFontsDrawARunFromAPointInTheirColour) {
    ASSERT_TRUE(Start(kBlock, "", ""));
    Font font;
    ASSERT_TRUE(font.Load(S("Big"), nullptr, nullptr));
    MessengerViewport& viewport = *App().GetViewport();
    viewport.SetClipRect(Vemo::Rect(0, 0, kWidth, kHeight));
    ASSERT_TRUE(font.GetMessengerFont()->DrawTextRange(viewport, Vemo::Point(5, 7), S("VAV"), 1, 1));
    ASSERT_TRUE(viewport.CopyBufferToFront(1, false));
    EXPECT_EQ(InkBox(0xFF0000), "5,9,12,19");
}

// --- Bitmap fonts

class BitmapFontTest : public MessengerFontTest {
protected:
    void StartTiny(const std::string& more = "", const std::string& fonts = "") {
        const VemoTest::Bytes picture = GlyphTest::GlyphPicture();
        Write("Title/glyphs.bmp", std::string(picture.begin(), picture.end()));
        ASSERT_TRUE(Start(GlyphTest::TinySection(more) + fonts, "", ""));
    }

    MessengerBitmapFont* BitmapFontOf(const char* name) {
        const FontCache::Record* record = Cache().Find(S(name));
        return record != nullptr ? dynamic_cast<MessengerBitmapFont*>(record->font) : nullptr;
    }

    std::string Codes(const char* name) {
        std::string codes;
        for (const MessengerBitmapFont::CharDescriptor& c : BitmapFontOf(name)->GetCharacters()) {
            codes += std::to_string(c.code) + ":" + std::to_string(c.source.left) + "," +
                     std::to_string(c.source.top) + "," + std::to_string(c.source.right) + "," +
                     std::to_string(c.source.bottom) + "/" + std::to_string(c.width) + " ";
        }
        return codes;
    }
};

TEST_F(BitmapFontTest, CharactersAreReadInEightBitsAndTheirGlyphsMeasured) {
    StartTiny("", "[Wide]\nClass=BitmapFont\nBitmap=glyphs.bmp\nChar=321, 0, 0, 3, 4, 0x10\n");
    ASSERT_TRUE(Cache().Preload(S("Tiny")));
    ASSERT_TRUE(Cache().Preload(S("Wide")));
    EXPECT_EQ(Codes("Tiny"), "32:0,0,0,0/2 65:0,0,3,4/4 86:3,0,6,2/3 ");
    EXPECT_EQ(Codes("Wide"), "65:0,0,3,4/16 ");
    EXPECT_STREQ(BitmapFontOf("Tiny")->GetClassName().CStr(), "BitmapFont");
    MessengerBitmapFont& font = *BitmapFontOf("Tiny");
    struct Case {
        const char* text;
        std::uint32_t first;
        std::uint32_t count;
        const char* size;
    };
    for (const Case& c : {Case{"AV A", 0, MessengerFont::kToEnd, "13x4"}, Case{"AV A", 1, 1, "3x2"},
                          Case{"AV A", 1, 2, "5x2"}, Case{"AxxV", 0, 100, "7x4"}, Case{"AV", 2, 1, "0x0"},
                          Case{"xyz", 0, MessengerFont::kToEnd, "0x0"}}) {
        Vemo::Size size(9, 9);
        font.MeasureText(size, Vemo::Size(1, 1), S(c.text), c.first, c.count);
        EXPECT_EQ(Text(size), c.size) << c.text << " from " << c.first;
    }
}

TEST_F(BitmapFontTest, BadCharactersOrAMissingBitmapFailTheFont) {
    StartTiny(
        "", "[Negative]\nClass=BitmapFont\nBitmap=glyphs.bmp\nChar=-65, 0, 0, 3, 4, 4\n"
            "[NoAdvance]\nClass=BitmapFont\nBitmap=glyphs.bmp\nChar=65, 0, 0, 3, 4, 0\n"
            "[Twice]\nClass=BitmapFont\nBitmap=glyphs.bmp\nChar=65, 0, 0, 3, 4, 4\nChar=321, 0, 0, 1, 1, 1\n"
            "[NoBitmap]\nClass=BitmapFont\nChar=65, 0, 0, 3, 4, 4\n");
    for (const char* name : {"Negative", "NoAdvance", "Twice", "NoBitmap"}) {
        const int before = ReportsOf(kFailure);
        EXPECT_FALSE(Cache().Preload(S(name))) << name;
        EXPECT_GT(ReportsOf(kFailure), before) << name;
    }
}

TEST_F(BitmapFontTest, AGlyphBeyond32BitsFailsTheFontNamingTheKeyAndWideRunsStopAtTheLargestWidth) {
    StartTiny("", "[Tall]\nClass=BitmapFont\nBitmap=glyphs.bmp\nChar=65, 0, -2147483648, 3, 2147483647, 4\n"
                  "[Far]\nClass=BitmapFont\nBitmap=glyphs.bmp\nChar=65, 0, 0, 3, 4, 2147483647\n");
    EXPECT_FALSE(Cache().Preload(S("Tall")));
    const std::vector<VemoTest::ReportedError> reports = VemoTest::ReportedErrors();
    EXPECT_TRUE(std::any_of(reports.begin(), reports.end(), [](const VemoTest::ReportedError& report) {
        return report.code == Script::kErrorKeyNotParsed && report.text.ends_with("\"Tall\",\"Char\"");
    }));

    Font font;
    ASSERT_TRUE(font.Load(S("Far"), nullptr, nullptr));
    Vemo::Size size;
    font.Measure(size, S("AAA"), Vemo::Size(0, 0), 0, MessengerFont::kToEnd);
    EXPECT_EQ(Text(size), "2147483647x4");
    EXPECT_TRUE(font.Draw(*App().GetViewport(), Vemo::Rect(0, 0, 10, 10), S("AAA"), Vertical::Top,
                          Horizontal::Left, 0, MessengerFont::kToEnd));
}

TEST_F(BitmapFontTest, AFontWithoutCharactersMeasuresAndDrawsNothing) {
    StartTiny("", "[Empty]\nClass=BitmapFont\nBitmap=glyphs.bmp\n");
    Font font;
    ASSERT_TRUE(font.Load(S("Empty"), nullptr, nullptr));
    EXPECT_NE(BitmapFontOf("Empty")->GetBitmap(), nullptr);
    Vemo::Size size;
    font.Measure(size, S("AV"), Vemo::Size(0, 0), 0, MessengerFont::kToEnd);
    EXPECT_EQ(Text(size), "0x0");
    EXPECT_TRUE(font.Draw(*App().GetViewport(), Vemo::Rect(0, 0, 10, 10), S("AV"), Vertical::Top,
                          Horizontal::Left, 0, MessengerFont::kToEnd));
}

TEST_F(BitmapFontTest, TheBitmapIsLoadedWhileUsedAndReloadedForANewFormat) {
    StartTiny();
    ASSERT_TRUE(Cache().Preload(S("Tiny")));
    MessengerBitmapFont& font = *BitmapFontOf("Tiny");
    EXPECT_EQ(font.GetBitmap(), nullptr);
    EXPECT_TRUE(font.Reload(nullptr)) << "an unloaded font stays unloaded";
    EXPECT_EQ(font.GetBitmap(), nullptr);
    // Drawing an unloaded font is refused; a run past the end draws nothing and succeeds.
    int before = ReportsOf(kFailure);
    EXPECT_FALSE(font.DrawTextRange(*App().GetViewport(), Vemo::Point(0, 0), S("A"), 0, 1));
    EXPECT_EQ(ReportsOf(kFailure), before + 1);
    EXPECT_TRUE(font.DrawTextRange(*App().GetViewport(), Vemo::Point(0, 0), S("A"), 1, 1));

    auto handle = std::make_unique<Font>();
    ASSERT_TRUE(handle->Load(S("Tiny"), nullptr, nullptr));
    ASSERT_NE(font.GetBitmap(), nullptr);
    EXPECT_EQ(font.GetBitmap()->GetWidth(), 6);
    EXPECT_TRUE(font.GetBitmap()->HasTransparentColor());
    EXPECT_TRUE(Cache().ReloadAll(nullptr));
    ASSERT_NE(font.GetBitmap(), nullptr);
    EXPECT_EQ(font.GetBitmap()->GetHeight(), 4);
    handle.reset();
    EXPECT_EQ(font.GetBitmap(), nullptr);
}

TEST_F(BitmapFontTest, ABitmapThatCannotBeConfiguredFailsLoadButNotTheAcquisition) {
    StartTiny("", "[Odd]\nClass=BitmapFont\nBitmap=glyphs.bmp, Sparkle(1)\nChar=65, 0, 0, 3, 4, 4\n");
    const int before = ReportsOf(kFailure);
    Font font;
    EXPECT_TRUE(font.Load(S("Odd"), nullptr, nullptr));
    EXPECT_EQ(BitmapFontOf("Odd")->GetBitmap(), nullptr);
    EXPECT_GT(ReportsOf(kFailure), before);
}

TEST_F(BitmapFontTest, DrawingLeavesTheBitmapsColourKeyAsItWas) {
    StartTiny();
    Font font;
    ASSERT_TRUE(font.Load(S("Tiny"), nullptr, nullptr));
    Bitmap& bitmap = *BitmapFontOf("Tiny")->GetBitmap();
    ASSERT_TRUE(bitmap.SetColorKeyEnabled(false));
    EXPECT_TRUE(font.Draw(*App().GetViewport(), Vemo::Rect(0, 0, 20, 20), S("AV A"), Vertical::Top,
                          Horizontal::Left, 0, MessengerFont::kToEnd));
    EXPECT_FALSE(bitmap.IsColorKeyEnabled());
}

} // namespace
