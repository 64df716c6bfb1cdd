#include "foundation/Mutex.h"

#include "foundation/String.h"
#include "platform/testing/ThreadState.h"
#include "platform/win32/kernel/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// What another thread sees of the mutex; a successful Lock there is undone before the thread ends.
bool LockFromAnotherThread(Vemo::Mutex& mutex) {
    bool locked = false;
    std::thread([&] {
        locked = mutex.Lock(false);
        if (locked) {
            mutex.Unlock();
        }
    }).join();
    return locked;
}

bool IsLockedFromAnotherThread(Vemo::Mutex& mutex) {
    bool locked = false;
    std::thread([&] { locked = mutex.IsLocked(); }).join();
    return locked;
}

TEST(MutexTest, LocksRecursivelyForItsHolderAndExcludesOthers) {
    Vemo::Mutex mutex;
    ASSERT_TRUE(mutex.Create());
    EXPECT_TRUE(mutex.Lock(false));
    EXPECT_TRUE(mutex.Lock(true));
    EXPECT_FALSE(mutex.IsLocked()) << "the holder's own test succeeds and is undone";
    EXPECT_TRUE(IsLockedFromAnotherThread(mutex));
    EXPECT_FALSE(LockFromAnotherThread(mutex));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(LockFromAnotherThread(mutex));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_TRUE(LockFromAnotherThread(mutex));
    EXPECT_FALSE(mutex.Unlock()) << "not held any more";
}

TEST(MutexTest, IsLockedOnAFreeMutexLeavesItFree) {
    Vemo::Mutex mutex;
    ASSERT_TRUE(mutex.Create());
    EXPECT_FALSE(mutex.IsLocked());
    EXPECT_FALSE(IsLockedFromAnotherThread(mutex));
    EXPECT_TRUE(LockFromAnotherThread(mutex));
}

TEST(MutexTest, LockWithWaitBlocksUntilTheHolderUnlocks) {
    Vemo::Mutex mutex;
    ASSERT_TRUE(mutex.Create());
    ASSERT_TRUE(mutex.Lock(true));
    std::atomic<bool> locked{false};
    std::atomic<win32::DWORD> waiterId{0};
    std::thread waiter([&] {
        waiterId.store(win32::GetCurrentThreadId());
        locked.store(mutex.Lock(true));
        mutex.Unlock();
    });
    while (waiterId.load() == 0) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(win32::testing::WaitForThreadState(waiterId.load(), win32::testing::ThreadState::Waiting));
    EXPECT_FALSE(locked.load());
    EXPECT_TRUE(mutex.Unlock());
    waiter.join();
    EXPECT_TRUE(locked.load());
}

TEST(MutexTest, AMutexWhoseHolderEndedIsTakenOver) {
    Vemo::Mutex mutex;
    ASSERT_TRUE(mutex.Create());
    std::thread([&] { ASSERT_TRUE(mutex.Lock(true)); }).join();
    EXPECT_TRUE(mutex.Lock(false));
    EXPECT_FALSE(LockFromAnotherThread(mutex));
    EXPECT_TRUE(mutex.Unlock());
}

TEST(MutexTest, AMutexThatWasNeverCreatedIsNeverLocked) {
    Vemo::Mutex mutex;
    EXPECT_FALSE(mutex.Lock(true)) << "a failed wait must not let the caller on as if it held the mutex";
    EXPECT_FALSE(mutex.Lock(false));
    EXPECT_FALSE(mutex.Unlock());
    EXPECT_FALSE(mutex.IsLocked());
}

TEST(MutexTest, ANameWithoutTextMakesAnUnnamedMutex) {
    Vemo::Mutex first;
    Vemo::Mutex second;
    ASSERT_TRUE(first.Create(Vemo::String()));
    ASSERT_TRUE(second.Create(Vemo::String("")));
    ASSERT_TRUE(first.Lock(false));
    EXPECT_TRUE(LockFromAnotherThread(second));
    first.Unlock();
}

TEST(MutexTest, MutexesCreatedWithOneNameShareTheLock) {
    // Unique to this run: named mutexes are seen by every process.
    const std::string name = "vemo mutex test " + std::to_string(std::random_device()());
    Vemo::Mutex first;
    Vemo::Mutex second;
    ASSERT_TRUE(first.Create(Vemo::String(name.c_str())));
    ASSERT_TRUE(second.Create(Vemo::String(name.c_str())));
    ASSERT_TRUE(first.Lock(false));
    EXPECT_FALSE(LockFromAnotherThread(second));
    EXPECT_TRUE(IsLockedFromAnotherThread(second));
    EXPECT_TRUE(second.Unlock()) << "the same mutex, held by this thread";
    EXPECT_TRUE(LockFromAnotherThread(first));
}

} // namespace
