#include "platform/win32/files/Wildcard.h"

#include "platform/testing/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using win32::MatchWildcard;

TEST(WildcardTest, StarQuestionMarkAndLiteralsWithoutCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"*", "anything.txt", true},
        {"*", "", true},
        {"*.txt", "readme.TXT", true},
        {"*.txt", "readme.txt.bak", false},
        {"*.*", "readme", false}, // no DOS rule: the dot is literal
        {"*.*", "a.b", true},
        {"?", "a", true},
        {"?", "", false},
        {"?", "ab", false},
        {"a?c", "ABC", true},
        {"a?c", "ac", false},
        {"*a*b*", "xxaxxbxx", true},
        {"*a*b*", "xxbxxaxx", false},
        {"**", "x", true},
        {"*?", "", false},
        {"menu*.bmp", "MENU01.BMP", true},
        {"menu*.bmp", "menu.bm", false},
        {"[ab]", "[AB]", true}, // brackets are plain characters
        {"[ab]", "a", false},
        {"data", "DATA", true},
        {"data", "dat", false},
        {"*.qib", "a.qib.qib", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
    }
}

TEST(WildcardTest, LongRunsOfStarsStayFast) {
    std::string pattern;
    for (int i = 0; i < 200; ++i) {
        pattern += "*a";
    }
    pattern += "b";
    EXPECT_FALSE(MatchWildcard(pattern, std::string(5000, 'a')));
}

TEST(WildcardTest, ADoubleByteCharacterIsOneCharacterAndKeepsItsCase) {
    win32::testing::ScopedCodePage shiftJis(932);
    // 0x83 0x61 and 0x83 0x41 are two different characters whose trail bytes are 'a' and 'A'.
    const std::string lowerTrail = "\x83\x61";
    const std::string upperTrail = "\x83\x41";
    EXPECT_TRUE(MatchWildcard("?", lowerTrail));
    EXPECT_TRUE(MatchWildcard("x?.txt", "x" + lowerTrail + ".txt"));
    EXPECT_FALSE(MatchWildcard(lowerTrail, upperTrail));
    EXPECT_TRUE(MatchWildcard("*" + lowerTrail, "ab" + lowerTrail));
    EXPECT_FALSE(MatchWildcard("*a", "b" + lowerTrail)); // the trail byte is no 'a' of its own
}

} // namespace
