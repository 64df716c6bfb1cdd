#include "controls/ExecuteControl.h"

#include "controls/tests/TitleControlTestSupport.h"
#include "runtime/application/WindowFunctions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using TitleControlTest::Log;

class ExecuteControlTest : public TitleControlTest::Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        ASSERT_TRUE(Start("Launcher", "[Launcher]\nClass=ExecuteControl\n"));
        ASSERT_NE(Find<ExecuteControl>("Launcher"), nullptr);
        Listen("Launcher");
        Write("Title/Docs/Read Me.txt", "read me");
    }
};

TEST_F(ExecuteControlTest, BothFormsHandTheFileToTheOpenerAndWaitForNothing) {
    EXPECT_TRUE(Send("Launcher", "Execute(\"C:\\\\title\\\\docs\\\\READ ME.TXT\")"));
    EXPECT_EQ(Opened(1), Host("Title/Docs/Read Me.txt") + "\n");
    EXPECT_TRUE(Send("Launcher", "ExecuteAndWait(\"https://example.org/quorven?page=2\")"));
    EXPECT_EQ(Opened(2), Host("Title/Docs/Read Me.txt") + "\nhttps://example.org/quorven?page=2\n");
    EXPECT_EQ(Heard(), Log{});
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_F(ExecuteControlTest, AFailedStartAnnouncesItselfAndBringsTheTitleBack) {
    Write("Title/Setup.exe", "MZ");
    Write("Title/run.bat", "touch marker");
    Write("Title/x.exe.", "MZ");
    Write("Title/setup.sh", "#!/bin/sh\ntouch marker\n");
    const std::string setupAddress = "file://" + Host("Title/setup.sh");
    for (const std::string& message :
         {std::string("Execute(\"C:\\\\Title\\\\Missing.txt\")"),
          std::string("ExecuteAndWait(\"C:\\\\Nowhere\\\\a.txt\")"),
          std::string("Execute(\"C:\\\\Title\\\\Setup.exe\")"),
          std::string("Execute(\"C:\\\\Title\\\\run.bat\")"),
          std::string("Execute(\"C:\\\\Title\\\\x.exe.\")"),
          std::string("Execute(\"C:\\\\Title\\\\setup.sh\")"), "Execute(\"" + setupAddress + "\")",
          std::string("Execute(\"ssh://example.org/setup.sh\")")}) {
        win32::ShowWindow(Window(), win32::SW_MINIMIZE);
        ASSERT_TRUE(win32::IsIconic(Window()));
        EXPECT_TRUE(Send("Launcher", message)) << message;
        EXPECT_EQ(Heard(), Log{"ExecuteFailed"}) << message;
        EXPECT_FALSE(win32::IsIconic(Window())) << message;
    }
    EXPECT_EQ(Opened(0), "") << "nothing was started";
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_F(ExecuteControlTest, AnOpenerThatCannotStartCountsAsAFailedStart) {
    m_opener.Set(Host("NoSuchOpener").c_str());
    EXPECT_TRUE(Send("Launcher", "Execute(\"C:\\\\Title\\\\Docs\\\\Read Me.txt\")"));
    EXPECT_EQ(Heard(), Log{"ExecuteFailed"});
}

TEST_F(ExecuteControlTest, WithoutAFileNothingHappens) {
    for (const char* message : {"Execute", "Execute()", "ExecuteAndWait(\"\")"}) {
        EXPECT_TRUE(Send("Launcher", message)) << message;
    }
    EXPECT_EQ(Heard(), Log{});
    EXPECT_EQ(Opened(0), "");
}

TEST_F(ExecuteControlTest, OtherWordsAreTheControls) {
    EXPECT_TRUE(Send("Launcher", "Visible(false), Tag(door)"));
    EXPECT_FALSE(Find("Launcher")->IsVisible());
    EXPECT_EQ(std::string(Find("Launcher")->GetTag().CStr()), "door");
}

} // namespace
