// Kernel regions: the stretches of our kernel-object code that hold a host lock or a counted reference.
//
// TerminateThread cuts a thread out of whatever it is doing (a signal whose handler jumps back to the
// thread's start) and SuspendThread parks a thread in a signal handler wherever it is. Either, striking while
// the thread holds the host lock of a mutex, a critical section or the handle table, would leave that object
// half-changed or locked for every other thread. Inside a region both are held back: a suspension is
// acknowledged at once but parks the thread as it leaves its outermost region, and a termination takes effect
// there. A thread that waits inside a region (on a mutex, thread, process or critical section) is woken by
// its termination.
//
// Every public call runs its whole body, and every object it holds a counted reference to, inside one
// outermost region, so that a termination taking effect as the region ends skips nothing that owns a
// resource.
//
// Internal to the platform layer; the runtime never sees it.
#pragma once

#include <type_traits>

namespace win32::detail {

class WaitableObject;

void EnterKernelRegion();
void LeaveKernelRegion();
// Async-signal-safe.
bool IsInKernelRegion();

template <class Body>
auto RunInKernelRegion(Body&& body) -> decltype(body()) {
    using Result = decltype(body());
    static_assert(std::is_void_v<Result> || std::is_trivially_destructible_v<Result>,
                  "a termination at the end of the region would skip the result's destructor");
    EnterKernelRegion();
    try {
        if constexpr (std::is_void_v<Result>) {
            body();
            LeaveKernelRegion();
        } else {
            Result result = body();
            LeaveKernelRegion();
            return result;
        }
    } catch (...) {
        LeaveKernelRegion();
        throw;
    }
}

// Defined with the threads (Thread.cpp).

// Called as the calling thread leaves its outermost region: ends a terminated thread, parks a suspended one.
void AfterOutermostKernelRegion();
// Brackets a wait on the object's condition so that TerminateThread can wake the waiting thread; called
// without the object's lock held.
void BeginTerminableWait(WaitableObject* object);
void EndTerminableWait();
// True when the calling thread has been terminated and must stop waiting.
bool TerminationRequested();

} // namespace win32::detail
