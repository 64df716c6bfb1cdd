// Test-only: the permission bits that this process takes away from the files it creates (the host's umask),
// set for as long as one of these exists.
#pragma once

namespace win32::testing {

class CreationMask {
public:
    explicit CreationMask(unsigned mask);
    ~CreationMask();
    CreationMask(const CreationMask&) = delete;
    CreationMask& operator=(const CreationMask&) = delete;

private:
    unsigned m_previous;
};

} // namespace win32::testing
