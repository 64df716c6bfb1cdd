#include "platform/tests/DirectDrawFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>

namespace ddraw::tests {
namespace {

using SurfaceTest = DirectDrawTest;

struct RefusedDescription {
    const char* name;
    DDSURFACEDESC2 desc;
    HRESULT expected;
};

DDSURFACEDESC2 WithoutFlags(DDSURFACEDESC2 desc, DWORD flags) {
    desc.dwFlags &= ~flags;
    return desc;
}

DDSURFACEDESC2 WithSize(DDSURFACEDESC2 desc, DWORD size) {
    desc.dwSize = size;
    return desc;
}

std::vector<RefusedDescription> RefusedDescriptions() {
    DDSURFACEDESC2 primaryWithWidth = PrimaryDescription();
    primaryWithWidth.dwFlags |= DDSD_WIDTH;
    primaryWithWidth.dwWidth = 10;
    DDSURFACEDESC2 flipWithoutComplex = PrimaryDescription(1);
    flipWithoutComplex.ddsCaps.dwCaps &= ~DDSCAPS_COMPLEX;
    DDPIXELFORMAT yuv = Rgb32();
    yuv.dwFlags = DDPF_YUV;
    return {
        {"NoWidth", WithoutFlags(OffScreen(8, 8, Rgb32()), DDSD_WIDTH), DDERR_INVALIDPARAMS},
        {"ZeroHeight", OffScreen(8, 0, Rgb32()), DDERR_INVALIDPARAMS},
        {"WrongSize", WithSize(OffScreen(8, 8, Rgb32()), 100), DDERR_INVALIDPARAMS},
        {"TextureCaps", OffScreen(8, 8, Rgb32(), 0x1000), DDERR_INVALIDCAPS},
        {"SystemAndVideoMemory", OffScreen(8, 8, Rgb32(), DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY),
         DDERR_INVALIDCAPS},
        {"LocalWithoutVideoMemory", OffScreen(8, 8, Rgb32(), DDSCAPS_LOCALVIDMEM), DDERR_INVALIDCAPS},
        {"OffScreenFlip", OffScreen(8, 8, Rgb32(), DDSCAPS_FLIP | DDSCAPS_COMPLEX), DDERR_INVALIDCAPS},
        {"Yuv", OffScreen(8, 8, yuv), DDERR_INVALIDPIXELFORMAT},
        {"FifteenBits", OffScreen(8, 8, RgbFormat(15, 0x7C00, 0x3E0, 0x1F)), DDERR_INVALIDPIXELFORMAT},
        {"OverlappingMasks", OffScreen(8, 8, RgbFormat(16, 0xFC00, 0x7E0, 0x1F)), DDERR_INVALIDPIXELFORMAT},
        {"MaskBeyondDepth", OffScreen(8, 8, RgbFormat(16, 0xF8000, 0x7E0, 0x1F)), DDERR_INVALIDPIXELFORMAT},
        {"IndexedWithMasks",
         OffScreen(8, 8,
                   [] {
                       DDPIXELFORMAT format = Indexed(8);
                       format.dwRBitMask = 0xE0;
                       return format;
                   }()),
         DDERR_INVALIDPIXELFORMAT},
        {"PrimaryWithWidth", primaryWithWidth, DDERR_INVALIDPARAMS},
        {"FlipWithoutCount", WithoutFlags(PrimaryDescription(1), DDSD_BACKBUFFERCOUNT), DDERR_INVALIDPARAMS},
        {"FlipWithoutComplex", flipWithoutComplex, DDERR_INVALIDCAPS},
        {"TooLarge", OffScreen(65536, 65536, Rgb32()), DDERR_OUTOFVIDEOMEMORY},
        {"TooLargeInSystemMemory", OffScreen(65536, 65536, Rgb32(), DDSCAPS_SYSTEMMEMORY), DDERR_OUTOFMEMORY},
    };
}

class RefusedDescriptionTest : public DirectDrawTest,
                               public ::testing::WithParamInterface<RefusedDescription> {};

TEST_P(RefusedDescriptionTest, CreateSurfaceRefusesWithItsResultAndNoSurface) {
    DDSURFACEDESC2 desc = GetParam().desc;
    // Whatever the pointer held before, a refusal leaves it null.
    IDirectDrawSurface4* surface = reinterpret_cast<IDirectDrawSurface4*>(&desc);
    EXPECT_EQ(directDraw->CreateSurface(&desc, &surface, nullptr), GetParam().expected);
    EXPECT_EQ(surface, nullptr);
    EXPECT_EQ(testing::LiveSurfaces(), 0);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, RefusedDescriptionTest, ::testing::ValuesIn(RefusedDescriptions()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SurfaceTest, NothingIsMadeBeforeACooperativeLevelOrWithAnOuterObject) {
    IDirectDraw4* fresh = MakeDirectDraw();
    ASSERT_NE(fresh, nullptr);
    DDSURFACEDESC2 desc = OffScreen(4, 4, Rgb32());
    IDirectDrawSurface4* surface = nullptr;
    EXPECT_EQ(fresh->CreateSurface(&desc, &surface, nullptr), DDERR_NOCOOPERATIVELEVELSET);
    EXPECT_EQ(directDraw->CreateSurface(&desc, &surface, reinterpret_cast<com::IUnknown*>(fresh)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(surface, nullptr);
    fresh->Release();
}

struct Placement {
    const char* name;
    DWORD asked;
    DWORD answered;
};

class PlacementTest : public DirectDrawTest, public ::testing::WithParamInterface<Placement> {};

TEST_P(PlacementTest, GetSurfaceDescAnswersThePlacementAsked) {
    IDirectDrawSurface4* surface = Make(OffScreen(4, 4, Rgb32(), GetParam().asked));
    ASSERT_NE(surface, nullptr);
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.ddsCaps.dwCaps, DDSCAPS_OFFSCREENPLAIN | GetParam().answered);
}

INSTANTIATE_TEST_SUITE_P(Caps, PlacementTest,
                         ::testing::Values(Placement{"None", 0, DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM},
                                           Placement{"System", DDSCAPS_SYSTEMMEMORY, DDSCAPS_SYSTEMMEMORY},
                                           Placement{"Video", DDSCAPS_VIDEOMEMORY,
                                                     DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM},
                                           Placement{"Local", DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM,
                                                     DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM},
                                           Placement{"NonLocal", DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM,
                                                     DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM},
                                           Placement{"SystemOwnDc", DDSCAPS_SYSTEMMEMORY | DDSCAPS_OWNDC,
                                                     DDSCAPS_SYSTEMMEMORY | DDSCAPS_OWNDC}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SurfaceTest, DescriptionGivesSizeFormatAndWordAlignedPitch) {
    IDirectDrawSurface4* surface = Make(10, 3, Indexed(8));
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 10U);
    EXPECT_EQ(desc.dwHeight, 3U);
    EXPECT_EQ(desc.lPitch, 12);
    EXPECT_EQ(desc.ddpfPixelFormat.dwFlags, DDPF_RGB | DDPF_PALETTEINDEXED8);
    EXPECT_EQ(desc.dwFlags & (DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT),
              DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT);

    // The size callers written for 32-bit pointers give names the same record.
    DDSURFACEDESC2 narrow = Description();
    narrow.dwSize = kSurfaceDescriptionSize32;
    ASSERT_EQ(surface->GetSurfaceDesc(&narrow), DD_OK);
    EXPECT_EQ(narrow.dwSize, kSurfaceDescriptionSize32);
    EXPECT_EQ(narrow.lPitch, 12);
}

TEST_F(SurfaceTest, WithoutAFormatASurfaceTakesTheDesktopsFormat) {
    ASSERT_TRUE(win32::testing::SetDesktopSize(1920, 1080, 16));
    DDSURFACEDESC2 desc = OffScreen(4, 4, Rgb32());
    desc.dwFlags &= ~DDSD_PIXELFORMAT;
    IDirectDrawSurface4* surface = Make(desc);
    DDSURFACEDESC2 described = Description();
    ASSERT_EQ(surface->GetSurfaceDesc(&described), DD_OK);
    EXPECT_EQ(described.ddpfPixelFormat.dwRGBBitCount, 16U);
    EXPECT_EQ(described.ddpfPixelFormat.dwRBitMask, 0xF800U);
    EXPECT_EQ(described.ddpfPixelFormat.dwGBitMask, 0x7E0U);
    EXPECT_EQ(described.ddpfPixelFormat.dwBBitMask, 0x1FU);
}

TEST_F(SurfaceTest, LockGivesTheRectanglesFirstPixelAndRefusesASecondLock) {
    IDirectDrawSurface4* surface = Make(8, 8, Rgb16());
    DDSURFACEDESC2 whole = Description();
    ASSERT_EQ(surface->Lock(nullptr, &whole, DDLOCK_WAIT | DDLOCK_NOSYSLOCK, nullptr), DD_OK);
    DDSURFACEDESC2 again = Description();
    EXPECT_EQ(surface->Lock(nullptr, &again, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);

    RECT part{2, 3, 6, 8};
    DDSURFACEDESC2 partDesc = Description();
    ASSERT_EQ(surface->Lock(&part, &partDesc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(static_cast<std::uint8_t*>(partDesc.lpSurface),
              static_cast<std::uint8_t*>(whole.lpSurface) + 3 * whole.lPitch + 2 * 2);
    surface->Unlock(nullptr);

    RECT outside{4, 4, 9, 8};
    EXPECT_EQ(surface->Lock(&outside, &partDesc, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(surface->Lock(nullptr, &partDesc, 0x2 /* DDLOCK_EVENT */, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceTest, WhileItsDcIsOutLockAndBltAnswerSurfaceBusy) {
    IDirectDrawSurface4* surface = Make(8, 8, Rgb32());
    IDirectDrawSurface4* other = Make(8, 8, Rgb32());
    HDC context = nullptr;
    ASSERT_EQ(surface->GetDC(&context), DD_OK);
    ASSERT_NE(context, nullptr);

    DDSURFACEDESC2 desc = Description();
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(Fill(surface, 1), DDERR_SURFACEBUSY);
    EXPECT_EQ(other->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->Blt(nullptr, other, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
    HDC second = nullptr;
    EXPECT_EQ(surface->GetDC(&second), DDERR_DCALREADYCREATED);
    HDC otherContext = nullptr;
    ASSERT_EQ(other->GetDC(&otherContext), DD_OK);
    EXPECT_EQ(surface->ReleaseDC(otherContext), DDERR_INVALIDPARAMS);
    ASSERT_EQ(other->ReleaseDC(otherContext), DD_OK);

    ASSERT_EQ(surface->ReleaseDC(context), DD_OK);
    EXPECT_EQ(surface->ReleaseDC(context), DDERR_NODC);
    EXPECT_EQ(Fill(surface, 7), DD_OK);
    EXPECT_EQ(ReadPixel(surface, 3, 3), 7U);
}

TEST_F(SurfaceTest, ADcIsRefusedWhileLockedAndALockedSurfaceIsBusyForBlits) {
    IDirectDrawSurface4* surface = Make(8, 8, Rgb32());
    IDirectDrawSurface4* other = Make(8, 8, Rgb32());
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    HDC context = nullptr;
    EXPECT_EQ(surface->GetDC(&context), DDERR_SURFACEBUSY);
    EXPECT_EQ(other->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
    surface->Unlock(nullptr);
}

TEST_F(SurfaceTest, ADcOfAnIndexedSurfaceIsRefusedWhenLost) {
    IDirectDrawSurface4* surface = Make(8, 8, Indexed(8));
    ASSERT_TRUE(testing::LoseSurface(surface));
    HDC context = nullptr;
    EXPECT_EQ(surface->GetDC(&context), DDERR_SURFACELOST);
    EXPECT_EQ(context, nullptr);
}

TEST_F(SurfaceTest, CallerMemoryIsWrittenThroughLockAndIsNeverLost) {
    // Rows stored bottom-up: the surface pointer is the top row, at the end of the block.
    std::vector<std::uint32_t> memory(4 * 3, 0);
    DDSURFACEDESC2 desc = OffScreen(4, 3, Rgb32(), DDSCAPS_SYSTEMMEMORY | DDSCAPS_OWNDC);
    desc.dwFlags |= DDSD_LPSURFACE | DDSD_PITCH;
    desc.lPitch = -16;
    desc.lpSurface = memory.data() + 8;
    IDirectDrawSurface4* surface = Make(desc);
    ASSERT_NE(surface, nullptr);
    WritePixel(surface, 1, 0, 0x123456);
    WritePixel(surface, 2, 2, 0xABCDEF);
    EXPECT_EQ(memory[8 + 1], 0x123456U);
    EXPECT_EQ(memory[2], 0xABCDEFU);

    EXPECT_FALSE(testing::LoseSurface(surface));
    EXPECT_EQ(surface->IsLost(), DD_OK);
    EXPECT_EQ(surface->Restore(), DD_OK);
}

TEST_F(SurfaceTest, CallerMemoryNeedsAPitchThatHoldsARowAndNoVideoMemory) {
    std::vector<std::uint8_t> memory(64);
    DDSURFACEDESC2 desc = OffScreen(10, 2, Indexed(8), DDSCAPS_SYSTEMMEMORY);
    desc.dwFlags |= DDSD_LPSURFACE | DDSD_PITCH;
    desc.lpSurface = memory.data();
    desc.lPitch = 8;
    IDirectDrawSurface4* surface = nullptr;
    EXPECT_EQ(directDraw->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS);
    desc.lPitch = 16;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    EXPECT_EQ(directDraw->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDCAPS);
    EXPECT_EQ(surface, nullptr);
}

TEST_F(SurfaceTest, SetSurfaceDescMovesASystemMemorySurfaceOntoCallerMemory) {
    IDirectDrawSurface4* surface = Make(OffScreen(4, 4, Rgb32(), DDSCAPS_SYSTEMMEMORY));
    std::vector<std::uint16_t> memory(8 * 2, 0);
    DDSURFACEDESC2 desc = Description();
    desc.dwFlags = DDSD_LPSURFACE | DDSD_PITCH | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = 8;
    desc.dwHeight = 2;
    desc.lPitch = 16;
    desc.ddpfPixelFormat = Rgb16();
    desc.lpSurface = memory.data();
    ASSERT_EQ(surface->SetSurfaceDesc(&desc, 0), DD_OK);
    WritePixel(surface, 7, 1, 0xF800);
    EXPECT_EQ(memory[15], 0xF800);
    DDSURFACEDESC2 described = Description();
    ASSERT_EQ(surface->GetSurfaceDesc(&described), DD_OK);
    EXPECT_EQ(described.dwWidth, 8U);
    EXPECT_EQ(described.ddpfPixelFormat.dwRGBBitCount, 16U);
    EXPECT_EQ(described.lpSurface, memory.data());
    EXPECT_FALSE(testing::LoseSurface(surface));

    IDirectDrawSurface4* video = Make(OffScreen(4, 4, Rgb32()));
    EXPECT_EQ(video->SetSurfaceDesc(&desc, 0), DDERR_INVALIDCAPS);
    desc.dwFlags &= ~DDSD_LPSURFACE;
    EXPECT_EQ(surface->SetSurfaceDesc(&desc, 0), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceTest, TheSourceColourKeyIsKeptAndDescribed) {
    IDirectDrawSurface4* surface = Make(4, 4, Rgb32());
    DDCOLORKEY key{0x00FF00FF, 0};
    ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_NE(desc.dwFlags & DDSD_CKSRCBLT, 0U);
    EXPECT_EQ(desc.ddckCKSrcBlt.dwColorSpaceLowValue, 0x00FF00FFU);
    EXPECT_EQ(desc.ddckCKSrcBlt.dwColorSpaceHighValue, 0x00FF00FFU);
    ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, nullptr), DD_OK);
    ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwFlags & DDSD_CKSRCBLT, 0U);
    EXPECT_EQ(surface->SetColorKey(0x2 /* DDCKEY_DESTBLT */ | DDCKEY_SRCBLT, &key), DDERR_UNSUPPORTED);
}

TEST_F(SurfaceTest, AnAnswerSetForACallIsGivenOnceOrUntilCleared) {
    IDirectDrawSurface4* surface = Make(4, 4, Rgb32());
    DDSURFACEDESC2 desc = Description();
    testing::Answer(testing::Call::Lock, DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    surface->Unlock(nullptr);

    testing::Answer(testing::Call::Restore, DDERR_WRONGMODE, testing::Times::Always);
    EXPECT_EQ(surface->Restore(), DDERR_WRONGMODE);
    EXPECT_EQ(surface->Restore(), DDERR_WRONGMODE);
    testing::ClearAnswers();
    EXPECT_EQ(surface->Restore(), DD_OK);

    testing::Answer(testing::Call::DirectDrawCreate, DDERR_NODIRECTDRAWHW);
    IDirectDraw* created = reinterpret_cast<IDirectDraw*>(surface);
    EXPECT_EQ(DirectDrawCreate(nullptr, &created, nullptr), DDERR_NODIRECTDRAWHW);
    EXPECT_EQ(created, nullptr);
    testing::Answer(testing::Call::QueryInterface, win32::E_NOINTERFACE);
    void* alias = nullptr;
    EXPECT_EQ(surface->QueryInterface(IID_IDirectDrawSurface, &alias), win32::E_NOINTERFACE);
    EXPECT_EQ(alias, nullptr);
}

TEST_F(SurfaceTest, TheFirstSurfaceInterfaceIsTheSameSurfaceAndSurfacesOutliveTheirDirectDraw) {
    IDirectDrawSurface4* surface = Make(4, 4, Rgb32());
    void* alias = nullptr;
    ASSERT_EQ(surface->QueryInterface(IID_IDirectDrawSurface, &alias), DD_OK);
    directDraw->Release();
    directDraw = nullptr;
    EXPECT_EQ(testing::LiveDirectDrawObjects(), 0);
    EXPECT_EQ(Fill(surface, 0x42), DD_OK);
    EXPECT_EQ(ReadPixel(surface, 0, 0), 0x42U);
    EXPECT_EQ(static_cast<IDirectDrawSurface*>(alias)->Release(), 1U);
    EXPECT_EQ(testing::LiveSurfaces(), 1);
}

TEST_F(SurfaceTest, SurfacesAreUsedFromSeveralThreads) {
    IDirectDrawSurface4* left = Make(64, 64, Rgb32());
    IDirectDrawSurface4* right = Make(64, 64, Rgb32());
    auto work = [](IDirectDrawSurface4* target, std::uint32_t pixel) {
        for (int round = 0; round < 200; ++round) {
            DDBLTFX fx = Effects();
            fx.dwFillColor = pixel;
            EXPECT_EQ(target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
            DDSURFACEDESC2 desc = Description();
            if (target->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK) {
                target->Unlock(nullptr);
            }
        }
    };
    std::thread first(work, left, 1u);
    std::thread second(work, right, 2u);
    first.join();
    second.join();
    EXPECT_EQ(ReadPixel(left, 63, 63), 1U);
    EXPECT_EQ(ReadPixel(right, 0, 0), 2U);
}

// The runtime tells these results apart by the numbers DirectDraw gives them, some of them written out in its
// own tables.
TEST(DirectDrawResultTest, ResultsCarryDirectDrawsNumbers) {
    const std::pair<HRESULT, std::uint32_t> results[] = {
        {DDERR_SURFACELOST, 0x887601C2},      {DDERR_SURFACEBUSY, 0x887601AE},
        {DDERR_WRONGMODE, 0x8876024B},        {DDERR_NOEXCLUSIVEMODE, 0x887600E1},
        {DDERR_NOFLIPHW, 0x887600E6},         {DDERR_INVALIDMODE, 0x88760078},
        {DDERR_NODIRECTDRAWHW, 0x88760233},   {DDERR_NOEMULATION, 0x88760235},
        {DDERR_OUTOFVIDEOMEMORY, 0x8876017C}, {DDERR_NOALPHAHW, 0x887600B4},
        {DDERR_NOBLTHW, 0x8876023F},          {DDERR_NODDROPSHW, 0x88760240},
        {DDERR_NOMIRRORHW, 0x887600FA},       {DDERR_NORASTEROPHW, 0x88760118},
        {DDERR_NOROTATIONHW, 0x88760122},     {DDERR_NOSTRETCHHW, 0x88760136},
        {DDERR_NOZBUFFERHW, 0x88760154},      {DDERR_UNSUPPORTED, 0x80004001},
        {DDERR_INVALIDPARAMS, 0x80070057},    {DDERR_OUTOFMEMORY, 0x8007000E},
    };
    for (const auto& [result, number] : results) {
        EXPECT_EQ(static_cast<std::uint32_t>(result), number);
    }
}

} // namespace
} // namespace ddraw::tests
