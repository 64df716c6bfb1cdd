#include "foundation/BasicDeque.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Vemo::BasicDeque;

// Enough elements to span many of the queue's storage blocks.
constexpr int kMany = 5000;

std::vector<int> Contents(const BasicDeque<int>& queue) {
    return std::vector<int>(queue.Begin(), queue.End());
}

TEST(BasicDequeTest, NewQueueIsEmpty) {
    BasicDeque<int> queue;
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(queue.Size(), 0u);
    EXPECT_TRUE(queue.Begin() == queue.End());
}

TEST(BasicDequeTest, FirstInFirstOutAcrossBlocks) {
    BasicDeque<int> queue;
    int expected = 0;
    int next = 0;
    // Push two, pop one, so the queue both grows and walks through its blocks.
    while (next < kMany) {
        queue.PushBack(next++);
        queue.PushBack(next++);
        ASSERT_EQ(queue.Front(), expected);
        queue.PopFront();
        ++expected;
    }
    EXPECT_EQ(queue.Back(), kMany - 1);
    while (!queue.Empty()) {
        ASSERT_EQ(queue.Front(), expected++);
        queue.PopFront();
    }
    EXPECT_EQ(expected, kMany);
}

TEST(BasicDequeTest, EmptiedQueueAcceptsMore) {
    BasicDeque<int> queue;
    queue.PushBack(1);
    queue.PopFront();
    EXPECT_TRUE(queue.Empty());
    queue.PushBack(2);
    EXPECT_EQ(queue.Size(), 1u);
    EXPECT_EQ(queue.Front(), 2);
}

TEST(BasicDequeTest, ElementsStayPutWhileOthersComeAndGo) {
    BasicDeque<int> queue;
    queue.PushBack(-1);
    queue.PushBack(42);
    const int& kept = queue.Back();
    queue.PopFront();
    for (int i = 0; i < kMany; ++i) {
        queue.PushBack(i);
    }
    EXPECT_EQ(kept, 42);
    EXPECT_EQ(&kept, &queue.Front());
}

TEST(BasicDequeTest, CopiesAreIndependent) {
    BasicDeque<int> source;
    for (int i = 0; i < kMany; ++i) {
        source.PushBack(i);
    }
    BasicDeque<int> copy(source);
    EXPECT_EQ(Contents(copy), Contents(source));
    copy.PopFront();
    copy.PushBack(-1);
    EXPECT_EQ(source.Size(), static_cast<std::size_t>(kMany));
    EXPECT_EQ(source.Front(), 0);
    EXPECT_EQ(source.Back(), kMany - 1);
}

TEST(BasicDequeTest, EraseRange) {
    BasicDeque<int> queue;
    for (int i = 0; i < 6; ++i) {
        queue.PushBack(i);
    }
    auto next = queue.EraseRange(queue.Begin() + 1, queue.Begin() + 3);
    EXPECT_EQ(*next, 3);
    EXPECT_EQ(Contents(queue), std::vector<int>({0, 3, 4, 5}));

    for (int i = 0; i < kMany; ++i) {
        queue.PushBack(i);
    }
    next = queue.EraseRange(queue.Begin(), queue.End());
    EXPECT_TRUE(next == queue.End());
    EXPECT_TRUE(queue.Empty());
}

TEST(BasicDequeTest, QueueOfPointersDeletesNothing) {
    struct Event {
        int& destroyed;
        ~Event() { ++destroyed; }
    };
    int destroyed = 0;
    Event first{destroyed};
    Event second{destroyed};
    {
        BasicDeque<Event*> queue;
        queue.PushBack(&first);
        queue.PushBack(&second);
        queue.PopFront();
        queue.Clear();
        queue.PushBack(&first);
    }
    EXPECT_EQ(destroyed, 0);
}

} // namespace
