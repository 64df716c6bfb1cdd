#include "script/FragmentStream.h"

#include "script/Script.h"
#include "script/TextLocale.h"
#include "script/TextLocaleProvider.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstring>
#include <string>

namespace {

using ScriptTest::Text;

Vemo::BasicArray<Fragment> Parse(const char* value) {
    Vemo::BasicArray<Fragment> fragments;
    EXPECT_TRUE(Script::TokenizeText(fragments, value, static_cast<std::uint32_t>(std::strlen(value))))
        << value;
    return fragments;
}

template <class T>
struct Reading {
    T value;
    int error;
};

// Reads one fragment of the value into a target that starts as initial.
template <class T>
Reading<T> Read(const char* value, T initial) {
    const Vemo::BasicArray<Fragment> fragments = Parse(value);
    FragmentStream stream(fragments);
    errno = EINVAL;
    stream >> initial;
    return {initial, errno};
}

TEST(FragmentStreamTest, SignedIntegersTakeTheirBaseFromTheTextAndConvertIn32Bits) {
    struct Case {
        const char* text;
        int value;
        int error;
    };
    const Case cases[] = {
        {"42", 42, 0},
        {"0x1F", 31, 0},
        {"017", 15, 0},
        {"-5", -5, 0},
        {"\" +7\"", 7, 0},
        {"12abc", 12, 0},
        {"abc", 0, 0},
        {"0x", 0, 0},
        {"09", 0, 0},
        {"2147483647", INT_MAX, 0},
        {"2147483648", INT_MAX, ERANGE},
        {"-2147483648", INT_MIN, 0},
        {"-2147483649", INT_MIN, ERANGE},
        {"99999999999999999999", INT_MAX, ERANGE},
    };
    for (const Case& c : cases) {
        const Reading<int> reading = Read(c.text, 1234);
        EXPECT_EQ(reading.value, c.value) << c.text;
        EXPECT_EQ(reading.error, c.error) << c.text;
    }
    EXPECT_EQ(Read("5000000000", 0L).value, 2147483647L);
    EXPECT_EQ(Read("5000000000", 0LL).error, ERANGE);
    EXPECT_EQ(Read("-1", 0LL).value, -1LL);
}

TEST(FragmentStreamTest, UnsignedAndNarrowIntegersClampAndSetErange) {
    EXPECT_EQ(Read("4294967295", 0u).value, 4294967295u);
    EXPECT_EQ(Read("4294967295", 0u).error, 0);
    EXPECT_EQ(Read("4294967296", 0u).error, ERANGE);
    EXPECT_EQ(Read("-1", 0u).value, 4294967295u);
    EXPECT_EQ(Read("0x10", 0ul).value, 16ul);

    const Reading<unsigned char> byte = Read("300", static_cast<unsigned char>(7));
    EXPECT_EQ(byte.value, 255);
    EXPECT_EQ(byte.error, ERANGE);
    EXPECT_EQ(Read("255", static_cast<unsigned char>(7)).error, 0);
    EXPECT_EQ(Read("-200", static_cast<signed char>(0)).value, -128);
    EXPECT_EQ(Read("100", static_cast<signed char>(0)).value, 100);
    EXPECT_EQ(Read("40000", static_cast<short>(0)).value, 32767);
    EXPECT_EQ(Read("-40000", static_cast<short>(0)).error, ERANGE);
    EXPECT_EQ(Read("70000", static_cast<unsigned short>(0)).value, 65535);
}

TEST(FragmentStreamTest, FloatingPointIsDecimalAndClampedToTheFiniteRange) {
    EXPECT_EQ(Read("1.5", 0.0f).value, 1.5f);
    EXPECT_EQ(Read("1e39", 0.0f).value, FLT_MAX);
    EXPECT_EQ(Read("1e39", 0.0f).error, ERANGE);
    EXPECT_EQ(Read("-1e39", 0.0f).value, -FLT_MAX);
    EXPECT_EQ(Read("2.5e", 0.0).value, 2.5);
    EXPECT_EQ(Read("-.25x", 0.0).value, -0.25);
    EXPECT_EQ(Read("1e309", 0.0).value, DBL_MAX);
    EXPECT_EQ(Read("1e309", 0.0).error, ERANGE);
    EXPECT_EQ(Read("0x10", 1.0).value, 0.0);
    EXPECT_EQ(Read("inf", 1.0).value, 0.0);
}

TEST(FragmentStreamTest, BoolsReadDigitsAsNumbersAndOtherwiseOnlyTheWordTrue) {
    const struct {
        const char* text;
        bool value;
    } cases[] = {{"1", true},    {"0", false},   {"0x10", true},    {"2abc", true},
                 {"TRUE", true}, {"yes", false}, {"toggle", false}, {"\"true \"", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.text, !c.value).value, c.value) << c.text;
    }
}

TEST(FragmentStreamTest, TheToggleFormInvertsTheCurrentValue) {
    const Vemo::BasicArray<Fragment> fragments = Parse("toggle, TOGGLE, false, 1");
    FragmentStream stream(fragments);
    bool value = true;
    stream.ReadBoolOrToggle(value);
    EXPECT_FALSE(value);
    stream.ReadBoolOrToggle(value);
    EXPECT_TRUE(value);
    stream.ReadBoolOrToggle(value);
    EXPECT_FALSE(value);
    stream.ReadBoolOrToggle(value);
    EXPECT_TRUE(value);
}

TEST(FragmentStreamTest, AnEmptyFragmentLeavesNumbersButEmptiesTexts) {
    const Vemo::BasicArray<Fragment> fragments = Parse("a,,,\"\"");
    FragmentStream stream(fragments);
    Vemo::String text("before");
    int number = 5;
    bool flag = true;
    stream >> text >> number >> flag >> text;
    EXPECT_EQ(Text(text), "");
    EXPECT_EQ(number, 5);
    EXPECT_TRUE(flag);
    EXPECT_TRUE(stream.AtEnd());
}

TEST(FragmentStreamTest, ReadsPastTheEndChangeNothing) {
    const Vemo::BasicArray<Fragment> fragments = Parse("7");
    FragmentStream stream(fragments);
    int first = 0;
    int second = 99;
    Vemo::String text("kept");
    Fragment fragment(SubString(Vemo::String("kept")), true);
    stream >> first >> second >> text >> fragment;
    EXPECT_EQ(first, 7);
    EXPECT_EQ(second, 99);
    EXPECT_EQ(Text(text), "kept");
    EXPECT_EQ(Text(fragment.GetText()), "kept");
    EXPECT_TRUE(stream.AtEnd());

    const Fragment* pointer = &fragments[0];
    stream >> pointer;
    EXPECT_EQ(pointer, nullptr);

    const Vemo::BasicArray<Fragment> none;
    FragmentStream empty(none);
    stream = empty;
    stream >> second;
    EXPECT_EQ(second, 99);
}

TEST(FragmentStreamTest, PositionsSizesAndRectanglesReadSeveralFragments) {
    const Vemo::BasicArray<Fragment> fragments = Parse("1, 2, 3, 4, 5, 6, 7");
    FragmentStream stream(fragments);
    Vemo::Rect rect;
    Vemo::Point position;
    Vemo::Size size(10, 20);
    stream >> rect;
    stream.ReadPosition(position).ReadSize(size);
    EXPECT_EQ(rect, Vemo::Rect(1, 2, 3, 4));
    EXPECT_EQ(position, Vemo::Point(5, 6));
    EXPECT_EQ(size.width, 7);
    EXPECT_EQ(size.height, 20);
}

TEST(FragmentStreamTest, PackedBytesClampEachComponent) {
    const Vemo::BasicArray<Fragment> fragments = Parse("1, 2, 300, 0x10");
    FragmentStream stream(fragments);
    std::uint32_t packed = 0xDEADBEEF;
    std::uint32_t flag = 0;
    stream.ReadPackedBytes(packed, flag);
    EXPECT_EQ(packed, 0x00FF0201u);
    EXPECT_EQ(flag, 1u);
    EXPECT_EQ(errno, ERANGE);
    stream.ReadPackedBytes(packed, flag);
    EXPECT_EQ(packed, 0x00000010u);
    packed = 5;
    flag = 0;
    stream.ReadPackedBytes(packed, flag);
    EXPECT_EQ(packed, 5u);
    EXPECT_EQ(flag, 0u);
}

TEST(FragmentStreamTest, FragmentsAndTheRestAreCopiedOut) {
    const Vemo::BasicArray<Fragment> fragments = Parse("Play(x), a, b");
    FragmentStream stream(fragments);
    const Fragment* first = nullptr;
    stream >> first;
    EXPECT_EQ(first, &fragments[0]);
    Vemo::BasicArray<Fragment> rest;
    rest.PushBack(*first);
    stream >> rest;
    EXPECT_EQ(ScriptTest::Describe(rest), "[Play]([x]),[a],[b]");
    EXPECT_TRUE(stream.AtEnd());

    FragmentStream again(fragments);
    FragmentStream copy(again);
    Fragment call;
    copy >> call;
    EXPECT_EQ(Text(call.GetText()), "Play");
    EXPECT_EQ(again.Remaining(), 3u);
}

// The application's side of locale references: tables by name.
class Locales : public TextLocaleProvider {
public:
    Locales() {
        const char data[] = "ERR_TITLE\0Problem detected!\0";
        m_errors.LoadBuffer(data, sizeof data - 1);
        SetCurrent(this);
    }

    TextLocale* GetTextLocale(const Fragment& name) override {
        return name.GetText().CompareNoCase(SubString(Vemo::String("Errors"))) == 0 ? &m_errors : nullptr;
    }

private:
    TextLocale m_errors;
};

TEST(FragmentStreamTest, ALocaleReferenceReadsTheTextOfItsTable) {
    Locales locales;
    const Vemo::BasicArray<Fragment> fragments =
        Parse("err_title(Errors), ERR_TITLE(Other), MISSING(errors), ERR_TITLE(Errors)");
    FragmentStream stream(fragments);
    Vemo::String text;
    Vemo::String unchanged("unchanged");
    Vemo::String missing("missing");
    SubString view;
    stream >> text >> unchanged >> missing >> view;
    EXPECT_EQ(Text(text), "Problem detected!");
    EXPECT_EQ(Text(unchanged), "unchanged");
    EXPECT_EQ(Text(missing), "");
    EXPECT_EQ(Text(view), "Problem detected!");
}

TEST(FragmentStreamTest, WithoutAProviderALocaleReferenceChangesNothing) {
    ASSERT_EQ(TextLocaleProvider::GetCurrent(), nullptr);
    const Vemo::BasicArray<Fragment> fragments = Parse("ERR_TITLE(Errors)");
    FragmentStream stream(fragments);
    Vemo::String text("kept");
    stream >> text;
    EXPECT_EQ(Text(text), "kept");
    EXPECT_TRUE(stream.AtEnd());
}

} // namespace
