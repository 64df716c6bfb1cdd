#include "foundation/BasicList.h"
#include "foundation/AutoPointer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Vemo::AutoPointer;
using Vemo::BasicList;

std::vector<int> Contents(const BasicList<int>& list) {
    return std::vector<int>(list.Begin(), list.End());
}

BasicList<int> ListOf(std::initializer_list<int> values) {
    BasicList<int> list;
    for (int value : values) {
        list.PushBack(value);
    }
    return list;
}

// Stands in for a directory found by a search: a class destroyed through its base's virtual destructor.
class Node {
public:
    virtual ~Node() = default;
};

class CountedNode : public Node {
public:
    explicit CountedNode(int& destroyed) : m_destroyed(destroyed) {}
    ~CountedNode() override { ++m_destroyed; }

private:
    int& m_destroyed;
};

TEST(BasicListTest, NewListIsEmpty) {
    BasicList<int> list;
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_TRUE(list.Begin() == list.End());
}

TEST(BasicListTest, EraseReturnsTheFollowingPosition) {
    BasicList<int> list = ListOf({1, 2, 3});
    auto next = list.Erase(std::next(list.Begin()));
    ASSERT_TRUE(next != list.End());
    EXPECT_EQ(*next, 3);
    EXPECT_EQ(Contents(list), std::vector<int>({1, 3}));

    EXPECT_TRUE(list.Erase(next) == list.End());
}

TEST(BasicListTest, EraseWhileWalking) {
    BasicList<int> byResult = ListOf({1, 2, 2, 3, 4, 4, 5, 6});
    for (auto it = byResult.Begin(); it != byResult.End();) {
        it = *it % 2 == 0 ? byResult.Erase(it) : std::next(it);
    }
    EXPECT_EQ(Contents(byResult), std::vector<int>({1, 3, 5}));

    // Advancing with the post-increment before erasing keeps the walk on live elements.
    BasicList<int> byIncrement = ListOf({1, 2, 2, 3, 4, 4, 5, 6});
    for (auto it = byIncrement.Begin(); it != byIncrement.End();) {
        auto current = it++;
        if (*current % 2 == 0) {
            byIncrement.Erase(current);
        }
    }
    EXPECT_EQ(Contents(byIncrement), std::vector<int>({1, 3, 5}));
}

TEST(BasicListTest, InsertBeforeAPositionReturnsTheNewElement) {
    BasicList<int> list = ListOf({1, 3});
    auto inserted = list.Insert(std::next(list.Begin()), 2);
    EXPECT_EQ(*inserted, 2);
    list.Insert(list.End(), 4);
    list.PopFront();
    EXPECT_EQ(Contents(list), std::vector<int>({2, 3, 4}));
}

TEST(BasicListTest, EraseRange) {
    BasicList<int> list = ListOf({1, 2, 3});
    auto middle = std::next(list.Begin());
    EXPECT_TRUE(list.EraseRange(middle, middle) == middle);
    EXPECT_EQ(Contents(list), std::vector<int>({1, 2, 3}));

    EXPECT_TRUE(list.EraseRange(list.Begin(), list.End()) == list.End());
    EXPECT_EQ(list.Size(), 0u);
}

TEST(BasicListTest, RemoveTakesEveryEqualElement) {
    BasicList<int> list = ListOf({7, 1, 7, 2, 7, 3});
    list.Remove(7);
    EXPECT_EQ(Contents(list), std::vector<int>({1, 2, 3}));
    list.Remove(9);
    EXPECT_EQ(Contents(list), std::vector<int>({1, 2, 3}));

    // The value may be one of the elements being removed.
    BasicList<int> self = ListOf({4, 5, 4});
    self.Remove(self.Front());
    EXPECT_EQ(Contents(self), std::vector<int>({5}));
}

TEST(BasicListTest, CopiesAreIndependent) {
    BasicList<int> source = ListOf({1, 2, 3});
    BasicList<int> copy(source);
    copy.Remove(2);
    copy.PushBack(9);
    EXPECT_EQ(Contents(source), std::vector<int>({1, 2, 3}));
    EXPECT_EQ(Contents(copy), std::vector<int>({1, 3, 9}));
}

TEST(BasicListTest, ListOfPointersDeletesNothing) {
    int destroyed = 0;
    CountedNode first(destroyed);
    CountedNode second(destroyed);
    {
        BasicList<Node*> list;
        list.PushBack(&first);
        list.PushBack(&second);
        list.Erase(list.Begin());
        list.Clear();
        list.PushBack(&first);
    }
    EXPECT_EQ(destroyed, 0);
}

TEST(BasicListTest, ListOfAutoPointersDeletesOnlyWhatItOwns) {
    int destroyed = 0;
    CountedNode notOwned(destroyed);
    {
        BasicList<AutoPointer<Node>> list;
        list.PushBack(AutoPointer<Node>(new CountedNode(destroyed)));
        list.PushBack(AutoPointer<Node>(&notOwned, false));
        list.PushBack(AutoPointer<Node>(new CountedNode(destroyed)));
        EXPECT_EQ(destroyed, 0);
        list.Erase(list.Begin());
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 2);
}

TEST(AutoPointerTest, CopyIntoAListTransfersOwnership) {
    int destroyed = 0;
    BasicList<AutoPointer<Node>> list;
    {
        AutoPointer<Node> source(new CountedNode(destroyed));
        list.PushBack(source);
        EXPECT_FALSE(source.Owns());
        EXPECT_EQ(source.Get(), list.Front().Get());
        EXPECT_TRUE(list.Front().Owns());
    }
    EXPECT_EQ(destroyed, 0);
    list.Clear();
    EXPECT_EQ(destroyed, 1);
}

TEST(AutoPointerTest, AssignmentKeepsExactlyOneOwner) {
    int destroyed = 0;
    {
        AutoPointer<Node> owner(new CountedNode(destroyed));
        AutoPointer<Node> other(new CountedNode(destroyed));
        other = owner;
        EXPECT_EQ(destroyed, 1);
        EXPECT_TRUE(other.Owns());
        EXPECT_FALSE(owner.Owns());

        // Taking back the same pointer from a holder that does not own it keeps the ownership here.
        other = owner;
        EXPECT_TRUE(other.Owns());
        EXPECT_FALSE(owner.Owns());
        owner = other;
        EXPECT_TRUE(owner.Owns());
        EXPECT_FALSE(other.Owns());
    }
    EXPECT_EQ(destroyed, 2);
}

TEST(AutoPointerTest, ReleaseAndNullHolders) {
    int destroyed = 0;
    CountedNode* node = new CountedNode(destroyed);
    {
        AutoPointer<Node> holder(node);
        EXPECT_EQ(holder.Release(), node);
        EXPECT_FALSE(holder.Owns());
    }
    EXPECT_EQ(destroyed, 0);
    delete node;

    AutoPointer<Node> empty;
    EXPECT_FALSE(empty.Owns());
    EXPECT_EQ(empty.Get(), nullptr);
}

TEST(AutoPointerTest, BufferIsFreedAsAnArray) {
    AutoPointer<char[]> buffer(new char[64]);
    buffer[63] = 'x';
    EXPECT_TRUE(buffer.Owns());
    AutoPointer<char[]> moved(buffer);
    EXPECT_EQ(moved[63], 'x');
    EXPECT_FALSE(buffer.Owns());
}

} // namespace
