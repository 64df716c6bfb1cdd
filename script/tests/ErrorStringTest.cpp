#include "script/ErrorString.h"

#include "script/tests/ScriptTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorStringTest, QuotedItemsAreJoinedByCommas) {
    ErrorString text;
    AppendQuotedItem(text, Vemo::String("A"));
    AppendQuotedItem(AppendQuotedItem(text, Fragment(SubString(Vemo::String("Intro Button")), false)), "B");
    EXPECT_EQ(ScriptTest::Text(text), "\"A\",\"Intro Button\",\"B\"");
}

} // namespace
