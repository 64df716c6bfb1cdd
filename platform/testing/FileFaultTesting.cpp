#include "platform/testing/FileFaultTesting.h"

namespace win32::testing {

FailingFileCalls::FailingFileCalls(FileFault fault, DWORD error) : m_fault(fault) {
    FileFaults::Arm(fault, error);
}

FailingFileCalls::~FailingFileCalls() {
    FileFaults::Disarm(m_fault);
}

} // namespace win32::testing
