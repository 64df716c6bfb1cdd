// An environment variable set for a test's while, and put back as it was.
#pragma once

#include <cstdlib>
#include <string>

namespace platform::tests {

class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name) {
        const char* previous = std::getenv(name);
        m_had = previous != nullptr;
        m_previous = m_had ? previous : "";
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (m_had) {
            setenv(m_name, m_previous.c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    bool m_had = false;
    std::string m_previous;
};

} // namespace platform::tests
