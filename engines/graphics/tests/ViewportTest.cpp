#include "engines/graphics/Viewport.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/ViewportDescription.h"
#include "engines/graphics/ViewportDisplayModes.h"
#include "engines/graphics/ViewportEvent.h"
#include "engines/graphics/ViewportHandle.h"
#include "engines/graphics/testing/GraphicFamilyFixture.h"
#include "resources/error/ErrorCodes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

using Log = std::vector<std::string>;

ViewportDescription Window(std::uint32_t backBuffers = 1, bool flip = true) {
    return ViewportDescription("Test", Point(10, 20), true, Size(64, 48), false, true, false, true, true, 7,
                               1, 2, backBuffers, flip, false);
}

bool IsEmptySize(const Size& size) {
    return size.width == 0 && size.height == 0;
}

TEST(ViewportHandleTest, ANewHandleDescribesAnUnopenedWindowAndDrawsNothing) {
    TestApplication application;
    ViewportHandle handle(nullptr);
    EXPECT_EQ(*handle.GetDescription(), ViewportDescription("", Point(0, 0), false, Size(0, 0), true, false,
                                                            true, true, true, 0, 1, 1, 0, false, true));
    EXPECT_EQ(handle.GetPixelFormat()->format, StandardPixelFormat::None);
    EXPECT_FALSE(handle.IsPalettized());
    EXPECT_FALSE(handle.IsAvailable());
    EXPECT_EQ(handle.GetWindowState(), 6u);
    EXPECT_FALSE(handle.OpenWindow(Window()));
    ViewportDisplayModes modes;
    EXPECT_FALSE(handle.EnumDisplayModes(modes, 0));
    EXPECT_FALSE(modes.OnMode(Size(640, 480), PixelFormat(StandardPixelFormat::Xrgb32), 60, 1));

    MemoryGraphicHandle source(8, 4, PixelFormat(StandardPixelFormat::Xrgb32));
    EXPECT_FALSE(handle.FlipToBuffer(1, false));
    EXPECT_FALSE(handle.Flip(&source));
    EXPECT_FALSE(handle.BlitScaled(Rect(0, 0, 4, 4), &source, 3));
    EXPECT_FALSE(handle.Blit(Point(0, 0), &source, 3));
    EXPECT_FALSE(handle.CopyBufferToFront(1, false));
    EXPECT_FALSE(handle.CopyToFront(&source));
    EXPECT_FALSE(handle.FillRect(Rect(0, 0, 4, 4), 1u, true, 3));
    EXPECT_FALSE(handle.FillRect(Rect(0, 0, 4, 4), Color(PixelValue(1), 1), true, 3));
    EXPECT_FALSE(handle.CrossFade(0.5f, Rect(0, 0, 4, 4), &source, Point(), &source, Point()));
    const String text("text");
    EXPECT_FALSE(handle.DrawText(Rect(0, 0, 40, 40), GraphicSystem::VerticalAlignment::Center,
                                 GraphicSystem::HorizontalAlignment::Center, text, 0, 4, nullptr, Color(),
                                 Color(), true, false));
    EXPECT_FALSE(handle.DrawText(Rect(0, 0, 40, 40), text, 0, 4, nullptr, Color(), Color(), true, false));
    Size measured(5, 5);
    EXPECT_TRUE(IsEmptySize(handle.MeasureText(measured, Size(100, 100), text, 0, 4, nullptr)));
    EXPECT_TRUE(IsEmptySize(measured));
    EXPECT_EQ(handle.GetDC(), nullptr);
    handle.ReleaseDC(nullptr);
    EXPECT_FALSE(handle.SetClipRect(Rect(0, 0, 4, 4)));
    EXPECT_EQ(*handle.GetClipRect(), Rect(0, 0, 0, 0));
    EXPECT_EQ(handle.GetClipRect(), handle.GetClipRect());
    EXPECT_EQ(handle.GetClipRect(), ViewportHandle::EmptyClipRect());
    EXPECT_FALSE(handle.IsInVerticalBlank());
    EXPECT_FALSE(handle.WaitForVerticalBlank(true));
    EXPECT_FALSE(handle.IsLost());
    EXPECT_FALSE(handle.Restore());
    EXPECT_EQ(handle.GetBufferHandle(0, false), nullptr);
    EXPECT_TRUE(application.TakeReports().empty());
}

TEST(ViewportHandleTest, FlippingIsRefusedWhileTheViewportCannotFlip) {
    ViewportHandle handle(nullptr);
    EXPECT_FALSE(handle.SetPresentMode(3));
    EXPECT_EQ(handle.GetPresentMode(), 1u);
    EXPECT_TRUE(handle.SetPresentMode(2));
    EXPECT_EQ(handle.GetPresentMode(), 2u);
    EXPECT_TRUE(handle.SetWaitForVerticalBlank(false));
    EXPECT_FALSE(handle.GetWaitForVerticalBlank());
}

class ViewportTest : public GraphicFamilyFixture {
protected:
    TestViewportHandle* Opened(Viewport& viewport, const ViewportDescription& description = Window()) {
        EXPECT_TRUE(viewport.Open(description));
        auto* handle = dynamic_cast<TestViewportHandle*>(viewport.GetViewportHandle());
        if (handle != nullptr) {
            handle->TakeLog();
        }
        return handle;
    }
};

TEST_F(ViewportTest, ThePeriodicUpdatePresentsTheFirstBackBufferAsThePresentModeSays) {
    Viewport viewport;
    TestViewportHandle* handle = Opened(viewport);
    ASSERT_NE(handle, nullptr);
    const struct {
        std::uint32_t mode;
        Log presented;
    } rows[] = {{1, {}}, {2, {"CopyBufferToFront 1"}}, {3, {"FlipToBuffer 1"}}, {7, {}}};
    for (const auto& row : rows) {
        ASSERT_TRUE(viewport.SetPresentMode(row.mode));
        m_system->Update();
        EXPECT_EQ(handle->TakeLog(), row.presented) << "mode " << row.mode;
    }
    EXPECT_TRUE(Taken().empty());
}

// Without a back buffer the present still asks for buffer 1: the engine's handle refuses and reports it
// every frame, which tells a title's author that the description is wrong.
TEST_F(ViewportTest, UpdatePresentsBufferOneWhateverTheBackBufferCount) {
    Viewport viewport;
    TestViewportHandle* handle = Opened(viewport, Window(0));
    ASSERT_NE(handle, nullptr);
    handle->TakeLog();
    ASSERT_TRUE(viewport.SetPresentMode(2));
    m_system->Update();
    EXPECT_EQ(handle->TakeLog(), std::vector<std::string>{"CopyBufferToFront 1"});
    ASSERT_TRUE(viewport.SetPresentMode(3));
    m_system->Update();
    EXPECT_EQ(handle->TakeLog(), std::vector<std::string>{"FlipToBuffer 1"});
}

TEST_F(ViewportTest, OperationsReachTheHandle) {
    Viewport viewport;
    TestViewportHandle* handle = Opened(viewport);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(viewport.GetTitle().Compare("Test"), 0);
    EXPECT_EQ(viewport.GetPosition(), Point(10, 20));
    EXPECT_EQ(viewport.GetWidth(), 64);
    EXPECT_EQ(viewport.GetHeight(), 48);
    EXPECT_TRUE(viewport.IsFullscreen());
    EXPECT_FALSE(viewport.IsBordered());
    EXPECT_TRUE(viewport.HasCaption());
    EXPECT_TRUE(viewport.HasSizingFrame());
    EXPECT_EQ(viewport.GetDepth(), 7u);
    EXPECT_EQ(viewport.GetColorTag(), 1u);
    EXPECT_EQ(viewport.GetPresentMode(), 2u);
    EXPECT_EQ(viewport.GetBackBufferCount(), 1u);
    EXPECT_TRUE(viewport.CanFlip());
    EXPECT_FALSE(viewport.GetWaitForVerticalBlank());
    EXPECT_EQ(viewport.GetDescription(), handle->GetDescription());
    EXPECT_EQ(viewport.GetPixelFormat()->format, StandardPixelFormat::Xrgb32);
    EXPECT_EQ(viewport.GetWindowState(), 6u);
    EXPECT_EQ(viewport.GetClipRect(), ViewportHandle::EmptyClipRect());

    // Graphics travel as their handles; the whole-source forms take the source's whole area.
    Graphic source;
    ASSERT_TRUE(source.Open(8, 4, nullptr, GraphicSystem::Memory::System, 1));
    const std::string id = std::to_string(source.GetGraphicHandle()->GetId());
    EXPECT_FALSE(viewport.BlitScaled(Rect(0, 0, 16, 8), source, 3));
    EXPECT_FALSE(viewport.Blit(Point(2, 3), source, 5));
    EXPECT_FALSE(viewport.Blit(Point(2, 3), source, Rect(1, 1, 2, 2), 3));
    EXPECT_EQ(handle->TakeLog(),
              (Log{"BlitScaled 0,0,16,8 <- #" + id + " 0,0,8,4 m3", "Blit 2,3 <- #" + id + " 0,0,8,4 m5",
                   "Blit 2,3 <- #" + id + " 1,1,2,2 m3"}));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ViewportTest, AGraphicWithoutHandleIsReportedLikeAMissingViewportHandle) {
    Viewport viewport;
    ASSERT_NE(Opened(viewport), nullptr);
    Graphic closed;
    EXPECT_FALSE(viewport.BlitScaled(Rect(0, 0, 4, 4), closed, Rect(0, 0, 2, 2), 3));
    EXPECT_FALSE(viewport.BlitScaled(Rect(0, 0, 4, 4), closed, 3));
    EXPECT_FALSE(viewport.Blit(Point(0, 0), closed, Rect(0, 0, 2, 2), 3));
    EXPECT_FALSE(viewport.Blit(Point(0, 0), closed, 3));
    EXPECT_FALSE(viewport.Flip(closed));
    EXPECT_FALSE(viewport.CopyToFront(closed));
    EXPECT_EQ(Taken(), Reports(6, ResourceSystemErrNoHandle));
}

// Each operation of a viewport without a handle, answering whether it gave its default.
struct ClosedCase {
    const char* name;
    std::function<bool(Viewport&, Graphic&)> givesDefault;
    bool reports = true;
};

void PrintTo(const ClosedCase& row, std::ostream* out) {
    *out << row.name;
}

class ClosedViewportTest : public ViewportTest, public testing::WithParamInterface<ClosedCase> {};

TEST_P(ClosedViewportTest, AnswersTheDefault) {
    Viewport viewport;
    Graphic graphic;
    ASSERT_TRUE(graphic.Open(4, 4, nullptr, GraphicSystem::Memory::System, 1));
    EXPECT_FALSE(viewport.IsOpen());
    EXPECT_TRUE(GetParam().givesDefault(viewport, graphic));
    EXPECT_EQ(Taken(), GetParam().reports ? Reports{ResourceSystemErrNoHandle} : Reports{});
}

const Rect kRect(0, 0, 2, 2);
const Color kColor(PixelValue(0x102030), 1);

INSTANTIATE_TEST_SUITE_P(
    Operations, ClosedViewportTest,
    testing::Values(
        ClosedCase{"GetTitle", [](Viewport& v, Graphic&) { return v.GetTitle().IsEmpty(); }},
        ClosedCase{"GetPosition", [](Viewport& v, Graphic&) { return v.GetPosition() == Point(0, 0); }},
        ClosedCase{"GetWidth", [](Viewport& v, Graphic&) { return v.GetWidth() == 0; }},
        ClosedCase{"GetHeight", [](Viewport& v, Graphic&) { return v.GetHeight() == 0; }},
        ClosedCase{"GetSize", [](Viewport& v, Graphic&) { return IsEmptySize(v.GetSize()); }},
        ClosedCase{"IsFullscreen", [](Viewport& v, Graphic&) { return !v.IsFullscreen(); }},
        ClosedCase{"IsBordered", [](Viewport& v, Graphic&) { return !v.IsBordered(); }},
        ClosedCase{"HasCaption", [](Viewport& v, Graphic&) { return !v.HasCaption(); }},
        ClosedCase{"HasSizingFrame", [](Viewport& v, Graphic&) { return !v.HasSizingFrame(); }},
        ClosedCase{"GetDepth", [](Viewport& v, Graphic&) { return v.GetDepth() == 0; }},
        ClosedCase{"GetColorTag", [](Viewport& v, Graphic&) { return v.GetColorTag() == 0; }},
        ClosedCase{"SetPresentMode", [](Viewport& v, Graphic&) { return !v.SetPresentMode(2); }},
        ClosedCase{"GetPresentModeIsManual", [](Viewport& v, Graphic&) { return v.GetPresentMode() == 1; }},
        ClosedCase{"GetBackBufferCount", [](Viewport& v, Graphic&) { return v.GetBackBufferCount() == 0; }},
        ClosedCase{"CanFlip", [](Viewport& v, Graphic&) { return !v.CanFlip(); }},
        ClosedCase{"SetWaitForVerticalBlank", [](Viewport& v, Graphic&) { return !v.SetWaitForVerticalBlank(true); }},
        ClosedCase{"GetWaitForVerticalBlank", [](Viewport& v, Graphic&) { return !v.GetWaitForVerticalBlank(); }},
        ClosedCase{"OpenWindow", [](Viewport& v, Graphic&) { return !v.OpenWindow(Window()); }},
        ClosedCase{"GetDescription", [](Viewport& v, Graphic&) { return v.GetDescription() == nullptr; }},
        ClosedCase{"EnumDisplayModes",
                   [](Viewport& v, Graphic&) {
                       ViewportDisplayModes modes;
                       return !v.EnumDisplayModes(modes, 0);
                   }},
        ClosedCase{"IsPalettized", [](Viewport& v, Graphic&) { return !v.IsPalettized(); }},
        ClosedCase{"GetPixelFormat", [](Viewport& v, Graphic&) { return v.GetPixelFormat() == nullptr; }},
        ClosedCase{"GetWindowStateIs6", [](Viewport& v, Graphic&) { return v.GetWindowState() == 6; }},
        ClosedCase{"FlipToBuffer", [](Viewport& v, Graphic&) { return !v.FlipToBuffer(1, false); }},
        ClosedCase{"Flip", [](Viewport& v, Graphic& g) { return !v.Flip(g); }},
        ClosedCase{"BlitScaled", [](Viewport& v, Graphic& g) { return !v.BlitScaled(kRect, g, kRect, 3); }},
        ClosedCase{"BlitScaledWhole", [](Viewport& v, Graphic& g) { return !v.BlitScaled(kRect, g, 3); }},
        ClosedCase{"Blit", [](Viewport& v, Graphic& g) { return !v.Blit(Point(), g, kRect, 3); }},
        ClosedCase{"BlitWhole", [](Viewport& v, Graphic& g) { return !v.Blit(Point(), g, 3); }},
        ClosedCase{"CopyBufferToFront", [](Viewport& v, Graphic&) { return !v.CopyBufferToFront(1, false); }},
        ClosedCase{"CopyToFront", [](Viewport& v, Graphic& g) { return !v.CopyToFront(g); }},
        ClosedCase{"FillRectPixel", [](Viewport& v, Graphic&) { return !v.FillRect(kRect, 1u, true, 3); }},
        ClosedCase{"FillRectColor", [](Viewport& v, Graphic&) { return !v.FillRect(kRect, kColor, true, 3); }},
        ClosedCase{"CrossFade",
                   [](Viewport& v, Graphic& g) {
                       return !v.CrossFade(0.5f, kRect, g.GetGraphicHandle(), Point(), g.GetGraphicHandle(),
                                           Point());
                   }},
        ClosedCase{"DrawTextAligned",
                   [](Viewport& v, Graphic&) {
                       return !v.DrawText(kRect, GraphicSystem::VerticalAlignment::Top,
                                          GraphicSystem::HorizontalAlignment::Left, String("a"), 0, 1, nullptr,
                                          kColor, kColor, true, false);
                   }},
        ClosedCase{"DrawText",
                   [](Viewport& v, Graphic&) {
                       return !v.DrawText(kRect, String("a"), 0, 1, nullptr, kColor, kColor, true, false);
                   }},
        ClosedCase{"MeasureText",
                   [](Viewport& v, Graphic&) {
                       Size size(3, 3);
                       return IsEmptySize(v.MeasureText(size, Size(10, 10), String("a"), 0, 1, nullptr)) &&
                              IsEmptySize(size);
                   }},
        ClosedCase{"GetDCWithoutReport", [](Viewport& v, Graphic&) { return v.GetDC() == nullptr; }, false},
        ClosedCase{"ReleaseDCWithoutReport",
                   [](Viewport& v, Graphic&) {
                       v.ReleaseDC(nullptr);
                       return true;
                   },
                   false},
        ClosedCase{"SetClipRect", [](Viewport& v, Graphic&) { return !v.SetClipRect(kRect); }},
        ClosedCase{"GetClipRectIsTheSharedEmptyRectangle",
                   [](Viewport& v, Graphic&) { return v.GetClipRect() == ViewportHandle::EmptyClipRect(); }},
        ClosedCase{"IsInVerticalBlank", [](Viewport& v, Graphic&) { return !v.IsInVerticalBlank(); }},
        ClosedCase{"WaitForVerticalBlank", [](Viewport& v, Graphic&) { return !v.WaitForVerticalBlank(true); }},
        ClosedCase{"IsLost", [](Viewport& v, Graphic&) { return !v.IsLost(); }},
        ClosedCase{"Restore", [](Viewport& v, Graphic&) { return !v.Restore(); }},
        ClosedCase{"OpenOnAClosedViewport",
                   [](Viewport& v, Graphic&) {
                       Viewport other;
                       return !v.OpenOnViewport(other);
                   }},
        ClosedCase{"AGraphicOnAClosedViewport", [](Viewport& v, Graphic&) {
                       Graphic graphic;
                       return !graphic.OpenOnViewport(&v, 0, 0);
                   }}),
    [](const testing::TestParamInfo<ClosedCase>& info) { return std::string(info.param.name); });

TEST_F(ViewportTest, OpenAsksForAViewportWithTheDescriptionAndTheNamedEngine) {
    Viewport viewport;
    const ViewportDescription description = Window();
    ASSERT_TRUE(viewport.Open(description));
    GraphicRequest request = m_engine->m_requests.front();
    EXPECT_EQ(request.kind, GraphicSearchCriterion::kViewport);
    EXPECT_EQ(request.description, description);
    EXPECT_FALSE(request.wantedEngine.has_value());

    Viewport named;
    ASSERT_TRUE(named.Open(description, kMemoryGraphicEngineId));
    m_engine->m_requests.clear();
    Viewport again;
    EXPECT_FALSE(named.Open(description));
    m_engine->m_failCreateHandle = true;
    EXPECT_FALSE(again.Open(description, kMemoryGraphicEngineId));
    EXPECT_EQ(m_engine->m_requests.back().wantedEngine, kMemoryGraphicEngineId);
    m_application.m_graphicSystem = nullptr;
    EXPECT_FALSE(again.Open(description));
    m_application.m_graphicSystem = m_system;

    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrAlreadyOpen,
                                {ResourceEngineErrCreateHandleFailed, "Memory Graphic Engine"},
                                {ResourceSystemErrEngineOpenFailed, "Memory Graphic Engine"},
                                {ResourceSystemErrOpenFailed, "Graphic System"},
                                {ResourceSystemErrOpenFailed, "Graphic System"},
                                ResourceSystemErrOpenFailed,
                                ResourceSystemErrNoSystem}));
}

TEST_F(ViewportTest, OpenOnViewportSharesAnOpenViewportsHandle) {
    Viewport first;
    ASSERT_NE(Opened(first), nullptr);
    Viewport second;
    ASSERT_TRUE(second.OpenOnViewport(first));
    EXPECT_EQ(second.GetViewportHandle(), first.GetViewportHandle());
    EXPECT_FALSE(second.OpenOnViewport(first));
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrAlreadyOpen}));

    Viewport third;
    m_application.m_graphicSystem = nullptr;
    EXPECT_FALSE(third.OpenOnViewport(first));
    m_application.m_graphicSystem = m_system;
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrNoSystem}));

    m_engine->m_failShareHandle = true;
    EXPECT_FALSE(third.OpenOnViewport(first));
    EXPECT_FALSE(third.IsOpen());
    EXPECT_EQ(Taken().back(), Reported(ResourceSystemErrShareFailed));
}

// A viewport that writes every notification into a shared log and answers as told.
class RecordingViewport : public Viewport {
public:
    RecordingViewport(Log* log, std::string name) : m_log(log), m_name(std::move(name)) {}

    void OnActivate() override { Note("OnActivate"); }
    void OnClose(bool* allowClose) override {
        Note(std::string("OnClose ") + (*allowClose ? "allowed" : "vetoed"));
        if (m_allowClose.has_value()) {
            *allowClose = *m_allowClose;
        }
        if (m_closes != nullptr) {
            m_closes->reset();
        }
    }
    void OnClosed() override { Note("OnClosed"); }
    void OnDeactivate() override { Note("OnDeactivate"); }
    void OnPaint(Rect* area, bool* handled) override {
        Note("OnPaint " + std::to_string(area->left) + "," + std::to_string(area->top) + "," +
             std::to_string(area->right) + "," + std::to_string(area->bottom));
        *handled = *handled || m_paints;
    }
    void OnRestored(bool succeeded) override {
        Note(std::string("OnRestored ") + (succeeded ? "ok" : "failed"));
    }
    void OnRestore() override { Note("OnRestore"); }
    void OnStyleChanged() override { Note("OnStyleChanged"); }

    std::optional<bool> m_allowClose;
    bool m_paints = false;
    std::unique_ptr<Viewport>* m_closes = nullptr;

private:
    void Note(const std::string& call) { m_log->push_back(m_name + " " + call); }

    Log* m_log;
    std::string m_name;
};

class ViewportEventTest : public ViewportTest {
protected:
    void SetUp() override {
        ViewportTest::SetUp();
        ASSERT_TRUE(m_first.Open(Window()));
        ASSERT_TRUE(m_second.OpenOnViewport(m_first));
        m_handle = m_first.GetViewportHandle();
    }

    void Dispatch(ViewportEvent& event) { m_handle->DispatchEvent(event); }

    Log m_log;
    RecordingViewport m_first{&m_log, "first"};
    RecordingViewport m_second{&m_log, "second"};
    ViewportHandle* m_handle = nullptr;
};

TEST_F(ViewportEventTest, EachEventReachesItsNotificationOnEveryViewportInOrderOfAttachment) {
    ActivateViewportEvent activate(true);
    ActivateViewportEvent deactivate(false);
    ClosedViewportEvent closed;
    RestoreViewportEvent before(true, false);
    RestoreViewportEvent after(false, true);
    RestoreViewportEvent failed(false, false);
    ViewportStyleChangedEvent style;
    ViewportEvent bare;
    for (ViewportEvent* event : std::vector<ViewportEvent*>{&activate, &deactivate, &closed, &before, &after,
                                                            &failed, &style, &bare}) {
        Dispatch(*event);
    }
    EXPECT_EQ(m_log,
              (Log{"first OnActivate", "second OnActivate", "first OnDeactivate", "second OnDeactivate",
                   "first OnClosed", "second OnClosed", "first OnRestore", "second OnRestore",
                   "first OnRestored ok", "second OnRestored ok", "first OnRestored failed",
                   "second OnRestored failed", "first OnStyleChanged", "second OnStyleChanged"}));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ViewportEventTest, AnyViewportCanVetoACloseAndTheLastToWriteDecides) {
    const struct {
        std::optional<bool> first;
        std::optional<bool> second;
        bool allowed;
    } rows[] = {{std::nullopt, std::nullopt, true},
                {false, std::nullopt, false},
                {std::nullopt, false, false},
                {false, true, true}};
    for (const auto& row : rows) {
        m_first.m_allowClose = row.first;
        m_second.m_allowClose = row.second;
        CloseViewportEvent event;
        Dispatch(event);
        EXPECT_EQ(event.m_allowClose, row.allowed);
    }
    EXPECT_EQ(m_log[2], "first OnClose allowed");
    EXPECT_EQ(m_log[3], "second OnClose vetoed");
}

TEST_F(ViewportEventTest, APaintCarriesItsAreaAndComesBackHandledWhenAViewportRepainted) {
    PaintViewportEvent untouched(Rect(1, 2, 30, 40));
    Dispatch(untouched);
    EXPECT_FALSE(untouched.m_handled);
    m_second.m_paints = true;
    PaintViewportEvent painted(Rect(0, 0, 5, 5));
    Dispatch(painted);
    EXPECT_TRUE(painted.m_handled);
    EXPECT_EQ(m_log, (Log{"first OnPaint 1,2,30,40", "second OnPaint 1,2,30,40", "first OnPaint 0,0,5,5",
                          "second OnPaint 0,0,5,5"}));
}

TEST_F(ViewportEventTest, AViewportClosedByAnEarlierViewportsNotificationIsNotTold) {
    auto third = std::make_unique<RecordingViewport>(&m_log, "third");
    ASSERT_TRUE(third->OpenOnViewport(m_first));
    std::unique_ptr<Viewport> doomed = std::move(third);
    m_second.m_closes = &doomed;
    CloseViewportEvent event;
    Dispatch(event);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(m_log, (Log{"first OnClose allowed", "second OnClose allowed"}));
    EXPECT_EQ(m_handle->GetViewports().Size(), 2u);
}

TEST(ViewportDispatchTest, AHandleWithoutViewportsDispatchesToNobody) {
    ViewportHandle handle(nullptr);
    CloseViewportEvent event;
    handle.DispatchEvent(event);
    EXPECT_TRUE(event.m_allowClose);
}

TEST_F(ViewportTest, ADescriptionComesFromAHandleOrAViewportOrItsDefaults) {
    Viewport closed;
    const ViewportDescription defaults(closed);
    EXPECT_EQ(defaults, ViewportDescription("", Point(0, 0), false, Size(0, 0), true, false, true, true,
                                            false, 0, 1, 1, 0, true, true));
    EXPECT_TRUE(Taken().empty());

    Viewport viewport;
    ASSERT_NE(Opened(viewport), nullptr);
    EXPECT_EQ(ViewportDescription(viewport), Window());
    EXPECT_EQ(ViewportDescription(*viewport.GetViewportHandle()), Window());
}

TEST(ViewportDescriptionTest, DescriptionsAreEqualOnlyWhenEveryFieldIs) {
    const ViewportDescription base = Window();
    EXPECT_EQ(ViewportDescription(base), base);
    const std::vector<std::function<void(ViewportDescription&)>> changes = {
        [](ViewportDescription& d) { d.title = "Tes"; },
        [](ViewportDescription& d) { d.title = "Test "; },
        [](ViewportDescription& d) { d.position.y = 21; },
        [](ViewportDescription& d) { d.positionIsClient = false; },
        [](ViewportDescription& d) { d.size.width = 65; },
        [](ViewportDescription& d) { d.sizeIsClient = true; },
        [](ViewportDescription& d) { d.fullscreen = false; },
        [](ViewportDescription& d) { d.bordered = true; },
        [](ViewportDescription& d) { d.caption = false; },
        [](ViewportDescription& d) { d.sizingFrame = false; },
        [](ViewportDescription& d) { d.depth = 5; },
        [](ViewportDescription& d) { d.colorTag = 0; },
        [](ViewportDescription& d) { d.presentMode = 3; },
        [](ViewportDescription& d) { d.backBufferCount = 2; },
        [](ViewportDescription& d) { d.flip = false; },
        [](ViewportDescription& d) { d.waitForVerticalBlank = true; },
    };
    for (std::size_t index = 0; index < changes.size(); ++index) {
        ViewportDescription changed = base;
        changes[index](changed);
        EXPECT_FALSE(changed == base) << "change " << index;
    }
}

} // namespace
