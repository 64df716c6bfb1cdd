#include "platform/win32/input/HeadlessRun.h"

#include "platform/testing/CaseNames.h"
#include "platform/testing/HeadlessRunTesting.h"
#include "platform/testing/MessageBoxTesting.h"
#include "platform/testing/WindowTesting.h"
#include "platform/tests/ChildProcess.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/headless/HeadlessRunScript.h"
#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/kernel/Time.h"
#include "platform/win32/windows/RunLoopPacing.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace win32::tests {
namespace {

// A small program run by the end-to-end tests: it asks at start-up whether to start, then shows a picture
// whose colour follows its input, and per step pumps its messages, presents the picture, sleeps 4 ms as a
// frame wait would and ends the step. A left button down shows a box with the clock; Space turns the picture
// green, a right button up blue; its close box quits with code 3 (unless it ignores closing).
constexpr int kAppSize = 64;
std::uint32_t g_appColour = 0x000000;
bool g_appIgnoresClose = false;

LRESULT AppProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        g_appColour = 0xFF0000;
        MessageBoxA(window, ("down at " + std::to_string(timeGetTime())).c_str(), "Click", MB_OK);
        return 0;
    case WM_RBUTTONUP:
        g_appColour = 0x0000FF;
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            g_appColour = 0x00FF00;
        }
        return 0;
    case WM_CLOSE:
        if (!g_appIgnoresClose) {
            DestroyWindow(window);
            PostQuitMessage(3);
        }
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void PresentColour(HWND window, std::uint32_t colour, int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height), colour);
    video::PixelSource source{reinterpret_cast<const std::uint8_t*>(pixels.data()),
                              width * 4,
                              width,
                              height,
                              32,
                              0xFF0000,
                              0x00FF00,
                              0x0000FF};
    video::Present(window, source, RECT{0, 0, width, height}, false);
}

int RunApp() {
    if (MessageBoxA(nullptr, "Start?", "Start", MB_OKCANCEL) != IDOK) {
        return 5;
    }
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.lpfnWndProc = AppProcedure;
    record.lpszClassName = "Headless App";
    RegisterClassExA(&record);
    HWND window = CreateWindowExA(0, "Headless App", "App", WS_POPUP | WS_VISIBLE, 0, 0, kAppSize, kAppSize,
                                  nullptr, nullptr, nullptr, nullptr);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (IsWindow(window)) {
            PresentColour(window, g_appColour, kAppSize, kAppSize);
        }
        Sleep(4);
        EndRunLoopStep();
    }
}

[[maybe_unused]] const int kApp = [] {
    const char* app = std::getenv("VEMO_TEST_HEADLESS_APP");
    if (app == nullptr) {
        return 0;
    }
    g_appIgnoresClose = std::string(app) == "ignore-close";
    // Through exit, so that the log gets its last line.
    std::exit(RunApp());
}();

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

// The pixel at x, y (from the top) of a 24-bit BMP as 0xRRGGBB.
std::uint32_t BmpPixel(const std::string& bmp, int x, int y) {
    const auto width = static_cast<int>(LittleEndian(bmp, 18, 4));
    const auto height = static_cast<int>(LittleEndian(bmp, 22, 4));
    const int rowBytes = (width * 3 + 3) & ~3;
    return LittleEndian(bmp, 54 + static_cast<std::size_t>((height - 1 - y) * rowBytes + x * 3), 3);
}

struct StepCase {
    const char* name;
    const char* text;
    const char* error; // empty: the steps read
};

class HeadlessStepsTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(HeadlessStepsTest, ReadsTheStepsOrNamesTheLine) {
    std::vector<HeadlessStep> steps;
    std::string error;
    EXPECT_EQ(ParseHeadlessSteps(GetParam().text, steps, error), *GetParam().error == '\0') << error;
    EXPECT_EQ(error.rfind(GetParam().error, 0), 0u) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HeadlessStepsTest,
    ::testing::Values(
        StepCase{"EveryStep",
                 "# a run\n\nwait 10\nmove 1 2\nclick 3 4\nclick 3 4 right\ndown -5 6 left\nup 7 8 RIGHT\n"
                 "key Escape\nkey f12\nkey a\nkey Numpad0\nanswer cancel\nsnapshot shots/one two.bmp  \n"
                 "  CLOSE # and a comment\r\nwait 0\n",
                 ""},
        StepCase{"ByteOrderMark", "\xEF\xBB\xBFwait 1\r\nclose\r\n", ""},
        StepCase{"UnknownStep", "wait 1\njump 2\n", "line 2: unknown step \"jump\""},
        StepCase{"NegativeWait", "wait -1\n", "line 1: wait takes the milliseconds"},
        StepCase{"WaitTooLong", "wait 4294967296\n", "line 1: wait takes the milliseconds"},
        StepCase{"MoveWithButton", "move 1 2 left\n", "line 1: move takes X Y"},
        StepCase{"ClickWithoutY", "\n\nclick 1\n", "line 3: click takes X Y"},
        StepCase{"PointFarOff", "down 40000 1\n", "line 1: down takes X Y"},
        StepCase{"MiddleButton", "up 1 2 middle\n", "line 1: up's button is left or right"},
        StepCase{"UnknownKey", "key Hyper\n", "line 1: key takes one virtual-key name"},
        StepCase{"FunctionKeyTooHigh", "key F25\n", "line 1: key takes one virtual-key name"},
        StepCase{"UnknownAnswer", "answer Maybe\n", "line 1: answer takes OK, Cancel"},
        StepCase{"SnapshotWithoutFile", "snapshot   # no file\n", "line 1: snapshot takes the file"},
        StepCase{"CloseWithWord", "close now\n", "line 1: close takes nothing"}),
    platform::testing::NameFromText<&StepCase::name>());

TEST(HeadlessStepsReadTest, StepsKeepWhatTheyName) {
    std::vector<HeadlessStep> steps;
    std::string error;
    ASSERT_TRUE(
        ParseHeadlessSteps("click 3 -4 right\nkey return\nanswer Yes\nsnapshot  a b.bmp \n", steps, error));
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].kind, HeadlessStep::Kind::Click);
    EXPECT_EQ(steps[0].y, -4);
    EXPECT_EQ(steps[0].button, HeadlessStep::Button::Right);
    EXPECT_EQ(steps[1].value, VK_RETURN);
    EXPECT_EQ(steps[1].line, 2);
    EXPECT_EQ(steps[2].value, IDYES);
    EXPECT_EQ(steps[3].file, "a b.bmp");
    EXPECT_EQ(VirtualKeyFromName("F1"), VK_F1);
    EXPECT_EQ(VirtualKeyFromName("f24"), VK_F24);
    EXPECT_EQ(VirtualKeyFromName("F01"), 0);
    EXPECT_EQ(VirtualKeyFromName("Z"), 'Z');
    EXPECT_EQ(VirtualKeyFromName("7"), '7');
    EXPECT_EQ(VirtualKeyFromName("Numpad9"), VK_NUMPAD0 + 9);
    EXPECT_EQ(VirtualKeyFromName("PageDown"), VK_NEXT);
}

class ScriptedRunTest : public WindowSystemTest {
protected:
    void TearDown() override {
        m_windows.reset();
        WindowSystemTest::TearDown();
    }

    HWND MakeMainWindow() {
        m_windows = std::make_unique<RecordingWindowClass>();
        return m_windows->Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 3, 2});
    }

    static std::vector<UINT> Queued() {
        std::vector<UINT> messages;
        for (const MSG& message : testing::QueuedMessages()) {
            messages.push_back(message.message);
        }
        return messages;
    }

    std::unique_ptr<RecordingWindowClass> m_windows;
};

TEST_F(ScriptedRunTest, TheClockMovesOnlyWhileAWaitRuns) {
    testing::ScriptedRun run("wait 25\nwait 3\n");
    EXPECT_EQ(timeGetTime(), 0u);
    Sleep(10);
    EXPECT_EQ(timeGetTime(), 10u);
    std::thread([] { Sleep(50); }).join();
    EXPECT_EQ(timeGetTime(), 10u) << "another thread's sleep moves nothing";
    Sleep(100);
    EXPECT_EQ(timeGetTime(), 25u) << "a sleep stops where the wait ends";
    Sleep(5);
    EXPECT_EQ(timeGetTime(), 25u) << "no wait runs until the next step's end";

    // The end of a step that moved nothing moves it 1 ms; the next wait starts there.
    EndRunLoopStep();
    EXPECT_EQ(timeGetTime(), 25u);
    Sleep(1);
    EndRunLoopStep();
    EXPECT_EQ(timeGetTime(), 26u);
    EndRunLoopStep();
    EndRunLoopStep();
    EXPECT_EQ(timeGetTime(), 28u);
    EXPECT_TRUE(run.StepsDone());
}

TEST_F(ScriptedRunTest, InputIsPostedWhenAWaitEndsAndTheMainWindowClosedAtTheEnd) {
    const HWND window = MakeMainWindow();
    Drain();
    testing::ScriptedRun run("wait 2\nclick 1 1 right\nwait 3\nkey Escape\n");
    EndRunLoopStep();
    EXPECT_TRUE(Queued().empty());
    EndRunLoopStep();
    EXPECT_EQ(Queued(), (std::vector<UINT>{WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP}));
    EXPECT_EQ(testing::QueuedMessages().back().hwnd, window);
    Drain();

    Sleep(2);
    EndRunLoopStep();
    EXPECT_TRUE(Queued().empty());
    Sleep(7);
    EXPECT_EQ(timeGetTime(), 5u);
    EndRunLoopStep();
    EXPECT_EQ(timeGetTime(), 5u) << "the step moved the clock itself";
    const std::vector<MSG> queued = testing::QueuedMessages();
    ASSERT_EQ(queued.size(), 3u);
    EXPECT_EQ(queued[0].message, static_cast<UINT>(WM_SYSCOMMAND)) << "the steps are done: the close box";
    EXPECT_EQ(queued[0].wParam, SC_CLOSE);
    EXPECT_EQ(queued[1].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(queued[1].wParam, VK_ESCAPE);
    EXPECT_TRUE(run.StepsDone());
}

TEST_F(ScriptedRunTest, NothingWaitsForTimeThatCannotPass) {
    testing::ScriptedRun run("wait 10\n");
    // The queue is empty: WaitMessage would block for ever on a real run.
    EXPECT_TRUE(WaitMessage());
    EXPECT_TRUE(ThreadTimersMayFire());
    bool otherThread = true;
    std::thread([&] { otherThread = ThreadTimersMayFire(); }).join();
    EXPECT_FALSE(otherThread);
}

TEST_F(ScriptedRunTest, ASnapshotWritesWhatTheMainWindowShows) {
    const HWND window = MakeMainWindow();
    PresentColour(window, 0x123456, 2, 1);
    const std::string file = ::testing::TempDir() + "scripted-snapshot.bmp";
    const std::string logFile = ::testing::TempDir() + "scripted-snapshot-log.txt";
    testing::HeadlessLog log(logFile);
    testing::ScriptedRun run("snapshot " + file + "\n");
    EndRunLoopStep();
    const std::string bmp = ReadFile(file);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(LittleEndian(bmp, 18, 4), 3u);
    EXPECT_EQ(LittleEndian(bmp, 22, 4), 2u);
    EXPECT_EQ(LittleEndian(bmp, 28, 2), 24u);
    EXPECT_EQ(BmpPixel(bmp, 0, 0), 0x123456u);
    EXPECT_EQ(BmpPixel(bmp, 1, 0), 0x123456u);
    EXPECT_EQ(BmpPixel(bmp, 2, 0), 0u) << "black where the picture does not reach";
    EXPECT_EQ(BmpPixel(bmp, 0, 1), 0u);
    EXPECT_EQ(log.Text(), "snapshot " + file + "\n");
    std::filesystem::remove(file);
    std::filesystem::remove(logFile);
    Drain();
}

TEST_F(ScriptedRunTest, ARestoreRequestGoesIntoTheLog) {
    const HWND window = MakeMainWindow();
    const std::string logFile = ::testing::TempDir() + "restore-log-" + std::to_string(::getpid()) + ".txt";
    {
        testing::HeadlessLog log(logFile);
        SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE | 2, 0);
        EXPECT_EQ(log.Text(), "restore\n");
    }
    std::filesystem::remove(logFile);
    Drain();
}

TEST_F(ScriptedRunTest, AStepWithoutAMainWindowSaysSoAndAnswersWaitForTheirBox) {
    testing::MessageBoxRecorder boxes;
    testing::ScriptedRun run("answer OK\nwait 1\nclick 1 1\nanswer OK\n");
    ::testing::internal::CaptureStderr();
    EndRunLoopStep();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the test's steps, line 3: no main window is shown; the step does nothing"),
              std::string::npos)
        << said;
    EXPECT_EQ(MessageBoxA(nullptr, "1", "Box", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "2", "Box", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "3", "Box", MB_OKCANCEL), IDCANCEL);
    EXPECT_THROW(testing::ScriptedRun("wait\n"), std::invalid_argument);
}

// The end-to-end runs: the program above, started with the environment that a user gives.
class HeadlessProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = ::testing::TempDir() + "headless-run-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                   std::to_string(::getpid());
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    platform::tests::ChildResult Run(const std::string& steps, const std::string& app = "1",
                                     std::vector<std::string> more = {}) {
        std::ofstream(m_folder + "/steps.txt") << steps;
        more.push_back("VEMO_TEST_HEADLESS_APP=" + app);
        more.push_back("VEMO_HEADLESS_INPUT=" + m_folder + "/steps.txt");
        more.push_back("VEMO_HEADLESS_LOG=" + m_folder + "/log.txt");
        return platform::tests::RunSelf(more, m_folder);
    }

    std::string Log() const { return ReadFile(m_folder + "/log.txt"); }

    std::string m_folder;
};

TEST_F(HeadlessProgramTest, TheStepsDriveTheProgramAndTheLogTellsWhatHappened) {
    const platform::tests::ChildResult result = Run("answer OK   # for the start-up's box\n"
                                                    "wait 20\n"
                                                    "click 10 10\n"
                                                    "wait 10\n"
                                                    "snapshot red.bmp\n"
                                                    "key Space\n"
                                                    "wait 1\n"
                                                    "snapshot green.bmp\n");
    EXPECT_EQ(result.exitCode, 3) << result.output;
    EXPECT_EQ(Log(), "box Start|Start? -> OK\n"
                     "box Click|down at 20 -> OK\n"
                     "snapshot red.bmp\n"
                     "snapshot green.bmp\n"
                     "exit 3\n");
    const std::string red = ReadFile(m_folder + "/red.bmp");
    const std::string green = ReadFile(m_folder + "/green.bmp");
    ASSERT_EQ(red.size(), 54u + 64 * 64 * 3);
    EXPECT_EQ(BmpPixel(red, 0, 0), 0xFF0000u);
    EXPECT_EQ(BmpPixel(green, 63, 63), 0x00FF00u);
    // The same steps give the same run.
    EXPECT_EQ(Run(ReadFile(m_folder + "/steps.txt")).exitCode, 3);
    EXPECT_EQ(ReadFile(m_folder + "/red.bmp"), red);
}

TEST_F(HeadlessProgramTest, AMalformedStepEndsTheRunBeforeTheProgramStarts) {
    const platform::tests::ChildResult result = Run("answer OK\nwait 10\nclick 10\n");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.output.find("VEMO_HEADLESS_INPUT " + m_folder + "/steps.txt, line 3: click takes X Y"),
              std::string::npos)
        << result.output;
    EXPECT_EQ(Log(), "exit 2\n") << "the start-up's box never came";

    const platform::tests::ChildResult folder =
        platform::tests::RunSelf({"VEMO_TEST_HEADLESS_APP=1", "VEMO_HEADLESS_INPUT=" + m_folder,
                                  "VEMO_HEADLESS_LOG=" + m_folder + "/log.txt"},
                                 m_folder);
    EXPECT_EQ(folder.exitCode, 2);
    EXPECT_NE(
        folder.output.find("VEMO_HEADLESS_INPUT " + m_folder + ": is neither a regular file nor a pipe"),
        std::string::npos)
        << folder.output;
    EXPECT_EQ(Log(), "exit 2\n");

    const platform::tests::ChildResult sdl = Run("wait 1\n", "1", {"VEMO_VIDEO=sdl"});
    EXPECT_EQ(sdl.exitCode, 2);
    EXPECT_NE(sdl.output.find("a scripted run is headless, and VEMO_VIDEO asks for sdl"), std::string::npos);
}

TEST_F(HeadlessProgramTest, AProgramThatIgnoresTheCloseIsEndedOnceItsClockRanOn) {
    const platform::tests::ChildResult result = Run("answer OK\nwait 5\n", "ignore-close");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.output.find("the program did not end within 60000 ms of its clock"), std::string::npos)
        << result.output;
    EXPECT_EQ(Log(), "box Start|Start? -> OK\nexit 2\n");
}

TEST_F(HeadlessProgramTest, TheLogAloneRecordsARunWithoutSteps) {
    const platform::tests::ChildResult result = platform::tests::RunSelf(
        {"VEMO_TEST_HEADLESS_APP=1", "VEMO_VIDEO=headless", "VEMO_HEADLESS_LOG=" + m_folder + "/log.txt"},
        m_folder);
    EXPECT_EQ(result.exitCode, 5);
    EXPECT_EQ(Log(), "box Start|Start? -> Cancel\nexit 5\n");
    EXPECT_EQ(result.output.find("Start?"), std::string::npos) << "the log has it: " << result.output;
}

TEST_F(HeadlessProgramTest, WithoutALogEveryBoxIsSaidOnTheStandardError) {
    const platform::tests::ChildResult result =
        platform::tests::RunSelf({"VEMO_TEST_HEADLESS_APP=1", "VEMO_VIDEO=headless"}, m_folder);
    EXPECT_EQ(result.exitCode, 5);
    EXPECT_NE(result.output.find("headless box Start|Start? -> Cancel\n"), std::string::npos)
        << result.output;
}

} // namespace
} // namespace win32::tests
