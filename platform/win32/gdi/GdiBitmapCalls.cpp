// DIB sections, DCs over the platform's own memory, brushes and fills.
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/gdi/GdiPixelTarget.h"
#include "platform/win32/gdi/GdiState.h"
#include "platform/win32/gdi/GdiSurface.h"
#include "platform/win32/gdi/GdiText.h"

#include <cstring>

namespace win32 {

using gdi::GdiCall;

namespace {

constexpr std::size_t kLargestSection = 256u * 1024 * 1024;

bool IsKnownHeaderSize(DWORD size) {
    return size == 40 || size == 108 || size == 124;
}

bool IsKnownDepth(WORD bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The section a header asks for, pixels zeroed; null for a header this layer does not take.
std::shared_ptr<gdi::GdiBitmap> MakeSection(const BITMAPINFO& info) {
    const BITMAPINFOHEADER& header = info.bmiHeader;
    if (!IsKnownHeaderSize(header.biSize) || header.biPlanes != 1 || !IsKnownDepth(header.biBitCount) ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == static_cast<LONG>(0x80000000u)) {
        return nullptr;
    }
    auto width = static_cast<std::size_t>(header.biWidth);
    auto height = static_cast<std::size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    std::size_t rowBytes = (width * header.biBitCount + 31) / 32 * 4;
    if (rowBytes > kLargestSection || height > kLargestSection / rowBytes) {
        return nullptr;
    }
    auto bitmap = std::make_shared<gdi::GdiBitmap>();
    if (header.biBitCount <= 8) {
        std::size_t entries =
            header.biClrUsed == 0
                ? std::size_t{1} << header.biBitCount
                : std::min<std::size_t>(header.biClrUsed, std::size_t{1} << header.biBitCount);
        bitmap->palette.resize(entries);
        std::memcpy(bitmap->palette.data(), reinterpret_cast<const std::uint8_t*>(&info) + header.biSize,
                    entries * sizeof(RGBQUAD));
    }
    bitmap->memory = std::make_unique<std::uint8_t[]>(rowBytes * height);
    bool bottomUp = header.biHeight > 0;
    std::uint8_t* top = bitmap->memory.get() + (bottomUp ? rowBytes * (height - 1) : 0);
    auto pitch = static_cast<std::int32_t>(rowBytes);
    bitmap->target = GdiBitmapTarget{top,
                                     bottomUp ? -pitch : pitch,
                                     static_cast<std::uint32_t>(width),
                                     static_cast<std::uint32_t>(height),
                                     header.biBitCount,
                                     0,
                                     0,
                                     0,
                                     bitmap->palette.data(),
                                     static_cast<std::uint32_t>(bitmap->palette.size())};
    return bitmap;
}

} // namespace

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
    GdiCall call("CreateDIBSection");
    if (bits != nullptr) {
        *bits = nullptr;
    }
    if (call.Failed() || info == nullptr || usage != DIB_RGB_COLORS || section != nullptr) {
        return nullptr;
    }
    std::shared_ptr<gdi::GdiBitmap> bitmap = MakeSection(*info);
    if (!bitmap) {
        return nullptr;
    }
    if (bits != nullptr) {
        *bits = bitmap->memory.get();
    }
    return static_cast<HBITMAP>(gdi::AddObject(std::move(bitmap)));
}

HDC CreateDCOverBitmap(const GdiBitmapTarget& target) {
    GdiCall call("CreateDCOverBitmap");
    if (!gdi::IsUsableTarget(target)) {
        return nullptr;
    }
    std::shared_ptr<gdi::GdiDeviceContext> dc = gdi::MakeDc(gdi::DcKind::Surface);
    dc->surface = target;
    if (target.bitsPerPixel <= 8) {
        dc->surfacePalette.assign(target.palette, target.palette + target.paletteSize);
        dc->surface.palette = dc->surfacePalette.data();
    }
    return gdi::AddDc(std::move(dc));
}

void DestroyDCOverBitmap(HDC dc) {
    GdiCall call("DestroyDCOverBitmap");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (!found || found->kind != gdi::DcKind::Surface) {
        return;
    }
    gdi::ReleaseSelections(*found);
    gdi::RemoveDc(dc);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiCall call("CreateSolidBrush");
    std::optional<COLORREF> resolved = gdi::ResolveColor(color);
    if (call.Failed() || !resolved) {
        return nullptr;
    }
    auto brush = std::make_shared<gdi::GdiBrush>();
    brush->color = *resolved;
    return static_cast<HBRUSH>(gdi::AddObject(std::move(brush)));
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    GdiCall call("FillRect");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    std::shared_ptr<gdi::GdiBrush> fill = gdi::FindObjectAs<gdi::GdiBrush>(brush);
    if (call.Failed() || !found || !fill || rect == nullptr) {
        return 0;
    }
    std::optional<GdiBitmapTarget> target = found->DrawingTarget();
    RECT area = IntersectRects(*rect, gdi::DrawingClip(*found));
    if (target && !IsEmptyRect(area)) {
        gdi::GdiPixelTarget(*target).Fill(area, fill->color);
    }
    return 1;
}

} // namespace win32
