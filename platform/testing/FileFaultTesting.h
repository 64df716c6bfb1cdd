// Test-only failures of the file calls: while one of these exists, every WriteFile, FlushFileBuffers or
// MoveFileExA (the kind it was made for) fails with the error given and changes nothing.
#pragma once

#include "platform/win32/LastError.h"
#include "platform/win32/files/FileFaults.h"

namespace win32::testing {

class FailingFileCalls {
public:
    explicit FailingFileCalls(FileFault fault, DWORD error = ERROR_DISK_FULL);
    ~FailingFileCalls();
    FailingFileCalls(const FailingFileCalls&) = delete;
    FailingFileCalls& operator=(const FailingFileCalls&) = delete;

private:
    FileFault m_fault;
};

} // namespace win32::testing
