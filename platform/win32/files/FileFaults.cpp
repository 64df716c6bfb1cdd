#include "platform/win32/files/FileFaults.h"

#include "platform/win32/LastError.h"

#include <algorithm>
#include <atomic>

namespace win32 {

namespace {

struct Slot {
    std::atomic<DWORD> error{ERROR_SUCCESS};
    std::atomic<std::uint64_t> passing{0};
    std::atomic<unsigned> failures{0};
};

Slot g_faults[3];

Slot& SlotOf(FileFault fault) {
    return g_faults[static_cast<int>(fault)];
}

} // namespace

void FileFaults::Arm(FileFault fault, DWORD error, std::uint64_t passing) {
    Slot& slot = SlotOf(fault);
    slot.passing.store(passing);
    slot.failures.store(0);
    slot.error.store(error);
}

void FileFaults::Disarm(FileFault fault) {
    SlotOf(fault).error.store(ERROR_SUCCESS);
}

DWORD FileFaults::Armed(FileFault fault) {
    Slot& slot = SlotOf(fault);
    const DWORD error = slot.error.load();
    if (error == ERROR_SUCCESS || slot.passing.load() != 0) {
        return ERROR_SUCCESS;
    }
    slot.failures.fetch_add(1);
    return error;
}

DWORD FileFaults::Passing(DWORD count) {
    Slot& slot = SlotOf(FileFault::Write);
    if (slot.error.load() == ERROR_SUCCESS) {
        return count;
    }
    const std::uint64_t left = slot.passing.load();
    const auto passed = static_cast<DWORD>(std::min<std::uint64_t>(left, count));
    slot.passing.store(left - passed);
    return passed;
}

unsigned FileFaults::Failures(FileFault fault) {
    return SlotOf(fault).failures.load();
}

} // namespace win32
