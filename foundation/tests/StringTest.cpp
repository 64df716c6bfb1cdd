#include "foundation/String.h"
#include "foundation/Exception.h"
#include "foundation/Win32String.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Vemo::BoundedWideLength;
using Vemo::RangeException;
using Vemo::String;
using Vemo::Win32String;

constexpr std::uint32_t kNotFound = String::kNotFound;
constexpr std::uint32_t kAll = String::kAll;

std::string Text(const String& s) {
    return std::string(s.CStr(), s.Length());
}

unsigned ShareCount(const String& s) {
    return *s.CountByte();
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// A private String of the given length whose capacity is length OR 30.
String Filled(std::uint32_t length) {
    std::string text;
    for (std::uint32_t i = 0; i < length; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    return String(text.c_str());
}

TEST(StringTest, EmptyStringHasNoBufferAndReadsAsEmptyText) {
    String empty;
    EXPECT_FALSE(empty.HasBuffer());
    EXPECT_STREQ(empty.CStr(), "");
    EXPECT_EQ(empty.Capacity(), 0u);
    EXPECT_FALSE(empty.CanShare());

    EXPECT_FALSE(String("").HasBuffer());
    EXPECT_FALSE(String(static_cast<const char*>(nullptr)).HasBuffer());
}

TEST(StringTest, CopySharesTheBuffer) {
    String original("Quorven");
    String copy(original);
    EXPECT_EQ(copy.CStr(), original.CStr());
    EXPECT_EQ(ShareCount(original), 1u);

    String assigned;
    assigned = original;
    EXPECT_EQ(assigned.CStr(), original.CStr());
    EXPECT_EQ(ShareCount(original), 2u);
}

TEST(StringTest, EmptySourcesAreNeverShared) {
    String neverFilled;
    String copyOfNothing(neverFilled);
    EXPECT_FALSE(copyOfNothing.HasBuffer());

    String erased("text");
    erased.Erase(0, kAll);
    ASSERT_TRUE(erased.HasBuffer());
    String copyOfErased(erased);
    EXPECT_FALSE(copyOfErased.HasBuffer());
    EXPECT_EQ(ShareCount(erased), 0u);

    String target("old text");
    target = erased;
    EXPECT_FALSE(target.HasBuffer());
}

TEST(StringTest, ShareCountStopsAt255AndComesBack) {
    String source("shared text");
    std::vector<String> holders;
    holders.reserve(256);
    for (int i = 0; i < 254; ++i) {
        holders.emplace_back(source);
    }
    EXPECT_EQ(ShareCount(source), 254u);
    EXPECT_TRUE(source.CanShare());

    holders.emplace_back(source);
    EXPECT_EQ(ShareCount(source), 255u);
    EXPECT_EQ(holders.back().CStr(), source.CStr());
    EXPECT_FALSE(source.CanShare());

    String privateCopy(source);
    EXPECT_NE(privateCopy.CStr(), source.CStr());
    EXPECT_EQ(Text(privateCopy), "shared text");
    EXPECT_EQ(ShareCount(privateCopy), 0u);
    EXPECT_EQ(ShareCount(source), 255u);

    String assigned("other");
    assigned = source;
    EXPECT_NE(assigned.CStr(), source.CStr());
    EXPECT_EQ(Text(assigned), "shared text");
    EXPECT_EQ(ShareCount(source), 255u);

    // A holder of the full buffer assigned from it drops its share and makes its own copy.
    holders.back() = source;
    EXPECT_NE(holders.back().CStr(), source.CStr());
    EXPECT_EQ(ShareCount(source), 254u);
    holders.pop_back();

    holders.emplace_back(source);
    EXPECT_EQ(holders.back().CStr(), source.CStr());
    EXPECT_EQ(ShareCount(source), 255u);
}

TEST(StringTest, MoveHandsTheBufferOverWithItsShareCount) {
    String source("moved text");
    const String holder(source);
    const char* text = source.CStr();

    String moved(std::move(source));
    EXPECT_EQ(moved.CStr(), text);
    EXPECT_EQ(ShareCount(moved), 1u);
    EXPECT_FALSE(source.HasBuffer());
    EXPECT_EQ(source.Length(), 0u);
    EXPECT_EQ(source.Capacity(), 0u);
    EXPECT_STREQ(source.CStr(), "");

    // The target's own buffer is released: the share it held on another text goes back.
    String other("other text");
    String target(other);
    target = std::move(moved);
    EXPECT_EQ(target.CStr(), text);
    EXPECT_EQ(ShareCount(other), 0u);
    EXPECT_EQ(ShareCount(target), 1u);
    EXPECT_FALSE(moved.HasBuffer());

    // A moved-from String is an ordinary empty one.
    moved.Append("again");
    source = target;
    EXPECT_EQ(Text(moved), "again");
    EXPECT_EQ(Text(source), "moved text");
    EXPECT_EQ(ShareCount(holder), 2u);
}

TEST(StringTest, MovingAFullyHeldBufferKeepsItShared) {
    String source("shared text");
    std::vector<String> holders(255, source);
    ASSERT_EQ(ShareCount(source), 255u);

    String moved(std::move(holders.back()));
    EXPECT_EQ(moved.CStr(), source.CStr());
    String assigned;
    assigned = std::move(holders.front());
    EXPECT_EQ(assigned.CStr(), source.CStr());
    EXPECT_EQ(ShareCount(source), 255u);
}

TEST(StringTest, MoveOntoItselfChangesNothing) {
    String text("itself");
    String& alias = text;
    text = std::move(alias);
    EXPECT_EQ(Text(text), "itself");
    EXPECT_EQ(ShareCount(text), 0u);
}

TEST(StringTest, EachStringKeepsItsConversionBufferThroughAMove) {
    String source("text");
    const char* narrowed = source.NarrowFromWide(u"wide", 4);
    String moved(std::move(source));
    EXPECT_STREQ(narrowed, "wide");
    EXPECT_STREQ(moved.NarrowFromWide(u"own", 3), "own");
    EXPECT_STREQ(narrowed, "wide");
}

struct Mutation {
    const char* name;
    std::function<void(String&)> apply;
    const char* expected;
};

TEST(StringTest, WritingThroughOneHolderLeavesTheOtherUnchanged) {
    const Mutation mutations[] = {
        {"SetAt", [](String& s) { s.SetAt(1, 'X'); }, "sXared"},
        {"SetAt NUL", [](String& s) { s.SetAt(2, '\0'); }, "sh"},
        {"Erase", [](String& s) { s.Erase(1, 2); }, "sred"},
        {"Append text", [](String& s) { s.Append("!"); }, "shared!"},
        {"Append characters", [](String& s) { s.Append(2, '-'); }, "shared--"},
        {"Insert", [](String& s) { s.Insert(0, 2, '>'); }, ">>shared"},
        {"Assign text", [](String& s) { s.Assign("new", 3); }, "new"},
        {"Assign characters", [](String& s) { s.Assign(std::size_t{4}, 'q'); }, "qqqq"},
    };
    for (const Mutation& m : mutations) {
        SCOPED_TRACE(m.name);
        String original("shared");
        String holder(original);
        m.apply(holder);
        EXPECT_EQ(Text(holder), m.expected);
        EXPECT_EQ(Text(original), "shared");
        EXPECT_EQ(ShareCount(original), 0u);
        EXPECT_NE(holder.CStr(), original.CStr());
    }
}

TEST(StringTest, OperationsThatChangeNothingKeepTheShare) {
    String original("shared");
    String holder(original);
    holder.Erase(7, 3);
    holder.Append(original, 7, 3);
    holder.Append(3, '\0');
    holder.Insert(2, 2, '\0');
    holder.Assign(std::size_t{5}, '\0');
    EXPECT_EQ(holder.CStr(), original.CStr());
    EXPECT_EQ(ShareCount(original), 1u);
}

struct GrowthCase {
    std::uint32_t initialLength;
    bool append; // false: the whole text is replaced
    std::uint32_t newLength;
    std::uint32_t capacity;
};

TEST(StringTest, CapacityFollowsTheGrowthRule) {
    const GrowthCase cases[] = {
        {0, true, 1, 31},    {0, false, 30, 30},   {0, false, 31, 31},  {0, false, 32, 62},
        {32, true, 63, 126}, {31, true, 100, 126}, {32, true, 70, 126}, {32, false, 70, 94},
        {32, false, 10, 62}, {32, true, 40, 62},
    };
    for (const GrowthCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.initialLength << (c.append ? " append to " : " assign ") << c.newLength);
        String s;
        if (c.initialLength > 0) {
            const std::string initial(c.initialLength, 'i');
            s.Assign(initial.c_str(), c.initialLength);
        }
        const std::string more(c.newLength, 'n');
        if (c.append) {
            s.Append(more.c_str(), c.newLength - c.initialLength);
        } else {
            s.Assign(more.c_str(), c.newLength);
        }
        EXPECT_EQ(s.Length(), c.newLength);
        EXPECT_EQ(s.Capacity(), c.capacity);
    }
}

TEST(StringTest, AppendingCharacterByCharacterDoublesTheBuffer) {
    String s;
    std::vector<std::uint32_t> capacities;
    for (int i = 0; i < 1000; ++i) {
        s.Append(1, 'x');
        if (capacities.empty() || capacities.back() != s.Capacity()) {
            capacities.push_back(s.Capacity());
        }
    }
    EXPECT_EQ(capacities, (std::vector<std::uint32_t>{31, 62, 126, 254, 510, 1022}));
    EXPECT_EQ(Text(s), std::string(1000, 'x'));
}

TEST(StringTest, ReplacementReusesALargeEnoughPrivateBuffer) {
    String s(std::string(50, 'x').c_str());
    const char* buffer = s.CStr();
    s.Assign("short", 5);
    EXPECT_EQ(s.CStr(), buffer);
    EXPECT_EQ(s.Capacity(), 62u);
    EXPECT_EQ(Text(s), "short");

    String other("other text");
    s = other;
    EXPECT_EQ(s.CStr(), other.CStr());

    // A shared buffer is dropped even when it is large enough.
    s.Assign("tiny", 4);
    EXPECT_NE(s.CStr(), other.CStr());
    EXPECT_EQ(Text(other), "other text");
}

TEST(StringTest, EmptyingOperationsReleaseTheBuffer) {
    const std::function<void(String&)> emptying[] = {
        [](String& s) { s.Assign("", 0); },
        [](String& s) { s.Assign(std::size_t{0}, 'x'); },
        [](String& s) { s.AssignBounded("text", 0); },
        [](String& s) { s.Assign(String("abc"), 4, 3); },
        [](String& s) { s = String(); },
    };
    for (const auto& empty : emptying) {
        String s("something");
        String holder(s);
        empty(s);
        EXPECT_FALSE(s.HasBuffer());
        EXPECT_EQ(s.Length(), 0u);

        empty(holder);
        EXPECT_FALSE(holder.HasBuffer());
    }
}

TEST(StringTest, NulCharactersNeverEnterTheText) {
    String s("abcdef");
    s.Append(3, '\0');
    s.Insert(2, 4, '\0');
    s.Assign(std::size_t{3}, '\0');
    EXPECT_EQ(Text(s), "abcdef");

    s.SetAt(4, '\0');
    EXPECT_EQ(Text(s), "abcd");
    EXPECT_EQ(s.Capacity(), 30u);
    s.SetAt(0, '\0');
    EXPECT_EQ(s.Length(), 0u);
    EXPECT_TRUE(s.HasBuffer());
}

TEST(StringTest, OutOfRangePositionsDoNothingWhereNoFaultIsRaised) {
    String s("abcde");
    String other("xyz");
    s.Erase(6, 3);
    s.Erase(5, 3);
    s.Append(other, 4, 3);
    s.Append(other, 3, 3);
    EXPECT_EQ(Text(s), "abcde");

    s.Append(other, 1, kAll);
    EXPECT_EQ(Text(s), "abcdeyz");
    s.Erase(5, kAll);
    s.Erase(1, 2);
    EXPECT_EQ(Text(s), "ade");

    s.Assign(other, 4, 3);
    EXPECT_FALSE(s.HasBuffer());
    EXPECT_EQ(s.Length(), 0u);
}

TEST(StringTest, InsertPlacesARunBeforeThePosition) {
    String s("abc");
    s.Insert(3, 1, 'x');
    EXPECT_EQ(Text(s), "abcx");
    s.Insert(1, 2, '-');
    EXPECT_EQ(Text(s), "a--bcx");
    s.Insert(0, 1, '>');
    EXPECT_EQ(Text(s), ">a--bcx");
}

struct RangeFault {
    const char* name;
    std::function<void(String&)> apply;
};

TEST(StringTest, RangeFaultsThrowAndLeaveTheStringUnchanged) {
    const RangeFault faults[] = {
        {"At(length)", [](String& s) { s.At(3); }},
        {"SetAt(length)", [](String& s) { s.SetAt(3, 'x'); }},
        {"SetAt(length) with NUL", [](String& s) { s.SetAt(3, '\0'); }},
        {"Insert beyond the end", [](String& s) { s.Insert(4, 1, 'x'); }},
        {"Insert of all", [](String& s) { s.Insert(0, kAll - 3, 'x'); }},
        {"Insert of all NULs", [](String& s) { s.Insert(0, kAll - 3, '\0'); }},
        {"Insert above the maximum", [](String& s) { s.Insert(0, String::kMaxLength - 2, 'x'); }},
        {"Append count all", [](String& s) { s.Append("x", kAll - 3); }},
        {"Append above the maximum", [](String& s) { s.Append("x", String::kMaxLength - 2); }},
        {"Append characters above the maximum", [](String& s) { s.Append(String::kMaxLength - 2, 'x'); }},
        {"Append NULs of all", [](String& s) { s.Append(kAll - 3, '\0'); }},
        {"Assign text above the maximum", [](String& s) { s.Assign("x", String::kMaxLength + 1); }},
        {"Assign all characters", [](String& s) { s.Assign(std::size_t{kAll}, 'x'); }},
        {"Assign all NULs", [](String& s) { s.Assign(std::size_t{kAll}, '\0'); }},
        {"Assign characters above the maximum", [](String& s) { s.Assign(std::size_t{kAll} - 1, 'x'); }},
    };
    for (const RangeFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        String s("abc");
        EXPECT_THROW(fault.apply(s), RangeException);
        EXPECT_EQ(Text(s), "abc");
    }
}

TEST(StringTest, LastIndexAndLargeNulRunsRaiseNothing) {
    String s("abc");
    EXPECT_EQ(*s.At(2), 'c');
    EXPECT_NO_THROW(s.Assign(std::size_t{kAll} - 1, '\0'));
    EXPECT_NO_THROW(s.Append(kAll - 4, '\0'));
    EXPECT_EQ(Text(s), "abc");
}

TEST(StringTest, AtDoesNotUnshare) {
    String s("abc");
    String holder(s);
    EXPECT_EQ(holder.At(1), s.CStr() + 1);
    EXPECT_EQ(ShareCount(s), 1u);
}

TEST(StringTest, SubstringCopiesOrSharesTheWholeText) {
    String s("hello world");
    String whole = s.Substring(0, kAll);
    EXPECT_EQ(whole.CStr(), s.CStr());

    EXPECT_EQ(Text(s.Substring(6, 100)), "world");
    EXPECT_EQ(Text(s.Substring(2, 3)), "llo");
    EXPECT_EQ(s.Substring(11, 3).Length(), 0u);
    EXPECT_FALSE(s.Substring(12, 1).HasBuffer());
}

TEST(StringTest, AssignPartOfAnotherString) {
    String source("hello world");
    String s("previous");
    s.Assign(source, 6, kAll);
    EXPECT_EQ(Text(s), "world");
    s.Assign(source, 0, source.Length());
    EXPECT_EQ(s.CStr(), source.CStr());
    s.Assign(source, 0, 5);
    EXPECT_EQ(Text(s), "hello");
    EXPECT_NE(s.CStr(), source.CStr());
}

TEST(StringTest, AppendBoolAppendsADigit) {
    String s("flags=");
    s.Append(true).Append(false).Append(true);
    EXPECT_EQ(Text(s), "flags=101");
}

TEST(StringTest, AppendOfItsOwnTextSurvivesReallocation) {
    String s = Filled(30);
    ASSERT_EQ(s.Capacity(), 30u);
    const std::string original = Text(s);

    s.Append(s.CStr(), s.Length());
    EXPECT_EQ(Text(s), original + original);
    EXPECT_EQ(s.Capacity(), 62u);

    s.Append(s.CStr() + 10);
    EXPECT_EQ(Text(s), original + original + (original + original).substr(10));
}

TEST(StringTest, AppendOfItselfSurvivesReallocation) {
    String s = Filled(30);
    const std::string original = Text(s);
    s.Append(s);
    EXPECT_EQ(Text(s), original + original);

    s = Filled(62);
    const std::string longer = Text(s);
    s.Append(s, 5, 40);
    EXPECT_EQ(Text(s), longer + longer.substr(5, 40));
}

TEST(StringTest, AppendOfASharedOwnTextLeavesTheOtherHolder) {
    String s = Filled(30);
    String holder(s);
    const std::string original = Text(s);
    s.Append(s.CStr(), 30);
    EXPECT_EQ(Text(s), original + original);
    EXPECT_EQ(Text(holder), original);
    EXPECT_EQ(ShareCount(holder), 0u);
}

TEST(StringTest, AssignOfAnInnerPartOfItself) {
    String s("0123456789");
    s.Assign(s.CStr() + 1, 6);
    EXPECT_EQ(Text(s), "123456");

    s.Assign(s, 2, 3);
    EXPECT_EQ(Text(s), "345");

    String shared("0123456789");
    String holder(shared);
    shared.Assign(shared.CStr() + 3, 4);
    EXPECT_EQ(Text(shared), "3456");
    EXPECT_EQ(Text(holder), "0123456789");

    String sharedToo(holder);
    sharedToo.Assign(sharedToo, 5, kAll);
    EXPECT_EQ(Text(sharedToo), "56789");
    EXPECT_EQ(Text(holder), "0123456789");

    String whole("whole");
    whole.Assign(whole, 0, kAll);
    EXPECT_EQ(Text(whole), "whole");
    whole.Assign(whole, 6, 1);
    EXPECT_FALSE(whole.HasBuffer());
}

struct FindCase {
    const char* text;
    const char* pattern;
    std::uint32_t pos;
    std::uint32_t expected;
};

TEST(StringTest, FindLocatesTheFirstFullMatch) {
    const FindCase cases[] = {
        {"abcab", "ab", 0, 0},
        {"abcab", "ab", 1, 3},
        {"abcab", "ab", 4, kNotFound},
        {"abcab", "abcab", 0, 0},
        {"abcab", "abcabc", 0, kNotFound},
        {"aaab", "aab", 0, 1},
        {"abcab", "", 3, 3},
        {"abcab", "", 5, 5},
        {"abcab", "", 6, kNotFound},
        {"abcab", "b", 5, kNotFound},
        {"", "", 0, 0},
        {"", "a", 0, kNotFound},
        {"abcab", "cb", 0, kNotFound},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" \"" << c.pattern << "\" " << c.pos);
        EXPECT_EQ(String(c.text).Find(c.pattern, c.pos), c.expected);
    }
    EXPECT_EQ(String("abcab").Find("cax", 0, 2), 2u);
}

TEST(StringTest, FindFirstAndLastOfASet) {
    const String path("dir/sub\\file");
    EXPECT_EQ(path.FindFirstOf("/\\", 0, 2), 3u);
    EXPECT_EQ(path.FindFirstOf("/\\", 4, 2), 7u);
    EXPECT_EQ(path.FindFirstOf("/\\", 8, 2), kNotFound);
    EXPECT_EQ(path.FindFirstOf("/\\", 12, 2), kNotFound);
    EXPECT_EQ(path.FindFirstOf("/\\", 0, 0), kNotFound);

    EXPECT_EQ(path.FindLastOf("/\\", kAll, 2), 7u);
    EXPECT_EQ(path.FindLastOf("/\\", 7, 2), 7u);
    EXPECT_EQ(path.FindLastOf("/\\", 6, 2), 3u);
    EXPECT_EQ(path.FindLastOf("/\\", 2, 2), kNotFound);
    EXPECT_EQ(path.FindLastOf("/\\", kAll, 0), kNotFound);
    EXPECT_EQ(String().FindLastOf("/", kAll, 1), kNotFound);
}

struct CompareCase {
    const char* a;
    const char* b;
    int sign;
};

TEST(StringTest, CompareOrdersBytesAsUnsignedThenByLength) {
    const CompareCase cases[] = {
        {"", "", 0},        {"", "a", -1},     {"a", "", 1},     {"ab", "a", 1}, {"a", "ab", -1},
        {"abc", "abd", -1}, {"abc", "abc", 0}, {"\xE9", "e", 1}, {"B", "a", -1},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.a << "\" \"" << c.b << '"');
        const String a(c.a);
        const auto bLength = static_cast<std::uint32_t>(std::string(c.b).size());
        EXPECT_EQ(Sign(a.Compare(String(c.b))), c.sign);
        EXPECT_EQ(Sign(a.Compare(c.b)), c.sign);
        EXPECT_EQ(Sign(a.Compare(0, kAll, c.b, bLength)), c.sign);
        EXPECT_EQ(Sign(a.CompareRange(0, kAll, c.b, bLength)), c.sign);
    }
}

TEST(StringTest, CompareOfAPart) {
    const String s("hello world");
    EXPECT_EQ(s.Compare(6, 5, "world", 5), 0);
    EXPECT_EQ(s.Compare(6, kAll, "world", 5), 0);
    EXPECT_EQ(s.Compare(0, 5, "hello!", 5), 0);
    EXPECT_EQ(Sign(s.Compare(0, 5, "hello world", 11)), -1);
    EXPECT_EQ(s.Compare(11, 3, "", 0), 0);
    EXPECT_EQ(Sign(s.Compare(20, 3, "x", 1)), -1);
    EXPECT_EQ(Sign(s.CompareRange(6, 3, "wo", 2)), 1);
}

struct NoCaseCase {
    const char* a;
    const char* b;
    int expected;
};

TEST(CompareNoCaseTest, FoldsOnlyAsciiLettersAndOrdersHighBytesByValue) {
    const NoCaseCase cases[] = {
        {"Quorven", "QUORVEN", 0}, {"abc", "ABD", 'c' - 'd'}, {"a", "", 'a'},
        {"", "a", -'a'},           {"_", "B", '_' - 'b'},     {"\xC9", "\xE9", 0xC9 - 0xE9},
        {"\x80", "z", 0x80 - 'z'}, {"Z", "\xFF", 'z' - 0xFF}, {"\xFF", "\x01", 0xFF - 0x01},
        {"caf\xC9", "CAF\xC9", 0},
    };
    for (const NoCaseCase& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.a << "\" \"" << c.b << '"');
        EXPECT_EQ(Vemo::CompareNoCase(c.a, c.b), c.expected);
        EXPECT_EQ(Vemo::CompareNoCase(String(c.a), String(c.b)), c.expected < 0);
    }
}

TEST(CompareNoCaseTest, CountedFormStopsAfterTheCount) {
    EXPECT_EQ(Vemo::CompareNoCase("abcX", "ABCy", 3), 0);
    EXPECT_EQ(Vemo::CompareNoCase("abcX", "ABCy", 4), 'x' - 'y');
    EXPECT_EQ(Vemo::CompareNoCase("a", "b", 0), 0);
    EXPECT_EQ(Vemo::CompareNoCase("Ab", "aB", 10), 0);
    EXPECT_EQ(Vemo::CompareNoCase("\xE0x", "\xC0x", 1), 0xE0 - 0xC0);
}

TEST(CompareNoCaseTest, AbsentTextsCountAsEmpty) {
    EXPECT_FALSE(Vemo::CompareNoCase(String(), String()));
    EXPECT_TRUE(Vemo::CompareNoCase(String(), String("a")));
    EXPECT_FALSE(Vemo::CompareNoCase(String("a"), String()));
}

TEST(StringConversionTest, NarrowKeepsTheLowByteAndWidenDoesNotSignExtend) {
    String s;
    const char16_t wide[] = {u'T', 0x0141, 0x00E9, u'!'};
    EXPECT_STREQ(s.NarrowFromWide(wide, 4), "TA\xE9!");

    const char16_t* widened = s.WideFromNarrow("a\xE9z", 3);
    EXPECT_EQ(widened[0], u'a');
    EXPECT_EQ(widened[1], 0x00E9);
    EXPECT_EQ(widened[2], u'z');
    EXPECT_EQ(widened[3], 0);
    EXPECT_EQ(Text(s), "");
}

TEST(StringConversionTest, EmptyConversionsReturnTheStaticEmptyTexts) {
    String s;
    EXPECT_EQ(s.NarrowFromWide(u"abc", 0), String().CStr());
    EXPECT_EQ(s.NarrowFromWide(nullptr, 3), String().CStr());
    EXPECT_EQ(s.WideFromNarrow("abc", 0)[0], 0);
    EXPECT_EQ(s.WideFromNarrow(nullptr, 3)[0], 0);
}

TEST(StringConversionTest, BufferIsReusedAndGrowsByDoubling) {
    String s;
    const char* first = s.NarrowFromWide(u"abcdef", 6); // 7 bytes
    EXPECT_EQ(s.NarrowFromWide(u"abc", 3), first);
    EXPECT_STREQ(first, "abc");

    // 8 bytes needed: the 7-byte buffer is doubled to 14.
    const auto* doubled = reinterpret_cast<const char*>(s.WideFromNarrow("abc", 3));
    EXPECT_NE(doubled, first);
    EXPECT_EQ(s.NarrowFromWide(u"thirteen unit", 13), doubled);
    // 15 bytes needed: doubled again to 28, which a 27-character narrowing still fits.
    const char* again = s.NarrowFromWide(u"fourteen units", 14);
    EXPECT_NE(again, doubled);
    EXPECT_EQ(s.NarrowFromWide(u"twenty-seven units of text.", 27), again);

    // A need above twice the size is taken as it is.
    const auto* exact = reinterpret_cast<const char*>(s.WideFromNarrow(std::string(40, 'w').c_str(), 40));
    EXPECT_NE(exact, again);
    EXPECT_EQ(reinterpret_cast<const char*>(s.WideFromNarrow(std::string(40, 'v').c_str(), 40)), exact);
}

TEST(StringConversionTest, ConvertingItsOwnConversionResult) {
    String s;
    const char16_t* wide = s.WideFromNarrow("Quorven", 7);
    EXPECT_STREQ(s.NarrowFromWide(wide, 7), "Quorven");

    // Widening needs a larger buffer than the narrowed text lives in.
    String fresh;
    const char* narrow = fresh.NarrowFromWide(u"Title", 5);
    EXPECT_EQ(std::u16string(fresh.WideFromNarrow(narrow, 5)), u"Title");

    // Widening in place in a buffer that is already large enough.
    String roomy;
    roomy.WideFromNarrow(std::string(20, 'x').c_str(), 20);
    narrow = roomy.NarrowFromWide(u"Corvintale", 10);
    EXPECT_EQ(std::u16string(roomy.WideFromNarrow(narrow, 10)), u"Corvintale");
}

TEST(StringConversionTest, WideConstructorNarrowsTheWholeText) {
    String s(u"Title \u0141");
    EXPECT_EQ(Text(s), "Title A");
    EXPECT_FALSE(String(static_cast<const char16_t*>(nullptr)).HasBuffer());
    EXPECT_FALSE(String(u"").HasBuffer());
}

TEST(BoundedWideLengthTest, StopsAtTheFirstZeroOrTheMaximum) {
    const char16_t entry[] = {u'a', u'b', 0, u'c'};
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {{2, 2},   {3, 2}, {4, 2},
                                                             {100, 2}, {1, 1}, {0, 0}};
    for (const auto& [maximum, expected] : cases) {
        EXPECT_EQ(BoundedWideLength(entry, maximum), expected) << "maximum " << maximum;
    }
    const char16_t unterminated[] = {u'x', u'y', u'z'};
    EXPECT_EQ(BoundedWideLength(unterminated, 3), 3u);
    EXPECT_EQ(BoundedWideLength(nullptr, 0), 0u);
}

struct BoundedCase {
    const char* text;
    std::uint32_t maximum;
    const char* expected;
};

TEST(Win32StringTest, AssignTakesAtMostTheMaximum) {
    const BoundedCase cases[] = {
        {"abcdef", 3, "abc"}, {"ab", 3, "ab"}, {"abcdef", 6, "abcdef"}, {"abc", 0, ""}};
    for (const BoundedCase& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" " << c.maximum);
        Win32String s("previous");
        s.Assign(c.text, c.maximum);
        EXPECT_EQ(Text(s), c.expected);
        EXPECT_EQ(s.HasBuffer(), c.maximum != 0);
    }
}

TEST(Win32StringTest, AssignReadsNoFurtherThanTheField) {
    const char field[4] = {'N', 'A', 'M', 'E'};
    Win32String s;
    s.Assign(field, sizeof field);
    EXPECT_EQ(Text(s), "NAME");
}

TEST(Win32StringTest, AssignReusesAPrivateBufferAndDropsASharedOne) {
    Win32String s("a long enough previous name");
    const char* buffer = s.CStr();
    s.Assign("file.txt", 260);
    EXPECT_EQ(s.CStr(), buffer);
    s.Assign(s.CStr() + 5, 260);
    EXPECT_EQ(Text(s), "txt");

    Win32String shared("shared name");
    String holder(shared);
    shared.Assign("new", 260);
    EXPECT_EQ(Text(shared), "new");
    EXPECT_EQ(Text(holder), "shared name");
    EXPECT_EQ(ShareCount(holder), 0u);
}

TEST(Win32StringTest, ConstructorMeasuresTheText) {
    EXPECT_EQ(Text(Win32String("Quorven.ini")), "Quorven.ini");
    EXPECT_EQ(Win32String("Quorven.ini").Capacity(), 31u);
    EXPECT_FALSE(Win32String("").HasBuffer());
}

} // namespace
