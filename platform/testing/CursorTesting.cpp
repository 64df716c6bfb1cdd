#include "platform/testing/CursorTesting.h"

#include "platform/win32/windows/WindowSystem.h"

namespace win32::testing {

bool PointerHidden() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.pointerHidden;
}

} // namespace win32::testing
