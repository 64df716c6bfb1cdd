#include "platform/win32/kernel/Synchronization.h"

#include "platform/testing/HostPrograms.h"
#include "platform/testing/ThreadState.h"
#include "platform/win32/HandleTable.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/kernel/Process.h"
#include "platform/win32/kernel/Thread.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using win32::DWORD;
using win32::HANDLE;

// What the helper process reports about a named mutex, as its exit code.
constexpr int kSawExisting = 1;
constexpr int kAcquired = 2;
constexpr int kTimedOut = 4;

// Started as the helper of the cross-process tests (by the environment below), the test program opens the
// named mutex, tries it once, holds it for a while if asked to, and exits with what it saw, before any test
// runs.
[[maybe_unused]] const int kHelper = [] {
    const char* name = std::getenv("VEMO_TEST_NAMED_MUTEX");
    if (name == nullptr) {
        return 0;
    }
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::FALSE, name);
    int code = win32::GetLastError() == win32::ERROR_ALREADY_EXISTS ? kSawExisting : 0;
    const char* hold = std::getenv("VEMO_TEST_HOLD_MS");
    // A helper that is to hold the mutex waits for it: the test tries it meanwhile.
    const DWORD wait = win32::WaitForSingleObject(mutex, hold != nullptr ? 10000 : 0);
    code |= wait == win32::WAIT_OBJECT_0 ? kAcquired : wait == win32::WAIT_TIMEOUT ? kTimedOut : 0;
    if (hold != nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(hold)));
    }
    if (wait == win32::WAIT_OBJECT_0) {
        win32::ReleaseMutex(mutex);
    }
    win32::CloseHandle(mutex); // the last process to close the name removes its lock file
    std::_Exit(code);
}();

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The result of a wait made by another thread.
DWORD WaitFromAnotherThread(HANDLE handle, DWORD milliseconds) {
    DWORD result = 0;
    std::thread([&] {
        result = win32::WaitForSingleObject(handle, milliseconds);
        if (result == win32::WAIT_OBJECT_0 || result == win32::WAIT_ABANDONED) {
            win32::ReleaseMutex(handle);
        }
    }).join();
    return result;
}

std::string UniqueName(const char* what) {
    static std::atomic<int> serial{0};
    return std::string("vemo test ") + what + " " + std::to_string(getpid()) + "-" + std::to_string(serial++);
}

TEST(SynchronizationTest, AnUnnamedMutexIsRecursiveForItsOwner) {
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::FALSE, nullptr);
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_SUCCESS);
    EXPECT_EQ(win32::WaitForSingleObject(mutex, 0), win32::WAIT_OBJECT_0);
    EXPECT_EQ(win32::WaitForSingleObject(mutex, 0), win32::WAIT_OBJECT_0);
    EXPECT_EQ(WaitFromAnotherThread(mutex, 0), win32::WAIT_TIMEOUT);
    EXPECT_TRUE(win32::ReleaseMutex(mutex));
    EXPECT_EQ(WaitFromAnotherThread(mutex, 0), win32::WAIT_TIMEOUT);
    EXPECT_TRUE(win32::ReleaseMutex(mutex));
    EXPECT_EQ(WaitFromAnotherThread(mutex, 0), win32::WAIT_OBJECT_0);
    EXPECT_TRUE(win32::CloseHandle(mutex));
}

TEST(SynchronizationTest, OnlyTheOwnerMayReleaseAMutex) {
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::FALSE, nullptr);
    EXPECT_FALSE(win32::ReleaseMutex(mutex));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_NOT_OWNER);

    ASSERT_EQ(win32::WaitForSingleObject(mutex, 0), win32::WAIT_OBJECT_0);
    DWORD error = 0;
    std::thread([&] {
        EXPECT_FALSE(win32::ReleaseMutex(mutex));
        error = win32::GetLastError();
    }).join();
    EXPECT_EQ(error, win32::ERROR_NOT_OWNER);
    EXPECT_TRUE(win32::ReleaseMutex(mutex));
    EXPECT_FALSE(win32::ReleaseMutex(mutex));
    win32::CloseHandle(mutex);
}

TEST(SynchronizationTest, InitialOwnershipIsGranted) {
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::TRUE, nullptr);
    EXPECT_EQ(WaitFromAnotherThread(mutex, 0), win32::WAIT_TIMEOUT);
    EXPECT_TRUE(win32::ReleaseMutex(mutex));
    EXPECT_EQ(WaitFromAnotherThread(mutex, 0), win32::WAIT_OBJECT_0);
    win32::CloseHandle(mutex);
}

TEST(SynchronizationTest, AnEmptyNameMakesAnUnnamedMutex) {
    const HANDLE first = win32::CreateMutexA(nullptr, win32::TRUE, "");
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_SUCCESS);
    const HANDLE second = win32::CreateMutexA(nullptr, win32::FALSE, "");
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_SUCCESS);
    EXPECT_EQ(WaitFromAnotherThread(second, 0), win32::WAIT_OBJECT_0);
    win32::ReleaseMutex(first);
    win32::CloseHandle(first);
    win32::CloseHandle(second);
}

TEST(SynchronizationTest, ANameNamesOneMutexWithinTheProcess) {
    const std::string name = UniqueName("in process");
    const HANDLE first = win32::CreateMutexA(nullptr, win32::FALSE, name.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_SUCCESS);
    // Ownership is not granted for a name that existed.
    const HANDLE second = win32::CreateMutexA(nullptr, win32::TRUE, name.c_str());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_ALREADY_EXISTS);
    EXPECT_NE(first, second);
    EXPECT_FALSE(win32::ReleaseMutex(second));

    ASSERT_EQ(win32::WaitForSingleObject(first, 0), win32::WAIT_OBJECT_0);
    EXPECT_EQ(WaitFromAnotherThread(second, 0), win32::WAIT_TIMEOUT);
    EXPECT_TRUE(win32::ReleaseMutex(second));
    EXPECT_EQ(WaitFromAnotherThread(second, 0), win32::WAIT_OBJECT_0);

    win32::CloseHandle(first);
    win32::CloseHandle(second);
    const HANDLE again = win32::CreateMutexA(nullptr, win32::FALSE, name.c_str());
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_SUCCESS) << "the name is free once every handle is closed";
    win32::CloseHandle(again);
}

class NamedMutexAcrossProcessesTest : public testing::Test {
protected:
    // Runs this test program as the helper; holdMilliseconds > 0 makes it hold the mutex that long if it got
    // it.
    static win32::PROCESS_INFORMATION StartHelper(const std::string& name, int holdMilliseconds = 0) {
        char self[PATH_MAX] = {};
        EXPECT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
        const std::string program = win32::WindowsPathFromHost(self);
        std::string environment;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            environment.append(*variable).push_back('\0');
        }
        environment.append("VEMO_TEST_NAMED_MUTEX=" + name).push_back('\0');
        if (holdMilliseconds > 0) {
            environment.append("VEMO_TEST_HOLD_MS=" + std::to_string(holdMilliseconds)).push_back('\0');
        }
        environment.push_back('\0');
        std::string commandLine = "\"" + program + "\"";

        win32::STARTUPINFOA startup{};
        startup.cb = win32::kStartupInfoSize;
        win32::PROCESS_INFORMATION child{};
        const win32::testing::AllowedHostPrograms allowed({self});
        EXPECT_TRUE(win32::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, win32::FALSE,
                                          win32::NORMAL_PRIORITY_CLASS, environment.data(), nullptr, &startup,
                                          &child));
        win32::CloseHandle(child.hThread);
        return child;
    }

    // Runs the helper to its end and returns its exit code.
    static int HelperSees(const std::string& name) { return Finish(StartHelper(name)); }

    static int Finish(const win32::PROCESS_INFORMATION& child) {
        EXPECT_EQ(win32::WaitForSingleObject(child.hProcess, 60000), win32::WAIT_OBJECT_0);
        DWORD code = 0xFFFF;
        EXPECT_TRUE(win32::GetExitCodeProcess(child.hProcess, &code));
        win32::CloseHandle(child.hProcess);
        return static_cast<int>(code);
    }
};

TEST_F(NamedMutexAcrossProcessesTest, AnotherProcessSeesTheNameAndWhetherItIsHeld) {
    const std::string name = UniqueName("across processes");
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::TRUE, name.c_str());
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(HelperSees(name), kSawExisting | kTimedOut);

    ASSERT_TRUE(win32::ReleaseMutex(mutex));
    EXPECT_EQ(HelperSees(name), kSawExisting | kAcquired);

    win32::CloseHandle(mutex);
    EXPECT_EQ(HelperSees(name), kAcquired) << "nobody has the name any more";
}

TEST_F(NamedMutexAcrossProcessesTest, AWaitHereReturnsWhenAnotherProcessLetsGo) {
    const std::string name = UniqueName("held elsewhere");
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::FALSE, name.c_str());
    const win32::PROCESS_INFORMATION child = StartHelper(name, 300);
    // Until the helper has taken it, a try here succeeds: give it back at once.
    ASSERT_TRUE(WaitUntil([&] {
        if (win32::WaitForSingleObject(mutex, 0) == win32::WAIT_TIMEOUT) {
            return true;
        }
        win32::ReleaseMutex(mutex);
        return false;
    }));
    // The helper's end releases its hold; the host cannot tell this process that it was abandoned.
    EXPECT_EQ(win32::WaitForSingleObject(mutex, win32::INFINITE), win32::WAIT_OBJECT_0);
    EXPECT_EQ(Finish(child), kSawExisting | kAcquired);
    EXPECT_TRUE(win32::ReleaseMutex(mutex));
    win32::CloseHandle(mutex);
}

struct EndingThread {
    const char* kind;
    std::function<void(std::function<void()>)>
        run; // runs the body on a thread of that kind and waits for its end
};

class AbandonedMutexTest : public testing::TestWithParam<EndingThread> {};

void RunOnBeginThread(std::function<void()> body) {
    std::atomic<bool> done{false};
    struct Start {
        std::function<void()>* body;
        std::atomic<bool>* done;
    } start{&body, &done};
    const std::uintptr_t thread = win32::_beginthread(
        [](void* argument) {
            auto* s = static_cast<Start*>(argument);
            (*s->body)();
            s->done->store(true);
        },
        0, &start);
    ASSERT_NE(thread, static_cast<std::uintptr_t>(-1));
    ASSERT_TRUE(WaitUntil([&] {
        return done.load() &&
               win32::WaitForSingleObject(reinterpret_cast<HANDLE>(thread), 0) == win32::WAIT_FAILED;
    }));
}

TEST_P(AbandonedMutexTest, AMutexWhoseOwnerEndedIsGrantedAsAbandonedOnce) {
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::FALSE, nullptr);
    GetParam().run([&] {
        win32::WaitForSingleObject(mutex, win32::INFINITE);
        win32::WaitForSingleObject(mutex, win32::INFINITE);
    });
    EXPECT_EQ(win32::WaitForSingleObject(mutex, 0), win32::WAIT_ABANDONED);
    EXPECT_EQ(WaitFromAnotherThread(mutex, 0), win32::WAIT_TIMEOUT) << "the abandoned wait grants ownership";
    EXPECT_TRUE(win32::ReleaseMutex(mutex));
    EXPECT_EQ(win32::WaitForSingleObject(mutex, 0), win32::WAIT_OBJECT_0);
    EXPECT_TRUE(win32::ReleaseMutex(mutex));
    win32::CloseHandle(mutex);
}

INSTANTIATE_TEST_SUITE_P(
    EndingThreads, AbandonedMutexTest,
    testing::Values(EndingThread{"BeginThread", RunOnBeginThread},
                    EndingThread{"StdThread", [](std::function<void()> body) { std::thread(body).join(); }}),
    [](const testing::TestParamInfo<EndingThread>& info) { return std::string(info.param.kind); });

TEST(SynchronizationTest, AWaiterIsWokenWhenTheOwnerEndsWithoutReleasing) {
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::FALSE, nullptr);
    std::atomic<bool> owned{false};
    std::atomic<bool> end{false};
    std::thread owner([&] {
        win32::WaitForSingleObject(mutex, win32::INFINITE);
        owned.store(true);
        while (!end.load()) {
            std::this_thread::sleep_for(1ms);
        }
    });
    ASSERT_TRUE(WaitUntil([&] { return owned.load(); }));
    DWORD result = 0;
    std::atomic<DWORD> waiterId{0};
    std::thread waiter([&] {
        waiterId.store(win32::GetCurrentThreadId());
        result = win32::WaitForSingleObject(mutex, win32::INFINITE);
        win32::ReleaseMutex(mutex);
    });
    EXPECT_TRUE(WaitUntil([&] { return waiterId.load() != 0; }));
    EXPECT_TRUE(win32::testing::WaitForThreadState(waiterId.load(), win32::testing::ThreadState::Waiting));
    end.store(true);
    owner.join();
    waiter.join();
    EXPECT_EQ(result, win32::WAIT_ABANDONED);
    win32::CloseHandle(mutex);
}

TEST(SynchronizationTest, AWaitForAHeldMutexTimesOutAfterItsTime) {
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::TRUE, nullptr);
    DWORD result = 0;
    std::chrono::steady_clock::duration waited{};
    std::thread([&] {
        const auto start = std::chrono::steady_clock::now();
        result = win32::WaitForSingleObject(mutex, 50);
        waited = std::chrono::steady_clock::now() - start;
    }).join();
    EXPECT_EQ(result, win32::WAIT_TIMEOUT);
    EXPECT_GE(waited, 50ms);
    win32::ReleaseMutex(mutex);
    win32::CloseHandle(mutex);
}

TEST(SynchronizationTest, AWaitWithoutLimitReturnsWhenTheOwnerReleases) {
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::TRUE, nullptr);
    std::atomic<bool> acquired{false};
    std::atomic<DWORD> waiterId{0};
    std::thread waiter([&] {
        waiterId.store(win32::GetCurrentThreadId());
        EXPECT_EQ(win32::WaitForSingleObject(mutex, win32::INFINITE), win32::WAIT_OBJECT_0);
        acquired.store(true);
        win32::ReleaseMutex(mutex);
    });
    EXPECT_TRUE(WaitUntil([&] { return waiterId.load() != 0; }));
    EXPECT_TRUE(win32::testing::WaitForThreadState(waiterId.load(), win32::testing::ThreadState::Waiting));
    EXPECT_FALSE(acquired.load());
    win32::ReleaseMutex(mutex);
    waiter.join();
    EXPECT_TRUE(acquired.load());
    win32::CloseHandle(mutex);
}

TEST(SynchronizationTest, AWaitOnAnInvalidHandleFails) {
    const HANDLE closed = win32::CreateMutexA(nullptr, win32::FALSE, nullptr);
    win32::CloseHandle(closed);
    for (HANDLE handle : {static_cast<HANDLE>(nullptr), closed, win32::INVALID_HANDLE_VALUE}) {
        win32::SetLastError(win32::ERROR_SUCCESS);
        EXPECT_EQ(win32::WaitForSingleObject(handle, 0), win32::WAIT_FAILED);
        EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_HANDLE);
    }
    EXPECT_FALSE(win32::ReleaseMutex(closed));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_HANDLE);
}

TEST(SynchronizationTest, ACriticalSectionIsRecursiveAndExcludesOtherThreads) {
    win32::CRITICAL_SECTION section;
    win32::InitializeCriticalSection(&section);
    win32::EnterCriticalSection(&section);
    EXPECT_TRUE(win32::TryEnterCriticalSection(&section));

    auto otherThreadGetsIn = [&] {
        bool entered = false;
        std::thread([&] {
            // A thread that does not hold it cannot leave it for the owner.
            win32::LeaveCriticalSection(&section);
            entered = win32::TryEnterCriticalSection(&section);
            if (entered) {
                win32::LeaveCriticalSection(&section);
            }
        }).join();
        return entered;
    };
    EXPECT_FALSE(otherThreadGetsIn());
    win32::LeaveCriticalSection(&section);
    EXPECT_FALSE(otherThreadGetsIn());
    win32::LeaveCriticalSection(&section);
    EXPECT_TRUE(otherThreadGetsIn());
    win32::DeleteCriticalSection(&section);
}

TEST(SynchronizationTest, ACriticalSectionGuardsSharedData) {
    win32::CRITICAL_SECTION section;
    win32::InitializeCriticalSection(&section);
    long shared = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                win32::EnterCriticalSection(&section);
                const long seen = shared;
                shared = seen + 1;
                win32::LeaveCriticalSection(&section);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(shared, 8000);
    win32::DeleteCriticalSection(&section);
}

TEST(SynchronizationTest, SleepSleepsAtLeastItsTime) {
    const auto start = std::chrono::steady_clock::now();
    win32::Sleep(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
    win32::Sleep(0);
}

} // namespace
