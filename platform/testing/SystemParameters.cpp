#include "platform/testing/SystemParameters.h"

#include "platform/win32/registry/SystemParameters.h"

namespace win32::testing {

void ResetSystemParameters() {
    seam::ResetSystemParameters();
}

std::string SessionWallpaper() {
    return seam::SessionWallpaper();
}

} // namespace win32::testing
