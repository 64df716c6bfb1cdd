// Test-only access to the session's desktop settings (platform/win32/registry/SystemParameters.h).
#pragma once

#include <string>

namespace win32::testing {

// Forgets the session's settings: the next call takes them from the registry store again.
void ResetSystemParameters();
// The session's wallpaper (empty: none), taken from the registry store when the session has not begun.
std::string SessionWallpaper();

} // namespace win32::testing
