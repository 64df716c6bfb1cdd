#include "foundation/BasicSet.h"
#include "foundation/BasicMap.h"
#include "foundation/String.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Vemo::BasicMap;
using Vemo::BasicMultiset;
using Vemo::BasicSet;
using Vemo::String;

template <class Container>
std::vector<typename Container::Key> Keys(const Container& container) {
    return std::vector<typename Container::Key>(container.Begin(), container.End());
}

struct NoCaseLess {
    bool operator()(const char* a, const char* b) const { return Vemo::CompareNoCase(a, b) < 0; }
};

struct NoCaseStringLess {
    bool operator()(const String& a, const String& b) const {
        return Vemo::CompareNoCase(a.CStr(), b.CStr()) < 0;
    }
};

// A multiset element whose tag tells equivalent elements apart.
struct Entry {
    int key;
    char tag;
};

struct EntryLess {
    bool operator()(const Entry& a, const Entry& b) const { return a.key < b.key; }
};

struct Counted {
    int& destroyed;
    ~Counted() { ++destroyed; }
};

std::string Tags(const BasicMultiset<Entry, EntryLess>& entries) {
    std::string tags;
    for (const Entry& entry : entries) {
        tags += entry.tag;
    }
    return tags;
}

TEST(BasicSetTest, EmptyContainersFindNothing) {
    BasicSet<int> set;
    BasicMultiset<int> multiset;
    BasicMap<int, int> map;
    EXPECT_TRUE(set.Begin() == set.End());
    EXPECT_EQ(set.Size(), 0u);
    EXPECT_TRUE(set.Find(1) == set.End());
    EXPECT_TRUE(set.LowerBound(1) == set.End());
    EXPECT_TRUE(set.UpperBound(1) == set.End());
    EXPECT_TRUE(set.EraseRange(set.Begin(), set.End()) == set.End());
    EXPECT_TRUE(multiset.Find(1) == multiset.End());
    EXPECT_TRUE(map.Find(1) == map.End());
    EXPECT_TRUE(map.Empty());
}

TEST(BasicSetTest, SearchesAndOrder) {
    BasicSet<int> set;
    for (int value : {30, 10, 20}) {
        set.Insert(value);
    }
    EXPECT_EQ(Keys(set), std::vector<int>({10, 20, 30}));
    EXPECT_EQ(*set.Find(20), 20);
    EXPECT_TRUE(set.Find(25) == set.End());
    EXPECT_EQ(*set.LowerBound(20), 20);
    EXPECT_EQ(*set.LowerBound(21), 30);
    EXPECT_EQ(*set.UpperBound(20), 30);
    EXPECT_TRUE(set.UpperBound(30) == set.End());

    auto it = set.Find(20);
    EXPECT_EQ(*--it, 10);
    EXPECT_EQ(*it++, 10);
    EXPECT_EQ(*it, 20);
}

TEST(BasicSetTest, EquivalentInsertIsRefused) {
    BasicSet<int> set;
    set.Insert(5);
    auto first = set.Insert(7);
    auto again = set.Insert(7);
    EXPECT_TRUE(first.second);
    EXPECT_FALSE(again.second);
    EXPECT_TRUE(again.first == first.first);
    EXPECT_EQ(set.Size(), 2u);
}

TEST(BasicSetTest, NoCaseNamesAreOneKey) {
    const char* first = "Alpha";
    const char* second = "ALPHA";
    BasicSet<const char*, NoCaseLess> names;
    names.Insert("beta");
    EXPECT_TRUE(names.Insert(first).second);
    auto refused = names.Insert(second);
    EXPECT_FALSE(refused.second);
    EXPECT_EQ(*refused.first, first);
    EXPECT_EQ(names.Size(), 2u);
    EXPECT_EQ(*names.Find("alpha"), first);
    EXPECT_EQ(*names.Find(second), first);
    EXPECT_TRUE(names.Find("alphas") == names.End());

    BasicMap<String, String, NoCaseStringLess> texts;
    texts.Insert(String("Title"), String("first"));
    EXPECT_FALSE(texts.Insert(String("TITLE"), String("second")).second);
    ASSERT_EQ(texts.Size(), 1u);
    EXPECT_STREQ(texts.Find(String("title"))->first.CStr(), "Title");
    EXPECT_STREQ(texts.Find(String("title"))->second.CStr(), "first");
}

TEST(BasicSetTest, MultisetKeepsEquivalentsInInsertionOrder) {
    BasicMultiset<Entry, EntryLess> entries;
    entries.Insert({2, 'x'});
    for (char tag : {'a', 'b', 'c'}) {
        EXPECT_TRUE(entries.Insert({1, tag}).second);
        entries.Insert({0, tag});
    }
    EXPECT_EQ(Tags(entries), "abcabcx");

    auto found = entries.Find({1, '?'});
    ASSERT_TRUE(found != entries.End());
    EXPECT_EQ(found->tag, 'a');
    EXPECT_TRUE(entries.LowerBound({1, '?'}) == found);
    EXPECT_EQ(entries.UpperBound({1, '?'})->key, 2);

    entries.Erase(std::next(found));
    EXPECT_EQ(Tags(entries), "abcacx");
    EXPECT_EQ(entries.Find({1, '?'})->tag, 'a');
}

TEST(BasicSetTest, MapKeepsTheFirstValue) {
    BasicMap<int, std::string> map;
    EXPECT_TRUE(map.Insert(1, "one").second);
    auto again = map.Insert({1, "uno"});
    EXPECT_FALSE(again.second);
    EXPECT_EQ(again.first->second, "one");
    EXPECT_EQ(map[1], "one");
}

TEST(BasicSetTest, MapSubscriptAddsADefaultValue) {
    BasicMap<String, int> map;
    map[String("a")] = 3;
    EXPECT_EQ(map[String("b")], 0);
    EXPECT_EQ(map.Size(), 2u);
    EXPECT_EQ(map[String("a")], 3);
    EXPECT_EQ(map.Size(), 2u);
}

TEST(BasicSetTest, ErasingOneByOneEmpties) {
    BasicSet<int> set;
    for (int value = 0; value < 10; ++value) {
        set.Insert(value);
    }
    EXPECT_TRUE(set.Erase(set.Find(9)) == set.End());
    auto it = set.Begin();
    while (it != set.End()) {
        it = set.Erase(it);
    }
    EXPECT_TRUE(set.Empty());
}

TEST(BasicSetTest, CopiesAreIndependent) {
    BasicSet<int> set;
    BasicMap<int, int> map;
    for (int value = 0; value < 5; ++value) {
        set.Insert(value);
        map[value] = value * 10;
    }
    BasicSet<int> setCopy(set);
    BasicMap<int, int> mapCopy(map);
    setCopy.Erase(setCopy.Find(2));
    mapCopy.Erase(mapCopy.Begin());
    mapCopy[4] = -1;
    EXPECT_EQ(Keys(set), std::vector<int>({0, 1, 2, 3, 4}));
    EXPECT_EQ(Keys(setCopy), std::vector<int>({0, 1, 3, 4}));
    EXPECT_EQ(map.Size(), 5u);
    EXPECT_EQ(map[4], 40);
}

TEST(BasicSetTest, ContainersOfPointersDeleteNothing) {
    int destroyed = 0;
    Counted first{destroyed};
    Counted second{destroyed};
    {
        BasicSet<Counted*> set;
        BasicMultiset<Counted*> multiset;
        BasicMap<int, Counted*> map;
        for (Counted* counted : {&first, &second}) {
            set.Insert(counted);
            multiset.Insert(counted);
            multiset.Insert(counted);
        }
        map[1] = &first;
        map[2] = &second;
        set.Erase(set.Begin());
        multiset.Clear();
        map.EraseRange(map.Begin(), map.End());
        map[3] = &first;
    }
    EXPECT_EQ(destroyed, 0);
}

} // namespace
