// Failures that tests ask of the file calls, to see what a full disk or a refused rename leaves behind.
// Internal to the platform layer: platform/testing/FileFaultTesting.h sets them.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

namespace win32 {

enum class FileFault { Write, Flush, Rename };

class FileFaults {
public:
    // While armed, every call of that kind fails with the error given, having changed nothing; only the
    // writes first let passing bytes through, counted over all writes from the arming on, and the write that
    // reaches that count puts its share of them and then fails.
    static void Arm(FileFault fault, DWORD error, std::uint64_t passing = 0);
    static void Disarm(FileFault fault);
    // The error an armed call fails with (counted as one failure), or ERROR_SUCCESS.
    static DWORD Armed(FileFault fault);
    // How many of count bytes a write may still put before its armed failure: count when nothing is armed.
    static DWORD Passing(DWORD count);
    // The failures made since the fault was last armed.
    static unsigned Failures(FileFault fault);
};

} // namespace win32
