#include "foundation/Task.h"

#include "platform/win32/Handle.h"
#include "platform/win32/kernel/Debug.h"
#include "platform/win32/kernel/Thread.h"

namespace Vemo {

namespace {

constexpr std::uintptr_t kThreadStartFailed = static_cast<std::uintptr_t>(-1);
constexpr win32::DWORD kFailedCount = 0xFFFFFFFF;
constexpr win32::DWORD kTerminatedExitCode = 0xFFFFFFFF;

int Win32PriorityFor(std::int8_t priority) {
    if (priority < -64) {
        return win32::THREAD_PRIORITY_IDLE;
    }
    if (priority < -16) {
        return win32::THREAD_PRIORITY_LOWEST;
    }
    if (priority < -4) {
        return win32::THREAD_PRIORITY_BELOW_NORMAL;
    }
    if (priority < 4) {
        return win32::THREAD_PRIORITY_NORMAL;
    }
    if (priority < 16) {
        return win32::THREAD_PRIORITY_ABOVE_NORMAL;
    }
    if (priority < 64) {
        return win32::THREAD_PRIORITY_HIGHEST;
    }
    return win32::THREAD_PRIORITY_TIME_CRITICAL;
}

std::int8_t TaskPriorityFor(int win32Priority) {
    switch (win32Priority) {
    case win32::THREAD_PRIORITY_IDLE:
        return -128;
    case win32::THREAD_PRIORITY_LOWEST:
        return -64;
    case win32::THREAD_PRIORITY_BELOW_NORMAL:
        return -16;
    case win32::THREAD_PRIORITY_ABOVE_NORMAL:
        return 15;
    case win32::THREAD_PRIORITY_HIGHEST:
        return 63;
    case win32::THREAD_PRIORITY_TIME_CRITICAL:
        return 127;
    default:
        return 0;
    }
}

} // namespace

Task::Task() : m_threadHandle(nullptr), m_threadId(0), m_result(0) {}

Task::~Task() {
    const win32::HANDLE handle = m_threadHandle.load();
    if (handle == nullptr) {
        return;
    }
    win32::OutputDebugStringA("This should not happen. Look at timing issues.\n");
    // Returns once the thread has stopped, so nothing of this task is touched after the destructor.
    win32::TerminateThread(handle, kTerminatedExitCode);
    win32::CloseHandle(handle);
    m_threadHandle.store(nullptr);
    m_threadId.store(0);
    m_result.store(0);
}

bool Task::Start() {
    // A second thread would share the task's fields with the first, and the first thread's end would clear
    // the second's handle.
    if (IsStarted()) {
        return false;
    }
    const std::uintptr_t thread = win32::_beginthread(&Task::ThreadProcedure, 0, this);
    if (thread == kThreadStartFailed) {
        return false;
    }
    m_threadHandle.store(reinterpret_cast<win32::HANDLE>(thread));
    m_threadHandle.notify_all();
    return true;
}

std::uint32_t Task::GetThreadId() const {
    return m_threadId.load();
}

bool Task::SetPriority(std::int8_t priority) {
    return win32::SetThreadPriority(m_threadHandle.load(), Win32PriorityFor(priority)) != win32::FALSE;
}

std::int8_t Task::GetPriority() const {
    return TaskPriorityFor(win32::GetThreadPriority(m_threadHandle.load()));
}

bool Task::Suspend() {
    if (win32::SuspendThread(m_threadHandle.load()) == kFailedCount) {
        return false;
    }
    OnSuspended();
    return true;
}

bool Task::Resume() {
    if (win32::ResumeThread(m_threadHandle.load()) == kFailedCount) {
        return false;
    }
    OnResumed();
    return true;
}

bool Task::IsStarted() const {
    return m_threadHandle.load() != nullptr;
}

std::uint8_t Task::GetResult() const {
    return m_result.load();
}

void Task::OnThreadStart() {}

void Task::OnThreadEnd() {}

void Task::OnSuspended() {}

void Task::OnResumed() {}

std::uint8_t Task::Run() {
    return 1;
}

void Task::ThreadProcedure(void* argument) {
    if (argument == nullptr) {
        return;
    }
    Task* task = static_cast<Task*>(argument);
    // Start stores the handle only after _beginthread has returned; waiting for it here makes the clearing
    // below the last write to the handle, however quickly Run returns.
    task->m_threadHandle.wait(nullptr);
    task->m_threadId.store(win32::GetCurrentThreadId());
    task->OnThreadStart();
    task->m_result.store(task->Run());
    task->OnThreadEnd();
    task->m_threadId.store(0);
    // From here on the owner may destroy the task.
    task->m_threadHandle.store(nullptr);
    win32::_endthread();
}

} // namespace Vemo
