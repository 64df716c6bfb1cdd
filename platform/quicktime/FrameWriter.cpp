#include "platform/quicktime/FrameWriter.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdint>

namespace qt::detail {

namespace {

// The FFmpeg format whose memory layout a world format has; AV_PIX_FMT_NONE for the indexed ones.
AVPixelFormat DirectFormat(OSType format) {
    switch (format) {
    case k32BGRAPixelFormat:
        return AV_PIX_FMT_BGRA;
    case k32RGBAPixelFormat:
        return AV_PIX_FMT_RGBA;
    case k32ABGRPixelFormat:
        return AV_PIX_FMT_ABGR;
    case k32ARGBPixelFormat:
        return AV_PIX_FMT_ARGB;
    case k24BGRPixelFormat:
        return AV_PIX_FMT_BGR24;
    case k24RGBPixelFormat:
        return AV_PIX_FMT_RGB24;
    case k16LE555PixelFormat:
        return AV_PIX_FMT_RGB555LE;
    case k16LE565PixelFormat:
        return AV_PIX_FMT_RGB565LE;
    default:
        return AV_PIX_FMT_NONE;
    }
}

std::uint8_t NearestIndex(const PixelTarget& target, std::uint32_t color) {
    std::vector<std::uint8_t>& nearest = *target.nearest;
    const int count = target.colors->ctSize + 1;
    if (nearest.empty()) {
        nearest.resize(32768);
        for (int key = 0; key < 32768; ++key) {
            const int red = ((key >> 10) & 31) * 255 / 31;
            const int green = ((key >> 5) & 31) * 255 / 31;
            const int blue = (key & 31) * 255 / 31;
            int best = 0;
            int bestDistance = INT32_MAX;
            for (int i = 0; i < count; ++i) {
                const RGBColor& entry = target.colors->ctTable[i].rgb;
                const int dr = red - (entry.red >> 8);
                const int dg = green - (entry.green >> 8);
                const int db = blue - (entry.blue >> 8);
                const int distance = dr * dr + dg * dg + db * db;
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = i;
                }
            }
            nearest[static_cast<std::size_t>(key)] = static_cast<std::uint8_t>(best);
        }
    }
    const int key =
        static_cast<int>(((color >> 9) & 0x7C00) | ((color >> 6) & 0x03E0) | ((color >> 3) & 0x001F));
    return nearest[static_cast<std::size_t>(key)];
}

void Store(const PixelTarget& target, std::uint8_t* row, int x, std::uint32_t color) {
    const std::uint8_t red = static_cast<std::uint8_t>(color >> 16);
    const std::uint8_t green = static_cast<std::uint8_t>(color >> 8);
    const std::uint8_t blue = static_cast<std::uint8_t>(color);
    switch (target.format) {
    case k32BGRAPixelFormat:
        row[x * 4] = blue, row[x * 4 + 1] = green, row[x * 4 + 2] = red, row[x * 4 + 3] = 0xFF;
        return;
    case k32RGBAPixelFormat:
        row[x * 4] = red, row[x * 4 + 1] = green, row[x * 4 + 2] = blue, row[x * 4 + 3] = 0xFF;
        return;
    case k32ABGRPixelFormat:
        row[x * 4] = 0xFF, row[x * 4 + 1] = blue, row[x * 4 + 2] = green, row[x * 4 + 3] = red;
        return;
    case k32ARGBPixelFormat:
        row[x * 4] = 0xFF, row[x * 4 + 1] = red, row[x * 4 + 2] = green, row[x * 4 + 3] = blue;
        return;
    case k24BGRPixelFormat:
        row[x * 3] = blue, row[x * 3 + 1] = green, row[x * 3 + 2] = red;
        return;
    case k24RGBPixelFormat:
        row[x * 3] = red, row[x * 3 + 1] = green, row[x * 3 + 2] = blue;
        return;
    case k16LE555PixelFormat: {
        const unsigned value = ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3);
        row[x * 2] = static_cast<std::uint8_t>(value), row[x * 2 + 1] = static_cast<std::uint8_t>(value >> 8);
        return;
    }
    case k16LE565PixelFormat: {
        const unsigned value = ((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3);
        row[x * 2] = static_cast<std::uint8_t>(value), row[x * 2 + 1] = static_cast<std::uint8_t>(value >> 8);
        return;
    }
    default:
        break;
    }
    // Indexed: the first pixel in the most significant bits.
    const int bits = static_cast<int>(target.format);
    const std::uint8_t index = NearestIndex(target, color);
    const int bit = x * bits;
    const int shift = 8 - bits - (bit & 7);
    const auto mask = static_cast<std::uint8_t>(((1 << bits) - 1) << shift);
    row[bit >> 3] = static_cast<std::uint8_t>((row[bit >> 3] & ~mask) | ((index << shift) & mask));
}

} // namespace

int BitsPerPixel(OSType format) {
    switch (format) {
    case 1:
    case 2:
    case 4:
    case 8:
        return static_cast<int>(format);
    case k16LE555PixelFormat:
    case k16LE565PixelFormat:
        return 16;
    case k24BGRPixelFormat:
    case k24RGBPixelFormat:
        return 24;
    case k32BGRAPixelFormat:
    case k32RGBAPixelFormat:
    case k32ABGRPixelFormat:
    case k32ARGBPixelFormat:
        return 32;
    default:
        return 0;
    }
}

PixelTarget TargetOfWorld(GrafPortRecord& world) {
    PixelTarget target;
    target.top = reinterpret_cast<std::uint8_t*>(world.pixMap.baseAddr);
    target.pitch = world.pixMap.rowBytes;
    target.width = world.pixMap.bounds.right - world.pixMap.bounds.left;
    target.height = world.pixMap.bounds.bottom - world.pixMap.bounds.top;
    target.format = world.pixMap.pixelFormat;
    target.colors = &world.colors;
    target.nearest = &world.nearest;
    return target;
}

PixelTarget TargetOfPicture(std::uint32_t* pixels, int width, int height) {
    PixelTarget target;
    target.top = reinterpret_cast<std::uint8_t*>(pixels);
    target.pitch = static_cast<std::ptrdiff_t>(width) * 4;
    target.width = width;
    target.height = height;
    target.format = k32BGRAPixelFormat;
    return target;
}

void PutPicture(const PixelTarget& target, const std::uint32_t* pixels, int width, int height, int x, int y) {
    const int left = std::max(0, x);
    const int top = std::max(0, y);
    const int right = std::min(target.width, x + width);
    const int bottom = std::min(target.height, y + height);
    for (int row = top; row < bottom; ++row) {
        std::uint8_t* out = target.top + row * target.pitch;
        const std::uint32_t* in = pixels + static_cast<std::ptrdiff_t>(row - y) * width;
        if (target.format == k32BGRAPixelFormat) {
            for (int column = left; column < right; ++column) {
                reinterpret_cast<std::uint32_t*>(out)[column] = in[column - x] | 0xFF000000u;
            }
            continue;
        }
        for (int column = left; column < right; ++column) {
            Store(target, out, column, in[column - x]);
        }
    }
}

FrameWriter::~FrameWriter() {
    sws_freeContext(m_scaler);
}

void FrameWriter::PutFrame(const PixelTarget& target, const AVFrame& frame, const Rect& place) {
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    if (width <= 0 || height <= 0 || frame.width <= 0 || frame.height <= 0) {
        return;
    }
    if (place.left >= target.width || place.top >= target.height || place.right <= 0 || place.bottom <= 0) {
        return;
    }
    const AVPixelFormat direct = DirectFormat(target.format);
    const bool inside =
        place.left >= 0 && place.top >= 0 && place.right <= target.width && place.bottom <= target.height;
    const bool directly = inside && direct != AV_PIX_FMT_NONE;
    const AVPixelFormat output = directly ? direct : AV_PIX_FMT_BGRA;
    m_scaler =
        sws_getCachedContext(m_scaler, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format),
                             width, height, output, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (m_scaler == nullptr) {
        return;
    }
    if (directly) {
        std::uint8_t* planes[4] = {target.top + place.top * target.pitch +
                                   place.left * (BitsPerPixel(target.format) / 8)};
        int pitches[4] = {static_cast<int>(target.pitch)};
        sws_scale(m_scaler, frame.data, frame.linesize, 0, frame.height, planes, pitches);
        return;
    }
    PutVisibleRows(target, frame, place);
}

void FrameWriter::PutVisibleRows(const PixelTarget& target, const AVFrame& frame, const Rect& place) {
    // The scaler makes rows of the box's whole width, but only those asked for: the rows inside the target,
    // a band at a time into the scratch rows, whose columns inside the target are then copied. The pixels
    // are those of the whole box scaled at once; the cost follows the target, not the box.
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const int align = std::max(1, static_cast<int>(sws_receive_slice_alignment(m_scaler)));
    // Slices start and end on the scaler's alignment, or at the box's last row.
    const int first = std::max(0, -place.top) / align * align;
    const int stop =
        std::min(height, (std::min(height, target.height - place.top) + align - 1) / align * align);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    const int bandRows = std::max(align, static_cast<int>(kBandBytes / rowBytes) / align * align);
    const int rows = std::min(bandRows, stop - first);
    m_scratch.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));

    AVFrame* band = av_frame_alloc();
    if (band == nullptr) {
        return;
    }
    // The scaler needs a counted buffer to refer to; the scratch stays this writer's.
    band->buf[0] = av_buffer_create(
        reinterpret_cast<std::uint8_t*>(m_scratch.data()), rowBytes * rows, [](void*, std::uint8_t*) {},
        nullptr, 0);
    band->width = width;
    band->height = height;
    band->format = AV_PIX_FMT_BGRA;
    band->linesize[0] = static_cast<int>(rowBytes);
    for (int start = first; band->buf[0] != nullptr && start < stop; start += rows) {
        const int count = std::min(rows, stop - start);
        // The scaler writes row r of the box at the frame's data plus r times the pitch, a product it
        // takes as a 32-bit unsigned number; the data pointer is placed so that row start lands on the
        // scratch's first row.
        const std::uint32_t offset = static_cast<std::uint32_t>(rowBytes) * static_cast<std::uint32_t>(start);
        band->data[0] =
            reinterpret_cast<std::uint8_t*>(reinterpret_cast<std::uintptr_t>(m_scratch.data()) - offset);
        if (sws_frame_start(m_scaler, band, &frame) < 0) {
            break;
        }
        const bool made =
            sws_send_slice(m_scaler, 0, static_cast<unsigned>(frame.height)) >= 0 &&
            sws_receive_slice(m_scaler, static_cast<unsigned>(start), static_cast<unsigned>(count)) >= 0;
        sws_frame_end(m_scaler);
        if (!made) {
            break;
        }
        PutPicture(target, m_scratch.data(), width, count, place.left, place.top + start);
    }
    av_frame_free(&band);
}

} // namespace qt::detail
