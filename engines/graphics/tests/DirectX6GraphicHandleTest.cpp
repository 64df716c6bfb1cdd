#include "engines/graphics/directx/DirectX6GraphicHandle.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/directx/DirectX6GraphicEngine.h"
#include "engines/graphics/testing/DirectXTestSupport.h"
#include "platform/testing/CaseNames.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

using namespace Vemo;
using namespace VemoTest;
using ddraw::testing::Answer;
using ddraw::testing::Times;

constexpr win32::HRESULT kFail = static_cast<win32::HRESULT>(0x80004005);

class DirectX6GraphicHandleTest : public DirectX6Test {
protected:
    DirectX6GraphicHandle* Open(Graphic& graphic, std::int32_t width, std::int32_t height,
                                StandardPixelFormat number) {
        const PixelFormat format(number);
        EXPECT_TRUE(graphic.Open(width, height, &format, GraphicSystem::Memory::System, 1));
        return dynamic_cast<DirectX6GraphicHandle*>(graphic.GetGraphicHandle());
    }

    static ddraw::DDSURFACEDESC2 Described(ddraw::IDirectDrawSurface4* surface) {
        ddraw::DDSURFACEDESC2 description{};
        description.dwSize = sizeof(description);
        EXPECT_EQ(surface->GetSurfaceDesc(&description), ddraw::DD_OK);
        return description;
    }

    static win32::HRESULT FillDirectly(ddraw::IDirectDrawSurface4* surface) {
        ddraw::DDBLTFX effects{};
        effects.dwSize = sizeof(effects);
        return surface->Blt(nullptr, nullptr, nullptr, ddraw::DDBLT_COLORFILL, &effects);
    }
};

TEST_F(DirectX6GraphicHandleTest, NestedLocksLockTheSurfaceOnceAndUnlockItOnce) {
    Graphic graphic;
    DirectX6GraphicHandle* handle = Open(graphic, 8, 4, StandardPixelFormat::Xrgb32);
    ASSERT_NE(handle, nullptr);
    ASSERT_TRUE(handle->Lock());
    ASSERT_TRUE(handle->Lock());
    EXPECT_EQ(handle->GetLockedPitch(), 32);
    EXPECT_NE(handle->GetLockedPixels(), nullptr);
    ASSERT_TRUE(handle->Unlock());
    EXPECT_TRUE(handle->IsLocked());
    EXPECT_EQ(FillDirectly(handle->GetSurface()), ddraw::DDERR_SURFACEBUSY)
        << "still locked after one Unlock";
    ASSERT_TRUE(handle->Unlock());
    EXPECT_FALSE(handle->IsLocked());
    EXPECT_EQ(FillDirectly(handle->GetSurface()), ddraw::DD_OK);
    EXPECT_EQ(handle->GetLockedPitch(), 0);
    EXPECT_EQ(handle->GetLockedPixels(), nullptr);
    EXPECT_FALSE(handle->Unlock()) << "an Unlock without a lock";
    EXPECT_EQ(Taken(), (Reports{{0x010101000000003D}, {0x010101000000003D}, {0x010101000000003D}}));
}

TEST_F(DirectX6GraphicHandleTest, OnlyTheThreadThatHoldsTheLockUnlocks) {
    Graphic graphic;
    DirectX6GraphicHandle* handle = Open(graphic, 8, 4, StandardPixelFormat::Xrgb32);
    ASSERT_TRUE(handle->Lock());
    bool unlocked = true;
    std::thread([&] { unlocked = handle->Unlock(); }).join();
    EXPECT_FALSE(unlocked);
    EXPECT_TRUE(handle->IsLocked());
    EXPECT_NE(handle->GetLockedPixels(), nullptr);
    EXPECT_TRUE(handle->Unlock());
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DirectX6GraphicHandleTest, AHandleWithoutASurfaceRefusesWithItsSide) {
    DirectX6GraphicHandle bare(m_engine);
    Graphic graphic;
    DirectX6GraphicHandle* handle = Open(graphic, 8, 4, StandardPixelFormat::Xrgb32);
    EXPECT_FALSE(bare.Lock());
    EXPECT_TRUE(bare.IsLost());
    EXPECT_FALSE(bare.Restore());
    EXPECT_FALSE(bare.IsAvailable());
    EXPECT_FALSE(bare.FillRectImpl(Rect(0, 0, 1, 1), 0, true, 3));
    EXPECT_EQ(
        Taken(),
        (Reports{{0x010101000000003A}, {0x010101000000003A}, {0x010101000000003A}, {0x010101000000003A}}));
    EXPECT_FALSE(bare.BlitRectImpl(Point(0, 0), handle, Rect(0, 0, 1, 1), 3));
    EXPECT_FALSE(handle->BlitRectImpl(Point(0, 0), &bare, Rect(0, 0, 1, 1), 3));
    EXPECT_EQ(Taken(), (Reports{{0x010101000000003A, "Destination"}, {0x010101000000003A, "Source"}}));
}

// With every DirectDraw blit failing, what still succeeds went the software way.
TEST_F(DirectX6GraphicHandleTest, TheBlitterIsUsedOnlyWhereItCanDoTheWork) {
    Graphic target;
    Graphic source;
    Graphic indexed;
    DirectX6GraphicHandle* handle = Open(target, 16, 8, StandardPixelFormat::Rgb565);
    Open(source, 16, 8, StandardPixelFormat::Rgb565);
    Open(indexed, 16, 8, StandardPixelFormat::Indexed8);
    Taken();
    Answer(ddraw::detail::Call::Blt, kFail, Times::Always);
    EXPECT_FALSE(target.Blit(Point(0, 0), source, 3)) << "a copy goes to the blitter";
    EXPECT_FALSE(target.Blit(Point(0, 0), source, 6)) << "so does SRCINVERT";
    EXPECT_FALSE(target.FillRect(Rect(0, 0, 4, 4), 0x1234u, true, 3));
    EXPECT_EQ(Taken(), (Reports{{0x0102010000010001, "0x80004005"},
                                {0x0102010000010001, "0x80004005"},
                                {0x0102010000010001, "0x80004005"}}));
    EXPECT_TRUE(target.Blit(Point(0, 0), source, 9)) << "mode 9 has no raster operation";
    EXPECT_TRUE(target.Blit(Point(0, 0), indexed, 3)) << "formats differ";
    EXPECT_TRUE(target.FillRect(Rect(0, 0, 4, 4), 0x1234u, false, 3)) << "an outline";
    ASSERT_TRUE(handle->Lock());
    EXPECT_TRUE(target.FillRect(Rect(0, 0, 4, 4), 0x1234u, true, 3)) << "the caller holds the lock";
    ASSERT_TRUE(handle->Unlock());
    EXPECT_TRUE(Taken().empty());
    ddraw::testing::ClearAnswers();

    EXPECT_FALSE(target.FillRect(Rect(20, 20, 30, 30), 0x1234u, true, 3)) << "wholly outside the clip";
    Answer(ddraw::detail::Call::Blt, ddraw::DDERR_NORASTEROPHW);
    EXPECT_TRUE(target.FillRect(Rect(0, 0, 4, 4), 0x00FFu, true, 6)) << "no hardware: the software does it";
    EXPECT_EQ(handle->GetPixel(Point(3, 3)), 0x12CBU);
    EXPECT_TRUE(Taken().empty());
}

struct ModeCase {
    std::uint32_t mode;
    StandardPixelFormat format;
    const char* name;
};

class RasterOperationTest : public DirectX6GraphicHandleTest, public ::testing::WithParamInterface<ModeCase> {
protected:
    static constexpr std::int32_t kWidth = 12;
    static constexpr std::int32_t kHeight = 6;

    static void Pattern(GraphicHandle& handle, std::uint32_t seed) {
        for (std::int32_t y = 0; y < kHeight; ++y) {
            for (std::int32_t x = 0; x < kWidth; ++x) {
                const std::uint32_t value = (static_cast<std::uint32_t>(x) * 2654435761u +
                                             static_cast<std::uint32_t>(y) * 40503u + seed) >>
                                            5;
                handle.SetPixel(value, Point(x, y));
            }
        }
    }

    static void ExpectSame(GraphicHandle& hardware, GraphicHandle& software) {
        for (std::int32_t y = 0; y < kHeight; ++y) {
            for (std::int32_t x = 0; x < kWidth; ++x) {
                ASSERT_EQ(hardware.GetPixel(Point(x, y)), software.GetPixel(Point(x, y)))
                    << "at " << x << "," << y;
            }
        }
    }
};

// Fills agree in every format. The software blits combine colours (through the palettes of indexed
// surfaces) and have raster operations for 16-bit surfaces alone, where the two paths must agree as well.
TEST_P(RasterOperationTest, DirectDrawAndTheSoftwarePathAgree) {
    const std::uint32_t mode = GetParam().mode;
    const bool blits = GetParam().format == StandardPixelFormat::Rgb565;
    Graphic hardware;
    Graphic software;
    Graphic source;
    DirectX6GraphicHandle* byBlitter = Open(hardware, kWidth, kHeight, GetParam().format);
    DirectX6GraphicHandle* bySoftware = Open(software, kWidth, kHeight, GetParam().format);
    DirectX6GraphicHandle* from = Open(source, kWidth, kHeight, GetParam().format);
    ASSERT_NE(byBlitter, nullptr);
    Pattern(*byBlitter, 17);
    Pattern(*bySoftware, 17);
    Pattern(*from, 91);
    // Any work the blitter passed on would fail: what is drawn below is the blitter's.
    Answer(ddraw::detail::Call::Lock, kFail, Times::Always);
    const Rect area(2, 1, 10, 5);
    const std::uint32_t pixel = 0xA5C3E1F7u;
    ASSERT_TRUE(byBlitter->FillRect(area, pixel, true, mode));
    if (blits) {
        ASSERT_TRUE(byBlitter->Blit(Point(3, 2), from, Rect(1, 0, 8, 4), mode));
    }
    ddraw::testing::ClearAnswers();
    ASSERT_TRUE(bySoftware->Lock());
    ASSERT_TRUE(bySoftware->FillRect(area, pixel, true, mode));
    if (blits) {
        ASSERT_TRUE(bySoftware->Blit(Point(3, 2), from, Rect(1, 0, 8, 4), mode));
    }
    ASSERT_TRUE(bySoftware->Unlock());
    ExpectSame(*byBlitter, *bySoftware);
    EXPECT_TRUE(Taken().empty());
}

std::vector<ModeCase> ModesWithARasterOperation() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> made;
        for (std::uint32_t mode : {0u, 1u, 2u, 3u, 6u, 7u, 8u, 10u, 12u, 13u, 15u}) {
            for (const char* format : {"8", "565", "24", "32"}) {
                made.push_back("mode" + std::to_string(mode) + "_" + format);
            }
        }
        return made;
    }();
    std::vector<ModeCase> cases;
    std::size_t name = 0;
    for (std::uint32_t mode : {0u, 1u, 2u, 3u, 6u, 7u, 8u, 10u, 12u, 13u, 15u}) {
        for (StandardPixelFormat format : {StandardPixelFormat::Indexed8, StandardPixelFormat::Rgb565,
                                           StandardPixelFormat::Rgb24, StandardPixelFormat::Xrgb32}) {
            cases.push_back(ModeCase{mode, format, names[name++].c_str()});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Modes, RasterOperationTest, ::testing::ValuesIn(ModesWithARasterOperation()),
                         platform::testing::NameFromText<&ModeCase::name>());

TEST_F(DirectX6GraphicHandleTest, TheColourKeyAndThePaletteStayWithTheHandle) {
    Graphic graphic;
    DirectX6GraphicHandle* handle = Open(graphic, 4, 4, StandardPixelFormat::Indexed8);
    ASSERT_TRUE(handle->SetColorKeyPixel(0x23));
    const ddraw::DDSURFACEDESC2 described = Described(handle->GetSurface());
    EXPECT_NE(described.dwFlags & ddraw::DDSD_CKSRCBLT, 0U);
    EXPECT_EQ(described.ddckCKSrcBlt.dwColorSpaceLowValue, 0x23U);
    Answer(ddraw::detail::Call::SetColorKey, kFail);
    EXPECT_FALSE(handle->SetColorKeyPixel(0x24));
    EXPECT_EQ(Taken(), (Reports{{0x0102010000010001, "0x80004005"}}));

    EXPECT_TRUE(handle->SetPaletteEntry(Rgb(1, 2, 3), 300)) << "the index's low 8 bits";
    EXPECT_EQ(handle->GetPaletteEntry(44), Rgb(1, 2, 3));
    EXPECT_EQ(handle->GetPaletteEntry(45), Rgb(0, 0, 0));
    Graphic direct;
    EXPECT_FALSE(Open(direct, 4, 4, StandardPixelFormat::Xrgb32)->SetPaletteEntry(Rgb(1, 2, 3), 0));
}

TEST_F(DirectX6GraphicHandleTest, AfterADisplayModeChangeASurfaceOfTheDisplaysFormatIsMadeAgain) {
    DirectX6GraphicEngine::SurfaceRequest request;
    request.width = 24;
    request.height = 12;
    request.placement = 3;
    DirectX6GraphicHandle* handle = m_engine->CreateSurfaceHandle(request);
    ASSERT_NE(handle, nullptr);
    ASSERT_TRUE(handle->FillRect(Rect(0, 0, 24, 12), 0x00112233u, true, 3));
    ASSERT_TRUE(handle->SetClipRect(Rect(2, 2, 10, 10)));

    // Another program takes the display in another mode.
    ddraw::IDirectDraw* directDraw = nullptr;
    ddraw::IDirectDraw4* other = nullptr;
    ASSERT_EQ(ddraw::DirectDrawCreate(nullptr, &directDraw, nullptr), ddraw::DD_OK);
    ASSERT_EQ(directDraw->QueryInterface(ddraw::IID_IDirectDraw4, reinterpret_cast<void**>(&other)),
              ddraw::DD_OK);
    directDraw->Release();
    ASSERT_EQ(other->SetCooperativeLevel(m_main->GetWindowHandle(),
                                         ddraw::DDSCL_EXCLUSIVE | ddraw::DDSCL_FULLSCREEN),
              ddraw::DD_OK);
    ASSERT_EQ(other->SetDisplayMode(640, 480, 16, 0, 0), ddraw::DD_OK);
    EXPECT_TRUE(handle->IsLost());
    EXPECT_EQ(handle->GetSurface()->Restore(), ddraw::DDERR_WRONGMODE);

    EXPECT_TRUE(handle->Restore());
    EXPECT_FALSE(handle->IsLost());
    const ddraw::DDSURFACEDESC2 described = Described(handle->GetSurface());
    EXPECT_EQ(described.dwWidth, 24U);
    EXPECT_EQ(described.dwHeight, 12U);
    EXPECT_NE(described.ddsCaps.dwCaps & ddraw::DDSCAPS_SYSTEMMEMORY, 0U);
    EXPECT_EQ(described.ddpfPixelFormat.dwRGBBitCount, 32U) << "made again in the format it had";
    EXPECT_EQ(handle->GetPlacement(), 3U);
    EXPECT_EQ(handle->GetPixel(Point(5, 5)), 0U) << "no graphic redrew it: cleared";
    EXPECT_EQ(handle->GetClipRect(), Rect(2, 2, 10, 10));
    other->Release();
    EXPECT_TRUE(m_engine->DestroyHandle(handle, nullptr));
    EXPECT_TRUE(Taken().empty());
}

} // namespace
