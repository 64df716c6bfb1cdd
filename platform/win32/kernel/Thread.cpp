#include "platform/win32/kernel/Thread.h"

#include "platform/win32/HandleTable.h"
#include "platform/win32/KernelRegion.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/MutexOwnership.h"
#include "platform/win32/kernel/WaitableObject.h"

#include <limits.h>
#include <linux/futex.h>
#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <memory>
#include <mutex>

namespace win32 {

namespace {

using detail::Acquisition;
using detail::RunInKernelRegion;

constexpr DWORD kFailedCount = 0xFFFFFFFF;

// Real-time signals, chosen once. Suspension is numbered below resumption so that, both pending, the
// suspension is handled first and the resumption finds nothing left to do.
int g_suspendSignal = 0;
int g_resumeSignal = 0;
int g_terminateSignal = 0;

// The process's own nice value: normal priority.
int g_normalNice = 0;

void FutexWake(int* word) {
    syscall(SYS_futex, word, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}

void FutexWait(int* word, int expected, long nanoseconds) {
    timespec timeout{0, nanoseconds};
    syscall(SYS_futex, word, FUTEX_WAIT_PRIVATE, expected, &timeout, nullptr, 0);
}

// The nice value closest to each Windows priority, around the process's own.
int NiceFor(int priority) {
    int offset = 0;
    switch (priority) {
    case THREAD_PRIORITY_IDLE:
        return 19;
    case THREAD_PRIORITY_LOWEST:
        offset = 10;
        break;
    case THREAD_PRIORITY_BELOW_NORMAL:
        offset = 5;
        break;
    case THREAD_PRIORITY_ABOVE_NORMAL:
        offset = -5;
        break;
    case THREAD_PRIORITY_HIGHEST:
        offset = -10;
        break;
    case THREAD_PRIORITY_TIME_CRITICAL:
        return -20;
    default:
        break;
    }
    return std::clamp(g_normalNice + offset, -20, 19);
}

// Best effort: an unprivileged process may lower a thread's priority but not raise it again.
void ApplyHostPriority(pid_t tid, int priority) {
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceFor(priority));
}

bool IsThreadPriority(int priority) {
    switch (priority) {
    case THREAD_PRIORITY_IDLE:
    case THREAD_PRIORITY_LOWEST:
    case THREAD_PRIORITY_BELOW_NORMAL:
    case THREAD_PRIORITY_NORMAL:
    case THREAD_PRIORITY_ABOVE_NORMAL:
    case THREAD_PRIORITY_HIGHEST:
    case THREAD_PRIORITY_TIME_CRITICAL:
        return true;
    default:
        return false;
    }
}

class ThreadObject final : public detail::WaitableObject {
public:
    ThreadObject(void (*procedure)(void*), void* argument);
    ~ThreadObject() override;

    void Run();
    void SetHandle(HANDLE handle);

    DWORD Suspend();
    DWORD Resume();
    BOOL Terminate();
    BOOL SetPriority(int priority);
    int GetPriority();

    // On the thread itself.
    void Park();
    void ParkOrDefer();
    void AfterOutermostRegion();
    void SetWaitingOn(detail::WaitableObject* object);
    bool TerminateRequested() const { return m_terminateRequested.load(); }

private:
    Acquisition TryAcquireLocked() override { return m_ended ? Acquisition::Acquired : Acquisition::NotYet; }

    void Publish();
    void Finish();
    void WaitUntilParked();
    void WakeFromWait();

    void (*const m_procedure)(void*);
    void* const m_argument;

    // Under the state lock.
    HANDLE m_handle = nullptr;
    pthread_t m_thread{};
    pid_t m_tid = 0;
    bool m_signalable = false; // running its own code: signals may be sent to m_thread
    bool m_finishing = false;
    bool m_ended = false;
    bool m_terminated = false;
    int m_priority = THREAD_PRIORITY_NORMAL;

    // Changed under the state lock, read by the thread's signal handlers.
    std::atomic<int> m_suspendCount{0};
    std::atomic<bool> m_terminateRequested{false};
    std::atomic<bool> m_suspensionDeferred{false};
    // Futex word: 1 while the thread is parked, or has acknowledged a suspension it will park for as it
    // leaves a kernel region.
    alignas(4) int m_parked = 0;

    // The object the thread waits on, for TerminateThread to wake it. A leaf lock: nothing is locked under it
    // but the waited object's state.
    pthread_mutex_t m_waitLock;
    detail::WaitableObject* m_waitingOn = nullptr;
};

// Trivial thread-locals only: the signal handlers read them.
thread_local ThreadObject* t_self = nullptr;   // set on threads started by _beginthread
thread_local sigjmp_buf* t_exitJump = nullptr; // where a terminated thread resumes: the end of its start

void OnSuspendSignal(int) {
    const int savedErrno = errno;
    if (ThreadObject* self = t_self) {
        self->ParkOrDefer();
    }
    errno = savedErrno;
}

void OnResumeSignal(int) {}

void OnTerminateSignal(int) {
    ThreadObject* self = t_self;
    sigjmp_buf* jump = t_exitJump;
    // Inside a region the termination takes effect as the region ends.
    if (self != nullptr && jump != nullptr && self->TerminateRequested() && !detail::IsInKernelRegion()) {
        siglongjmp(*jump, 1);
    }
}

void InstallSignalHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_suspendSignal = SIGRTMIN + 6;
        g_resumeSignal = SIGRTMIN + 7;
        g_terminateSignal = SIGRTMIN + 8;
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, 0);
        g_normalNice = errno == 0 ? nice : 0;

        struct sigaction action {};
        action.sa_flags = SA_RESTART;

        action.sa_handler = OnSuspendSignal;
        sigemptyset(&action.sa_mask);
        sigaddset(&action.sa_mask, g_resumeSignal);
        sigaction(g_suspendSignal, &action, nullptr);

        action.sa_handler = OnResumeSignal;
        sigemptyset(&action.sa_mask);
        sigaction(g_resumeSignal, &action, nullptr);

        action.sa_handler = OnTerminateSignal;
        sigemptyset(&action.sa_mask);
        sigaddset(&action.sa_mask, g_suspendSignal);
        sigaddset(&action.sa_mask, g_resumeSignal);
        sigaction(g_terminateSignal, &action, nullptr);
    });
}

void* ThreadStart(void* start) {
    std::shared_ptr<ThreadObject> self = std::move(*static_cast<std::shared_ptr<ThreadObject>*>(start));
    delete static_cast<std::shared_ptr<ThreadObject>*>(start);
    self->Run();
    return nullptr;
}

ThreadObject::ThreadObject(void (*procedure)(void*), void* argument)
    : m_procedure(procedure), m_argument(argument) {
    pthread_mutex_init(&m_waitLock, nullptr);
}

ThreadObject::~ThreadObject() {
    pthread_mutex_destroy(&m_waitLock);
}

void ThreadObject::SetHandle(HANDLE handle) {
    RunInKernelRegion([&] {
        StateLock lock(*this);
        m_handle = handle;
    });
}

void ThreadObject::Run() {
    t_self = this;
    sigjmp_buf exitJump;
    t_exitJump = &exitJump;
    // A termination or _endthread comes back here with the procedure's frames abandoned.
    if (sigsetjmp(exitJump, 1) == 0) {
        Publish();
        m_procedure(m_argument);
    }
    t_exitJump = nullptr;
    Finish();
    t_self = nullptr;
}

void ThreadObject::Publish() {
    RunInKernelRegion([&] {
        StateLock lock(*this);
        m_thread = pthread_self();
        m_tid = gettid();
        m_signalable = true;
        if (m_priority != THREAD_PRIORITY_NORMAL) {
            ApplyHostPriority(m_tid, m_priority);
        }
        // Suspended before it ran: it parks as the region ends, before its procedure.
        if (m_suspendCount.load() > 0) {
            m_suspensionDeferred.store(true);
        }
    });
}

void ThreadObject::Finish() {
    const bool closeOwnHandle = RunInKernelRegion([&] {
        StateLock lock(*this);
        m_finishing = true;
        return !m_terminated;
    });
    detail::AbandonMutexesOwnedByCurrentThread();
    const HANDLE handle = RunInKernelRegion([&] {
        StateLock lock(*this);
        m_signalable = false;
        m_ended = true;
        // A suspension signal still on its way finds nothing to park for.
        m_suspendCount.store(0);
        AnnounceChangeLocked();
        return m_handle;
    });
    if (closeOwnHandle) {
        RunInKernelRegion([&] { CloseHandle(handle); });
    }
}

void ThreadObject::Park() {
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, g_suspendSignal);
    sigaddset(&blocked, g_resumeSignal);
    sigset_t saved;
    pthread_sigmask(SIG_BLOCK, &blocked, &saved);
    // Resumption is let in only while sleeping, so that it cannot slip in between the test and the sleep;
    // termination stays deliverable throughout.
    sigset_t parking = saved;
    sigaddset(&parking, g_suspendSignal);
    sigdelset(&parking, g_resumeSignal);
    std::atomic_ref<int> parked(m_parked);
    do {
        parked.store(1);
        FutexWake(&m_parked);
        while (m_suspendCount.load() > 0) {
            sigsuspend(&parking);
        }
        parked.store(0);
        // A suspension that came while leaving finds the count raised again: park once more.
    } while (m_suspendCount.load() > 0);
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
}

void ThreadObject::ParkOrDefer() {
    if (!detail::IsInKernelRegion()) {
        Park();
        return;
    }
    m_suspensionDeferred.store(true);
    std::atomic_ref<int>(m_parked).store(1);
    FutexWake(&m_parked);
}

void ThreadObject::AfterOutermostRegion() {
    if (t_exitJump != nullptr && m_terminateRequested.load()) {
        siglongjmp(*t_exitJump, 1);
    }
    if (m_suspensionDeferred.exchange(false)) {
        Park();
        if (t_exitJump != nullptr && m_terminateRequested.load()) {
            siglongjmp(*t_exitJump, 1);
        }
    }
}

void ThreadObject::SetWaitingOn(detail::WaitableObject* object) {
    pthread_mutex_lock(&m_waitLock);
    m_waitingOn = object;
    pthread_mutex_unlock(&m_waitLock);
}

void ThreadObject::WakeFromWait() {
    pthread_mutex_lock(&m_waitLock);
    if (m_waitingOn != nullptr) {
        m_waitingOn->WakeAll();
    }
    pthread_mutex_unlock(&m_waitLock);
}

DWORD ThreadObject::Suspend() {
    const bool self = t_self == this;
    bool waitForPark = false;
    DWORD previous = 0;
    const bool done = RunInKernelRegion([&] {
        StateLock lock(*this);
        if (m_ended) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        previous = static_cast<DWORD>(m_suspendCount.fetch_add(1));
        if (previous == 0) {
            if (self) {
                // Parks as this call's region ends, holding nothing.
                m_suspensionDeferred.store(true);
            } else if (m_signalable) {
                pthread_kill(m_thread, g_suspendSignal);
                waitForPark = true;
            }
        }
        return true;
    });
    if (!done) {
        return kFailedCount;
    }
    if (waitForPark) {
        WaitUntilParked();
    }
    return previous;
}

void ThreadObject::WaitUntilParked() {
    constexpr long kSliceNanoseconds = 10000000;
    std::atomic_ref<int> parked(m_parked);
    while (parked.load() == 0 && m_suspendCount.load() > 0) {
        FutexWait(&m_parked, 0, kSliceNanoseconds);
    }
}

DWORD ThreadObject::Resume() {
    return RunInKernelRegion([&]() -> DWORD {
        StateLock lock(*this);
        if (m_ended) {
            SetLastError(ERROR_ACCESS_DENIED);
            return kFailedCount;
        }
        const int previous = m_suspendCount.load();
        if (previous > 0) {
            m_suspendCount.store(previous - 1);
            if (previous == 1 && m_signalable) {
                pthread_kill(m_thread, g_resumeSignal);
            }
        }
        return static_cast<DWORD>(previous);
    });
}

BOOL ThreadObject::Terminate() {
    const bool self = t_self == this;
    const bool waitForEnd = RunInKernelRegion([&] {
        StateLock lock(*this);
        if (m_ended) {
            return false;
        }
        if (m_finishing) {
            // Ending on its own already; only wait for it.
            return !self;
        }
        m_terminated = true;
        m_terminateRequested.store(true);
        m_suspendCount.store(0);
        if (m_signalable && !self) {
            pthread_kill(m_thread, g_terminateSignal);
        }
        return !self;
    });
    // A thread terminating itself leaves as the outermost region of TerminateThread ends.
    if (waitForEnd) {
        RunInKernelRegion([&] { WakeFromWait(); });
        Wait(INFINITE);
    }
    return TRUE;
}

BOOL ThreadObject::SetPriority(int priority) {
    return RunInKernelRegion([&] {
        StateLock lock(*this);
        m_priority = priority;
        if (m_signalable) {
            ApplyHostPriority(m_tid, priority);
        }
        return TRUE;
    });
}

int ThreadObject::GetPriority() {
    return RunInKernelRegion([&] {
        StateLock lock(*this);
        return m_priority;
    });
}

// Looks the handle up inside the caller's region; null with ERROR_INVALID_HANDLE when it names no thread.
std::shared_ptr<ThreadObject> LookUpThread(HANDLE handle) {
    std::shared_ptr<ThreadObject> thread = LookupHandleAs<ThreadObject>(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return thread;
}

} // namespace

namespace detail {

void AfterOutermostKernelRegion() {
    if (ThreadObject* self = t_self) {
        self->AfterOutermostRegion();
    }
}

void BeginTerminableWait(WaitableObject* object) {
    if (ThreadObject* self = t_self) {
        self->SetWaitingOn(object);
    }
}

void EndTerminableWait() {
    if (ThreadObject* self = t_self) {
        self->SetWaitingOn(nullptr);
    }
}

bool TerminationRequested() {
    ThreadObject* self = t_self;
    return self != nullptr && t_exitJump != nullptr && self->TerminateRequested();
}

} // namespace detail

std::uintptr_t _beginthread(void (*procedure)(void*), unsigned stackSize, void* argument) {
    constexpr auto kFailed = static_cast<std::uintptr_t>(-1);
    if (procedure == nullptr) {
        errno = EINVAL;
        return kFailed;
    }
    InstallSignalHandlers();
    auto thread = std::make_shared<ThreadObject>(procedure, argument);
    const HANDLE handle = RunInKernelRegion([&] { return RegisterHandle(thread); });
    thread->SetHandle(handle);

    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (stackSize != 0) {
        const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        std::size_t size = std::max<std::size_t>(stackSize, PTHREAD_STACK_MIN);
        size = (size + page - 1) / page * page;
        pthread_attr_setstacksize(&attributes, size);
    }
    auto* start = new std::shared_ptr<ThreadObject>(std::move(thread));
    pthread_t id;
    const int error = pthread_create(&id, &attributes, ThreadStart, start);
    pthread_attr_destroy(&attributes);
    if (error != 0) {
        delete start;
        RunInKernelRegion([&] { CloseHandle(handle); });
        errno = error;
        return kFailed;
    }
    return reinterpret_cast<std::uintptr_t>(handle);
}

void _endthread() {
    if (sigjmp_buf* jump = t_exitJump) {
        siglongjmp(*jump, 1);
    }
    pthread_exit(nullptr);
}

namespace {

// Every mutex's acquire and release asks for the thread's id: it is read from the kernel once per thread. A
// forked child's thread has an id of its own, so the child reads it again.
thread_local DWORD t_threadId = 0;

void ForgetThreadIdInChild() {
    t_threadId = 0;
}

} // namespace

DWORD GetCurrentThreadId() {
    if (t_threadId == 0) {
        static const int forgetInChild = pthread_atfork(nullptr, nullptr, ForgetThreadIdInChild);
        static_cast<void>(forgetInChild);
        t_threadId = static_cast<DWORD>(gettid());
    }
    return t_threadId;
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

BOOL SetThreadPriority(HANDLE handle, int priority) {
    return RunInKernelRegion([&] {
        std::shared_ptr<ThreadObject> thread = LookUpThread(handle);
        if (!thread) {
            return FALSE;
        }
        if (!IsThreadPriority(priority)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        return thread->SetPriority(priority);
    });
}

int GetThreadPriority(HANDLE handle) {
    return RunInKernelRegion([&] {
        std::shared_ptr<ThreadObject> thread = LookUpThread(handle);
        return thread ? thread->GetPriority() : THREAD_PRIORITY_ERROR_RETURN;
    });
}

DWORD SuspendThread(HANDLE handle) {
    return RunInKernelRegion([&] {
        std::shared_ptr<ThreadObject> thread = LookUpThread(handle);
        return thread ? thread->Suspend() : kFailedCount;
    });
}

DWORD ResumeThread(HANDLE handle) {
    return RunInKernelRegion([&] {
        std::shared_ptr<ThreadObject> thread = LookUpThread(handle);
        return thread ? thread->Resume() : kFailedCount;
    });
}

// How a thread is terminated here. Windows stops the thread where it stands and runs none of its code again;
// pthreads has no such call (pthread_cancel unwinds the stack, and an asynchronous unwind that lands inside a
// function with destructors or a noexcept function ends the whole process). So the target gets a signal whose
// handler jumps back to the start of the thread (siglongjmp to a point saved before its procedure ran); from
// there the thread ends as it would after _endthread, except that its handle stays open for the caller to
// close. TerminateThread returns once the thread has ended, so the caller may free what the thread was using.
//
// Limits, as on Windows or because of the host:
// - The thread's frames are abandoned, not unwound: no destructor runs, memory they owned leaks, and locks of
//   other code that the thread holds (a std::mutex, the C library's heap lock if it was inside malloc) stay
//   held.
// - Our own kernel objects stay sound: inside a kernel region the termination waits for the region's end, a
//   thread waiting on a mutex, thread, process or critical section is woken to end, and mutexes it owned are
//   abandoned.
// - A thread blocked in another library's condition variable wait is cut out of it; that condition variable
//   still counts the waiter and must not be destroyed afterwards.
// - Only threads started by _beginthread can be terminated; the exit code is not kept (no GetExitCodeThread).
BOOL TerminateThread(HANDLE handle, DWORD /*exitCode*/) {
    return RunInKernelRegion([&] {
        std::shared_ptr<ThreadObject> thread = LookUpThread(handle);
        return thread ? thread->Terminate() : FALSE;
    });
}

} // namespace win32
