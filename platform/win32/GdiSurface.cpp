#include "platform/win32/GdiSurface.h"

#include <cstdint>
#include <map>
#include <mutex>

namespace win32 {

namespace {

// The contexts made and the memory each one draws into. Nothing draws into it here: drawing is the GDI
// layer's, which takes these two calls over.
struct Contexts {
    std::mutex lock;
    std::map<HDC, GdiBitmapTarget> targets;
    std::uintptr_t next = 0x7D000;
};

Contexts& TheContexts() {
    static Contexts* contexts = new Contexts;
    return *contexts;
}

} // namespace

HDC CreateDCOverBitmap(const GdiBitmapTarget& target) {
    Contexts& contexts = TheContexts();
    std::lock_guard guard(contexts.lock);
    HDC context = reinterpret_cast<HDC>(contexts.next);
    contexts.next += 4;
    contexts.targets.emplace(context, target);
    return context;
}

void DestroyDCOverBitmap(HDC context) {
    Contexts& contexts = TheContexts();
    std::lock_guard guard(contexts.lock);
    contexts.targets.erase(context);
}

} // namespace win32
