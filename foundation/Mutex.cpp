#include "foundation/Mutex.h"

#include "foundation/String.h"
#include "platform/win32/Handle.h"
#include "platform/win32/kernel/Synchronization.h"

namespace Vemo {

Mutex::Mutex() : m_handle(nullptr) {}

Mutex::~Mutex() {
    if (m_handle != nullptr) {
        win32::CloseHandle(m_handle);
    }
}

bool Mutex::Create(const String& name) {
    const win32::HANDLE handle = win32::CreateMutexA(nullptr, win32::FALSE, name.CStr());
    if (handle == nullptr) {
        return false;
    }
    m_handle = handle;
    return true;
}

bool Mutex::Create() {
    const win32::HANDLE handle = win32::CreateMutexA(nullptr, win32::FALSE, nullptr);
    if (handle == nullptr) {
        return false;
    }
    m_handle = handle;
    return true;
}

bool Mutex::Lock(bool wait) {
    const win32::DWORD result = win32::WaitForSingleObject(m_handle, wait ? win32::INFINITE : 0);
    // A failed wait leaves the caller without the mutex: reporting it as taken would let the caller run
    // unguarded.
    return result == win32::WAIT_OBJECT_0 || result == win32::WAIT_ABANDONED;
}

bool Mutex::Unlock() {
    return win32::ReleaseMutex(m_handle) != win32::FALSE;
}

bool Mutex::IsLocked() {
    const win32::DWORD result = win32::WaitForSingleObject(m_handle, 0);
    if (result == win32::WAIT_TIMEOUT) {
        return true;
    }
    if (result == win32::WAIT_OBJECT_0 || result == win32::WAIT_ABANDONED) {
        win32::ReleaseMutex(m_handle);
    }
    return false;
}

} // namespace Vemo
