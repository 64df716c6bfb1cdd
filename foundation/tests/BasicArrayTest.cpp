#include "foundation/BasicArray.h"
#include "foundation/String.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Vemo::BasicArray;
using Vemo::String;

std::vector<int> Contents(const BasicArray<int>& array) {
    return std::vector<int>(array.Begin(), array.End());
}

BasicArray<int> ArrayOf(std::initializer_list<int> values) {
    BasicArray<int> array;
    for (int value : values) {
        array.PushBack(value);
    }
    return array;
}

TEST(BasicArrayTest, NewArrayHasNoStorage) {
    BasicArray<int> array;
    EXPECT_EQ(array.Size(), 0u);
    EXPECT_EQ(array.Capacity(), 0u);
    EXPECT_TRUE(array.Empty());
    EXPECT_TRUE(array.Begin() == array.End());
}

TEST(BasicArrayTest, InsertIntoAFullArrayKeepsTheOrder) {
    BasicArray<int> array = ArrayOf({1, 2, 4, 5});
    array.Reserve(array.Size());
    while (array.Size() < array.Capacity()) {
        array.PushBack(array.Size() + 2);
    }
    const std::size_t size = array.Size();

    auto inserted = array.Insert(array.Begin() + 2, 3);
    EXPECT_EQ(*inserted, 3);
    ASSERT_EQ(array.Size(), size + 1);
    for (std::size_t i = 0; i < array.Size(); ++i) {
        EXPECT_EQ(array[i], static_cast<int>(i) + 1);
    }
}

TEST(BasicArrayTest, InsertCopiesAndRanges) {
    BasicArray<int> array = ArrayOf({1, 2});
    array.Insert(array.Begin() + 1, 0, 9);
    EXPECT_EQ(Contents(array), std::vector<int>({1, 2}));
    array.Insert(array.Begin() + 1, 2, 9);
    EXPECT_EQ(Contents(array), std::vector<int>({1, 9, 9, 2}));

    const std::vector<int> more = {7, 8};
    array.Insert(array.End(), more.begin(), more.end());
    EXPECT_EQ(Contents(array), std::vector<int>({1, 9, 9, 2, 7, 8}));
}

TEST(BasicArrayTest, EraseKeepsTheCapacity) {
    BasicArray<int> array = ArrayOf({1, 2, 3, 4});
    auto next = array.Erase(array.End() - 1);
    EXPECT_TRUE(next == array.End());
    next = array.Erase(array.Begin());
    EXPECT_EQ(*next, 2);
    next = array.EraseRange(array.Begin() + 1, array.Begin() + 1);
    EXPECT_TRUE(next == array.Begin() + 1);
    EXPECT_EQ(Contents(array), std::vector<int>({2, 3}));

    const std::size_t capacity = array.Capacity();
    next = array.EraseRange(array.Begin(), array.End());
    EXPECT_TRUE(next == array.Begin());
    EXPECT_EQ(array.Size(), 0u);
    EXPECT_EQ(array.Capacity(), capacity);
    array.PushBack(5);
    array.Clear();
    EXPECT_EQ(array.Capacity(), capacity);
}

TEST(BasicArrayTest, ReserveOnlyGrows) {
    BasicArray<int> array = ArrayOf({1, 2, 3});
    const std::size_t capacity = array.Capacity();
    array.Reserve(capacity);
    array.Reserve(1);
    EXPECT_EQ(array.Capacity(), capacity);
    array.Reserve(capacity + 100);
    EXPECT_GE(array.Capacity(), capacity + 100);
    EXPECT_EQ(Contents(array), std::vector<int>({1, 2, 3}));
}

TEST(BasicArrayTest, CopiedStringsShareTheirTextUntilChanged) {
    BasicArray<String> source;
    source.PushBack(String("alpha"));
    source.PushBack(String("beta"));
    BasicArray<String> copy(source);
    ASSERT_EQ(copy.Size(), 2u);
    EXPECT_EQ(copy[0].CStr(), source[0].CStr());
    EXPECT_EQ(copy[1].CStr(), source[1].CStr());

    copy[0].SetAt(0, 'A');
    EXPECT_STREQ(copy[0].CStr(), "Alpha");
    EXPECT_STREQ(source[0].CStr(), "alpha");
}

// Growing moves the Strings to the new storage: each keeps its share, where copying them one by one would
// push a much-shared text past 255 holders and make private copies.
TEST(BasicArrayTest, GrowingKeepsTheStringsSharing) {
    const String text("shared by many");
    BasicArray<String> array;
    array.Insert(array.End(), 200, text);
    array.Reserve(array.Capacity() + 1);
    for (const String& element : array) {
        EXPECT_EQ(element.CStr(), text.CStr());
    }
    EXPECT_EQ(*text.CountByte(), 200u);
}

TEST(BasicArrayTest, AssignmentReplacesAndSelfAssignmentKeeps) {
    BasicArray<String> target;
    target.PushBack(String("old"));
    target.PushBack(String("older"));
    target.PushBack(String("oldest"));
    BasicArray<String> source;
    source.PushBack(String("new"));
    target = source;
    ASSERT_EQ(target.Size(), 1u);
    EXPECT_STREQ(target[0].CStr(), "new");

    BasicArray<String>& alias = target;
    target = alias;
    ASSERT_EQ(target.Size(), 1u);
    EXPECT_STREQ(target[0].CStr(), "new");
}

TEST(BasicArrayTest, NestedArraysCopyDeeply) {
    BasicArray<BasicArray<int>> nested;
    nested.PushBack(ArrayOf({1, 2}));
    nested.PushBack(ArrayOf({3}));
    BasicArray<BasicArray<int>> copy(nested);
    copy[0].PushBack(9);
    copy[1].Clear();
    EXPECT_EQ(Contents(nested[0]), std::vector<int>({1, 2}));
    EXPECT_EQ(Contents(nested[1]), std::vector<int>({3}));
}

TEST(BasicArrayTest, ArrayOfPointersDeletesNothing) {
    struct Counted {
        int& destroyed;
        ~Counted() { ++destroyed; }
    };
    int destroyed = 0;
    Counted first{destroyed};
    Counted second{destroyed};
    {
        BasicArray<Counted*> array;
        array.PushBack(&first);
        array.PushBack(&second);
        array.Erase(array.Begin());
        array.Clear();
        array.PushBack(&second);
    }
    EXPECT_EQ(destroyed, 0);
}

} // namespace
