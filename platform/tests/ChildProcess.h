// This test program run again as a helper process. Helpers are started by a variable of the environment and
// do their part in a static initializer, before any test runs, then exit with what they found.
#pragma once

#include "platform/testing/HostPrograms.h"
#include "platform/win32/Handle.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/kernel/Process.h"
#include "platform/win32/kernel/Synchronization.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace platform::tests {

inline std::string ThisProgram() {
    char self[PATH_MAX] = {};
    EXPECT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    return self;
}

// Starts the helper with these "NAME=value" variables in this process's environment, in place of any of the
// same names.
inline win32::PROCESS_INFORMATION StartSelf(const std::vector<std::string>& variables) {
    const std::string program = win32::WindowsPathFromHost(ThisProgram());
    std::string environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        const bool replaced = std::any_of(variables.begin(), variables.end(), [&](const std::string& given) {
            return entry.compare(0, given.find('=') + 1, given, 0, given.find('=') + 1) == 0;
        });
        if (!replaced) {
            environment.append(entry).push_back('\0');
        }
    }
    for (const std::string& variable : variables) {
        environment.append(variable).push_back('\0');
    }
    environment.push_back('\0');
    std::string commandLine = "\"" + program + "\"";
    win32::STARTUPINFOA startup{};
    startup.cb = win32::kStartupInfoSize;
    win32::PROCESS_INFORMATION child{};
    const win32::testing::AllowedHostPrograms allowed({ThisProgram()});
    EXPECT_TRUE(win32::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, win32::FALSE, 0,
                                      environment.data(), nullptr, &startup, &child));
    win32::CloseHandle(child.hThread);
    return child;
}

// Waits for the helper's end (a minute at most; then it is killed) and returns its exit code.
inline int FinishChild(const win32::PROCESS_INFORMATION& child) {
    if (win32::WaitForSingleObject(child.hProcess, 60000) != win32::WAIT_OBJECT_0) {
        ADD_FAILURE() << "the helper did not end";
        ::kill(static_cast<pid_t>(child.dwProcessId), SIGKILL);
        win32::WaitForSingleObject(child.hProcess, win32::INFINITE);
    }
    win32::DWORD code = 0xFFFF;
    EXPECT_TRUE(win32::GetExitCodeProcess(child.hProcess, &code));
    win32::CloseHandle(child.hProcess);
    return static_cast<int>(code);
}

struct ChildResult {
    int exitCode = -1;
    // What it wrote to its standard output and error.
    std::string output;
};

inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the program with its arguments and these "NAME=value" variables to its end in the folder, its standard
// output and error kept.
inline ChildResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                              const std::vector<std::string>& variables, const std::string& folder) {
    const std::string output = folder + "/program-output.txt";
    std::string command = "cd " + ShellQuoted(folder) + " && env";
    for (const std::string& variable : variables) {
        command += " " + ShellQuoted(variable);
    }
    command += " " + ShellQuoted(program);
    for (const std::string& argument : arguments) {
        command += " " + ShellQuoted(argument);
    }
    command += " >" + ShellQuoted(output) + " 2>&1";
    const int status = std::system(command.c_str());
    ChildResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream file(output);
    std::ostringstream text;
    text << file.rdbuf();
    result.output = text.str();
    std::remove(output.c_str());
    return result;
}

// Runs the helper to its end in the folder.
inline ChildResult RunSelf(const std::vector<std::string>& variables, const std::string& folder) {
    return RunProgram(ThisProgram(), {}, variables, folder);
}

} // namespace platform::tests
