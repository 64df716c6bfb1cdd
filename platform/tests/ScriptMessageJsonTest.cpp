#include "platform/web/ScriptMessageJson.h"

#include <gtest/gtest.h>

namespace {

using web::ScriptMessageJson;

struct PairCase {
    const char* name;
    const char* json;
    std::u16string command;
    std::u16string arguments;
};

const PairCase kPairs[] = {
    {"Plain", R"(["quit",""])", u"quit", u""},
    {"Spaced", " [ \"go\" ,\t\"1,2\" ] ", u"go", u"1,2"},
    {"Escapes", R"(["a\"b\\c\/d","\n\t\u00e9\ud83d\ude00"])", u"a\"b\\c/d", u"\n\t\u00e9\U0001F600"},
    {"Utf8", "[\"caf\xc3\xa9\",\"\xf0\x9f\x98\x80\"]", u"caf\u00e9", u"\U0001F600"},
    {"MalformedByteStandsForItself", "[\"a\xff\",\"\xc3\"]", u"a\u00ff", u"\u00c3"},
};

class TextPairTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(TextPairTest, ReadsBothTextsAsUtf16) {
    const auto pair = ScriptMessageJson::TextPair(GetParam().json);
    ASSERT_TRUE(pair.has_value());
    EXPECT_EQ(pair->first, GetParam().command);
    EXPECT_EQ(pair->second, GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(Pairs, TextPairTest, ::testing::ValuesIn(kPairs),
                         [](const ::testing::TestParamInfo<PairCase>& info) { return info.param.name; });

TEST(ScriptMessageJsonTest, AnythingButAPairOfTextsIsNoPair) {
    for (const char* json : {"", "[]", R"(["quit"])", R"(["quit",)", R"(["quit", 4])", R"("quit")",
                             R"(["a\u00G0",""])", R"(["unended)", "4"}) {
        EXPECT_FALSE(ScriptMessageJson::TextPair(json).has_value()) << json;
    }
}

TEST(ScriptMessageJsonTest, NumbersDropTheirFractionAndMustFitAnInt) {
    EXPECT_EQ(ScriptMessageJson::Number("4"), 4);
    EXPECT_EQ(ScriptMessageJson::Number("100.0"), 100);
    EXPECT_EQ(ScriptMessageJson::Number("-609"), -609);
    for (const char* json : {"", "\"4\"", "1e20", "-1e20", "nan"}) {
        EXPECT_FALSE(ScriptMessageJson::Number(json).has_value()) << json;
    }
}

} // namespace
