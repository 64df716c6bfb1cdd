// Device contexts, object selection and deletion, DC attributes and clip regions.
#include "platform/win32/gdi/Gdi.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/gdi/GdiPixelTarget.h"
#include "platform/win32/gdi/GdiState.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace win32 {

using gdi::DcKind;
using gdi::GdiCall;

namespace {

constexpr int kScreenDpi = 96;

int RegionKind(const RECT& rect) {
    return IsEmptyRect(rect) ? NULLREGION : SIMPLEREGION;
}

HGDIOBJ SelectRegion(gdi::GdiDeviceContext& dc, const gdi::GdiRegion* region) {
    if (region == nullptr) {
        dc.clip.reset();
        return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SIMPLEREGION));
    }
    dc.clip = region->rect;
    return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(RegionKind(region->rect)));
}

COLORREF SetColor(std::string_view name, HDC dc, COLORREF color, COLORREF gdi::GdiDeviceContext::*slot) {
    GdiCall call(name);
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    std::optional<COLORREF> resolved = gdi::ResolveColor(color);
    if (call.Failed() || !found || !resolved) {
        return CLR_INVALID;
    }
    return std::exchange((*found).*slot, *resolved);
}

} // namespace

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    long long product = static_cast<long long>(number) * numerator;
    long long magnitude = (std::llabs(product) + std::llabs(static_cast<long long>(denominator)) / 2) /
                          std::llabs(static_cast<long long>(denominator));
    long long result = (product < 0) != (denominator < 0) ? -magnitude : magnitude;
    if (result > 0x7FFFFFFF || result < -0x7FFFFFFFLL - 1) {
        return -1;
    }
    return static_cast<int>(result);
}

HDC CreateCompatibleDC(HDC dc) {
    GdiCall call("CreateCompatibleDC");
    if (call.Failed() || (dc != nullptr && !gdi::FindDc(dc))) {
        return nullptr;
    }
    return gdi::AddDc(gdi::MakeDc(DcKind::Memory));
}

HDC CreateDCA(LPCSTR driver, LPCSTR, LPCSTR, const DEVMODEA* deviceMode) {
    GdiCall call("CreateDCA");
    if (call.Failed() || driver == nullptr || deviceMode != nullptr || !EqualNoCase(driver, "DISPLAY")) {
        return nullptr;
    }
    return gdi::AddDc(gdi::MakeDc(DcKind::Display));
}

BOOL DeleteDC(HDC dc) {
    GdiCall call("DeleteDC");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (call.Failed() || !found || (found->kind != DcKind::Memory && found->kind != DcKind::Display)) {
        return FALSE;
    }
    gdi::ReleaseSelections(*found);
    gdi::RemoveDc(dc);
    return TRUE;
}

HDC GetDC(HWND window) {
    GdiCall call("GetDC");
    if (call.Failed() || window != nullptr) {
        return nullptr;
    }
    return gdi::AddDc(gdi::MakeDc(DcKind::Screen));
}

int ReleaseDC(HWND, HDC dc) {
    GdiCall call("ReleaseDC");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (call.Failed() || !found || found->kind != DcKind::Screen) {
        return 0;
    }
    gdi::ReleaseSelections(*found);
    gdi::RemoveDc(dc);
    return 1;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    GdiCall call("SelectObject");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    std::shared_ptr<gdi::GdiObject> selected = gdi::FindObject(object);
    if (call.Failed() || !found || !selected) {
        return nullptr;
    }
    if (auto font = std::dynamic_pointer_cast<gdi::GdiFont>(selected)) {
        return gdi::Reselect(found->font, object, std::move(font));
    }
    if (auto brush = std::dynamic_pointer_cast<gdi::GdiBrush>(selected)) {
        return gdi::Reselect(found->brush, object, std::move(brush));
    }
    if (auto region = std::dynamic_pointer_cast<gdi::GdiRegion>(selected)) {
        return SelectRegion(*found, region.get());
    }
    auto bitmap = std::dynamic_pointer_cast<gdi::GdiBitmap>(selected);
    // Every new memory DC holds the one stock bitmap, so it is never selected elsewhere.
    bool selectedElsewhere = !bitmap->stock && bitmap->selections > 0 && found->bitmap.object != bitmap;
    if (!found->TakesBitmaps() || selectedElsewhere) {
        return nullptr;
    }
    return gdi::Reselect(found->bitmap, object, std::move(bitmap));
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiCall call("DeleteObject");
    std::shared_ptr<gdi::GdiObject> found = gdi::FindObject(object);
    if (call.Failed() || !found) {
        return FALSE;
    }
    if (found->stock) {
        return TRUE;
    }
    if (found->selections > 0) {
        return FALSE;
    }
    gdi::RemoveObject(object);
    return TRUE;
}

int SetMapMode(HDC dc, int mode) {
    GdiCall call("SetMapMode");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (call.Failed() || !found || mode != MM_TEXT) {
        return 0;
    }
    return std::exchange(found->mapMode, mode);
}

int SetBkMode(HDC dc, int mode) {
    GdiCall call("SetBkMode");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (call.Failed() || !found || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    return std::exchange(found->backgroundMode, mode);
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    return SetColor("SetBkColor", dc, color, &gdi::GdiDeviceContext::backgroundColor);
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return SetColor("SetTextColor", dc, color, &gdi::GdiDeviceContext::textColor);
}

UINT SetTextAlign(HDC dc, UINT align) {
    GdiCall call("SetTextAlign");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (call.Failed() || !found) {
        return GDI_ERROR;
    }
    return std::exchange(found->textAlign, align);
}

int SetTextCharacterExtra(HDC dc, int extra) {
    GdiCall call("SetTextCharacterExtra");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (call.Failed() || !found || std::abs(static_cast<long long>(extra)) > gdi::kLargestCoordinate) {
        return static_cast<int>(0x80000000u);
    }
    return std::exchange(found->characterExtra, extra);
}

BOOL SetTextJustification(HDC dc, int breakExtra, int breakCount) {
    GdiCall call("SetTextJustification");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (call.Failed() || !found || std::abs(static_cast<long long>(breakExtra)) > gdi::kLargestCoordinate) {
        return FALSE;
    }
    found->breakExtra = breakCount > 0 ? breakExtra : 0;
    found->breakCount = std::max(0, breakCount);
    return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
    GdiCall call("GetDeviceCaps");
    if (call.Failed() || !gdi::FindDc(dc)) {
        return 0;
    }
    return index == LOGPIXELSX || index == LOGPIXELSY ? kScreenDpi : 0;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    GdiCall call("CreateRectRgn");
    if (call.Failed()) {
        return nullptr;
    }
    auto region = std::make_shared<gdi::GdiRegion>();
    region->rect =
        RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    return static_cast<HRGN>(gdi::AddObject(std::move(region)));
}

int GetClipRgn(HDC dc, HRGN region) {
    GdiCall call("GetClipRgn");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    std::shared_ptr<gdi::GdiRegion> target = gdi::FindObjectAs<gdi::GdiRegion>(region);
    if (call.Failed() || !found || !target) {
        return -1;
    }
    if (!found->clip) {
        return 0;
    }
    target->rect = *found->clip;
    return 1;
}

int SelectClipRgn(HDC dc, HRGN region) {
    GdiCall call("SelectClipRgn");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    std::shared_ptr<gdi::GdiRegion> source = gdi::FindObjectAs<gdi::GdiRegion>(region);
    if (call.Failed() || !found || (region != nullptr && !source)) {
        return ERROR;
    }
    return static_cast<int>(reinterpret_cast<std::intptr_t>(SelectRegion(*found, source.get())));
}

} // namespace win32
