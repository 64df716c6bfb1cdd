#include "foundation/CriticalSection.h"

#include "platform/testing/ThreadState.h"
#include "platform/win32/kernel/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(CriticalSectionTest, IsRecursiveAndHoldsOthersOffUntilFullyLeft) {
    Vemo::CriticalSection section;
    section.Enter();
    section.Enter();
    std::atomic<bool> entered{false};
    std::atomic<win32::DWORD> otherId{0};
    std::thread other([&] {
        otherId.store(win32::GetCurrentThreadId());
        section.Enter();
        entered.store(true);
        section.Leave();
    });
    while (otherId.load() == 0) {
        std::this_thread::yield();
    }
    using win32::testing::ThreadState;
    EXPECT_TRUE(win32::testing::WaitForThreadState(otherId.load(), ThreadState::Waiting));
    section.Leave();
    // Let in, the other thread would enter and end instead of waiting on.
    EXPECT_TRUE(win32::testing::WaitForThreadState(otherId.load(), ThreadState::Waiting));
    EXPECT_FALSE(entered.load()) << "entered twice, left once: still held";
    section.Leave();
    other.join();
    EXPECT_TRUE(entered.load());
}

TEST(CriticalSectionTest, GuardsDataSharedBetweenThreads) {
    Vemo::CriticalSection section;
    long shared = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                section.Enter();
                const long seen = shared;
                shared = seen + 1;
                section.Leave();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(shared, 8000);
}

} // namespace
