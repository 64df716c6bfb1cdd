#include "controls/RegistryControl.h"

#include "controls/tests/TitleControlTestSupport.h"
#include "platform/win32/registry/Registry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using TitleControlTest::Log;

constexpr const char* kEditionKey = "Software\\Vemo Company\\Edition";

class RegistryControlTest : public TitleControlTest::Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        ASSERT_TRUE(m_registry.SetStrings(win32::HKEY_CURRENT_USER, kEditionKey,
                                          {{"Version", "Deluxe-2"}, {"Empty", ""}}));
        ASSERT_TRUE(m_registry.SetStrings(win32::HKEY_CLASSES_ROOT, kEditionKey, {{"Version", "Classic"}}));
    }

    void StartWith(const std::string& keys) {
        ASSERT_TRUE(Start("Edition", "[Edition]\nClass=RegistryControl\n" + keys));
        ASSERT_NE(Find<RegistryControl>("Edition"), nullptr);
        Listen("Edition");
    }
};

struct CompareCase {
    const char* examine;
    const char* answer; // empty: no answer
};

TEST_F(RegistryControlTest, TheTextIsComparedWithTheStartOfTheValueWithoutRegardToCase) {
    StartWith("Root=HKEY_CURRENT_USER\nPath=Software\\Vemo Company\\Edition\n");
    EXPECT_TRUE(Find("Edition")->IsTransparent());
    EXPECT_EQ(std::string(Find<RegistryControl>("Edition")->GetPath().CStr()), kEditionKey);
    for (const CompareCase& c :
         {CompareCase{"Examine(Version, Deluxe-2)", "equal.Deluxe-2"},
          CompareCase{"Examine(version, DELUXE-2)", "equal.DELUXE-2"},
          CompareCase{"Examine(Version, deluxe)", "equal.deluxe"},
          CompareCase{"Examine(Version, \"\")", "equal."},
          CompareCase{"Examine(Version, Deluxe-3)", "differ.Deluxe-3"},
          CompareCase{"Examine(Version, Deluxe-2-Gold)", "differ.Deluxe-2-Gold"},
          CompareCase{"Examine(Empty, x)", "differ.x"}, CompareCase{"Examine(Missing, Deluxe-2)", ""}}) {
        EXPECT_TRUE(Send("Edition", c.examine)) << c.examine;
        EXPECT_EQ(Heard(), *c.answer != 0 ? Log{c.answer} : Log{}) << c.examine;
    }
}

TEST_F(RegistryControlTest, OnlyTheExactRootNamesCountAndAnyOtherIsTheClassesRoot) {
    StartWith("Root=hkey_current_user\nPath=Software\\Vemo Company\\Edition\n");
    EXPECT_TRUE(Send("Edition", "Examine(Version, classic)"));
    EXPECT_EQ(Heard(), Log{"equal.classic"});
    EXPECT_TRUE(Send("Edition", "Root(HKEY_CURRENT_USER), Examine(Version, classic)"));
    EXPECT_EQ(Heard(), Log{"differ.classic"});
    EXPECT_TRUE(Send("Edition", "Root(HKEY_LOCAL_MACHINE), Examine(Version, classic)"));
    EXPECT_EQ(Heard(), Log{}) << "the key is not there";
}

TEST_F(RegistryControlTest, AValueIsReadOnlyWithinItsSizeAndNotBeyondTheBuffer) {
    std::vector<win32::BYTE> unterminated = {'A', 'B', 'C'};
    std::vector<win32::BYTE> tooLong(RegistryControl::kValueBufferSize + 1, 'x');
    ASSERT_EQ(win32::WriteRegistryValues(
                  win32::HKEY_CURRENT_USER, kEditionKey,
                  {{"Bytes", win32::REG_BINARY, unterminated}, {"Long", win32::REG_SZ, tooLong}}),
              0);
    StartWith("Root=HKEY_CURRENT_USER\nPath=Software\\Vemo Company\\Edition\n");
    EXPECT_TRUE(Send("Edition", "Examine(Bytes, abc), Examine(Bytes, abcd), Examine(Long, x)"));
    EXPECT_EQ(Heard(), (Log{"equal.abc", "differ.abcd"}));
}

TEST_F(RegistryControlTest, WithoutAPathTheRootItselfIsRead) {
    ASSERT_TRUE(m_registry.SetStrings(win32::HKEY_USERS, "", {{"Marker", "users"}}));
    StartWith("Root=HKEY_USERS\n");
    EXPECT_TRUE(Send("Edition", "Examine(Marker, USERS)"));
    EXPECT_EQ(Heard(), Log{"equal.USERS"});
}

// The compared text is the title's own; whatever it holds, the subscribers get one message with exactly that
// text after the verdict, never messages of its making.
TEST_F(RegistryControlTest, TheAnswerIsOneMessageWhateverTheComparedTextHolds) {
    ASSERT_TRUE(m_registry.SetStrings(win32::HKEY_CURRENT_USER, kEditionKey, {{"Ver", "6.0"}}));
    StartWith("Root=HKEY_CURRENT_USER\nPath=Software\\Vemo Company\\Edition\n");
    std::vector<std::string> texts;
    m_listener->m_onWord = [&](MessengerTest::Recorder&, const std::string& word) { texts.push_back(word); };
    struct Case {
        const char* examine;
        const char* text; // of the one message
    };
    for (const Case& c :
         {Case{"Examine(Ver, 6.0)", "equal.6.0"},
          Case{"Examine(Ver, \"6.0,SetUserSetting(Inj(A), yes)\")", "differ.6.0,SetUserSetting(Inj(A), yes)"},
          Case{"Examine(Ver, \"6\")", "equal.6"},
          Case{"Examine(Ver, \"6 \\\"a\\\\b\\\" //c \")", "differ.6 \"a\\b\" //c "}}) {
        texts.clear();
        EXPECT_TRUE(Send("Edition", c.examine)) << c.examine;
        EXPECT_EQ(texts, std::vector<std::string>{c.text}) << c.examine;
        EXPECT_EQ(Heard().size(), 1u) << c.examine;
    }
    EXPECT_TRUE(Send("Edition", "Examine(Ver, 6.0)"));
    EXPECT_EQ(Heard(), Log{"equal.6.0"}) << "a plain text gives the message as it always was";
}

} // namespace
