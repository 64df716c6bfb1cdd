// Buttons made from real scripts under a viewport of the DirectX 6 engine (headless): pictures decoded
// through the bitmap cache, the mouse injected into the viewport's window, frames read back as the window
// shows them, flashing on the fake clock.
#include "controls/ButtonControl.h"
#include "platform/testing/DirectDrawTesting.h"
#include "platform/testing/WindowTesting.h"
#include "runtime/pictures/SelectionMask.h"
#include "runtime/screen/Cursor.h"
#include "runtime/testing/PictureTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using MessengerTest::Log;
using MessengerTest::S;
using VemoTest::Reports;

constexpr Vemo::ErrorCode kFailure = Control::kErrorFailure;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kGrey = 0x808080;
constexpr std::uint32_t kWhite = 0xFFFFFF;

VemoTest::Picture Solid(std::uint32_t color, int width, int height) {
    return VemoTest::Picture(height, std::vector<std::uint32_t>(width, color));
}

class ButtonControlTest : public PictureTest::Fixture {
protected:
    void SetUp() override {
        PictureTest::Fixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        WriteFile("up.bmp", PictureTest::Bmp(Solid(kRed, 8, 6)));
        WriteFile("down.bmp", PictureTest::Bmp(Solid(kGreen, 8, 6)));
        WriteFile("over.bmp", PictureTest::Bmp(Solid(kBlue, 8, 6)));
        WriteFile("off.bmp", PictureTest::Bmp(Solid(kGrey, 8, 6)));
        // The left half is hot (white), the right half is not.
        VemoTest::Picture mask = Solid(kWhite, 8, 6);
        for (auto& row : mask) {
            std::fill(row.begin() + 4, row.end(), 0);
        }
        WriteFile("mask.bmp", PictureTest::Bmp(mask));
    }

    void TearDown() override {
        m_watcher.reset();
        delete m_owner;
        m_owner = nullptr;
        PictureTest::Fixture::TearDown();
    }

    // The viewport, then the controls of [Menu]'s "Control" keys under its root; the first button's
    // announcements are recorded.
    bool Load(const std::string& sections) {
        m_viewport = MakeCursorViewport(sections);
        if (m_viewport == nullptr) {
            return false;
        }
        m_owner = new Messenger(S("Menu"), nullptr, m_title->m_script);
        EXPECT_TRUE(m_owner->ReadScript());
        const bool created = Control::CreateFromScriptKey(m_title->m_script, S("Menu"), S("Control"), m_owner,
                                                          &m_controls, m_viewport->GetRootControl(), nullptr);
        if (created && !m_controls.Empty()) {
            m_watcher = std::make_unique<MessengerTest::Recorder>(S("Watcher"), nullptr, nullptr);
            m_watcher->Subscribe(*m_controls[0]);
            m_watcher->TakeReceived();
        }
        return created;
    }

    ButtonControl& Button(const char* name = "Button") {
        auto* button = dynamic_cast<ButtonControl*>(m_owner->FindMessenger(S(name)));
        EXPECT_NE(button, nullptr);
        return *button;
    }

    win32::HWND Window() { return WindowOf(*m_viewport); }

    // The window's events reach the controls and a frame is drawn.
    void Frame() {
        Pump();
        m_viewport->ProcessEvents();
        m_viewport->DrawFrame(false);
    }

    // The colour word the window shows at the point.
    std::uint32_t Shown(int x, int y) {
        const auto frame = ddraw::testing::ReadFrame(Window());
        if (!frame) {
            return 0xDEADBEEF;
        }
        const std::uint32_t pixel = frame->At(x, y);
        return (pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF);
    }

    Log Announced() { return m_watcher->TakeReceived(); }

    MessengerViewport* m_viewport = nullptr;
    Messenger* m_owner = nullptr;
    Vemo::BasicArray<Control*> m_controls;
    std::unique_ptr<MessengerTest::Recorder> m_watcher;
};

const char* const kFourLooks = "[Menu]\nControl=Button\n"
                               "[Button]\nClass=ButtonControl\nPosition=10, 10\nSize=8, 6\n"
                               "UpBitmap=up.bmp\nDownBitmap=down.bmp\nRolloverBitmap=over.bmp\n"
                               "DisabledBitmap=off.bmp\n";

TEST_F(ButtonControlTest, ShowsItsFourLooksAndAnnouncesAClick) {
    ASSERT_TRUE(Load(kFourLooks));
    ButtonControl& button = Button();
    EXPECT_TRUE(button.IsTransparent());
    Frame();
    EXPECT_EQ(button.GetLook(), ButtonControl::kLookUp);
    EXPECT_EQ(Shown(10, 10), kRed);
    EXPECT_EQ(Shown(17, 15), kRed);
    EXPECT_NE(Shown(18, 15), kRed);

    win32::testing::MoveMouse(Window(), 12, 12);
    Frame();
    EXPECT_EQ(button.GetLook(), ButtonControl::kLookRollover);
    EXPECT_EQ(Shown(12, 12), kBlue);
    win32::testing::PressMouse(Window(), win32::testing::MouseButton::Left, 12, 12);
    Frame();
    EXPECT_EQ(button.GetLook(), ButtonControl::kLookDown);
    EXPECT_EQ(Shown(12, 12), kGreen);
    win32::testing::ReleaseMouse(Window(), win32::testing::MouseButton::Left, 12, 12);
    Frame();
    EXPECT_EQ(Shown(12, 12), kBlue);
    win32::testing::MoveMouse(Window(), 40, 40);
    Frame();
    EXPECT_EQ(Shown(12, 12), kRed);
    EXPECT_EQ(Announced(), (Log{"Enter", "Pressed(0)", "Clicked", "Released(0)", "Exit"}));

    ASSERT_TRUE(button.SetEnabled(false));
    Frame();
    EXPECT_EQ(button.GetLook(), ButtonControl::kLookDisabled);
    EXPECT_EQ(Shown(12, 12), kGrey);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(ButtonControlTest, AReleaseOutsideIsNoClickAndOtherButtonsOnlyAnnounce) {
    ASSERT_TRUE(Load(kFourLooks));
    ButtonControl& button = Button();
    win32::testing::PressMouse(Window(), win32::testing::MouseButton::Right, 12, 12);
    Frame();
    EXPECT_EQ(button.GetLook(), ButtonControl::kLookRollover);
    win32::testing::ReleaseMouse(Window(), win32::testing::MouseButton::Right, 12, 12);
    win32::testing::PressMouse(Window(), win32::testing::MouseButton::Left, 12, 12);
    win32::testing::MoveMouse(Window(), 40, 40);
    win32::testing::ReleaseMouse(Window(), win32::testing::MouseButton::Left, 40, 40);
    Frame();
    const Log announced = Announced();
    EXPECT_EQ(std::count(announced.begin(), announced.end(), "Clicked"), 0)
        << ::testing::PrintToString(announced);
    EXPECT_NE(std::find(announced.begin(), announced.end(), "Pressed(1)"), announced.end());
    EXPECT_NE(std::find(announced.begin(), announced.end(), "Released(0)"), announced.end());
}

TEST_F(ButtonControlTest, AMaskScaledToTheButtonDecidesWhatIsHit) {
    ASSERT_TRUE(Load("[Menu]\nControl=Button\n"
                     "[Button]\nClass=ButtonControl\nPosition=0, 0\nSize=16, 12\n"
                     "UpBitmap=up.bmp\nSelectionMask=mask.bmp, HotSpot(0, 0)\n"));
    ButtonControl& button = Button();
    ASSERT_NE(button.GetSelectionMask(), nullptr);
    EXPECT_TRUE(button.ContainsPoint(Vemo::Point(7, 11)));
    EXPECT_FALSE(button.ContainsPoint(Vemo::Point(8, 0)));
    win32::testing::Click(Window(), win32::testing::MouseButton::Left, 12, 5);
    Frame();
    EXPECT_EQ(Announced(), Log{});
    win32::testing::Click(Window(), win32::testing::MouseButton::Left, 3, 5);
    Frame();
    const Log announced = Announced();
    EXPECT_NE(std::find(announced.begin(), announced.end(), "Clicked"), announced.end());
}

TEST_F(ButtonControlTest, ASizelessButtonTakesItsMasksSize) {
    ASSERT_TRUE(Load("[Menu]\nControl=Button\n"
                     "[Button]\nClass=ButtonControl\nSelectionMask=mask.bmp, Offset(2, 1)\n"));
    ButtonControl& button = Button();
    EXPECT_EQ(button.GetSize().width, 8);
    EXPECT_EQ(button.GetSize().height, 6);
    // Without a hot spot the hot value is 1: no pixel of this mask.
    EXPECT_EQ(button.GetSelectionMask()->GetSelectingValue(), 1u);
    EXPECT_FALSE(button.ContainsPoint(Vemo::Point(3, 2)));
}

struct FailureCase {
    const char* name;
    const char* keys;
};

const FailureCase kFailureCases[] = {
    {"HotSpotOutsideTheMask", "SelectionMask=mask.bmp, HotSpot(8, 0)\n"},
    {"HotSpotLeftOfTheOffset", "SelectionMask=mask.bmp, Offset(2, 2), HotSpot(1, 3)\n"},
    {"HotSpotInALook", "UpBitmap=up.bmp, HotSpot(1, 1)\n"},
    {"UnknownCursorEvent", "Cursor=Hover(Grab)\n"},
    {"UnknownCursorState", "Cursor=Rollover(Hover)\n"},
    {"MissingPicture", "UpBitmap=nowhere.bmp\n"},
};

class ButtonControlFailureTest : public ButtonControlTest,
                                 public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ButtonControlFailureTest, FailsTheButton) {
    EXPECT_FALSE(Load(std::string("[Menu]\nControl=Button\n[Button]\nClass=ButtonControl\nSize=8, 6\n") +
                      GetParam().keys));
    EXPECT_EQ(m_owner->FindMessenger(S("Button")), nullptr);
    const Reports reports = m_application.TakeReports();
    EXPECT_FALSE(reports.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, ButtonControlFailureTest, ::testing::ValuesIn(kFailureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(ButtonControlTest, APicturesPartIsDrawnWithItsTransparentColour) {
    // Red, then blue, then green columns; the button shows the blue and green part with blue transparent,
    // over a red button.
    VemoTest::Picture keyed = Solid(kRed, 16, 6);
    for (auto& row : keyed) {
        std::fill(row.begin() + 8, row.begin() + 12, kBlue);
        std::fill(row.begin() + 12, row.end(), kGreen);
    }
    WriteFile("keyed.bmp", PictureTest::Bmp(keyed));
    ASSERT_TRUE(Load("[Menu]\nControl=Under\nControl=Over\n"
                     "[Under]\nClass=ButtonControl\nPosition=10, 10\nSize=8, 6\nUpBitmap=up.bmp\n"
                     "[Over]\nClass=ButtonControl\nPosition=10, 10\nSize=8, 6\n"
                     "UpBitmap=keyed.bmp, Rect(8, 0, 16, 6), TransparentColor(0, 0, 255)\n"));
    Frame();
    EXPECT_EQ(Shown(10, 12), kRed);
    EXPECT_EQ(Shown(13, 12), kRed);
    EXPECT_EQ(Shown(14, 12), kGreen);
    EXPECT_EQ(Shown(17, 15), kGreen);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(ButtonControlTest, AnOffsetMovesWhereTheLookIsDrawn) {
    ASSERT_TRUE(Load("[Menu]\nControl=Button\n"
                     "[Button]\nClass=ButtonControl\nPosition=10, 10\nSize=12, 10\n"
                     "UpBitmap=up.bmp, Offset(3, 2)\n"));
    Frame();
    EXPECT_NE(Shown(12, 11), kRed);
    EXPECT_EQ(Shown(13, 12), kRed);
    EXPECT_EQ(Shown(20, 17), kRed);
    EXPECT_NE(Shown(21, 18), kRed);
}

TEST_F(ButtonControlTest, FlashesBetweenUpAndRolloverOnTheClock) {
    ASSERT_TRUE(Load(kFourLooks));
    ButtonControl& button = Button();
    ASSERT_TRUE(button.ReceiveTextFrom(S("Flash"), SubString()));
    EXPECT_TRUE(button.IsFlashing());
    Frame();
    EXPECT_EQ(Shown(12, 12), kRed);
    Milliseconds(499);
    button.Idle();
    EXPECT_FALSE(button.GetFlashPhase());
    Milliseconds(1);
    button.Idle();
    Frame();
    EXPECT_TRUE(button.GetFlashPhase());
    EXPECT_EQ(Shown(12, 12), kBlue);
    for (int change = 2; change <= 4; ++change) {
        Milliseconds(500);
        button.Idle();
    }
    EXPECT_FALSE(button.IsFlashing());
    EXPECT_FALSE(button.GetFlashPhase());
    // A period or count of 0 does nothing.
    EXPECT_TRUE(button.ReceiveTextFrom(S("Flash(0)"), SubString()));
    EXPECT_TRUE(button.ReceiveTextFrom(S("Flash(100, 0)"), SubString()));
    EXPECT_FALSE(button.IsFlashing());
    ASSERT_TRUE(button.ReceiveTextFrom(S("Flash(100, 2, false)"), SubString()));
    Milliseconds(100);
    button.Idle();
    Frame();
    EXPECT_EQ(Shown(12, 12), kGreen);
    // A press stops it.
    win32::testing::PressMouse(Window(), win32::testing::MouseButton::Left, 12, 12);
    Frame();
    EXPECT_FALSE(button.IsFlashing());
}

TEST_F(ButtonControlTest, AsksTheCursorForItsWishes) {
    ASSERT_TRUE(Load(std::string(kFourLooks) + "Cursor=Rollover(Grabable), Exit(None(true)), Pressed\n"));
    ButtonControl& button = Button();
    Cursor* cursor = m_viewport->GetCursor();
    EXPECT_EQ(button.GetCursorWish(0).state, 4u);
    EXPECT_EQ(button.GetCursorWish(4).state, 0u);
    EXPECT_EQ(button.GetCursorWish(4).immediate, 1u);
    EXPECT_EQ(button.GetCursorWish(1).state, 3u);
    win32::testing::MoveMouse(Window(), 12, 12);
    Frame();
    EXPECT_EQ(cursor->GetState(), Cursor::kPointer);
    EXPECT_EQ(cursor->GetTarget(), 4);
    win32::testing::PressMouse(Window(), win32::testing::MouseButton::Left, 12, 12);
    Frame();
    EXPECT_EQ(cursor->GetTarget(), 3);
    win32::testing::ReleaseMouse(Window(), win32::testing::MouseButton::Left, 12, 12);
    Frame();
    // Clicked, then back to the rollover wish.
    EXPECT_EQ(cursor->GetTarget(), 2);
    ASSERT_EQ(cursor->GetQueue().Size(), 1u);
    EXPECT_EQ(cursor->GetQueue().Front(), 4u);
    win32::testing::MoveMouse(Window(), 40, 40);
    Frame();
    EXPECT_EQ(cursor->GetState(), Cursor::kNone);
}

TEST_F(ButtonControlTest, AlignmentWordsAndMessages) {
    ASSERT_TRUE(Load(std::string(kFourLooks) + "Horizontal=Middle\nVertical=Bottom\nText=Go\n"));
    ButtonControl& button = Button();
    EXPECT_EQ(button.GetHorizontalAlignment(), Vemo::GraphicSystem::HorizontalAlignment::Left);
    EXPECT_EQ(button.GetVerticalAlignment(), Vemo::GraphicSystem::VerticalAlignment::Bottom);
    EXPECT_EQ(std::string(button.GetText().CStr()), "Go");
    EXPECT_FALSE(button.ReceiveTextFrom(S("Horizontal(Middle)"), SubString()));
    EXPECT_EQ(button.GetHorizontalAlignment(), Vemo::GraphicSystem::HorizontalAlignment::Left);
    EXPECT_TRUE(button.ReceiveTextFrom(S("Horizontal(justified)"), SubString()));
    EXPECT_EQ(button.GetHorizontalAlignment(), Vemo::GraphicSystem::HorizontalAlignment::Justified);
    EXPECT_TRUE(button.ReceiveTextFrom(S("Text(Stop)"), SubString()));
    EXPECT_EQ(std::string(button.GetText().CStr()), "Stop");
    EXPECT_FALSE(button.ReceiveTextFrom(S("Text"), SubString()));
}

TEST_F(ButtonControlTest, TheSameShortTextCausesNoRedraw) {
    ASSERT_TRUE(Load(std::string(kFourLooks) + "Text=Go\n"));
    ButtonControl& button = Button();
    Frame();
    button.SetText(S("Go"));
    EXPECT_TRUE(m_viewport->GetDirtyRegion().Empty());
    const std::string longText(100, 'x');
    button.SetText(S(longText));
    Frame();
    button.SetText(S(longText));
    EXPECT_FALSE(m_viewport->GetDirtyRegion().Empty());
}

TEST_F(ButtonControlTest, FontDoesNotOverrideAnExplicitDownFont) {
    ASSERT_TRUE(Load(std::string(kFourLooks) + "DownFont=Small\nFont=Big\n"));
    ButtonControl& button = Button();
    EXPECT_EQ(std::string(button.GetLookRecord(ButtonControl::kLookUp).fontName.CStr()), "Big");
    EXPECT_EQ(std::string(button.GetLookRecord(ButtonControl::kLookDown).fontName.CStr()), "Small");
    EXPECT_EQ(std::string(button.GetLookRecord(ButtonControl::kLookDisabled).fontName.CStr()), "Big");
}

TEST_F(ButtonControlTest, PicturesAreLoadedOnlyWhileActive) {
    ASSERT_TRUE(Load(std::string(kFourLooks) + "Active=false\n"));
    ButtonControl& button = Button();
    EXPECT_EQ(button.GetLookRecord(ButtonControl::kLookUp).bitmap, nullptr);
    ASSERT_TRUE(button.SetActive(true));
    EXPECT_NE(button.GetLookRecord(ButtonControl::kLookUp).bitmap, nullptr);
    EXPECT_NE(button.GetLookRecord(ButtonControl::kLookDisabled).bitmap, nullptr);
    ASSERT_TRUE(button.SetActive(false));
    EXPECT_EQ(button.GetLookRecord(ButtonControl::kLookUp).bitmap, nullptr);
    EXPECT_FALSE(button.GetLookRecord(ButtonControl::kLookUp).bitmapSpec.Empty());
}

} // namespace
