#include "platform/video/Overlays.h"

#include <gtest/gtest.h>

#include <vector>

namespace video::tests {
namespace {

const win32::HWND kWindow = reinterpret_cast<win32::HWND>(0x5150);
const win32::HWND kOther = reinterpret_cast<win32::HWND>(0x5160);

struct Picture {
    Picture(int width, int height, std::uint32_t color)
        : width(width), height(height), pixels(width * height, color) {}
    Overlay At(win32::HWND window, win32::RECT dest, std::int32_t order = 0) const {
        return Overlay{window, dest, width, height, width * 4, pixels.data(), order};
    }
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

struct Frame {
    Frame(int width, int height) : width(width), height(height), pixels(width * height, 0) {}
    OverlayFrame Target() { return OverlayFrame{pixels.data(), width, height, width * 4, {0, 0}}; }
    std::uint32_t At(int x, int y) const { return pixels[y * width + x]; }
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

class OverlaysTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (OverlayId id : m_ids) {
            RemoveOverlay(id);
        }
        EXPECT_EQ(OverlayCount(kWindow), 0U);
    }
    OverlayId Add(const Overlay& overlay) {
        OverlayId id = AddOverlay(overlay);
        m_ids.push_back(id);
        return id;
    }
    std::vector<OverlayId> m_ids;
};

TEST_F(OverlaysTest, OverlaysAreClippedToTheFrameAndDrawnInOrder) {
    Picture red(4, 4, 0xFF0000);
    Picture blue(4, 4, 0x0000FF);
    Picture elsewhere(4, 4, 0x00FF00);
    Add(blue.At(kWindow, {2, 2, 6, 6}, 1));
    Add(red.At(kWindow, {-2, -2, 2, 2}));
    Add(red.At(kWindow, {4, 4, 8, 8}));
    Add(elsewhere.At(kOther, {0, 0, 4, 4}));
    Frame frame(7, 7);
    EXPECT_EQ(ComposeOverlays(kWindow, frame.Target()), 3);
    EXPECT_EQ(frame.At(0, 0), 0xFF0000U);
    EXPECT_EQ(frame.At(2, 2), 0x0000FFU);
    EXPECT_EQ(frame.At(5, 5), 0x0000FFU) << "a higher order is on top";
    EXPECT_EQ(frame.At(6, 6), 0xFF0000U);
    EXPECT_EQ(frame.At(6, 0), 0U);
}

TEST_F(OverlaysTest, APictureIsScaledToItsPlaceAndFollowsTheOrigin) {
    Picture picture(2, 1, 0);
    picture.pixels = {0x111111, 0x222222};
    Add(picture.At(kWindow, {0, 0, 4, 2}));
    Frame frame(6, 4);
    OverlayFrame target = frame.Target();
    target.origin = {1, 1};
    target.clip = {0, 0, 4, 4};
    ComposeOverlays(kWindow, target);
    EXPECT_EQ(frame.At(1, 1), 0x111111U);
    EXPECT_EQ(frame.At(2, 2), 0x111111U);
    EXPECT_EQ(frame.At(3, 1), 0x222222U);
    EXPECT_EQ(frame.At(4, 1), 0U) << "outside the clip";
    EXPECT_EQ(frame.At(0, 0), 0U);
}

TEST_F(OverlaysTest, UpdatesReplaceAndRemovalsTakeAway) {
    Picture first(2, 2, 0x010101);
    Picture second(2, 2, 0x020202);
    OverlayId id = Add(first.At(kWindow, {0, 0, 2, 2}));
    EXPECT_TRUE(UpdateOverlay(id, second.At(kWindow, {1, 1, 3, 3})));
    Frame frame(3, 3);
    ComposeOverlays(kWindow, frame.Target());
    EXPECT_EQ(frame.At(0, 0), 0U);
    EXPECT_EQ(frame.At(2, 2), 0x020202U);
    RemoveOverlay(id);
    EXPECT_FALSE(UpdateOverlay(id, first.At(kWindow, {0, 0, 2, 2})));
    EXPECT_EQ(AddOverlay(Overlay{}), 0U);
    Frame empty(3, 3);
    EXPECT_EQ(ComposeOverlays(kWindow, empty.Target()), 0);
}

} // namespace
} // namespace video::tests
