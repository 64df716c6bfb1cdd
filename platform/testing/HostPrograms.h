// Test-only: the host programs a test lets CreateProcessA start. The product starts none (a title's programs
// are Windows programs), so a test that starts a helper script, a tool on PATH or this test program again
// names each one here.
#pragma once

#include <string>
#include <vector>

namespace win32::testing {

// While it exists, CreateProcessA may start these programs: host paths (links followed when compared), or
// names without '/' looked for on the host's PATH.
class AllowedHostPrograms {
public:
    explicit AllowedHostPrograms(std::vector<std::string> programs);
    ~AllowedHostPrograms();
    AllowedHostPrograms(const AllowedHostPrograms&) = delete;
    AllowedHostPrograms& operator=(const AllowedHostPrograms&) = delete;

private:
    std::vector<std::string> m_programs;
};

} // namespace win32::testing
