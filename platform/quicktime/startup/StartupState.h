// QuickTime's start-up state, kept apart from the movie layer: the start-up counts, the version setting, the
// failures tests ask for, and the one lock that guards the whole layer. A program that only asks which
// QuickTime the machine has (the Corvintale library) links this part alone, and so none of the libraries that
// movies, sound and windows need. The movie layer links it and registers what the last StopQTML must close.
// Internal to the layer.
#pragma once

#include "platform/quicktime/Types.h"

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace qt::detail {

struct InjectedFailure {
    OSErr code = 0;
    bool always = false;
};

class StartupState {
public:
    static StartupState& Instance();

    // Recursive: the movie layer's null sink renders, under the lock, from calls that hold it already.
    std::recursive_mutex& Lock() { return m_lock; }
    // Serialises start-up and shut-down, as QuickTime's own start-up mutex does; never taken under the lock.
    std::mutex& StartupLock() { return m_startup; }

    int qtmlStarts = 0;
    int movieServicesStarts = 0;
    // The setting that stands for VEMO_QUICKTIME while a test gives one.
    std::optional<std::string> versionOverride;

    // With the lock held. The code a test asked the named call to fail with, once or always.
    std::optional<OSErr> TakeFailure(const char* call);
    void SetFailure(const std::string& call, InjectedFailure failure);
    void ClearFailures();

    // What the last StopQTML closes (nothing to close: an empty function). Called without the lock.
    void SetShutdown(std::function<void()> close);
    void Shutdown();

private:
    StartupState() = default;

    std::recursive_mutex m_lock;
    std::mutex m_startup;
    std::map<std::string, InjectedFailure> m_failures;
    std::mutex m_shutdownLock;
    std::function<void()> m_shutdown;
};

} // namespace qt::detail
