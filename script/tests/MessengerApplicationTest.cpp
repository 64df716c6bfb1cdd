#include "script/MessengerApplication.h"

#include "platform/testing/FileFaultTesting.h"
#include "platform/win32/kernel/CommandLine.h"
#include "resources/testing/StorageTestSupport.h"
#include "script/WinMain.h"
#include "script/tests/ApplicationTestSupport.h"
#include "script/tests/ScriptedApplicationTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <ostream>
#include <string>

namespace {

using ScriptedTest::Log;
using ScriptedTest::S;
using ScriptedTest::ScriptedApplication;
using ScriptedTest::TakeTrace;
using VemoTest::Reported;
using VemoTest::Reports;

const char* const kGameScript = "[Game]\n"
                                "Class=StateGraph\n"
                                "StartState=Intro\n"
                                "State=Menu\n"
                                "EndState=Done\n"
                                "Action=Intro, 1, Menu\n"
                                "Action=Menu, 2, Done\n"
                                "[Intro]\n"
                                "Class=TestActionState\n"
                                "UpdateAction=Progress(1)\n"
                                "[Menu]\n"
                                "Class=TestActionState\n"
                                "OpenAction=SetVar(Game(Level), 3), SetVar(Game(Volume), $Volume(Audio))\n"
                                "UpdateAction=Progress(2)\n"
                                "[Done]\n"
                                "Class=TestActionState\n"
                                "OpenAction=Terminate\n";

class MessengerApplicationTest : public VemoTest::Win32DrivesTest {
protected:
    MessengerApplicationTest() { std::filesystem::create_directories(Host('C', "settings")); }

    void SetUp() override {
        ApplicationTest::DrainMessages();
        Vemo::Win32Application::SetProcessValues(ApplicationTest::TestInstance(), nullptr, win32::SW_SHOW);
    }
    void TearDown() override {
        ApplicationTest::DrainMessages();
        Vemo::Win32Application::SetProcessValues(nullptr, nullptr, win32::SW_SHOW);
    }

    std::string UserIni() const { return Host('C', "settings/User.ini"); }

    const Vemo::BasicArray<Vemo::String> m_noArguments{};
};

TEST_F(MessengerApplicationTest, TheApplicationIsTheInstanceUntilItIsGone) {
    {
        ScriptedApplication application;
        EXPECT_EQ(MessengerApplication::Instance, &application);
        EXPECT_STREQ(application.GetClassName().CStr(), "Application");
        EXPECT_STREQ(application.GetName().CStr(), "App");
        EXPECT_STREQ(application.Vemo::Application::GetName().CStr(), "App");
    }
    EXPECT_EQ(MessengerApplication::Instance, nullptr);
}

TEST_F(MessengerApplicationTest, AScriptedTitleRunsFromWinMainToItsExitCode) {
    ScriptedApplication application;
    application.AddScript("Main", kGameScript);
    application.UseStateGraph("Game", "Main");
    ASSERT_TRUE(application.m_shared.SetValue(S("Audio"), S("Volume"), S("80")));
    win32::seam::SetCommandLineText("quorven");
    char commandLine[] = "";
    EXPECT_EQ(WinMain(ApplicationTest::TestInstance(), nullptr, commandLine, win32::SW_SHOW), kExitSuccess);
    win32::seam::SetCommandLineText("");
    EXPECT_EQ(TakeTrace(), (Log{"enter Intro", "update Intro", "exit Intro", "enter Menu", "update Menu",
                                "exit Menu", "enter Done", "update Done", "exit Done"}));
    EXPECT_EQ(application.Variable("Game", "Level"), "3");
    EXPECT_EQ(application.Variable("Game", "Volume"), "80");
    EXPECT_EQ(application.GetStateGraph(), nullptr);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(MessengerApplicationTest, AGraphThatCannotBeCreatedGivesExitCodeTwo) {
    ScriptedApplication application;
    application.AddScript("Main", "[Game]\nClass=StateGraph\nState=Menu\n[Menu]\nClass=State\n");
    application.UseStateGraph("Game", "Main");
    const Vemo::BasicArray<Vemo::String> arguments{};
    EXPECT_EQ(RunApplication(arguments), kExitFailure);
    const Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), Reported(Vemo::Application::kErrorCreateStateGraph));
}

TEST_F(MessengerApplicationTest, AnApplicationWhoseMessengerCannotBeReadIsNotInitialized) {
    ScriptedApplication application("Parent");
    EXPECT_FALSE(application.Initialize(m_noArguments));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Messenger::kErrorReservedName, "\"\",\"Parent\""}}));
    // The application part was not initialised: it took no instance handle.
    EXPECT_EQ(application.GetInstanceHandle(), nullptr);
}

TEST_F(MessengerApplicationTest, OpeningMissingUserSettingsCreatesTheFileAtOnce) {
    ScriptedApplication application;
    EXPECT_FALSE(std::filesystem::exists(UserIni()));
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    EXPECT_TRUE(std::filesystem::exists(UserIni()));
    EXPECT_EQ(VemoTest::ReadHostFile(UserIni()), "\r\n");
    ASSERT_NE(application.GetUserSettings(), nullptr);
    application.CloseUserSettings();
    EXPECT_EQ(application.GetUserSettings(), nullptr);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(MessengerApplicationTest, UserSettingsAreLoadedAndSavedBackWhenClosed) {
    VemoTest::WriteHostFile(UserIni(), "[Player]\r\nName=Kim\r\n");
    ScriptedApplication application;
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    Vemo::String name;
    EXPECT_TRUE(application.GetUserSetting(S("Player"), S("Name"), name));
    EXPECT_STREQ(name.CStr(), "Kim");
    EXPECT_TRUE(application.SetUserSetting(S("Player"), S("Level"), S("4")));
    application.CloseUserSettings();
    EXPECT_EQ(VemoTest::ReadHostFile(UserIni()), "\r\n[Player]\r\nName=Kim\r\nLevel=4\r\n\r\n");
}

TEST_F(MessengerApplicationTest, OpeningTheSamePathAgainKeepsTheOpenSettings) {
    VemoTest::WriteHostFile(UserIni(), "[Player]\r\nName=Kim\r\n");
    ScriptedApplication application;
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    Config* first = application.GetUserSettings();
    VemoTest::WriteHostFile(UserIni(), "[Player]\r\nName=Lee\r\n");
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    EXPECT_EQ(application.GetUserSettings(), first);
    Vemo::String name;
    application.GetUserSetting(S("Player"), S("Name"), name);
    EXPECT_STREQ(name.CStr(), "Kim");
    application.CloseUserSettings();
}

TEST_F(MessengerApplicationTest, OpeningAnotherPathSavesAndClosesTheFirst) {
    ScriptedApplication application;
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    ASSERT_TRUE(application.SetUserSetting(S("Player"), S("Name"), S("Kim")));
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/Other.ini")));
    EXPECT_EQ(VemoTest::ReadHostFile(UserIni()), "\r\n[Player]\r\nName=Kim\r\n\r\n");
    Vemo::String name;
    EXPECT_FALSE(application.GetUserSetting(S("Player"), S("Name"), name));
    application.CloseUserSettings();
}

TEST_F(MessengerApplicationTest, UserSettingsFailWithCodeThousandWhileNoneAreOpen) {
    ScriptedApplication application;
    Vemo::String value;
    EXPECT_FALSE(application.GetUserSetting(S("Player"), S("Name"), value));
    EXPECT_EQ(m_application.TakeReports(), (Reports{Messenger::kErrorSettings}));
}

TEST_F(MessengerApplicationTest, APathWithoutADirectoryOpensNothing) {
    ScriptedApplication application;
    const Vemo::String name("User.ini");
    EXPECT_FALSE(application.OpenUserSettings(Vemo::Path(&name, nullptr)));
    EXPECT_EQ(application.GetUserSettings(), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{Messenger::kErrorSettings}));
}

TEST_F(MessengerApplicationTest, AFileThatCannotBeCreatedOpensNothing) {
    ScriptedApplication application;
    // A folder stands where the file would be created.
    std::filesystem::create_directories(UserIni());
    EXPECT_FALSE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    EXPECT_EQ(application.GetUserSettings(), nullptr);
    const Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), Reported(Messenger::kErrorSettings));
}

TEST_F(MessengerApplicationTest, AFailedSaveOnClosingIsReportedAndTheRestIsWritten) {
    ScriptedApplication application;
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    ASSERT_TRUE(application.SetUserSetting(S("Player"), S("Name"), S("Kim")));
    ASSERT_TRUE(application.SetUserSetting(S("Player"), S("Note"), S("two\nlines")));
    EXPECT_FALSE(application.CloseUserSettings());
    EXPECT_EQ(application.GetUserSettings(), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Messenger::kErrorSettings, "C:\\settings\\User.ini"}}));
    EXPECT_EQ(VemoTest::ReadHostFile(UserIni()), "\r\n[Player]\r\nName=Kim\r\n\r\n");
}

// A save failing at one of its steps: the call made to fail, and the bytes the writes put before.
struct SaveFault {
    const char* name;
    win32::FileFault call;
    std::uint64_t passing;
};

void PrintTo(const SaveFault& fault, std::ostream* out) {
    *out << fault.name;
}

class MessengerApplicationSaveFaultTest : public MessengerApplicationTest,
                                          public ::testing::WithParamInterface<SaveFault> {};

TEST_P(MessengerApplicationSaveFaultTest, KeepsTheOldFileWholeAndNamesIt) {
    VemoTest::WriteHostFile(UserIni(), "[Seen]\r\nMenu=no\r\n");
    ScriptedApplication application;
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    ASSERT_TRUE(application.SetUserSetting(S("Seen"), S("Menu"), S("yes")));
    {
        const win32::testing::FailingFileCalls failing(GetParam().call, win32::ERROR_DISK_FULL,
                                                       GetParam().passing);
        EXPECT_FALSE(application.CloseUserSettings());
        EXPECT_EQ(failing.Failures(), 1U);
    }
    EXPECT_EQ(VemoTest::ReadHostFile(UserIni()), "[Seen]\r\nMenu=no\r\n");
    const Reports reports = m_application.TakeReports();
    EXPECT_FALSE(reports.empty());
    if (!reports.empty()) {
        EXPECT_EQ(reports.back(), Reported(Messenger::kErrorSettings, "C:\\settings\\User.ini"));
    }
    // Nothing but the old file: the new one went with the failure.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Host('C', "settings")),
                            std::filesystem::directory_iterator()),
              1);
}

INSTANTIATE_TEST_SUITE_P(Steps, MessengerApplicationSaveFaultTest,
                         ::testing::Values(SaveFault{"WriteAtItsFirstByte", win32::FileFault::Write, 0},
                                           SaveFault{"WriteAfterAPart", win32::FileFault::Write, 9},
                                           SaveFault{"Flush", win32::FileFault::Flush, 0},
                                           SaveFault{"Rename", win32::FileFault::Rename, 0}),
                         [](const ::testing::TestParamInfo<SaveFault>& info) { return info.param.name; });

TEST_F(MessengerApplicationTest, ASaveFailingWhenAnotherPathIsOpenedIsAnsweredByTheNextClose) {
    VemoTest::WriteHostFile(UserIni(), "[Seen]\r\nMenu=no\r\n");
    ScriptedApplication application;
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    ASSERT_TRUE(application.SetUserSetting(S("Seen"), S("Menu"), S("yes")));
    std::filesystem::permissions(UserIni(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_TRUE(application.OpenUserSettings(At("HD0:/settings/Other.ini")));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Messenger::kErrorSettings, "C:\\settings\\User.ini"}}));
    EXPECT_FALSE(application.CloseUserSettings());
    EXPECT_EQ(VemoTest::ReadHostFile(Host('C', "settings/Other.ini")), "\r\n");
    // Answered once: the failure is not the next settings'.
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/Other.ini")));
    EXPECT_TRUE(application.CloseUserSettings());
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(MessengerApplicationTest, ShutdownClosesTheUserSettingsOfTheTitle) {
    ScriptedApplication application;
    ASSERT_TRUE(application.Initialize(m_noArguments));
    ASSERT_TRUE(application.OpenUserSettings(At("HD0:/settings/User.ini")));
    ASSERT_TRUE(application.SetUserSetting(S("Player"), S("Name"), S("Kim")));
    EXPECT_TRUE(application.Shutdown());
    EXPECT_EQ(application.GetUserSettings(), nullptr);
    EXPECT_EQ(VemoTest::ReadHostFile(UserIni()), "\r\n[Player]\r\nName=Kim\r\n\r\n");
}

TEST_F(MessengerApplicationTest, VariablesEndWithTheApplicationAndAreNeverWritten) {
    {
        ScriptedApplication application;
        ASSERT_TRUE(application.SetVar(S("Game"), S("Level"), S("3")));
    }
    ScriptedApplication next;
    EXPECT_EQ(next.Variable("Game", "Level"), "<missing>");
    EXPECT_TRUE(std::filesystem::is_empty(Host('C', "settings")));
}

} // namespace
