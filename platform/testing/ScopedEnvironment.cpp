#include "platform/testing/ScopedEnvironment.h"

#include <cstdlib>

namespace platform::testing {

namespace {

void Put(const std::string& name, const char* value) {
    if (value != nullptr) {
        setenv(name.c_str(), value, 1);
    } else {
        unsetenv(name.c_str());
    }
}

} // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : m_name(name) {
    if (const char* previous = std::getenv(name)) {
        m_previous = previous;
    }
    Put(m_name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    Put(m_name, m_previous ? m_previous->c_str() : nullptr);
}

void ScopedEnvironment::Set(const char* value) {
    Put(m_name, value);
}

} // namespace platform::testing
