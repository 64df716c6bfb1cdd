#include "platform/win32/kernel/Process.h"

#include "platform/testing/Drives.h"
#include "platform/testing/HostPrograms.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/Synchronization.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using win32::DWORD;

namespace fs = std::filesystem;

// Drive C: holds a folder with a space in its name, and in it "run me.sh", a script that writes its arguments
// (one a line) and the variable VEMO_PROBE into files in its current folder and exits with 7. The test lets
// that script, "plain.txt" beside it and a few tools of the host's PATH be started.
class ProcessTest : public testing::Test {
protected:
    static constexpr const char* kFolder = "C:\\with space";
    static constexpr const char* kScript = "C:\\with space\\run me.sh";

    void SetUp() override {
        m_folder = m_drives.HostPath('C', "with space");
        fs::create_directory(m_folder);
        const fs::path script = m_folder / "run me.sh";
        std::ofstream(script) << "#!/bin/sh\n"
                                 "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n"
                                 "printf '%s\\n' \"${VEMO_PROBE-unset}\" > probe.txt\n"
                                 "exit 7\n";
        fs::permissions(script, fs::perms::owner_all);
    }

    // Starts the program, waits for its end and returns its exit code; false when it did not start.
    bool Run(const char* applicationName, std::string commandLine, DWORD& exitCode,
             const char* environment = nullptr, const char* currentDirectory = kFolder) {
        win32::STARTUPINFOA startup{};
        startup.cb = win32::kStartupInfoSize;
        win32::PROCESS_INFORMATION child{};
        if (!win32::CreateProcessA(applicationName, commandLine.data(), nullptr, nullptr, win32::FALSE,
                                   win32::NORMAL_PRIORITY_CLASS, const_cast<char*>(environment),
                                   currentDirectory, &startup, &child)) {
            return false;
        }
        EXPECT_EQ(win32::WaitForSingleObject(child.hProcess, 60000), win32::WAIT_OBJECT_0);
        EXPECT_TRUE(win32::GetExitCodeProcess(child.hProcess, &exitCode));
        win32::CloseHandle(child.hThread);
        win32::CloseHandle(child.hProcess);
        return true;
    }

    std::vector<std::string> Lines(const char* file) const {
        std::ifstream in(m_folder / file);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    win32::testing::TemporaryDrives m_drives{{'C'}};
    fs::path m_folder;
    win32::testing::AllowedHostPrograms m_allowed{{"true", "false", "sh",
                                                   m_drives.HostPath('C', "with space/run me.sh"),
                                                   m_drives.HostPath('C', "with space/plain.txt")}};
};

bool ProcessIsGone(DWORD pid) {
    return !fs::exists("/proc/" + std::to_string(pid));
}

TEST_F(ProcessTest, RunsAProgramFoundOnThePathAndReadsItsExitCode) {
    DWORD code = 99;
    ASSERT_TRUE(Run(nullptr, "true", code));
    EXPECT_EQ(code, 0u);
    ASSERT_TRUE(Run(nullptr, "false", code));
    EXPECT_EQ(code, 1u);
    ASSERT_TRUE(Run(nullptr, "sh -c \"exit 5\"", code));
    EXPECT_EQ(code, 5u);
}

TEST_F(ProcessTest, AProcessIsStillActiveUntilItEnds) {
    win32::STARTUPINFOA startup{};
    win32::PROCESS_INFORMATION child{};
    std::string commandLine = "sh -c \"sleep 1; exit 3\"";
    ASSERT_TRUE(win32::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, win32::FALSE, 0, nullptr,
                                      nullptr, &startup, &child));
    EXPECT_NE(child.dwProcessId, 0u);
    DWORD code = 0;
    EXPECT_TRUE(win32::GetExitCodeProcess(child.hProcess, &code));
    EXPECT_EQ(code, win32::STILL_ACTIVE);
    EXPECT_EQ(win32::WaitForSingleObject(child.hProcess, 0), win32::WAIT_TIMEOUT);
    EXPECT_EQ(win32::WaitForSingleObject(child.hProcess, win32::INFINITE), win32::WAIT_OBJECT_0);
    EXPECT_TRUE(win32::GetExitCodeProcess(child.hProcess, &code));
    EXPECT_EQ(code, 3u);
    EXPECT_TRUE(ProcessIsGone(child.dwProcessId)) << "reaped, not left a zombie";
    EXPECT_TRUE(win32::CloseHandle(child.hThread));
    EXPECT_TRUE(win32::CloseHandle(child.hProcess));
}

TEST_F(ProcessTest, AChildWhoseHandlesAreClosedAtOnceIsStillReaped) {
    win32::STARTUPINFOA startup{};
    win32::PROCESS_INFORMATION child{};
    std::string commandLine = "true";
    ASSERT_TRUE(win32::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, win32::FALSE, 0, nullptr,
                                      nullptr, &startup, &child));
    win32::CloseHandle(child.hThread);
    win32::CloseHandle(child.hProcess);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!ProcessIsGone(child.dwProcessId) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(ProcessIsGone(child.dwProcessId));
}

TEST_F(ProcessTest, FindsAProgramWhosePathHasSpaces) {
    const std::string script = kScript;
    struct Case {
        const char* how;
        const char* applicationName;
        std::string commandLine;
    };
    const Case cases[] = {
        {"named apart", kScript, "\"run me\" a \"b c\""},
        {"quoted", nullptr, "\"" + script + "\" a \"b c\""},
        {"unquoted, tried at each space", nullptr, script + " a \"b c\""},
        {"in other case, with slashes", nullptr, "\"c:/WITH SPACE/Run Me.SH\" a \"b c\""},
    };
    for (const Case& c : cases) {
        fs::remove(m_folder / "args.txt");
        DWORD code = 0;
        ASSERT_TRUE(Run(c.applicationName, c.commandLine, code)) << c.how;
        EXPECT_EQ(code, 7u) << c.how;
        EXPECT_EQ(Lines("args.txt"), (std::vector<std::string>{"a", "b c"})) << c.how;
    }
}

TEST_F(ProcessTest, AHostPathNamesNoProgram) {
    const std::string host = (m_folder / "run me.sh").string();
    DWORD code = 0;
    EXPECT_FALSE(Run(host.c_str(), "run", code));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(Run(nullptr, "\"" + host + "\"", code));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(Run(nullptr, "true", code, nullptr, m_folder.c_str()));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_DIRECTORY);
}

TEST_F(ProcessTest, SplitsTheCommandLineByTheWindowsRules) {
    struct Case {
        const char* arguments;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {R"("a b c" d e)", {"a b c", "d", "e"}},
        {R"("ab\"c" "\\" d)", {"ab\"c", "\\", "d"}},
        {R"(a\\\b d"e f"g h)", {"a\\\\\\b", "de fg", "h"}},
        {R"(a\\\"b c d)", {"a\\\"b", "c", "d"}},
        {R"(a\\\\"b c" d e)", {"a\\\\b c", "d", "e"}},
        {R"(a"b"" c d)", {"ab\" c d"}},
        {"  spaced\tand tabbed  ", {"spaced", "and", "tabbed"}},
        {R"("")", {""}},
    };
    for (const Case& c : cases) {
        fs::remove(m_folder / "args.txt");
        DWORD code = 0;
        ASSERT_TRUE(Run(kScript, std::string("run ") + c.arguments, code)) << c.arguments;
        EXPECT_EQ(Lines("args.txt"), c.expected) << c.arguments;
    }
}

TEST_F(ProcessTest, PassesTheEnvironmentBlock) {
    const char block[] = "VEMO_PROBE=hello there\0OTHER=1\0";
    DWORD code = 0;
    ASSERT_TRUE(Run(kScript, "run", code, block));
    EXPECT_EQ(Lines("probe.txt"), std::vector<std::string>{"hello there"});
}

TEST_F(ProcessTest, FailsForAMissingProgramWithFileNotFound) {
    const std::string missing = "C:\\with space\\no such program";
    struct Case {
        const char* applicationName;
        std::string commandLine;
    };
    const Case cases[] = {
        {nullptr, "\"" + missing + "\" argument"},
        {nullptr, missing + " argument"},
        {missing.c_str(), "program argument"},
        {nullptr, "vemo-no-such-program-on-the-path"},
    };
    for (const Case& c : cases) {
        DWORD code = 0;
        win32::SetLastError(win32::ERROR_SUCCESS);
        EXPECT_FALSE(Run(c.applicationName, c.commandLine, code)) << c.commandLine;
        EXPECT_EQ(win32::GetLastError(), win32::ERROR_FILE_NOT_FOUND) << c.commandLine;
    }
}

TEST_F(ProcessTest, FailsForAMissingFolderOnTheWayWithPathNotFound) {
    DWORD code = 0;
    EXPECT_FALSE(Run("C:\\no folder\\program", "program", code));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(Run(nullptr, "Q:\\program", code));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_PATH_NOT_FOUND);
}

TEST_F(ProcessTest, FailsForAFileThatIsNotExecutable) {
    const fs::path plain = m_folder / "plain.txt";
    std::ofstream(plain) << "text\n";
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write);
    DWORD code = 0;
    EXPECT_FALSE(Run("C:\\with space\\plain.txt", "plain", code));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_ACCESS_DENIED);
}

TEST_F(ProcessTest, FailsForAMissingCurrentFolder) {
    DWORD code = 0;
    EXPECT_FALSE(Run(nullptr, "true", code, nullptr, "C:\\missing"));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_DIRECTORY);
}

TEST_F(ProcessTest, RefusesFlagsItCannotHonour) {
    win32::STARTUPINFOA startup{};
    win32::PROCESS_INFORMATION child{};
    std::string commandLine = "true";
    EXPECT_FALSE(win32::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, win32::FALSE,
                                       win32::CREATE_SUSPENDED, nullptr, nullptr, &startup, &child));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(win32::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, win32::FALSE, 0,
                                       nullptr, nullptr, nullptr, &child));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_PARAMETER);
}

TEST_F(ProcessTest, AProgramNoTestAllowedIsNeverStarted) {
    const fs::path marker = m_folder / "ran";
    const fs::path script = m_folder / "setup.sh";
    std::ofstream(script) << "#!/bin/sh\ntouch '" << marker.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);
    const std::string touch = "touch \"" + marker.string() + "\"";
    struct Case {
        const char* applicationName;
        std::string commandLine;
    };
    const Case cases[] = {
        {"C:\\with space\\setup.sh", "setup"},
        {nullptr, "\"C:\\with space\\setup.sh\""},
        {nullptr, touch},
        {nullptr, "env " + touch},
    };
    for (const Case& c : cases) {
        DWORD code = 0;
        win32::SetLastError(win32::ERROR_SUCCESS);
        EXPECT_FALSE(Run(c.applicationName, c.commandLine, code)) << c.commandLine;
        EXPECT_EQ(win32::GetLastError(), win32::ERROR_BAD_EXE_FORMAT) << c.commandLine;
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(fs::exists(marker));
}

TEST_F(ProcessTest, ExitCodeOfAnInvalidHandleFails) {
    DWORD code = 0;
    EXPECT_FALSE(win32::GetExitCodeProcess(nullptr, &code));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_HANDLE);
}

TEST(StartupInfoTest, GivesTheCallersSettings) {
    win32::STARTUPINFOA info;
    info.dwFlags = 0xFFFFFFFF;
    info.cb = 0;
    win32::GetStartupInfoA(&info);
    EXPECT_EQ(info.cb, 68u);
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(info.lpDesktop, nullptr);
    EXPECT_EQ(info.hStdInput, nullptr);
    char program[PATH_MAX] = {};
    ASSERT_GT(readlink("/proc/self/exe", program, sizeof program - 1), 0);
    ASSERT_NE(info.lpTitle, nullptr);
    EXPECT_STREQ(info.lpTitle, program);
}

} // namespace
