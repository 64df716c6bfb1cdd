// A kernel mutex, named or unnamed, that a task and its owner use to guard what they share. Recursive for the
// thread that holds it.
#pragma once

#include "platform/win32/Types.h"

namespace Vemo {

class String;

class Mutex {
public:
    Mutex();
    // Closes the mutex when one was created.
    virtual ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    // A String without text makes an unnamed mutex. Each Mutex is created once: a second Create does not
    // close the first mutex.
    virtual bool Create(const String& name);
    virtual bool Create();
    // Waits for the mutex (without limit when wait is true, not at all otherwise). True when the calling
    // thread now holds it, also when its previous holder ended without releasing it; false on timeout and
    // when the wait failed (no mutex).
    virtual bool Lock(bool wait);
    virtual bool Unlock();
    // True when another thread holds the mutex; a free mutex is taken and given back at once.
    virtual bool IsLocked();

private:
    win32::HANDLE m_handle;
};

} // namespace Vemo
