// Test-only file searches: lists "." and ".." after every other entry for the object's life, as a host may.
#pragma once

#include "platform/win32/files/Find.h"

namespace win32::testing {

class DotEntriesLast {
public:
    DotEntriesLast() { seam::ListDotEntriesLast(true); }
    ~DotEntriesLast() { seam::ListDotEntriesLast(false); }
    DotEntriesLast(const DotEntriesLast&) = delete;
    DotEntriesLast& operator=(const DotEntriesLast&) = delete;
};

} // namespace win32::testing
