#include "platform/testing/ProcessIds.h"

#include <sys/wait.h>
#include <unistd.h>

namespace win32::testing {

DWORD EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return static_cast<DWORD>(child);
}

DWORD OtherRunningProcessId() {
    return static_cast<DWORD>(::getppid());
}

} // namespace win32::testing
