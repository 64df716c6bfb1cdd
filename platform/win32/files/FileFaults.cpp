#include "platform/win32/files/FileFaults.h"

#include "platform/win32/LastError.h"

#include <atomic>

namespace win32 {

namespace {

std::atomic<DWORD> g_faults[3];

std::atomic<DWORD>& Slot(FileFault fault) {
    return g_faults[static_cast<int>(fault)];
}

} // namespace

void FileFaults::Arm(FileFault fault, DWORD error) {
    Slot(fault).store(error);
}

void FileFaults::Disarm(FileFault fault) {
    Slot(fault).store(ERROR_SUCCESS);
}

DWORD FileFaults::Armed(FileFault fault) {
    return Slot(fault).load();
}

} // namespace win32
