#include "foundation/CriticalSection.h"

namespace Vemo {

CriticalSection::CriticalSection() {
    win32::InitializeCriticalSection(&m_section);
}

CriticalSection::~CriticalSection() {
    win32::DeleteCriticalSection(&m_section);
}

} // namespace Vemo
