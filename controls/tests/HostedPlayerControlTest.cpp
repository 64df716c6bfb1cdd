#include "controls/IEControl.h"
#include "controls/OSWindowSubclass.h"
#include "controls/ShockwaveControl.h"
#include "controls/ShockwaveFlashControl.h"
#include "controls/tests/WindowedControlTestSupport.h"
#include "platform/testing/CaseNames.h"
#include "platform/testing/WindowTesting.h"

#include <gtest/gtest.h>

namespace {

using HostedDoubles::Calls;
using MessengerTest::Log;
using WindowedTest::S;

com::VARIANT Text(const std::string& text) {
    std::vector<com::OLECHAR> wide(text.begin(), text.end());
    com::VARIANT variant{};
    variant.vt = com::VT_BSTR;
    variant.bstrVal = com::SysAllocStringLen(wide.data(), static_cast<com::UINT>(wide.size()));
    return variant;
}

com::VARIANT Number(int value) {
    com::VARIANT variant{};
    variant.vt = com::VT_I4;
    variant.lVal = value;
    return variant;
}

void Clear(std::vector<com::VARIANT>& arguments) {
    for (com::VARIANT& argument : arguments) {
        com::VariantClear(&argument);
    }
}

struct PlayerCase {
    const char* name;
    const char* classWord;
    const char* notInstalled;
};

const PlayerCase kPlayers[] = {
    {"Browser", "IEControl", "FlashNotInstalled"},
    {"Shockwave", "ShockwaveControl", "ShockwaveNotInstalled"},
    {"Flash", "ShockwaveFlashControl", "FlashNotInstalled"},
};

class HostedPlayerControlTest : public WindowedTest::Fixture {
protected:
    // The section of one player control named Player, inactive until the test activates it.
    static std::string Menu(const std::string& classWord, const std::string& keys = "") {
        return "[Menu]\nControl=Player\n[Player]\nClass=" + classWord +
               "\nPosition=10,20\nSize=200,100\nActive=false\n" + keys;
    }

    // Activates the player control, with a recorder watching what it announces.
    MessengerTest::Recorder& Activate(bool expected = true) {
        Control& player = Find("Player");
        MessengerTest::Recorder& recorder = Watch(player);
        EXPECT_EQ(player.SetActive(true), expected);
        return recorder;
    }

    // Nothing of a player is left: no child window of the viewport, no subclass, no start of the hosting
    // library or of COM.
    void ExpectNothingLeft() {
        EXPECT_EQ(FirstChild(), nullptr);
        EXPECT_EQ(com::testing::HostingStartCount(), 0);
        EXPECT_EQ(com::testing::ThreadInitializeCount(), 0);
        EXPECT_EQ(com::testing::LiveHostObjects(), 0U);
    }
};

class NotInstalledTest : public HostedPlayerControlTest, public ::testing::WithParamInterface<PlayerCase> {};

TEST_P(NotInstalledTest, WithoutTheControlRegisteredActivationFailsCleanlyAndTriesAgain) {
    OpenMenu(Menu(GetParam().classWord, "StartUrl=\"http://example.com/\"\n"));
    ASSERT_FALSE(Find("Player").IsActive());
    MessengerTest::Recorder& recorder = Activate(false);
    EXPECT_EQ(Announced(recorder), Log{GetParam().notInstalled});
    EXPECT_FALSE(Find("Player").IsEffectivelyActive());
    ExpectNothingLeft();
    ASSERT_TRUE(Find("Player").SetActive(false));
    EXPECT_FALSE(Find("Player").SetActive(true));
    EXPECT_EQ(Announced(recorder), Log{GetParam().notInstalled}) << "a second activation tries afresh";
    ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(Players, NotInstalledTest, ::testing::ValuesIn(kPlayers),
                         [](const ::testing::TestParamInfo<PlayerCase>& info) { return info.param.name; });

class BrowserTest : public HostedPlayerControlTest {
protected:
    HostedDoubles::Installed m_doubles;
};

TEST_F(BrowserTest, AStartAddressMakesTheHostCreateFromItThenTheBrowserNavigates) {
    OpenMenu(Menu("IEControl", "StartUrl=\"http://example.com/\"\n"));
    MessengerTest::Recorder& recorder = Activate();
    EXPECT_EQ(Calls(), (Log{"Browser Navigate http://example.com/", "Browser Navigate http://example.com/"}));
    EXPECT_EQ(Announced(recorder), Log{"FlashReady"});
    const win32::HWND host = Find<IEControl>("Player").GetWindow();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(win32::testing::GetWindowState(host).className, "AtlAxWin");
    EXPECT_EQ(win32::testing::GetWindowState(host).exStyle, win32::WS_EX_CONTROLPARENT);
    EXPECT_TRUE(OSWindowSubclass::IsSubclassed(host));
    ASSERT_NE(HostedDoubles::Browser::s_current, nullptr);
    EXPECT_EQ(HostedDoubles::Browser::s_current->Connections(), 1U);
}

TEST_F(BrowserTest, WithTheScrollBarAnEmptyBrowserIsMadeAndNavigatedOnce) {
    OpenMenu(Menu("IEControl", "StartUrl=\"http://example.com/\"\nShowScrollBar=true\n"));
    Activate();
    EXPECT_EQ(Calls(), Log{"Browser Navigate http://example.com/"});
}

TEST_F(BrowserTest, MessagesDriveTheBrowserOnlyWhileItExists) {
    OpenMenu(Menu("IEControl"));
    auto& control = Find<IEControl>("Player");
    EXPECT_FALSE(control.HandleMessage(Fragment(S("GoBack")), nullptr));
    EXPECT_FALSE(control.HandleMessage(Fragment(S("Navigate(x)")), nullptr));
    EXPECT_TRUE(Calls().empty());

    Activate();
    for (const char* word : {"GoBack", "GoForward", "GoHome", "GoSearch", "GoRefresh", "Stop", "Navigate",
                             "Navigate(\"http://a/\")", "Quit"}) {
        EXPECT_TRUE(control.HandleMessage(Fragment(S(word)), nullptr)) << word;
    }
    EXPECT_EQ(Calls(), (Log{"Browser GoBack", "Browser GoForward", "Browser GoHome", "Browser GoSearch",
                            "Browser Refresh", "Browser Stop", "Browser Navigate ",
                            "Browser Navigate http://a/", "Browser Quit"}));

    std::vector<com::VARIANT> none;
    EXPECT_EQ(HostedDoubles::Browser::s_current->Fire(106, none), win32::S_OK);
    EXPECT_EQ(HostedDoubles::Browser::s_current->Fire(253, none), win32::S_OK);

    ASSERT_TRUE(control.SetActive(false));
    ExpectNothingLeft();
    EXPECT_EQ(HostedDoubles::Browser::s_alive, 0);
    EXPECT_FALSE(control.HandleMessage(Fragment(S("GoHome")), nullptr));
}

class ShockwaveTest : public HostedPlayerControlTest {
protected:
    HostedDoubles::Installed m_doubles;
};

TEST_F(ShockwaveTest, ThePlayerGetsColourAutoStartAndThenTheMovieSetBefore) {
    OpenMenu(Menu("ShockwaveControl", "BgColor=#102030\nAutoPlay=false\n"));
    auto& control = Find<ShockwaveControl>("Player");
    ASSERT_TRUE(control.SetMovieUrl(S("C:\\Title\\intro.dcr")));
    EXPECT_TRUE(Calls().empty());
    MessengerTest::Recorder& recorder = Activate();
    EXPECT_EQ(Calls(), (Log{"Shockwave BgColor #102030", "Shockwave AutoStart FALSE",
                            "Shockwave Source File://C:\\Title\\intro.dcr"}));
    EXPECT_EQ(Announced(recorder), Log{"ShockwaveReady"});
    Calls().clear();

    ASSERT_TRUE(control.SetMovieUrl(S("C:\\Title\\intro.dcr")));
    EXPECT_TRUE(Calls().empty()) << "the movie already set is not given again";
    for (const char* word : {"Play", "Stop", "Rewind"}) {
        EXPECT_TRUE(control.HandleMessage(Fragment(S(word)), nullptr)) << word;
    }
    EXPECT_TRUE(control.HandleMessage(Fragment(S("Movie()")), nullptr));
    EXPECT_EQ(Calls(),
              (Log{"Shockwave Play", "Shockwave Stop", "Shockwave Rewind", "Shockwave Source File://"}));
    EXPECT_TRUE(control.GetMovieUrl().IsEmpty());
}

TEST_F(ShockwaveTest, EventsBecomeMessagesAndAPlayersTextNeverAddsMessages) {
    OpenMenu(Menu("ShockwaveControl"));
    MessengerTest::Recorder& recorder = Activate();
    Announced(recorder);
    HostedDoubles::Shockwave& player =
        static_cast<HostedDoubles::Shockwave&>(*HostedDoubles::Shockwave::s_current);

    std::vector<com::VARIANT> arguments{Text("Level2")};
    EXPECT_EQ(player.Fire(1, arguments), win32::S_OK);
    Clear(arguments);
    arguments = {Text("a,Terminate(\"x\")")};
    EXPECT_EQ(player.Fire(1, arguments), win32::S_OK);
    Clear(arguments);
    arguments = {Number(7)};
    EXPECT_EQ(player.Fire(2, arguments), win32::S_OK);
    for (int state : {0, 1, 2, 3, 4, 5}) {
        arguments = {Number(state)};
        EXPECT_EQ(player.Fire(-609, arguments), win32::S_OK);
    }
    const Log announced = Announced(recorder);
    EXPECT_EQ(announced, (Log{"ExternalEvent.Level2", "ExternalEvent.a,Terminate(\"x\")",
                              "ExternalEvent.ReadyStateUnInitialized", "ExternalEvent.ReadyStateLoading.",
                              "ExternalEvent.ReadyStateLoaded", "ExternalEvent.ReadyInactive",
                              "ExternalEvent.ReadyComplete"}))
        << "one message per event, its word the whole text";
}

TEST_F(ShockwaveTest, TheFilterSwallowsTheRightButtonAndEscapeOnly) {
    OpenMenu(Menu("ShockwaveControl"));
    Activate();
    const win32::HWND playerWindow = HostedDoubles::Shockwave::s_current->Window();
    ASSERT_NE(playerWindow, nullptr);
    EXPECT_TRUE(OSWindowSubclass::IsSubclassed(playerWindow));
    Calls().clear();
    for (win32::UINT message :
         {win32::WM_RBUTTONDOWN, win32::WM_RBUTTONUP, win32::WM_RBUTTONDBLCLK, win32::WM_LBUTTONDOWN}) {
        win32::SendMessageA(playerWindow, message, 0, 0);
    }
    for (win32::WPARAM key : {win32::WPARAM{27}, win32::WPARAM{'A'}}) {
        win32::SendMessageA(playerWindow, win32::WM_KEYDOWN, key, 0);
        win32::SendMessageA(playerWindow, win32::WM_KEYUP, key, 0);
    }
    EXPECT_EQ(Calls(), (Log{"window 0x201", "window 0x100", "window 0x101"}));
}

TEST_F(ShockwaveTest, APlayerWithoutAWindowOfItsOwnIsRefusedAndLeavesNothing) {
    HostedDoubles::Shockwave::s_windowless = true;
    OpenMenu(Menu("ShockwaveControl"));
    MessengerTest::Recorder& recorder = Activate(false);
    EXPECT_EQ(Announced(recorder), Log{"ShockwaveNotInstalled"});
    ExpectNothingLeft();
    EXPECT_EQ(HostedDoubles::Shockwave::s_alive, 0);

    HostedDoubles::Shockwave::s_windowless = false;
    ASSERT_TRUE(Find("Player").SetActive(false));
    EXPECT_TRUE(Find("Player").SetActive(true));
    EXPECT_EQ(Announced(recorder), Log{"ShockwaveReady"});
}

TEST_F(ShockwaveTest, PlayerMessagesBeforeActivationAreRefused) {
    OpenMenu(Menu("ShockwaveControl"));
    auto& control = Find<ShockwaveControl>("Player");
    for (const char* word : {"Play", "Stop", "Rewind", "ExecuteLingoScript", "ExecuteLingoScript(x.ls)"}) {
        EXPECT_FALSE(control.HandleMessage(Fragment(S(word)), nullptr)) << word;
    }
    EXPECT_TRUE(Calls().empty());
}

class FlashTest : public HostedPlayerControlTest {
protected:
    HostedDoubles::Installed m_doubles;
};

TEST_F(FlashTest, ColourThenMovieThenStopIsStopPlayAndStop) {
    OpenMenu(Menu("ShockwaveFlashControl", "BgColor=#FFFFFF\n"));
    auto& control = Find<ShockwaveFlashControl>("Player");
    ASSERT_TRUE(control.SetMovieUrl(S("C:\\Title\\menu.swf")));
    MessengerTest::Recorder& recorder = Activate();
    EXPECT_EQ(Calls(), (Log{"Flash BGColor #FFFFFF", "Flash Movie C:\\Title\\menu.swf"}));
    EXPECT_EQ(Announced(recorder), Log{"FlashReady"});
    Calls().clear();
    for (const char* word : {"Play", "Stop", "Rewind"}) {
        EXPECT_TRUE(control.HandleMessage(Fragment(S(word)), nullptr)) << word;
    }
    EXPECT_EQ(Calls(), (Log{"Flash Play", "Flash StopPlay", "Flash Stop", "Flash Rewind"}));
}

TEST_F(FlashTest, FSCommandsBecomeOneMessageWithTheCommandOnly) {
    OpenMenu(Menu("ShockwaveFlashControl"));
    MessengerTest::Recorder& recorder = Activate();
    Announced(recorder);
    auto& player = *HostedDoubles::Flash::s_current;
    std::vector<com::VARIANT> arguments{Text("quit"), Text("now,please")};
    EXPECT_EQ(player.Fire(150, arguments), win32::S_OK);
    Clear(arguments);
    arguments = {Text("go(1),Quit"), Text("")};
    EXPECT_EQ(player.Fire(150, arguments), win32::S_OK);
    Clear(arguments);
    arguments = {Number(50)};
    EXPECT_EQ(player.Fire(1958, arguments), win32::S_OK);
    arguments = {Number(4)};
    EXPECT_EQ(player.Fire(-609, arguments), win32::S_OK);
    EXPECT_EQ(Announced(recorder),
              (Log{"FSCommand.quit", "FSCommand.go(1),Quit", "ExternalEvent.ReadyComplete"}));
}

TEST_F(FlashTest, DeactivationReleasesEverythingAndResumesFocusToTheViewport) {
    OpenMenu(Menu("ShockwaveFlashControl"));
    Activate();
    auto& control = Find<ShockwaveFlashControl>("Player");
    const win32::HWND host = control.GetWindow();
    win32::SetFocus(host);
    EXPECT_TRUE(control.HasFocus());
    ASSERT_TRUE(control.SetActive(false));
    EXPECT_EQ(win32::GetFocus(), Window());
    EXPECT_FALSE(OSWindowSubclass::IsSubclassed(host));
    ExpectNothingLeft();
    EXPECT_EQ(HostedDoubles::Flash::s_alive, 0);
}

} // namespace
