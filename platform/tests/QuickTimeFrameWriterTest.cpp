// Frames scaled into a port's pixels: a box partly or wholly outside the port gives the pixels that scaling
// the whole box and cutting it to the port gives, however large the box.
#include "platform/quicktime/FrameWriter.h"

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using qt::detail::FrameWriter;
using qt::detail::PixelTarget;

struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePointer = std::unique_ptr<AVFrame, FrameDeleter>;

// A planar 4:2:0 frame, as decoders make them, with a different value at every sample; or one colour.
FramePointer MakeFrame(int width, int height, bool solid = false) {
    FramePointer frame(av_frame_alloc());
    frame->width = width;
    frame->height = height;
    frame->format = AV_PIX_FMT_YUV420P;
    EXPECT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
    for (int plane = 0; plane < 3; ++plane) {
        const int rows = plane == 0 ? height : (height + 1) / 2;
        const int columns = plane == 0 ? width : (width + 1) / 2;
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < columns; ++x) {
                const int pattern = 16 + (x * 37 + y * 59 + plane * 71) % 220;
                const int value = solid ? (plane == 0 ? 81 : plane == 1 ? 90 : 240) : pattern;
                frame->data[plane][y * frame->linesize[plane] + x] = static_cast<std::uint8_t>(value);
            }
        }
    }
    return frame;
}

// A port's pixels in memory, filled with one byte value so that untouched pixels show.
struct Port {
    Port(int width, int height, qt::OSType format) {
        const int bits = qt::detail::BitsPerPixel(format);
        pitch = (width * bits / 8 + 3) / 4 * 4;
        pixels.assign(static_cast<std::size_t>(pitch) * height, 0x5A);
        target.top = pixels.data();
        target.pitch = pitch;
        target.width = width;
        target.height = height;
        target.format = format;
        colors.ctSize = static_cast<std::int16_t>(bits <= 8 ? (1 << bits) - 1 : 255);
        for (int i = 0; i < 256; ++i) {
            const auto level = static_cast<std::uint16_t>((i & 0xE0) * 257);
            colors.ctTable[i].rgb = {level, static_cast<std::uint16_t>(((i << 3) & 0xE0) * 257),
                                     static_cast<std::uint16_t>(((i << 6) & 0xC0) * 257)};
        }
        target.colors = &colors;
        target.nearest = &nearest;
    }

    int pitch = 0;
    std::vector<std::uint8_t> pixels;
    qt::ColorTable colors{};
    std::vector<std::uint8_t> nearest;
    PixelTarget target;
};

// What writing a frame into a box not wholly inside the port, or into an indexed port, has always made: the
// whole box scaled to 32-bit pixels, then copied to the port where they fall inside it.
void WriteTheWholeBox(const PixelTarget& target, const AVFrame& frame, const qt::Rect& box) {
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    SwsContext* scaler =
        sws_getContext(frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), width, height,
                       AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    ASSERT_NE(scaler, nullptr);
    std::vector<std::uint32_t> whole(static_cast<std::size_t>(width) * height);
    std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(whole.data())};
    int pitches[4] = {width * 4};
    sws_scale(scaler, frame.data, frame.linesize, 0, frame.height, planes, pitches);
    sws_freeContext(scaler);
    qt::detail::PutPicture(target, whole.data(), width, height, box.left, box.top);
}

struct BoxCase {
    const char* name;
    int portWidth;
    int portHeight;
    qt::OSType format;
    int frameWidth;
    int frameHeight;
    qt::Rect box; // top, left, bottom, right
};

class FrameWriterBoxTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(FrameWriterBoxTest, TheBoxGivesThePixelsOfTheWholeBoxCutToThePort) {
    const BoxCase& test = GetParam();
    FramePointer frame = MakeFrame(test.frameWidth, test.frameHeight);
    Port written(test.portWidth, test.portHeight, test.format);
    Port expected(test.portWidth, test.portHeight, test.format);
    FrameWriter writer;
    writer.PutFrame(written.target, *frame, test.box);
    WriteTheWholeBox(expected.target, *frame, test.box);
    ASSERT_EQ(written.pixels.size(), expected.pixels.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < written.pixels.size(); ++i) {
        differing += written.pixels[i] != expected.pixels[i] ? 1 : 0;
    }
    EXPECT_EQ(differing, 0U);
    EXPECT_NE(written.pixels, Port(test.portWidth, test.portHeight, test.format).pixels)
        << "something was drawn";
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, FrameWriterBoxTest,
    ::testing::Values(
        BoxCase{"OverTheTopLeftCorner", 64, 48, qt::k32BGRAPixelFormat, 24, 18, {-10, -10, 30, 40}},
        BoxCase{"OverTheBottomRightCorner", 64, 48, qt::k32BGRAPixelFormat, 24, 18, {20, 40, 60, 90}},
        BoxCase{"OverEverySide", 64, 48, qt::k32BGRAPixelFormat, 24, 18, {-20, -30, 70, 100}},
        BoxCase{"SmallerThanTheFrame", 64, 48, qt::k32BGRAPixelFormat, 96, 72, {-3, 50, 9, 70}},
        BoxCase{"InAPortOf16Bits", 64, 48, qt::k16LE565PixelFormat, 24, 18, {-5, 10, 30, 70}},
        BoxCase{"InsideAnIndexedPort", 64, 48, 8, 24, 18, {4, 6, 40, 50}},
        BoxCase{"OverAnIndexedPort", 64, 48, 4, 24, 18, {-7, -9, 33, 41}},
        // Rows this wide are made a few at a time.
        BoxCase{"WideOverATallPort", 64, 200, qt::k32BGRAPixelFormat, 24, 18, {-10, -10, 190, 30000}}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

// A box far larger than the port costs what the port costs: a box of 24010 pixels square over a port of
// 64 by 48 fills the port with the frame's one colour (as a small box shows it, give or take the rounding of
// another scale).
TEST(FrameWriterTest, AHugeBoxFillsThePort) {
    FramePointer frame = MakeFrame(16, 12, true);
    Port small(4, 4, qt::k32BGRAPixelFormat);
    WriteTheWholeBox(small.target, *frame, qt::Rect{0, 0, 4, 4});

    Port port(64, 48, qt::k32BGRAPixelFormat);
    FrameWriter writer;
    writer.PutFrame(port.target, *frame, qt::Rect{-10, -10, 24000, 24000});
    std::size_t differing = 0;
    for (std::size_t i = 0; i < port.pixels.size(); ++i) {
        differing += port.pixels[i] != port.pixels[i % 4] ? 1 : 0;
    }
    EXPECT_EQ(differing, 0U) << "one colour";
    for (std::size_t channel = 0; channel < 4; ++channel) {
        EXPECT_NEAR(port.pixels[channel], small.pixels[channel], 2) << channel;
    }
    EXPECT_EQ(port.pixels[3], 0xFF);
}

} // namespace
