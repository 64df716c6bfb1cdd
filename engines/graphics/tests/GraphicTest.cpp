#include "engines/graphics/Graphic.h"

#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/GraphicEvent.h"
#include "engines/graphics/GraphicHandle.h"
#include "engines/graphics/testing/GraphicFamilyFixture.h"
#include "resources/error/ErrorCodes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

constexpr auto kSystem = GraphicSystem::Memory::System;

const PixelFormat& Xrgb() {
    static const PixelFormat format(StandardPixelFormat::Xrgb32);
    return format;
}

class GraphicTest : public GraphicFamilyFixture {
protected:
    // A 32-bit graphic of the memory engine.
    bool OpenPlain(Graphic& graphic, std::int32_t width = 8, std::int32_t height = 4) {
        return graphic.Open(width, height, &Xrgb(), kSystem, 1);
    }
};

// Each operation of a graphic without a handle, answering whether it gave its default.
struct ClosedCase {
    const char* name;
    std::function<bool(Graphic&, Graphic&)> givesDefault;
};

void PrintTo(const ClosedCase& row, std::ostream* out) {
    *out << row.name;
}

class ClosedGraphicTest : public GraphicTest, public testing::WithParamInterface<ClosedCase> {};

TEST_P(ClosedGraphicTest, ReportsTheMissingHandleOnceAndAnswersTheDefault) {
    Graphic graphic;
    Graphic source;
    EXPECT_FALSE(graphic.IsOpen());
    EXPECT_TRUE(GetParam().givesDefault(graphic, source));
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrNoHandle}));
}

const Rect kRect(0, 0, 2, 2);
const Point kPoint(1, 1);
const Color kColor(PixelValue(0x102030), 1);

INSTANTIATE_TEST_SUITE_P(
    Operations, ClosedGraphicTest,
    testing::Values(
        ClosedCase{"GetWidth", [](Graphic& g, Graphic&) { return g.GetWidth() == 0; }},
        ClosedCase{"GetHeight", [](Graphic& g, Graphic&) { return g.GetHeight() == 0; }},
        ClosedCase{"GetSize",
                   [](Graphic& g, Graphic&) {
                       const Size size = g.GetSize();
                       return size.width == 0 && size.height == 0;
                   }},
        ClosedCase{"GetDepth", [](Graphic& g, Graphic&) { return g.GetDepth() == 0; }},
        ClosedCase{"GetColorTagIsTheDefaultTag", [](Graphic& g, Graphic&) { return g.GetColorTag() == 1; }},
        ClosedCase{"GetPlacement", [](Graphic& g, Graphic&) { return g.GetPlacement() == 0; }},
        ClosedCase{"GetPitch", [](Graphic& g, Graphic&) { return g.GetPitch() == 0; }},
        ClosedCase{"GetPixels", [](Graphic& g, Graphic&) { return g.GetPixels() == nullptr; }},
        ClosedCase{"SetReadOnly", [](Graphic& g, Graphic&) { return !g.SetReadOnly(true); }},
        ClosedCase{"IsReadOnly", [](Graphic& g, Graphic&) { return !g.IsReadOnly(); }},
        ClosedCase{"GetLostFlag", [](Graphic& g, Graphic&) { return g.GetLostFlag() == 0; }},
        ClosedCase{"IsPalettized", [](Graphic& g, Graphic&) { return !g.IsPalettized(); }},
        ClosedCase{"GetPixelFormat",
                   [](Graphic& g, Graphic&) { return g.GetPixelFormat().format == StandardPixelFormat::None; }},
        ClosedCase{"SetClipRect", [](Graphic& g, Graphic&) { return !g.SetClipRect(kRect); }},
        ClosedCase{"GetClipRect", [](Graphic& g, Graphic&) { return g.GetClipRect() == Rect(); }},
        ClosedCase{"SetForegroundColor", [](Graphic& g, Graphic&) { return !g.SetForegroundColor(kColor); }},
        ClosedCase{"GetForegroundColor", [](Graphic& g, Graphic&) { return g.GetForegroundColor() == Color(); }},
        ClosedCase{"SetForegroundPixel", [](Graphic& g, Graphic&) { return !g.SetForegroundPixel(1); }},
        ClosedCase{"GetForegroundPixel", [](Graphic& g, Graphic&) { return g.GetForegroundPixel() == 0; }},
        ClosedCase{"SetFilled", [](Graphic& g, Graphic&) { return !g.SetFilled(true); }},
        ClosedCase{"IsFilled", [](Graphic& g, Graphic&) { return !g.IsFilled(); }},
        ClosedCase{"SetColorKeyEnabled", [](Graphic& g, Graphic&) { return !g.SetColorKeyEnabled(true); }},
        ClosedCase{"IsColorKeyEnabled", [](Graphic& g, Graphic&) { return !g.IsColorKeyEnabled(); }},
        ClosedCase{"SetColorKey", [](Graphic& g, Graphic&) { return !g.SetColorKey(kColor); }},
        ClosedCase{"GetColorKey", [](Graphic& g, Graphic&) { return g.GetColorKey() == Color(); }},
        ClosedCase{"SetColorKeyPixel", [](Graphic& g, Graphic&) { return !g.SetColorKeyPixel(1); }},
        ClosedCase{"GetColorKeyPixel", [](Graphic& g, Graphic&) { return g.GetColorKeyPixel() == 0; }},
        ClosedCase{"SetBlitMode", [](Graphic& g, Graphic&) { return !g.SetBlitMode(2); }},
        ClosedCase{"GetBlitMode", [](Graphic& g, Graphic&) { return g.GetBlitMode() == 0; }},
        ClosedCase{"SetDrawMode", [](Graphic& g, Graphic&) { return !g.SetDrawMode(2); }},
        ClosedCase{"GetDrawMode", [](Graphic& g, Graphic&) { return g.GetDrawMode() == 0; }},
        ClosedCase{"HasBlitter", [](Graphic& g, Graphic&) { return !g.HasBlitter(); }},
        ClosedCase{"HasAlphaBlitter", [](Graphic& g, Graphic&) { return !g.HasAlphaBlitter(); }},
        ClosedCase{"BlitScaled", [](Graphic& g, Graphic& s) { return !g.BlitScaled(kRect, s, kRect, 3); }},
        ClosedCase{"BlitScaledWhole", [](Graphic& g, Graphic& s) { return !g.BlitScaled(kRect, s, 3); }},
        ClosedCase{"Blit", [](Graphic& g, Graphic& s) { return !g.Blit(kPoint, s, kRect, 3); }},
        ClosedCase{"BlitWhole", [](Graphic& g, Graphic& s) { return !g.Blit(kPoint, s, 3); }},
        ClosedCase{"Clear", [](Graphic& g, Graphic&) { return !g.Clear(); }},
        ClosedCase{"DrawLinePixel", [](Graphic& g, Graphic&) { return !g.DrawLine(kPoint, Point(), 1u, 3); }},
        ClosedCase{"DrawLineColor", [](Graphic& g, Graphic&) { return !g.DrawLine(kPoint, Point(), kColor, 3); }},
        ClosedCase{"DrawLine", [](Graphic& g, Graphic&) { return !g.DrawLine(kPoint, Point()); }},
        ClosedCase{"DrawHorizontalLinePixel",
                   [](Graphic& g, Graphic&) { return !g.DrawHorizontalLine(0, 1, 0, 1u, 3); }},
        ClosedCase{"DrawHorizontalLineColor",
                   [](Graphic& g, Graphic&) { return !g.DrawHorizontalLine(0, 1, 0, kColor, 3); }},
        ClosedCase{"DrawHorizontalLine", [](Graphic& g, Graphic&) { return !g.DrawHorizontalLine(0, 1, 0); }},
        ClosedCase{"DrawVerticalLinePixel", [](Graphic& g, Graphic&) { return !g.DrawVerticalLine(0, 0, 1, 1u, 3); }},
        ClosedCase{"DrawVerticalLineColor",
                   [](Graphic& g, Graphic&) { return !g.DrawVerticalLine(0, 0, 1, kColor, 3); }},
        ClosedCase{"DrawVerticalLine", [](Graphic& g, Graphic&) { return !g.DrawVerticalLine(0, 0, 1); }},
        ClosedCase{"FillRectPixel", [](Graphic& g, Graphic&) { return !g.FillRect(kRect, 1u, true, 3); }},
        ClosedCase{"FillRectColor", [](Graphic& g, Graphic&) { return !g.FillRect(kRect, kColor, true, 3); }},
        ClosedCase{"FillRect", [](Graphic& g, Graphic&) { return !g.FillRect(kRect); }},
        ClosedCase{"DrawCirclePixel", [](Graphic& g, Graphic&) { return !g.DrawCircle(kPoint, 1, 1u, true, 3); }},
        ClosedCase{"DrawCircleColor", [](Graphic& g, Graphic&) { return !g.DrawCircle(kPoint, 1, kColor, true, 3); }},
        ClosedCase{"DrawCircle", [](Graphic& g, Graphic&) { return !g.DrawCircle(kPoint, 1); }},
        ClosedCase{"ReservedRectPixel", [](Graphic& g, Graphic&) { return !g.ReservedRect(kRect, 1u, true, 3); }},
        ClosedCase{"ReservedRectColor", [](Graphic& g, Graphic&) { return !g.ReservedRect(kRect, kColor, true, 3); }},
        ClosedCase{"ReservedRect", [](Graphic& g, Graphic&) { return !g.ReservedRect(kRect); }},
        ClosedCase{"ClipLine",
                   [](Graphic& g, Graphic&) {
                       Point from(-10, -10);
                       Point to(10, 10);
                       return !g.ClipLine(from, to, Rect(0, 0, 100, 100)) && from == Point(-10, -10);
                   }},
        ClosedCase{"ClipScaledToRect",
                   [](Graphic& g, Graphic&) {
                       Rect destination(0, 0, 10, 10);
                       Rect source(0, 0, 5, 5);
                       return !g.ClipScaledToRect(destination, source, Rect(0, 0, 4, 4));
                   }},
        ClosedCase{"ClipScaledToSize",
                   [](Graphic& g, Graphic&) {
                       Rect destination(0, 0, 10, 10);
                       Rect source(0, 0, 5, 5);
                       return !g.ClipScaledToSize(destination, source, Size(4, 4));
                   }},
        ClosedCase{"ClipToRect",
                   [](Graphic& g, Graphic&) {
                       Point destination;
                       Rect source(0, 0, 5, 5);
                       return !g.ClipToRect(destination, source, Rect(0, 0, 4, 4));
                   }},
        ClosedCase{"ClipToSize",
                   [](Graphic& g, Graphic&) {
                       Point destination;
                       Rect source(0, 0, 5, 5);
                       return !g.ClipToSize(destination, source, Size(4, 4));
                   }},
        ClosedCase{"ColorToPixel", [](Graphic& g, Graphic&) { return g.ColorToPixel(kColor) == 0; }},
        ClosedCase{"NearestColor", [](Graphic& g, Graphic&) { return g.NearestColor(kColor) == Color(); }},
        ClosedCase{"SetPaletteEntry", [](Graphic& g, Graphic&) { return !g.SetPaletteEntry(kColor, 0); }},
        ClosedCase{"GetPaletteEntry", [](Graphic& g, Graphic&) { return g.GetPaletteEntry(0) == Color(); }},
        ClosedCase{"SetPaletteEntryImpl", [](Graphic& g, Graphic&) { return !g.SetPaletteEntryImpl(1, 0); }},
        ClosedCase{"GetPaletteEntryImpl", [](Graphic& g, Graphic&) { return g.GetPaletteEntryImpl(0) == 0; }},
        ClosedCase{"SetPixelColor", [](Graphic& g, Graphic&) { return !g.SetPixel(kColor, kPoint); }},
        ClosedCase{"GetPixelColor", [](Graphic& g, Graphic&) { return g.GetPixelColor(kPoint) == Color(); }},
        ClosedCase{"SetPixel", [](Graphic& g, Graphic&) { return !g.SetPixel(1u, kPoint); }},
        ClosedCase{"GetPixel", [](Graphic& g, Graphic&) { return g.GetPixel(kPoint) == 0; }},
        ClosedCase{"PlotPixel", [](Graphic& g, Graphic&) { return !g.PlotPixel(1u, kPoint, 3); }},
        ClosedCase{"SetAlpha", [](Graphic& g, Graphic&) { return !g.SetAlpha(1, kPoint); }},
        ClosedCase{"GetAlpha", [](Graphic& g, Graphic&) { return g.GetAlpha(kPoint) == 0; }},
        ClosedCase{"SetAlphaGraphic", [](Graphic& g, Graphic& s) { return !g.SetAlphaGraphic(&s, 1); }},
        ClosedCase{"ClearAlphaGraphic", [](Graphic& g, Graphic& s) { return !g.ClearAlphaGraphic(&s); }},
        ClosedCase{"GetAlphaGraphic", [](Graphic& g, Graphic&) { return g.GetAlphaGraphic(nullptr) == nullptr; }},
        ClosedCase{"Lock", [](Graphic& g, Graphic&) { return !g.Lock(); }},
        ClosedCase{"Unlock", [](Graphic& g, Graphic&) { return !g.Unlock(); }},
        ClosedCase{"IsLocked", [](Graphic& g, Graphic&) { return !g.IsLocked(); }},
        ClosedCase{"IsLost", [](Graphic& g, Graphic&) { return !g.IsLost(); }},
        ClosedCase{"Restore", [](Graphic& g, Graphic&) { return !g.Restore(); }},
        ClosedCase{"OpenOnAClosedGraphic", [](Graphic& g, Graphic& s) { return !g.OpenOnGraphic(s); }},
        ClosedCase{"OpenLikeAClosedModel",
                   [](Graphic& g, Graphic& s) { return !g.Open(s, 4, 4, GraphicSystem::Memory::System); }},
        ClosedCase{"OpenOnNoViewport", [](Graphic& g, Graphic&) { return !g.OpenOnViewport(nullptr, 0, 0); }}),
    [](const testing::TestParamInfo<ClosedCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicTest, AnOpenGraphicRefusesASourceWithoutHandle) {
    Graphic graphic;
    Graphic closed;
    ASSERT_TRUE(OpenPlain(graphic));
    EXPECT_FALSE(graphic.Blit(Point(0, 0), closed, 3));
    EXPECT_FALSE(graphic.BlitScaled(Rect(0, 0, 4, 4), closed, Rect(0, 0, 2, 2), 3));
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrNoHandle, ResourceSystemErrNoHandle}));
}

struct CreateCase {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    std::int32_t pitch;
    std::uint32_t colorTag;
    GraphicSystem::Memory placement;
    ErrorCode refusal;
};

void PrintTo(const CreateCase& row, std::ostream* out) {
    *out << row.name;
}

class CreateCheckTest : public GraphicTest, public testing::WithParamInterface<CreateCase> {};

TEST_P(CreateCheckTest, ChecksItsValuesInOrderBeforeAskingTheSystem) {
    const CreateCase& row = GetParam();
    std::vector<std::uint32_t> memory(30 * 10);
    Graphic graphic;
    EXPECT_FALSE(graphic.Create(memory.data(), row.width, row.height, &Xrgb(), row.pitch, row.placement,
                                row.colorTag));
    EXPECT_FALSE(graphic.IsOpen());
    EXPECT_EQ(Taken(), (Reports{row.refusal}));
    EXPECT_TRUE(m_engine->m_requests.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, CreateCheckTest,
    testing::Values(
        CreateCase{"NoWidthComesFirst", 0, 0, 0, 0, GraphicSystem::Memory::Any, GraphicSystemErrNoWidth},
        CreateCase{"NoHeight", 30, 0, 0, 0, GraphicSystem::Memory::Any, GraphicSystemErrNoHeight},
        CreateCase{"NoColorTag", 30, 10, 0, 0, GraphicSystem::Memory::Any, GraphicSystemErrNoColorTag},
        CreateCase{"NoPlacement", 30, 10, 0, 1, GraphicSystem::Memory::Any, GraphicSystemErrNoPlacement},
        CreateCase{"PitchOf25Pixels", 30, 10, 100, 1, kSystem, GraphicSystemErrPitchTooShort},
        CreateCase{"BottomUpPitchOf25Pixels", 30, 10, -100, 1, kSystem, GraphicSystemErrPitchTooShort}),
    [](const testing::TestParamInfo<CreateCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicTest, CreateDrawsIntoTheCallersMemoryInEitherRowOrder) {
    std::vector<std::uint32_t> memory(30 * 10, 0);
    Graphic topDown;
    ASSERT_TRUE(topDown.Create(memory.data(), 30, 10, &Xrgb(), 120, kSystem, 1));
    const GraphicRequest& request = m_engine->m_requests.back();
    EXPECT_EQ(request.kind, GraphicSearchCriterion::kGraphic);
    EXPECT_EQ(request.width, 30);
    EXPECT_EQ(request.height, 10);
    EXPECT_EQ(request.colorTag, 1u);
    EXPECT_EQ(request.placement, kSystem);
    EXPECT_EQ(request.pixels, static_cast<void*>(memory.data()));
    EXPECT_EQ(request.pitch, 120);
    ASSERT_TRUE(request.pixelFormat.has_value());
    EXPECT_EQ(request.pixelFormat->format, StandardPixelFormat::Xrgb32);
    EXPECT_FALSE(request.wantedEngine.has_value());
    EXPECT_TRUE(topDown.SetPixel(0x123456u, Point(2, 1)));
    EXPECT_EQ(memory[1 * 30 + 2], 0x123456u);

    // A bottom-up picture passes the address of row 0, the last row of the memory, and a negative pitch of
    // 30 pixels.
    Graphic bottomUp;
    ASSERT_TRUE(
        bottomUp.Create(memory.data() + 9 * 30, 30, 10, &Xrgb(), -120, kSystem, 1, kMemoryGraphicEngineId));
    EXPECT_EQ(m_engine->m_requests.back().wantedEngine, kMemoryGraphicEngineId);
    EXPECT_TRUE(bottomUp.SetPixel(0xABCDEFu, Point(0, 1)));
    EXPECT_EQ(memory[8 * 30], 0xABCDEFu);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(GraphicTest, TheOpensGiveOnlyTheValuesThatAreNotZero) {
    Graphic byFormat;
    EXPECT_FALSE(byFormat.Open(8, 0, nullptr, GraphicSystem::Memory::Any, 0));
    GraphicRequest request = m_engine->m_requests.back();
    EXPECT_EQ(request.width, 8);
    EXPECT_FALSE(request.height || request.colorTag || request.placement || request.pixelFormat ||
                 request.depthCode || request.extraUsage || request.pixels || request.pitch);
    Taken();

    Graphic byDepth;
    ASSERT_TRUE(byDepth.Open(8, 4, 4, kSystem, ExtraChannel(), 0));
    request = m_engine->m_requests.back();
    EXPECT_EQ(request.depthCode, 4u);
    // The usage is given even when it is 0.
    EXPECT_EQ(request.extraUsage, 0u);
    EXPECT_EQ(request.placement, kSystem);
    EXPECT_FALSE(request.colorTag || request.pixelFormat);
    EXPECT_TRUE(byDepth.IsPalettized());
    EXPECT_EQ(byDepth.GetDepth(), 4u);

    Graphic alpha;
    ASSERT_TRUE(alpha.Open(8, 4, 7, GraphicSystem::Memory::Any, ExtraChannel(ExtraChannel::kUsageAlpha), 1));
    EXPECT_EQ(m_engine->m_requests.back().extraUsage, 1u);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(GraphicTest, AGraphicLikeAModelComesFromTheModelsEngineUnlessAnotherIsNamed) {
    auto* other = MemoryGraphicEngine::Make(kOtherMemoryGraphicEngineId, "Other Memory Engine");
    ASSERT_TRUE(m_system->AddEngine(other));
    Graphic model;
    ASSERT_TRUE(model.Open(12, 6, &Xrgb(), GraphicSystem::Memory::Hardware, 1, kOtherMemoryGraphicEngineId));

    Graphic like;
    ASSERT_TRUE(like.Open(model, 0, 3, GraphicSystem::Memory::Any));
    EXPECT_EQ(like.GetGraphicHandle()->GetEngine(), other);
    const GraphicRequest& request = other->m_requests.back();
    EXPECT_EQ(request.model, model.GetGraphicHandle());
    EXPECT_EQ(request.wantedEngine, kOtherMemoryGraphicEngineId);
    EXPECT_FALSE(request.width || request.placement);
    EXPECT_EQ(request.height, 3);
    EXPECT_EQ(like.GetWidth(), 12);
    EXPECT_EQ(like.GetPlacement(), 1u);

    Graphic named;
    ASSERT_TRUE(named.Open(model, 2, 2, kSystem, kMemoryGraphicEngineId));
    EXPECT_EQ(named.GetGraphicHandle()->GetEngine(), m_engine);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(GraphicTest, AnOpenGraphicKeepsItsHandleAndTheOpensNeedASystem) {
    Graphic graphic;
    ASSERT_TRUE(OpenPlain(graphic));
    GraphicHandle* handle = graphic.GetGraphicHandle();
    Graphic other;
    ASSERT_TRUE(OpenPlain(other));
    std::uint32_t pixel = 0;
    EXPECT_FALSE(graphic.Create(&pixel, 1, 1, &Xrgb(), 0, kSystem, 1));
    EXPECT_FALSE(graphic.Open(1, 1, &Xrgb(), kSystem, 1));
    EXPECT_FALSE(graphic.Open(1, 1, 7, kSystem, ExtraChannel(), 1));
    EXPECT_FALSE(graphic.OpenOnGraphic(other));
    EXPECT_EQ(graphic.GetGraphicHandle(), handle);
    EXPECT_EQ(Taken(), Reports(4, ResourceSystemErrAlreadyOpen));

    m_application.m_graphicSystem = nullptr;
    Graphic orphan;
    EXPECT_FALSE(OpenPlain(orphan));
    EXPECT_FALSE(orphan.OpenOnGraphic(other));
    m_application.m_graphicSystem = m_system;
    EXPECT_EQ(Taken(), Reports(2, ResourceSystemErrNoSystem));
}

TEST_F(GraphicTest, OpenOnGraphicSharesTheHandleAndReportsARefusedShare) {
    Graphic graphic;
    ASSERT_TRUE(OpenPlain(graphic));
    Graphic shared;
    ASSERT_TRUE(shared.OpenOnGraphic(graphic));
    EXPECT_EQ(shared.GetGraphicHandle(), graphic.GetGraphicHandle());
    EXPECT_TRUE(shared.SetPixel(0x445566u, Point(3, 2)));
    EXPECT_EQ(graphic.GetPixel(Point(3, 2)), 0x445566u);

    m_engine->m_failShareHandle = true;
    Graphic refused;
    EXPECT_FALSE(refused.OpenOnGraphic(graphic));
    EXPECT_FALSE(refused.IsOpen());
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrShareHandleFailed, "Memory Graphic Engine"},
                                {ResourceSystemErrEngineShareFailed, "Memory Graphic Engine"},
                                {ResourceSystemErrShareFailed, "Graphic System"},
                                ResourceSystemErrShareFailed}));
}

TEST_F(GraphicTest, OperationsReachTheHandle) {
    Graphic graphic;
    ASSERT_TRUE(OpenPlain(graphic, 10, 5));
    EXPECT_EQ(graphic.GetSize().width, 10);
    EXPECT_EQ(graphic.GetSize().height, 5);
    EXPECT_EQ(graphic.GetDepth(), 7u);
    EXPECT_EQ(graphic.GetColorTag(), 1u);
    EXPECT_EQ(graphic.GetPlacement(), 3u);
    EXPECT_TRUE(graphic.SetClipRect(Rect(-5, 1, 4, 50)));
    EXPECT_EQ(graphic.GetClipRect(), Rect(0, 1, 4, 5));
    EXPECT_TRUE(graphic.SetForegroundColor(Color(PixelValue(0x0000FF), 1)));
    EXPECT_EQ(graphic.GetForegroundPixel(), 0xFF0000u);
    EXPECT_TRUE(graphic.SetColorKeyEnabled(true));
    EXPECT_TRUE(graphic.IsColorKeyEnabled());
    EXPECT_TRUE(graphic.SetDrawMode(6));
    EXPECT_EQ(graphic.GetDrawMode(), 6u);
    EXPECT_TRUE(graphic.SetPixel(Color(PixelValue(0x00FF00), 1), Point(1, 1)));
    EXPECT_EQ(graphic.GetPixelColor(Point(1, 1)), Color(PixelValue(0x00FF00), 1));
    EXPECT_TRUE(graphic.SetReadOnly(true));
    EXPECT_TRUE(graphic.IsReadOnly());
    EXPECT_FALSE(graphic.SetPixel(1u, Point(1, 1)));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(GraphicTest, PitchAndPixelsAreThereOnlyWhileLocked) {
    Graphic graphic;
    ASSERT_TRUE(OpenPlain(graphic, 10, 5));
    EXPECT_EQ(graphic.GetPitch(), 0);
    EXPECT_EQ(graphic.GetPixels(), nullptr);
    EXPECT_EQ(Taken(), (Reports{GraphicSystemErrNoPixelMemory, GraphicSystemErrNoPixelMemory}));

    auto* handle = dynamic_cast<EngineGraphicHandle*>(graphic.GetGraphicHandle());
    ASSERT_TRUE(graphic.Lock());
    ASSERT_TRUE(graphic.Lock());
    EXPECT_TRUE(graphic.IsLocked());
    EXPECT_EQ(graphic.GetPitch(), 40);
    EXPECT_EQ(graphic.GetPixels(), handle->Row(0));
    EXPECT_TRUE(graphic.Unlock());
    EXPECT_TRUE(graphic.IsLocked());
    EXPECT_TRUE(graphic.Unlock());
    EXPECT_FALSE(graphic.IsLocked());

    handle->FailLocks(1);
    EXPECT_FALSE(graphic.Lock());
    handle->SetLost(1);
    EXPECT_EQ(graphic.GetLostFlag(), 1u);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(GraphicTest, TheClipOperationsCutLikeTheHandlesDrawing) {
    Graphic graphic;
    ASSERT_TRUE(OpenPlain(graphic));

    Point from(-10, -10);
    Point to(10, 10);
    EXPECT_TRUE(graphic.ClipLine(from, to, Rect(0, 0, 100, 100)));
    EXPECT_EQ(from, Point(0, 0));
    EXPECT_EQ(to, Point(10, 10));

    Point destination(-5, 0);
    Rect source(0, 0, 20, 10);
    EXPECT_TRUE(graphic.ClipToSize(destination, source, Size(20, 10)));
    EXPECT_TRUE(graphic.ClipToRect(destination, source, Rect(0, 0, 100, 100)));
    EXPECT_EQ(destination, Point(0, 0));
    EXPECT_EQ(source, Rect(5, 0, 20, 10));

    Rect scaledDestination(-50, 0, 150, 10);
    Rect scaledSource(0, 0, 100, 10);
    EXPECT_TRUE(graphic.ClipScaledToSize(scaledDestination, scaledSource, Size(100, 10)));
    EXPECT_TRUE(graphic.ClipScaledToRect(scaledDestination, scaledSource, Rect(0, 0, 640, 480)));
    EXPECT_EQ(scaledSource.left, 25);

    // Rectangles that are or become empty end the clipping without dividing by their extent.
    Rect emptySource(-5, 0, -5, 10);
    Rect into(0, 0, 20, 10);
    EXPECT_FALSE(graphic.ClipScaledToSize(into, emptySource, Size(100, 10)));
    Rect leftOfClip(-50, 0, -30, 10);
    Rect wider(-10, 0, 0, 10);
    EXPECT_FALSE(graphic.ClipScaledToRect(leftOfClip, wider, Rect(0, 0, 640, 480)));
    EXPECT_TRUE(Taken().empty());
}

// A graphic that writes each restored notification into a log and answers as told.
class RestoringGraphic : public Graphic {
public:
    RestoringGraphic(std::vector<std::string>* log, std::string name) : m_log(log), m_name(std::move(name)) {}

    void OnRestored(bool* handled) override {
        m_log->push_back(m_name + (*handled ? " after a redraw" : ""));
        if (m_redraws) {
            *handled = true;
        }
        if (m_closes != nullptr) {
            m_closes->reset();
        }
    }

    std::vector<std::string>* m_log;
    std::string m_name;
    bool m_redraws = false;
    std::unique_ptr<Graphic>* m_closes = nullptr;
};

TEST_F(GraphicTest, TheHandleTellsEveryAttachedGraphicInOrderOfAttachment) {
    std::vector<std::string> log;
    RestoringGraphic first(&log, "first");
    RestoringGraphic second(&log, "second");
    ASSERT_TRUE(OpenPlain(first));
    ASSERT_TRUE(second.OpenOnGraphic(first));
    GraphicHandle* handle = first.GetGraphicHandle();

    RestoredGraphicEvent untaken;
    handle->NotifyGraphics(untaken);
    EXPECT_FALSE(untaken.m_handled);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));

    log.clear();
    first.m_redraws = true;
    RestoredGraphicEvent taken;
    handle->NotifyGraphics(taken);
    EXPECT_TRUE(taken.m_handled);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second after a redraw"}));

    // A plain graphic ignores the notification, and an event of the base class reaches no notification.
    Graphic plain;
    ASSERT_TRUE(plain.OpenOnGraphic(first));
    log.clear();
    first.m_redraws = false;
    RestoredGraphicEvent ignored;
    handle->NotifyGraphics(ignored);
    EXPECT_FALSE(ignored.m_handled);
    GraphicEvent bare;
    handle->NotifyGraphics(bare);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(GraphicTest, AGraphicClosedByAnEarlierGraphicsHandlerIsNotTold) {
    std::vector<std::string> log;
    RestoringGraphic first(&log, "first");
    ASSERT_TRUE(OpenPlain(first));
    std::unique_ptr<Graphic> second = std::make_unique<RestoringGraphic>(&log, "second");
    ASSERT_TRUE(second->OpenOnGraphic(first));
    RestoringGraphic third(&log, "third");
    ASSERT_TRUE(third.OpenOnGraphic(first));
    first.m_closes = &second;

    RestoredGraphicEvent event;
    first.GetGraphicHandle()->NotifyGraphics(event);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "third"}));
    EXPECT_EQ(first.GetGraphicHandle()->GetGraphics().Size(), 2u);
    EXPECT_TRUE(Taken().empty());
}

} // namespace
