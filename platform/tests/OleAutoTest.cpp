#include "platform/com/OleAuto.h"
#include "platform/com/Dispatch.h"
#include "platform/tests/ComTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace com::tests {
namespace {

TEST(BstrTest, KeepsItsLengthWithZerosInsideAndEndsWithAZero) {
    const OLECHAR text[] = {u'a', 0, u'b', u'c'};
    BSTR copy = SysAllocStringLen(text, 4);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(SysStringLen(copy), 4U);
    EXPECT_EQ(SysStringByteLen(copy), 8U);
    EXPECT_EQ(std::u16string(copy, 4), std::u16string(text, 4));
    EXPECT_EQ(copy[4], 0);
    SysFreeString(copy);
}

TEST(BstrTest, WithoutTextItHoldsZeros) {
    BSTR blank = SysAllocStringLen(nullptr, 3);
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(SysStringLen(blank), 3U);
    EXPECT_EQ(std::u16string(blank, 4), std::u16string(4, u'\0'));
    SysFreeString(blank);
}

TEST(BstrTest, AZeroEndedTextIsCopiedUpToItsZero) {
    BSTR copy = SysAllocString(u"Shell.Explorer");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::u16string(copy), u"Shell.Explorer");
    EXPECT_EQ(SysStringLen(copy), 14U);
    SysFreeString(copy);
    BSTR empty = SysAllocString(u"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0U);
    SysFreeString(empty);
}

TEST(BstrTest, NullAndImpossibleLengthsAreHandled) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0U);
    SysFreeString(nullptr);
    EXPECT_EQ(SysAllocStringLen(u"x", std::numeric_limits<UINT>::max()), nullptr);
    EXPECT_EQ(SysAllocStringLen(u"x", std::numeric_limits<UINT>::max() / 2), nullptr);
}

class VariantTest : public ComTest {};

TEST_F(VariantTest, ClearingFreesTheTextAndReleasesTheObject) {
    VARIANT text;
    VariantInit(&text);
    EXPECT_EQ(text.vt, VT_EMPTY);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(u"owned");
    EXPECT_EQ(VariantClear(&text), win32::S_OK); // the sanitizer's leak check sees the text freed
    EXPECT_EQ(text.vt, VT_EMPTY);

    VARIANT object;
    object.vt = VT_UNKNOWN;
    object.punkVal = TestThing::Create();
    EXPECT_EQ(TestThing::Alive(), 1);
    EXPECT_EQ(VariantClear(&object), win32::S_OK);
    EXPECT_EQ(TestThing::Alive(), 0);
}

TEST_F(VariantTest, ClearingAReferenceLeavesWhatItPointsTo) {
    BSTR text = SysAllocString(u"not the variant's");
    VARIANT reference;
    reference.vt = VT_BYREF | VT_BSTR;
    reference.pbstrVal = &text;
    EXPECT_EQ(VariantClear(&reference), win32::S_OK);
    EXPECT_EQ(reference.vt, VT_EMPTY);
    EXPECT_EQ(std::u16string(text), u"not the variant's");
    SysFreeString(text);
}

TEST_F(VariantTest, AnUnknownTypeIsRefusedWithNothingChanged) {
    VARIANT odd;
    odd.vt = 0x2000 | VT_I4; // an array, which nothing here makes
    odd.byref = nullptr;
    EXPECT_EQ(VariantClear(&odd), DISP_E_BADVARTYPE);
    EXPECT_EQ(odd.vt, 0x2000 | VT_I4);
}

} // namespace
} // namespace com::tests
