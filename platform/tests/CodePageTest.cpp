#include "platform/win32/CodePage.h"

#include "platform/testing/CodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace win32;

TEST(CodePageTest, SingleByteByDefault) {
    if (std::getenv("VEMO_CODEPAGE") != nullptr) {
        GTEST_SKIP() << "VEMO_CODEPAGE is set";
    }
    EXPECT_EQ(GetACP(), 1252u);
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_FALSE(IsDBCSLeadByte(static_cast<BYTE>(byte))) << byte;
    }
}

TEST(CodePageTest, ShiftJisLeadBytes) {
    win32::testing::ScopedCodePage shiftJis(932);
    EXPECT_EQ(GetACP(), 932u);
    for (int byte = 0; byte < 256; ++byte) {
        bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE, lead) << byte;
    }
}

TEST(CodePageTest, AnUnsupportedOverrideFallsBackToTheStartupPage) {
    UINT startup = GetACP();
    {
        win32::testing::ScopedCodePage unknown(12345);
        EXPECT_EQ(GetACP(), startup);
    }
    win32::testing::ScopedCodePage korean(949);
    EXPECT_TRUE(IsDBCSLeadByte(0xFE));
    EXPECT_FALSE(IsDBCSLeadByte(0x80));
}

TEST(CodePageTest, NamesCompareWithoutCaseOnlyOnSingleByteCharacters) {
    EXPECT_TRUE(EqualNoCase("Quorven.INI", "quorven.ini"));
    EXPECT_FALSE(EqualNoCase("a", "ab"));
    EXPECT_FALSE(EqualNoCase("\xC0", "\xE0")); // only ASCII letters fold
    win32::testing::ScopedCodePage shiftJis(932);
    EXPECT_FALSE(EqualNoCase("\x83\x61", "\x83\x41"));
    EXPECT_TRUE(EqualNoCase("X\x83\x61", "x\x83\x61"));
    EXPECT_EQ(CharacterLength("\x83", 0), 1u); // a lead byte at the end stands alone
}

} // namespace
