// The GDI layer's one lock and its handle table: fonts, brushes, bitmaps and regions (HGDIOBJ) and DCs (HDC)
// are named by values from one counter, never reused while the process runs, so a stale or mistyped handle is
// found unknown instead of naming another object. Internal to the platform layer.
#pragma once

#include "platform/win32/gdi/GdiDeviceContext.h"
#include "platform/win32/gdi/GdiObject.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace win32::gdi {

// Held for the whole of every GDI call: FreeType and the objects are used from one thread at a time.
// Constructing it also consults the failures a test asked for: Failed() is true when this call is to fail.
class GdiCall {
public:
    explicit GdiCall(std::string_view name);
    bool Failed() const { return m_failed; }

private:
    std::unique_lock<std::mutex> m_lock;
    bool m_failed = false;
};

HGDIOBJ AddObject(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle);
template <class T>
std::shared_ptr<T> FindObjectAs(HGDIOBJ handle) {
    return std::dynamic_pointer_cast<T>(FindObject(handle));
}
void RemoveObject(HGDIOBJ handle);

HDC AddDc(std::shared_ptr<GdiDeviceContext> dc);
std::shared_ptr<GdiDeviceContext> FindDc(HDC handle);
void RemoveDc(HDC handle);

// A new DC of the kind holding the stock font, brush and (for a memory DC) the stock 1x1 monochrome bitmap.
std::shared_ptr<GdiDeviceContext> MakeDc(DcKind kind);
// Drops every selection of a DC that is going away.
void ReleaseSelections(GdiDeviceContext& dc);

// Selects into the slot, keeping the selection counts; answers the previous handle.
template <class T>
HGDIOBJ Reselect(Selection<T>& slot, HGDIOBJ handle, std::shared_ptr<T> object) {
    HGDIOBJ previous = slot.handle;
    if (slot.object) {
        --slot.object->selections;
    }
    if (object) {
        ++object->selections;
    }
    slot.handle = handle;
    slot.object = std::move(object);
    return previous;
}

// The handles of the live objects (stock objects aside) and of the live DCs. These two take the lock
// themselves: they are called outside any GDI call.
std::vector<HGDIOBJ> LiveObjectHandles();
std::vector<HDC> LiveDcHandles();

// Test seam: the named call fails `times` times (negative: until cleared) after `skip` calls that succeed.
// False for a name that is not a GDI call of this layer.
bool FailCall(std::string_view name, int times, int skip);
void ClearFailures();

} // namespace win32::gdi
