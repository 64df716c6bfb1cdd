#include "script/SubString.h"

#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using ScriptTest::Text;

TEST(SubStringTest, AViewSharesTheBufferOfItsText) {
    const Vemo::String text("Intro Movie");
    const SubString view(text, 6, 5);
    EXPECT_EQ(view.Data(), text.CStr() + 6);
    EXPECT_EQ(*text.CountByte(), 1);
    const SubString copy(view);
    EXPECT_EQ(copy.Data(), text.CStr() + 6);
    EXPECT_EQ(*text.CountByte(), 2);
    Vemo::String part;
    copy.GetString(part);
    EXPECT_EQ(Text(part), "Movie");
}

TEST(SubStringTest, AMoveHandsTheShareOverAndLeavesAnEmptyView) {
    const Vemo::String text("Intro Movie");
    SubString view(text, 6, 5);
    SubString moved(std::move(view));
    EXPECT_EQ(moved.Data(), text.CStr() + 6);
    EXPECT_EQ(moved.Length(), 5u);
    EXPECT_EQ(*text.CountByte(), 1);
    EXPECT_TRUE(view.IsEmpty());
    SubString assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.Data(), text.CStr() + 6);
    EXPECT_EQ(*text.CountByte(), 1);
    EXPECT_TRUE(moved.IsEmpty());
    view = text;
    EXPECT_EQ(view.Length(), text.Length());
}

TEST(SubStringTest, ViewsAreCutToTheirText) {
    const Vemo::String text("abc");
    EXPECT_EQ(Text(SubString(text, 1, 100)), "bc");
    const SubString beyond(text, 7, 2);
    EXPECT_EQ(beyond.Length(), 0u);
    EXPECT_EQ(beyond.Start(), 3u);
    EXPECT_STREQ(beyond.Data(), "");
    EXPECT_STREQ(SubString().Data(), "");
}

TEST(SubStringTest, AWholeViewGivesTheSharedString) {
    const Vemo::String text("whole");
    Vemo::String out;
    SubString(text).GetString(out);
    EXPECT_EQ(out.CStr(), text.CStr());
}

TEST(SubStringTest, ABufferSharedTheMostTimesIsCopiedWithOnlyTheViewedCharacters) {
    const Vemo::String text("one two three");
    std::vector<Vemo::String> holders(254, text);
    ASSERT_EQ(*text.CountByte(), 254);
    const SubString last(text, 4, 3);
    ASSERT_EQ(*text.CountByte(), 255);

    const SubString copy(last);
    EXPECT_NE(copy.Data(), last.Data());
    EXPECT_EQ(copy.Start(), 0u);
    EXPECT_EQ(Text(copy.GetString()), "two");
    EXPECT_EQ(*text.CountByte(), 255);

    SubString assigned;
    assigned = last;
    EXPECT_EQ(assigned.Start(), 0u);
    EXPECT_EQ(Text(assigned), "two");
}

TEST(SubStringTest, ClearGivesBackTheShare) {
    const Vemo::String text("abc");
    SubString view(text);
    ASSERT_EQ(*text.CountByte(), 1);
    view.Clear();
    EXPECT_EQ(*text.CountByte(), 0);
    EXPECT_EQ(view.Length(), 0u);
}

int Compare(const char* a, const char* b) {
    return SubString(Vemo::String(a)).CompareNoCase(SubString(Vemo::String(b)));
}

TEST(SubStringTest, CompareNoCaseFoldsOnlyAsciiLettersAndOrdersShorterFirst) {
    EXPECT_LT(Compare("abc", "ABD"), 0);
    EXPECT_EQ(Compare("ab", "abc"), -1);
    EXPECT_EQ(Compare("abc", "ab"), 1);
    EXPECT_EQ(Compare("SetVar", "setvar"), 0);
    EXPECT_EQ(Compare("", ""), 0);
    EXPECT_EQ(Compare("", "a"), -1);
    EXPECT_EQ(Compare("a", "b"), 'a' - 'b');
    EXPECT_EQ(Compare("\xC4", "\xE4"), 0xC4 - 0xE4) << "bytes from 0x80 on never fold";
}

TEST(SubStringTest, ThePartialCompareLooksAtAPartOfTheView) {
    const SubString view(Vemo::String("PlayMovie"));
    EXPECT_EQ(view.CompareNoCase(4, 5, "movie", 5), 0);
    EXPECT_EQ(view.CompareNoCase(0, 4, "PLAY", 4), 0);
    EXPECT_EQ(view.CompareNoCase(0, 4, "PLAYS", 5), -1);
    EXPECT_EQ(view.CompareNoCase(4, 100, "movie", 5), 0);
    EXPECT_EQ(view.CompareNoCase(20, 3, "", 0), 0);
    EXPECT_EQ(view.CompareNoCase(20, 3, "x", 1), -1);
}

} // namespace
