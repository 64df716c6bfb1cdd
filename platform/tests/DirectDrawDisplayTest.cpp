#include "platform/tests/DirectDrawFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace ddraw::tests {
namespace {

using win32::tests::RecordingWindowClass;

struct Mode {
    DWORD width;
    DWORD height;
    DWORD bits;
    bool operator==(const Mode&) const = default;
};

HRESULT CollectMode(DDSURFACEDESC2* desc, LPVOID context) {
    auto* modes = static_cast<std::vector<std::tuple<Mode, DDPIXELFORMAT, DWORD>>*>(context);
    modes->emplace_back(Mode{desc->dwWidth, desc->dwHeight, desc->ddpfPixelFormat.dwRGBBitCount},
                        desc->ddpfPixelFormat, desc->dwRefreshRate);
    return DDENUMRET_OK;
}

HRESULT TakeFirstMode(DDSURFACEDESC2* desc, LPVOID context) {
    CollectMode(desc, context);
    return DDENUMRET_CANCEL;
}

Mode CurrentMode(IDirectDraw4* directDraw) {
    DDSURFACEDESC2 desc = Description();
    EXPECT_EQ(directDraw->GetDisplayMode(&desc), DD_OK);
    return Mode{desc.dwWidth, desc.dwHeight, desc.ddpfPixelFormat.dwRGBBitCount};
}

class DisplayTest : public DirectDrawTest {
protected:
    void TearDown() override {
        for (IDirectDrawClipper* clipper : clippers) {
            clipper->Release();
        }
        windows.reset();
        DirectDrawTest::TearDown();
    }

    // A shown top-level window of the recording class.
    HWND Window(DWORD style = win32::WS_POPUP | win32::WS_VISIBLE, RECT rect = {0, 0, 320, 200}) {
        return windows->Create(style, nullptr, rect);
    }

    IDirectDrawClipper* ClipperFor(HWND window) {
        IDirectDrawClipper* clipper = nullptr;
        EXPECT_EQ(directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
        EXPECT_EQ(clipper->SetHWnd(0, window), DD_OK);
        clippers.push_back(clipper);
        return clipper;
    }

    // The exclusive level on a new window, in a classic mode.
    HWND GoFullScreen(DWORD width = 640, DWORD height = 480, DWORD bits = 32) {
        HWND window = Window();
        fullScreenWindow = window;
        EXPECT_EQ(
            directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT),
            DD_OK);
        EXPECT_EQ(directDraw->SetDisplayMode(width, height, bits, 0, 0), DD_OK);
        return window;
    }

    std::vector<win32::UINT> DisplayChangesFor(HWND window) {
        std::vector<win32::UINT> changes;
        for (const win32::MSG& message : win32::testing::QueuedMessages()) {
            if (message.hwnd == window && message.message == win32::WM_DISPLAYCHANGE) {
                changes.push_back(static_cast<win32::UINT>(message.wParam));
                lastChange = message;
            }
        }
        return changes;
    }

    std::optional<RecordingWindowClass> windows{std::in_place};
    std::vector<IDirectDrawClipper*> clippers;
    HWND fullScreenWindow = nullptr;
    win32::MSG lastChange{};
};

TEST_F(DisplayTest, TheClassicModesAreEnumeratedInOrderUntilTheCallbackStops) {
    std::vector<std::tuple<Mode, DDPIXELFORMAT, DWORD>> modes;
    ASSERT_EQ(directDraw->EnumDisplayModes(0, nullptr, &modes, &CollectMode), DD_OK);
    ASSERT_EQ(modes.size(), 12U);
    std::vector<Mode> expected;
    for (DWORD width : {640, 800, 1024}) {
        for (DWORD bits : {8, 16, 24, 32}) {
            expected.push_back(Mode{width, width * 3 / 4, bits});
        }
    }
    for (std::size_t index = 0; index < modes.size(); ++index) {
        EXPECT_EQ(std::get<0>(modes[index]), expected[index]) << index;
        EXPECT_EQ(std::get<2>(modes[index]), 0U);
    }
    const DDPIXELFORMAT& indexed = std::get<1>(modes[0]);
    EXPECT_EQ(indexed.dwFlags, DDPF_RGB | DDPF_PALETTEINDEXED8);
    const DDPIXELFORMAT& highColour = std::get<1>(modes[1]);
    EXPECT_EQ(highColour.dwFlags, DDPF_RGB);
    EXPECT_EQ(highColour.dwRBitMask, 0xF800U);
    EXPECT_EQ(highColour.dwGBitMask, 0x07E0U);
    EXPECT_EQ(highColour.dwBBitMask, 0x001FU);
    const DDPIXELFORMAT& trueColour = std::get<1>(modes[3]);
    EXPECT_EQ(trueColour.dwRBitMask, 0xFF0000U);
    EXPECT_EQ(trueColour.dwRGBAlphaBitMask, 0U);

    modes.clear();
    DDSURFACEDESC2 wanted = Description();
    wanted.dwFlags = DDSD_WIDTH;
    wanted.dwWidth = 800;
    ASSERT_EQ(directDraw->EnumDisplayModes(DDEDM_REFRESHRATES, &wanted, &modes, &CollectMode), DD_OK);
    ASSERT_EQ(modes.size(), 4U);
    EXPECT_EQ(std::get<2>(modes[0]), 60U);
    modes.clear();
    ASSERT_EQ(directDraw->EnumDisplayModes(0, nullptr, &modes, &TakeFirstMode), DD_OK);
    EXPECT_EQ(modes.size(), 1U);
}

TEST_F(DisplayTest, TheDisplayModeIsTheEmulatedDesktopsUntilOneIsSet) {
    EXPECT_EQ(CurrentMode(directDraw), (Mode{1920, 1080, 32}));
    ASSERT_TRUE(win32::testing::SetDesktopSize(1280, 1024, 16));
    EXPECT_EQ(CurrentMode(directDraw), (Mode{1280, 1024, 16}));
    EXPECT_FALSE(win32::testing::SetDesktopSize(1280, 1024, 24));
    EXPECT_EQ(CurrentMode(directDraw), (Mode{1280, 1024, 16}));
    ASSERT_TRUE(win32::testing::SetDesktopSize(1024, 768, 8));
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(directDraw->GetDisplayMode(&desc), DD_OK);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 8U);
    EXPECT_EQ(desc.ddpfPixelFormat.dwFlags, DDPF_RGB | DDPF_PALETTEINDEXED8);
}

TEST_F(DisplayTest, ADepthTheDisplayRefusesIsNeitherListedNorSet) {
    win32::testing::RefuseDisplayDepth(16);
    win32::testing::RefuseDisplayDepth(24);
    std::vector<std::tuple<Mode, DDPIXELFORMAT, DWORD>> modes;
    ASSERT_EQ(directDraw->EnumDisplayModes(0, nullptr, &modes, &CollectMode), DD_OK);
    std::vector<DWORD> depths;
    for (const auto& mode : modes) {
        if (std::get<0>(mode).width == 640) {
            depths.push_back(std::get<0>(mode).bits);
        }
    }
    EXPECT_EQ(depths, (std::vector<DWORD>{8, 32}));
    GoFullScreen(640, 480, 32);
    EXPECT_EQ(directDraw->SetDisplayMode(800, 600, 16, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(CurrentMode(directDraw), (Mode{640, 480, 32}));
    win32::testing::RefuseDisplayDepth(16, false);
    EXPECT_EQ(directDraw->SetDisplayMode(800, 600, 16, 0, 0), DD_OK);
    EXPECT_EQ(directDraw->RestoreDisplayMode(), DD_OK);
}

TEST_F(DisplayTest, SettingAModeLosesEverySurfaceButThoseOnCallerMemoryAndTellsTheWindows) {
    HWND window = Window();
    IDirectDraw4* other = MakeDirectDraw();
    ASSERT_EQ(other->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface4* mine = Make(4, 4, Rgb32());
    IDirectDrawSurface4* theirs = Make(OffScreen(4, 4, Rgb16()), other);
    std::vector<std::uint32_t> memory(16);
    DDSURFACEDESC2 onMemory = OffScreen(4, 4, Rgb32(), DDSCAPS_SYSTEMMEMORY);
    onMemory.dwFlags |= DDSD_LPSURFACE | DDSD_PITCH;
    onMemory.lPitch = 16;
    onMemory.lpSurface = memory.data();
    IDirectDrawSurface4* caller = Make(onMemory);
    Drain();

    ASSERT_EQ(directDraw->SetDisplayMode(800, 600, 16, 0, 0), DD_OK);
    EXPECT_EQ(CurrentMode(other), (Mode{800, 600, 16}));
    EXPECT_EQ(mine->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(theirs->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(caller->IsLost(), DD_OK);
    DDSURFACEDESC2 desc = Description();
    EXPECT_EQ(mine->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(Fill(mine, 1), DDERR_SURFACELOST);
    EXPECT_EQ(DisplayChangesFor(window), std::vector<win32::UINT>{16});
    EXPECT_EQ(win32::LOWORD(static_cast<win32::DWORD_PTR>(lastChange.lParam)), 800);
    EXPECT_EQ(win32::HIWORD(static_cast<win32::DWORD_PTR>(lastChange.lParam)), 600);

    // Restoring the mode loses them again, even those restored meanwhile.
    ASSERT_EQ(theirs->Restore(), DD_OK);
    Drain();
    EXPECT_EQ(other->RestoreDisplayMode(), DD_OK) << "only the setter restores";
    EXPECT_EQ(theirs->IsLost(), DD_OK);
    EXPECT_TRUE(DisplayChangesFor(window).empty());
    ASSERT_EQ(directDraw->RestoreDisplayMode(), DD_OK);
    EXPECT_EQ(CurrentMode(other), (Mode{1920, 1080, 32}));
    EXPECT_EQ(theirs->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(DisplayChangesFor(window), std::vector<win32::UINT>{32});
    other->Release();
}

TEST_F(DisplayTest, OnlyClassicModesAreSetAndOnlyWithACooperativeLevel) {
    EXPECT_EQ(directDraw->SetDisplayMode(1920, 1080, 32, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(directDraw->SetDisplayMode(640, 480, 15, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(directDraw->SetDisplayMode(640, 480, 32, 75, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(directDraw->SetDisplayMode(640, 480, 32, 60, 1), DDERR_INVALIDPARAMS);
    IDirectDraw4* fresh = MakeDirectDraw();
    EXPECT_EQ(fresh->SetDisplayMode(640, 480, 32, 0, 0), DDERR_NOCOOPERATIVELEVELSET);
    fresh->Release();
    EXPECT_EQ(CurrentMode(directDraw), (Mode{1920, 1080, 32}));
}

TEST_F(DisplayTest, ReleasingTheObjectThatSetTheModeRestoresIt) {
    IDirectDraw4* setter = MakeDirectDraw();
    ASSERT_EQ(setter->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    ASSERT_EQ(setter->SetDisplayMode(1024, 768, 8, 60, 0), DD_OK);
    EXPECT_EQ(CurrentMode(directDraw), (Mode{1024, 768, 8}));
    setter->Release();
    EXPECT_EQ(CurrentMode(directDraw), (Mode{1920, 1080, 32}));
}

TEST_F(DisplayTest, RestoreAnswersWrongModeForASurfaceInTheOldDisplayFormat) {
    DDSURFACEDESC2 displayFormat = OffScreen(4, 4, Rgb32());
    displayFormat.dwFlags &= ~DDSD_PIXELFORMAT;
    IDirectDrawSurface4* inDisplayFormat = Make(displayFormat);
    IDirectDrawSurface4* ownFormat = Make(4, 4, Rgb32());
    WritePixel(ownFormat, 0, 0, 0xABCDEF);

    ASSERT_EQ(directDraw->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_EQ(inDisplayFormat->Restore(), DDERR_WRONGMODE);
    EXPECT_EQ(inDisplayFormat->IsLost(), DDERR_SURFACELOST);
    ASSERT_EQ(ownFormat->Restore(), DD_OK);
    EXPECT_EQ(ownFormat->IsLost(), DD_OK);
    EXPECT_EQ(ReadPixel(ownFormat, 0, 0), 0U) << "restored memory starts cleared";

    // Back in a mode of the format it was made in, the display-format surface restores.
    ASSERT_EQ(directDraw->SetDisplayMode(800, 600, 32, 0, 0), DD_OK);
    EXPECT_EQ(inDisplayFormat->Restore(), DD_OK);
    EXPECT_EQ(ownFormat->Restore(), DD_OK);
}

TEST_F(DisplayTest, TheExclusiveLevelIsOneObjectsOnATopLevelWindow) {
    HWND window = Window();
    HWND child = windows->Create(win32::WS_CHILD | win32::WS_VISIBLE, window, {0, 0, 10, 10});
    constexpr DWORD kExclusive = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;
    EXPECT_EQ(directDraw->SetCooperativeLevel(child, kExclusive), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->SetCooperativeLevel(nullptr, kExclusive), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL | DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL | 0x400), DDERR_INVALIDPARAMS);
    ASSERT_EQ(directDraw->SetCooperativeLevel(window, kExclusive | DDSCL_ALLOWREBOOT), DD_OK);

    IDirectDraw4* other = MakeDirectDraw();
    EXPECT_EQ(other->SetCooperativeLevel(window, kExclusive), DDERR_EXCLUSIVEMODEALREADYSET);
    ASSERT_EQ(other->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(other->SetDisplayMode(640, 480, 16, 0, 0), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(other->SetCooperativeLevel(window, kExclusive), DD_OK);
    other->Release();
}

TEST_F(DisplayTest, AFlipChainIsMadeAtTheExclusiveLevelOnly) {
    DDSURFACEDESC2 chain = PrimaryDescription(2);
    IDirectDrawSurface4* surface = nullptr;
    EXPECT_EQ(directDraw->CreateSurface(&chain, &surface, nullptr), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(surface, nullptr);

    GoFullScreen(800, 600, 16);
    IDirectDrawSurface4* front = Make(chain);
    ASSERT_NE(front, nullptr);
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(front->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 800U);
    EXPECT_EQ(desc.dwHeight, 600U);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 16U);
    EXPECT_EQ(desc.dwBackBufferCount, 2U);
    EXPECT_EQ(desc.ddsCaps.dwCaps & (DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER | DDSCAPS_FLIP),
              DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER | DDSCAPS_FLIP);

    DDSURFACEDESC2 second = PrimaryDescription();
    EXPECT_EQ(directDraw->CreateSurface(&second, &surface, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
}

TEST_F(DisplayTest, TheFlipChainIsWalkedBackToItsFront) {
    GoFullScreen();
    IDirectDrawSurface4* front = Make(PrimaryDescription(2));
    DDSCAPS2 flip{DDSCAPS_FLIP, 0, 0, 0};
    IDirectDrawSurface4* first = nullptr;
    ASSERT_EQ(front->GetAttachedSurface(&flip, &first), DD_OK);
    IDirectDrawSurface4* secondBuffer = nullptr;
    ASSERT_EQ(first->GetAttachedSurface(&flip, &secondBuffer), DD_OK);
    IDirectDrawSurface4* back = nullptr;
    ASSERT_EQ(secondBuffer->GetAttachedSurface(&flip, &back), DD_OK);
    EXPECT_EQ(back, front);
    DDSCAPS2 backBuffer{DDSCAPS_BACKBUFFER, 0, 0, 0};
    IDirectDrawSurface4* found = nullptr;
    ASSERT_EQ(front->GetAttachedSurface(&backBuffer, &found), DD_OK);
    EXPECT_EQ(found, first);
    EXPECT_EQ(first->GetAttachedSurface(&backBuffer, &back), DDERR_NOTFOUND);
    IDirectDrawSurface4* plain = Make(4, 4, Rgb32());
    EXPECT_EQ(plain->GetAttachedSurface(&flip, &back), DDERR_NOTFOUND);
    for (IDirectDrawSurface4* held : {found, first, secondBuffer, front}) {
        held->Release();
    }
    EXPECT_EQ(testing::LiveSurfaces(), 4);
}

// The chain's pictures after flips, each buffer filled with its number first.
class FlipTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        GoFullScreen(640, 480, 8);
        front = Make(PrimaryDescription(2));
        ASSERT_NE(front, nullptr);
        DDSCAPS2 flip{DDSCAPS_FLIP, 0, 0, 0};
        ASSERT_EQ(front->GetAttachedSurface(&flip, &first), DD_OK);
        ASSERT_EQ(first->GetAttachedSurface(&flip, &second), DD_OK);
        ASSERT_EQ(Fill(front, 1), DD_OK);
        ASSERT_EQ(Fill(first, 2), DD_OK);
        ASSERT_EQ(Fill(second, 3), DD_OK);
    }

    void TearDown() override {
        if (second != nullptr) {
            second->Release();
        }
        if (first != nullptr) {
            first->Release();
        }
        DisplayTest::TearDown();
    }

    std::vector<std::uint32_t> Pictures() {
        return {ReadPixel(front, 5, 5), ReadPixel(first, 5, 5), ReadPixel(second, 5, 5)};
    }

    IDirectDrawSurface4* front = nullptr;
    IDirectDrawSurface4* first = nullptr;
    IDirectDrawSurface4* second = nullptr;
};

TEST_F(FlipTest, AFlipTurnsThePicturesOneStep) {
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC), DD_OK);
    EXPECT_EQ(Pictures(), (std::vector<std::uint32_t>{2, 3, 1}));
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC), DD_OK);
    EXPECT_EQ(Pictures(), (std::vector<std::uint32_t>{3, 1, 2}));
}

TEST_F(FlipTest, AFlipToATargetBringsItsPictureToTheFront) {
    ASSERT_EQ(front->Flip(second, DDFLIP_NOVSYNC), DD_OK);
    EXPECT_EQ(Pictures(), (std::vector<std::uint32_t>{3, 1, 2}));
    ASSERT_EQ(front->Flip(first, DDFLIP_NOVSYNC), DD_OK);
    EXPECT_EQ(Pictures(), (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST_F(FlipTest, FlipsThatCannotBeDoneChangeNothing) {
    IDirectDrawSurface4* plain = Make(4, 4, Indexed(8));
    EXPECT_EQ(first->Flip(nullptr, DDFLIP_NOVSYNC), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(plain->Flip(nullptr, DDFLIP_NOVSYNC), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(front->Flip(plain, DDFLIP_NOVSYNC), DDERR_INVALIDPARAMS);
    EXPECT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC | 0x2 /* DDFLIP_EVEN */), DDERR_INVALIDPARAMS);
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(second->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC), DDERR_SURFACEBUSY);
    second->Unlock(nullptr);
    HDC context = nullptr;
    ASSERT_EQ(first->GetDC(&context), DD_OK);
    EXPECT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC), DDERR_SURFACEBUSY);
    first->ReleaseDC(context);
    EXPECT_EQ(Pictures(), (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST_F(FlipTest, LeavingTheExclusiveLevelLosesTheChainUntilItIsTakenAgain) {
    HWND window = fullScreenWindow;
    ASSERT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(front->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(second->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(front->Restore(), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(first->Restore(), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC), DDERR_SURFACELOST);

    ASSERT_EQ(directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(first->Restore(), DD_OK);
    EXPECT_EQ(front->IsLost(), DD_OK);
    EXPECT_EQ(second->IsLost(), DD_OK);
    EXPECT_EQ(Pictures(), (std::vector<std::uint32_t>{0, 0, 0}));
}

TEST_F(FlipTest, AChainMadeInAnotherModeAnswersWrongMode) {
    ASSERT_EQ(directDraw->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_EQ(front->Restore(), DDERR_WRONGMODE);
    ASSERT_EQ(directDraw->SetDisplayMode(800, 600, 8, 0, 0), DD_OK);
    EXPECT_EQ(front->Restore(), DDERR_WRONGMODE) << "a primary has the mode's size";
    ASSERT_EQ(directDraw->SetDisplayMode(640, 480, 8, 0, 0), DD_OK);
    EXPECT_EQ(front->Restore(), DD_OK);
}

TEST_F(FlipTest, ReleasingTheFrontTakesTheChainWithItOnceTheBackBuffersAreLetGo) {
    surfaces.clear();
    front->Release();
    front = nullptr;
    EXPECT_EQ(testing::LiveSurfaces(), 2);
    EXPECT_EQ(first->IsLost(), DDERR_SURFACELOST);
    DDSCAPS2 flip{DDSCAPS_FLIP, 0, 0, 0};
    IDirectDrawSurface4* next = nullptr;
    EXPECT_EQ(first->GetAttachedSurface(&flip, &next), DDERR_NOTFOUND);
    first->Release();
    second->Release();
    first = nullptr;
    second = nullptr;
    EXPECT_EQ(testing::LiveSurfaces(), 0);
}

} // namespace
} // namespace ddraw::tests
