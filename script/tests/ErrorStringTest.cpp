#include "script/ErrorString.h"

#include "resources/testing/StorageTestSupport.h"
#include "script/Script.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ErrorStringTest, QuotedItemsAreJoinedByCommas) {
    ErrorString text;
    AppendQuotedItem(text, Vemo::String("A"));
    AppendQuotedItem(AppendQuotedItem(text, Fragment(SubString(Vemo::String("Intro Button")), false)), "B");
    EXPECT_EQ(ScriptTest::Text(text), "\"A\",\"Intro Button\",\"B\"");
}

class ErrorStringScriptTest : public VemoTest::Win32DrivesTest {};

TEST_F(ErrorStringScriptTest, AScriptIsQuotedByTheFullPathOfItsFile) {
    std::filesystem::create_directories(Host('C', "titles"));
    VemoTest::WriteHostFile(Host('C', "titles/demo.scr"), "[Intro]\r\n");
    Script script;
    ASSERT_TRUE(script.Load(At("HD0:/titles/demo.scr"), false));
    ErrorString text;
    AppendQuotedItem(AppendQuotedItem(text, script), Vemo::String("Intro"));
    EXPECT_EQ(ScriptTest::Text(text), "\"HD0:/titles/demo.scr\",\"Intro\"");
}

} // namespace
