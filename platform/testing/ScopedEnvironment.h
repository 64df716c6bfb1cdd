// Test-only: an environment variable set (or removed) for the object's life, for the settings the platform
// reads from the environment at each call (VEMO_OPENER, VEMO_WINDIR, VEMO_QUICKTIME, ...), including those of
// a library the test loads.
#pragma once

#include <optional>
#include <string>

namespace platform::testing {

class ScopedEnvironment {
public:
    // value null removes the variable.
    ScopedEnvironment(const char* name, const char* value);
    // Puts back what was there before.
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // Sets the variable anew (null removes it); the destructor still restores the first value.
    void Set(const char* value);

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

} // namespace platform::testing
