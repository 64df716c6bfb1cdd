#include "script/Fragment.h"

#include "platform/testing/CaseNames.h"
#include "resources/testing/TestResourceFamily.h"
#include "script/Script.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using ScriptTest::Bytes;
using ScriptTest::Describe;
using ScriptTest::Text;

Vemo::BasicArray<Fragment> Parse(const char* value) {
    Vemo::BasicArray<Fragment> fragments;
    EXPECT_TRUE(Script::TokenizeText(fragments, value, static_cast<std::uint32_t>(std::strlen(value))))
        << value;
    return fragments;
}

std::string Written(const Vemo::BasicArray<Fragment>& fragments) {
    Vemo::String text;
    FragmentsToText(fragments, text);
    return Text(text);
}

TEST(FragmentTest, TheConstructorFromTextTakesExactlyOneFragment) {
    VemoTest::TestApplication application;
    const Fragment call(Vemo::String("Play(a, b)"));
    EXPECT_EQ(Text(call.GetText()), "Play");
    ASSERT_EQ(call.GetChildren().Size(), 2u);
    EXPECT_EQ(Text(call.GetChildren()[1].GetText()), "b");

    for (const char* text : {"a, b", "", "F("}) {
        const Fragment none{Vemo::String(text)};
        EXPECT_TRUE(none.GetText().IsEmpty()) << text;
        EXPECT_FALSE(none.HasChildren()) << text;
    }
}

TEST(FragmentTest, ACopyHoldsItsOwnChildren) {
    Fragment copy;
    {
        const Fragment original(Vemo::String("\"F\"(x(y))"));
        copy = original;
    }
    EXPECT_TRUE(copy.IsQuoted());
    Vemo::BasicArray<Fragment> one;
    one.PushBack(copy);
    EXPECT_EQ(Describe(one), "\"F\"([x]([y]))");
}

TEST(FragmentTest, EqualityIgnoresCaseAndQuotesButNotStructure) {
    EXPECT_TRUE(FragmentsEqualNoCase(Parse("SetVar(Score, 10)"), Parse("\"setvar\"(SCORE,10)")));
    EXPECT_FALSE(FragmentsEqualNoCase(Parse("SetVar(Score, 10)"), Parse("SetVar(Score)")));
    EXPECT_FALSE(FragmentsEqualNoCase(Parse("SetVar(Score)"), Parse("SetVar, Score")));
    EXPECT_FALSE(FragmentsEqualNoCase(Parse("abc"), Parse("abd")));
    EXPECT_FALSE(FragmentsEqualNoCase(Parse("ab"), Parse("abc")));
    EXPECT_TRUE(Fragment(Vemo::String("A(b)")) == Fragment(Vemo::String("a(B)")));
}

struct WriteCase {
    const char* value;
    const char* written;
};

class FragmentsToTextTest : public testing::TestWithParam<WriteCase> {};

TEST_P(FragmentsToTextTest, WritesTextThatReadsBackTheSame) {
    const Vemo::BasicArray<Fragment> fragments = Parse(GetParam().value);
    const std::string written = Written(fragments);
    EXPECT_EQ(written, GetParam().written);
    EXPECT_TRUE(FragmentsEqualNoCase(Parse(written.c_str()), fragments)) << written;
}

INSTANTIATE_TEST_SUITE_P(
    Values, FragmentsToTextTest,
    testing::Values(WriteCase{"Play(\"Intro Movie\", 2), Loop", "Play(Intro Movie,2),Loop"},
                    WriteCase{"\" edge\", \"a,b\", \"(x)\"", "\" edge\",\"a,b\",\"(x)\""},
                    WriteCase{"\"say \\\"hi\\\"\"", "\"say \\\"hi\\\"\""},
                    WriteCase{"\"back\\\\slash\"", "\"back\\\\slash\""},
                    WriteCase{"\"tab\\there\", \"line\\nend\"", "\"tab\\there\",\"line\\nend\""},
                    WriteCase{"F(), G(,)", "F(),G(,)"}, WriteCase{"a,", "a,"},
                    WriteCase{"\"http://host/a\", \"x/*y\", a/b", "\"http://host/a\",\"x/*y\",a/b"},
                    WriteCase{"\"\"(x)", "(x)"}),
    platform::testing::NameFromText<&WriteCase::value>());

TEST(FragmentsToTextTest, ACarriageReturnIsWrittenAsALineFeed) {
    Vemo::BasicArray<Fragment> fragments;
    const Vemo::String crlf = Bytes("a\r\nb\rc");
    fragments.PushBack(Fragment(SubString(crlf), false));
    EXPECT_EQ(Written(fragments), "\"a\\nb\\nc\"");
}

} // namespace
