#include "platform/directx/DirectDrawBlitter.h"

#include "platform/video/PixelAccess.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ddraw::detail {

namespace {

std::uint32_t PixelMask(int bitsPerPixel) {
    return bitsPerPixel >= 32 ? 0xFFFFFFFFu : (1u << bitsPerPixel) - 1;
}

std::uint8_t* Row(const PixelView& view, std::int64_t y) {
    return view.bits + y * view.pitch;
}

bool IsPlainCopy(const std::optional<RasterFunction>& function) {
    return !function.has_value() || function->table == RasterFunction{}.table;
}

// The source coordinate under the centre of destination pixel `offset` of `destinationSize`.
std::int64_t SourceAt(std::int64_t offset, std::int64_t destinationSize, std::int64_t sourceSize) {
    return (2 * offset + 1) * sourceSize / (2 * destinationSize);
}

// A copy of the source rectangle in memory of its own, for a blit within one surface.
struct Detached {
    std::vector<std::uint8_t> memory;
    PixelView view;
    win32::RECT rect{};
};

Detached Detach(const PixelView& source, const win32::RECT& sourceRect) {
    Detached detached;
    const int width = sourceRect.right - sourceRect.left;
    const int height = sourceRect.bottom - sourceRect.top;
    const std::int32_t pitch =
        static_cast<std::int32_t>((static_cast<std::int64_t>(width) * source.bitsPerPixel + 7) / 8);
    detached.memory.assign(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height), 0);
    detached.view = PixelView{detached.memory.data(), pitch, width, height, source.bitsPerPixel};
    detached.rect = win32::RECT{0, 0, width, height};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = Row(source, sourceRect.top + y);
        std::uint8_t* to = Row(detached.view, y);
        for (int x = 0; x < width; ++x) {
            video::WritePixel(to, x, source.bitsPerPixel,
                              video::ReadPixel(from, sourceRect.left + x, source.bitsPerPixel));
        }
    }
    return detached;
}

// A run of pixels of 2 or 4 bytes, each the same value: a block of them is made once and copied along each
// row.
class PixelRun {
public:
    PixelRun(int bytesPerPixel, std::uint32_t value) : m_bytes(bytesPerPixel) {
        for (std::size_t at = 0; at < kBlock; at += 4) {
            const std::uint32_t pair = bytesPerPixel == 2 ? (value & 0xFFFF) * 0x10001u : value;
            std::memcpy(m_block + at, &pair, 4);
        }
    }

    void Write(std::uint8_t* row, std::int64_t left, std::int64_t right) const {
        std::uint8_t* at = row + left * m_bytes;
        std::size_t remaining = static_cast<std::size_t>((right - left) * m_bytes);
        for (; remaining >= kBlock; remaining -= kBlock, at += kBlock) {
            std::memcpy(at, m_block, kBlock);
        }
        std::memcpy(at, m_block, remaining);
    }

private:
    static constexpr std::size_t kBlock = 256;
    std::uint8_t m_block[kBlock];
    int m_bytes;
};

} // namespace

std::uint32_t RasterFunction::Apply(std::uint32_t source, std::uint32_t destination) const {
    auto when = [this](int bit) { return ((table >> bit) & 1u) != 0 ? 0xFFFFFFFFu : 0u; };
    return (source & destination & when(3)) | (source & ~destination & when(2)) |
           (~source & destination & when(1)) | (~source & ~destination & when(0));
}

std::optional<RasterFunction> FunctionOfRasterOperation(win32::DWORD code) {
    // The operation's index is its truth table over pattern, source and destination: bit 4 P + 2 S + D.
    const std::uint8_t index = static_cast<std::uint8_t>(code >> 16);
    if ((index >> 4) != (index & 0xF)) {
        return std::nullopt;
    }
    return RasterFunction{static_cast<std::uint8_t>(index & 0xF)};
}

void Fill(const PixelView& destination, const win32::RECT& clip, std::uint32_t value,
          const std::optional<RasterFunction>& function) {
    const int bits = destination.bitsPerPixel;
    const std::uint32_t mask = PixelMask(bits);
    value &= mask;
    if (!function.has_value() && (bits == 16 || bits == 32)) {
        const PixelRun run(bits / 8, value);
        for (std::int64_t y = clip.top; y < clip.bottom; ++y) {
            run.Write(Row(destination, y), clip.left, clip.right);
        }
        return;
    }
    for (std::int64_t y = clip.top; y < clip.bottom; ++y) {
        std::uint8_t* row = Row(destination, y);
        if (!function.has_value() && bits == 8) {
            std::memset(row + clip.left, static_cast<int>(value),
                        static_cast<std::size_t>(clip.right - clip.left));
            continue;
        }
        for (std::int64_t x = clip.left; x < clip.right; ++x) {
            std::uint32_t pixel =
                function.has_value() ? function->Apply(value, video::ReadPixel(row, x, bits)) & mask : value;
            video::WritePixel(row, x, bits, pixel);
        }
    }
}

void Copy(const PixelView& destination, const win32::RECT& destinationRect, const win32::RECT& clip,
          const PixelView& source, const win32::RECT& sourceRect, const std::optional<SourceKey>& key,
          const std::optional<RasterFunction>& function) {
    if (source.bits == destination.bits) {
        Detached detached = Detach(source, sourceRect);
        Copy(destination, destinationRect, clip, detached.view, detached.rect, key, function);
        return;
    }
    const int bits = destination.bitsPerPixel;
    const std::uint32_t mask = PixelMask(bits);
    const std::int64_t destinationWidth = destinationRect.right - destinationRect.left;
    const std::int64_t destinationHeight = destinationRect.bottom - destinationRect.top;
    const std::int64_t sourceWidth = sourceRect.right - sourceRect.left;
    const std::int64_t sourceHeight = sourceRect.bottom - sourceRect.top;
    const bool scaled = destinationWidth != sourceWidth || destinationHeight != sourceHeight;
    if (!scaled && !key.has_value() && IsPlainCopy(function) && bits >= 8) {
        const std::size_t bytes =
            static_cast<std::size_t>(clip.right - clip.left) * static_cast<std::size_t>(bits / 8);
        for (std::int64_t y = clip.top; y < clip.bottom; ++y) {
            const std::int64_t sourceY = sourceRect.top + (y - destinationRect.top);
            const std::int64_t sourceX = sourceRect.left + (clip.left - destinationRect.left);
            std::memcpy(Row(destination, y) + clip.left * (bits / 8),
                        Row(source, sourceY) + sourceX * (bits / 8), bytes);
        }
        return;
    }
    for (std::int64_t y = clip.top; y < clip.bottom; ++y) {
        const std::int64_t offsetY = y - destinationRect.top;
        const std::int64_t sourceY =
            sourceRect.top + (scaled ? SourceAt(offsetY, destinationHeight, sourceHeight) : offsetY);
        const std::uint8_t* from = Row(source, sourceY);
        std::uint8_t* to = Row(destination, y);
        for (std::int64_t x = clip.left; x < clip.right; ++x) {
            const std::int64_t offsetX = x - destinationRect.left;
            const std::int64_t sourceX =
                sourceRect.left + (scaled ? SourceAt(offsetX, destinationWidth, sourceWidth) : offsetX);
            std::uint32_t pixel = video::ReadPixel(from, sourceX, bits);
            if (key.has_value() && pixel >= key->low && pixel <= key->high) {
                continue;
            }
            if (function.has_value()) {
                pixel = function->Apply(pixel, video::ReadPixel(to, x, bits)) & mask;
            }
            video::WritePixel(to, x, bits, pixel);
        }
    }
}

} // namespace ddraw::detail
