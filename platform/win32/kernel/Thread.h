// Threads: the C runtime's thread start and end, and the kernel calls on thread handles.
//
// A thread handle is waitable and becomes signalled when the thread has ended (after the mutexes it still
// owned have been abandoned). As with the C runtime on Windows, the handle that _beginthread returns is
// closed by the thread's own end, on return from its procedure or through _endthread; its owner must not
// close it, and after the end the handle is invalid. A thread ended by TerminateThread keeps its handle open
// for the caller to close.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

namespace win32 {

constexpr int THREAD_PRIORITY_IDLE = -15;
constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;

// Starts procedure(argument) on a new thread; stackSize 0 takes the default. Returns the thread's handle, or
// all-ones (with errno set) when no thread could be started.
std::uintptr_t _beginthread(void (*procedure)(void*), unsigned stackSize, void* argument);
// Ends the calling thread at once, as a return from its procedure would; frames in between are abandoned, not
// unwound.
[[noreturn]] void _endthread();

// The host's id of the calling thread: never 0, unique among running threads.
DWORD GetCurrentThreadId();

// The host's id of this process: unique among running processes.
DWORD GetCurrentProcessId();

// Only the seven THREAD_PRIORITY_* values are accepted. The value is kept with the thread and read back by
// GetThreadPriority; the host scheduler is asked for a matching nice value as far as this process may
// (lowering works, raising needs privileges).
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);

// Suspend counts as on Windows: each call returns the previous count, 0xFFFFFFFF on failure. When
// SuspendThread returns, the thread runs none of its own code until the count is back to 0. Only threads
// started by _beginthread can be suspended.
DWORD SuspendThread(HANDLE thread);
DWORD ResumeThread(HANDLE thread);

// Ends a thread started by _beginthread. See the definition for how, and what it cannot clean up.
BOOL TerminateThread(HANDLE thread, DWORD exitCode);

} // namespace win32
