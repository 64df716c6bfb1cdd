// The framework's thread: an object whose Run is executed on a thread of its own.
//
// A subclass overrides Run (and, if it wants, the four hooks); the owner starts it, may change its priority,
// suspend and resume it, and reads the byte Run returned once IsStarted has turned false. Owners stop their
// task's work and wait for its thread to end before destroying it; destroying a task whose thread still runs
// stops the thread by force as a last resort.
//
// Priorities run from -128 (lowest) through 0 (normal) to 127 (highest) and map onto the seven Windows thread
// priorities in bands: below -64 idle, to -16 lowest, to -4 below normal, to 3 normal, to 15 above normal, to
// 63 highest, from 64 time critical. GetPriority reads back the top of the band: -128, -64, -16, 0, 15, 63 or
// 127.
#pragma once

#include "platform/win32/Types.h"

#include <atomic>
#include <cstdint>

namespace Vemo {

class Task {
public:
    Task();
    virtual ~Task();
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;

    // False when the thread cannot be started, or while the task's thread still runs.
    virtual bool Start();
    // 0 while no thread runs.
    virtual std::uint32_t GetThreadId() const;
    virtual bool SetPriority(std::int8_t priority);
    // 0 when the task has no thread.
    virtual std::int8_t GetPriority() const;
    virtual bool Suspend();
    virtual bool Resume();
    // True from a successful Start until the thread has stored its result and is about to end.
    virtual bool IsStarted() const;
    // Run's result from the last run; 0 before the first.
    virtual std::uint8_t GetResult() const;

    // On the task's thread, before and after Run.
    virtual void OnThreadStart();
    virtual void OnThreadEnd();
    // On the caller's thread, after a successful Suspend or Resume.
    virtual void OnSuspended();
    virtual void OnResumed();

    // The thread's work.
    virtual std::uint8_t Run();

private:
    static void ThreadProcedure(void* argument);

    // Written by the task's thread and read by its owner's, so each is atomic. The handle is stored by Start
    // before the thread's procedure may begin, and cleared by the thread as its last access to the task.
    std::atomic<win32::HANDLE> m_threadHandle;
    std::atomic<std::uint32_t> m_threadId;
    std::atomic<std::uint8_t> m_result;
};

} // namespace Vemo
