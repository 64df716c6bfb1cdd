#include "resources/hooks/QuickTimeEngineHookPointer.h"

namespace Vemo {

constinit QuickTimeEngineHook* g_installedQuickTimeEngineHook = nullptr;

} // namespace Vemo
