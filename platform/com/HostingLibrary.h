// The hosting library's state, for platform/testing. Internal to the platform layer.
#pragma once

namespace com::detail {

// AtlAxWinInit calls not yet undone by AtlAxWinTerm.
int HostingStarts();
// Whether "AtlAxWin" is registered by the library.
bool HostClassRegistered();

} // namespace com::detail
