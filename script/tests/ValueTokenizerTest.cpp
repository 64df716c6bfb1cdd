#include "script/ValueTokenizer.h"

#include "platform/testing/CaseNames.h"
#include "platform/testing/CodePage.h"
#include "resources/testing/TestResourceFamily.h"
#include "script/Script.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ScriptTest::Bytes;
using ScriptTest::Describe;
using VemoTest::Reported;
using VemoTest::Reports;
using VemoTest::TestApplication;

std::string Tokenize(const std::string& value) {
    const Vemo::String text = Bytes(value);
    Vemo::BasicArray<Fragment> fragments;
    std::uint32_t position = 0;
    EXPECT_TRUE(Script::TokenizeValue(text, position, fragments, false)) << value;
    return Describe(fragments);
}

struct ValueCase {
    const char* value;
    const char* fragments;
};

class ValueSyntaxTest : public testing::TestWithParam<ValueCase> {};

TEST_P(ValueSyntaxTest, ParsesToTheExpectedFragments) {
    TestApplication application;
    EXPECT_EQ(Tokenize(GetParam().value), GetParam().fragments);
    EXPECT_EQ(application.TakeReports(), Reports{});
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValueSyntaxTest,
    testing::Values(ValueCase{"Play(\"Intro Movie\", 2), Loop", "[Play](\"Intro Movie\",[2]),[Loop]"},
                    ValueCase{"  two words  ,  c  ", "[two words],[c]"},
                    ValueCase{"\" kept \"", "\" kept \""}, ValueCase{"ab /* gone */ cd", "[ab  cd]"},
                    ValueCase{"ab // the rest", "[ab]"}, ValueCase{"ab /* gone */", "[ab]"},
                    ValueCase{"/* gone */ ab", "[ab]"}, ValueCase{"", ""}, ValueCase{"   ", ""},
                    ValueCase{" /* a */ // b", ""}, ValueCase{"a,", "[a],[]"}, ValueCase{", a", "[],[a]"},
                    ValueCase{"a,,b", "[a],[],[b]"}, ValueCase{"F()", "[F]([])"},
                    ValueCase{"F(a,)", "[F]([a],[])"}, ValueCase{"(a)", "[]([a])"}, ValueCase{"\"\"", "\"\""},
                    ValueCase{"\"a\" (b)", "\"a\"([b])"},
                    ValueCase{"F(G(x), \"y\"(z)) , H", "[F]([G]([x]),\"y\"([z])),[H]"},
                    ValueCase{"a/b, /c, d/", "[a/b],[/c],[d/]"},
                    ValueCase{"\"a\\\"b\\\\c\\nd\\te\"", "\"a\"b\\c\nd\te\""},
                    ValueCase{"x\\N\\T\\\"", "[x\n\t\"]"}, ValueCase{"a\\t ", "[a\t]"},
                    ValueCase{"\"// not /* a comment\"", "\"// not /* a comment\""},
                    ValueCase{"a ; b", "[a ; b]"}, ValueCase{"a) b, c", "[a]"}),
    platform::testing::NameFromText<&ValueCase::value>());

TEST(ValueTokenizerTest, UnescapedItemsShareTheValueText) {
    const Vemo::String text("Play, Loop");
    Vemo::BasicArray<Fragment> fragments;
    std::uint32_t position = 0;
    ASSERT_TRUE(Script::TokenizeValue(text, position, fragments, false));
    ASSERT_EQ(fragments.Size(), 2u);
    EXPECT_EQ(fragments[1].GetText().GetString().CStr(), text.CStr());
    EXPECT_EQ(fragments[1].GetText().Start(), 6u);
    EXPECT_EQ(fragments[1].GetText().Length(), 4u);
}

TEST(ValueTokenizerTest, AnUnbalancedParenthesisEndsTheValueWithThePositionOnIt) {
    const Vemo::String text("a, b) c");
    Vemo::BasicArray<Fragment> fragments;
    std::uint32_t position = 0;
    ASSERT_TRUE(Script::TokenizeValue(text, position, fragments, false));
    EXPECT_EQ(Describe(fragments), "[a],[b]");
    EXPECT_EQ(position, 4u);
}

TEST(ValueTokenizerTest, AppendKeepsWhatTheOutputHeld) {
    const Vemo::String first("a");
    const Vemo::String second("x, b, c");
    Vemo::BasicArray<Fragment> fragments;
    std::uint32_t position = 0;
    ASSERT_TRUE(Script::TokenizeValue(first, position, fragments, false));
    position = 3;
    ASSERT_TRUE(Script::TokenizeValue(second, position, fragments, true));
    EXPECT_EQ(Describe(fragments), "[a],[b],[c]");
    position = 0;
    ASSERT_TRUE(Script::TokenizeValue(first, position, fragments, false));
    EXPECT_EQ(Describe(fragments), "[a]");
}

struct FailureCase {
    const char* value;
    Reports reports;
};

class ValueErrorTest : public testing::TestWithParam<FailureCase> {};

TEST_P(ValueErrorTest, ReportsTheScriptErrors) {
    TestApplication application;
    const Vemo::String text(GetParam().value);
    Vemo::BasicArray<Fragment> fragments;
    std::uint32_t position = 0;
    EXPECT_FALSE(Script::TokenizeValue(text, position, fragments, false));
    EXPECT_EQ(application.TakeReports(), GetParam().reports);
}

constexpr Vemo::ErrorCode kSyntax = 0x0107000000030001;

INSTANTIATE_TEST_SUITE_P(
    Errors, ValueErrorTest,
    testing::Values(
        FailureCase{"a \"b\"", {{kSyntax, "2"}}}, FailureCase{"\\x", {{kSyntax, "1"}}},
        FailureCase{"\"a\\q\"", {{kSyntax, "3"}}}, FailureCase{"\"a\" b", {{kSyntax, "4"}}},
        FailureCase{"\"a\" // c", {{kSyntax, "4"}}}, FailureCase{"F(x) G", {{kSyntax, "5"}}},
        FailureCase{"F(x)(y)", {{kSyntax, "4"}}}, FailureCase{"F(", {{0x0107000000030002}}},
        FailureCase{"F(a", {{0x0107000000030003}}}, FailureCase{"F(a, G(b)", {{0x0107000000030003}}},
        FailureCase{"F(a // )", {{0x0107000000030003}}}, FailureCase{"a\\", {{0x0107000000030004}}},
        FailureCase{"\"abc", {{0x0107000000030005}}}, FailureCase{"\"ab\\", {{0x0107000000030004}}},
        FailureCase{"a /* b", {{0x0107000000030006, "2"}}}, FailureCase{"a /*/", {{0x0107000000030006, "2"}}},
        FailureCase{"F(G(", {{0x0107000000030002}, {0x0107000000030007}}},
        FailureCase{"F(G(x\"y\"))", {{kSyntax, "5"}, {0x0107000000030007}, {0x0107000000030007}}}),
    platform::testing::NameFromText<&FailureCase::value>());

TEST(ValueTokenizerTest, ListsNestedTooDeeplyFailAtTheirParenthesis) {
    std::string value;
    for (unsigned i = 0; i < 300; ++i) {
        value += "a(";
    }
    value += "b";
    ValueTokenizer tokenizer(Bytes(value));
    Vemo::BasicArray<Fragment> fragments;
    std::uint32_t position = 0;
    EXPECT_FALSE(tokenizer.Tokenize(position, fragments));
    const auto& failures = tokenizer.GetFailures();
    ASSERT_EQ(failures.size(), ValueTokenizer::kMaxNesting);
    EXPECT_EQ(failures[0].code, Script::kErrorSyntax);
    EXPECT_EQ(failures[0].position, 2 * (ValueTokenizer::kMaxNesting - 1) + 1);
    EXPECT_EQ(failures[1].code, Script::kErrorNestedList);

    value.clear();
    for (unsigned i = 0; i + 1 < ValueTokenizer::kMaxNesting; ++i) {
        value += "a(";
    }
    value += "b" + std::string(ValueTokenizer::kMaxNesting - 1, ')');
    ValueTokenizer deepest(Bytes(value));
    position = 0;
    EXPECT_TRUE(deepest.Tokenize(position, fragments));
}

TEST(ValueTokenizerTest, FailuresAreSilentWithoutAnErrorSystem) {
    TestApplication application(TestApplication::ErrorSetup::kNone);
    Vemo::BasicArray<Fragment> fragments;
    EXPECT_FALSE(Script::TokenizeText(fragments, "F(", 2));
}

TEST(ValueTokenizerTest, ATrailByteIsNeverTakenForSyntax) {
    const win32::testing::ScopedCodePage japanese(932);
    // 0x81 leads a double-byte character, so the comma, quote and backslash after it are its trail bytes.
    EXPECT_EQ(Tokenize("\x81,b"), "[\x81,b]");
    EXPECT_EQ(Tokenize("\"\x81\\\""), "\"\x81\\\"");
    EXPECT_EQ(Tokenize("F(\x81)x)"), "[F]([\x81)x])");
}

TEST(ValueTokenizerTest, ALeadByteInTheLastPositionStandsAlone) {
    const win32::testing::ScopedCodePage japanese(932);
    TestApplication application;
    const Vemo::String text = Bytes("a, b\x81");
    Vemo::BasicArray<Fragment> fragments;
    std::uint32_t position = 0;
    ASSERT_TRUE(Script::TokenizeValue(text, position, fragments, false));
    ASSERT_EQ(fragments.Size(), 2u);
    EXPECT_EQ(ScriptTest::Text(fragments[1].GetText()), "b\x81");
    EXPECT_EQ(position, text.Length());

    EXPECT_FALSE(Script::TokenizeText(fragments, "\"\x81\"", 3));
    EXPECT_EQ(application.TakeReports(), (Reports{{0x0107000000030005}}));
}

} // namespace
