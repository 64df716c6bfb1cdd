#include "platform/testing/HostPrograms.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/Synchronization.h"
#include "resources/storage/Path.h"
#include "resources/storage/Process.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace Vemo;
using namespace VemoTest;
namespace fs = std::filesystem;

class ProcessTest : public Win32DrivesTest {
protected:
    // A program that leaves its mark in a host file.
    void WriteProgram(const char* relative, const std::string& mark) {
        const std::string path = Host('C', relative);
        fs::create_directories(fs::path(path).parent_path());
        WriteHostFile(path, "#!/bin/sh\necho " + mark + " > '" + Host('C', "marks") + "/" + mark + "'\n");
        fs::permissions(path, fs::perms::owner_all);
    }

    void WaitFor(const Process& process) {
        ASSERT_EQ(win32::WaitForSingleObject(process.GetProcessHandle(), 10000), win32::WAIT_OBJECT_0);
    }

    bool Marked(const char* mark) { return fs::exists(Host('C', "marks") + "/" + mark); }
};

TEST_F(ProcessTest, AMissingProgramIsNotStarted) {
    Process process;
    Path missing = At("HD0:/nothing.exe");
    EXPECT_FALSE(process.Start(missing));
    EXPECT_EQ(process.ProcessId(), 0u);
    EXPECT_EQ(process.GetProcessHandle(), nullptr);
    Path started;
    EXPECT_TRUE(process.GetPath(started));
    EXPECT_TRUE(started.GetName().IsEmpty());
    EXPECT_EQ(started.GetDirectory(), nullptr);
}

TEST_F(ProcessTest, AProgramOfTheTitleIsNotStarted) {
    fs::create_directories(Host('C', "marks"));
    WriteProgram("Setup", "setup");
    Process process;
    Path program = At("HD0:/Setup");
    EXPECT_FALSE(process.Start(program));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(process.GetProcessHandle(), nullptr);
    EXPECT_FALSE(Marked("setup"));
}

TEST_F(ProcessTest, AProgramUnderAPathWithSpacesIsTheOneThatRuns) {
    const win32::testing::AllowedHostPrograms allowed({Host('C', "My"), Host('C', "My Programs/run")});
    fs::create_directories(Host('C', "marks"));
    // "C:\My" is what an unquoted "C:\My Programs\run" would start first.
    WriteProgram("My", "wrong");
    WriteProgram("My Programs/run", "right");
    Process process;
    Path program = At("HD0:/My Programs/run");
    ASSERT_TRUE(process.Start(program));
    EXPECT_NE(process.ProcessId(), 0u);
    WaitFor(process);
    EXPECT_TRUE(Marked("right"));
    EXPECT_FALSE(Marked("wrong"));

    Path started;
    ASSERT_TRUE(process.GetPath(started));
    String text;
    EXPECT_STREQ(started.GetText(text, true, false).CStr(), "HD0:/My Programs/run");
}

TEST_F(ProcessTest, ASecondStartGivesUpTheFirstProcessHandle) {
    const win32::testing::AllowedHostPrograms allowed({Host('C', "first"), Host('C', "second")});
    fs::create_directories(Host('C', "marks"));
    WriteProgram("first", "first");
    WriteProgram("second", "second");
    Process process;
    Path first = At("HD0:/first");
    Path second = At("HD0:/second");
    ASSERT_TRUE(process.Start(first));
    const win32::HANDLE firstHandle = process.GetProcessHandle();
    WaitFor(process);
    ASSERT_TRUE(process.Start(second));
    EXPECT_NE(process.GetProcessHandle(), firstHandle);
    EXPECT_FALSE(win32::CloseHandle(firstHandle)) << "closed by the second start";
    WaitFor(process);
    EXPECT_TRUE(Marked("second"));
}

} // namespace
