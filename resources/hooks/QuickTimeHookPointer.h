// The process-wide pointer to the installed QuickTime engine hook, kept here beside the other hooks so that
// code below the movie engines (a viewport giving its window a QuickTime port) can ask whether QuickTime is
// started without knowing the hook's class. Only the hook itself sets it.
#pragma once

namespace Vemo {

class QuickTimeEngineHook;

class QuickTimeHookPointer {
public:
    // Non-null while a hook is installed: from the start of its start-up until it is removed.
    static QuickTimeEngineHook* Installed();

private:
    friend class QuickTimeEngineHook;

    static void Set(QuickTimeEngineHook* hook);
};

} // namespace Vemo
