// The message queue of one thread. Internal to the platform layer; every function is called with the window
// system's lock held.
#pragma once

#include "platform/win32/windows/Window.h"

#include <poll.h>

#include <array>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

namespace win32 {

// A message sent from another thread, waiting for the owning thread to call the window procedure.
struct SentMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
    std::shared_ptr<class MessageQueue> sender;
};

class MessageQueue {
public:
    // The calling thread's queue, made on first use.
    static std::shared_ptr<MessageQueue> ForCurrentThread();
    // The calling thread's queue, or null when it has none yet.
    static MessageQueue* CurrentIfAny();

    MessageQueue();
    ~MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    // The thread whose windows use this queue; only it runs their window procedures.
    std::thread::id Owner() const { return m_owner; }
    // The owner is the calling thread (a thread that reuses the id of an ended one is not its owner).
    bool IsCurrentThread() const;

    void Post(const MSG& message);
    // Ahead of every other posted message: a translated character is read right after its key.
    void PostFirst(const MSG& message);
    // Mouse and key messages. A mouse move directly after another for the same window replaces it.
    void PostInput(const MSG& message);
    void PostQuit(int exitCode);
    void Send(const std::shared_ptr<SentMessage>& message);

    // Takes the next message by the retrieval order of PeekMessageA (posted, quit, input, paint), without
    // handling sent messages. False when nothing matches.
    bool Take(MSG* message, HWND filter, UINT first, UINT last, bool remove);
    std::shared_ptr<SentMessage> TakeSent();
    bool HasSent() const { return !m_sent.empty(); }
    bool QuitPending() const { return m_quit; }

    // Drops every posted and input message for the window (it is being destroyed).
    void Purge(HWND window);
    // The thread has ended: sends still waiting are answered with 0 and nothing more is accepted.
    void Close();
    bool IsClosed() const { return m_closed; }

    // Copies of what is posted, in retrieval order (posted messages, then input); for the testing API.
    std::deque<MSG> Snapshot() const;

    // Wakes the owner where it sleeps (below): in GetMessageA, WaitMessage, an idle wait of the run loop or a
    // cross-thread SendMessageA. From any thread.
    void Wake();
    // The owner sleeps, the lock let go, until Wake, until one of the other descriptors shows what it is
    // watched for (their revents say what), or until the deadline (without one, for as long as it takes). A
    // signal handled on the thread may end it early. The queue wakes the sleeper through a descriptor of its
    // own, so that one poll covers the queue and whatever else the thread waits on. False when only the time
    // ended it and nothing can have come meanwhile.
    bool Sleep(std::unique_lock<std::mutex>& lock,
               std::optional<std::chrono::steady_clock::time_point> deadline, std::span<pollfd> others = {});

    // The key state as of the last key or mouse message taken from the queue: bit 7 down, bit 0 toggled.
    std::array<BYTE, 256>& KeyState() { return m_keyState; }

private:
    bool Matches(const MSG& message, HWND filter, UINT first, UINT last) const;
    bool TakeFrom(std::deque<MSG>& from, MSG* message, HWND filter, UINT first, UINT last, bool remove);
    bool TakePaint(MSG* message, HWND filter, UINT first, UINT last);
    void NoteInputTaken(const MSG& message);

    std::thread::id m_owner;
    std::deque<MSG> m_posted;
    std::deque<MSG> m_input;
    std::deque<std::shared_ptr<SentMessage>> m_sent;
    bool m_quit = false;
    int m_exitCode = 0;
    bool m_closed = false;
    // An eventfd, written only while the owner sleeps; -1 when none could be made (the sleeper then looks
    // again every few milliseconds).
    int m_wakeDescriptor = -1;
    bool m_sleeping = false;
    bool m_woken = false;
    std::array<BYTE, 256> m_keyState{};
};

} // namespace win32
