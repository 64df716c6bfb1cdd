// A platform hook that prepares a platform before engines use it (windows, DirectX, QuickTime). Each hook
// class is a singleton held in a global pointer of its own, installed and removed with the same pattern,
// which the base class offers to its subclasses and follows itself.
#pragma once

#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

class ResourceEngineHook {
public:
    ResourceEngineHook() = default;
    ResourceEngineHook(const ResourceEngineHook&) = delete;
    ResourceEngineHook& operator=(const ResourceEngineHook&) = delete;
    virtual ~ResourceEngineHook();
    virtual bool Startup();
    virtual bool Shutdown();

    // The base class's own singleton.
    static bool Install();
    static bool Uninstall();
    static ResourceEngineHook* Installed();

protected:
    // make() allocates the hook with whatever it needs before Startup. EngineHookErrAlreadyInstalled when one
    // is installed; EngineHookErrStartupFailed when Startup fails, and the hook is deleted again.
    template <class Hook, class Make>
    static bool InstallHook(Hook*& installed, Make make) {
        if (installed != nullptr) {
            RaiseError(EngineHookErrAlreadyInstalled);
            return false;
        }
        installed = make();
        if (!installed->Startup()) {
            RaiseError(EngineHookErrStartupFailed);
            Hook* failed = installed;
            installed = nullptr;
            delete failed;
            return false;
        }
        return true;
    }

    // EngineHookErrNotInstalled without a hook; EngineHookErrShutdownFailed when Shutdown fails, and the hook
    // is deleted all the same.
    template <class Hook>
    static bool UninstallHook(Hook*& installed) {
        if (installed == nullptr) {
            RaiseError(EngineHookErrNotInstalled);
            return false;
        }
        bool result = true;
        if (!installed->Shutdown()) {
            RaiseError(EngineHookErrShutdownFailed);
            result = false;
        }
        // Cleared first, so that nothing reaches the hook while it is being destroyed.
        Hook* removed = installed;
        installed = nullptr;
        delete removed;
        return result;
    }
};

} // namespace Vemo
