#include "platform/win32/KernelRegion.h"

#include <atomic>

namespace win32::detail {

namespace {
// Constant-initialised and trivially destructible: the signal handlers read it.
thread_local std::atomic<int> t_depth{0};
} // namespace

void EnterKernelRegion() {
    t_depth.fetch_add(1);
}

void LeaveKernelRegion() {
    // Decrement first: a signal arriving after it acts at once, one arriving before it was deferred and is
    // handled below.
    if (t_depth.fetch_sub(1) == 1) {
        AfterOutermostKernelRegion();
    }
}

bool IsInKernelRegion() {
    return t_depth.load() > 0;
}

} // namespace win32::detail
