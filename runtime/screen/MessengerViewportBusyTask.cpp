#include "runtime/screen/MessengerViewportBusyTask.h"

#include <chrono>
#include <thread>

MessengerViewport::BusyTask::BusyTask(MessengerViewport* viewport) : m_viewport(viewport) {}

MessengerViewport::BusyTask::~BusyTask() {
    Stop();
}

std::uint8_t MessengerViewport::BusyTask::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_wake.wait_for(lock, std::chrono::milliseconds(kStepMilliseconds),
                            [this] { return m_stopping; })) {
            break;
        }
        lock.unlock();
        m_viewport->StepBusyCursor();
        lock.lock();
    }
    return 1;
}

void MessengerViewport::BusyTask::Stop() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    // Run has seen the flag or is about to; the thread then only stores its result and ends.
    while (IsStarted()) {
        std::this_thread::yield();
    }
}
