#include "foundation/BasicArray.h"
#include "foundation/BasicDeque.h"
#include "foundation/BasicList.h"
#include "foundation/BasicMap.h"
#include "foundation/BasicSet.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <vector>

namespace {

using Vemo::BasicArray;
using Vemo::BasicDeque;
using Vemo::BasicList;
using Vemo::BasicMap;
using Vemo::BasicMultiset;
using Vemo::BasicSet;

// An element that counts every copy made of it and has no move of its own, so that a container moving its
// elements one by one would show as copies.
struct Counted {
    static inline int s_copies = 0;

    explicit Counted(int value) : m_value(value) {}
    Counted(const Counted& other) : m_value(other.m_value) { ++s_copies; }
    Counted& operator=(const Counted& other) {
        m_value = other.m_value;
        ++s_copies;
        return *this;
    }
    bool operator<(const Counted& other) const { return m_value < other.m_value; }

    int m_value;
};

void Add(BasicArray<Counted>& container, int value) {
    container.PushBack(Counted(value));
}
void Add(BasicList<Counted>& container, int value) {
    container.PushBack(Counted(value));
}
void Add(BasicDeque<Counted>& container, int value) {
    container.PushBack(Counted(value));
}
void Add(BasicSet<Counted>& container, int value) {
    container.Insert(Counted(value));
}
void Add(BasicMultiset<Counted>& container, int value) {
    container.Insert(Counted(value));
}
void Add(BasicMap<int, Counted>& container, int value) {
    container.Insert(value, Counted(value));
}

int ValueOf(const Counted& element) {
    return element.m_value;
}
int ValueOf(const std::pair<const int, Counted>& element) {
    return element.second.m_value;
}

template <class Container>
std::vector<int> Values(const Container& container) {
    std::vector<int> values;
    for (const auto& element : container) {
        values.push_back(ValueOf(element));
    }
    return values;
}

template <class Container>
Container Holding(int count) {
    Container container;
    for (int value = 0; value < count; ++value) {
        Add(container, value);
    }
    return container;
}

std::vector<int> Upto(int count) {
    std::vector<int> values;
    for (int value = 0; value < count; ++value) {
        values.push_back(value);
    }
    return values;
}

// What a move leaves behind: an empty container that takes elements as a new one does.
template <class Container>
void ExpectEmptyAndUsable(Container& moved) {
    EXPECT_TRUE(moved.Empty());
    EXPECT_EQ(moved.Size(), 0u);
    EXPECT_TRUE(moved.Begin() == moved.End());
    Add(moved, 7);
    EXPECT_EQ(Values(moved), std::vector<int>({7}));
}

// Runs the test once for each kind of container, named in a failure's trace.
template <class Test>
void ForEachContainer(Test test) {
    test(std::type_identity<BasicArray<Counted>>(), "Array");
    test(std::type_identity<BasicList<Counted>>(), "List");
    test(std::type_identity<BasicDeque<Counted>>(), "Deque");
    test(std::type_identity<BasicSet<Counted>>(), "Set");
    test(std::type_identity<BasicMultiset<Counted>>(), "Multiset");
    test(std::type_identity<BasicMap<int, Counted>>(), "Map");
}

// A move construction, then a move assignment onto a container that holds elements of its own.
TEST(BasicContainerTest, MovesCopyNoElementAndLeaveTheSourceEmpty) {
    ForEachContainer([]<class Container>(std::type_identity<Container>, const char* kind) {
        SCOPED_TRACE(kind);
        Container source = Holding<Container>(1000);
        Container target = Holding<Container>(3);
        Counted::s_copies = 0;

        Container moved(std::move(source));
        EXPECT_EQ(Counted::s_copies, 0);
        EXPECT_EQ(Values(moved), Upto(1000));
        ExpectEmptyAndUsable(source);

        Counted::s_copies = 0;
        target = std::move(moved);
        EXPECT_EQ(Counted::s_copies, 0);
        EXPECT_EQ(Values(target), Upto(1000));
        ExpectEmptyAndUsable(moved);
    });
}

TEST(BasicContainerTest, MoveOntoItselfKeepsTheElements) {
    ForEachContainer([]<class Container>(std::type_identity<Container>, const char* kind) {
        SCOPED_TRACE(kind);
        Container container = Holding<Container>(5);
        Container& alias = container;
        container = std::move(alias);
        EXPECT_EQ(Values(container), Upto(5));
    });
}

// An array of arrays grows by moving its inner arrays, not by copying what they hold.
TEST(BasicContainerTest, GrowingAnArrayOfArraysCopiesOnlyTheNewElement) {
    BasicArray<BasicArray<Counted>> outer;
    outer.Reserve(4);
    while (outer.Size() < outer.Capacity()) {
        outer.PushBack(Holding<BasicArray<Counted>>(100));
    }
    const BasicArray<Counted> inner = Holding<BasicArray<Counted>>(10);
    Counted::s_copies = 0;

    outer.PushBack(inner);
    EXPECT_EQ(Counted::s_copies, 10);
    EXPECT_EQ(Values(outer[0]), Upto(100));
}

} // namespace
