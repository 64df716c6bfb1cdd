#include "script/FormatToBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatToBufferTest, WritesTheFormattedTextAndCountsIt) {
    char buffer[16];
    EXPECT_EQ(FormatToBuffer(buffer, "%u,%d", 259u, -1), 6);
    EXPECT_STREQ(buffer, "259,-1");
}

TEST(FormatToBufferTest, CutsWhatDoesNotFitTheArray) {
    char buffer[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    const std::string text("overlong");
    EXPECT_EQ(FormatToBuffer(buffer, "%s", text.c_str()), 5);
    EXPECT_STREQ(buffer, "overl");
}

} // namespace
