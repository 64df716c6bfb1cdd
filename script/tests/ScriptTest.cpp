#include "script/Script.h"

#include "platform/testing/CaseNames.h"
#include "resources/testing/TestResourceFamily.h"
#include "script/ScriptKeyFragmentStreamEnumerator.h"
#include "script/ScriptKeyFragmentsEnumerator.h"
#include "script/ScriptKeyStringEnumerator.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ScriptTest::Contents;
using ScriptTest::Describe;
using ScriptTest::Text;
using VemoTest::Reports;
using VemoTest::TestApplication;

bool Load(Script& script, const std::string& text, bool parseNow = false) {
    return script.LoadBuffer(text.data(), text.size(), parseNow);
}

std::string Value(const Script& script, const char* section, const char* key) {
    Vemo::String text;
    return script.GetValueText(section, key, text) ? Text(text) : "<missing>";
}

const Script::Key* FirstKeyOfLastSection(const Script& script) {
    const Script::Section* last = nullptr;
    for (const Script::Section* section : script.GetSections()) {
        last = section;
    }
    return *last->GetKeys().Begin();
}

struct FileCase {
    const char* file;
    const char* contents;
};

class ScriptFileTest : public testing::TestWithParam<FileCase> {};

TEST_P(ScriptFileTest, LoadsTheSectionsAndKeys) {
    Script script;
    EXPECT_TRUE(Load(script, GetParam().file));
    EXPECT_EQ(Contents(script), GetParam().contents);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ScriptFileTest,
    testing::Values(
        FileCase{"", "[]"},
        FileCase{"Top=1\r\n[Intro]\r\nA = 1\r\n[Other]\r\nX=2\r\n[INTRO]\r\nB=2\r\n",
                 "[] Top=1 | [Intro] A=1 B=2 | [Other] X=2"},
        FileCase{"[S]\nK=1\nk=2\nK = 3", "[] | [S] K=1 k=2 K=3"},
        FileCase{"Alone\nEmpty=\n  Spaced  Name  =  spaced  value  \n",
                 "[] Alone= Empty= Spaced  Name=spaced  value"},
        FileCase{"; a\n// b\nREM c\nrem d\nREMARK=1\nRem=2\n", "[] REMARK=1 Rem=2"},
        FileCase{"K=1\nREM ", "[] K=1 REM="},
        FileCase{"K = ; only a comment\nL = a ; b\nM = // c\nN = REM x\n", "[] K= L=a ; b M= N="},
        FileCase{"K = /* c */ v /* kept */\nL = /* across\nlines */ w\n", "[] K=v /* kept */ L=w"},
        FileCase{"/* block\n[Hidden]\n*/ K=1\n", "[] K=1"}, FileCase{"K=1\n/* never closed\nL=2\n", "[] K=1"},
        FileCase{"[ /* c */ Name \t] rest\nK=1", "[] | [Name] K=1"},
        FileCase{"[A]\n[Broken\nK=1\n[Unfinished", "[] | [A] K=1"},
        FileCase{"[A]\nX=1\n[]\nK=1", "[] K=1 | [A] X=1"}, FileCase{"=no key\n = also none\nK=1", "[] K=1"},
        FileCase{"Name ; not a comment = 1", "[] Name ; not a comment=1"},
        FileCase{"\tK\t=\tv\t\r\n", "[] K=v"}),
    platform::testing::NameFromText<&FileCase::file>());

TEST(ScriptTest, RepeatedKeysAreAllKeptAndLookupsTakeTheFirst) {
    TestApplication application;
    Script script;
    ASSERT_TRUE(Load(script, "[S]\nState = A(1)\nOther = x\nSTATE = B(2)\nstate = C(3)\n"));
    EXPECT_EQ(script.GetKeyCount("s"), 4u);
    EXPECT_EQ(Value(script, "S", "state"), "A(1)");

    ScriptKeyStringEnumerator texts;
    ASSERT_TRUE(script.EnumerateKey("S", "State", texts));
    ASSERT_EQ(texts.GetTexts().Size(), 3u);
    EXPECT_EQ(Text(texts.GetTexts()[2]), "C(3)");

    ScriptKeyFragmentsEnumerator values;
    ASSERT_TRUE(script.EnumerateKey("S", "State", values));
    ASSERT_EQ(values.GetValues().Size(), 3u);
    EXPECT_EQ(Describe(values.GetValues()[1]), "[B]([2])");

    ScriptKeyFragmentStreamEnumerator streams;
    ASSERT_TRUE(script.EnumerateKey("S", "state", streams));
    ASSERT_EQ(streams.GetStreams().Size(), 3u);
    const Fragment* call = nullptr;
    streams.GetStreams()[2] >> call;
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(Text(call->GetText()), "C");

    ASSERT_TRUE(script.RemoveKey("S", "STATE"));
    EXPECT_EQ(Value(script, "S", "State"), "B(2)");
    EXPECT_EQ(Contents(script), "[] | [S] Other=x STATE=B(2) state=C(3)");
    EXPECT_EQ(application.TakeReports(), Reports{});
}

TEST(ScriptTest, ValuesAreParsedOnFirstUse) {
    TestApplication application;
    Script script;
    ASSERT_TRUE(Load(script, "[S]\nGood = Play(a), b\nBad = F(x) G\nBlank =\n"));
    const Script::Key* good = FirstKeyOfLastSection(script);
    EXPECT_TRUE(good->GetFragments().Empty());

    const Vemo::BasicArray<Fragment>* fragments = nullptr;
    ASSERT_TRUE(script.GetFragments("s", "GOOD", fragments));
    EXPECT_EQ(fragments, &good->GetFragments());
    EXPECT_EQ(Describe(*fragments), "[Play]([a]),[b]");

    ASSERT_TRUE(script.GetFragments("S", "Blank", fragments));
    EXPECT_TRUE(fragments->Empty());
    EXPECT_EQ(application.TakeReports(), Reports{});

    EXPECT_FALSE(script.GetFragments("S", "Bad", fragments));
    EXPECT_EQ(fragments, nullptr);
    EXPECT_EQ(application.TakeReports(),
              (Reports{{Script::kErrorSyntax, "5"}, {Script::kErrorKeyNotParsed, "\"\",\"S\",\"Bad\""}}));
    EXPECT_FALSE(script.GetFragments("S", "Missing", fragments));
    EXPECT_FALSE(script.GetFragments("Missing", "Good", fragments));
    EXPECT_EQ(application.TakeReports(), Reports{});
}

TEST(ScriptTest, ImmediateParsingFailsTheLoadAtTheFirstBadValue) {
    TestApplication application;
    Script script;
    ASSERT_TRUE(Load(script, "[S]\nA = x(1)\n", true));
    EXPECT_EQ(Describe(FirstKeyOfLastSection(script)->GetFragments()), "[x]([1])");

    EXPECT_FALSE(Load(script, "[S]\nA = 1\nB = \"open\nC = 3\n", true));
    EXPECT_EQ(Contents(script), "[] | [S] A=1 B=\"open");
    EXPECT_EQ(application.TakeReports(),
              (Reports{{Script::kErrorUnclosedQuote}, {Script::kErrorKeyNotParsed, "\"\",\"S\",\"B\""}}));
}

class Collector : public Script::KeyEnumerator {
public:
    explicit Collector(std::size_t stopAfter = 100) : m_stopAfter(stopAfter) {}

    bool EnumerateKey(Script::Key& key, const Vemo::String&,
                      const Vemo::BasicArray<Fragment>& fragments) override {
        m_seen.push_back(Text(key.GetName()) + ":" + Describe(fragments));
        return m_seen.size() < m_stopAfter;
    }

    std::vector<std::string> m_seen;

private:
    std::size_t m_stopAfter;
};

TEST(ScriptTest, SectionEnumerationHandsEveryKeyParsedInFileOrder) {
    TestApplication application;
    Script script;
    ASSERT_TRUE(Load(script, "[S]\nB = 2\nA = x(y)\nEmpty\nB = 3\n"));
    Collector all;
    EXPECT_TRUE(script.EnumerateSection("s", all));
    EXPECT_EQ(all.m_seen, (std::vector<std::string>{"B:[2]", "A:[x]([y])", "Empty:", "B:[3]"}));

    Collector first(1);
    EXPECT_TRUE(script.EnumerateSection("S", first));
    EXPECT_EQ(first.m_seen.size(), 1u);

    Collector none;
    EXPECT_FALSE(script.EnumerateSection("Missing", none));
    EXPECT_FALSE(script.EnumerateKey("Missing", "B", none));
    EXPECT_TRUE(script.EnumerateKey("S", "Missing", none));
    EXPECT_TRUE(none.m_seen.empty());
    EXPECT_EQ(application.TakeReports(), Reports{});
}

TEST(ScriptTest, AKeyThatFailsDuringAnEnumerationEndsItWithError8) {
    TestApplication application;
    Script script;
    ASSERT_TRUE(Load(script, "[S]\nA = 1\nB = F(\nC = 3\n"));
    Collector seen;
    EXPECT_FALSE(script.EnumerateSection("S", seen));
    EXPECT_EQ(seen.m_seen, std::vector<std::string>{"A:[1]"});
    // A script read from bytes has no file to name.
    const Reports failed{{Script::kErrorParenthesisAtEnd},
                         {Script::kErrorKeyNotParsed, "\"\",\"S\",\"B\""},
                         {Script::kErrorKeyParse}};
    EXPECT_EQ(application.TakeReports(), failed);

    Collector key;
    EXPECT_FALSE(script.EnumerateKey("S", "B", key));
    EXPECT_EQ(application.TakeReports(), failed);
}

class SectionNames : public Script::SectionEnumerator {
public:
    bool EnumerateSection(Script::Section& section) override {
        m_names.push_back(Text(section.GetName()));
        return m_names.size() < 2;
    }

    std::vector<std::string> m_names;
};

TEST(ScriptTest, SectionsAreEnumeratedInFileOrder) {
    Script script;
    ASSERT_TRUE(Load(script, "[B]\n[A]\n[C]\n"));
    SectionNames names;
    EXPECT_TRUE(script.EnumerateSections(names));
    EXPECT_EQ(names.m_names, (std::vector<std::string>{"", "B"}));
}

TEST(ScriptTest, SettingValuesCreatesWhatIsMissingAndReplacesTheFirstOccurrence) {
    TestApplication application;
    Script script;
    ASSERT_TRUE(Load(script, "[S]\nK = old(1)\nK = second\n"));
    const Vemo::BasicArray<Fragment>* fragments = nullptr;
    ASSERT_TRUE(script.GetFragments("S", "K", fragments));

    ASSERT_TRUE(script.SetValueText("s", "k", "new(2)"));
    ASSERT_TRUE(script.GetFragments("S", "K", fragments));
    EXPECT_EQ(Describe(*fragments), "[new]([2])");
    EXPECT_TRUE(script.SetValueText("T", "Added", "v"));
    EXPECT_FALSE(script.SetValueText("T", "", "v"));

    Vemo::BasicArray<Fragment> value;
    const std::string said = "Say(\"a, b\"), \" x\"";
    ASSERT_TRUE(Script::TokenizeText(value, said.data(), static_cast<std::uint32_t>(said.size())));
    ASSERT_TRUE(script.SetFragments("T", "Said", value));
    EXPECT_EQ(Value(script, "T", "Said"), "Say(\"a, b\"),\" x\"");
    ASSERT_TRUE(script.GetFragments("T", "Said", fragments));
    EXPECT_EQ(Describe(*fragments), "[Say](\"a, b\"),\" x\"");

    EXPECT_EQ(Contents(script), "[] | [S] K=new(2) K=second | [T] Added=v Said=Say(\"a, b\"),\" x\"");
    EXPECT_EQ(script.GetKeyCount("T"), 2u);
    EXPECT_EQ(script.GetKeyCount("Missing"), 0u);

    EXPECT_TRUE(script.RemoveSection("s"));
    EXPECT_FALSE(script.RemoveSection("S"));
    EXPECT_FALSE(script.RemoveKey("T", "Missing"));
    EXPECT_EQ(Contents(script), "[] | [T] Added=v Said=Say(\"a, b\"),\" x\"");
    script.Clear();
    EXPECT_EQ(Contents(script), "");
    EXPECT_EQ(application.TakeReports(), Reports{});
}

TEST(ScriptTest, TheReferenceCountNeverGoesBelowZero) {
    Script script;
    script.AddRef();
    script.AddRef();
    script.Release();
    EXPECT_EQ(script.GetRefCount(), 1u);
    script.Release();
    script.Release();
    EXPECT_EQ(script.GetRefCount(), 0u);
}

std::string Saved(const Script& script, bool complete = true) {
    Vemo::String text;
    EXPECT_EQ(script.SaveBuffer(text), complete);
    return Text(text);
}

TEST(ScriptTest, SaveWritesEverySectionAndKeyAndLoadsBack) {
    Script script;
    ASSERT_TRUE(Load(script, "Top = 1\n[Intro]\nPlay = Movie(\"a b\")\nPlay = again\n\n[Empty]\n"));
    const std::string text = Saved(script);
    EXPECT_EQ(text, "Top=1\r\n\r\n"
                    "[Intro]\r\nPlay=Movie(\"a b\")\r\nPlay=again\r\n\r\n"
                    "[Empty]\r\n\r\n");
    Script loaded;
    ASSERT_TRUE(Load(loaded, text));
    EXPECT_EQ(Contents(loaded), Contents(script));
}

TEST(ScriptTest, SaveQuotesNamesAndValuesThatWouldNotLoadBack) {
    Script script;
    ASSERT_TRUE(script.SetValueText("", " edge", "value "));
    ASSERT_TRUE(script.SetValueText("", "User", "Rem Koolhaas"));
    ASSERT_TRUE(script.SetValueText("", "Rem Koolhaas", "architect"));
    ASSERT_TRUE(script.SetValueText("", "Note", "; not a comment"));
    ASSERT_TRUE(script.SetValueText("", "Path", "//server/share"));
    ASSERT_TRUE(script.SetValueText("", "[Key", "/* open"));
    ASSERT_TRUE(script.SetValueText("/*S", "After", "1"));
    const std::string text = Saved(script);
    EXPECT_EQ(text, "\" edge\"=\"value \"\r\n"
                    "User=\"Rem Koolhaas\"\r\n"
                    "\"Rem Koolhaas\"=architect\r\n"
                    "Note=\"; not a comment\"\r\n"
                    "Path=\"//server/share\"\r\n"
                    "\"[Key\"=\"/* open\"\r\n\r\n"
                    "[\"/*S\"]\r\nAfter=1\r\n\r\n");
    Script loaded;
    ASSERT_TRUE(Load(loaded, text));
    EXPECT_EQ(Contents(loaded), "[] \" edge\"=\"value \" User=\"Rem Koolhaas\" \"Rem Koolhaas\"=architect "
                                "Note=\"; not a comment\" Path=\"//server/share\" \"[Key\"=\"/* open\" | "
                                "[\"/*S\"] After=1");
}

TEST(ScriptTest, SaveLeavesOutWhatWouldWriteALineBreakAndSaysSo) {
    Script script;
    ASSERT_TRUE(script.SetValueText("S", "Good", "1"));
    ASSERT_TRUE(script.SetValueText("S", "Text", "line\nInjected=1"));
    ASSERT_TRUE(script.SetValueText("S", "Name\r", "x"));
    ASSERT_TRUE(script.SetValueText("S", "a=b", "x"));
    ASSERT_TRUE(script.SetValueText("S", "Last", "2"));
    ASSERT_TRUE(script.SetValueText("Bad\n[Section", "K", "v"));
    ASSERT_TRUE(script.SetValueText("Bad]", "K", "v"));
    ASSERT_TRUE(script.SetValueText("T", "K", "v"));
    EXPECT_EQ(Saved(script, false), "[S]\r\nGood=1\r\nLast=2\r\n\r\n[T]\r\nK=v\r\n\r\n");
}

TEST(ScriptTest, SaveWritesTheEmptyNamedSectionFirst) {
    Script script;
    ASSERT_TRUE(script.SetValueText("Later", "A", "1"));
    ASSERT_TRUE(script.SetValueText("", "Top", "2"));
    const std::string text = Saved(script);
    EXPECT_EQ(text, "Top=2\r\n\r\n[Later]\r\nA=1\r\n\r\n");
    Script loaded;
    ASSERT_TRUE(Load(loaded, text));
    EXPECT_EQ(Value(loaded, "", "Top"), "2");
    EXPECT_EQ(Value(loaded, "Later", "Top"), "<missing>");
}

} // namespace
