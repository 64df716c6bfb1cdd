#include "script/KeywordIds.h"

#include <gtest/gtest.h>

namespace {

SubString Word(const char* text) {
    return SubString(Vemo::String(text));
}

const KeywordIds<unsigned int>& MessageWords() {
    static const KeywordIds<unsigned int> table({{"SetVar", 1}, {"GetVar", 2}, {"Show", 3}}, 0xFFFFFFFF);
    return table;
}

TEST(KeywordIdsTest, WordsAreFoundInAnyCaseAndOnlyWhole) {
    const KeywordIds<unsigned int>& table = MessageWords();
    for (const char* word : {"SetVar", "setvar", "SETVAR", "sEtVaR"}) {
        EXPECT_EQ(table[Word(word)], 1u) << word;
    }
    for (const char* word : {"SetVa", "SetVars", "", "Hide"}) {
        EXPECT_EQ(table[Word(word)], 0xFFFFFFFFu) << word;
        EXPECT_EQ(table.Lookup(Word(word)), table.End()) << word;
    }
    const auto found = table.Lookup(Word("show"));
    ASSERT_NE(found, table.End());
    EXPECT_EQ(found->id, 3u);
}

TEST(KeywordIdsTest, AWordIsLookedUpThroughAnyView) {
    const Vemo::String text("Call(GetVar)");
    EXPECT_EQ(MessageWords()[SubString(text, 5, 6)], 2u);
}

TEST(KeywordIdsTest, AKeywordEnteredTwiceKeepsItsFirstId) {
    KeywordIds<unsigned int> table(0xFFFFFFFF);
    table.Add(Word("Play"), 1);
    table.Add(Word("PLAY"), 2);
    EXPECT_EQ(table.Size(), 1u);
    EXPECT_EQ(table[Word("play")], 1u);
}

enum class Precision { High = 1, Standard = 2, Low = 3 };

TEST(KeywordIdsTest, AnEnumerationTableAnswersItsOwnMissValue) {
    const KeywordIds<Precision> table(
        {{"High", Precision::High}, {"Standard", Precision::Standard}, {"Low", Precision::Low}},
        Precision::Standard);
    EXPECT_EQ(table[Word("low")], Precision::Low);
    EXPECT_EQ(table[Word("Medium")], Precision::Standard);
}

} // namespace
