// Test-only code page: makes the emulated machine use another ANSI code page for the object's life.
#pragma once

#include "platform/win32/CodePage.h"

namespace win32::testing {

class ScopedCodePage {
public:
    explicit ScopedCodePage(UINT codePage) { seam::OverrideCodePage(codePage); }
    ~ScopedCodePage() { seam::OverrideCodePage(0); }
    ScopedCodePage(const ScopedCodePage&) = delete;
    ScopedCodePage& operator=(const ScopedCodePage&) = delete;
};

} // namespace win32::testing
