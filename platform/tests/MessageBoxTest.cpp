#include "platform/testing/CodePage.h"
#include "platform/testing/HeadlessRunTesting.h"
#include "platform/testing/MessageBoxTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/video/CodePageText.h"
#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace win32::tests {
namespace {

using MessageBoxTest = WindowSystemTest;

TEST_F(MessageBoxTest, WithoutAnAnswerAnOkBoxSaysOkAndAnOkCancelBoxCancel) {
    testing::MessageBoxRecorder boxes;
    EXPECT_EQ(MessageBoxA(nullptr, "Systems failed to set up.", "Problem detected!", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Please insert the CD.", "Insert CD!", MB_OKCANCEL), IDCANCEL);
    // Icon, default button and modality bits ride along with the button set.
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OKCANCEL | 0x30 | 0x100 | 0x1000), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "Done.", "", MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST), IDOK);
    const std::vector<testing::ShownMessageBox> shown = boxes.Take();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].caption, "Problem detected!");
    EXPECT_EQ(shown[0].text, "Systems failed to set up.");
    EXPECT_EQ(shown[1].answer, IDCANCEL);
    EXPECT_EQ(shown[2].caption, "Error") << "a box without a caption is titled as on Windows";
    EXPECT_EQ(shown[2].text, "");
    EXPECT_EQ(shown[3].caption, "") << "an empty caption stays empty";
    EXPECT_EQ(shown[3].type, 0x52000u);
}

TEST_F(MessageBoxTest, QueuedAnswersAreTakenInOrder) {
    testing::MessageBoxRecorder boxes;
    boxes.Answer(IDOK);
    boxes.Answer(IDOK);
    boxes.Answer(IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "1", "Insert CD!", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "2", "Insert CD!", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "3", "Insert CD!", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "4", "Insert CD!", MB_OKCANCEL), IDCANCEL) << "no answer left";

    // An answer the box has no button for gives the default, and says so.
    boxes.Answer(IDCANCEL);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "5", "Only OK", MB_OK), IDOK);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the answer Cancel is no button of the box \"Only OK\"; it answers OK"),
              std::string::npos)
        << said;
}

TEST_F(MessageBoxTest, TheOwnerIsTheTopLevelWindowAndOtherButtonSetsAreRefused) {
    RecordingWindowClass windows;
    HWND main = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = windows.Create(WS_CHILD | WS_VISIBLE, main, {0, 0, 10, 10});
    testing::MessageBoxRecorder boxes;
    EXPECT_EQ(MessageBoxA(child, "text", "caption", MB_OK), IDOK);
    EXPECT_EQ(boxes.Take().at(0).owner, main);

    SetLastError(0);
    EXPECT_EQ(MessageBoxA(main, "Yes or no?", "Question", 0x4 /* yes and no */), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MessageBoxTest, EveryBoxGoesIntoTheLog) {
    const std::string path = ::testing::TempDir() + "message-box-log.txt";
    {
        testing::HeadlessLog log(path);
        MessageBoxA(nullptr, "Line one\nLine two", "Problem detected!", MB_OK);
        MessageBoxA(nullptr, "Please insert the Quorven CD.", "Insert CD!", MB_OKCANCEL);
        // Windows line breaks, and a lone CR, keep the box on one line of the log as well.
        MessageBoxA(nullptr, "One\r\nTwo\rThree\r", "Two\r\nlines", MB_OK);
        EXPECT_EQ(log.Text(), "box Problem detected!|Line one\\nLine two -> OK\n"
                              "box Insert CD!|Please insert the Quorven CD. -> Cancel\n"
                              "box Two\\nlines|One\\nTwo\\nThree\\n -> OK\n");
    }
    std::filesystem::remove(path);
}

struct TextCase {
    const char* name;
    UINT codePage;
    const char* ansi;
    const char* utf8;
};

class AnsiTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(AnsiTextTest, TextsReachTheHostAsUtf8) {
    testing::ScopedCodePage page(GetParam().codePage);
    EXPECT_EQ(video::Utf8FromAnsi(GetParam().ansi), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, AnsiTextTest,
    ::testing::Values(TextCase{"Ascii", 1252, "Problem detected!", "Problem detected!"},
                      TextCase{"Western", 1252, "Caf\xE9 \x80 \x93", "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9C"},
                      TextCase{"Cyrillic", 1251, "\xC4\xE0", "\xD0\x94\xD0\xB0"},
                      TextCase{"Japanese", 932, "\x82\xA0 CD", "\xE3\x81\x82 CD"},
                      TextCase{"CutDoubleByte", 932, "CD\x82", "CD\xEF\xBF\xBD"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace win32::tests
