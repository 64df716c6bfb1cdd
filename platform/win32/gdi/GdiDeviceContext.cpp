#include "platform/win32/gdi/GdiDeviceContext.h"

namespace win32::gdi {

std::optional<GdiBitmapTarget> GdiDeviceContext::DrawingTarget() const {
    switch (kind) {
    case DcKind::Memory:
        if (bitmap.object) {
            return bitmap.object->target;
        }
        return std::nullopt;
    case DcKind::Surface:
        return surface;
    default:
        return std::nullopt;
    }
}

} // namespace win32::gdi
