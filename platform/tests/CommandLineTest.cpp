#include "platform/win32/kernel/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct JoinCase {
    const char* name;
    std::vector<const char*> arguments;
    const char* commandLine;
};

class CommandLineTest : public testing::TestWithParam<JoinCase> {
protected:
    void TearDown() override { win32::seam::SetCommandLineText(""); }
};

TEST_P(CommandLineTest, JoinsTheArgumentsSoThatTheyReadBackAsGiven) {
    const JoinCase& join = GetParam();
    win32::seam::SetCommandLineArguments(static_cast<int>(join.arguments.size()), join.arguments.data());
    EXPECT_STREQ(win32::GetCommandLineA(), join.commandLine);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTest,
    testing::Values(
        JoinCase{"ProgramOnly", {"/opt/quorven"}, "/opt/quorven"},
        JoinCase{"PlainArguments", {"quorven", "-a", "b"}, "quorven -a b"},
        JoinCase{"ProgramWithASpace", {"/opt/my titles/quorven", "x"}, "\"/opt/my titles/quorven\" x"},
        // Backslashes in the program are never escapes.
        JoinCase{"ProgramWithBackslashes", {"C:\\my titles\\", "x"}, "\"C:\\my titles\\\" x"},
        JoinCase{"EmptyArgument", {"quorven", ""}, "quorven \"\""},
        JoinCase{"SpaceAndTab", {"quorven", "a b", "c\td"}, "quorven \"a b\" \"c\td\""},
        JoinCase{"Quote", {"quorven", "say \"hi\""}, "quorven \"say \\\"hi\\\"\""},
        JoinCase{"BackslashesBeforeAQuote", {"quorven", "a\\\"b"}, "quorven \"a\\\\\\\"b\""},
        JoinCase{"TrailingBackslashesInQuotes", {"quorven", "a b\\\\"}, "quorven \"a b\\\\\\\\\""},
        JoinCase{"BackslashesElsewhereStay", {"quorven", "C:\\data\\x"}, "quorven C:\\data\\x"}),
    [](const testing::TestParamInfo<JoinCase>& info) { return std::string(info.param.name); });

TEST(CommandLineTextTest, IsEmptyUntilRecordedAndNeverNull) {
    win32::seam::SetCommandLineText(nullptr);
    ASSERT_NE(win32::GetCommandLineA(), nullptr);
    EXPECT_STREQ(win32::GetCommandLineA(), "");
    win32::seam::SetCommandLineText("quorven  -x");
    EXPECT_STREQ(win32::GetCommandLineA(), "quorven  -x");
    win32::seam::SetCommandLineText("");
}

} // namespace
