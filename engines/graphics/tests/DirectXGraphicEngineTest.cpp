#include "engines/graphics/directx/DirectXGraphicEngine.h"

#include "engines/graphics/directx/DirectXViewportEventHandler.h"
#include "engines/graphics/directx/DirectXViewportHandle.h"
#include "engines/graphics/directx/DirectXWindow.h"
#include "engines/graphics/testing/WindowTestSupport.h"
#include "platform/testing/CaseNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

TEST(DirectXGraphicEngineTest, InstallMakesTheNamedEngineWhichHasNoDirectDrawOfItsOwn) {
    TestApplication application;
    DirectXGraphicEngine* engine = DirectXGraphicEngine::Install();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->GetName().CStr(), std::string("DirectX Graphic Engine"));
    EXPECT_EQ(engine->GetTypeId(), 0x01000001U);
    EXPECT_EQ(engine->GetDirectDraw(), nullptr);
    EXPECT_TRUE(engine->Shutdown());
    EXPECT_TRUE(application.TakeReports().empty());
}

class RefusingEngine : public DirectXGraphicEngine {
public:
    RefusingEngine() : DirectXGraphicEngine(0x01000007, "Refusing Engine") {}
    bool Initialize() override { return false; }
};

TEST(DirectXGraphicEngineTest, AGivenEngineThatFailsToInstallIsKept) {
    TestApplication application;
    RefusingEngine engine;
    EXPECT_EQ(DirectXGraphicEngine::Install(&engine), nullptr);
    EXPECT_EQ(application.TakeReports(), (Reports{{ResourceEngineErrInitializeFailed, "Refusing Engine"}}));
}

struct ResultCase {
    const char* name;
    win32::HRESULT result;
    ErrorCode code;
    const char* text;
};

class DirectDrawFailureTest : public ::testing::TestWithParam<ResultCase> {};

TEST_P(DirectDrawFailureTest, IsReportedUnderTheCodeOfItsResultWithTheResultAsText) {
    TestApplication application;
    DirectXGraphicEngine::ReportDirectDrawFailure(GetParam().result);
    EXPECT_EQ(application.TakeReports(), (Reports{{GetParam().code, GetParam().text}}));
}

INSTANTIATE_TEST_SUITE_P(
    Results, DirectDrawFailureTest,
    ::testing::Values(
        ResultCase{"NoDirectDrawHardware", static_cast<win32::HRESULT>(0x88760233), 0x0102010000010005,
                   "0x88760233"},
        ResultCase{"NoEmulation", static_cast<win32::HRESULT>(0x88760235), 0x0102010000010006, "0x88760235"},
        ResultCase{"OutOfMemory", static_cast<win32::HRESULT>(0x8007000E), 0x0102000000000015, "0x8007000e"},
        ResultCase{"OutOfVideoMemory", static_cast<win32::HRESULT>(0x8876017C), 0x0102010000000001,
                   "0x8876017c"},
        ResultCase{"Fail", static_cast<win32::HRESULT>(0x80004005), 0x0102010000010001, "0x80004005"},
        ResultCase{"SurfaceLost", static_cast<win32::HRESULT>(0x887601C2), 0x0102010000010001, "0x887601c2"}),
    platform::testing::NameFromText<&ResultCase::name>());

// The DirectX level of a viewport handle, with a window a test gives it.
class WindowedViewportHandle : public DirectXViewportHandle {
public:
    WindowedViewportHandle() : DirectXViewportHandle(nullptr) {}
    void SetWindow(DirectXWindow* window) { m_window = window; }
};

class MovingHandler : public DirectXViewportEventHandler {
public:
    MovingHandler(Log* log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void OnMove(int, int) override { m_log->push_back(m_name); }

private:
    Log* m_log;
    std::string m_name;
};

using DirectXViewportHandleTest = WindowTest;

TEST_F(DirectXViewportHandleTest, HandlersAddedWithoutAWindowAreOnlyRegisteredUntilTheyAreAttached) {
    Log log;
    WindowedViewportHandle viewport;
    MovingHandler first(&log, "first");
    MovingHandler second(&log, "second");
    viewport.AddEventHandler(&first);
    viewport.AddEventHandler(&second);
    EXPECT_TRUE(viewport.HasEventHandler(&first));
    EXPECT_EQ(first.GetViewport(), &viewport);
    EXPECT_EQ(first.GetWindow(), nullptr);
    viewport.AttachEventHandlers();
    EXPECT_EQ(first.GetWindow(), nullptr) << "nothing to attach to without a window";

    DirectXWindow window(false);
    ASSERT_TRUE(Create(window));
    viewport.SetWindow(&window);
    viewport.AttachEventHandlers();
    win32::SendMessageA(window.GetWindowHandle(), win32::WM_MOVE, 0, win32::MAKELPARAM(5, 6));
    EXPECT_EQ(log, (Log{"first", "second"}));

    // A handler added while there is a window is attached to it at once.
    MovingHandler third(&log, "third");
    viewport.AddEventHandler(&third);
    EXPECT_EQ(third.GetWindow(), &window);
    viewport.RemoveEventHandler(&first);
    EXPECT_FALSE(viewport.HasEventHandler(&first));
    EXPECT_EQ(first.GetViewport(), nullptr);
    EXPECT_EQ(first.GetWindow(), nullptr);
    log.clear();
    win32::SendMessageA(window.GetWindowHandle(), win32::WM_MOVE, 0, win32::MAKELPARAM(5, 6));
    EXPECT_EQ(log, (Log{"second", "third"}));
    viewport.SetWindow(nullptr);
}

TEST_F(DirectXViewportHandleTest, AHandlerAddedToAnotherViewportLeavesTheFirst) {
    Log log;
    WindowedViewportHandle one;
    WindowedViewportHandle other;
    MovingHandler handler(&log, "handler");
    one.AddEventHandler(&handler);
    other.AddEventHandler(&handler);
    EXPECT_FALSE(one.HasEventHandler(&handler));
    EXPECT_TRUE(other.HasEventHandler(&handler));
    EXPECT_EQ(handler.GetViewport(), &other);
    other.AddEventHandler(&handler);
    EXPECT_EQ(other.GetEventHandlers().Size(), 1U) << "added again, it is listed once";
}

TEST_F(DirectXViewportHandleTest, ADestroyedHandlerLeavesItsViewportAndItsWindow) {
    Log log;
    WindowedViewportHandle viewport;
    DirectXWindow window(false);
    ASSERT_TRUE(Create(window));
    viewport.SetWindow(&window);
    MovingHandler kept(&log, "kept");
    viewport.AddEventHandler(&kept);
    {
        MovingHandler gone(&log, "gone");
        viewport.AddEventHandler(&gone);
        ASSERT_EQ(window.GetEventHandlerCount(), 2U);
    }
    EXPECT_EQ(viewport.GetEventHandlers().Size(), 1U);
    EXPECT_EQ(window.GetEventHandlerCount(), 1U);
    win32::SendMessageA(window.GetWindowHandle(), win32::WM_MOVE, 0, 0);
    EXPECT_EQ(log, (Log{"kept"}));
    viewport.SetWindow(nullptr);
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(DirectXViewportHandleTest, AViewportHandleThatGoesFirstIsForgottenByItsHandlers) {
    Log log;
    MovingHandler handler(&log, "handler");
    {
        WindowedViewportHandle viewport;
        viewport.AddEventHandler(&handler);
    }
    EXPECT_EQ(handler.GetViewport(), nullptr);
}

TEST(DirectXViewportHandleCheckTest, FromViewportHandleAnswersOnlyForDirectXViewportHandles) {
    ViewportHandle plain(nullptr);
    WindowedViewportHandle directX;
    EXPECT_EQ(DirectXViewportHandle::FromViewportHandle(&plain), nullptr);
    EXPECT_EQ(DirectXViewportHandle::FromViewportHandle(&directX), &directX);
    EXPECT_EQ(DirectXViewportHandle::FromViewportHandle(nullptr), nullptr);
    EXPECT_EQ(directX.GetDirectDraw(), nullptr);
    EXPECT_EQ(directX.GetPrimarySurface(), nullptr);
    EXPECT_EQ(directX.GetClipper(), nullptr);
}

} // namespace
