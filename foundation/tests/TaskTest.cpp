#include "foundation/Task.h"

#include "platform/testing/DebugOutput.h"
#include "platform/testing/ThreadState.h"
#include "platform/win32/kernel/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

bool Ends(const Vemo::Task& task) {
    return WaitUntil([&] { return !task.IsStarted(); });
}

class ValueTask : public Vemo::Task {
public:
    explicit ValueTask(std::uint8_t value) : m_value(value) {}
    std::uint8_t Run() override { return m_value; }

private:
    std::uint8_t m_value;
};

// Runs until released, recording which thread its hooks run on.
class HeldTask : public Vemo::Task {
public:
    ~HeldTask() override {
        Release();
        Ends(*this);
    }

    void Release() { m_released.store(true); }
    bool IsRunning() const { return m_running.load(); }

    std::uint8_t Run() override {
        m_runThread.store(win32::GetCurrentThreadId());
        m_running.store(true);
        while (!m_released.load()) {
            std::this_thread::sleep_for(1ms);
        }
        return 42;
    }
    void OnThreadStart() override { m_startThread.store(win32::GetCurrentThreadId()); }
    void OnThreadEnd() override { m_endThread.store(win32::GetCurrentThreadId()); }
    void OnSuspended() override { m_suspendedOn.store(win32::GetCurrentThreadId()); }
    void OnResumed() override { m_resumedOn.store(win32::GetCurrentThreadId()); }

    std::atomic<std::uint32_t> m_runThread{0};
    std::atomic<std::uint32_t> m_startThread{0};
    std::atomic<std::uint32_t> m_endThread{0};
    std::atomic<std::uint32_t> m_suspendedOn{0};
    std::atomic<std::uint32_t> m_resumedOn{0};

private:
    std::atomic<bool> m_released{false};
    std::atomic<bool> m_running{false};
};

TEST(TaskTest, TheBaseRunReturnsOneAndTheTaskEnds) {
    Vemo::Task task;
    EXPECT_FALSE(task.IsStarted());
    EXPECT_EQ(task.GetResult(), 0);
    ASSERT_TRUE(task.Start());
    ASSERT_TRUE(Ends(task));
    EXPECT_EQ(task.GetResult(), 1);
    EXPECT_EQ(task.GetThreadId(), 0u);
}

TEST(TaskTest, ARunThatReturnsAtOnceAlwaysEndsWithItsResult) {
    platform::testing::DebugOutputCapture debugOutput;
    for (int i = 0; i < 300; ++i) {
        const auto value = static_cast<std::uint8_t>(i);
        auto task = std::make_unique<ValueTask>(value);
        ASSERT_TRUE(task->Start()) << i;
        ASSERT_TRUE(Ends(*task)) << "run " << i << " never turned IsStarted false";
        EXPECT_EQ(task->GetResult(), value);
        EXPECT_EQ(task->GetThreadId(), 0u);
    }
    EXPECT_TRUE(debugOutput.Texts().empty()) << "no task was destroyed while its thread ran";
}

TEST(TaskTest, ATaskCanRunAgainAfterItsThreadEnded) {
    ValueTask task(0);
    for (int run = 0; run < 3; ++run) {
        ASSERT_TRUE(task.Start());
        ASSERT_TRUE(Ends(task));
        EXPECT_EQ(task.GetResult(), 0);
    }
}

// Records what the task looks like from its own thread as Run begins.
class SelfObservingTask : public Vemo::Task {
public:
    std::uint8_t Run() override {
        m_startedInRun = IsStarted();
        m_idInRun = GetThreadId();
        return 0;
    }

    bool m_startedInRun = false;
    std::uint32_t m_idInRun = 0;
};

TEST(TaskTest, RunBeginsOnlyOnceStartHasPublishedTheThread) {
    for (int i = 0; i < 50; ++i) {
        SelfObservingTask task;
        ASSERT_TRUE(task.Start());
        ASSERT_TRUE(Ends(task));
        EXPECT_TRUE(task.m_startedInRun);
        EXPECT_NE(task.m_idInRun, 0u);
    }
}

TEST(TaskTest, ASecondStartWhileRunningIsRefused) {
    HeldTask task;
    ASSERT_TRUE(task.Start());
    EXPECT_FALSE(task.Start());
    task.Release();
    ASSERT_TRUE(Ends(task));
    EXPECT_EQ(task.GetResult(), 42);
}

TEST(TaskTest, HooksRunOnTheirThreads) {
    HeldTask task;
    ASSERT_TRUE(task.Start());
    ASSERT_TRUE(WaitUntil([&] { return task.IsRunning(); }));
    const std::uint32_t threadId = task.GetThreadId();
    EXPECT_NE(threadId, 0u);
    EXPECT_NE(threadId, win32::GetCurrentThreadId());
    EXPECT_EQ(task.m_startThread.load(), threadId);
    EXPECT_EQ(task.m_runThread.load(), threadId);

    ASSERT_TRUE(task.Suspend());
    EXPECT_EQ(task.m_suspendedOn.load(), win32::GetCurrentThreadId());
    ASSERT_TRUE(task.Resume());
    EXPECT_EQ(task.m_resumedOn.load(), win32::GetCurrentThreadId());

    task.Release();
    ASSERT_TRUE(Ends(task));
    EXPECT_EQ(task.m_endThread.load(), threadId);
}

TEST(TaskTest, MapsPrioritiesBothWays) {
    struct Case {
        std::int8_t set;
        std::int8_t readBack;
    };
    const Case cases[] = {
        {-128, -128}, {-65, -128}, {-64, -64}, {-17, -64}, {-16, -16}, {-5, -16}, {-4, 0},    {0, 0},
        {3, 0},       {4, 15},     {15, 15},   {16, 63},   {63, 63},   {64, 127}, {127, 127},
    };
    HeldTask task;
    ASSERT_TRUE(task.Start());
    for (const Case& c : cases) {
        EXPECT_TRUE(task.SetPriority(c.set)) << int(c.set);
        EXPECT_EQ(task.GetPriority(), c.readBack) << int(c.set);
    }
}

TEST(TaskTest, ATaskWithoutAThreadFailsItsThreadOperations) {
    HeldTask task;
    EXPECT_FALSE(task.Suspend());
    EXPECT_FALSE(task.Resume());
    EXPECT_EQ(task.m_suspendedOn.load(), 0u);
    EXPECT_EQ(task.m_resumedOn.load(), 0u);
    EXPECT_FALSE(task.SetPriority(10));
    EXPECT_EQ(task.GetPriority(), 0);
}

// Counts in a loop that never looks at the task, as a thread stuck for good would.
class StuckTask : public Vemo::Task {
public:
    StuckTask(std::atomic<long>* counter, std::atomic<win32::DWORD>* threadId)
        : m_counter(counter), m_threadId(threadId) {}

    std::uint8_t Run() override {
        std::atomic<long>* counter = m_counter;
        m_threadId->store(win32::GetCurrentThreadId());
        for (;;) {
            counter->fetch_add(1);
        }
    }

private:
    std::atomic<long>* m_counter;
    std::atomic<win32::DWORD>* m_threadId;
};

TEST(TaskTest, DestroyingATaskWhoseThreadRunsStopsTheThread) {
    platform::testing::DebugOutputCapture debugOutput;
    std::atomic<long> counter{0};
    std::atomic<win32::DWORD> threadId{0};
    auto task = std::make_unique<StuckTask>(&counter, &threadId);
    ASSERT_TRUE(task->Start());
    ASSERT_TRUE(WaitUntil([&] { return counter.load() > 0; }));
    task.reset();

    EXPECT_EQ(debugOutput.Texts(),
              std::vector<std::string>{"This should not happen. Look at timing issues.\n"});
    const long stopped = counter.load();
    EXPECT_TRUE(win32::testing::WaitForThreadState(threadId.load(), win32::testing::ThreadState::Gone));
    EXPECT_EQ(counter.load(), stopped);
}

} // namespace
