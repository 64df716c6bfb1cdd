#include "platform/testing/GdiTesting.h"

#include "platform/win32/gdi/FontCatalog.h"
#include "platform/win32/gdi/GdiState.h"

#include <algorithm>
#include <filesystem>

namespace win32::testing {

bool FailGdiCall(std::string_view call, int times, int skip) {
    return gdi::FailCall(call, times, skip);
}

void ClearGdiFailures() {
    gdi::ClearFailures();
}

bool AddFontFile(const std::string& path) {
    gdi::GdiCall lock("AddFontFile");
    return gdi::AddFontFile(path);
}

void RemoveAddedFontFiles() {
    gdi::GdiCall lock("RemoveAddedFontFiles");
    gdi::RemoveAddedFontFiles();
}

std::string FixtureFontPath(std::string_view file) {
    return (std::filesystem::path(VEMO_SOURCE_DIR) / "platform" / "tests" / "fixtures" / "fonts" / file).string();
}

bool ReadLogFont(HFONT font, LOGFONTA& out) {
    gdi::GdiCall lock("ReadLogFont");
    const std::shared_ptr<gdi::GdiFont> found = gdi::FindObjectAs<gdi::GdiFont>(font);
    if (!found) {
        return false;
    }
    out = found->logFont;
    return true;
}

std::size_t LiveGdiObjects() {
    return gdi::LiveObjectHandles().size();
}

std::size_t LiveDeviceContexts() {
    return gdi::LiveDcHandles().size();
}

GdiHandles LiveGdiHandles() {
    return GdiHandles{gdi::LiveObjectHandles(), gdi::LiveDcHandles()};
}

void DeleteGdiHandlesSince(const GdiHandles& earlier) {
    gdi::ClearFailures();
    for (HDC dc : gdi::LiveDcHandles()) {
        if (std::ranges::find(earlier.deviceContexts, dc) == earlier.deviceContexts.end() && !DeleteDC(dc)) {
            ReleaseDC(nullptr, dc);
        }
    }
    for (HGDIOBJ object : gdi::LiveObjectHandles()) {
        if (std::ranges::find(earlier.objects, object) == earlier.objects.end()) {
            DeleteObject(object);
        }
    }
}

} // namespace win32::testing
