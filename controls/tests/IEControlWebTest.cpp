// The web browser control on the hosted web engine: "Shell.Explorer" is the engine's browser, on an X server
// of the test's own, and the control shows and drives the fixture title's pages through it.
#include "controls/IEControl.h"
#include "platform/com/Atl.h"
#include "platform/com/DispEventImpl.h"
#include "platform/com/WebBrowser.h"
#include "platform/testing/DirectDrawTesting.h"
#include "platform/testing/MessageBoxTesting.h"
#include "platform/testing/WindowTesting.h"
#include "platform/web/WebBrowserObject.h"
#include "platform/web/WebView.h"
#include "platform/web/XvfbServer.h"
#include "platform/win32/registry/Registry.h"
#include "platform/win32/windows/RunLoopPacing.h"
#include "platform/win32/windows/Window.h"
#include "runtime/application/WindowFunctions.h"
#include "runtime/testing/RunningApplication.h"
#include "runtime/testing/TitleTestSupport.h"
#include "script/MessengerFactory.h"
#include "script/StateGraph.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// The control's own hooks for browser events, heard.
class HearingBrowserControl : public IEControl {
public:
    using IEControl::IEControl;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script) {
        return CreateRead<HearingBrowserControl>(name, owner, script);
    }

    void OnDownloadEvent() override { s_heard.push_back("download"); }
    void OnBrowserQuit() override { s_heard.push_back("quit"); }

    static inline Log s_heard;
};

const MessengerFactory::Registrar g_hearing("HearingBrowserControl", &HearingBrowserControl::Create);

constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

std::string Page(const char* color, const std::string& more = "") {
    return "<html><body style='margin:0;background:" + std::string(color) + "'>" + more + "</body></html>";
}

class IEControlWebTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!web::EngineBuiltIn()) {
            GTEST_SKIP() << "built without the web engine (VEMO_WEB=OFF)";
        }
        if (!web::XvfbServer::Installed()) {
            GTEST_SKIP() << "Xvfb is not installed: no X server for the web engine";
        }
        ASSERT_NO_FATAL_FAILURE(TitleTest::RunningApplication::SetUpWindows());
        ASSERT_TRUE(web::WebBrowserObject::Register());
        HearingBrowserControl::s_heard.clear();
        m_title.Write(
            'C', "Title/one.html",
            Page("#00ff00", "<a href='two.html' style='display:block;width:100%;height:100px'></a>"));
        m_title.Write('C', "Title/two.html",
                      Page("#0000ff", "<button id='close' onclick='window.close()'>close</button>"));
    }

    void TearDown() override {
        Disconnect();
        m_running.TearDown();
        web::WebBrowserObject::Unregister();
    }

    // The title with the browser control on its first screen, started.
    bool Start(const std::string& keys) {
        std::string script = m_title.Read('C', "Title/Quorven.ini");
        const std::string anchor = "Control=PlayButton\n";
        script.replace(script.find(anchor), anchor.size(), anchor + "Control=Browser\n");
        m_title.Write('C', "Title/Quorven.ini",
                      script + "\n[Browser]\nClass=HearingBrowserControl\nPosition=20,30\nSize=200,100\n" +
                          keys);
        if (!m_running.Start()) {
            return false;
        }
        m_running.App().Step();
        return true;
    }

    IEControl& Browser() {
        auto* state = dynamic_cast<Messenger*>(m_running.App().GetStateGraph()->GetCurrentState());
        auto* control =
            state != nullptr ? dynamic_cast<IEControl*>(state->FindMessenger("Browser")) : nullptr;
        EXPECT_NE(control, nullptr);
        return *control;
    }

    // A sink of our own beside the control's, on the browser its host window holds, that logs the events.
    void Connect() {
        const win32::UINT getHost = win32::RegisterWindowMessageA(com::kAtlGetHostMessageName);
        auto* unknown =
            reinterpret_cast<com::IUnknown*>(win32::SendMessageA(Browser().GetWindow(), getHost, 0, 0));
        ASSERT_NE(unknown, nullptr);
        com::IAxWinHostWindow* host = nullptr;
        unknown->QueryInterface(com::IID_IAxWinHostWindow, reinterpret_cast<void**>(&host));
        unknown->Release();
        ASSERT_NE(host, nullptr);
        host->QueryControl(com::IID_IUnknown, reinterpret_cast<void**>(&m_browser));
        host->Release();
        ASSERT_NE(m_browser, nullptr);
        const auto logs = [this](const char* name) {
            return [this, name](std::span<const com::VARIANT>) {
                m_events.push_back(name);
                return win32::S_OK;
            };
        };
        m_sink = std::make_unique<com::IDispEventImpl>(
            9, com::DIID_DWebBrowserEvents2,
            std::vector<com::IDispEventImpl::SinkEntry>{{106, {}, logs("DownloadBegin")},
                                                        {104, {}, logs("DownloadComplete")},
                                                        {252, {}, logs("NavigateComplete2")},
                                                        {253, {}, logs("OnQuit")}});
        ASSERT_EQ(com::AtlAdvise(m_browser, m_sink.get(), com::DIID_DWebBrowserEvents2, &m_cookie),
                  win32::S_OK);
    }

    void Disconnect() {
        if (m_browser != nullptr) {
            com::AtlUnadvise(m_browser, com::DIID_DWebBrowserEvents2, m_cookie);
            m_browser->Release();
            m_browser = nullptr;
        }
    }

    // Application steps as the run loop makes them, until the condition holds; false when it did not in time.
    bool RunUntil(const std::function<bool()>& condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < end) {
            m_running.App().Step();
            win32::EndRunLoopStep();
            if (condition()) {
                return true;
            }
        }
        return false;
    }

    // What the viewport's window shows at a point of the browser's rectangle, as 0xRRGGBB.
    std::uint32_t Shown(int x, int y) {
        const auto frame = ddraw::testing::ReadFrame(GetViewportWindowHandle(m_running.App().GetViewport()));
        if (!frame) {
            return 0xDEADBEEF;
        }
        return frame->At(20 + x, 30 + y) & 0xFFFFFF;
    }

    // The browser shows the colour and has told all it had to.
    bool Shows(std::uint32_t color, std::size_t events) {
        return RunUntil([&] { return Shown(50, 50) == color && m_events.size() >= events; });
    }

    bool Say(const std::string& message) {
        return Browser().HandleMessage(Fragment(Vemo::String(message.c_str())), nullptr);
    }

    TitleTest::InstalledTitle m_title;
    win32::testing::MessageBoxRecorder m_boxes;
    TitleTest::RunningApplication m_running;
    com::IUnknown* m_browser = nullptr;
    std::unique_ptr<com::IDispEventImpl> m_sink;
    win32::DWORD m_cookie = 0;
    Log m_events;
};

TEST_F(IEControlWebTest, TheStartFileShowsAndALinkNavigatesWithTheEventsReachingTheControl) {
    ASSERT_TRUE(Start("StartFile=one.html\n"));
    ASSERT_TRUE(Browser().IsActive()) << "the browser exists";
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_TRUE(Shows(kGreen, 3));
    EXPECT_EQ(m_events, (Log{"DownloadBegin", "NavigateComplete2", "DownloadComplete"}));
    EXPECT_EQ(HearingBrowserControl::s_heard, (Log{"download", "download"}));
    m_events.clear();

    win32::testing::Click(GetViewportWindowHandle(m_running.App().GetViewport()),
                          win32::testing::MouseButton::Left, 20 + 50, 30 + 50);
    ASSERT_TRUE(Shows(kBlue, 3));
    EXPECT_EQ(m_events, (Log{"DownloadBegin", "NavigateComplete2", "DownloadComplete"}));
}

TEST_F(IEControlWebTest, MessagesGoBackForwardReloadStopAndTheHomePage) {
    ASSERT_TRUE(m_title.Registry().SetStrings(win32::HKEY_CURRENT_USER,
                                              "Software\\Microsoft\\Internet Explorer\\Main",
                                              {{"Start Page", "C:\\Title\\two.html"}}));
    ASSERT_TRUE(Start("StartFile=one.html\n"));
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_TRUE(Shows(kGreen, 3));
    EXPECT_TRUE(Say("GoHome"));
    ASSERT_TRUE(Shows(kBlue, 6));
    EXPECT_TRUE(Say("GoBack"));
    ASSERT_TRUE(Shows(kGreen, 9));
    EXPECT_TRUE(Say("GoForward"));
    ASSERT_TRUE(Shows(kBlue, 12));
    m_events.clear();
    EXPECT_TRUE(Say("GoRefresh"));
    ASSERT_TRUE(Shows(kBlue, 3));
    EXPECT_EQ(m_events, (Log{"DownloadBegin", "NavigateComplete2", "DownloadComplete"}));
    m_events.clear();
    EXPECT_TRUE(Say("Navigate(one.html)")) << "not a title file of the current folder: nothing loads";
    EXPECT_TRUE(Say("Stop"));
    ASSERT_TRUE(Shows(kBlue, 0));
    EXPECT_EQ(m_events, Log{});
}

TEST_F(IEControlWebTest, ThePagesWindowCloseReachesTheControlAsTheBrowsersQuit) {
    ASSERT_TRUE(Start("StartFile=two.html\n"));
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_TRUE(Shows(kBlue, 3));
    HearingBrowserControl::s_heard.clear();
    m_events.clear();
    // The page's button, under its top-left corner.
    win32::testing::Click(GetViewportWindowHandle(m_running.App().GetViewport()),
                          win32::testing::MouseButton::Left, 20 + 8, 30 + 8);
    ASSERT_TRUE(RunUntil([this] { return !m_events.empty(); }));
    EXPECT_EQ(m_events, Log{"OnQuit"});
    EXPECT_EQ(HearingBrowserControl::s_heard, Log{"quit"});
}

TEST_F(IEControlWebTest, AFileAddressIsRefusedAndThePageStays) {
    ASSERT_TRUE(Start("StartFile=one.html\n"));
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_TRUE(Shows(kGreen, 3));
    m_events.clear();
    EXPECT_TRUE(Say("Navigate(\"file://" + m_title.Host('C', "Title/two.html") + "\")"));
    for (int step = 0; step < 50; ++step) {
        m_running.App().Step();
        win32::EndRunLoopStep();
    }
    EXPECT_EQ(m_events, Log{});
    EXPECT_EQ(Shown(50, 50), kGreen);
}

} // namespace
