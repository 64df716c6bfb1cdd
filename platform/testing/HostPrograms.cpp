#include "platform/testing/HostPrograms.h"

#include "platform/win32/kernel/HostProgram.h"

#include <utility>

namespace win32::testing {

AllowedHostPrograms::AllowedHostPrograms(std::vector<std::string> programs) : m_programs(std::move(programs)) {
    for (const std::string& program : m_programs) {
        detail::AllowHostProgram(program);
    }
}

AllowedHostPrograms::~AllowedHostPrograms() {
    for (const std::string& program : m_programs) {
        detail::ForbidHostProgram(program);
    }
}

} // namespace win32::testing
