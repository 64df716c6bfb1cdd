// The hosted web engine through WebView, on its own X server: pages of title files drawn into a child window,
// links followed by clicks, history, stop and reload, the page's window.close(), and what is refused.
#include "platform/web/WebView.h"
#include "platform/testing/Drives.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/video/Overlays.h"
#include "platform/web/WebAddresses.h"
#include "platform/web/XvfbServer.h"
#include "platform/win32/windows/RunLoopPacing.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace web::tests {
namespace {

using win32::HWND;

constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;

// A page of one colour, wholly a link when given one.
std::string Page(const char* color, const std::string& link = "", const std::string& more = "") {
    std::string body = "<html><body style='margin:0;background:" + std::string(color) + "'>";
    if (!link.empty()) {
        body += "<a href='" + link + "' style='display:block;width:100%;height:100px'></a>";
    }
    return body + more + "</body></html>";
}

class WebViewTest : public win32::tests::WindowSystemTest {
protected:
    void SetUp() override {
        WindowSystemTest::SetUp();
        if (!EngineBuiltIn()) {
            GTEST_SKIP() << "built without the web engine (VEMO_WEB=OFF)";
        }
        if (!XvfbServer::Installed()) {
            GTEST_SKIP() << "Xvfb is not installed: no X server for the web engine";
        }
        m_parent = m_class.Create(win32::WS_OVERLAPPEDWINDOW | win32::WS_VISIBLE, nullptr, {0, 0, 320, 240});
        m_child = m_class.Create(win32::WS_CHILD | win32::WS_VISIBLE, m_parent, {10, 20, 210, 120});
        ASSERT_NE(m_child, nullptr);
        Pump();
    }

    void TearDown() override {
        m_view.reset();
        if (m_parent != nullptr) {
            win32::DestroyWindow(m_parent);
        }
        WindowSystemTest::TearDown();
    }

    void Write(const std::string& name, const std::string& content) {
        std::ofstream(m_drives.HostPath('C', name), std::ios::binary) << content;
    }

    std::string Address(const std::string& name) { return TitleFileAddress("C:\\" + name); }

    // The view in the child window, what it tells written to the log.
    void MakeView(WebViewOptions options = {}) {
        WebViewEvents events;
        events.loadStarted = [this] { m_log.push_back("started"); };
        events.loadFinished = [this](bool succeeded) { m_log.push_back(succeeded ? "finished" : "failed"); };
        events.navigated = [this](const std::string& address) { m_log.push_back("at " + address); };
        events.scriptMessage = [this](const std::string& handler, const std::string& json) {
            m_log.push_back(handler + " " + json);
        };
        events.closeRequested = [this] { m_log.push_back("close"); };
        std::string whyNot;
        m_view = WebView::Create(m_child, options, std::move(events), &whyNot);
        ASSERT_NE(m_view, nullptr) << whyNot;
    }

    // Runs application steps (messages, then the end of the step, which runs the engine) until the
    // condition holds; false when it did not within the time.
    bool RunUntil(const std::function<bool()>& condition,
                  std::chrono::seconds most = std::chrono::seconds(20)) {
        const auto end = std::chrono::steady_clock::now() + most;
        while (std::chrono::steady_clock::now() < end) {
            Pump();
            win32::EndRunLoopStep();
            if (condition()) {
                return true;
            }
        }
        return false;
    }

    bool Loaded() {
        return RunUntil([this] { return !m_view->Busy(); });
    }

    // Loads and waits until the page is drawn; the log holds what the load told.
    void Show(const std::string& address) {
        m_log.clear();
        m_view->Load(address);
        ASSERT_TRUE(Loaded()) << address;
    }

    // What the parent window shows at a point of the child window's client area, overlays composed.
    std::uint32_t ShownAt(int x, int y) {
        std::vector<std::uint32_t> pixels(320 * 240, 0);
        video::OverlayFrame frame{pixels.data(), 320, 240, 320 * 4, {0, 0}};
        video::ComposeWindowOverlays(m_parent, frame);
        return pixels[static_cast<std::size_t>((20 + y) * 320 + 10 + x)] & 0xFFFFFF;
    }

    win32::testing::TemporaryDrives m_drives{{'C'}};
    win32::tests::RecordingWindowClass m_class;
    HWND m_parent = nullptr;
    HWND m_child = nullptr;
    std::unique_ptr<WebView> m_view;
    std::vector<std::string> m_log;
};

TEST_F(WebViewTest, ASandboxThatCannotStartLeavesNoViewAndSaysWhy) {
    // A bwrap that refuses, as one does in a chroot: the engine must not be started at all.
    const std::string folder = m_drives.HostPath('C', "bin");
    std::filesystem::create_directories(folder);
    const std::string bwrap = folder + "/bwrap";
    std::ofstream(bwrap) << "#!/bin/sh\nexit 1\n";
    std::filesystem::permissions(bwrap, std::filesystem::perms::owner_all);
    const char* path = std::getenv("PATH");
    platform::testing::ScopedEnvironment searched("PATH",
                                                  (folder + ":" + (path != nullptr ? path : "")).c_str());
    std::string whyNot;
    EXPECT_EQ(WebView::Create(m_child, {}, {}, &whyNot), nullptr);
    EXPECT_NE(whyNot.find("sandbox"), std::string::npos) << whyNot;
}

TEST_F(WebViewTest, ATitleFilePageWithItsStyleSheetIsDrawnIntoTheWindow) {
    Write("style.css", "body { background: #00ff00 !important; }");
    Write("page.html", "<html><head><link rel='stylesheet' href='style.css'></head>" + Page("red"));
    MakeView();
    Show(Address("page.html"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"started", "at vemo://c/page.html", "finished"}));
    EXPECT_EQ(ShownAt(5, 5), kGreen);
    EXPECT_EQ(ShownAt(199, 99), kGreen) << "the view has the window's size";
    EXPECT_EQ(video::OverlayCount(m_child), 1U);

    const std::uint64_t version = video::OverlaysVersion();
    RunUntil([] { return false; }, std::chrono::seconds(1));
    EXPECT_EQ(video::OverlaysVersion(), version) << "a still page presents nothing new";
}

TEST_F(WebViewTest, AClickOnALinkNavigatesAndTheHistoryGoesBackAndForward) {
    Write("one.html", Page("#00ff00", "two.html"));
    Write("two.html", Page("#0000ff"));
    MakeView();
    Show(Address("one.html"));
    m_log.clear();
    win32::testing::Click(m_parent, win32::testing::MouseButton::Left, 10 + 50, 20 + 50);
    ASSERT_TRUE(RunUntil([this] { return ShownAt(50, 50) == kBlue && !m_view->Busy(); }));
    EXPECT_EQ(m_log, (std::vector<std::string>{"started", "at vemo://c/two.html", "finished"}));

    m_view->GoBack();
    ASSERT_TRUE(RunUntil([this] { return ShownAt(50, 50) == kGreen && !m_view->Busy(); }));
    m_view->GoForward();
    ASSERT_TRUE(RunUntil([this] { return ShownAt(50, 50) == kBlue && !m_view->Busy(); }));
    m_log.clear();
    m_view->Reload();
    ASSERT_TRUE(Loaded());
    EXPECT_EQ(m_log, (std::vector<std::string>{"started", "at vemo://c/two.html", "finished"}));
}

TEST_F(WebViewTest, AStoppedLoadEndsAsAFailedOne) {
    Write("one.html", Page("#00ff00"));
    MakeView();
    Show(Address("one.html"));
    // A server that takes the request and never answers it.
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(server, 0);
    sockaddr_in place{};
    place.sin_family = AF_INET;
    place.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(place);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&place), size), 0);
    ASSERT_EQ(::listen(server, 4), 0);
    ASSERT_EQ(::getsockname(server, reinterpret_cast<sockaddr*>(&place), &size), 0);
    m_log.clear();
    m_view->Load("http://127.0.0.1:" + std::to_string(ntohs(place.sin_port)) + "/never");
    ASSERT_TRUE(RunUntil([this] { return !m_log.empty(); }));
    m_view->Stop();
    ASSERT_TRUE(Loaded());

    ASSERT_FALSE(m_log.empty());
    EXPECT_EQ(m_log.front(), "started");
    EXPECT_EQ(m_log.back(), "failed");
    EXPECT_EQ(ShownAt(50, 50), kGreen) << "the page before stays";
    ::close(server);
}

TEST_F(WebViewTest, ThePagesWindowCloseAndItsMessagesReachTheEvents) {
    Write("close.html", Page("#00ff00", "", "<button id='b' onclick='window.close()'>x</button>"));
    WebViewOptions options;
    options.messageHandlers = {"player"};
    options.userScripts = {"window.started = 7;"};
    MakeView(options);
    Show(Address("close.html"));
    m_log.clear();
    m_view->RunScript("window.webkit.messageHandlers.player.postMessage({n: window.started});");
    ASSERT_TRUE(RunUntil([this] { return !m_log.empty(); }));
    EXPECT_EQ(m_log, std::vector<std::string>{"player {\"n\":7}"});
    m_log.clear();
    m_view->RunScript("document.getElementById('b').click();");
    ASSERT_TRUE(RunUntil([this] { return !m_log.empty(); }));
    EXPECT_EQ(m_log, std::vector<std::string>{"close"});
}

TEST_F(WebViewTest, FileAddressesAreRefusedAsPagesAndAsTheirImages) {
    const std::string red = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40'>"
                            "<rect width='40' height='40' fill='#ff0000'/></svg>";
    Write("red.svg", red);
    std::ofstream(m_drives.Base() + "/outside.svg") << red;
    Write("images.html",
          Page("#00ff00", "",
               "<img src='red.svg' style='position:absolute;left:0;top:0'>"
               "<img src='file://" +
                   m_drives.Base() + "/outside.svg' style='position:absolute;left:100px;top:0'>"));
    MakeView();
    Show(Address("images.html"));
    EXPECT_EQ(ShownAt(20, 20), kRed) << "the title's own image is drawn";
    EXPECT_NE(ShownAt(120, 20), kRed) << "an image of the host's file system is not";

    m_log.clear();
    m_view->Load("file://" + m_drives.Base() + "/outside.svg");
    RunUntil([] { return false; }, std::chrono::seconds(1));
    EXPECT_EQ(m_log, std::vector<std::string>{}) << "no load of a file address starts";
    EXPECT_FALSE(m_view->Busy());
    EXPECT_EQ(ShownAt(20, 20), kRed) << "the page stays";
}

TEST_F(WebViewTest, AMissingTitleFileFailsItsLoad) {
    MakeView();
    Show(Address("missing.html"));
    ASSERT_FALSE(m_log.empty());
    EXPECT_EQ(m_log.back(), "failed");
}

struct AddressCase {
    const char* path;
    const char* address;
};

TEST(WebAddressTest, TitleFilesHaveAddressesOfOurSchemeThatReadBack) {
    const AddressCase cases[] = {
        {"C:\\Titles\\Demo\\page.html", "vemo://c/Titles/Demo/page.html"},
        {"d:/x y/%1#.htm", "vemo://d/x%20y/%251%23.htm"},
        {"\\\\server\\share\\page.html", ""},
        {"page.html", ""},
    };
    for (const AddressCase& item : cases) {
        EXPECT_EQ(TitleFileAddress(item.path), item.address) << item.path;
    }
    const std::optional<SchemeTarget> target = ParseSchemeAddress("vemo://D/x%20y/%251%23.htm?q#f");
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->path, "D:\\x y\\%1#.htm");
    EXPECT_FALSE(ParseSchemeAddress("vemo://c/a/%2E%2E/b").has_value()) << "no way up";
    EXPECT_FALSE(ParseSchemeAddress("vemo://cd/a").has_value());
    EXPECT_EQ(PlayerFileAddress("ruffle/host page.html"), "vemo://player/ruffle/host%20page.html");
    EXPECT_EQ(ParseSchemeAddress(PlayerFileAddress("ruffle/a.js"))->path, "ruffle/a.js");
}

} // namespace
} // namespace web::tests
