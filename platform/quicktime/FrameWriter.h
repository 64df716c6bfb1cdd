// Writes pictures into the pixels of a port: decoded frames scaled to a rectangle (swscale), and 32-bit
// x-R-G-B pictures, in every pixel format a graphics world may have. Indexed formats take each colour's
// nearest colour-table entry. Internal to the layer.
#pragma once

#include "platform/quicktime/GrafPortRecord.h"

extern "C" {
#include <libavutil/frame.h>
struct SwsContext;
}

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qt::detail {

struct PixelTarget {
    std::uint8_t* top = nullptr; // the top row
    std::ptrdiff_t pitch = 0;
    int width = 0;
    int height = 0;
    OSType format = k32BGRAPixelFormat;
    const ColorTable* colors = nullptr;
    std::vector<std::uint8_t>* nearest = nullptr;
};

// Bits per pixel of a world's pixel format; 0 for a format worlds cannot have.
int BitsPerPixel(OSType format);
// A world's pixels, or a 32-bit picture in memory.
PixelTarget TargetOfWorld(GrafPortRecord& world);
PixelTarget TargetOfPicture(std::uint32_t* pixels, int width, int height);

class FrameWriter {
public:
    FrameWriter() = default;
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Scales the frame to the rectangle (target coordinates), clipped to the target.
    void PutFrame(const PixelTarget& target, const AVFrame& frame, const Rect& place);

private:
    // Bands of rows made at once for a box that is not scaled straight into the target.
    static constexpr std::size_t kBandBytes = std::size_t{4} << 20;

    // The rows of the box inside the target, through the scratch (the scaler already set up for BGRA at the
    // box's size).
    void PutVisibleRows(const PixelTarget& target, const AVFrame& frame, const Rect& place);

    SwsContext* m_scaler = nullptr;
    std::vector<std::uint32_t> m_scratch;
};

// Copies a 32-bit x-R-G-B picture to (x, y) of the target, clipped to it.
void PutPicture(const PixelTarget& target, const std::uint32_t* pixels, int width, int height, int x, int y);

} // namespace qt::detail
