// Failures that tests ask of the file calls, to see what a full disk or a refused rename leaves behind.
// Internal to the platform layer: platform/testing/FileFaultTesting.h sets them.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

enum class FileFault { Write, Flush, Rename };

class FileFaults {
public:
    // While armed, every call of that kind fails with the error given, having changed nothing.
    static void Arm(FileFault fault, DWORD error);
    static void Disarm(FileFault fault);
    // The error an armed call fails with, or ERROR_SUCCESS.
    static DWORD Armed(FileFault fault);
};

} // namespace win32
