#include "foundation/CriticalSection.h"

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
    std::thread other([&] {
        section.Enter();
        entered.store(true);
        section.Leave();
    });
    std::this_thread::sleep_for(20ms);
    section.Leave();
    std::this_thread::sleep_for(20ms);
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
