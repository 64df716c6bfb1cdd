// What the host says a thread of this process is doing, so that a test can see a thread blocked in a wait, or
// stopped by SuspendThread, instead of sleeping a while and taking the unchanged result for proof.
#pragma once

#include "platform/win32/Types.h"

#include <chrono>

namespace win32::testing {

enum class ThreadState {
    Gone,    // the thread has ended
    Waiting, // asleep in a wait: every kernel wait, lock and condition variable of the process ends in one
    Parked,  // stopped by SuspendThread
    Other,   // on a processor, ready for one, or in some other call
};

// The state of a thread by its id (GetCurrentThreadId's value).
ThreadState HostThreadState(DWORD threadId);

// Looks again and again until the thread is in the state; false when the limit passes first.
bool WaitForThreadState(DWORD threadId, ThreadState state,
                        std::chrono::milliseconds limit = std::chrono::milliseconds(10000));

} // namespace win32::testing
