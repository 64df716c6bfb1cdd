#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/headless/HeadlessRunner.h"
#include "platform/win32/kernel/TerminationSignals.h"
#include "platform/win32/windows/Keyboard.h"
#include "platform/win32/windows/MessageQueue.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowExchange.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace win32 {

namespace {

const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

// How often a thread waiting for messages looks at the host's events when nothing tells it that they came.
constexpr std::chrono::milliseconds kPollInterval{5};

bool FilterIsValid(WindowSystem& system, HWND filter) {
    return filter == nullptr || filter == kThreadMessagesOnly || system.Find(filter) != nullptr;
}

// What GetMessageTime and GetMessagePos answer.
thread_local MSG t_lastTaken{};

// A termination signal's request that found no main window to close yet.
bool g_closeWanted = false;

// With the lock held, on the thread that catches the termination signals: the main window's close box, once a
// signal asked for it and as soon as there is a main window.
void CloseOnTerminationSignal(WindowSystem& system) {
    if (TakeTerminationRequest()) {
        g_closeWanted = true;
    }
    if (!g_closeWanted) {
        return;
    }
    const HWND window = system.MainWindowOf(std::this_thread::get_id());
    if (window != nullptr) {
        PostCloseBox(*system.Find(window));
        g_closeWanted = false;
    }
}

// What wakes a thread that waits for messages besides its queue: the host's events when it pumps them, the
// termination signals when it catches them, and whatever else the caller waits on (after those).
class WakeSources {
public:
    WakeSources(video::VideoBackend& backend, bool pumps, std::span<pollfd> others) {
        if (pumps) {
            const int host = backend.EventDescriptor();
            if (host >= 0) {
                Add(host);
            }
            m_pollHost = backend.NeedsPolling();
        }
        if (TakesTerminationSignals()) {
            Add(TerminationSignalDescriptor());
        }
        m_othersAt = m_descriptors.size();
        m_descriptors.insert(m_descriptors.end(), others.begin(), others.end());
    }

    std::span<pollfd> Descriptors() { return m_descriptors; }
    // What the wait saw on the caller's descriptors.
    void ReportOthers(std::span<pollfd> others) const {
        for (std::size_t i = 0; i < others.size(); ++i) {
            others[i].revents = m_descriptors[m_othersAt + i].revents;
        }
    }
    // The host's events come without a descriptor that says so: the wait looks at them now and then.
    bool PollHost() const { return m_pollHost; }

private:
    void Add(int descriptor) { m_descriptors.push_back(pollfd{descriptor, POLLIN, 0}); }

    std::vector<pollfd> m_descriptors;
    std::size_t m_othersAt = 0;
    bool m_pollHost = false;
};

// One look at the queue: sent messages are answered, the host's events read, and the next message taken (or
// only shown, without remove). With wait, sleeps until there is one, or until the deadline when one is given,
// or until one of the other descriptors shows what it is watched for (their revents say what).
bool Retrieve(MSG* message, HWND filter, UINT first, UINT last, bool remove, bool wait,
              std::span<pollfd> others,
              std::optional<std::chrono::steady_clock::time_point> deadline = std::nullopt) {
    WindowSystem& system = WindowSystem::Instance();
    std::unique_lock lock(system.Lock());
    std::shared_ptr<MessageQueue> queue = MessageQueue::ForCurrentThread();
    const bool catchesSignals = TakesTerminationSignals();
    for (;;) {
        DeliverSentMessages(lock, *queue);
        video::VideoBackend& backend = system.Backend();
        const bool pumps = backend.OwnsCurrentThread();
        if (pumps) {
            lock.unlock();
            backend.PumpEvents();
            lock.lock();
            DeliverSentMessages(lock, *queue);
        }
        if (catchesSignals) {
            CloseOnTerminationSignal(system);
        }
        if (queue->Take(message, filter, first, last, remove)) {
            t_lastTaken = *message;
            return true;
        }
        if (!wait) {
            return false;
        }
        if (queue->HasSent()) {
            continue;
        }
        auto until = deadline;
        if (until && std::chrono::steady_clock::now() >= *until) {
            return false;
        }
        // Under the lock: what is posted from now on wakes the sleep below.
        if (pumps && backend.EventsPending()) {
            continue;
        }
        WakeSources sources(backend, pumps, others);
        if (sources.PollHost()) {
            const auto next = std::chrono::steady_clock::now() + kPollInterval;
            until = until ? std::min(*until, next) : next;
        }
        // A wait that only ran out has nothing new to look at: the host's events would have woken it.
        const bool woken = queue->Sleep(lock, until, sources.Descriptors());
        sources.ReportOthers(others);
        if (!woken && until == deadline) {
            return false;
        }
        for (const pollfd& other : others) {
            if (other.revents != 0) {
                return false;
            }
        }
    }
}

} // namespace

bool WaitForMessageFor(std::chrono::nanoseconds time, pollfd* others, std::size_t otherCount) {
    MSG message{};
    return Retrieve(&message, nullptr, 0, 0, false, true, std::span<pollfd>(others, otherCount),
                    std::chrono::steady_clock::now() + time);
}

BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT options) {
    WindowSystem& system = WindowSystem::Instance();
    {
        std::lock_guard guard(system.Lock());
        if (message == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if (!FilterIsValid(system, window)) {
            return FALSE;
        }
    }
    return Retrieve(message, window, first, last, (options & PM_REMOVE) != 0, false, {}) ? TRUE : FALSE;
}

BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last) {
    WindowSystem& system = WindowSystem::Instance();
    {
        std::lock_guard guard(system.Lock());
        if (message == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
        if (!FilterIsValid(system, window)) {
            return -1;
        }
    }
    Retrieve(message, window, first, last, true, true, {});
    return message->message == WM_QUIT ? FALSE : TRUE;
}

LONG GetMessageTime() {
    return static_cast<LONG>(t_lastTaken.time);
}

DWORD GetMessagePos() {
    return MAKELONG(static_cast<WORD>(t_lastTaken.pt.x), static_cast<WORD>(t_lastTaken.pt.y));
}

BOOL TranslateMessage(const MSG* message) {
    if (message == nullptr) {
        return FALSE;
    }
    switch (message->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    std::shared_ptr<MessageQueue> queue = MessageQueue::ForCurrentThread();
    char character = CharacterFor(static_cast<BYTE>(message->wParam), queue->KeyState());
    if (character != 0) {
        UINT charMessage = message->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        queue->PostFirst(MSG{message->hwnd, charMessage,
                             static_cast<WPARAM>(static_cast<unsigned char>(character)), message->lParam,
                             message->time, message->pt});
    }
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* message) {
    if (message == nullptr || message->hwnd == nullptr) {
        return 0;
    }
    WindowSystem& system = WindowSystem::Instance();
    WNDPROC procedure;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(message->hwnd);
        if (object == nullptr) {
            return 0;
        }
        if (!object->queue->IsCurrentThread()) {
            SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
            return 0;
        }
        procedure = object->procedure;
    }
    return procedure != nullptr ? procedure(message->hwnd, message->message, message->wParam, message->lParam)
                                : 0;
}

BOOL PostToLocalWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    std::shared_ptr<MessageQueue> queue;
    if (window == nullptr) {
        queue = MessageQueue::ForCurrentThread();
    } else {
        WindowObject* object = system.Find(window);
        if (object == nullptr) {
            return FALSE;
        }
        queue = object->queue;
    }
    if (queue->IsClosed()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    queue->Post(MakeMessage(window, message, wParam, lParam));
    return TRUE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && exchange::StandsForOtherProcess(window)) {
        return exchange::PostToOtherProcess(window, message, wParam, lParam);
    }
    return PostToLocalWindow(window, message, wParam, lParam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendToWindow(window, message, wParam, lParam);
}

BOOL WaitMessage() {
    HeadlessRunner* run = HeadlessRunner::Current();
    if (run == nullptr || !run->IsMainThread()) {
        MSG message{};
        Retrieve(&message, nullptr, 0, 0, false, true, {});
    }
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    MessageQueue::ForCurrentThread()->PostQuit(exitCode);
}

} // namespace win32
