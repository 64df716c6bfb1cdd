#include "platform/win32/kernel/StringConversion.h"

#include "platform/testing/CaseNames.h"
#include "platform/testing/CodePage.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <string>

namespace win32 {
namespace {

struct ConversionCase {
    const char* name;
    UINT page; // the emulated ANSI page
    const char* bytes;
    std::u16string text;
};

std::u16string Widen(UINT codePage, const std::string& bytes) {
    const int needed =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string text(static_cast<std::size_t>(needed), u'\0');
    EXPECT_EQ(
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), needed),
        needed);
    return text;
}

std::string Narrow(UINT codePage, const std::u16string& text, BOOL* usedDefault = nullptr) {
    const int needed = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                           0, nullptr, usedDefault);
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    EXPECT_EQ(WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                  needed, nullptr, usedDefault),
              needed);
    return bytes;
}

class CodePageConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(CodePageConversionTest, TheAnsiPageConvertsBothWays) {
    const ConversionCase& c = GetParam();
    testing::ScopedCodePage page(c.page);
    EXPECT_EQ(Widen(CP_ACP, c.bytes), c.text);
    EXPECT_EQ(Narrow(CP_ACP, c.text), c.bytes);
    EXPECT_EQ(Widen(c.page, c.bytes), c.text) << "the page named by its number is the same";
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CodePageConversionTest,
    ::testing::Values(ConversionCase{"Ascii", 1252, "SWCtl.SWCtl", u"SWCtl.SWCtl"},
                      ConversionCase{"Windows1252", 1252, "caf\xE9 \x80 \x93quoted\x94",
                                     u"caf\u00e9 \u20ac \u201cquoted\u201d"},
                      ConversionCase{"Windows1251", 1251, "\xCF\xF0\xE8", u"\u041f\u0440\u0438"},
                      ConversionCase{"ShiftJis", 932, "C:\\\x93\xFA\x96{\\a.txt", u"C:\\\u65e5\u672c\\a.txt"},
                      ConversionCase{"Gbk", 936, "\xC4\xE3\xBA\xC3", u"\u4f60\u597d"}),
    platform::testing::NameFromText<&ConversionCase::name>());

TEST(StringConversionTest, ALengthOfMinusOneTakesTheTextAndItsZero) {
    WCHAR wide[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 8), 4);
    EXPECT_EQ(std::u16string(wide, 4), std::u16string(u"abc\0", 4));
    char narrow[8] = "xxxxxxx";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"de", -1, narrow, 8, nullptr, nullptr), 3);
    EXPECT_STREQ(narrow, "de");
}

TEST(StringConversionTest, BytesThePageLeavesUndefinedKeepTheirValue) {
    testing::ScopedCodePage page(1252);
    EXPECT_EQ(Widen(CP_ACP, "a\x81z\x9D"), u"a\u0081z\u009d");
    SetLastError(0);
    WCHAR wide[4];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "a\x81", 2, wide, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

TEST(StringConversionTest, ALeadByteThatEndsTheTextBecomesAQuestionMark) {
    testing::ScopedCodePage page(932);
    EXPECT_EQ(Widen(CP_ACP, "ab\x93"), u"ab?");
}

TEST(StringConversionTest, CharactersThePageCannotShowBecomeTheDefaultCharacter) {
    testing::ScopedCodePage page(1252);
    BOOL usedDefault = FALSE;
    EXPECT_EQ(Narrow(CP_ACP, u"a\u65e5b", &usedDefault), "a?b");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(Narrow(CP_ACP, u"\U0001F600.", &usedDefault), "?.") << "a surrogate pair is one character";
    EXPECT_EQ(Narrow(CP_ACP, std::u16string(u"x") + char16_t(0xD800) + u"y", &usedDefault), "x?y");
    EXPECT_EQ(Narrow(CP_ACP, u"plain", &usedDefault), "plain");
    EXPECT_FALSE(usedDefault);
    char narrow[4] = {};
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u65e5", 1, narrow, 4, "#", nullptr), 1);
    EXPECT_EQ(narrow[0], '#');
}

struct FailureCase {
    const char* name;
    UINT page;
    DWORD flags;
    int length;
    int size;
    DWORD error;
};

class StringConversionFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StringConversionFailureTest, FailsWithTheReason) {
    const FailureCase& c = GetParam();
    WCHAR wide[2];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(c.page, c.flags, "abc", c.length, wide, c.size), 0);
    EXPECT_EQ(GetLastError(), c.error);
    char narrow[2];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(c.page, c.flags, u"abc", c.length, narrow, c.size, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, StringConversionFailureTest,
    ::testing::Values(FailureCase{"BufferTooSmall", CP_ACP, 0, 3, 2, ERROR_INSUFFICIENT_BUFFER},
                      FailureCase{"UnknownPage", 437, 0, 3, 2, ERROR_INVALID_PARAMETER},
                      FailureCase{"NegativeSize", CP_ACP, 0, 3, -1, ERROR_INVALID_PARAMETER},
                      FailureCase{"LengthBelowMinusOne", CP_ACP, 0, -2, 2, ERROR_INVALID_PARAMETER},
                      FailureCase{"NothingToConvert", CP_ACP, 0, 0, 2, ERROR_INVALID_PARAMETER},
                      FailureCase{"UnknownFlag", CP_ACP, 0x100, 3, 2, ERROR_INVALID_FLAGS}),
    platform::testing::NameFromText<&FailureCase::name>());

} // namespace
} // namespace win32
