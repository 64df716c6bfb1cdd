// The searches step over double-byte characters: in code page 932, "\x95\x5C" is one character whose trail
// byte is the code of '\'.
#include "platform/testing/CodePage.h"
#include "runtime/application/DbcsStrings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const Vemo::String kPath("C:\\\x95\x5C\\Data/x");

TEST(DbcsStringsTest, ABackslashTrailByteIsPartOfItsCharacter) {
    win32::testing::ScopedCodePage japanese(932);
    EXPECT_EQ(FindCharDbcs(kPath, '\\'), 2);
    EXPECT_EQ(FindFirstOfDbcs(kPath, "\\/", 3), 5);
    EXPECT_EQ(FindFirstOfDbcs(kPath, "/", 0), 10);
    EXPECT_EQ(FindFirstNotOfDbcs(kPath, "\\", 2), 3);
    EXPECT_EQ(FindCharDbcs(Vemo::String("\x95\x5C"), '\\'), -1);
}

TEST(DbcsStringsTest, InASingleBytePageEveryByteIsACharacter) {
    EXPECT_EQ(FindFirstOfDbcs(kPath, "\\/", 3), 4);
    EXPECT_EQ(FindFirstNotOfDbcs(Vemo::String("//a"), "/", 0), 2);
    EXPECT_EQ(FindFirstNotOfDbcs(Vemo::String("//"), "/", 0), -1);
    EXPECT_EQ(FindCharDbcs(Vemo::String(""), 'a'), -1);
}

TEST(DbcsStringsTest, EnsureTrailingSlashAddsOneWhereNoneEnds) {
    for (const auto& [given, wanted] : {std::pair{"", ""}, {"Savers", "Savers/"}, {"Savers/", "Savers/"}}) {
        Vemo::String text(given);
        EnsureTrailingSlash(text);
        EXPECT_EQ(std::string(text.CStr()), wanted) << given;
    }
}

} // namespace
