#include "platform/testing/WindowsVersion.h"

namespace platform::testing {

WindowsVersionOverride::WindowsVersionOverride(win32::seam::WindowsFamily family)
    : m_previous(win32::seam::OverrideWindowsFamily(family)) {}

WindowsVersionOverride::~WindowsVersionOverride() {
    win32::seam::OverrideWindowsFamily(m_previous);
}

} // namespace platform::testing
