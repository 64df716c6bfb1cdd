#include "platform/video/FrameStore.h"
#include "platform/video/Overlays.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace video {
namespace {

// A 32-bit picture of 8x6 pixels, presented for a window the store knows by its handle alone.
class FrameStoreTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 8;
    static constexpr int kHeight = 6;

    void SetUp() override {
        FrameStore::Instance().Open(m_window);
        for (int i = 0; i < kWidth * kHeight; ++i) {
            m_pixels[static_cast<std::size_t>(i)] = 0x00102030U + static_cast<std::uint32_t>(i);
        }
        Present(win32::RECT{0, 0, kWidth, kHeight});
        FrameStore::Instance().TakeChanged();
    }

    void TearDown() override { FrameStore::Instance().Forget(m_window); }

    void Present(const win32::RECT& changed, bool fullscreen = false) {
        PixelSource source;
        source.bits = reinterpret_cast<const std::uint8_t*>(m_pixels.data());
        source.pitch = kWidth * 4;
        source.width = kWidth;
        source.height = kHeight;
        source.bitsPerPixel = 32;
        source.redMask = 0x00FF0000U;
        source.greenMask = 0x0000FF00U;
        source.blueMask = 0x000000FFU;
        FrameStore::Instance().Update(m_window, source, changed, fullscreen);
    }

    std::uint32_t& Pixel(int x, int y) { return m_pixels[static_cast<std::size_t>(y * kWidth + x)]; }

    win32::HWND m_window = reinterpret_cast<win32::HWND>(static_cast<std::intptr_t>(0x7E57));
    std::vector<std::uint32_t> m_pixels = std::vector<std::uint32_t>(kWidth * kHeight);
};

void ExpectArea(const ChangedPicture& taken, const win32::RECT& area) {
    EXPECT_EQ(taken.area.left, area.left);
    EXPECT_EQ(taken.area.top, area.top);
    EXPECT_EQ(taken.area.right, area.right);
    EXPECT_EQ(taken.area.bottom, area.bottom);
    EXPECT_EQ(taken.part.width, area.right - area.left);
    EXPECT_EQ(taken.part.height, area.bottom - area.top);
    EXPECT_EQ(taken.width, 8);
    EXPECT_EQ(taken.height, 6);
}

TEST_F(FrameStoreTest, ACopyOfTheSamePixelsShowsNothingAgain) {
    Present(win32::RECT{0, 0, kWidth, kHeight});
    Present(win32::RECT{2, 2, 5, 4});
    Present(win32::RECT{3, 3, 3, 9});
    EXPECT_TRUE(FrameStore::Instance().TakeChanged().empty());
}

TEST_F(FrameStoreTest, OnlyThePixelsThatChangedAreTaken) {
    Pixel(5, 1) = 0x00ABCDEFU;
    Pixel(2, 3) = 0x00123456U;
    Present(win32::RECT{0, 0, kWidth, kHeight});
    std::vector<ChangedPicture> taken = FrameStore::Instance().TakeChanged();
    ASSERT_EQ(taken.size(), 1U);
    ExpectArea(taken[0], win32::RECT{2, 1, 6, 4});
    EXPECT_EQ(taken[0].part.At(3, 0), 0x00ABCDEFU);
    EXPECT_EQ(taken[0].part.At(0, 2), 0x00123456U);
    EXPECT_EQ(taken[0].part.At(0, 0), Pixel(2, 1));
    EXPECT_TRUE(FrameStore::Instance().TakeChanged().empty());
}

TEST_F(FrameStoreTest, ChangesAddUpUntilTheyAreTaken) {
    Pixel(0, 0) = 1;
    Present(win32::RECT{0, 0, 1, 1});
    Pixel(7, 5) = 2;
    Present(win32::RECT{7, 5, 8, 6});
    std::vector<ChangedPicture> taken = FrameStore::Instance().TakeChanged();
    ASSERT_EQ(taken.size(), 1U);
    ExpectArea(taken[0], win32::RECT{0, 0, kWidth, kHeight});
}

// What the picture is shown with, or where it is shown, changed: the whole picture is shown again.
TEST_F(FrameStoreTest, AnOverlayAMarkOrTheModeShowsTheWholePicture) {
    std::vector<std::uint32_t> moviePixels(4, 0x00FF0000U);
    Overlay overlay;
    overlay.window = reinterpret_cast<win32::HWND>(static_cast<std::intptr_t>(0x0EE1));
    overlay.dest = win32::RECT{0, 0, 2, 2};
    overlay.width = 2;
    overlay.height = 2;
    overlay.pitch = 8;
    overlay.pixels = moviePixels.data();
    const OverlayId id = AddOverlay(overlay);
    ASSERT_NE(id, 0U);
    std::vector<ChangedPicture> taken = FrameStore::Instance().TakeChanged();
    ASSERT_EQ(taken.size(), 1U);
    ExpectArea(taken[0], win32::RECT{0, 0, kWidth, kHeight});
    RemoveOverlay(id);
    ASSERT_EQ(FrameStore::Instance().TakeChanged().size(), 1U);
    EXPECT_TRUE(FrameStore::Instance().TakeChanged().empty());

    FrameStore::Instance().MarkChanged(m_window);
    taken = FrameStore::Instance().TakeChanged();
    ASSERT_EQ(taken.size(), 1U);
    ExpectArea(taken[0], win32::RECT{0, 0, kWidth, kHeight});

    Present(win32::RECT{0, 0, 1, 1}, true);
    taken = FrameStore::Instance().TakeChanged();
    ASSERT_EQ(taken.size(), 1U);
    ExpectArea(taken[0], win32::RECT{0, 0, kWidth, kHeight});
    EXPECT_TRUE(taken[0].fullscreen);
}

} // namespace
} // namespace video
