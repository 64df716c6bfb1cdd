#include "platform/win32/windows/MessageQueue.h"

#include "platform/win32/windows/Keyboard.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <map>
#include <vector>

namespace win32 {

namespace {

// The queues of the live threads. Never destroyed, like the window system.
std::map<std::thread::id, std::shared_ptr<MessageQueue>>& Queues() {
    static auto* queues = new std::map<std::thread::id, std::shared_ptr<MessageQueue>>;
    return *queues;
}

thread_local MessageQueue* t_queue = nullptr;
thread_local bool t_closerRegistered = false;
thread_local bool t_ended = false;

// Closes the thread's queue when the thread ends: senders still waiting are answered, and the thread's
// windows go away with it, without messages (no procedure of the thread can run any more).
struct QueueCloser {
    ~QueueCloser() {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        auto found = Queues().find(std::this_thread::get_id());
        if (found != Queues().end()) {
            found->second->Close();
            for (WindowObject* window : system.Windows()) {
                if (window->queue == found->second) {
                    system.Forget(window->handle);
                }
            }
            Queues().erase(found);
        }
        t_queue = nullptr;
        t_ended = true;
    }
};

void RegisterCloser() {
    // Made when control first passes here, so that it is destroyed when the thread ends.
    thread_local QueueCloser closer;
    static_cast<void>(closer);
}

} // namespace

MessageQueue::MessageQueue()
    : m_owner(std::this_thread::get_id()), m_wakeDescriptor(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

MessageQueue::~MessageQueue() {
    if (m_wakeDescriptor >= 0) {
        ::close(m_wakeDescriptor);
    }
}

std::shared_ptr<MessageQueue> MessageQueue::ForCurrentThread() {
    auto& queues = Queues();
    std::thread::id self = std::this_thread::get_id();
    if (!t_closerRegistered && !t_ended) {
        // A new thread may carry the id of one that ended: its queue is never taken over.
        queues.erase(self);
        t_closerRegistered = true;
        RegisterCloser();
    }
    auto found = queues.find(self);
    if (found == queues.end()) {
        found = queues.emplace(self, std::make_shared<MessageQueue>()).first;
    }
    t_queue = found->second.get();
    return found->second;
}

MessageQueue* MessageQueue::CurrentIfAny() {
    return t_queue;
}

bool MessageQueue::IsCurrentThread() const {
    return m_owner == std::this_thread::get_id() && (!m_closed || t_ended);
}

void MessageQueue::Post(const MSG& message) {
    m_posted.push_back(message);
    Wake();
}

void MessageQueue::PostFirst(const MSG& message) {
    m_posted.push_front(message);
    Wake();
}

void MessageQueue::PostInput(const MSG& message) {
    if (message.message == WM_MOUSEMOVE && !m_input.empty() && m_input.back().message == WM_MOUSEMOVE &&
        m_input.back().hwnd == message.hwnd) {
        m_input.back() = message;
    } else {
        m_input.push_back(message);
    }
    Wake();
}

void MessageQueue::PostQuit(int exitCode) {
    m_quit = true;
    m_exitCode = exitCode;
    Wake();
}

void MessageQueue::Send(const std::shared_ptr<SentMessage>& message) {
    m_sent.push_back(message);
    Wake();
}

void MessageQueue::Wake() {
    if (m_sleeping && !m_woken && m_wakeDescriptor >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeDescriptor, &one, sizeof one);
        m_woken = true;
    }
}

bool MessageQueue::Sleep(std::unique_lock<std::mutex>& lock,
                         std::optional<std::chrono::steady_clock::time_point> deadline,
                         std::span<pollfd> others) {
    using namespace std::chrono;
    // Without a descriptor of its own the queue cannot wake the sleeper: it looks again this often.
    constexpr nanoseconds kLookAgain = milliseconds(5);
    std::vector<pollfd> watched;
    watched.reserve(others.size() + 1);
    watched.push_back(pollfd{m_wakeDescriptor, POLLIN, 0});
    watched.insert(watched.end(), others.begin(), others.end());
    std::optional<nanoseconds> left;
    if (deadline) {
        left = std::max(nanoseconds::zero(), duration_cast<nanoseconds>(*deadline - steady_clock::now()));
    }
    if (m_wakeDescriptor < 0) {
        left = left ? std::min(*left, kLookAgain) : kLookAgain;
    }
    timespec timeout{};
    if (left) {
        timeout.tv_sec = static_cast<time_t>(duration_cast<seconds>(*left).count());
        timeout.tv_nsec = static_cast<long>((*left % seconds(1)).count());
    }
    m_sleeping = true;
    lock.unlock();
    const int ready = ::ppoll(watched.data(), watched.size(), left ? &timeout : nullptr, nullptr);
    lock.lock();
    m_sleeping = false;
    if (m_woken) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t read = ::read(m_wakeDescriptor, &count, sizeof count);
        m_woken = false;
    }
    for (std::size_t i = 0; i < others.size(); ++i) {
        others[i].revents = ready > 0 ? watched[i + 1].revents : 0;
    }
    // Without a descriptor of its own the time running out says nothing: the sleeper has to look again.
    return ready != 0 || m_wakeDescriptor < 0;
}

std::shared_ptr<SentMessage> MessageQueue::TakeSent() {
    if (m_sent.empty()) {
        return nullptr;
    }
    std::shared_ptr<SentMessage> sent = m_sent.front();
    m_sent.pop_front();
    return sent;
}

bool MessageQueue::Matches(const MSG& message, HWND filter, UINT first, UINT last) const {
    if (first != 0 || last != 0) {
        if (message.message < first || message.message > last) {
            return false;
        }
    }
    if (filter == reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1))) {
        return message.hwnd == nullptr;
    }
    if (filter != nullptr) {
        return message.hwnd != nullptr && WindowSystem::Instance().IsSelfOrDescendant(message.hwnd, filter);
    }
    return true;
}

bool MessageQueue::TakeFrom(std::deque<MSG>& from, MSG* message, HWND filter, UINT first, UINT last,
                            bool remove) {
    auto found = std::find_if(from.begin(), from.end(),
                              [&](const MSG& candidate) { return Matches(candidate, filter, first, last); });
    if (found == from.end()) {
        return false;
    }
    *message = *found;
    if (remove) {
        from.erase(found);
    }
    return true;
}

bool MessageQueue::TakePaint(MSG* message, HWND filter, UINT first, UINT last) {
    WindowSystem& system = WindowSystem::Instance();
    for (WindowObject* window : system.Windows()) {
        if (window->queue.get() != this || !window->needsPaint || !window->visible) {
            continue;
        }
        MSG paint{window->handle, WM_PAINT, 0, 0, 0, system.cursor};
        if (Matches(paint, filter, first, last)) {
            *message = paint;
            return true;
        }
    }
    return false;
}

void MessageQueue::NoteInputTaken(const MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        BYTE scan = static_cast<BYTE>((message.lParam >> 16) & 0xFF);
        bool extended = (message.lParam & KF_EXTENDED_BIT) != 0;
        NoteKeyInState(m_keyState, static_cast<BYTE>(message.wParam), scan, extended, down);
        break;
    }
    default:
        if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) {
            auto button = [&](BYTE key, WPARAM flag) {
                m_keyState[key] =
                    static_cast<BYTE>((m_keyState[key] & 0x01) | ((message.wParam & flag) ? 0x80 : 0));
            };
            button(VK_LBUTTON, MK_LBUTTON);
            button(VK_RBUTTON, MK_RBUTTON);
            button(VK_MBUTTON, MK_MBUTTON);
        }
        break;
    }
}

bool MessageQueue::Take(MSG* message, HWND filter, UINT first, UINT last, bool remove) {
    if (TakeFrom(m_posted, message, filter, first, last, remove)) {
        return true;
    }
    // WM_QUIT belongs to the thread, not to a window: a window filter never takes it.
    bool threadMessages =
        filter == nullptr || filter == reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
    bool inRange = (first == 0 && last == 0) || (WM_QUIT >= first && WM_QUIT <= last);
    if (m_quit && threadMessages && inRange) {
        *message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<std::intptr_t>(m_exitCode)),
                       0,       0,       WindowSystem::Instance().cursor};
        if (remove) {
            m_quit = false;
        }
        return true;
    }
    if (TakeFrom(m_input, message, filter, first, last, remove)) {
        if (remove) {
            NoteInputTaken(*message);
        }
        return true;
    }
    return TakePaint(message, filter, first, last);
}

void MessageQueue::Purge(HWND window) {
    auto forWindow = [window](const MSG& message) { return message.hwnd == window; };
    m_posted.erase(std::remove_if(m_posted.begin(), m_posted.end(), forWindow), m_posted.end());
    m_input.erase(std::remove_if(m_input.begin(), m_input.end(), forWindow), m_input.end());
}

void MessageQueue::Close() {
    m_closed = true;
    for (auto& sent : m_sent) {
        sent->result = 0;
        sent->done = true;
        if (sent->sender != nullptr) {
            sent->sender->Wake();
        }
    }
    m_sent.clear();
    m_posted.clear();
    m_input.clear();
}

std::deque<MSG> MessageQueue::Snapshot() const {
    std::deque<MSG> messages = m_posted;
    messages.insert(messages.end(), m_input.begin(), m_input.end());
    return messages;
}

} // namespace win32
