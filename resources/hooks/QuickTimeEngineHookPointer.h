// The process-wide pointer to the installed QuickTime engine hook, kept beside the other hooks so that the
// graphic engines can ask whether QuickTime is started (and give their windows a QuickTime port) without
// knowing the movie engines. Non-null while the hook is installed; the hook sets and clears it.
#pragma once

namespace Vemo {

class QuickTimeEngineHook;

extern QuickTimeEngineHook* g_installedQuickTimeEngineHook;

} // namespace Vemo
