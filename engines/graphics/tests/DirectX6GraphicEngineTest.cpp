#include "engines/graphics/directx/DirectX6GraphicEngine.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/ViewportDisplayModes.h"
#include "engines/graphics/directx/DirectX6GraphicHandle.h"
#include "engines/graphics/directx/DirectXErrorCodes.h"
#include "engines/graphics/testing/DirectXTestSupport.h"
#include "engines/graphics/testing/MemoryGraphicHandle.h"
#include "platform/testing/CaseNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;
using ddraw::testing::Answer;
using ddraw::testing::Times;

constexpr win32::HRESULT kFail = static_cast<win32::HRESULT>(0x80004005);

struct SeenMode {
    std::int32_t width;
    std::int32_t height;
    StandardPixelFormat format;
    std::uint32_t refreshRate;
    bool operator==(const SeenMode&) const = default;
};

class CollectingModes : public ViewportDisplayModes {
public:
    explicit CollectingModes(std::size_t stopAfter = 1000) : m_stopAfter(stopAfter) {}
    bool OnMode(const Size& size, const PixelFormat& format, std::uint32_t refreshRate,
                std::uint32_t colorTag) override {
        EXPECT_EQ(colorTag, 1U);
        m_modes.push_back(SeenMode{size.width, size.height, format.format, refreshRate});
        return m_modes.size() < m_stopAfter;
    }
    std::vector<SeenMode> m_modes;

private:
    std::size_t m_stopAfter;
};

using DirectX6GraphicEngineTest = DirectX6Test;

TEST_F(DirectX6GraphicEngineTest, TheEngineIsNamedAndCachesTheClassicModesOfStandardFormats) {
    EXPECT_EQ(m_engine->GetName().CStr(), std::string("DirectX6 Graphic Engine"));
    EXPECT_EQ(m_engine->GetTypeId(), 0x01000002U);
    EXPECT_NE(m_engine->GetDirectDraw(), nullptr);
    CollectingModes modes;
    ASSERT_TRUE(m_engine->EnumerateDisplayModes(modes));
    std::vector<SeenMode> expected;
    for (const auto& [width, height] : {std::pair{640, 480}, {800, 600}, {1024, 768}}) {
        for (StandardPixelFormat format : {StandardPixelFormat::Indexed8, StandardPixelFormat::Rgb565,
                                           StandardPixelFormat::Rgb24, StandardPixelFormat::Xrgb32}) {
            expected.push_back(SeenMode{width, height, format, 0});
        }
    }
    EXPECT_EQ(modes.m_modes, expected);

    CollectingModes two(2);
    ASSERT_TRUE(m_engine->EnumerateDisplayModes(two));
    EXPECT_EQ(two.m_modes.size(), 2U) << "the walk stops when the visitor answers false";
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6GraphicEngineTest, ActivationHidesTheMainWindowAndDeactivationGivesItsStylesBack) {
    const win32::HWND main = m_main->GetWindowHandle();
    EXPECT_EQ(m_engine->GetMainWindow(), m_main.get());
    EXPECT_FALSE(win32::testing::GetWindowState(main).visible);
    const win32::LONG_PTR style = win32::GetWindowLongA(main, win32::GWL_STYLE);
    const win32::LONG_PTR exStyle = win32::GetWindowLongA(main, win32::GWL_EXSTYLE);
    win32::SetWindowLongA(main, win32::GWL_STYLE, win32::WS_POPUP);
    win32::SetWindowLongA(main, win32::GWL_EXSTYLE, win32::WS_EX_TOPMOST);
    ASSERT_TRUE(m_engine->Stop());
    EXPECT_EQ(win32::GetWindowLongA(main, win32::GWL_STYLE), style);
    EXPECT_EQ(win32::GetWindowLongA(main, win32::GWL_EXSTYLE), exStyle);
    EXPECT_EQ(m_engine->GetDirectDraw(), nullptr);
    EXPECT_EQ(m_engine->GetMainWindow(), nullptr);
    EXPECT_EQ(ddraw::testing::LiveDirectDrawObjects(), 0);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6GraphicEngineTest, WithoutAMainWindowTheEngineCannotStart) {
    ASSERT_TRUE(m_engine->Stop());
    m_main.reset();
    EXPECT_FALSE(m_engine->Start());
    EXPECT_EQ(m_engine->GetDirectDraw(), nullptr);
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrActivateFailed, "DirectX6 Graphic Engine"}}));
}

struct ActivationCase {
    const char* name;
    ddraw::detail::Call call;
    Reports reports;
};

class DirectX6ActivationTest : public DirectX6Test, public ::testing::WithParamInterface<ActivationCase> {};

TEST_P(DirectX6ActivationTest, AFailedCallIsReportedAndLeavesTheEngineInactive) {
    ASSERT_TRUE(m_engine->Stop());
    Answer(GetParam().call, kFail);
    EXPECT_FALSE(m_engine->Start());
    EXPECT_EQ(m_engine->GetDirectDraw(), nullptr);
    EXPECT_EQ(ddraw::testing::LiveDirectDrawObjects(), 0);
    Reports expected = GetParam().reports;
    expected.push_back({ResourceEngineErrActivateFailed, "DirectX6 Graphic Engine"});
    EXPECT_EQ(Taken(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, DirectX6ActivationTest,
    ::testing::Values(ActivationCase{"DirectDrawCreate",
                                     ddraw::detail::Call::DirectDrawCreate,
                                     {{0x0102010000010001, "0x80004005"}, {0x0102010000010007}}},
                      ActivationCase{
                          "QueryInterface",
                          ddraw::detail::Call::QueryInterface,
                          {{0x0102010000010001, "0x80004005"}, {0x0102010000010008, "IDirectDraw4"}}},
                      ActivationCase{"SetCooperativeLevel",
                                     ddraw::detail::Call::SetCooperativeLevel,
                                     {{0x0102010000010001, "0x80004005"}, {0x010201000001000A}}}),
    platform::testing::NameFromText<&ActivationCase::name>());

// A criterion and the values it points at, built by each case.
struct Request {
    GraphicSearchCriterion criterion{GraphicSearchCriterion::kGraphic};
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t depth = 0;
    std::uint32_t usage = 0;
    std::uint32_t colorTag = 1;
    GraphicSystem::Memory placement = GraphicSystem::Memory::System;
    PixelFormat format;
    void* pixels = nullptr;
    std::int32_t pitch = 0;
    std::uint32_t index = 0;
    std::uint32_t engineId = kDirectX6GraphicTypeId;

    // Over caller memory: 16 x 4 pixels of 32-bit x-R-G-B, tag 1, system memory.
    void OverMemory() {
        width = 16;
        height = 4;
        format = PixelFormat(StandardPixelFormat::Xrgb32);
        criterion.m_width = &width;
        criterion.m_height = &height;
        criterion.m_pixelFormat = &format;
        criterion.m_colorTag = &colorTag;
        criterion.m_placement = &placement;
        criterion.m_pixels = &pixels;
    }
};

struct RefusalCase {
    const char* name;
    std::function<void(Request&, GraphicHandle& foreignModel, ViewportHandle& foreignViewport)> build;
    ErrorCode code;
    const char* text;
};

class DirectX6RefusalTest : public DirectX6Test, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(DirectX6RefusalTest, TheEngineRefusesWithTheCriterionsError) {
    MemoryGraphicHandle foreignModel(8, 8, PixelFormat(StandardPixelFormat::Xrgb32), 2);
    ViewportHandle foreignViewport(nullptr);
    Request request;
    GetParam().build(request, foreignModel, foreignViewport);
    EXPECT_EQ(m_engine->CreateHandle(&request.criterion, nullptr), nullptr);
    Reports expected;
    if (GetParam().code != 0) {
        expected.push_back(GetParam().text != nullptr ? Reported(GetParam().code, GetParam().text)
                                                      : Reported(GetParam().code));
    }
    EXPECT_EQ(Taken(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Criteria, DirectX6RefusalTest,
    ::testing::Values(RefusalCase{"CallerMemoryWithoutWidth",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.OverMemory();
                                      r.width = 0;
                                  },
                                  0x0101010000000032, nullptr},
                      RefusalCase{"CallerMemoryWithoutHeight",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.OverMemory();
                                      r.criterion.m_height = nullptr;
                                  },
                                  0x0101010000000033, nullptr},
                      RefusalCase{"CallerMemoryOfCustomMasks",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.OverMemory();
                                      r.format.SetMasks(5, 0xF000, 0xF00, 0xF0, 0, ExtraChannel());
                                  },
                                  0x0101010000000037, nullptr},
                      RefusalCase{"CallerMemoryOfSixteenBitsByDepthCode",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.OverMemory();
                                      r.criterion.m_pixelFormat = nullptr;
                                      r.depth = 5;
                                      r.criterion.m_depthCode = &r.depth;
                                  },
                                  0x0101010000000034, nullptr},
                      RefusalCase{"CallerMemoryOfColourTagZero",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.OverMemory();
                                      r.colorTag = 0;
                                  },
                                  0x0101010000000035, nullptr},
                      RefusalCase{"CallerMemoryInVideoMemory",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.OverMemory();
                                      r.placement = GraphicSystem::Memory::Hardware;
                                  },
                                  0x0101010000000036, nullptr},
                      RefusalCase{"CallerMemoryPitchNotOfEights",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.OverMemory();
                                      r.pitch = 68;
                                      r.criterion.m_pitch = &r.pitch;
                                  },
                                  0x0101010000000038, nullptr},
                      RefusalCase{"CallerMemoryPitchShorterThanARow",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.OverMemory();
                                      r.pitch = -56;
                                      r.criterion.m_pitch = &r.pitch;
                                  },
                                  0x0101010000000038, nullptr},
                      RefusalCase{"ModelOfAnotherEngine",
                                  [](Request& r, GraphicHandle& model, ViewportHandle&) {
                                      r.criterion.m_model = &model;
                                  },
                                  0x0101010000000039, nullptr},
                      RefusalCase{"ModelOfColourTagTwo",
                                  [](Request& r, GraphicHandle& model, ViewportHandle&) {
                                      r.criterion.m_model = &model;
                                      r.criterion.SetWantedEngineId(&r.engineId);
                                  },
                                  0x0101010000000035, nullptr},
                      RefusalCase{"NewSurfaceOfUnknownExtraUsage",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.depth = 7;
                                      r.usage = 3;
                                      r.criterion.m_depthCode = &r.depth;
                                      r.criterion.m_extraUsage = &r.usage;
                                  },
                                  0x0101010000000039, nullptr},
                      RefusalCase{"NewSurfaceOfCustomMasks",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.format.SetMasks(7, 0xFF, 0xFF00, 0xFF0000, 0xFF000000,
                                                        ExtraChannel(2));
                                      r.criterion.m_pixelFormat = &r.format;
                                  },
                                  0x0101010000000037, nullptr},
                      RefusalCase{"NewSurfaceOfColourTagZero",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.colorTag = 0;
                                      r.criterion.m_colorTag = &r.colorTag;
                                  },
                                  0x0101010000000035, nullptr},
                      RefusalCase{"BufferOfAnotherViewport",
                                  [](Request& r, GraphicHandle&, ViewportHandle& viewport) {
                                      r.criterion.m_viewportHandle = &viewport;
                                  },
                                  0x010101000000006A, nullptr},
                      RefusalCase{"ViewportWithoutDescription",
                                  [](Request& r, GraphicHandle&, ViewportHandle&) {
                                      r.criterion.m_kind = GraphicSearchCriterion::kViewport;
                                  },
                                  0, nullptr}),
    platform::testing::NameFromText<&RefusalCase::name>());

TEST_F(DirectX6GraphicEngineTest, AnotherKindOfCriterionOrAnInactiveEngineIsRefused) {
    TestSearchCriterion other;
    EXPECT_EQ(m_engine->CreateHandle(&other, nullptr), nullptr);
    EXPECT_EQ(Taken(), (Reports{{0x0101010000000001}}));
    ASSERT_TRUE(m_engine->Stop());
    Request request;
    request.OverMemory();
    EXPECT_EQ(m_engine->CreateHandle(&request.criterion, nullptr), nullptr);
    EXPECT_EQ(Taken(), (Reports{{0x0102000000000008}}));
}

TEST_F(DirectX6GraphicEngineTest, CallerMemoryWithoutPitchTakesRowsOfWholeEightBytesWhichMatchingWants) {
    std::vector<std::uint8_t> memory(16 * 3, 0x5A);
    Request request;
    request.OverMemory();
    request.width = 10;
    request.height = 3;
    request.criterion.m_pixelFormat = nullptr;
    request.depth = 4;
    request.criterion.m_depthCode = &request.depth;
    request.pixels = memory.data();
    EXPECT_FALSE(m_engine->MatchSearchCriterion(&request.criterion)) << "10 bytes a row are no whole 8";
    auto* handle = dynamic_cast<DirectX6GraphicHandle*>(m_engine->CreateHandle(&request.criterion, nullptr));
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->GetLockedPitch(), 16);
    EXPECT_EQ(handle->GetLockedPixels(), memory.data());
    EXPECT_TRUE(handle->HasFixedMemory());
    EXPECT_FALSE(handle->IsLost());
    EXPECT_TRUE(handle->Restore()) << "memory of the caller's is never lost";
    EXPECT_EQ(memory[0], 0x5A) << "the caller's pixels are kept";
    request.width = 16;
    EXPECT_TRUE(m_engine->MatchSearchCriterion(&request.criterion));
    EXPECT_TRUE(m_engine->DestroyHandle(handle, nullptr));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6GraphicEngineTest, ABottomUpPitchIsTakenAndTheHandlesOwnMemoryStartsAtTheLastRow) {
    Request request;
    request.OverMemory();
    request.width = 16;
    request.height = 8;
    request.pitch = -64;
    request.criterion.m_pitch = &request.pitch;
    auto* handle = dynamic_cast<DirectX6GraphicHandle*>(m_engine->CreateHandle(&request.criterion, nullptr));
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(handle->OwnsMemory());
    EXPECT_EQ(handle->GetLockedPitch(), -64);
    // Every row lies in the block: a software fill of the whole surface (while locked) stays inside it.
    ASSERT_TRUE(handle->Lock());
    EXPECT_TRUE(handle->FillRect(Rect(0, 0, 16, 8), 0x00ABCDEF, true, 3));
    ASSERT_TRUE(handle->Unlock());
    EXPECT_EQ(handle->GetPixel(Point(0, 0)), 0x00ABCDEFU);
    EXPECT_EQ(handle->GetPixel(Point(15, 7)), 0x00ABCDEFU);
    EXPECT_TRUE(m_engine->DestroyHandle(handle, nullptr));
}

TEST_F(DirectX6GraphicEngineTest, AGraphicOverCallerMemoryShowsItsPixelsAndDrawsIntoThem) {
    std::vector<std::uint32_t> memory(8 * 4, 0x00102030);
    const PixelFormat format(StandardPixelFormat::Xrgb32);
    Graphic graphic;
    ASSERT_TRUE(graphic.Create(memory.data(), 8, 4, &format, 32, GraphicSystem::Memory::System, 1));
    EXPECT_EQ(memory[0], 0x00102030U) << "making the graphic does not clear the caller's memory";
    EXPECT_EQ(graphic.GetGraphicHandle()->GetPixel(Point(7, 3)), 0x00102030U);
    ASSERT_TRUE(graphic.FillRect(Rect(2, 1, 4, 2), Rgb(0xFF, 0, 0), true, 3));
    EXPECT_EQ(memory[1 * 8 + 2], 0x00FF0000U);
    EXPECT_EQ(memory[1 * 8 + 4], 0x00102030U);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6GraphicEngineTest, ASurfaceOfItsOwnIsClearedAndLiesWhereAsked) {
    Graphic graphic;
    ASSERT_TRUE(graphic.Open(20, 10, static_cast<DepthCode>(5), GraphicSystem::Memory::Accelerated,
                             ExtraChannel(), 1));
    GraphicHandle* handle = graphic.GetGraphicHandle();
    EXPECT_EQ(handle->GetPixelFormat().format, StandardPixelFormat::Rgb565);
    EXPECT_EQ(handle->GetPlacement(), 2U);
    EXPECT_EQ(handle->GetPixel(Point(19, 9)), 0U);
    EXPECT_EQ(handle->GetClipRect(), Rect(0, 0, 20, 10));
    EXPECT_TRUE(handle->HasBlitter());

    // Without a size or format the display's are taken.
    Graphic display;
    ASSERT_TRUE(display.Open(0, 0, nullptr, GraphicSystem::Memory::System, 1));
    EXPECT_EQ(display.GetWidth(), 1920);
    EXPECT_EQ(display.GetHeight(), 1080);
    EXPECT_EQ(display.GetGraphicHandle()->GetPixelFormat().format, StandardPixelFormat::Xrgb32);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6GraphicEngineTest, ASixteenBitSurfaceWithADepthChannelIsFormat19AndTakesLinesAndCopies) {
    Graphic target;
    Graphic source;
    ASSERT_TRUE(
        target.Open(16, 8, static_cast<DepthCode>(5), GraphicSystem::Memory::System, ExtraChannel(2), 1));
    ASSERT_TRUE(
        source.Open(16, 8, static_cast<DepthCode>(5), GraphicSystem::Memory::System, ExtraChannel(2), 1));
    EXPECT_EQ(target.GetGraphicHandle()->GetPixelFormat().format, StandardPixelFormat::Other);
    EXPECT_EQ(target.GetGraphicHandle()->GetPixelFormat().alphaMask, 0xF000U);
    GraphicHandle* drawn = source.GetGraphicHandle();
    ASSERT_TRUE(drawn->DrawLine(Point(0, 2), Point(15, 2), 0x0F0Fu, 3));
    ASSERT_TRUE(drawn->DrawLine(Point(3, 0), Point(3, 7), 0x00F0u, 3));
    ASSERT_TRUE(target.Blit(Point(0, 0), source, 3));
    GraphicHandle* copied = target.GetGraphicHandle();
    EXPECT_EQ(copied->GetPixel(Point(0, 2)), 0x0F0FU);
    EXPECT_EQ(copied->GetPixel(Point(15, 2)), 0x0F0FU);
    EXPECT_EQ(copied->GetPixel(Point(3, 7)), 0x00F0U);
    EXPECT_EQ(copied->GetPixel(Point(4, 4)), 0U);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6GraphicEngineTest, ABitCountNoSurfaceHasIsRefused) {
    DirectX6GraphicEngine::SurfaceRequest request;
    request.width = 4;
    request.height = 4;
    request.bitsPerPixel = 15;
    EXPECT_EQ(m_engine->CreateSurfaceHandle(request), nullptr);
    EXPECT_EQ(Taken(), (Reports{{0x0101010000000034}}));
}

TEST_F(DirectX6GraphicEngineTest, ASurfaceThatFailsToBeMadeIsReportedAndLeavesNothing) {
    Answer(ddraw::detail::Call::CreateSurface, static_cast<win32::HRESULT>(0x8876017C));
    Graphic graphic;
    EXPECT_FALSE(graphic.Open(4, 4, nullptr, GraphicSystem::Memory::System, 1));
    EXPECT_TRUE(ReportedInOrder(Taken(), Reports{{0x0102010000000001, "0x8876017c"}}));
    EXPECT_TRUE(m_engine->GetGraphics().Empty());

    // Over caller memory, a refused surface is made in memory of its own and then put on the caller's.
    std::vector<std::uint32_t> memory(4 * 4, 0x00445566);
    const PixelFormat format(StandardPixelFormat::Xrgb32);
    Answer(ddraw::detail::Call::CreateSurface, kFail);
    ASSERT_TRUE(graphic.Create(memory.data(), 4, 4, &format, 16, GraphicSystem::Memory::System, 1));
    ASSERT_TRUE(graphic.FillRect(Rect(0, 0, 1, 1), Rgb(0, 0, 0xFF), true, 3));
    EXPECT_EQ(memory[0], 0x000000FFU);
    EXPECT_EQ(memory[1], 0x00445566U);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6GraphicEngineTest, RestoreSurfacesGoesOnPastAFailureAndKeepsTheRestorePending) {
    Graphic first;
    Graphic second;
    ASSERT_TRUE(first.Open(8, 8, nullptr, GraphicSystem::Memory::System, 1));
    ASSERT_TRUE(second.Open(8, 8, nullptr, GraphicSystem::Memory::System, 1));
    auto* firstHandle = dynamic_cast<DirectX6GraphicHandle*>(first.GetGraphicHandle());
    auto* secondHandle = dynamic_cast<DirectX6GraphicHandle*>(second.GetGraphicHandle());
    ASSERT_TRUE(ddraw::testing::LoseSurface(firstHandle->GetSurface()));
    ASSERT_TRUE(ddraw::testing::LoseSurface(secondHandle->GetSurface()));
    Answer(ddraw::detail::Call::Restore, kFail);
    EXPECT_FALSE(m_engine->RestoreSurfaces());
    EXPECT_TRUE(m_engine->IsRestorePending());
    EXPECT_EQ(Taken(), (Reports{{0x0102010000010001, "0x80004005"}}));
    EXPECT_NE(firstHandle->IsLost(), secondHandle->IsLost()) << "the second was restored all the same";

    m_engine->Update();
    EXPECT_FALSE(m_engine->IsRestorePending());
    EXPECT_FALSE(firstHandle->IsLost());
    EXPECT_FALSE(secondHandle->IsLost());
    EXPECT_TRUE(Taken().empty());
}

} // namespace
