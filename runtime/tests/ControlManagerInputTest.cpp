#include "runtime/screen/ControlManager.h"

#include "runtime/screen/KeyboardSpy.h"
#include "runtime/screen/MouseSpy.h"
#include "runtime/testing/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace ControlTest;

// Button (10, 10, 20, 15) and Other (25, 10, 30, 15) on the root; Box (0, 20, 20, 30) holds Inner (2, 22, 6,
// 26).
const char* const kScreen = "[Menu]\nControl=Button\nControl=Other\nControl=Box\n"
                            "[Button]\nClass=TestPanel\nPosition=10,10\nSize=10,5\n"
                            "[Other]\nClass=TestPanel\nPosition=25,10\nSize=5,5\n"
                            "[Box]\nClass=TestPanel\nPosition=0,20\nSize=20,10\nControl=Inner\n"
                            "[Inner]\nClass=TestPanel\nPosition=2,2\nSize=4,4\n";

class ControlManagerInputTest : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        ASSERT_TRUE(Load(kScreen));
    }

    void Move(std::int32_t x, std::int32_t y) { m_manager->MouseMoved(Vemo::Point(x, y)); }
    void Press(std::int32_t x, std::int32_t y, unsigned button = 0) {
        m_manager->MouseButton(Vemo::Point(x, y), button, true);
    }
    void Release(std::int32_t x, std::int32_t y, unsigned button = 0) {
        m_manager->MouseButton(Vemo::Point(x, y), button, false);
    }
};

TEST_F(ControlManagerInputTest, TheMouseEntersMovesAndLeavesAndRightAndBottomEdgesAreOutside) {
    Panel& button = Get("Button");
    MessengerTest::Recorder* watcher = Watch(button);
    Move(11, 11);
    Move(12, 11);
    Move(20, 11);
    EXPECT_EQ(m_manager->GetHoverControl(), Root());
    Move(19, 14);
    Move(19, 15);
    EXPECT_EQ(Take(Events()),
              (Log{"Button Enter 1,1", "Button Move 2,1", "Button Move 10,1", "Button Exit 10,1",
                   "Button Enter 9,4", "Button Move 9,5", "Button Exit 9,5"}));
    EXPECT_EQ(watcher->TakeReceived(), (Log{"Enter", "Exit", "Enter", "Exit"}));
    // The same point again is no move.
    Move(19, 15);
    EXPECT_EQ(Take(Events()), Log{});
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlManagerInputTest, APressFocusesTheControlAndItsReleaseComesBackToIt) {
    Panel& button = Get("Button");
    MessengerTest::Recorder* watcher = Watch(button);
    Press(11, 11);
    EXPECT_EQ(m_manager->GetFocusControl(), &button);
    // Away and back while the button is held: the control stays the hover control and sees the mouse return.
    Move(35, 25);
    Move(12, 12);
    Move(36, 26);
    Release(37, 27);
    Release(37, 27);
    Move(38, 28);
    EXPECT_EQ(Take(Events()), (Log{"Button Enter 1,1", "Button GotFocus by mouse", "Button Pressed 1,1 0",
                                   "Button Move 25,15", "Button Exit 25,15", "Button Move 2,2",
                                   "Button Enter 2,2", "Button Move 26,16", "Button Exit 26,16",
                                   "Button Move 27,17", "Button Released 27,17 0"}));
    EXPECT_EQ(watcher->TakeReceived(), (Log{"Enter", "Pressed(0)", "Exit", "Enter", "Exit", "Released(0)"}));
    EXPECT_EQ(m_manager->GetHoverControl(), Root());
    EXPECT_EQ(m_manager->GetButtons(), 0u);

    Press(11, 11, 1);
    Release(11, 11, 2);
    Release(11, 11, 1);
    // A button number past the mask's bits is no button.
    Press(11, 11, 40);
    Release(11, 11, 40);
    EXPECT_EQ(watcher->TakeReceived(), (Log{"Enter", "Pressed(1)", "Released(1)"}));
    EXPECT_EQ(m_manager->GetButtons(), 0u);
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlManagerInputTest, APressOnADisabledControlPressesNothingAndKeepsTheFocus) {
    Panel& button = Get("Button");
    Panel& other = Get("Other");
    ASSERT_TRUE(other.SetFocus());
    ASSERT_TRUE(button.SetEnabled(false));
    Events().clear();
    Press(11, 11);
    Release(11, 11);
    EXPECT_EQ(Take(Events()), Log{"Button Enter 1,1"});
    EXPECT_EQ(m_manager->GetFocusControl(), &other);
    EXPECT_EQ(m_manager->GetHoverControl(), &button);
}

// A control disabled while a button is held on it lets go of the press and the focus, keeps the hover while
// the mouse is inside, and hears nothing of the release.
TEST_F(ControlManagerInputTest, AControlDisabledWhilePressedIsNotReleasedAndKeepsTheHover) {
    Panel& button = Get("Button");
    MessengerTest::Recorder* watcher = Watch(button);
    Press(11, 11);
    Events().clear();
    watcher->TakeReceived();
    ASSERT_TRUE(button.SetEnabled(false));
    EXPECT_EQ(Take(Events()), (Log{"Button LostFocus", "Button Disabled"}));
    EXPECT_EQ(m_manager->GetHoverControl(), &button);
    EXPECT_TRUE(button.IsMouseInside());
    EXPECT_EQ(button.GetPressedButtons(), 0u);
    Release(11, 11);
    Move(30, 20);
    EXPECT_EQ(Take(Events()), (Log{"Button Move 20,10", "Button Exit 20,10"}));
    EXPECT_EQ(watcher->TakeReceived(), Log{"Exit"});
}

// Hiding a control lets go of the grab, the hover, the capture and the focus before it is told OnHidden.
TEST_F(ControlManagerInputTest, HidingAControlReleasesWhatItHeldBeforeOnHidden) {
    Panel& button = Get("Button");
    Press(11, 11);
    ASSERT_TRUE(m_manager->CaptureMouse(&button));
    ASSERT_TRUE(button.StartGrab(Vemo::Point(1, 1), 0, Vemo::Rect(0, 0, 40, 30)));
    Events().clear();
    ASSERT_TRUE(button.SetVisible(false));
    EXPECT_EQ(Take(Events()), (Log{"Button GrabReleased", "Button Exit 1,1", "Button CaptureLost",
                                   "Button LostFocus", "Button Hidden"}));
    EXPECT_EQ(m_manager->GetHoverControl(), nullptr);
    EXPECT_EQ(m_manager->GetFocusControl(), nullptr);
    EXPECT_EQ(m_manager->GetCapturedControl(), nullptr);
    EXPECT_EQ(m_manager->GetGrabbedControl(), nullptr);
    Move(11, 11);
    EXPECT_EQ(m_manager->GetHoverControl(), Root());
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlManagerInputTest, TheCaptureKeepsTheHoverUntilTheFocusMoves) {
    Panel& button = Get("Button");
    Panel& other = Get("Other");
    EXPECT_FALSE(m_manager->CaptureMouse(&button));
    EXPECT_EQ(TakeReports(), (Reports{{kFailure}}));
    Press(11, 11);
    Release(11, 11);
    ASSERT_TRUE(m_manager->CaptureMouse(&button));
    ASSERT_TRUE(m_manager->CaptureMouse(&button));
    Events().clear();
    Move(26, 11);
    Move(12, 12);
    EXPECT_EQ(Take(Events()),
              (Log{"Button Move 16,1", "Button Exit 16,1", "Button Move 2,2", "Button Enter 2,2"}));
    EXPECT_EQ(m_manager->GetHoverControl(), &button);

    ASSERT_TRUE(other.SetFocus());
    EXPECT_EQ(Take(Events()), (Log{"Button CaptureLost", "Button LostFocus", "Other GotFocus"}));
    EXPECT_EQ(m_manager->GetCapturedControl(), nullptr);
    EXPECT_FALSE(m_manager->ReleaseCapture(&button));
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlManagerInputTest, ADragKeepsTheMouseInsideItsLimitsAndEndsWithTheButton) {
    Panel& button = Get("Button");
    Press(12, 12);
    Events().clear();
    ASSERT_TRUE(button.StartGrab(Vemo::Point(2, 2), 0, Vemo::Rect(0, 0, 100, 50)));
    EXPECT_EQ(Take(Events()), Log{"Button Grabbed"});
    Move(27, 12);
    EXPECT_EQ(Describe(button.GetPosition()), "25,10");
    Move(1000, 12);
    EXPECT_EQ(Describe(button.GetPosition()), "97,10");
    Move(-50, -50);
    EXPECT_EQ(Describe(button.GetPosition()), "-2,-2");
    // No hover changes while dragging: Other under the mouse hears nothing.
    EXPECT_EQ(Take(Events()), (Log{"Button Moved", "Button Moved", "Button Moved"}));
    Release(5, 5);
    EXPECT_EQ(Take(Events()),
              (Log{"Button Moved", "Button GrabReleased by button", "Button Released 2,2 0"}));
    EXPECT_EQ(m_manager->GetGrabbedControl(), nullptr);
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlManagerInputTest, ADragNeedsTheButtonDownAndTheControlUnderTheMouse) {
    Panel& button = Get("Button");
    Panel& other = Get("Other");
    EXPECT_FALSE(button.StartGrab(Vemo::Point(0, 0), 0, Vemo::Rect(0, 0, 40, 30)));
    EXPECT_FALSE(button.ReleaseGrab());
    EXPECT_FALSE(Root()->StartGrab(Vemo::Point(0, 0), 0, Vemo::Rect(0, 0, 40, 30)));
    EXPECT_EQ(TakeReports(), (Reports{{kFailure}, {kFailure}, {kFailure}}));

    // Moved so that the mouse holds it at (0, 0), Button lies behind Other there: it is put back.
    Press(26, 11);
    Events().clear();
    EXPECT_FALSE(button.StartGrab(Vemo::Point(0, 0), 0, Vemo::Rect(0, 0, 40, 30)));
    EXPECT_EQ(Describe(button.GetPosition()), "10,10");
    EXPECT_EQ(Take(Events()), (Log{"Button Moved", "Button Moved"}));
    EXPECT_EQ(TakeReports(), (Reports{{kFailure}}));
    // Dragging Other, which has the press: a second drag is refused, and so is a focus change.
    ASSERT_TRUE(other.StartGrab(Vemo::Point(1, 1), 0, Vemo::Rect(0, 0, 40, 30)));
    EXPECT_FALSE(button.StartGrab(Vemo::Point(0, 0), 0, Vemo::Rect(0, 0, 40, 30)));
    EXPECT_FALSE(button.SetFocus());
    EXPECT_EQ(m_manager->GetFocusControl(), &other);
    EXPECT_EQ(TakeReports(), (Reports{{kFailure}, {kFailure}}));
}

// The control that had the press kept the hover while the mouse went over Button; dragging Button takes the
// hover, the focus and the press from it.
TEST_F(ControlManagerInputTest, ADragTakesTheHoverFocusAndPressFromTheControlThatHadThem) {
    Panel& button = Get("Button");
    Press(26, 11);
    Move(12, 12);
    EXPECT_EQ(m_manager->GetHoverControl(), &Get("Other"));
    Events().clear();
    ASSERT_TRUE(button.StartGrab(Vemo::Point(2, 2), 0, Vemo::Rect(0, 0, 40, 30)));
    EXPECT_EQ(Take(Events()), (Log{"Other LostFocus", "Button Enter 2,2", "Button GotFocus by mouse",
                                   "Button Pressed 2,2 0", "Button Grabbed"}));
    EXPECT_EQ(m_manager->GetHoverControl(), &button);
    Release(12, 12);
    EXPECT_EQ(Take(Events()), (Log{"Button GrabReleased by button", "Button Released 2,2 0"}));
}

TEST_F(ControlManagerInputTest, FocusGoesOnlyToShownEnabledControlsOfThisManager) {
    Panel& button = Get("Button");
    std::unique_ptr<ControlManager> other(MakeManager("Other"));
    ASSERT_TRUE(button.SetVisible(false));
    EXPECT_FALSE(m_manager->SetFocusControl(&button));
    EXPECT_FALSE(other->SetFocusControl(&Get("Other")));
    EXPECT_TRUE(m_manager->SetFocusControl(nullptr));
    EXPECT_EQ(TakeReports(), (Reports{{kFailure}, {kFailure}}));
    ASSERT_TRUE(Get("Inner").SetFocus());
    // Without changing the appearance of the control that loses it.
    const int updates = Get("Inner").m_appearanceUpdates;
    EXPECT_TRUE(m_manager->SetFocus(&Get("Other"), false, true));
    EXPECT_EQ(Get("Inner").m_appearanceUpdates, updates);
}

TEST_F(ControlManagerInputTest, KeysGoFromTheRootDownToTheFocusWhileTheFocusStays) {
    Panel& box = Get("Box");
    ASSERT_TRUE(Get("Inner").SetFocus());
    Events().clear();
    m_manager->Key(30, true, 1);
    m_manager->Character(65, 0);
    m_manager->Key(30, false, 0);
    EXPECT_EQ(Take(Events()), (Log{"Box KeyDown 30 1", "Inner KeyDown 30 1", "Box Character 65 0",
                                   "Inner Character 65 0", "Box KeyUp 30", "Inner KeyUp 30"}));

    box.m_onEvent = [&](Panel&, const std::string& event) {
        if (event == "KeyDown") {
            Get("Other").SetFocus();
        }
    };
    m_manager->Key(31, true, 0);
    EXPECT_EQ(Take(Events()), (Log{"Box KeyDown 31 0", "Inner LostFocus", "Other GotFocus"}));
    m_manager->SetFocusControl(nullptr);
    m_manager->Key(32, true, 0);
    EXPECT_EQ(Take(Events()), Log{"Other LostFocus"});
}

class RecordingMouseSpy : public MouseSpy {
public:
    void ButtonDown(const Vemo::Point& point, unsigned button) override {
        Events().push_back("spy down " + Describe(point) + " " + std::to_string(button));
    }
    void ButtonUp(const Vemo::Point& point, unsigned button) override {
        Events().push_back("spy up " + Describe(point) + " " + std::to_string(button));
    }
    void Moved(const Vemo::Point& point) override { Events().push_back("spy moved " + Describe(point)); }
};

class RecordingKeyboardSpy : public KeyboardSpy {
public:
    void KeyDown(unsigned key, unsigned extra) override {
        Events().push_back("spy key " + std::to_string(key) + " " + std::to_string(extra));
        if (m_detachOnKey) {
            Detach();
        }
    }
    void KeyUp(unsigned key) override { Events().push_back("spy key up " + std::to_string(key)); }
    void Character(unsigned code, unsigned extra) override {
        Events().push_back("spy character " + std::to_string(code) + " " + std::to_string(extra));
    }
    bool m_detachOnKey = false;
};

TEST_F(ControlManagerInputTest, SpiesSeeEveryEventFirstEvenWithoutAControl) {
    RecordingMouseSpy mouse;
    RecordingKeyboardSpy keyboard;
    RecordingKeyboardSpy leaving;
    mouse.Attach(m_manager);
    keyboard.Attach(m_manager);
    keyboard.Attach(m_manager);
    leaving.Attach(m_manager);
    leaving.m_detachOnKey = true;
    Press(11, 11);
    Release(12, 11);
    m_manager->Key(1, true, 0);
    m_manager->Key(1, true, 0);
    m_manager->Character(32, 1);
    EXPECT_EQ(Take(Events()),
              (Log{"spy moved 11,11", "Button Enter 1,1", "spy down 11,11 0", "Button GotFocus by mouse",
                   "Button Pressed 1,1 0", "spy moved 12,11", "Button Move 2,1", "spy up 12,11 0",
                   "Button Released 2,1 0", "spy key 1 0", "spy key 1 0", "Button KeyDown 1 0", "spy key 1 0",
                   "Button KeyDown 1 0", "spy character 32 1", "Button Character 32 1"}));
    // A manager that goes first lets its spies go.
    delete m_manager;
    m_manager = nullptr;
    EXPECT_EQ(mouse.GetManager(), nullptr);
    EXPECT_EQ(keyboard.GetManager(), nullptr);
}

TEST_F(ControlManagerInputTest, APowerEventAsksEveryControlEvenAfterARefusal) {
    Get("Button").m_refusePower = true;
    EXPECT_FALSE(m_manager->PowerEvent(2));
    EXPECT_EQ(Take(Events()), (Log{"Button Power 2", "Other Power 2", "Box Power 2", "Inner Power 2"}));
    Get("Button").m_refusePower = false;
    EXPECT_TRUE(m_manager->PowerEvent(3));
}

// A subscriber may end the screen while the control announces its press: the press ends cleanly.
TEST_F(ControlManagerInputTest, AControlDestroyedByItsOwnPressMessageLeavesNothingBehind) {
    Panel& button = Get("Button");
    DrawFrame();
    MessengerTest::Recorder* watcher = Watch(button);
    watcher->m_onWord = [&](MessengerTest::Recorder&, const std::string& word) {
        if (word == "Pressed") {
            delete &button;
        }
    };
    Press(11, 11);
    EXPECT_EQ(m_manager->GetFocusControl(), nullptr);
    EXPECT_EQ(m_manager->GetHoverControl(), nullptr);
    Release(11, 11);
    Move(12, 12);
    EXPECT_EQ(m_manager->GetHoverControl(), Root());
    EXPECT_EQ(Dirty(), "10,10,20,15");
}

} // namespace
