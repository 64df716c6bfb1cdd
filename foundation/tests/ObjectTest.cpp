#include "foundation/Exception.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Vemo::Exception;
using Vemo::Object;
using Vemo::ObjectClassData;
using Vemo::RangeException;

TEST(ObjectTest, SerialsAreConsecutiveAndSharedWithExceptions) {
    Object first;
    Object second;
    EXPECT_EQ(second.GetSerial(), first.GetSerial() + 1);

    RangeException between;
    Object third;
    EXPECT_EQ(between.GetSerial(), second.GetSerial() + 1);
    EXPECT_EQ(third.GetSerial(), second.GetSerial() + 2);
}

TEST(ObjectTest, CopiesTakeANewSerial) {
    RangeException original;
    RangeException copy(original);
    EXPECT_EQ(copy.GetSerial(), original.GetSerial() + 1);
}

TEST(ObjectTest, ClassRecordsChainToTheRoot) {
    RangeException e;
    const ObjectClassData* range = e.GetClassData();
    EXPECT_STREQ(range->name, "RangeException");
    ASSERT_EQ(range->bases.Size(), 1u);

    const ObjectClassData* exception = range->bases[0];
    EXPECT_STREQ(exception->name, "Exception");
    ASSERT_EQ(exception->bases.Size(), 1u);

    const ObjectClassData* root = exception->bases[0];
    EXPECT_STREQ(root->name, "Vemo::Object");
    EXPECT_TRUE(root->bases.Empty());

    EXPECT_EQ(RangeException::ClassData(), range);
    EXPECT_EQ(Object::ClassData(), root);
}

TEST(ExceptionTest, SystemExceptionsCarryNoText) {
    try {
        throw RangeException();
    } catch (const Exception& e) {
        EXPECT_EQ(e.GetText(), nullptr);
    }
}

class TextException : public Exception {
public:
    explicit TextException(const char16_t* text) : Exception(text) {}
};

TEST(ExceptionTest, CopyHasAnIndependentText) {
    auto* source = new TextException(u"range");
    Exception copy(*source);
    EXPECT_NE(copy.GetText(), source->GetText());
    delete source;
    ASSERT_NE(copy.GetText(), nullptr);
    EXPECT_EQ(std::u16string(copy.GetText()), u"range");
}

} // namespace
