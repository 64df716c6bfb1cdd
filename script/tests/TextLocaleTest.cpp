#include "script/TextLocale.h"

#include "script/Locale.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace std::string_literals;
using ScriptTest::Text;

bool Load(TextLocale& locale, const std::string& bytes) {
    return locale.LoadBuffer(bytes.data(), bytes.size());
}

// The 16-bit form of an 8-bit text: the mark FF FE, then each byte as a little-endian unit.
std::string Wide(const std::string& narrow) {
    std::string bytes = "\xFF\xFE";
    for (char c : narrow) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

std::string Contents(const TextLocale& locale) {
    std::string out;
    for (const auto& [key, text] : locale.GetTexts()) {
        out += Text(key) + "=" + Text(text) + ";";
    }
    return out;
}

std::string Lookup(const TextLocale& locale, const char* key) {
    Vemo::String text("stale");
    const bool found = locale.Lookup(key, text);
    return found ? Text(text) : "<missing:" + Text(text) + ">";
}

const std::string kPairs = "ERR_TITLE\0Problem detected!\0PRODUCT_NAME\0Demo\nTwo lines\0"s;

TEST(TextLocaleTest, EightBitPairsAreLookedUpWithoutRegardToCase) {
    TextLocale locale;
    ASSERT_TRUE(Load(locale, kPairs));
    EXPECT_EQ(locale.GetCount(), 2u);
    EXPECT_EQ(Lookup(locale, "err_title"), "Problem detected!");
    EXPECT_EQ(Lookup(locale, "PRODUCT_NAME"), "Demo\nTwo lines");
    EXPECT_EQ(Lookup(locale, "MISSING"), "<missing:>");
}

TEST(TextLocaleTest, ALaterPairReplacesAnEarlierOne) {
    TextLocale locale;
    ASSERT_TRUE(Load(locale, "ERR_TITLE\0Problem detected!\0err_title\0Other\0"s));
    EXPECT_EQ(Contents(locale), "ERR_TITLE=Other;");
}

TEST(TextLocaleTest, TheSixteenBitFormReadsTheSameTable) {
    TextLocale narrow;
    TextLocale wide;
    ASSERT_TRUE(Load(narrow, kPairs));
    ASSERT_TRUE(Load(wide, Wide(kPairs)));
    EXPECT_EQ(Contents(wide), Contents(narrow));
}

TEST(TextLocaleTest, SixteenBitCharactersKeepTheirLowByteAndAnOddLastByteIsIgnored) {
    TextLocale locale;
    ASSERT_TRUE(Load(locale, "\xFF\xFE"
                             "A\0"
                             "\0\0"
                             "\xE9\x00"
                             "\x41\x01"
                             "\0\0"
                             "X"s));
    EXPECT_EQ(Contents(locale), "A=\xE9\x41;");
}

TEST(TextLocaleTest, APairNeedsThreeUnitsLeft) {
    struct Case {
        std::string bytes;
        const char* contents;
    };
    const Case cases[] = {
        {"AB\0"s, "AB=;"},
        {"K\0v\0AB\0"s, "AB=;K=v;"},
        {"K\0v\0ABC"s, "ABC=;K=v;"},
        {"K\0v\0A\0"s, "K=v;"},
        {"K\0v\0AB"s, "K=v;"},
        {"KEY"s, "KEY=;"},
        {"\0\0\0"s, "=;"},
        {Wide("K\0v\0AB\0"s), "AB=;K=v;"},
        {Wide("K\0v\0A\0"s), "K=v;"},
        {"\xFF\xFE"s, ""},
        {""s, ""},
    };
    for (const Case& c : cases) {
        TextLocale locale;
        ASSERT_TRUE(Load(locale, c.bytes));
        EXPECT_EQ(Contents(locale), c.contents) << c.contents;
    }
}

TEST(TextLocaleTest, SavedPairsLoadBackTheSame) {
    TextLocale locale;
    ASSERT_TRUE(Load(locale, kPairs));
    Vemo::String saved;
    ASSERT_TRUE(locale.SaveBuffer(saved));
    EXPECT_EQ(Text(saved), kPairs);
    TextLocale loaded;
    ASSERT_TRUE(loaded.LoadBuffer(saved.CStr(), saved.Length()));
    EXPECT_EQ(Contents(loaded), Contents(locale));
    loaded.Clear();
    EXPECT_EQ(loaded.GetCount(), 0u);
}

TEST(TextLocaleTest, SaveLeavesOutAPairThatHoldsAZeroByte) {
    TextLocale locale;
    // The unit 0x0100 narrows to a zero byte inside the text.
    ASSERT_TRUE(Load(locale, "\xFF\xFE"
                             "A\0"
                             "\0\0"
                             "\0\0"
                             "B\0"
                             "\0\0"
                             "x\0"
                             "\0\x01"
                             "y\0"
                             "\0\0"s));
    ASSERT_EQ(Contents(locale), "A=;B=x\0y;"s);
    Vemo::String saved;
    EXPECT_FALSE(locale.SaveBuffer(saved));
    EXPECT_EQ(Text(saved), "A\0\0"s);
}

TEST(TextLocaleTest, SaveLeavesOutAFirstKeyThatWouldReadAsTheSixteenBitMark) {
    TextLocale locale;
    ASSERT_TRUE(Load(locale, "\xFF\xFE"
                             "\xFF\0"
                             "\xFE\0"
                             "\0\0"
                             "x\0"
                             "\0\0"s));
    ASSERT_EQ(Contents(locale), "\xFF\xFE=x;");
    Vemo::String saved;
    EXPECT_FALSE(locale.SaveBuffer(saved));
    EXPECT_EQ(Text(saved), "");

    ASSERT_TRUE(Load(locale, "A\0a\0\xFF\xFE\0b\0"s));
    EXPECT_TRUE(locale.SaveBuffer(saved));
    EXPECT_EQ(Text(saved), "A\0a\0\xFF\xFE\0b\0"s);
}

TEST(TextLocaleTest, TheFrameworkLocaleHasItsClassRecord) {
    const Vemo::Locale locale;
    const Vemo::ObjectClassData* data = locale.GetClassData();
    ASSERT_EQ(data, Vemo::Locale::ClassData());
    EXPECT_STREQ(data->name, "Vemo::Locale");
    ASSERT_EQ(data->bases.Size(), 1u);
    EXPECT_EQ(data->bases[0], Vemo::Object::ClassData());
}

} // namespace
