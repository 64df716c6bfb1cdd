#include "platform/win32/kernel/Thread.h"

#include "platform/testing/ThreadState.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/Synchronization.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using win32::DWORD;
using win32::HANDLE;
using win32::testing::ThreadState;
using win32::testing::WaitForThreadState;

constexpr DWORD kFailedCount = 0xFFFFFFFF;

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

// Runs a std::function on a thread started by _beginthread.
struct Body {
    std::function<void()> work;
};

void RunBody(void* argument) {
    static_cast<Body*>(argument)->work();
}

HANDLE Begin(Body& body) {
    const std::uintptr_t thread = win32::_beginthread(&RunBody, 0, &body);
    EXPECT_NE(thread, static_cast<std::uintptr_t>(-1));
    return reinterpret_cast<HANDLE>(thread);
}

bool HandleIsClosed(HANDLE handle) {
    return win32::WaitForSingleObject(handle, 0) == win32::WAIT_FAILED &&
           win32::GetLastError() == win32::ERROR_INVALID_HANDLE;
}

// A thread that counts as fast as it can until told to stop, for watching whether it runs. It never waits of
// its own accord, so the host shows it parked only when suspended.
class Counter {
public:
    Counter()
        : m_body{[this] {
              m_id.store(win32::GetCurrentThreadId());
              while (!m_stop.load()) {
                  m_count.fetch_add(1);
              }
          }} {
        m_handle = Begin(m_body);
        EXPECT_TRUE(WaitUntil([this] { return m_count.load() > 0; }));
    }
    ~Counter() {
        Stop();
        win32::WaitForSingleObject(m_handle, win32::INFINITE); // or fails at once: the end closed the handle
    }

    HANDLE Handle() const { return m_handle; }
    long Count() const { return m_count.load(); }
    bool IsMoving() const {
        const long before = Count();
        return WaitUntil([&] { return Count() != before; }, 2s);
    }
    // Called once SuspendThread has returned: the thread is parked, and its count has not moved since.
    bool StandsStill() const {
        const long before = Count();
        return WaitForThreadState(m_id.load(), ThreadState::Parked) && Count() == before;
    }
    // Called once TerminateThread has returned: the thread is gone, its count where it stopped.
    bool HasEnded() const {
        const long before = Count();
        return WaitForThreadState(m_id.load(), ThreadState::Gone) && Count() == before;
    }
    void Stop() { m_stop.store(true); }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<long> m_count{0};
    std::atomic<DWORD> m_id{0};
    Body m_body;
    HANDLE m_handle = nullptr;
};

TEST(ThreadTest, RunsTheProcedureWithItsArgumentOnAThreadOfItsOwn) {
    std::atomic<DWORD> id{0};
    Body body{[&] { id.store(win32::GetCurrentThreadId()); }};
    const HANDLE handle = Begin(body);
    ASSERT_TRUE(WaitUntil([&] { return HandleIsClosed(handle); }));
    EXPECT_NE(id.load(), 0u);
    EXPECT_NE(id.load(), win32::GetCurrentThreadId());
}

TEST(ThreadTest, AForkedChildsThreadHasAnIdOfItsOwn) {
    const DWORD parent = win32::GetCurrentThreadId();
    EXPECT_EQ(parent, static_cast<DWORD>(gettid()));
    const pid_t child = ::fork();
    if (child == 0) {
        // The child's only thread has the process's id.
        ::_exit(win32::GetCurrentThreadId() == static_cast<DWORD>(::getpid()) ? 0 : 1);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(win32::GetCurrentThreadId(), parent);
}

TEST(ThreadTest, RefusesANullProcedure) {
    EXPECT_EQ(win32::_beginthread(nullptr, 0, nullptr), static_cast<std::uintptr_t>(-1));
}

TEST(ThreadTest, AcceptsAStackSize) {
    std::atomic<bool> ran{false};
    Body body{[&] { ran.store(true); }};
    const std::uintptr_t thread = win32::_beginthread(&RunBody, 256 * 1024, &body);
    ASSERT_NE(thread, static_cast<std::uintptr_t>(-1));
    ASSERT_TRUE(WaitUntil([&] { return HandleIsClosed(reinterpret_cast<HANDLE>(thread)); }));
    EXPECT_TRUE(ran.load());
}

TEST(ThreadTest, TheThreadsEndClosesItsHandle) {
    Body body{[] {}};
    const HANDLE handle = Begin(body);
    EXPECT_TRUE(WaitUntil([&] { return HandleIsClosed(handle); }));
}

TEST(ThreadTest, EndThreadEndsAtOnceAndClosesTheHandle) {
    std::atomic<bool> before{false};
    std::atomic<bool> after{false};
    Body body{[&] {
        before.store(true);
        win32::_endthread();
        after.store(true);
    }};
    const HANDLE handle = Begin(body);
    ASSERT_TRUE(WaitUntil([&] { return HandleIsClosed(handle); }));
    EXPECT_TRUE(before.load());
    EXPECT_FALSE(after.load());
}

TEST(ThreadTest, AHandleIsSignalledWhenTheThreadEnds) {
    std::atomic<bool> release{false};
    const DWORD waiter = win32::GetCurrentThreadId();
    Body body{[&] {
        while (!release.load()) {
            std::this_thread::sleep_for(1ms);
        }
        // The waiter below is to be waiting before the end closes the handle.
        EXPECT_TRUE(WaitForThreadState(waiter, ThreadState::Waiting));
    }};
    const HANDLE handle = Begin(body);
    EXPECT_EQ(win32::WaitForSingleObject(handle, 0), win32::WAIT_TIMEOUT);
    release.store(true);
    EXPECT_EQ(win32::WaitForSingleObject(handle, win32::INFINITE), win32::WAIT_OBJECT_0);
}

TEST(ThreadTest, KeepsEachOfTheSevenPriorities) {
    Counter counter;
    for (int priority :
         {win32::THREAD_PRIORITY_IDLE, win32::THREAD_PRIORITY_LOWEST, win32::THREAD_PRIORITY_BELOW_NORMAL,
          win32::THREAD_PRIORITY_NORMAL, win32::THREAD_PRIORITY_ABOVE_NORMAL, win32::THREAD_PRIORITY_HIGHEST,
          win32::THREAD_PRIORITY_TIME_CRITICAL}) {
        EXPECT_TRUE(win32::SetThreadPriority(counter.Handle(), priority)) << priority;
        EXPECT_EQ(win32::GetThreadPriority(counter.Handle()), priority);
    }
    EXPECT_FALSE(win32::SetThreadPriority(counter.Handle(), 3));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(win32::GetThreadPriority(counter.Handle()), win32::THREAD_PRIORITY_TIME_CRITICAL);
}

TEST(ThreadTest, PriorityCallsOnAnInvalidHandleFail) {
    EXPECT_EQ(win32::GetThreadPriority(nullptr), win32::THREAD_PRIORITY_ERROR_RETURN);
    EXPECT_FALSE(win32::SetThreadPriority(nullptr, win32::THREAD_PRIORITY_NORMAL));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_HANDLE);
}

TEST(ThreadTest, SuspensionStopsTheThreadAndCountsAsOnWindows) {
    Counter counter;
    EXPECT_EQ(win32::SuspendThread(counter.Handle()), 0u);
    EXPECT_TRUE(counter.StandsStill());
    EXPECT_EQ(win32::SuspendThread(counter.Handle()), 1u);
    EXPECT_EQ(win32::ResumeThread(counter.Handle()), 2u);
    EXPECT_TRUE(counter.StandsStill());
    EXPECT_EQ(win32::ResumeThread(counter.Handle()), 1u);
    EXPECT_TRUE(counter.IsMoving());
    EXPECT_EQ(win32::ResumeThread(counter.Handle()), 0u);
    EXPECT_TRUE(counter.IsMoving());
}

TEST(ThreadTest, SuspensionAndResumptionInQuickSuccessionLeaveTheThreadRunning) {
    Counter counter;
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(win32::SuspendThread(counter.Handle()), 0u);
        ASSERT_EQ(win32::ResumeThread(counter.Handle()), 1u);
    }
    EXPECT_TRUE(counter.IsMoving());
}

TEST(ThreadTest, SuspensionCallsOnAnInvalidHandleFail) {
    EXPECT_EQ(win32::SuspendThread(nullptr), kFailedCount);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_HANDLE);
    EXPECT_EQ(win32::ResumeThread(nullptr), kFailedCount);
}

TEST(ThreadTest, AThreadCanSuspendItselfUntilResumed) {
    std::atomic<HANDLE> self{nullptr};
    std::atomic<int> stage{0};
    std::atomic<DWORD> returned{0};
    std::atomic<DWORD> id{0};
    Body body{[&] {
        while (self.load() == nullptr) {
            std::this_thread::yield();
        }
        id.store(win32::GetCurrentThreadId());
        stage.store(1);
        returned.store(win32::SuspendThread(self.load()));
        stage.store(2);
    }};
    const HANDLE handle = Begin(body);
    self.store(handle);
    ASSERT_TRUE(WaitUntil([&] { return stage.load() == 1; }));
    ASSERT_TRUE(WaitForThreadState(id.load(), ThreadState::Parked));
    EXPECT_EQ(stage.load(), 1);
    EXPECT_EQ(win32::ResumeThread(handle), 1u);
    ASSERT_TRUE(WaitUntil([&] { return HandleIsClosed(handle); }));
    EXPECT_EQ(stage.load(), 2);
    EXPECT_EQ(returned.load(), 0u);
}

TEST(ThreadTest, AThreadSuspendedInsideAWaitDoesNotReturnFromItUntilResumed) {
    const HANDLE mutex = win32::CreateMutexA(nullptr, win32::TRUE, nullptr);
    std::atomic<DWORD> id{0};
    std::atomic<DWORD> result{kFailedCount};
    Body body{[&] {
        id.store(win32::GetCurrentThreadId());
        result.store(win32::WaitForSingleObject(mutex, win32::INFINITE));
        win32::ReleaseMutex(mutex);
    }};
    const HANDLE handle = Begin(body);
    ASSERT_TRUE(WaitUntil([&] { return id.load() != 0; }));
    ASSERT_TRUE(WaitForThreadState(id.load(), ThreadState::Waiting));
    EXPECT_EQ(win32::SuspendThread(handle), 0u);
    ASSERT_TRUE(win32::ReleaseMutex(mutex));
    // Released, the mutex wakes the thread; it stops before the wait returns to its code.
    ASSERT_TRUE(WaitForThreadState(id.load(), ThreadState::Parked));
    EXPECT_EQ(result.load(), kFailedCount);
    EXPECT_EQ(win32::ResumeThread(handle), 1u);
    ASSERT_TRUE(WaitUntil([&] { return HandleIsClosed(handle); }));
    EXPECT_EQ(result.load(), win32::WAIT_OBJECT_0);
    win32::CloseHandle(mutex);
}

TEST(ThreadTest, TerminationStopsAThreadStuckInALoopAndKeepsItsHandle) {
    Counter counter;
    EXPECT_TRUE(win32::TerminateThread(counter.Handle(), 1));
    EXPECT_TRUE(counter.HasEnded());
    EXPECT_EQ(win32::WaitForSingleObject(counter.Handle(), 0), win32::WAIT_OBJECT_0);
    EXPECT_TRUE(win32::CloseHandle(counter.Handle()));
}

TEST(ThreadTest, TerminationStopsASuspendedThread) {
    Counter counter;
    ASSERT_EQ(win32::SuspendThread(counter.Handle()), 0u);
    EXPECT_TRUE(win32::TerminateThread(counter.Handle(), 1));
    EXPECT_EQ(win32::WaitForSingleObject(counter.Handle(), 0), win32::WAIT_OBJECT_0);
    EXPECT_TRUE(counter.HasEnded());
    EXPECT_TRUE(win32::CloseHandle(counter.Handle()));
}

TEST(ThreadTest, TerminationWakesAThreadWaitingOnAMutexAndAbandonsWhatItOwned) {
    const HANDLE held = win32::CreateMutexA(nullptr, win32::TRUE, nullptr);
    const HANDLE owned = win32::CreateMutexA(nullptr, win32::FALSE, nullptr);
    std::atomic<DWORD> id{0};
    std::atomic<bool> returned{false};
    Body body{[&] {
        win32::WaitForSingleObject(owned, win32::INFINITE);
        id.store(win32::GetCurrentThreadId());
        win32::WaitForSingleObject(held, win32::INFINITE);
        returned.store(true);
    }};
    const HANDLE handle = Begin(body);
    ASSERT_TRUE(WaitUntil([&] { return id.load() != 0; }));
    ASSERT_TRUE(WaitForThreadState(id.load(), ThreadState::Waiting));
    EXPECT_TRUE(win32::TerminateThread(handle, 1));
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(win32::WaitForSingleObject(owned, 0), win32::WAIT_ABANDONED);
    EXPECT_TRUE(win32::ReleaseMutex(owned));
    EXPECT_TRUE(win32::ReleaseMutex(held));
    EXPECT_TRUE(win32::CloseHandle(handle));
    win32::CloseHandle(owned);
    win32::CloseHandle(held);
}

TEST(ThreadTest, ThreadCallsOnAClosedHandleFail) {
    Body body{[] {}};
    const HANDLE handle = Begin(body);
    ASSERT_TRUE(WaitUntil([&] { return HandleIsClosed(handle); }));
    EXPECT_EQ(win32::SuspendThread(handle), kFailedCount);
    EXPECT_FALSE(win32::TerminateThread(handle, 0));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_HANDLE);
}

} // namespace
