// The box the program draws itself when the host's box cannot show, under SDL's dummy driver: real SDL
// windows and events. The host's box is made to fail (VEMO_TEST_HOST_BOX=fail), as on an X server without
// the core fonts. The box runs its loop on the test's thread, which runs SDL; a second thread looks at what
// the window shows and gives the input a player would, through SDL's own event queue.
#include "platform/testing/CursorTesting.h"
#include "platform/testing/MessageBoxTesting.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/video/FrameStore.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/windows/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

namespace win32::tests {
namespace {

constexpr std::uint32_t kTitleColor = 0x336699;
constexpr std::uint32_t kCaptionColor = 0x0A246A;
constexpr std::uint32_t kFaceColor = 0xD4D0C8;

// A pixel of text drawn in black, grey at its edges.
bool IsInk(std::uint32_t pixel) {
    return (pixel >> 16 & 0xFF) < 0x80 && (pixel >> 8 & 0xFF) < 0x80 && (pixel & 0xFF) < 0x80;
}

bool IsCaptionInk(std::uint32_t pixel) {
    return (pixel >> 16 & 0xFF) > 0x80 && (pixel >> 8 & 0xFF) > 0x80;
}

int CountInk(const video::Frame& frame, const RECT& area, bool (*ink)(std::uint32_t)) {
    int count = 0;
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            count += ink(frame.At(x, y)) ? 1 : 0;
        }
    }
    return count;
}

// The runs of rows with ink in them: the lines of text in an area.
int InkBands(const video::Frame& frame, const RECT& area) {
    int bands = 0;
    bool inBand = false;
    for (LONG y = area.top; y < area.bottom; ++y) {
        const bool ink = CountInk(frame, RECT{area.left, y, area.right, y + 1}, IsInk) > 0;
        bands += ink && !inBand ? 1 : 0;
        inBand = ink;
    }
    return bands;
}

POINT Middle(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void PushKey(HWND window, SDL_Scancode key) {
    EXPECT_TRUE(testing::PushSdlKey(window, key, true));
    EXPECT_TRUE(testing::PushSdlKey(window, key, false));
}

void PushPress(HWND window, Uint32 type, POINT at) {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = testing::SdlWindowId(window);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = at.x;
    event.button.y = at.y;
    EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

using Player = std::function<void(const testing::DrawnMessageBoxPlace&)>;

class DrawnMessageBoxTest : public WindowSystemTest {
protected:
    void SetUp() override {
        WindowSystemTest::SetUp();
        ASSERT_TRUE(testing::UseDummySdlBackend()) << SDL_GetError();
    }

    void TearDown() override {
        WindowSystemTest::TearDown();
        testing::UseVideoBackend(testing::VideoBackendKind::Headless);
    }

    // A window showing a picture of one colour over its whole client area.
    static void ShowPicture(HWND window, int width, int height, bool fullscreen = false) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height), kTitleColor);
        video::PixelSource source;
        source.bits = reinterpret_cast<const std::uint8_t*>(pixels.data());
        source.pitch = width * 4;
        source.width = width;
        source.height = height;
        source.bitsPerPixel = 32;
        source.redMask = 0xFF0000;
        source.greenMask = 0x00FF00;
        source.blueMask = 0x0000FF;
        video::Present(window, source, RECT{0, 0, width, height}, fullscreen);
    }

    // Shows the box on this thread while the player, on another, waits for it to show and then acts on it.
    // The answer, or 0 when no drawn box came up.
    int ShowBox(HWND owner, const char* text, const char* caption, UINT type, const Player& player) {
        bool shown = false;
        std::thread playing([&] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            std::optional<testing::DrawnMessageBoxPlace> place;
            while (!(place = testing::DrawnMessageBoxShown()) &&
                   std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            if (place.has_value()) {
                shown = true;
                player(*place);
            }
        });
        const int answer = MessageBoxA(owner, text, caption, type);
        playing.join();
        return shown ? answer : 0;
    }

    platform::testing::ScopedEnvironment m_hostBoxFails{"VEMO_TEST_HOST_BOX", "fail"};
};

TEST_F(DrawnMessageBoxTest, TheBoxIsDrawnInTheMiddleOfTheOwnersPictureWithItsCaptionLinesAndButtons) {
    RecordingWindowClass windows;
    HWND main = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 640, 480});
    ShowPicture(main, 640, 480);
    const int answer = ShowBox(
        main, "First line\nSecond line", "Problem detected!", MB_OKCANCEL,
        [main](const testing::DrawnMessageBoxPlace& place) {
            EXPECT_EQ(place.window, main);
            const std::optional<video::Frame> frame = video::FrameStore::Instance().Shown(main);
            ASSERT_TRUE(frame.has_value());
            const RECT& box = place.box;
            EXPECT_NEAR(Middle(box).x, 320, 1);
            EXPECT_NEAR(Middle(box).y, 240, 1);
            // The title's picture stays around the box.
            EXPECT_EQ(frame->At(box.left - 1, box.top), kTitleColor);
            EXPECT_EQ(frame->At(box.right, box.bottom - 1), kTitleColor);
            EXPECT_EQ(frame->At(5, 5), kTitleColor);
            // The caption bar across the top, its words in light ink.
            const RECT caption{box.left + 2, box.top + 2, box.right - 2, box.top + 20};
            EXPECT_EQ(frame->At(box.right - 3, box.top + 3), kCaptionColor);
            EXPECT_GT(CountInk(*frame, caption, IsCaptionInk), 50);
            // The text in two lines on the box's face, between the caption and the buttons.
            const RECT text{box.left + 2, caption.bottom + 6, box.right - 2, place.ok.top - 2};
            EXPECT_EQ(frame->At(box.right - 3, place.ok.top - 3), kFaceColor);
            EXPECT_EQ(InkBands(*frame, text), 2);
            // Two framed buttons, each with its word.
            for (const RECT& button : {place.ok, place.cancel}) {
                EXPECT_FALSE(button.right <= button.left);
                EXPECT_EQ(frame->At(button.left, Middle(button).y), 0x404040u);
                EXPECT_GT(CountInk(*frame,
                                   RECT{button.left + 3, button.top + 3, button.right - 3, button.bottom - 3},
                                   IsInk),
                          20);
            }
            EXPECT_LT(place.ok.right, place.cancel.left);
            PushKey(main, SDL_SCANCODE_RETURN);
        });
    EXPECT_EQ(answer, IDOK);
    // Once answered, the window shows the title's picture alone again.
    EXPECT_EQ(video::FrameStore::Instance().Shown(main)->At(320, 240), kTitleColor);
}

// A player's way of answering the box, and what it answers.
struct AnswerCase {
    const char* name;
    UINT type;
    std::function<void(HWND, const testing::DrawnMessageBoxPlace&)> play;
    int expected;
};

class DrawnMessageBoxAnswerTest : public DrawnMessageBoxTest,
                                  public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(DrawnMessageBoxAnswerTest, ClicksAndKeysAnswerAsOnWindows) {
    RecordingWindowClass windows;
    HWND main = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 640, 480});
    ShowPicture(main, 640, 480);
    const AnswerCase& param = GetParam();
    EXPECT_EQ(ShowBox(main, "Please insert the CD.", "Insert CD!", param.type,
                      [&](const testing::DrawnMessageBoxPlace& place) { param.play(main, place); }),
              param.expected);
}

void Click(HWND window, const RECT& button) {
    PushPress(window, SDL_MOUSEBUTTONDOWN, Middle(button));
    PushPress(window, SDL_MOUSEBUTTONUP, Middle(button));
}

const AnswerCase kAnswers[] = {
    {"ClickOk", MB_OKCANCEL, [](HWND w, const testing::DrawnMessageBoxPlace& p) { Click(w, p.ok); }, IDOK},
    {"ClickCancel", MB_OKCANCEL, [](HWND w, const testing::DrawnMessageBoxPlace& p) { Click(w, p.cancel); },
     IDCANCEL},
    {"Enter", MB_OKCANCEL,
     [](HWND w, const testing::DrawnMessageBoxPlace&) { PushKey(w, SDL_SCANCODE_RETURN); }, IDOK},
    {"Escape", MB_OKCANCEL,
     [](HWND w, const testing::DrawnMessageBoxPlace&) { PushKey(w, SDL_SCANCODE_ESCAPE); }, IDCANCEL},
    {"EscapeWithOkAlone", MB_OK,
     [](HWND w, const testing::DrawnMessageBoxPlace&) { PushKey(w, SDL_SCANCODE_ESCAPE); }, IDOK},
    // Pressed on OK and let go on Cancel: neither is clicked, and the box stays for the next answer.
    {"PressOkReleaseOnCancel", MB_OKCANCEL,
     [](HWND w, const testing::DrawnMessageBoxPlace& p) {
         PushPress(w, SDL_MOUSEBUTTONDOWN, Middle(p.ok));
         PushPress(w, SDL_MOUSEBUTTONUP, Middle(p.cancel));
         PushKey(w, SDL_SCANCODE_RETURN);
     },
     IDOK},
};

INSTANTIATE_TEST_SUITE_P(Players, DrawnMessageBoxAnswerTest, ::testing::ValuesIn(kAnswers),
                         [](const ::testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

// The key that brought the box up (Escape, for a quit question) is still down when it shows: its repeats
// answer nothing.
TEST_F(DrawnMessageBoxTest, AKeyHeldSinceBeforeTheBoxAnswersNothing) {
    RecordingWindowClass windows;
    HWND main = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 640, 480});
    ShowPicture(main, 640, 480);
    ASSERT_TRUE(testing::PushSdlKey(main, SDL_SCANCODE_ESCAPE, true));
    Pump();
    EXPECT_EQ(ShowBox(main, "Quit?", "Quorven", MB_OKCANCEL,
                      [main](const testing::DrawnMessageBoxPlace& place) {
                          EXPECT_TRUE(testing::PushSdlKey(main, SDL_SCANCODE_ESCAPE, true));
                          EXPECT_TRUE(testing::PushSdlKey(main, SDL_SCANCODE_ESCAPE, false));
                          Click(main, place.ok);
                      }),
              IDOK);
}

TEST_F(DrawnMessageBoxTest, TheTitleGetsNoInputWhileTheBoxIsUpAndItsOtherMessagesAfterwards) {
    RecordingWindowClass windows;
    HWND main = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 640, 480});
    ShowPicture(main, 640, 480);
    Pump();
    windows.ClearLog();
    const UINT kLater = WM_USER + 7;
    EXPECT_EQ(ShowBox(main, "Quit?", "Quorven", MB_OKCANCEL,
                      [main, kLater](const testing::DrawnMessageBoxPlace& place) {
                          // A click beside the box, a key, the wheel, and a message of the title's own.
                          PushPress(main, SDL_MOUSEBUTTONDOWN, POINT{10, 10});
                          PushPress(main, SDL_MOUSEBUTTONUP, POINT{10, 10});
                          PushKey(main, SDL_SCANCODE_A);
                          EXPECT_TRUE(testing::PushSdlWheel(main, 1));
                          EXPECT_TRUE(PostMessageA(main, kLater, 1, 2));
                          std::this_thread::sleep_for(std::chrono::milliseconds(100));
                          Click(main, place.cancel);
                      }),
              IDCANCEL);
    for (UINT message :
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_MOUSEWHEEL, kLater}) {
        EXPECT_TRUE(windows.Only(message).empty()) << "message " << message << " reached the title";
    }
    Pump();
    EXPECT_EQ(windows.Only(kLater).size(), 1U) << "the title's own message waits for the box";
    EXPECT_TRUE(windows.Only(WM_LBUTTONDOWN).empty());

    ASSERT_TRUE(testing::PushSdlClick(main, testing::MouseButton::Left, 10, 10));
    Pump();
    EXPECT_EQ(windows.Only(WM_LBUTTONDOWN).size(), 1U) << "input reaches the title again";
}

TEST_F(DrawnMessageBoxTest, AFullScreenPictureShowsTheBoxInItsMiddle) {
    RecordingWindowClass windows;
    HWND main = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 1024, 768});
    ShowPicture(main, 640, 480, true);
    EXPECT_EQ(ShowBox(main, "Please insert the CD.", "Insert CD!", MB_OKCANCEL,
                      [main](const testing::DrawnMessageBoxPlace& place) {
                          EXPECT_NEAR(Middle(place.box).x, 320, 1);
                          EXPECT_NEAR(Middle(place.box).y, 240, 1);
                          const std::optional<video::Frame> frame = video::FrameStore::Instance().Shown(main);
                          ASSERT_TRUE(frame.has_value());
                          EXPECT_TRUE(frame->fullscreen);
                          EXPECT_EQ(frame->At(place.box.right - 3, place.box.top + 3), kCaptionColor);
                          // (Where a click on the scaled picture lands is SDL's to say, once it has made the
                          // window full screen.)
                          PushKey(main, SDL_SCANCODE_RETURN);
                      }),
              IDOK);
}

struct OwnWindowCase {
    const char* name;
    // The owner's client size; 0 for a box without an owner.
    int ownerWidth;
    int ownerHeight;
};

class DrawnMessageBoxWindowTest : public DrawnMessageBoxTest,
                                  public ::testing::WithParamInterface<OwnWindowCase> {};

// Without an owner that shows a picture the box fits into, it shows in a window of its own, gone once it is
// answered.
TEST_P(DrawnMessageBoxWindowTest, ElseTheBoxHasAWindowOfItsOwn) {
    RecordingWindowClass windows;
    HWND owner = nullptr;
    if (GetParam().ownerWidth > 0) {
        owner = windows.Create(WS_POPUP | WS_VISIBLE, nullptr,
                               {0, 0, GetParam().ownerWidth, GetParam().ownerHeight});
        ShowPicture(owner, GetParam().ownerWidth, GetParam().ownerHeight);
    }
    HWND boxWindow = nullptr;
    EXPECT_EQ(ShowBox(owner, "Systems or data failed to setup.", "Problem detected!", MB_OKCANCEL,
                      [&](const testing::DrawnMessageBoxPlace& place) {
                          boxWindow = place.window;
                          ASSERT_NE(place.window, owner);
                          EXPECT_EQ(place.box.left, 0);
                          EXPECT_EQ(place.box.top, 0);
                          const std::optional<video::Frame> frame =
                              video::FrameStore::Instance().Shown(place.window);
                          ASSERT_TRUE(frame.has_value());
                          EXPECT_EQ(frame->width, place.box.right);
                          EXPECT_EQ(frame->At(place.box.right - 3, 3), kCaptionColor);
                          Click(place.window, place.cancel);
                      }),
              IDCANCEL);
    ASSERT_NE(boxWindow, nullptr);
    EXPECT_FALSE(IsWindow(boxWindow));
}

INSTANTIATE_TEST_SUITE_P(Owners, DrawnMessageBoxWindowTest,
                         ::testing::Values(OwnWindowCase{"NoOwner", 0, 0},
                                           OwnWindowCase{"TooSmallOwner", 160, 100}),
                         [](const ::testing::TestParamInfo<OwnWindowCase>& info) { return info.param.name; });

TEST_F(DrawnMessageBoxTest, TheHostsPointerShowsWhileTheBoxIsUp) {
    const int width = GetSystemMetrics(SM_CXCURSOR);
    const int height = GetSystemMetrics(SM_CYCURSOR);
    std::vector<BYTE> andPlane(static_cast<std::size_t>(width * height), 0xFF);
    std::vector<BYTE> xorPlane(static_cast<std::size_t>(width * height), 0x00);
    const HCURSOR blank =
        CreateCursor(GetModuleHandleA(nullptr), 0, 0, width, height, andPlane.data(), xorPlane.data());
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.lpfnWndProc = DefWindowProcA;
    record.hInstance = GetModuleHandleA(nullptr);
    record.hCursor = blank;
    record.lpszClassName = "Blank Cursor Title";
    ASSERT_NE(RegisterClassExA(&record), 0);
    HWND main = CreateWindowExA(0, record.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                nullptr, record.hInstance, nullptr);
    ShowPicture(main, 640, 480);
    ASSERT_TRUE(testing::PushSdlMouseMotion(main, 30, 30));
    Drain();
    ASSERT_TRUE(testing::PointerHidden());
    EXPECT_EQ(ShowBox(main, "Quit?", "Quorven", MB_OKCANCEL,
                      [main](const testing::DrawnMessageBoxPlace& place) {
                          EXPECT_FALSE(testing::PointerHidden());
                          EXPECT_TRUE(testing::PushSdlMouseMotion(main, 40, 40));
                          std::this_thread::sleep_for(std::chrono::milliseconds(50));
                          EXPECT_FALSE(testing::PointerHidden()) << "moving over the title's window keeps it";
                          Click(main, place.ok);
                      }),
              IDOK);
    EXPECT_TRUE(testing::PointerHidden());
    DestroyWindow(main);
    UnregisterClassA(record.lpszClassName, record.hInstance);
    DestroyCursor(blank);
}

} // namespace
} // namespace win32::tests
