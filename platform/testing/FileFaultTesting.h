// Test-only failures of the file calls: while one of these exists, every WriteFile, FlushFileBuffers or
// MoveFileExA (the kind it was made for) fails with the error given and changes nothing. Writes may first let
// some bytes through, so that a file is left written in part, as on a disk that fills up meanwhile.
#pragma once

#include "platform/win32/LastError.h"
#include "platform/win32/files/FileFaults.h"

#include <cstdint>

namespace win32::testing {

class FailingFileCalls {
public:
    // passing: the bytes that the writes put, counted over all of them, before the first one fails.
    explicit FailingFileCalls(FileFault fault, DWORD error = ERROR_DISK_FULL, std::uint64_t passing = 0);
    ~FailingFileCalls();
    FailingFileCalls(const FailingFileCalls&) = delete;
    FailingFileCalls& operator=(const FailingFileCalls&) = delete;

    // The calls that failed so far.
    unsigned Failures() const;

private:
    FileFault m_fault;
};

} // namespace win32::testing
