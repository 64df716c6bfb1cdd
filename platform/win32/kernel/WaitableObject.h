// The base of every kernel object a wait can be satisfied on (mutexes, threads, processes).
//
// Each object keeps its state under one host lock and announces changes on one condition. A wait asks the
// object, under that lock, whether the calling thread may have it now (taking it if so); otherwise it sleeps
// until the object announces a change, the timeout passes, or, for objects that depend on another process,
// the next poll is due. Timeouts always run on the host's real monotonic clock, never on a test clock.
//
// Internal to the platform layer; the runtime reaches waits through WaitForSingleObject.
#pragma once

#include "platform/win32/HandleTable.h"

#include <pthread.h>

namespace win32::detail {

enum class Acquisition {
    Acquired,
    Abandoned,  // acquired, but the previous owner ended without releasing it
    NotYet,     // wait for the object's next change
    NotYetPoll, // the object also waits on something outside this process: look again shortly
};

class WaitableObject : public KernelObject {
public:
    WaitableObject();
    ~WaitableObject() override;
    WaitableObject(const WaitableObject&) = delete;
    WaitableObject& operator=(const WaitableObject&) = delete;

    bool IsWaitable() const override { return true; }

    // WAIT_OBJECT_0, WAIT_ABANDONED or WAIT_TIMEOUT; WAIT_FAILED when the waiting thread is being terminated.
    DWORD Wait(DWORD milliseconds);

    // Wakes every thread waiting on the object so that it looks at its state again.
    void WakeAll();

protected:
    // Holds the object's lock for a scope. Only inside a kernel region.
    class StateLock {
    public:
        explicit StateLock(WaitableObject& object);
        ~StateLock();
        StateLock(const StateLock&) = delete;
        StateLock& operator=(const StateLock&) = delete;

    private:
        WaitableObject& m_object;
    };

    // Called with the lock held.
    virtual Acquisition TryAcquireLocked() = 0;
    void AnnounceChangeLocked();

private:
    DWORD WaitLocked(DWORD milliseconds);

    pthread_mutex_t m_lock;
    pthread_cond_t m_changed;
};

} // namespace win32::detail
