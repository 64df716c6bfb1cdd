// The text control on the running title: its text from literals, locale files and variables, its font and
// alignments drawn into real frames, and resizing to fit.
#include "controls/tests/TextControlSupport.h"

#include "platform/testing/CaseNames.h"
#include "runtime/screen/Cursor.h"
#include "runtime/testing/GlyphPicture.h"

#include <gtest/gtest.h>

namespace {

using namespace TextTest;

class TextControlTest : public Fixture {
protected:
    TextControl& Caption() { return Get("Caption"); }
};

// 40 x 20 at (10, 10); "AV" is 17 x 16 in "Big", its ink 2 pixels below the top of its cell, 10 high.
const char* const kCaption =
    "[Caption]\nClass=TextControl\nPosition=10, 10\nSize=40, 20\nFont=Big\nText=AV\n";

TEST_F(TextControlTest, TheTextIsDrawnInItsFontAtTheTopLeftOfTheRectangle) {
    StartWith("Control=Caption\n", kCaption);
    const std::string ink = "#######..#######..";
    const std::string none(18, '.');
    EXPECT_EQ(
        Picture({{kRed, '#'}, {0, '.'}}, 10, 10, 28, 24),
        (std::vector<std::string>{none, none, ink, ink, ink, ink, ink, ink, ink, ink, ink, ink, none, none}));
    EXPECT_TRUE(Caption().IsTransparent());
}

struct AlignmentCase {
    const char* name;
    const char* keys;
    const char* message;
    const char* box;
};

class TextAlignmentTest : public TextControlTest, public ::testing::WithParamInterface<AlignmentCase> {};

TEST_P(TextAlignmentTest, TheTextIsPlacedInTheRectangleByItsAlignments) {
    const AlignmentCase& c = GetParam();
    StartWith("Control=Caption\n", std::string(kCaption) + c.keys + "\n");
    if (*c.message != '\0') {
        ASSERT_TRUE(Send(Caption(), c.message));
        Step();
    }
    EXPECT_EQ(InkBox(kRed), c.box);
}

INSTANTIATE_TEST_SUITE_P(
    Words, TextAlignmentTest,
    ::testing::Values(AlignmentCase{"LeftTop", "", "", "10,12,26,22"},
                      AlignmentCase{"RightByKey", "Horizontal=Right", "", "33,12,49,22"},
                      AlignmentCase{"CenterByMessage", "", "Horizontal(center)", "21,12,37,22"},
                      AlignmentCase{"JustifiedIsCentred", "Horizontal=Justified", "", "21,12,37,22"},
                      AlignmentCase{"BottomByMessage", "", "Vertical(Bottom)", "10,16,26,26"},
                      AlignmentCase{"CenterCenter", "Vertical=Center\nHorizontal=Center", "", "21,14,37,24"},
                      AlignmentCase{"UnknownWordsMeanLeftTop", "Horizontal=Right\nVertical=Bottom",
                                    "Horizontal(Middle), Vertical(Middle)", "10,12,26,22"}),
    platform::testing::NameFromText<&AlignmentCase::name>());

TEST_F(TextControlTest, AlignmentMessagesStoreTheirWordsAndRedrawOnlyOnAChange) {
    StartWith("Control=Caption\n", kCaption);
    EXPECT_TRUE(Send(Caption(), "Horizontal(Justified)"));
    EXPECT_EQ(Caption().GetHorizontalAlignment(), TextControl::HorizontalAlignment::Justified);
    EXPECT_NE(Dirty(), "");
    Step();
    EXPECT_TRUE(Send(Caption(), "Horizontal(Justified), Vertical(Top)"));
    EXPECT_EQ(Dirty(), "");
}

TEST_F(TextControlTest, TheSameTextRedrawsOnceAndAnAppendAlways) {
    StartWith("Control=Caption\n", kCaption);
    EXPECT_TRUE(Send(Caption(), "Text(Hello)"));
    EXPECT_EQ(Dirty(), "10,10,50,30");
    Step();
    EXPECT_TRUE(Send(Caption(), "Text(Hello)"));
    EXPECT_EQ(Dirty(), "");
    EXPECT_TRUE(Send(Caption(), "Append(Hello)"));
    EXPECT_EQ(Dirty(), "10,10,50,30");
    EXPECT_EQ(Text(Caption().GetText()), "HelloHello");
    Step();
    const int before = ReportsOf(kFailure);
    EXPECT_FALSE(Send(Caption(), "Text"));
    EXPECT_EQ(ReportsOf(kFailure), before + 1);
    EXPECT_EQ(Text(Caption().GetText()), "HelloHello");
}

TEST_F(TextControlTest, TextsComeFromLocaleFilesByKey) {
    StartWith("Control=Caption\nControl=Title\n",
              std::string(kCaption) + "[Title]\nClass=TextControl\nFont=Big\nText=Game.loc, TITLE\n");
    EXPECT_EQ(Text(Get("Title").GetText()), "AVA");
    EXPECT_TRUE(Send(Caption(), "Text(Game.loc, OTHER)"));
    EXPECT_EQ(Text(Caption().GetText()), "V");
    EXPECT_TRUE(Send(Caption(), "Append(Game.loc, TITLE)"));
    EXPECT_EQ(Text(Caption().GetText()), "VAVA");
    const int before = ReportsOf(kFailure);
    EXPECT_TRUE(Send(Caption(), "Text(Game.loc, MISSING)"));
    EXPECT_EQ(ReportsOf(kFailure), before + 1);
    EXPECT_EQ(Text(Caption().GetText()), "VAVA");
}

TEST_F(TextControlTest, TextsGoToVariablesAndComeBack) {
    StartWith("Control=Caption\n", kCaption);
    EXPECT_TRUE(Send(Caption(), "WriteVar(Saved(Game))"));
    Vemo::String value;
    ASSERT_TRUE(App().GetVar(S("Game"), S("Saved"), value));
    EXPECT_EQ(Text(value), "AV");
    EXPECT_TRUE(Send(Caption(), "Text(VV), ReadVar(Saved(Game))"));
    EXPECT_EQ(Text(Caption().GetText()), "AV");

    // A variable of two values is a locale file and a key.
    ASSERT_TRUE(App().SetVar(S("Game"), S("Pair"), S("Game.loc, TITLE")));
    EXPECT_TRUE(Send(Caption(), "ReadVar(Pair(Game))"));
    EXPECT_EQ(Text(Caption().GetText()), "AVA");

    // A missing variable is reported; the message still succeeds and the text stays.
    const int before = ReportsOf(kFailure);
    EXPECT_TRUE(Send(Caption(), "ReadVar(Nothing(Game))"));
    EXPECT_EQ(ReportsOf(kFailure), before + 1);
    EXPECT_EQ(Text(Caption().GetText()), "AVA");
    EXPECT_TRUE(Send(Caption(), "ReadVar, WriteVar"));
}

TEST_F(TextControlTest, TheTextAttributeIsTheCurrentText) {
    StartWith("Control=Caption\n", kCaption);
    Vemo::BasicArray<Fragment> out;
    EXPECT_TRUE(Caption().ExpandAttribute(Fragment(S("text")), out));
    ASSERT_EQ(out.Size(), 1U);
    EXPECT_EQ(Text(out[0].GetText().GetString()), "AV");
}

TEST_F(TextControlTest, ResizingFitsTheTextUnwrappedOrWrappedAtTheWidth) {
    StartWith("Control=Caption\n", kCaption);
    EXPECT_TRUE(Send(Caption(), "ResizeToFitText"));
    EXPECT_EQ(Text(Caption().GetSize()), "17x16");
    EXPECT_TRUE(Send(Caption(), "Size(30, 5), Text(AAA AAA), ResizeVerticallyToFitText"));
    EXPECT_EQ(Text(Caption().GetSize()), "30x32");
    Step();
    EXPECT_EQ(InkBox(kRed), "10,12,33,38");
}

TEST_F(TextControlTest, AnInactiveTextHoldsNoFontAndShrinksToNothing) {
    StartWith("Control=Caption\n", kCaption);
    ASSERT_NE(Caption().GetFontHelper().GetFont(), nullptr);
    EXPECT_TRUE(Send(Caption(), "Active(false)"));
    EXPECT_EQ(Caption().GetFontHelper().GetFont(), nullptr);
    EXPECT_TRUE(Send(Caption(), "ResizeToFitText"));
    EXPECT_EQ(Text(Caption().GetSize()), "0x0");
    EXPECT_TRUE(Send(Caption(), "Size(40, 20), Active(true)"));
    Step();
    EXPECT_EQ(InkBox(kRed), "10,12,26,22");
}

TEST_F(TextControlTest, AControlWithoutAFontDrawsNothing) {
    StartWith("Control=Caption\n", "[Caption]\nClass=TextControl\nPosition=10, 10\nSize=40, 20\nText=AV\n");
    EXPECT_EQ(Caption().GetFontHelper().GetFont(), nullptr);
    EXPECT_EQ(InkBox(kRed), "none");
}

TEST_F(TextControlTest, ATextKeyWithoutAValueFailsTheControl) {
    const int before = ReportsOf(kFailure);
    Write("Title/Game.loc", Locale({{"TITLE", "AVA"}}));
    Start(kFonts, "Control=Caption\n", "[Caption]\nClass=TextControl\nFont=Big\nText=\n");
    EXPECT_EQ(Find("Caption"), nullptr);
    EXPECT_GT(ReportsOf(kFailure), before);
}

TEST_F(TextControlTest, TheMouseOverATextShowsThePointerAtOnce) {
    const VemoTest::Bytes cells = PictureTest::Bmp(PictureTest::CellGrid(24, 8, Cursor::kCellSize));
    Write("Title/cursor.bmp", std::string(cells.begin(), cells.end()));
    m_viewportKeys = "Cursor=cursor.bmp\n";
    StartWith("Control=Caption\n", kCaption);
    Cursor* cursor = App().GetViewport()->GetCursor();
    ASSERT_NE(cursor, nullptr);
    ASSERT_EQ(cursor->GetState(), Cursor::kNone);
    MessengerTest::Recorder& watcher = Watch(Caption());
    win32::testing::MoveMouse(Window(), 20, 15);
    Step();
    Step();
    EXPECT_TRUE(Caption().IsMouseInside());
    EXPECT_EQ(cursor->GetState(), Cursor::kPointer);
    EXPECT_EQ(watcher.TakeReceived(), (MessengerTest::Log{"Enter"}));
}

// --- In a bitmap font

class BitmapTextTest : public TextControlTest {
protected:
    void StartTiny(const std::string& keys) {
        const VemoTest::Bytes picture = GlyphTest::GlyphPicture();
        Write("Title/glyphs.bmp", std::string(picture.begin(), picture.end()));
        Write("Title/Game.loc", Locale({{"TITLE", "AVA"}}));
        ASSERT_TRUE(
            Start(std::string(kFonts) + GlyphTest::TinySection(), "Control=Back\nControl=Caption\n",
                  "[Back]\nClass=TestBackdrop\nSize=160, 120\n"
                  "[Caption]\nClass=TextControl\nPosition=10, 10\nSize=40, 20\nFont=Tiny\nText=AV A\n" +
                      keys + "\n"));
        Step();
    }

    std::vector<std::string> Glyphs() {
        return Picture({{GlyphTest::kGreen, 'g'}, {GlyphTest::kBlue, 'b'}, {0, '.'}}, 10, 10, 25, 15);
    }
};

const std::vector<std::string> kTinyAvA = {
    "g.g.bbb..g.g...", "ggg.b.b..ggg...", "g.g......g.g...", "g.g......g.g...", "...............",
};

TEST_F(BitmapTextTest, GlyphsAreBlitWithTheirTransparentColourTopAlignedAndAdvanced) {
    StartTiny("");
    EXPECT_EQ(Glyphs(), kTinyAvA);
}

TEST_F(BitmapTextTest, AlignmentsDoNotMoveABitmapFontsText) {
    StartTiny("Horizontal=Right\nVertical=Center\n");
    EXPECT_EQ(Glyphs(), kTinyAvA);
}

TEST_F(BitmapTextTest, ResizingFitsTheAdvancesAndTheTallestGlyph) {
    StartTiny("");
    EXPECT_TRUE(Send(Caption(), "ResizeToFitText"));
    EXPECT_EQ(Text(Caption().GetSize()), "13x4");
    EXPECT_TRUE(Send(Caption(), "Text(VV), ResizeVerticallyToFitText"));
    EXPECT_EQ(Text(Caption().GetSize()), "13x2");
}

TEST_F(BitmapTextTest, ChangingTheFontRedrawsInTheNewOne) {
    StartTiny("");
    EXPECT_TRUE(Send(Caption(), "Text(AV)"));
    EXPECT_TRUE(Caption().SetFont(S("Big")));
    EXPECT_STREQ(Caption().GetFontName().CStr(), "Big");
    Step();
    EXPECT_EQ(InkBox(GlyphTest::kGreen), "none");
    EXPECT_EQ(InkBox(kRed), "10,12,26,22");
    EXPECT_TRUE(Caption().SetFont(S("TINY")));
    EXPECT_STREQ(Caption().GetFontName().CStr(), "TINY");
    Step();
    EXPECT_EQ(InkBox(kRed), "none");
    EXPECT_EQ(InkBox(GlyphTest::kGreen), "10,10,13,14");
}

} // namespace
