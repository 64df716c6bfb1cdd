#include "controls/QuitControl.h"
#include "controls/tests/CoreControlTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace CoreControlTest;

class QuitControlTest : public Fixture {
protected:
    QuitControl& Load(const std::string& keys = "") {
        EXPECT_TRUE(Fixture::Load("[Menu]\nControl=Field\nControl=Quit\n"
                                  "[Field]\nClass=TestPanel\nPosition=0,0\nSize=10,10\n"
                                  "[Quit]\nClass=QuitControl\nPosition=10,10\nSize=10,10\nVisible=false\n" +
                                  keys));
        auto* quit = dynamic_cast<QuitControl*>(Find("Quit"));
        EXPECT_NE(quit, nullptr);
        m_watcher = Watch(*quit);
        EXPECT_TRUE(Find("Field")->SetFocus());
        return *quit;
    }

    void Press(unsigned key) {
        m_manager->Key(key, true, 0);
        m_manager->Key(key, false, 0);
    }

    MessengerTest::Recorder* m_watcher = nullptr;
};

TEST_F(QuitControlTest, EscapeShowsTheControlOnceTakesTheFocusAndAsks) {
    QuitControl& quit = Load();
    EXPECT_TRUE(quit.IsTransparent());
    Press(30);
    EXPECT_FALSE(quit.IsShown());
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});

    Press(QuitControl::kEscape);
    EXPECT_TRUE(quit.IsShown());
    EXPECT_TRUE(quit.HasFocus());
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"QuitYesNo"});
    Press(QuitControl::kEscape);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{}) << "already shown";

    EXPECT_TRUE(Send("Quit", "Visible(false)"));
    Press(QuitControl::kEscape);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"QuitYesNo"}) << "hiding re-arms it";
    EXPECT_EQ(TakeReports(), (Reports{}));
}

TEST_F(QuitControlTest, ADisabledQuitControlIgnoresEscapeUntilEnabledAgain) {
    QuitControl& quit = Load("Enable=false\n");
    Press(QuitControl::kEscape);
    EXPECT_FALSE(quit.IsShown());
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
    EXPECT_TRUE(Send("Quit", "Enable(true)"));
    Press(QuitControl::kEscape);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"QuitYesNo"});
}

TEST_F(QuitControlTest, DeletingTheControlLeavesTheManagersSpies) {
    QuitControl& quit = Load();
    m_controls.Clear();
    delete &quit;
    Press(QuitControl::kEscape);
    EXPECT_EQ(TakeReports(), (Reports{}));
}

} // namespace
