// A critical section embedded in its owner, living exactly as long as the owner. Recursive for the thread
// that holds it.
#pragma once

#include "platform/win32/kernel/Synchronization.h"

namespace Vemo {

class CriticalSection {
public:
    CriticalSection();
    virtual ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { win32::EnterCriticalSection(&m_section); }
    void Leave() { win32::LeaveCriticalSection(&m_section); }

private:
    win32::CRITICAL_SECTION m_section;
};

} // namespace Vemo
