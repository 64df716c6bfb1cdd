// What the DirectDraw tests share: a headless window system, a DirectDraw object at the normal level,
// surfaces of a given format, and their pixels read and written through Lock. Every test leaves no DirectDraw
// object, surface or clipper alive and no answer set.
#pragma once

#include "platform/directx/DirectDraw.h"
#include "platform/testing/DirectDrawTesting.h"
#include "platform/tests/RecordingWindow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace ddraw::tests {

inline DDPIXELFORMAT RgbFormat(DWORD bits, DWORD red, DWORD green, DWORD blue, DWORD fourth = 0) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(format);
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = bits;
    format.dwRBitMask = red;
    format.dwGBitMask = green;
    format.dwBBitMask = blue;
    format.dwRGBAlphaBitMask = fourth;
    return format;
}

inline DDPIXELFORMAT Rgb32() {
    return RgbFormat(32, 0xFF0000, 0xFF00, 0xFF);
}

inline DDPIXELFORMAT Rgb24() {
    return RgbFormat(24, 0xFF0000, 0xFF00, 0xFF);
}

inline DDPIXELFORMAT Rgb16() {
    return RgbFormat(16, 0xF800, 0x7E0, 0x1F);
}

inline DDPIXELFORMAT Indexed(DWORD bits) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(format);
    format.dwRGBBitCount = bits;
    format.dwFlags = DDPF_RGB | (bits == 8   ? DDPF_PALETTEINDEXED8
                                 : bits == 4 ? DDPF_PALETTEINDEXED4
                                 : bits == 2 ? DDPF_PALETTEINDEXED2
                                             : DDPF_PALETTEINDEXED1);
    return format;
}

inline DDSURFACEDESC2 Description() {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    return desc;
}

inline DDSURFACEDESC2 OffScreen(DWORD width, DWORD height, const DDPIXELFORMAT& format, DWORD caps = 0) {
    DDSURFACEDESC2 desc = Description();
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddpfPixelFormat = format;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | caps;
    return desc;
}

inline DDSURFACEDESC2 PrimaryDescription(DWORD backBuffers = 0) {
    DDSURFACEDESC2 desc = Description();
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (backBuffers > 0) {
        desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = backBuffers;
        desc.ddsCaps.dwCaps |= DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    }
    return desc;
}

inline DDBLTFX Effects() {
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    return fx;
}

// A pixel read or written through Lock (1 to 32 bits).
inline std::uint32_t ReadPixel(IDirectDrawSurface4* surface, int x, int y) {
    DDSURFACEDESC2 desc = Description();
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
    const auto* row =
        static_cast<const std::uint8_t*>(desc.lpSurface) + static_cast<std::ptrdiff_t>(y) * desc.lPitch;
    std::uint32_t pixel = 0;
    if (bits < 8) {
        const std::uint32_t perByte = 8 / bits;
        pixel = (row[x / perByte] >> (8 - bits * (x % perByte + 1))) & ((1u << bits) - 1);
    } else {
        std::memcpy(&pixel, row + static_cast<std::size_t>(x) * (bits / 8), bits / 8);
    }
    surface->Unlock(nullptr);
    return pixel;
}

inline void WritePixel(IDirectDrawSurface4* surface, int x, int y, std::uint32_t pixel) {
    DDSURFACEDESC2 desc = Description();
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
    ASSERT_GE(bits, 8U);
    auto* row = static_cast<std::uint8_t*>(desc.lpSurface) + static_cast<std::ptrdiff_t>(y) * desc.lPitch;
    std::memcpy(row + static_cast<std::size_t>(x) * (bits / 8), &pixel, bits / 8);
    surface->Unlock(nullptr);
}

class DirectDrawTest : public win32::tests::WindowSystemTest {
protected:
    void SetUp() override {
        WindowSystemTest::SetUp();
        ASSERT_EQ(testing::LiveDirectDrawObjects(), 0);
        ASSERT_EQ(testing::LiveSurfaces(), 0);
        directDraw = MakeDirectDraw();
        ASSERT_NE(directDraw, nullptr);
        ASSERT_EQ(directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    }

    void TearDown() override {
        testing::ClearAnswers();
        for (auto it = surfaces.rbegin(); it != surfaces.rend(); ++it) {
            (*it)->Release();
        }
        surfaces.clear();
        if (directDraw != nullptr) {
            directDraw->Release();
        }
        EXPECT_EQ(testing::LiveDirectDrawObjects(), 0);
        EXPECT_EQ(testing::LiveSurfaces(), 0);
        EXPECT_EQ(testing::LiveClippers(), 0);
        WindowSystemTest::TearDown();
    }

    static IDirectDraw4* MakeDirectDraw() {
        IDirectDraw* first = nullptr;
        if (DirectDrawCreate(nullptr, &first, nullptr) != DD_OK) {
            return nullptr;
        }
        void* fourth = nullptr;
        HRESULT result = first->QueryInterface(IID_IDirectDraw4, &fourth);
        first->Release();
        return result == DD_OK ? static_cast<IDirectDraw4*>(fourth) : nullptr;
    }

    // A surface released by the fixture.
    IDirectDrawSurface4* Make(const DDSURFACEDESC2& desc, IDirectDraw4* owner = nullptr) {
        IDirectDrawSurface4* surface = nullptr;
        HRESULT result = (owner != nullptr ? owner : directDraw)->CreateSurface(&desc, &surface, nullptr);
        EXPECT_EQ(result, DD_OK) << std::hex << result;
        if (surface != nullptr) {
            surfaces.push_back(surface);
        }
        return surface;
    }

    IDirectDrawSurface4* Make(DWORD width, DWORD height, const DDPIXELFORMAT& format) {
        return Make(OffScreen(width, height, format));
    }

    static HRESULT Fill(IDirectDrawSurface4* surface, std::uint32_t pixel, const RECT* rect = nullptr) {
        DDBLTFX fx = Effects();
        fx.dwFillColor = pixel;
        return surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }

    IDirectDraw4* directDraw = nullptr;
    std::vector<IDirectDrawSurface4*> surfaces;
};

} // namespace ddraw::tests
