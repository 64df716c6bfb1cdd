#include "platform/com/Atl.h"
#include "platform/com/OleObject.h"
#include "platform/com/WebBrowser.h"
#include "platform/testing/ComTesting.h"
#include "platform/testing/WindowTesting.h"
#include "platform/tests/ComTestSupport.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/kernel/Module.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace com::tests {
namespace {

using win32::HWND;
using win32::tests::RecordingWindowClass;

const CLSID CLSID_TestPlayer = {0x0C0FFEE6, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};
const CLSID CLSID_TestBrowser = {
    0x0C0FFEE7, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};
constexpr const char* kPlayerWindowClass = "Test Player Window";
constexpr HRESULT kRefused = static_cast<HRESULT>(0x80070005);

std::string Narrow(const OLECHAR* text) {
    std::string narrow;
    for (; text != nullptr && *text != 0; ++text) {
        narrow += static_cast<char>(*text);
    }
    return narrow;
}

// What the doubles were asked, in order, across all of them.
std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

std::string RectText(const RECT* rect) {
    return std::to_string(rect->left) + "," + std::to_string(rect->top) + "," + std::to_string(rect->right) +
           "," + std::to_string(rect->bottom);
}

// A player as real ones behave in a host: shown, it makes a child window of the host; closed, it destroys it.
class TestPlayer final : public ComObject<ITestThing, IOleObject, IOleInPlaceObject> {
public:
    static inline HRESULT s_showResult = win32::S_OK;
    static inline HWND s_window = nullptr;
    static inline int s_alive = 0;

    TestPlayer() { ++s_alive; }

    HRESULT QueryInterface(REFIID iid, void** object) override {
        return Answer(iid, object,
                      {{&IID_ITestThing, static_cast<ITestThing*>(this)},
                       {&IID_IOleObject, static_cast<IOleObject*>(this)},
                       {&IID_IOleInPlaceObject, static_cast<IOleInPlaceObject*>(this)}});
    }
    int Value() override { return 1; }

    HRESULT DoVerb(LONG verb, MSG*, IOleClientSite*, LONG, HWND parent, const RECT* position) override {
        Calls().push_back("DoVerb " + std::to_string(verb) + " " + RectText(position));
        if (win32::FAILED(s_showResult)) {
            return s_showResult;
        }
        s_window = win32::CreateWindowExA(0, kPlayerWindowClass, "", win32::WS_CHILD | win32::WS_VISIBLE,
                                          position->left, position->top, position->right - position->left,
                                          position->bottom - position->top, parent, nullptr,
                                          win32::GetModuleHandleA(nullptr), nullptr);
        return s_window != nullptr ? win32::S_OK : win32::E_FAIL;
    }

    HRESULT Close(DWORD saveOption) override {
        Calls().push_back("Close " + std::to_string(saveOption) +
                          (win32::IsWindow(s_window) ? " window" : ""));
        win32::DestroyWindow(s_window);
        s_window = nullptr;
        return win32::S_OK;
    }

    HRESULT SetObjectRects(const RECT* position, const RECT*) override {
        Calls().push_back("SetObjectRects " + RectText(position));
        return win32::S_OK;
    }

private:
    ~TestPlayer() override { --s_alive; }
};

class TestBrowser final : public ComObject<IWebBrowser2> {
public:
    static inline HRESULT s_navigateResult = win32::S_OK;

    HRESULT QueryInterface(REFIID iid, void** object) override {
        return Answer(iid, object,
                      {{&IID_IWebBrowser2, static_cast<IWebBrowser2*>(this)},
                       {&IID_IDispatch, static_cast<IDispatch*>(this)}});
    }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT GoBack() override { return win32::S_OK; }
    HRESULT GoForward() override { return win32::S_OK; }
    HRESULT GoHome() override { return win32::S_OK; }
    HRESULT GoSearch() override { return win32::S_OK; }
    HRESULT Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* postData, VARIANT* headers) override {
        bool empty = true;
        for (const VARIANT* variant : {flags, frame, postData, headers}) {
            empty = empty && (variant == nullptr || variant->vt == VT_EMPTY);
        }
        Calls().push_back("Navigate " + Narrow(url) + (empty ? "" : " with more"));
        return s_navigateResult;
    }
    HRESULT Refresh() override { return win32::S_OK; }
    HRESULT Stop() override { return win32::S_OK; }
    HRESULT Quit() override { return win32::S_OK; }
};

// Headless windows, nothing registered; the host library's start-up and COM counts end where they began.
class AtlHostTest : public win32::tests::WindowSystemTest {
protected:
    void SetUp() override {
        WindowSystemTest::SetUp();
        Calls().clear();
        TestPlayer::s_showResult = win32::S_OK;
        TestBrowser::s_navigateResult = win32::S_OK;
        win32::WNDCLASSEXA record{};
        record.cbSize = sizeof(record);
        record.lpfnWndProc = &win32::DefWindowProcA;
        record.hInstance = win32::GetModuleHandleA(nullptr);
        record.lpszClassName = kPlayerWindowClass;
        ASSERT_NE(win32::RegisterClassExA(&record), 0);
        m_parent = m_parentClass.Create(win32::WS_OVERLAPPEDWINDOW, nullptr, {0, 0, 640, 480});
        ASSERT_NE(m_parent, nullptr);
    }

    void TearDown() override {
        if (win32::IsWindow(m_parent)) {
            win32::DestroyWindow(m_parent);
        }
        win32::UnregisterClassA(kPlayerWindowClass, win32::GetModuleHandleA(nullptr));
        testing::UnregisterAllClasses();
        EXPECT_EQ(testing::HostingStartCount(), 0);
        EXPECT_EQ(testing::ThreadInitializeCount(), 0);
        EXPECT_EQ(testing::LiveHostObjects(), 0U);
        EXPECT_EQ(TestPlayer::s_alive, 0);
        WindowSystemTest::TearDown();
    }

    HWND CreateHostWindow(int width = 320, int height = 240) {
        return win32::CreateWindowExA(0x10000, kAtlAxWinClassName, nullptr, win32::WS_CHILD, 10, 20, width,
                                      height, m_parent, nullptr, win32::GetModuleHandleA(nullptr), nullptr);
    }

    // The host object's interface, asked for as the host window control asks for it.
    static IAxWinHostWindow* HostOf(HWND window) {
        const UINT message = win32::RegisterWindowMessageA(kAtlGetHostMessageName);
        auto* unknown = reinterpret_cast<IUnknown*>(win32::SendMessageA(window, message, 0, 0));
        if (unknown == nullptr) {
            return nullptr;
        }
        IAxWinHostWindow* host = nullptr;
        unknown->QueryInterface(IID_IAxWinHostWindow, reinterpret_cast<void**>(&host));
        unknown->Release();
        return host;
    }

    RecordingWindowClass m_parentClass;
    HWND m_parent = nullptr;
};

TEST_F(AtlHostTest, StartsAreCountedAndTheFirstAndLastDoTheWork) {
    EXPECT_FALSE(AtlAxWinTerm());
    ASSERT_TRUE(AtlAxWinInit());
    EXPECT_TRUE(testing::HostWindowClassRegistered());
    EXPECT_EQ(testing::ThreadInitializeCount(), 1);
    ASSERT_TRUE(AtlAxWinInit());
    EXPECT_EQ(testing::HostingStartCount(), 2);
    EXPECT_EQ(testing::ThreadInitializeCount(), 1);
    EXPECT_TRUE(AtlAxWinTerm());
    EXPECT_TRUE(testing::HostWindowClassRegistered());
    EXPECT_TRUE(AtlAxWinTerm());
    EXPECT_FALSE(testing::HostWindowClassRegistered());
    EXPECT_EQ(CreateHostWindow(), nullptr) << "no host windows once the library has stopped";
}

TEST_F(AtlHostTest, AClassStillInUseAtTheLastStopStaysForTheNextStart) {
    ASSERT_TRUE(AtlAxWinInit());
    HWND window = CreateHostWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(AtlAxWinTerm());
    EXPECT_EQ(testing::ThreadInitializeCount(), 0);
    EXPECT_TRUE(testing::HostWindowClassRegistered());
    ASSERT_TRUE(AtlAxWinInit());
    HWND another = CreateHostWindow();
    EXPECT_NE(another, nullptr);
    EXPECT_TRUE(win32::DestroyWindow(another));
    EXPECT_TRUE(win32::DestroyWindow(window));
    EXPECT_TRUE(AtlAxWinTerm());
    EXPECT_FALSE(testing::HostWindowClassRegistered());
}

TEST_F(AtlHostTest, AThreadThatStartedCOMItselfKeepsItsStartAfterTheLibraryStops) {
    ASSERT_EQ(CoInitialize(nullptr), win32::S_OK);
    ASSERT_TRUE(AtlAxWinInit());
    EXPECT_EQ(testing::ThreadInitializeCount(), 2);
    ASSERT_TRUE(AtlAxWinTerm());
    EXPECT_EQ(testing::ThreadInitializeCount(), 1);
    CoUninitialize();
}

TEST_F(AtlHostTest, AHostWindowAnswersTheHostQueryWithItsHostObject) {
    ASSERT_TRUE(AtlAxWinInit());
    HWND window = CreateHostWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(testing::LiveHostObjects(), 1U);
    IAxWinHostWindow* host = HostOf(window);
    ASSERT_NE(host, nullptr);
    IAxWinHostWindow* again = HostOf(window);
    EXPECT_EQ(again, host) << "one host object for the window's life";
    again->Release();
    void* control = &control;
    EXPECT_EQ(host->QueryControl(IID_IUnknown, &control), win32::E_NOINTERFACE);
    EXPECT_EQ(control, nullptr);
    host->Release();
    EXPECT_TRUE(win32::DestroyWindow(window));
    EXPECT_EQ(testing::LiveHostObjects(), 0U);
    EXPECT_TRUE(AtlAxWinTerm());
}

TEST_F(AtlHostTest, WithNothingRegisteredEveryCreationFails) {
    ASSERT_TRUE(AtlAxWinInit());
    HWND window = CreateHostWindow();
    IAxWinHostWindow* host = HostOf(window);
    ASSERT_NE(host, nullptr);
    for (const char16_t* text : {u"SWCtl.SWCtl", u"ShockwaveFlash.ShockwaveFlash", u"Shell.Explorer",
                                 u"http://example.com/", u"{0C0FFEE6-1234-5678-9ABC-DEF012345678}"}) {
        EXPECT_EQ(host->CreateControl(text, window, nullptr), REGDB_E_CLASSNOTREG) << Narrow(text);
    }
    void* control = &control;
    EXPECT_EQ(host->QueryControl(IID_IUnknown, &control), win32::E_NOINTERFACE);
    host->Release();
    win32::DestroyWindow(window);
    EXPECT_TRUE(AtlAxWinTerm());
}

TEST_F(AtlHostTest, AControlIsShownInItsHostFollowsItsSizeAndClosesBeforeTheHostWindowGoes) {
    testing::ScopedClass player(CLSID_TestPlayer, "SWCtl.SWCtl",
                                [] { return static_cast<ITestThing*>(new TestPlayer); });
    ASSERT_TRUE(AtlAxWinInit());
    HWND window = CreateHostWindow(320, 240);
    IAxWinHostWindow* host = HostOf(window);
    ASSERT_EQ(host->CreateControl(u"swctl.swctl", window, nullptr), win32::S_OK);
    ASSERT_NE(TestPlayer::s_window, nullptr);
    EXPECT_EQ(win32::testing::GetWindowState(TestPlayer::s_window).parent, window);
    ITestThing* thing = nullptr;
    ASSERT_EQ(host->QueryControl(IID_ITestThing, reinterpret_cast<void**>(&thing)), win32::S_OK);
    EXPECT_EQ(thing->Value(), 1);
    thing->Release();
    EXPECT_TRUE(win32::MoveWindow(window, 0, 0, 400, 300, win32::FALSE));
    host->Release();
    EXPECT_TRUE(win32::DestroyWindow(window));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"DoVerb -5 0,0,320,240", "SetObjectRects 0,0,400,300",
                                                 "Close 1 window"}));
    EXPECT_TRUE(AtlAxWinTerm());
}

TEST_F(AtlHostTest, AClassIsAlsoNamedByItsCLSIDTextAndASecondControlReplacesTheFirst) {
    testing::ScopedClass player(CLSID_TestPlayer, "SWCtl.SWCtl",
                                [] { return static_cast<ITestThing*>(new TestPlayer); });
    ASSERT_TRUE(AtlAxWinInit());
    HWND window = CreateHostWindow(100, 50);
    IAxWinHostWindow* host = HostOf(window);
    ASSERT_EQ(host->CreateControl(u"{0c0ffee6-1234-5678-9abc-def012345678}", window, nullptr), win32::S_OK);
    ASSERT_EQ(host->CreateControl(u"SWCtl.SWCtl", window, nullptr), win32::S_OK);
    EXPECT_EQ(TestPlayer::s_alive, 1);
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{"DoVerb -5 0,0,100,50", "Close 1 window", "DoVerb -5 0,0,100,50"}));
    host->Release();
    win32::DestroyWindow(window);
    EXPECT_TRUE(AtlAxWinTerm());
}

TEST_F(AtlHostTest, AnyOtherTextIsAnAddressForTheBrowser) {
    testing::ScopedClass browser(CLSID_TestBrowser, "Shell.Explorer",
                                 [] { return static_cast<IWebBrowser2*>(new TestBrowser); });
    ASSERT_TRUE(AtlAxWinInit());
    HWND window = CreateHostWindow();
    IAxWinHostWindow* host = HostOf(window);
    ASSERT_EQ(host->CreateControl(u"http://example.com/start page.html", window, nullptr), win32::S_OK);
    ASSERT_EQ(host->CreateControl(u"SWCtl.SWCtl", window, nullptr), win32::S_OK)
        << "a ProgID no class has is an address too";
    ASSERT_EQ(host->CreateControl(u"Shell.Explorer", window, nullptr), win32::S_OK);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"Navigate http://example.com/start page.html",
                                                 "Navigate SWCtl.SWCtl"}));
    IWebBrowser2* held = nullptr;
    EXPECT_EQ(host->QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&held)), win32::S_OK);
    held->Release();
    host->Release();
    win32::DestroyWindow(window);
    EXPECT_EQ(browser.CreatedCount(), 3);
    EXPECT_TRUE(AtlAxWinTerm());
}

TEST_F(AtlHostTest, AControlThatCannotBeShownOrNavigatedIsLetGo) {
    testing::ScopedClass player(CLSID_TestPlayer, "SWCtl.SWCtl",
                                [] { return static_cast<ITestThing*>(new TestPlayer); });
    testing::ScopedClass browser(CLSID_TestBrowser, "Shell.Explorer",
                                 [] { return static_cast<IWebBrowser2*>(new TestBrowser); });
    ASSERT_TRUE(AtlAxWinInit());
    HWND window = CreateHostWindow();
    IAxWinHostWindow* host = HostOf(window);
    TestPlayer::s_showResult = win32::E_FAIL;
    EXPECT_EQ(host->CreateControl(u"SWCtl.SWCtl", window, nullptr), win32::E_FAIL);
    EXPECT_EQ(TestPlayer::s_alive, 0);
    TestBrowser::s_navigateResult = kRefused;
    EXPECT_EQ(host->CreateControl(u"file:///nowhere", window, nullptr), kRefused);
    void* control = &control;
    EXPECT_EQ(host->QueryControl(IID_IUnknown, &control), win32::E_NOINTERFACE);
    host->Release();
    win32::DestroyWindow(window);
    EXPECT_TRUE(AtlAxWinTerm());
}

TEST_F(AtlHostTest, CreationIsRefusedForAnotherWindowAnEmptyTextOrAStream) {
    testing::ScopedClass player(CLSID_TestPlayer, "SWCtl.SWCtl",
                                [] { return static_cast<ITestThing*>(new TestPlayer); });
    ASSERT_TRUE(AtlAxWinInit());
    HWND window = CreateHostWindow();
    IAxWinHostWindow* host = HostOf(window);
    EXPECT_EQ(host->CreateControl(u"SWCtl.SWCtl", m_parent, nullptr), win32::E_INVALIDARG);
    EXPECT_EQ(host->CreateControl(u"", window, nullptr), win32::E_INVALIDARG);
    EXPECT_EQ(host->CreateControl(nullptr, window, nullptr), win32::E_INVALIDARG);
    EXPECT_EQ(host->CreateControl(u"SWCtl.SWCtl", window, reinterpret_cast<IStream*>(host)), E_NOTIMPL);
    EXPECT_EQ(player.CreatedCount(), 0);
    host->Release();
    win32::DestroyWindow(window);
    EXPECT_TRUE(AtlAxWinTerm());
}

TEST_F(AtlHostTest, AHostObjectKeptAfterItsWindowCreatesNothing) {
    testing::ScopedClass player(CLSID_TestPlayer, "SWCtl.SWCtl",
                                [] { return static_cast<ITestThing*>(new TestPlayer); });
    ASSERT_TRUE(AtlAxWinInit());
    HWND window = CreateHostWindow();
    IAxWinHostWindow* host = HostOf(window);
    ASSERT_EQ(host->CreateControl(u"SWCtl.SWCtl", window, nullptr), win32::S_OK);
    win32::DestroyWindow(window);
    EXPECT_EQ(TestPlayer::s_alive, 0) << "the control goes with the window";
    EXPECT_EQ(testing::LiveHostObjects(), 1U);
    EXPECT_EQ(host->CreateControl(u"SWCtl.SWCtl", window, nullptr), win32::E_INVALIDARG);
    host->Release();
    EXPECT_TRUE(AtlAxWinTerm());
}

} // namespace
} // namespace com::tests
