#include "platform/web/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <vector>

namespace web {

namespace {

constexpr std::chrono::seconds kLongestStart{10};

std::mutex g_lock;
pid_t g_server = -1;
std::string g_display;

std::string FindOnPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr && *path != '\0' ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

// Reads the display number Xvfb writes, a line, within the time; empty when none came.
std::string ReadDisplayNumber(int descriptor) {
    const auto end = std::chrono::steady_clock::now() + kLongestStart;
    std::string text;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return {};
        }
        pollfd readable{descriptor, POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return {};
        }
        char buffer[32];
        const ssize_t got = ::read(descriptor, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return {};
        }
        text.append(buffer, static_cast<std::size_t>(got));
        const std::size_t line = text.find('\n');
        if (line != std::string::npos) {
            text.resize(line);
            return text.find_first_not_of("0123456789") == std::string::npos ? text : std::string();
        }
    }
}

// The child's side, between fork and exec: only calls that are safe there.
[[noreturn]] void RunServer(const char* program, int reportTo, const char* const* arguments) {
    // The server ends with the program even when the program ends without cleaning up.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() == 1) {
        ::_exit(127);
    }
    constexpr int kReport = 3;
    if (reportTo == kReport) {
        ::fcntl(kReport, F_SETFD, 0);
    } else {
        ::dup2(reportTo, kReport);
    }
    const int quiet = ::open("/dev/null", O_RDWR);
    if (quiet >= 0) {
        ::dup2(quiet, 0);
        ::dup2(quiet, 1);
        ::dup2(quiet, 2);
    }
    ::execv(program, const_cast<char* const*>(arguments));
    ::_exit(127);
}

} // namespace

bool XvfbServer::Installed() {
    return !FindOnPath("Xvfb").empty();
}

std::string XvfbServer::Display(std::string& whyNot) {
    std::lock_guard guard(g_lock);
    if (!g_display.empty()) {
        return g_display;
    }
    const std::string program = FindOnPath("Xvfb");
    if (program.empty()) {
        whyNot = "no X server of its own can be started: Xvfb is not installed (package xvfb)";
        return {};
    }
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        whyNot = std::string("Xvfb cannot be started: ") + std::strerror(errno);
        return {};
    }
    // No listening on TCP, and a screen large enough for any title's window.
    const char* const arguments[] = {program.c_str(), "-displayfd", "3", "-nolisten", "tcp", "-screen", "0",
                                     "1920x1200x24",  nullptr};
    const pid_t child = ::fork();
    if (child == 0) {
        RunServer(program.c_str(), report[1], arguments);
    }
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        whyNot = std::string("Xvfb cannot be started: ") + std::strerror(errno);
        return {};
    }
    const std::string number = ReadDisplayNumber(report[0]);
    ::close(report[0]);
    if (number.empty()) {
        ::kill(child, SIGTERM);
        ::waitpid(child, nullptr, 0);
        whyNot =
            "Xvfb (" + program + ") did not start within " + std::to_string(kLongestStart.count()) + " s";
        return {};
    }
    static const bool stopsAtExit = std::atexit(&XvfbServer::Stop) == 0;
    (void)stopsAtExit;
    g_server = child;
    g_display = ":" + number;
    return g_display;
}

void XvfbServer::Stop() {
    std::lock_guard guard(g_lock);
    if (g_server <= 0) {
        return;
    }
    ::kill(g_server, SIGTERM);
    while (::waitpid(g_server, nullptr, 0) < 0 && errno == EINTR) {
    }
    g_server = -1;
    g_display.clear();
}

} // namespace web
