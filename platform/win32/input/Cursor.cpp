#include "platform/win32/input/Cursor.h"

#include "platform/win32/LastError.h"

#include <cstdint>
#include <map>
#include <mutex>

namespace win32 {

namespace {

constexpr int kCursorSize = 32;

struct CursorObject {
    int width = 0;
    int height = 0;
    POINT hotSpot{};
    bool hidesPointer = false;
};

struct Cursors {
    std::mutex lock;
    std::map<std::uintptr_t, CursorObject> objects;
    std::uintptr_t next = 0x20000;
};

Cursors& TheCursors() {
    static Cursors* cursors = new Cursors;
    return *cursors;
}

// Whether every bit of the picture (rows of whole 16-bit words, the bits past the width not counted) is the
// given value.
bool EveryBitIs(const void* plane, int width, int height, bool set) {
    const auto* bytes = static_cast<const BYTE*>(plane);
    const int rowBytes = (width + 15) / 16 * 2;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const BYTE byte = bytes[static_cast<std::size_t>(y) * rowBytes + x / 8];
            if (((byte >> (7 - x % 8)) & 1) != (set ? 1 : 0)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return kCursorSize;
    default:
        return 0;
    }
}

HCURSOR CreateCursor(HINSTANCE, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane,
                     const void* xorPlane) {
    if (width < 1 || height < 1 || andPlane == nullptr || xorPlane == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    CursorObject cursor{width, height, POINT{xHotSpot, yHotSpot},
                        EveryBitIs(andPlane, width, height, true) &&
                            EveryBitIs(xorPlane, width, height, false)};
    Cursors& cursors = TheCursors();
    std::lock_guard guard(cursors.lock);
    cursors.next += 4;
    cursors.objects.emplace(cursors.next, cursor);
    return reinterpret_cast<HCURSOR>(cursors.next);
}

BOOL DestroyCursor(HCURSOR cursor) {
    Cursors& cursors = TheCursors();
    std::lock_guard guard(cursors.lock);
    if (cursors.objects.erase(reinterpret_cast<std::uintptr_t>(cursor)) == 0) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    return TRUE;
}

bool CursorHidesPointer(HCURSOR cursor) {
    Cursors& cursors = TheCursors();
    std::lock_guard guard(cursors.lock);
    auto found = cursors.objects.find(reinterpret_cast<std::uintptr_t>(cursor));
    return found != cursors.objects.end() && found->second.hidesPointer;
}

} // namespace win32
