#include "engines/graphics/directx/DirectX6ViewportHandle.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/ViewportDisplayModes.h"
#include "engines/graphics/directx/DirectX6ViewportEventHandler.h"
#include "engines/graphics/directx/DirectX6ViewportGraphicHandle.h"
#include "engines/graphics/directx/DirectXViewportEventHandler.h"
#include "engines/graphics/testing/DirectXTestSupport.h"
#include "engines/media/quicktime/QuickTimeEngineHook.h"
#include "platform/quicktime/QuickTime.h"
#include "platform/testing/CaseNames.h"
#include "platform/testing/Clock.h"
#include "platform/testing/GdiTesting.h"
#include "platform/testing/QuickTimeTesting.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/kernel/Time.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;
using ddraw::testing::Answer;
using ddraw::testing::Frame;
using ddraw::testing::Times;

constexpr win32::HRESULT kFail = static_cast<win32::HRESULT>(0x80004005);
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kShade = 0x123456;

// A viewport that writes its notifications into a log and answers the close and paint requests as told.
class RecordingViewport : public Viewport {
public:
    explicit RecordingViewport(Log* log) : m_log(log) {}

    void OnActivate() override { m_log->push_back("OnActivate"); }
    void OnClose(bool* allowClose) override {
        m_log->push_back("OnClose");
        *allowClose = m_allowClose;
    }
    void OnClosed() override { m_log->push_back("OnClosed"); }
    void OnDeactivate() override { m_log->push_back("OnDeactivate"); }
    void OnPaint(Rect* area, bool* handled) override {
        m_log->push_back("OnPaint " + std::to_string(area->left) + "," + std::to_string(area->top) + "," +
                         std::to_string(area->right) + "," + std::to_string(area->bottom));
        *handled = m_handlePaint;
    }
    void OnRestored(bool succeeded) override {
        m_log->push_back(succeeded ? "OnRestored" : "OnRestored failed");
    }
    void OnRestore() override { m_log->push_back("OnRestore"); }
    void OnStyleChanged() override { m_log->push_back("OnStyleChanged"); }

    bool m_allowClose = true;
    bool m_handlePaint = false;

private:
    Log* m_log;
};

class DirectX6ViewportTest : public DirectX6Test {
protected:
    static DirectX6ViewportGraphicHandle* Buffer(Viewport& viewport, std::uint32_t index) {
        return dynamic_cast<DirectX6ViewportGraphicHandle*>(
            HandleOf(viewport)->GetBufferHandle(index, false));
    }

    // A surface of the display's format, filled with the colour.
    static void Filled(Graphic& graphic, std::int32_t width, std::int32_t height, const Color& color) {
        ASSERT_TRUE(graphic.Open(width, height, nullptr, GraphicSystem::Memory::System, 1));
        ASSERT_TRUE(graphic.FillRect(Rect(0, 0, width, height), color, true, 3));
    }

    // Red and a shade in rectangles, a green picture blitted.
    static void DrawScene(Viewport& viewport, Graphic& green) {
        ASSERT_TRUE(viewport.FillRect(Rect(10, 20, 110, 70), Rgb(0xFF, 0, 0), true, 3));
        ASSERT_TRUE(viewport.FillRect(Rect(300, 200, 640, 480), Rgb(0x12, 0x34, 0x56), true, 3));
        ASSERT_TRUE(viewport.Blit(Point(500, 10), green, 3));
    }

    static void ExpectScene(const Frame& frame) {
        ASSERT_EQ(frame.width, 640);
        ASSERT_EQ(frame.height, 480);
        EXPECT_EQ(frame.At(10, 20), kRed);
        EXPECT_EQ(frame.At(109, 69), kRed);
        EXPECT_EQ(frame.At(110, 70), 0U);
        EXPECT_EQ(frame.At(9, 20), 0U);
        EXPECT_EQ(frame.At(300, 200), kShade);
        EXPECT_EQ(frame.At(639, 479), kShade);
        EXPECT_EQ(frame.At(299, 479), 0U);
        EXPECT_EQ(frame.At(500, 10), kGreen);
        EXPECT_EQ(frame.At(531, 25), kGreen);
        EXPECT_EQ(frame.At(532, 25), 0U);
        EXPECT_EQ(frame.At(531, 26), 0U);
    }

    win32::HWND ShownWindow(Viewport& viewport) {
        return viewport.IsFullscreen() ? m_main->GetWindowHandle() : WindowOf(viewport);
    }

    static ddraw::DDSURFACEDESC2 DisplayMode(ddraw::IDirectDraw4* directDraw) {
        ddraw::DDSURFACEDESC2 mode{};
        mode.dwSize = sizeof(mode);
        EXPECT_EQ(directDraw->GetDisplayMode(&mode), ddraw::DD_OK);
        return mode;
    }
};

struct PresentCase {
    const char* name;
    bool fullscreen;
    std::uint32_t presentMode;
    std::uint32_t backBuffers;
    bool flip;
};

class PresentTest : public DirectX6ViewportTest, public ::testing::WithParamInterface<PresentCase> {
protected:
    ViewportDescription Described() const {
        const PresentCase& present = GetParam();
        return present.fullscreen
                   ? FullscreenDescription(present.presentMode, present.backBuffers, present.flip)
                   : WindowedDescription(present.presentMode, present.backBuffers, present.flip);
    }
};

TEST_P(PresentTest, EachUpdateShowsTheBackBufferPixelExact) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(Described()));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    ASSERT_TRUE(handle->IsAvailable());
    EXPECT_EQ(viewport.GetDepth(), 7U);
    EXPECT_EQ(viewport.GetPixelFormat()->format, StandardPixelFormat::Xrgb32);
    Graphic green;
    Filled(green, 32, 16, Rgb(0, 0xFF, 0));
    DrawScene(viewport, green);
    handle->Update();
    const Frame frame = Shown(ShownWindow(viewport));
    EXPECT_EQ(frame.fullscreen, GetParam().fullscreen);
    ExpectScene(frame);

    // The next picture is drawn into whichever buffer is now the back buffer.
    ASSERT_TRUE(viewport.FillRect(Rect(0, 0, 640, 480), Rgb(0, 0, 0xFF), true, 3));
    handle->Update();
    EXPECT_EQ(Shown(ShownWindow(viewport)).At(320, 240), 0x0000FFU);
    EXPECT_TRUE(Taken().empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, PresentTest,
                         ::testing::Values(PresentCase{"WindowedCopy", false, 2, 1, false},
                                           PresentCase{"WindowedFlip", false, 3, 1, true},
                                           PresentCase{"WindowedFlipOfThree", false, 3, 2, true},
                                           PresentCase{"FullscreenCopy", true, 2, 1, false},
                                           PresentCase{"FullscreenFlip", true, 3, 1, true},
                                           PresentCase{"FullscreenFlipOfThree", true, 3, 2, true}),
                         platform::testing::NameFromText<&PresentCase::name>());

// The same on real SDL windows, under SDL's dummy video driver: a picture is shown by the next look at the
// message queue; a full-screen one is stretched over the desktop.
class SdlPresentTest : public DirectX6ViewportTest {
protected:
    bool UsesSdl() const override { return true; }
};

TEST_F(SdlPresentTest, AWindowedViewportShowsItsPicturePixelExact) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 1)));
    // The first look at the queue paints the new window: its front buffer is cleared.
    Pump();
    Graphic green;
    Filled(green, 32, 16, Rgb(0, 0xFF, 0));
    DrawScene(viewport, green);
    HandleOf(viewport)->Update();
    Pump();
    ExpectScene(Shown(WindowOf(viewport)));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(SdlPresentTest, AFullScreenViewportFillsTheDesktop) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(FullscreenDescription(3, 1, true)));
    ASSERT_TRUE(viewport.FillRect(Rect(0, 0, 320, 480), Rgb(0xFF, 0, 0), true, 3));
    ASSERT_TRUE(viewport.FillRect(Rect(320, 0, 640, 480), Rgb(0x12, 0x34, 0x56), true, 3));
    HandleOf(viewport)->Update();
    Pump();
    Pump();
    const Frame frame = Shown(m_main->GetWindowHandle());
    EXPECT_TRUE(frame.fullscreen);
    ASSERT_GT(frame.width, 0);
    EXPECT_EQ(frame.At(frame.width / 4, frame.height / 2), kRed);
    EXPECT_EQ(frame.At(3 * frame.width / 4, frame.height / 2), kShade);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6ViewportTest, AnOuterSizeAndPositionBecomeTheClientAreasInsideTheFrame) {
    ViewportDescription outer = WindowedDescription(2, 1);
    outer.positionIsClient = false;
    outer.sizeIsClient = false;
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(outer));
    win32::RECT frame{0, 0, 640, 480};
    ASSERT_TRUE(win32::AdjustWindowRectEx(&frame, 0x06880000 | 0x00C00000, win32::FALSE, 0));
    const win32::testing::WindowState state = win32::testing::GetWindowState(WindowOf(viewport));
    EXPECT_EQ(state.clientRect.left, 40 - frame.left);
    EXPECT_EQ(state.clientRect.top, 30 - frame.top);
    EXPECT_EQ(state.clientRect.right - state.clientRect.left, 640 - (frame.right - 640) + frame.left);
    EXPECT_EQ(state.clientRect.bottom - state.clientRect.top, 480 - (frame.bottom - 480) + frame.top);
    EXPECT_EQ(viewport.GetSize().width, state.clientRect.right - state.clientRect.left);
    EXPECT_TRUE(viewport.GetDescription()->positionIsClient);
    EXPECT_TRUE(viewport.GetDescription()->sizeIsClient);
}

TEST_F(DirectX6ViewportTest, OpeningAnOpenWindowAgainMovesSizesRestylesAndRetitlesIt) {
    Log log;
    RecordingViewport viewport(&log);
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 1)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    const win32::HWND window = WindowOf(viewport);
    ViewportDescription changed = WindowedDescription(2, 1);
    changed.title = "Moved";
    changed.position = Point(200, 150);
    changed.size = Size(800, 600);
    changed.bordered = false;
    changed.caption = false;
    log.clear();
    ASSERT_TRUE(handle->OpenWindow(changed));
    EXPECT_EQ(WindowOf(viewport), window) << "the same window";
    const win32::testing::WindowState state = win32::testing::GetWindowState(window);
    EXPECT_EQ(state.text, "Moved");
    EXPECT_EQ(state.clientRect.left, 200);
    EXPECT_EQ(state.clientRect.top, 150);
    EXPECT_EQ(state.clientRect.right - state.clientRect.left, 800);
    EXPECT_EQ(state.clientRect.bottom - state.clientRect.top, 600);
    EXPECT_TRUE(state.visible);
    EXPECT_NE(static_cast<win32::DWORD>(win32::GetWindowLongA(window, win32::GWL_STYLE)) & win32::WS_POPUP,
              0U);
    EXPECT_EQ(Buffer(viewport, 1)->GetWidth(), 800);
    EXPECT_EQ(log, (Log{"OnRestore", "OnRestored", "OnStyleChanged"}));
    ASSERT_TRUE(viewport.FillRect(Rect(0, 0, 800, 600), Rgb(0xFF, 0, 0), true, 3));
    handle->Update();
    EXPECT_EQ(Shown(window).At(799, 599), kRed) << "the primary took the window's new size";
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6ViewportTest, DescriptionsThatCannotBeOpenedAreRefused) {
    ViewportDescription unoffered = FullscreenDescription(2, 1, false);
    unoffered.size = Size(700, 500);
    Viewport viewport;
    EXPECT_FALSE(viewport.Open(unoffered));
    EXPECT_TRUE(ReportedInOrder(Taken(), Reports{{0x0101010000000067}}));
    EXPECT_EQ(DisplayMode(m_engine->GetDirectDraw()).dwWidth, 1920U) << "the display was left as it was";
    EXPECT_FALSE(m_engine->IsMainWindowInUse());

    EXPECT_FALSE(viewport.Open(WindowedDescription(2, 0, true))) << "flipping without a back buffer";
    ViewportDescription tagged = WindowedDescription(2, 1);
    tagged.colorTag = 2;
    EXPECT_FALSE(viewport.Open(tagged));
    EXPECT_EQ(win32::testing::LiveWindowCount(), 1U) << "only the main window is left";
}

TEST_F(DirectX6ViewportTest, WithoutBackBuffersDrawingShowsAtOnceAndEveryUpdateReportsTheMissingBuffer) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 0)));
    ASSERT_TRUE(viewport.FillRect(Rect(0, 0, 8, 8), Rgb(0xFF, 0, 0), true, 3));
    EXPECT_EQ(Shown(WindowOf(viewport)).At(7, 7), kRed) << "the front buffer is the drawing buffer";
    for (int update = 0; update < 2; ++update) {
        HandleOf(viewport)->Update();
        EXPECT_EQ(Taken(), (Reports{{0x010101000000006B, "1"}}));
    }
}

TEST_F(DirectX6ViewportTest, BufferIndicesAboveTheCountAreRefusedAndEachBufferIsMadeOnce) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 1)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    EXPECT_EQ(handle->GetBufferCount(), 2U);
    EXPECT_EQ(handle->GetBufferHandle(2, false), nullptr);
    EXPECT_FALSE(handle->FlipToBuffer(5, false));
    EXPECT_FALSE(handle->CopyBufferToFront(3, true));
    EXPECT_EQ(Taken(),
              (Reports{{0x010101000000006B, "2"}, {0x010101000000006B, "5"}, {0x010101000000006B, "3"}}));

    GraphicSearchCriterion criterion(GraphicSearchCriterion::kGraphic);
    std::uint32_t index = 2;
    criterion.m_viewportHandle = handle;
    criterion.m_bufferIndex = &index;
    EXPECT_EQ(m_engine->CreateHandle(&criterion, nullptr), nullptr);
    index = 1;
    EXPECT_EQ(m_engine->CreateHandle(&criterion, nullptr), nullptr);
    EXPECT_EQ(Taken(), (Reports{{0x010101000000006B, "2"}, {0x010101000000006E, "1"}}));

    Graphic onBuffer;
    ASSERT_TRUE(onBuffer.OpenOnViewport(&viewport, 1, 0));
    EXPECT_EQ(onBuffer.GetGraphicHandle(), Buffer(viewport, 1));

    struct Counting : ViewportDisplayModes {
        bool OnMode(const Size&, const PixelFormat&, std::uint32_t, std::uint32_t) override {
            return ++count < 100;
        }
        int count = 0;
    } modes;
    EXPECT_TRUE(viewport.EnumDisplayModes(modes, 0));
    EXPECT_EQ(modes.count, 12);
}

TEST_F(DirectX6ViewportTest, FlipToTheFrontDoesNothingAndForeignHandlesAreRefused) {
    Viewport viewport;
    Viewport other;
    ASSERT_TRUE(viewport.Open(WindowedDescription(3, 1, true)));
    ASSERT_TRUE(other.Open(WindowedDescription(3, 1, true)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    ddraw::IDirectDrawSurface4* front = Buffer(viewport, 0)->GetSurface();
    EXPECT_TRUE(handle->Flip(Buffer(viewport, 0)));
    EXPECT_EQ(Buffer(viewport, 0)->GetSurface(), front);
    EXPECT_FALSE(handle->Flip(Buffer(other, 1)));
    EXPECT_TRUE(Taken().empty()) << "another viewport's buffer is refused without a report";
    Graphic plain;
    Filled(plain, 4, 4, Rgb(0, 0, 0));
    EXPECT_FALSE(handle->Flip(plain.GetGraphicHandle()));
    EXPECT_FALSE(handle->CopyToFront(plain.GetGraphicHandle()));
    EXPECT_EQ(Taken(), (Reports{{0x010101000000003C}, {0x010101000000003C}}));
    ASSERT_TRUE(Buffer(viewport, 1)->Lock());
    EXPECT_FALSE(handle->FlipToBuffer(1, false));
    EXPECT_EQ(Taken(), (Reports{{0x010101000000006D, "1"}}));
    ASSERT_TRUE(Buffer(viewport, 1)->Unlock());
}

TEST_F(DirectX6ViewportTest, AWindowedFlipTurnsTheSurfacesOneWayAndThePresentationOrderTheOther) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(3, 2, true)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    DirectX6ViewportGraphicHandle* buffers[3] = {Buffer(viewport, 0), Buffer(viewport, 1),
                                                 Buffer(viewport, 2)};
    ddraw::IDirectDrawSurface4* surfaces[3] = {buffers[0]->GetSurface(), buffers[1]->GetSurface(),
                                               buffers[2]->GetSurface()};
    EXPECT_FALSE(buffers[0]->IsPrimary()) << "a windowed viewport that flips keeps its front off screen";
    ASSERT_TRUE(buffers[2]->FillRect(Rect(0, 0, 640, 480), Rgb(0xFF, 0, 0), true, 3));
    ASSERT_TRUE(handle->FlipToBuffer(2, false));
    EXPECT_EQ(buffers[0]->GetSurface(), surfaces[2]);
    EXPECT_EQ(buffers[1]->GetSurface(), surfaces[0]);
    EXPECT_EQ(buffers[2]->GetSurface(), surfaces[1]);
    EXPECT_EQ(handle->GetBufferHandle(0, true), buffers[1]);
    EXPECT_EQ(handle->GetBufferHandle(1, true), buffers[2]);
    EXPECT_EQ(handle->GetBufferHandle(2, true), buffers[0]);
    EXPECT_EQ(Shown(WindowOf(viewport)).At(320, 240), kRed) << "the new front is shown";
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6ViewportTest, FlipPresentationWithoutAFlippingChainFallsBackToCopyingAndFails) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 1)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    ViewportDescription flipping = WindowedDescription(3, 1);
    flipping.size = Size(320, 240);
    EXPECT_FALSE(handle->OpenWindow(flipping));
    EXPECT_EQ(handle->GetPresentMode(), 2U);
    EXPECT_EQ(handle->GetPrimarySurface(), nullptr);
    EXPECT_FALSE(handle->IsAvailable());
}

TEST_F(DirectX6ViewportTest, ALostViewportIsMadeAgainOnceTheDisplayHasChangedAndNotWhileMinimised) {
    Log log;
    RecordingViewport viewport(&log);
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 1)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    const win32::HWND window = WindowOf(viewport);
    Pump();
    log.clear();
    ASSERT_TRUE(ddraw::testing::LoseSurface(handle->GetPrimarySurface()));
    EXPECT_TRUE(handle->IsLost());
    EXPECT_FALSE(handle->IsAvailable());

    win32::testing::HostMinimizes(window);
    Pump();
    win32::SendMessageA(window, win32::WM_DISPLAYCHANGE, 32, win32::MAKELPARAM(1920, 1080));
    EXPECT_TRUE(m_engine->IsRestorePending());
    EXPECT_FALSE(m_engine->RestoreSurfaces()) << "a minimised window is not restored";
    EXPECT_TRUE(handle->IsLost());
    win32::SendMessageA(window, win32::WM_SIZE, win32::SIZE_MINIMIZED, 0);
    EXPECT_FALSE(m_engine->IsRestorePending());
    EXPECT_TRUE(Taken().empty());

    win32::testing::HostRestores(window);
    Pump();
    EXPECT_TRUE(m_engine->IsRestorePending());
    log.clear();
    m_system->Update();
    EXPECT_FALSE(m_engine->IsRestorePending());
    EXPECT_FALSE(handle->IsLost());
    EXPECT_TRUE(handle->IsAvailable());
    EXPECT_EQ(log, (Log{"OnRestore", "OnRestored"}));
    ASSERT_TRUE(viewport.FillRect(Rect(0, 0, 4, 4), Rgb(0xFF, 0, 0), true, 3));
    handle->Update();
    EXPECT_EQ(Shown(window).At(3, 3), kRed);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6ViewportTest, ALostBufferIsRestoredWithItsWholeViewport) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 1)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    ASSERT_TRUE(ddraw::testing::LoseSurface(Buffer(viewport, 1)->GetSurface()));
    ASSERT_TRUE(ddraw::testing::LoseSurface(handle->GetPrimarySurface()));
    EXPECT_TRUE(Buffer(viewport, 1)->Restore());
    EXPECT_FALSE(handle->IsLost());
    EXPECT_TRUE(handle->IsAvailable());
    EXPECT_TRUE(Taken().empty());
}

struct OpeningCase {
    const char* name;
    ddraw::detail::Call call;
    Times times;
    Reports reports;
};

class OpeningFailureTest : public DirectX6ViewportTest, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(OpeningFailureTest, IsReportedAndLeavesNothingBehind) {
    Answer(GetParam().call, kFail, GetParam().times);
    Viewport viewport;
    EXPECT_FALSE(viewport.Open(WindowedDescription(2, 1)));
    const Reports reports = Taken();
    EXPECT_TRUE(ReportedInOrder(reports, GetParam().reports)) << ::testing::PrintToString(reports);
    EXPECT_TRUE(ReportedInOrder(reports, Reports{{0x0101000000000011}}));
    EXPECT_EQ(win32::testing::LiveWindowCount(), 1U);
    EXPECT_EQ(ddraw::testing::LiveSurfaces(), 0);
    EXPECT_EQ(ddraw::testing::LiveClippers(), 0);
    EXPECT_EQ(ddraw::testing::LiveDirectDrawObjects(), 1) << "only the engine's";
}

INSTANTIATE_TEST_SUITE_P(
    Calls, OpeningFailureTest,
    ::testing::Values(OpeningCase{"DirectDrawCreate",
                                  ddraw::detail::Call::DirectDrawCreate,
                                  Times::Once,
                                  {{0x0102010000010001, "0x80004005"}, {0x0102010000010007}}},
                      OpeningCase{"SetCooperativeLevel",
                                  ddraw::detail::Call::SetCooperativeLevel,
                                  Times::Once,
                                  {{0x0102010000010001, "0x80004005"}, {0x010201000001000A}}},
                      OpeningCase{"CreateSurfaceTwice",
                                  ddraw::detail::Call::CreateSurface,
                                  Times::Always,
                                  {{0x0102010000010001, "0x80004005"}, {0x0102010000010001, "0x80004005"}}},
                      OpeningCase{"GetSurfaceDesc",
                                  ddraw::detail::Call::GetSurfaceDesc,
                                  Times::Once,
                                  {{0x0102010000010001, "0x80004005"}}},
                      OpeningCase{"CreateClipper",
                                  ddraw::detail::Call::CreateClipper,
                                  Times::Once,
                                  {{0x0102010000010001, "0x80004005"}}},
                      OpeningCase{"SetHWnd",
                                  ddraw::detail::Call::SetHWnd,
                                  Times::Once,
                                  {{0x0102010000010001, "0x80004005"}}}),
    platform::testing::NameFromText<&OpeningCase::name>());

TEST_F(DirectX6ViewportTest, APrimaryRefusedOnceIsAskedForAgain) {
    Answer(ddraw::detail::Call::CreateSurface, kFail);
    Viewport viewport;
    EXPECT_TRUE(viewport.Open(WindowedDescription(2, 1)));
    EXPECT_EQ(Taken(), (Reports{{0x0102010000010001, "0x80004005"}}));
    EXPECT_TRUE(HandleOf(viewport)->IsAvailable());
}

TEST_F(DirectX6ViewportTest, AFailedReturnFromFullScreenIsReported) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(FullscreenDescription(2, 1, false)));
    Answer(ddraw::detail::Call::RestoreDisplayMode, kFail);
    EXPECT_FALSE(HandleOf(viewport)->OpenWindow(WindowedDescription(2, 1)));
    EXPECT_EQ(Taken(), (Reports{{0x0102010000010001, "0x80004005"}, {0x010201000001000C}}));
    EXPECT_TRUE(HandleOf(viewport)->OpenWindow(WindowedDescription(2, 1)));
    EXPECT_FALSE(m_engine->IsMainWindowInUse());
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6ViewportTest, FullScreenTakesTheMainWindowAndAWindowGivesItBack) {
    Log log;
    struct Mover : DirectXViewportEventHandler {
        explicit Mover(Log* log) : m_log(log) {}
        void OnMove(int, int) override { m_log->push_back("moved"); }
        Log* m_log;
    } mover(&log);
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 1)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    handle->AddEventHandler(&mover);
    EXPECT_EQ(mover.GetWindow(), handle->GetWindow());

    ASSERT_TRUE(handle->OpenWindow(FullscreenDescription(3, 1, true)));
    EXPECT_TRUE(handle->IsExclusive());
    EXPECT_TRUE(handle->HasChangedDisplayMode());
    EXPECT_TRUE(m_engine->IsMainWindowInUse());
    EXPECT_EQ(handle->GetWindow(), m_main.get());
    EXPECT_EQ(mover.GetWindow(), m_main.get()) << "the viewport's handlers follow it";
    EXPECT_EQ(win32::testing::LiveWindowCount(), 1U) << "its own window is gone";
    const win32::HWND main = m_main->GetWindowHandle();
    EXPECT_TRUE(win32::testing::GetWindowState(main).visible);
    EXPECT_NE(win32::GetWindowLongA(main, win32::GWL_EXSTYLE) & win32::WS_EX_TOPMOST, 0);
    const ddraw::DDSURFACEDESC2 mode = DisplayMode(m_engine->GetDirectDraw());
    EXPECT_EQ(mode.dwWidth, 640U);
    EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, 32U);

    Viewport second;
    EXPECT_FALSE(second.Open(FullscreenDescription(2, 1, false))) << "the main window is in use";
    Taken();

    ASSERT_TRUE(handle->OpenWindow(WindowedDescription(2, 1)));
    EXPECT_FALSE(handle->IsExclusive());
    EXPECT_FALSE(m_engine->IsMainWindowInUse());
    EXPECT_NE(handle->GetWindow(), m_main.get());
    EXPECT_EQ(mover.GetWindow(), handle->GetWindow());
    EXPECT_FALSE(win32::testing::GetWindowState(main).visible);
    EXPECT_EQ(DisplayMode(m_engine->GetDirectDraw()).dwWidth, 1920U);
    win32::SendMessageA(WindowOf(viewport), win32::WM_MOVE, 0, 0);
    EXPECT_EQ(log, (Log{"moved"}));
    ASSERT_TRUE(viewport.FillRect(Rect(0, 0, 640, 480), Rgb(0xFF, 0, 0), true, 3));
    handle->Update();
    EXPECT_EQ(Shown(WindowOf(viewport)).At(639, 479), kRed);
    EXPECT_TRUE(Taken().empty());
}

// A mode whose setting failed was never set: the same opening asks for it again rather than answering true
// in the old mode.
TEST_F(DirectX6ViewportTest, AFailedModeChangeIsTriedAgainByTheSameOpening) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 1)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    Answer(ddraw::detail::Call::SetDisplayMode, kFail, Times::Always);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(handle->OpenWindow(FullscreenDescription(2, 1, false))) << attempt;
        EXPECT_EQ(Taken(), (Reports{{0x0102010000010001, "0x80004005"}, {0x010201000001000B}})) << attempt;
    }
    EXPECT_EQ(DisplayMode(m_engine->GetDirectDraw()).dwWidth, 1920U);
    ddraw::testing::ClearAnswers();
    EXPECT_TRUE(handle->OpenWindow(FullscreenDescription(2, 1, false)));
    EXPECT_EQ(DisplayMode(m_engine->GetDirectDraw()).dwWidth, 640U);
    EXPECT_TRUE(Taken().empty());
}

// A device context kept on the drawing buffer: a blit onto it fails after its retries, once reported.
TEST_F(DirectX6ViewportTest, ABlitOntoABufferWhoseContextIsKeptFailsInsteadOfHanging) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 0)));
    Graphic square;
    Filled(square, 8, 8, Rgb(0xFF, 0, 0));
    const win32::HDC context = viewport.GetDC();
    ASSERT_NE(context, nullptr);
    EXPECT_FALSE(viewport.Blit(Point(4, 4), square, 3));
    EXPECT_FALSE(Buffer(viewport, 0)->Lock());
    EXPECT_EQ(Taken(), (Reports{{0x0102010000010001, "0x887601ae"}, {0x0102010000010001, "0x887601ae"}}));
    viewport.ReleaseDC(context);
    EXPECT_TRUE(viewport.Blit(Point(4, 4), square, 3));
    EXPECT_EQ(Shown(WindowOf(viewport)).At(11, 11), kRed);
    EXPECT_TRUE(Taken().empty());
}

// A buffer whose area reaches past its surface: software drawing covers only what the surface has.
TEST_F(DirectX6ViewportTest, SoftwareDrawingStaysWithinTheSurface) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 0)));
    DirectX6ViewportGraphicHandle* front = Buffer(viewport, 0);
    front->SetOrigin(Point(600, 440));
    EXPECT_EQ(front->GetClipRect(), Rect(0, 0, 40, 40));
    EXPECT_FALSE(front->SetClipRect(Rect(50, 50, 640, 480)));
    ASSERT_TRUE(front->SetClipRect(Rect(0, 0, 640, 480)));
    EXPECT_EQ(front->GetClipRect(), Rect(0, 0, 40, 40));
    ASSERT_TRUE(front->Lock());
    EXPECT_TRUE(front->FillRect(Rect(0, 0, 640, 480), Rgb(0, 0xFF, 0), true, 3));
    ASSERT_TRUE(front->Unlock());
    const Frame frame = Shown(WindowOf(viewport));
    EXPECT_EQ(frame.At(600, 440), kGreen);
    EXPECT_EQ(frame.At(639, 479), kGreen);
    EXPECT_EQ(frame.At(599, 479), 0U);
    EXPECT_EQ(frame.At(639, 439), 0U);
    EXPECT_TRUE(Taken().empty());
}

class TextTest : public DirectX6ViewportTest {
protected:
    void SetUp() override {
        DirectX6ViewportTest::SetUp();
        ASSERT_TRUE(win32::testing::AddFontFile(win32::testing::FixtureFontPath("VemoBlock.ttf")));
        m_font = win32::CreateFontA(-16, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Vemo Block");
        ASSERT_NE(m_font, nullptr);
        m_objects = win32::testing::LiveGdiObjects();
        ASSERT_TRUE(m_viewport.Open(WindowedDescription(2, 0)));
    }

    void TearDown() override {
        EXPECT_EQ(win32::testing::LiveGdiObjects(), m_objects) << "every region and context given back";
        win32::DeleteObject(m_font);
        win32::testing::RemoveAddedFontFiles();
        DirectX6ViewportTest::TearDown();
    }

    bool Draw(const Rect& rect, GraphicSystem::VerticalAlignment vertical,
              GraphicSystem::HorizontalAlignment horizontal, const char* text, bool transparent = false,
              bool screen = false) {
        return m_viewport.DrawText(rect, vertical, horizontal, text, 0,
                                   static_cast<std::uint32_t>(std::strlen(text)), m_font, Rgb(0xFF, 0, 0),
                                   Rgb(0xFF, 0xFF, 0xFF), transparent, screen);
    }

    win32::HFONT m_font = nullptr;
    std::size_t m_objects = 0;
    Viewport m_viewport;
};

// The fixture font's 'A' inks columns 0-6 of its advance of 8 and rows 2-11 of its cell of 16.
TEST_F(TextTest, TextIsPlacedInItsRectangleAsTheAlignmentsSay) {
    using V = GraphicSystem::VerticalAlignment;
    using H = GraphicSystem::HorizontalAlignment;
    Size measured;
    m_viewport.MeasureText(measured, Size(0, 0), "A", 0, 1, m_font);
    EXPECT_EQ(measured.width, 8);
    EXPECT_EQ(measured.height, 16);
    ASSERT_TRUE(Draw(Rect(100, 100, 300, 200), V::Bottom, H::Right, "A"));
    ASSERT_TRUE(Draw(Rect(0, 0, 200, 100), V::Center, H::Center, "A", false, true));
    ASSERT_TRUE(Draw(Rect(10, 300, 200, 400), V::Top, H::Left, "A", true));
    ASSERT_TRUE(m_viewport.DrawText(Rect(400, 10, 600, 100), "AA", 0, 2, m_font, Rgb(0xFF, 0, 0),
                                    Rgb(0xFF, 0xFF, 0xFF), false, false));
    const Frame frame = Shown(WindowOf(m_viewport));
    constexpr std::uint32_t kWhite = 0xFFFFFF;
    EXPECT_EQ(frame.At(292, 184), kWhite);
    EXPECT_EQ(frame.At(292, 186), kRed);
    EXPECT_EQ(frame.At(298, 195), kRed);
    EXPECT_EQ(frame.At(299, 186), kWhite);
    EXPECT_EQ(frame.At(291, 186), 0U);
    EXPECT_EQ(frame.At(96, 42), kWhite);
    EXPECT_EQ(frame.At(96, 44), kRed);
    EXPECT_EQ(frame.At(95, 44), 0U);
    EXPECT_EQ(frame.At(10, 302), kRed);
    EXPECT_EQ(frame.At(10, 300), 0U) << "a transparent background leaves what is there";
    EXPECT_EQ(frame.At(400, 10), kWhite);
    EXPECT_EQ(frame.At(408, 12), kRed);
    EXPECT_EQ(frame.At(416, 12), 0U);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(TextTest, TheDrawingBuffersClipRectangleCutsTheText) {
    ASSERT_TRUE(m_viewport.SetClipRect(Rect(0, 0, 295, 480)));
    ASSERT_TRUE(Draw(Rect(100, 100, 300, 200), GraphicSystem::VerticalAlignment::Bottom,
                     GraphicSystem::HorizontalAlignment::Right, "A"));
    const Frame frame = Shown(WindowOf(m_viewport));
    EXPECT_EQ(frame.At(294, 186), kRed);
    EXPECT_EQ(frame.At(296, 186), 0U);
    EXPECT_TRUE(Draw(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX),
                     GraphicSystem::VerticalAlignment::Center, GraphicSystem::HorizontalAlignment::Center,
                     "A"))
        << "a rectangle of the whole range is no overflow";
}

TEST_F(TextTest, TheSubstringIsCutToTheText) {
    using V = GraphicSystem::VerticalAlignment;
    using H = GraphicSystem::HorizontalAlignment;
    ASSERT_TRUE(m_viewport.DrawText(Rect(0, 0, 100, 50), V::Top, H::Left, "ABCDEV", 5, 6, m_font,
                                    Rgb(0xFF, 0, 0), Rgb(0xFF, 0xFF, 0xFF), false, false));
    ASSERT_TRUE(Draw(Rect(0, 100, 100, 150), V::Top, H::Left, "V"));
    const Frame frame = Shown(WindowOf(m_viewport));
    bool inked = false;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(frame.At(x, y), frame.At(x, 100 + y)) << x << "," << y;
            inked = inked || frame.At(x, y) == kRed;
        }
    }
    EXPECT_TRUE(inked);
    EXPECT_TRUE(m_viewport.DrawText(Rect(0, 200, 100, 250), V::Top, H::Left, "ABC", 7, 2, m_font,
                                    Rgb(0, 0, 0), Rgb(0xFF, 0xFF, 0xFF), false, false))
        << "nothing left to draw";
    EXPECT_EQ(Shown(WindowOf(m_viewport)).At(0, 200), 0U);
    EXPECT_TRUE(m_viewport.DrawText(Rect(0, 200, 100, 250), "ABC", 0, 0, m_font, Rgb(0, 0, 0),
                                    Rgb(0xFF, 0xFF, 0xFF), false, false));
    EXPECT_FALSE(m_viewport.DrawText(Rect(0, 200, 100, 250), V::Top, H::Left, "ABC", 0, 3, nullptr,
                                     Rgb(0, 0, 0), Rgb(0xFF, 0xFF, 0xFF), false, false));
    Size size;
    EXPECT_EQ(m_viewport.MeasureText(size, Size(100, 100), "AA", 1, 0xFFFFFFFF, m_font).width, 8);
    EXPECT_TRUE(Taken().empty());
}

class CrossFadeTest : public DirectX6ViewportTest {
protected:
    void SetUp() override {
        DirectX6ViewportTest::SetUp();
        ASSERT_TRUE(m_viewport.Open(WindowedDescription(2, 1)));
        Filled(m_first, 32, 16, Rgb(0x10, 0x20, 0x30));
        Filled(m_second, 32, 16, Rgb(0xF0, 0xE0, 0xD0));
        m_buffer = Buffer(m_viewport, 1);
    }

    bool Fade(float level, GraphicHandle* first, GraphicHandle* second) {
        return m_viewport.CrossFade(level, Rect(8, 8, 40, 24), first, Point(0, 0), second, Point(0, 0));
    }

    std::uint32_t Colour(std::int32_t x, std::int32_t y) {
        return m_buffer->GetPixel(Point(x, y)) & 0xFFFFFF;
    }

    Viewport m_viewport;
    Graphic m_first;
    Graphic m_second;
    DirectX6ViewportGraphicHandle* m_buffer = nullptr;
};

TEST_F(CrossFadeTest, TheEndsOfAFadeShowEachPictureExactly) {
    ASSERT_TRUE(Fade(1.0f, m_first.GetGraphicHandle(), m_second.GetGraphicHandle()));
    EXPECT_EQ(Colour(8, 8), 0xF0E0D0U);
    EXPECT_EQ(Colour(39, 23), 0xF0E0D0U);
    EXPECT_EQ(Colour(40, 24), 0U);
    ASSERT_TRUE(Fade(0.0f, m_first.GetGraphicHandle(), m_second.GetGraphicHandle()));
    EXPECT_EQ(Colour(8, 8), 0x102030U);
    ASSERT_TRUE(Fade(7.5f, m_first.GetGraphicHandle(), m_second.GetGraphicHandle()));
    EXPECT_EQ(Colour(20, 20), 0xF0E0D0U) << "the level is clamped to 1";
    ASSERT_TRUE(Fade(0.5f, m_first.GetGraphicHandle(), m_second.GetGraphicHandle()));
    EXPECT_NE(Colour(20, 20), 0xF0E0D0U);
    EXPECT_NE(Colour(20, 20), 0x102030U);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(CrossFadeTest, AFadeAnswersWhatItDrew) {
    // A source whose lock fails: its device context is out.
    auto* first = dynamic_cast<DirectX6GraphicHandle*>(m_first.GetGraphicHandle());
    win32::HDC context = nullptr;
    ASSERT_EQ(first->GetSurface()->GetDC(&context), ddraw::DD_OK);
    EXPECT_FALSE(Fade(0.5f, first, m_second.GetGraphicHandle()));
    EXPECT_EQ(Taken(), (Reports{{0x0102010000010001, "0x887601ae"}}));

    // Sources of another depth are copied instead: the nearer one, or the failure of its copy.
    Graphic deep;
    const PixelFormat format(StandardPixelFormat::Rgb565);
    ASSERT_TRUE(deep.Open(32, 16, &format, GraphicSystem::Memory::System, 1));
    ASSERT_TRUE(deep.FillRect(Rect(0, 0, 32, 16), Rgb(0, 0, 0xFF), true, 3));
    EXPECT_TRUE(Fade(0.25f, deep.GetGraphicHandle(), m_second.GetGraphicHandle()));
    EXPECT_GE(Colour(8, 8) & 0xFF, 0xF8U);
    EXPECT_EQ(Colour(8, 8) & 0xFFFF00, 0U);
    EXPECT_FALSE(Fade(0.75f, deep.GetGraphicHandle(), first));
    EXPECT_EQ(Taken(), (Reports{{0x0102010000010001, "0x887601ae"}}));
    ASSERT_EQ(first->GetSurface()->ReleaseDC(context), ddraw::DD_OK);

    // A destination whose drawing is suppressed answers true and stays as it was.
    ASSERT_TRUE(m_buffer->SetReadOnly(true));
    EXPECT_TRUE(Fade(1.0f, first, m_second.GetGraphicHandle()));
    ASSERT_TRUE(m_buffer->SetReadOnly(false));
    EXPECT_EQ(Colour(8, 8) & 0xFFFF00, 0U);

    Viewport single;
    ASSERT_TRUE(single.Open(WindowedDescription(2, 0)));
    EXPECT_FALSE(single.CrossFade(0.5f, Rect(0, 0, 4, 4), first, Point(), first, Point()));
    EXPECT_EQ(Taken(), (Reports{{0x010101000000006F, "1"}}));
}

TEST_F(DirectX6ViewportTest, TheForegroundColourSurvivesAChangeOfDepth) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(FullscreenDescription(2, 1, false, 5)));
    DirectX6ViewportGraphicHandle* buffer = Buffer(viewport, 1);
    ASSERT_EQ(buffer->GetPixelFormat().format, StandardPixelFormat::Rgb565);
    ASSERT_TRUE(buffer->SetForegroundColor(Rgb(0xFF, 0, 0)));
    ASSERT_TRUE(buffer->SetColorKey(Rgb(0, 0, 0xFF)));
    EXPECT_EQ(buffer->GetForegroundPixel(), 0xF800U);
    EXPECT_EQ(buffer->GetColorKeyPixel(), 0x001FU);
    ASSERT_TRUE(HandleOf(viewport)->OpenWindow(FullscreenDescription(2, 1, false, 7)));
    ASSERT_EQ(Buffer(viewport, 1), buffer);
    EXPECT_EQ(buffer->GetPixelFormat().format, StandardPixelFormat::Xrgb32);
    EXPECT_EQ(buffer->GetForegroundPixel(), 0xFF0000U);
    EXPECT_EQ(buffer->GetForegroundColor(), Rgb(0xFF, 0, 0));
    EXPECT_EQ(buffer->GetColorKeyPixel(), 0x0000FFU);
    EXPECT_EQ(buffer->GetColorKey(), Rgb(0, 0, 0xFF));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6ViewportTest, WindowMessagesBecomeViewportEvents) {
    Log log;
    auto owned = std::make_unique<RecordingViewport>(&log);
    RecordingViewport& viewport = *owned;
    ASSERT_TRUE(viewport.Open(WindowedDescription(1, 0)));
    DirectX6ViewportHandle* handle = HandleOf(viewport);
    const win32::HWND window = WindowOf(viewport);
    Pump();
    log.clear();
    win32::SendMessageA(window, win32::WM_ACTIVATE, win32::WA_ACTIVE, 0);
    win32::SendMessageA(window, win32::WM_ACTIVATE, win32::WA_INACTIVE, 0);
    viewport.m_allowClose = false;
    win32::SendMessageA(window, win32::WM_CLOSE, 0, 0);
    EXPECT_TRUE(win32::IsWindow(window)) << "a viewport kept the window open";
    win32::SendMessageA(window, win32::WM_MOVE, 0, win32::MAKELPARAM(70, 80));
    EXPECT_EQ(viewport.GetPosition(), Point(70, 80));
    EXPECT_EQ(Buffer(viewport, 0)->GetOrigin(), Point(0, 0));
    EXPECT_EQ(viewport.GetWindowState(), 2U);

    // An area to repaint that no viewport repaints is cleared on the front buffer.
    ASSERT_TRUE(viewport.FillRect(Rect(0, 0, 40, 40), Rgb(0xFF, 0, 0), true, 3));
    const win32::RECT dirty{0, 0, 10, 10};
    win32::InvalidateRect(window, &dirty, win32::FALSE);
    win32::UpdateWindow(window);
    EXPECT_EQ(Shown(window).At(5, 5), 0U);
    EXPECT_EQ(Shown(window).At(20, 20), kRed);
    viewport.m_handlePaint = true;
    win32::InvalidateRect(window, &dirty, win32::FALSE);
    win32::UpdateWindow(window);
    EXPECT_EQ(log, (Log{"OnActivate", "OnDeactivate", "OnClose", "OnPaint 0,0,10,10", "OnPaint 0,0,10,10"}));

    m_engine->SetRestorePending(false);
    win32::SendMessageA(window, win32::WM_SHOWWINDOW, win32::TRUE, 0);
    EXPECT_TRUE(m_engine->IsRestorePending());
    win32::SendMessageA(window, win32::WM_SIZE, win32::SIZE_MINIMIZED, 0);
    EXPECT_FALSE(m_engine->IsRestorePending());
    win32::SendMessageA(window, win32::WM_SIZE, win32::SIZE_MAXIMIZED, 0);
    EXPECT_TRUE(m_engine->IsRestorePending());
    win32::SendMessageA(window, win32::WM_SIZE, 3, 0);

    // The user closes the window: the viewport is told, and its DirectDraw objects go.
    log.clear();
    viewport.m_allowClose = true;
    win32::testing::HostCloses(window);
    Pump();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "OnClose");
    EXPECT_EQ(log.back(), "OnClosed");
    EXPECT_EQ(handle->GetPrimarySurface(), nullptr);
    EXPECT_EQ(handle->GetDirectDraw(), nullptr);
    EXPECT_EQ(viewport.GetWindowState(), 1U);
    EXPECT_FALSE(viewport.IsLost()) << "buffers without surfaces have nothing to lose";
    m_engine->SetRestorePending(true);
    m_system->Update();
    EXPECT_FALSE(m_engine->IsRestorePending());
    EXPECT_TRUE(Taken().empty()) << "nothing is left to restore, and nothing is reported";
    EXPECT_FALSE(viewport.WaitForVerticalBlank(true));
    EXPECT_FALSE(viewport.Restore());
    EXPECT_EQ(viewport.GetDC(), nullptr);
    EXPECT_EQ(Taken(), (Reports{{0x0102010000010009}, {0x0102010000010009}, {0x010101000000003A}}));
    owned.reset();
    EXPECT_TRUE(Taken().empty()) << "a viewport without its window closes quietly";
}

// The runtime lets go of a viewport whose window is gone: here it does so while it is told.
TEST_F(DirectX6ViewportTest, AViewportMayCloseItselfWhenItsWindowIsGone) {
    struct Closing : Viewport {
        void OnClosed() override { delete this; }
    };
    auto* viewport = new Closing;
    ASSERT_TRUE(viewport->Open(WindowedDescription(2, 1)));
    const win32::HWND window = WindowOf(*viewport);
    Pump();
    win32::testing::HostCloses(window);
    Pump();
    EXPECT_FALSE(win32::IsWindow(window));
    EXPECT_TRUE(m_engine->GetViewports().Empty());
    EXPECT_TRUE(m_engine->GetGraphics().Empty());
    EXPECT_EQ(ddraw::testing::LiveSurfaces(), 0);
    EXPECT_EQ(Taken(), Reports{});
}

TEST_F(DirectX6ViewportTest, AContextKeptAcrossALossIsStillGivenBack) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(WindowedDescription(2, 0)));
    const win32::HDC context = viewport.GetDC();
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(ddraw::testing::LoseSurface(HandleOf(viewport)->GetPrimarySurface()));
    EXPECT_EQ(viewport.GetDC(), nullptr);
    EXPECT_EQ(Taken(), (Reports{{0x010101000000003A}}));
    viewport.ReleaseDC(context);
    EXPECT_TRUE(Taken().empty());
    EXPECT_TRUE(viewport.Restore());
    EXPECT_TRUE(viewport.FillRect(Rect(0, 0, 4, 4), Rgb(0xFF, 0, 0), true, 3));
}

TEST_F(DirectX6ViewportTest, WhileQuickTimeIsInstalledEachViewportWindowHasAPort) {
    ASSERT_TRUE(QuickTimeEngineHook::Install(m_main->GetWindowHandle(), 0, 0, nullptr));
    m_application.TakeReports();
    const auto portsBefore = qt::testing::GetOpenObjects().windowPorts;
    {
        Viewport viewport;
        ASSERT_TRUE(viewport.Open(WindowedDescription(2, 1)));
        EXPECT_NE(qt::GetNativeWindowPort(WindowOf(viewport)), nullptr);
        EXPECT_EQ(qt::testing::GetOpenObjects().windowPorts, portsBefore + 1);
    }
    EXPECT_EQ(qt::testing::GetOpenObjects().windowPorts, portsBefore);

    qt::testing::FailCall("CreatePortAssociation", qt::paramErr);
    Viewport refused;
    EXPECT_FALSE(refused.Open(WindowedDescription(2, 1)));
    EXPECT_TRUE(ReportedInOrder(Taken(), Reports{{0x0105000000030007}}));
    EXPECT_EQ(win32::testing::LiveWindowCount(), 1U);
    qt::testing::ClearFailures();
    EXPECT_TRUE(QuickTimeEngineHook::Remove());
}

TEST_F(DirectX6ViewportTest, CopyingToTheFrontWaitsForTheVerticalBlank) {
    platform::testing::FakeClock clock(5);
    ViewportDescription waiting = WindowedDescription(2, 1);
    waiting.waitForVerticalBlank = true;
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(waiting));
    ASSERT_EQ(win32::timeGetTime(), 5U);
    HandleOf(viewport)->Update();
    EXPECT_EQ(win32::timeGetTime(), 17U) << "the first blank starts at 1000/60 ms, rounded up";
    EXPECT_TRUE(viewport.IsInVerticalBlank());
    HandleOf(viewport)->Update();
    EXPECT_EQ(win32::timeGetTime(), 17U) << "already in the blank";
    EXPECT_TRUE(Taken().empty());
}

} // namespace
