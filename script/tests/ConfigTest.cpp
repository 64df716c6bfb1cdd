#include "script/Config.h"

#include "platform/testing/CaseNames.h"
#include "platform/testing/CodePage.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ScriptTest::Contents;
using ScriptTest::Text;

bool Load(Config& config, const std::string& text) {
    return config.LoadBuffer(text.data(), text.size());
}

std::string Saved(const Config& config, bool complete = true) {
    Vemo::String text;
    EXPECT_EQ(config.SaveBuffer(text), complete);
    return Text(text);
}

struct FileCase {
    const char* file;
    const char* contents;
};

class ConfigFileTest : public testing::TestWithParam<FileCase> {};

TEST_P(ConfigFileTest, LoadsTheSectionsAndKeys) {
    Config config;
    EXPECT_TRUE(Load(config, GetParam().file));
    EXPECT_EQ(Contents(config), GetParam().contents);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConfigFileTest,
    testing::Values(
        FileCase{"", "[]"},
        FileCase{"; comment\r\nVolume = 80\r\n[User]\r\nName=Kim   // x",
                 "[] Volume=80 | [User] Name=Kim   // x"},
        FileCase{"; only\r\n\r\n// comments\r\n/* and\r\nblanks */\r\n  \r\n", "[]"},
        FileCase{"[A]\nK=1\n[Broken\nL=2\n", "[] | [A] K=1 L=2"},
        FileCase{"[A]\nK=1\n[Broken", "[] | [A] K=1"},
        FileCase{"[ User ]\nA=1\n[Other]\nB=2\n[USER]\nC=3", "[] | [User] A=1 C=3 | [Other] B=2"},
        FileCase{"Top=1\n[A]\nX=1\n[]\nMore=2", "[] Top=1 More=2 | [A] X=1"},
        FileCase{"K=v ; comment\nL=w // other", "[] K=v ; comment L=w // other"},
        FileCase{"Empty=\nAlone\n", "[] Empty= Alone="}, FileCase{"K= ; comment\nOther=1\n", "[] K=Other=1"},
        FileCase{"K=;c\n\n// d\n[User]\nX=1", "[] K=[User] X=1"}, FileCase{"K = /* c */ v", "[] K=v"},
        FileCase{"/* c */ K=1\n", "[] K=1"}, FileCase{"A=1\na=2\nb=3\nA", "[] A=2 b=3"},
        FileCase{"REM a comment\nREMARK=1\nK=1\nREM ", "[] REMARK=1 K=1"}, FileCase{"=no key\nK=1", "[] K=1"},
        FileCase{"K=1\n/* never closed\nL=2", "[] K=1"}, FileCase{"K=/* never closed", "[] K="},
        FileCase{"[ /* c */ Name ] rest\nK=1", "[] | [Name] K=1"},
        FileCase{"\"Quoted\" = \"kept\"", "[] \"Quoted\"=\"kept\""}),
    platform::testing::NameFromText<&FileCase::file>());

TEST(ConfigTest, SaveWritesTheExampleFile) {
    Config config;
    ASSERT_TRUE(Load(config, "; comment\r\nVolume = 80\r\n[User]\r\nName=Kim   // x"));
    EXPECT_EQ(Saved(config), "Volume=80\r\n\r\n[User]\r\nName=Kim   // x\r\n\r\n");

    ASSERT_TRUE(Load(config, "; only comments\r\n"));
    EXPECT_EQ(Saved(config), "\r\n");
}

TEST(ConfigTest, ValuesAreSetFoundAndRemovedWithoutRegardToCase) {
    Config config;
    EXPECT_TRUE(config.SetValue("User", "Name", "Kim"));
    EXPECT_TRUE(config.SetValue("USER", "name", "Lee"));
    EXPECT_TRUE(config.SetValue("", "Top", "1"));
    EXPECT_FALSE(config.SetValue("User", "", "x"));
    EXPECT_EQ(Contents(config), "[User] Name=Lee | [] Top=1");

    Vemo::String value("stale");
    EXPECT_TRUE(config.GetValue("user", "NAME", value));
    EXPECT_EQ(Text(value), "Lee");
    EXPECT_FALSE(config.GetValue("User", "Missing", value));
    EXPECT_EQ(Text(value), "");
    EXPECT_EQ(config.GetKeyCount("user"), 1u);
    EXPECT_EQ(config.GetKeyCount("Missing"), 0u);

    EXPECT_TRUE(config.RemoveKey("User", "NAME"));
    EXPECT_FALSE(config.RemoveKey("User", "Name"));
    EXPECT_TRUE(config.RemoveSection("user"));
    EXPECT_FALSE(config.RemoveSection("User"));
    EXPECT_EQ(Contents(config), "[] Top=1");
}

// The records of removed keys and sections are reused by the next ones made; what is added still goes to the
// end of its list, and what stayed keeps its place and value.
TEST(ConfigTest, WhatIsAddedAfterRemovalsGoesToTheEndOfItsList) {
    Config config;
    for (const char* name : {"A", "B", "C"}) {
        ASSERT_TRUE(config.SetValue("S", name, name));
    }
    ASSERT_TRUE(config.SetValue("T", "X", "x"));
    EXPECT_TRUE(config.RemoveKey("S", "A"));
    EXPECT_TRUE(config.RemoveKey("S", "B"));
    EXPECT_TRUE(config.RemoveSection("T"));

    ASSERT_TRUE(config.SetValue("S", "D", "d"));
    ASSERT_TRUE(config.SetValue("S", "B", "b"));
    ASSERT_TRUE(config.SetValue("U", "Y", "y"));
    EXPECT_EQ(Contents(config), "[S] C=C D=d B=b | [U] Y=y");
    Vemo::String value;
    EXPECT_TRUE(config.GetValue("s", "c", value));
    EXPECT_EQ(Text(value), "C");
    EXPECT_FALSE(config.GetValue("T", "X", value));
}

class Names : public Config::SectionEnumerator, public Config::KeyEnumerator {
public:
    bool EnumerateSection(const Vemo::String& name) override {
        m_seen.push_back(Text(name));
        return true;
    }
    bool EnumerateKey(const Vemo::String& name, const Vemo::String& value) override {
        m_seen.push_back(Text(name) + "=" + Text(value));
        return m_seen.size() < 2;
    }

    std::vector<std::string> m_seen;
};

TEST(ConfigTest, EnumerationsWalkInListOrder) {
    Config config;
    ASSERT_TRUE(Load(config, "[B]\nY=1\nX=2\nZ=3\n[A]\n"));
    Names sections;
    EXPECT_TRUE(config.EnumerateSections(sections));
    EXPECT_EQ(sections.m_seen, (std::vector<std::string>{"", "B", "A"}));
    Names keys;
    EXPECT_TRUE(config.EnumerateKeys("b", keys));
    EXPECT_EQ(keys.m_seen, (std::vector<std::string>{"Y=1", "X=2"}));
    EXPECT_FALSE(config.EnumerateKeys("Missing", keys));
}

TEST(ConfigTest, EdgeWhitespaceIsSavedInQuotesAndLoadsBackWithThem) {
    Config config;
    ASSERT_TRUE(config.SetValue("User", "Name", " Kim"));
    ASSERT_TRUE(config.SetValue("User", "Tab\t", "x"));
    const std::string text = Saved(config);
    EXPECT_EQ(text, "[User]\r\nName=\" Kim\"\r\n\"Tab\t\"=x\r\n\r\n");
    Config loaded;
    ASSERT_TRUE(Load(loaded, text));
    EXPECT_EQ(Contents(loaded), "[] | [User] Name=\" Kim\" \"Tab\t\"=x");
}

TEST(ConfigTest, NamesAndValuesThatBeginWithACommentOpenerAreSavedInQuotes) {
    Config config;
    ASSERT_TRUE(config.SetValue("User", "Name", "Rem Koolhaas"));
    ASSERT_TRUE(config.SetValue("User", "Rem Koolhaas", "architect"));
    ASSERT_TRUE(config.SetValue("User", "Motto", "/* less is more"));
    ASSERT_TRUE(config.SetValue("User", "Url", "//host"));
    ASSERT_TRUE(config.SetValue("User", ";Semi", "; colon"));
    ASSERT_TRUE(config.SetValue("User", "[Bracket", "1"));
    ASSERT_TRUE(config.SetValue("Later", "Kept", "yes"));
    const std::string text = Saved(config);
    EXPECT_EQ(text,
              "[User]\r\nName=\"Rem Koolhaas\"\r\n\"Rem Koolhaas\"=architect\r\nMotto=\"/* less is more\"\r\n"
              "Url=\"//host\"\r\n\";Semi\"=\"; colon\"\r\n\"[Bracket\"=1\r\n\r\n[Later]\r\nKept=yes\r\n\r\n");
    Config loaded;
    ASSERT_TRUE(Load(loaded, text));
    EXPECT_EQ(Contents(loaded),
              "[] | [User] Name=\"Rem Koolhaas\" \"Rem Koolhaas\"=architect "
              "Motto=\"/* less is more\" Url=\"//host\" \";Semi\"=\"; colon\" \"[Bracket\"=1 | "
              "[Later] Kept=yes");
}

TEST(ConfigTest, SaveNeverWritesALineBreakAndReportsWhatItLeftOut) {
    Config config;
    ASSERT_TRUE(config.SetValue("User", "Name", "Kim\n[Admin]\nRights=all"));
    ASSERT_TRUE(config.SetValue("User", "Split\r\nKey", "1"));
    ASSERT_TRUE(config.SetValue("User", "a=b", "1"));
    ASSERT_TRUE(config.SetValue("User", "Volume", "80"));
    ASSERT_TRUE(config.SetValue("Bad\nSection", "K", "1"));
    ASSERT_TRUE(config.SetValue("Bad]Section", "K", "1"));
    EXPECT_EQ(Saved(config, false), "[User]\r\nVolume=80\r\n\r\n");
}

TEST(ConfigTest, TheEmptyNamedSectionIsSavedFirst) {
    Config config;
    ASSERT_TRUE(Load(config, ""));
    EXPECT_EQ(Saved(config), "\r\n");
    config.Clear();
    ASSERT_TRUE(config.SetValue("Settings", "Volume", "80"));
    ASSERT_TRUE(config.SetValue("", "Top", "1"));
    const std::string text = Saved(config);
    EXPECT_EQ(text, "Top=1\r\n\r\n[Settings]\r\nVolume=80\r\n\r\n");
    Config loaded;
    ASSERT_TRUE(Load(loaded, text));
    Vemo::String value;
    EXPECT_TRUE(loaded.GetValue("", "Top", value));
    EXPECT_FALSE(loaded.GetValue("Settings", "Top", value));
}

TEST(ConfigTest, ATrailByteIsNeverTakenForSyntax) {
    const win32::testing::ScopedCodePage japanese(932);
    Config config;
    // 0x81 leads a double-byte character: the "]", "=" and line feed after it are its trail bytes.
    ASSERT_TRUE(Load(config, "[\x81]\nA\x81=B=1\nK=a\x81\nL=2"));
    EXPECT_EQ(Contents(config), "[] A\x81=B=1 K=a\x81\nL=2");
}

TEST(ConfigTest, ALeadByteInTheLastPositionStandsAlone) {
    const win32::testing::ScopedCodePage japanese(932);
    Config config;
    const std::string file = "[S]\nK=v\x81";
    ASSERT_TRUE(config.LoadBuffer(file.data(), file.size()));
    Vemo::String value;
    ASSERT_TRUE(config.GetValue("S", "K", value));
    EXPECT_EQ(Text(value), "v\x81");

    const std::string name = "[S]\nName\x81";
    ASSERT_TRUE(config.LoadBuffer(name.data(), name.size()));
    EXPECT_EQ(Contents(config), "[] | [S] Name\x81=");
}

} // namespace
