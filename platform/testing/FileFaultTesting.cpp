#include "platform/testing/FileFaultTesting.h"

namespace win32::testing {

FailingFileCalls::FailingFileCalls(FileFault fault, DWORD error, std::uint64_t passing) : m_fault(fault) {
    FileFaults::Arm(fault, error, passing);
}

FailingFileCalls::~FailingFileCalls() {
    FileFaults::Disarm(m_fault);
}

unsigned FailingFileCalls::Failures() const {
    return FileFaults::Failures(m_fault);
}

} // namespace win32::testing
