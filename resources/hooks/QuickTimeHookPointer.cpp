#include "resources/hooks/QuickTimeHookPointer.h"

namespace Vemo {

namespace {

constinit QuickTimeEngineHook* g_installedHook = nullptr;

} // namespace

QuickTimeEngineHook* QuickTimeHookPointer::Installed() {
    return g_installedHook;
}

void QuickTimeHookPointer::Set(QuickTimeEngineHook* hook) {
    g_installedHook = hook;
}

} // namespace Vemo
