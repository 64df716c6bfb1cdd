// Waits, mutexes, critical sections and Sleep.
//
// Mutexes are recursive for the owning thread and are released only by it. A mutex whose owning thread ends
// without releasing it is abandoned: the next wait is granted ownership and returns WAIT_ABANDONED.
//
// A named mutex is one object per name within the process. Across processes its ownership is an exclusive
// flock on a lock file (in $XDG_RUNTIME_DIR, else /tmp), so another process sees it held; while a process has
// the name open it also holds a shared record lock on the file's first byte, which is how CreateMutexA learns
// that another process already has the name (ERROR_ALREADY_EXISTS). The last process to close the name
// removes the file; one that ends without closing it leaves the file behind for the next user of the name. A
// process that dies while owning a named mutex releases its flock with it; other processes then acquire it
// with WAIT_OBJECT_0, since the host cannot tell them why.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// Waits on a mutex, thread or process handle; the timeout runs on the host's real clock. WAIT_FAILED with
// ERROR_INVALID_HANDLE for a handle that is not open or cannot be waited on.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// A null or empty name makes an unnamed mutex. For a name that already existed the existing mutex is
// returned, the initial ownership is not granted and the last error is ERROR_ALREADY_EXISTS; otherwise
// ERROR_SUCCESS.
HANDLE CreateMutexA(const SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, LPCSTR name);
// FALSE with ERROR_NOT_OWNER when the calling thread does not own the mutex.
BOOL ReleaseMutex(HANDLE mutex);

// Recursive for the owning thread, as on Windows. A section left by a thread that does not own it is
// unchanged. The record is initialised in place and must not be copied or moved while initialised.
struct CRITICAL_SECTION {
    void* LockSemaphore; // the host lock behind the section
};

void InitializeCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
BOOL TryEnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);

// Sleeps on the process clock (see Time.h): Sleep(0) gives up the rest of the time slice; INFINITE never
// returns.
void Sleep(DWORD milliseconds);

} // namespace win32
