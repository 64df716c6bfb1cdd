// Rectangles built from a script's numbers that do not fit 32 bits: the key's control is not made and the
// report names the section and the key; a message that would build one fails and changes nothing.
#include "controls/ImageControl.h"
#include "controls/SimpleAnimationControl.h"
#include "controls/tests/PictureControlTestSupport.h"
#include "runtime/testing/RunningTitle.h"
#include "script/ErrorString.h"
#include "script/Script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace PictureControlTest;

class ScriptNumberRangeTest : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        WriteFile("art.bmp", ShownBmp({{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}}));
    }

    // The quoted items of a report about the section (and the key, when given) of the last script opened.
    std::string Where(const char* section, const char* key = nullptr) {
        std::string text = "\"" + std::string(ScriptPathText(m_script).CStr()) + "\",\"" + section + "\"";
        return key != nullptr ? text + ",\"" + key + "\"" : text;
    }

    static bool Holds(const Reports& reports, const VemoTest::Reported& wanted) {
        return std::find(reports.begin(), reports.end(), wanted) != reports.end();
    }
};

struct KeyCase {
    const char* name;
    const char* section;
    const char* keys;
    const char* key;
};

const KeyCase kKeyCases[] = {
    {"ImageAtTheEndTakingThePictureSize", "Pic",
     "Class=ImageControl\nPosition=2147483647, 2147483647\n"
     "Bitmap=art.bmp\n",
     "Position"},
    {"ImageWhoseSizeRunsPastTheEnd", "Pic",
     "Class=ImageControl\nPosition=0, 2147483640\nSize=4, 8\n"
     "Bitmap=art.bmp\n",
     "Size"},
    {"AnimationFrameDrawnPastTheEnd", "Anim",
     "Class=SimpleAnimationControl\nSize=6,6\nBitmap=art.bmp\n"
     "Frame=2147483647,0,0,0,10,10\n",
     "Frame"},
    {"AnimationFrameTakenFromPastTheEnd", "Anim",
     "Class=SimpleAnimationControl\nSize=6,6\nBitmap=art.bmp\n"
     "Frame=0,0,0,0,1,1\nFrame=0,0,0,2147483647,1,1\n",
     "Frame"},
    {"AnimationFrameBeforeTheStart", "Anim",
     "Class=SimpleAnimationControl\nSize=6,6\nBitmap=art.bmp\n"
     "Frame=-2147483648,0,0,0,-1,1\n",
     "Frame"},
};

class ScriptNumberKeyTest : public ScriptNumberRangeTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ScriptNumberKeyTest, TheControlIsNotMadeAndTheReportNamesItsSectionAndKey) {
    const KeyCase& wanted = GetParam();
    EXPECT_FALSE(TryOpen(std::string("[Menu]\nControl=") + wanted.section + "\n[" + wanted.section + "]\n" +
                         wanted.keys));
    EXPECT_EQ(Find(wanted.section), nullptr);
    const Reports reports = Taken();
    EXPECT_TRUE(Holds(reports, {Script::kErrorKeyNotParsed, Where(wanted.section, wanted.key).c_str()}))
        << ::testing::PrintToString(reports);
    EXPECT_TRUE(Holds(reports, {kFailure, Where(wanted.section).c_str()}))
        << ::testing::PrintToString(reports);
}

INSTANTIATE_TEST_SUITE_P(Keys, ScriptNumberKeyTest, ::testing::ValuesIn(kKeyCases),
                         [](const ::testing::TestParamInfo<KeyCase>& info) {
                             return std::string(info.param.name);
                         });

struct MessageCase {
    const char* name;
    const char* keys;
    const char* message;
};

const MessageCase kMessageCases[] = {
    {"BitmapAtTheEnd", "Class=ImageControl\nSize=2,2\nBitmap=art.bmp\n",
     "Position(2147483647, 0), Bitmap(art.bmp)"},
    {"FrameDrawnPastTheEnd", "Class=SimpleAnimationControl\nSize=6,6\nBitmap=art.bmp\n",
     "AddFrame(2147483647, 0, 0, 0, 10, 10)"},
    {"FrameWiderThan32Bits", "Class=SimpleAnimationControl\nSize=6,6\nBitmap=art.bmp\n",
     "AddFrame(0, 0, -2147483648, 0, 2147483647, 2)"},
};

class ScriptNumberMessageTest : public ScriptNumberRangeTest,
                                public ::testing::WithParamInterface<MessageCase> {};

TEST_P(ScriptNumberMessageTest, TheMessageFails) {
    const MessageCase& wanted = GetParam();
    Open(std::string("[Menu]\nControl=Moving\n[Moving]\n") + wanted.keys);
    EXPECT_EQ(Taken(), Reports{});
    EXPECT_FALSE(Send("Moving", wanted.message));
    EXPECT_FALSE(Taken().empty());
    // What was already there still plays and draws.
    Send("Moving", "Start");
    Step(1000);
}

INSTANTIATE_TEST_SUITE_P(Messages, ScriptNumberMessageTest, ::testing::ValuesIn(kMessageCases),
                         [](const ::testing::TestParamInfo<MessageCase>& info) {
                             return std::string(info.param.name);
                         });

// The report of a control that cannot be made names it, whatever the reason.
TEST_F(ScriptNumberRangeTest, AControlThatCannotBeMadeIsReportedWithItsSectionAndScript) {
    EXPECT_FALSE(TryOpen("[Menu]\nControl=Pic\n[Pic]\nClass=ImageControl\nBitmap=missing.bmp\n"));
    EXPECT_TRUE(Holds(Taken(), {kFailure, Where("Pic").c_str()}));
    EXPECT_FALSE(TryOpen("[Menu]\nControl=Plain\n[Plain]\nClass=Messenger\n"));
    EXPECT_TRUE(Holds(Taken(), {kFailure, Where("Plain").c_str()})) << "not a control";
}

class CreationReportTest : public TitleTest::RunningTitle {};

// What the standard error says of a control of a title that cannot be made: which section, in which file.
TEST_F(CreationReportTest, TheLineOfAControlThatCannotBeMadeNamesItsSectionAndTheTitlesScript) {
    ::testing::internal::CaptureStderr();
    Start("", "Control=Pic\n", "[Pic]\nClass=ImageControl\nPosition=2147483647, 2147483647\nSize=2, 2\n");
    Step();
    const std::string printed = ::testing::internal::GetCapturedStderr();
    const std::string::size_type line = printed.find("error reported by Messenger, code 1000: \"");
    ASSERT_NE(line, std::string::npos) << printed;
    const std::string text = printed.substr(line, printed.find('\n', line) - line);
    EXPECT_TRUE(text.ends_with("Quorven.ini\",\"Pic\"")) << printed;
    EXPECT_NE(printed.find("error reported by Script, code 9: \""), std::string::npos) << printed;
}

} // namespace
