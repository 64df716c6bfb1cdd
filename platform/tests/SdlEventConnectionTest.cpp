// The SDL backend's wait on a real X display: an Xvfb server of the test's own (skipped where Xvfb is not
// installed).
#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/tests/ScopedVariable.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>

// Last: Xlib's macros.
#include <SDL_syswm.h>

extern char** environ;

namespace win32::tests {
namespace {

using namespace std::chrono_literals;

// An Xvfb server on a display number it picks itself, ended with the object.
class Xvfb {
public:
    // None when Xvfb cannot be started.
    static std::unique_ptr<Xvfb> Start() {
        int numberPipe[2];
        if (::pipe(numberPipe) != 0) {
            return nullptr;
        }
        ::fcntl(numberPipe[0], F_SETFD, FD_CLOEXEC);
        const std::string descriptor = std::to_string(numberPipe[1]);
        const char* arguments[] = {"Xvfb",      "-displayfd", descriptor.c_str(),
                                   "-screen",   "0",          "640x480x24",
                                   "-nolisten", "tcp",        nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int failed =
            posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(arguments), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(numberPipe[1]);
        std::unique_ptr<Xvfb> server;
        if (failed == 0) {
            server.reset(new Xvfb(pid));
            server->m_display = ReadNumber(numberPipe[0]);
        }
        ::close(numberPipe[0]);
        return server != nullptr && !server->m_display.empty() ? std::move(server) : nullptr;
    }

    ~Xvfb() {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }

    // ":N".
    const std::string& Display() const { return m_display; }

private:
    explicit Xvfb(pid_t pid) : m_pid(pid) {}

    static std::string ReadNumber(int descriptor) {
        std::string number;
        pollfd ready{descriptor, POLLIN, 0};
        char c = 0;
        while (::poll(&ready, 1, 10000) == 1 && ::read(descriptor, &c, 1) == 1 && c != '\n') {
            number += c;
        }
        return c == '\n' && !number.empty() ? ":" + number : "";
    }

    pid_t m_pid;
    std::string m_display;
};

class SdlEventConnectionTest : public WindowSystemTest {
protected:
    void SetUp() override {
        WindowSystemTest::SetUp();
        m_server = Xvfb::Start();
        if (m_server == nullptr) {
            GTEST_SKIP() << "Xvfb cannot be started";
        }
        m_display.emplace("DISPLAY", m_server->Display());
        m_driver.emplace("SDL_VIDEODRIVER", "x11");
        ASSERT_TRUE(testing::UseVideoBackend(testing::VideoBackendKind::Sdl)) << SDL_GetError();
        m_window = m_windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {0, 0, 160, 120});
        ASSERT_NE(m_window, nullptr);
        // The server's first events for a new window (map, expose) come and go.
        for (int look = 0; look < 10; ++look) {
            WaitForMessageFor(30ms);
            Pump();
        }
        m_windows.ClearLog();
    }

    void TearDown() override {
        if (m_window != nullptr) {
            DestroyWindow(m_window);
        }
        WindowSystemTest::TearDown();
        testing::UseVideoBackend(testing::VideoBackendKind::Headless);
        m_driver.reset();
        m_display.reset();
        m_server.reset();
    }

    std::optional<SDL_SysWMinfo> Info() const {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        SDL_Window* window = SDL_GetWindowFromID(testing::SdlWindowId(m_window));
        if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) {
            return std::nullopt;
        }
        return info;
    }

    ::Window XWindow() const {
        const std::optional<SDL_SysWMinfo> info = Info();
        return info ? info->info.x11.window : 0;
    }

    // Moves the pointer over the window from a connection of another client; the server has sent the
    // program its motion event when this returns.
    void MovePointerFromOutside(int x, int y) const {
        ::Display* other = XOpenDisplay(m_server->Display().c_str());
        ASSERT_NE(other, nullptr);
        XWarpPointer(other, None, XWindow(), 0, 0, 0, 0, x, y);
        XSync(other, False);
        XCloseDisplay(other);
    }

    static long VoluntarySwitches() {
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        return usage.ru_nvcsw;
    }

    std::unique_ptr<Xvfb> m_server;
    std::optional<platform::tests::ScopedVariable> m_display;
    std::optional<platform::tests::ScopedVariable> m_driver;
    RecordingWindowClass m_windows;
    HWND m_window = nullptr;
};

TEST_F(SdlEventConnectionTest, AStillWaitSleepsOnTheDisplayConnection) {
    const long before = VoluntarySwitches();
    EXPECT_FALSE(WaitForMessageFor(300ms));
    EXPECT_LT(VoluntarySwitches() - before, 10) << "a wait that wakes every few milliseconds polls";
}

TEST_F(SdlEventConnectionTest, TheHostsInputEndsTheWaitAtOnce) {
    const ::Window target = XWindow();
    ASSERT_NE(target, 0U);
    std::thread pointer([display = m_server->Display(), target] {
        std::this_thread::sleep_for(100ms);
        if (::Display* other = XOpenDisplay(display.c_str())) {
            XWarpPointer(other, None, target, 0, 0, 0, 0, 20, 30);
            XCloseDisplay(other);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const bool woken = WaitForMessageFor(10s);
    const auto waited = std::chrono::steady_clock::now() - start;
    pointer.join();
    EXPECT_TRUE(woken);
    EXPECT_LT(waited, 5s);
    Pump();
    EXPECT_FALSE(m_windows.Only(WM_MOUSEMOVE).empty());
}

// A step looks at its messages more than once, and the looks that find nothing new on the display connection
// leave SDL's pump out: what came meanwhile must still be taken by the very next look.
TEST_F(SdlEventConnectionTest, AnEventThatCameSinceTheLastLookIsTakenByTheNext) {
    const std::optional<SDL_SysWMinfo> info = Info();
    ASSERT_TRUE(info.has_value());
    ::Display* display = info->info.x11.display;
    struct Case {
        const char* name;
        // Reads the event into Xlib's queue first, as drawing does with its round trips to the server.
        bool readByXlib;
    };
    const Case cases[] = {{"waiting on the connection", false}, {"already read by Xlib", true}};
    int x = 10;
    for (const Case& c : cases) {
        Pump();
        m_windows.ClearLog();
        MovePointerFromOutside(x += 10, 40);
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        ASSERT_EQ(::poll(&connection, 1, 5000), 1) << c.name;
        if (c.readByXlib) {
            XSync(display, False);
            ASSERT_GT(XEventsQueued(display, QueuedAlready), 0) << c.name;
            ASSERT_EQ(::poll(&connection, 1, 0), 0) << c.name;
        }
        Pump();
        EXPECT_FALSE(m_windows.Only(WM_MOUSEMOVE).empty()) << c.name;
    }
}

// Xlib's own way out of a broken connection runs the program's exit work, which closed the windows through the
// dead connection and waited forever for the server's answer.
TEST_F(SdlEventConnectionTest, ALostDisplayEndsTheProgramWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            m_server.reset();
            for (;;) {
                WaitForMessageFor(50ms);
                Pump();
            }
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "the display :[0-9]+ went away");
}

} // namespace
} // namespace win32::tests
