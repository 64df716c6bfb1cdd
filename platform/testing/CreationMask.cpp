#include "platform/testing/CreationMask.h"

#include <sys/stat.h>

namespace win32::testing {

CreationMask::CreationMask(unsigned mask) : m_previous(::umask(static_cast<mode_t>(mask))) {}

CreationMask::~CreationMask() {
    ::umask(static_cast<mode_t>(m_previous));
}

} // namespace win32::testing
