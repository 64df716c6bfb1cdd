// The thread that keeps the title's cursor animating on the screen while the main thread is busy and draws no
// frames: every 30 ms it asks the viewport for one busy-cursor step, until it is stopped.
#pragma once

#include "foundation/Task.h"
#include "runtime/screen/MessengerViewport.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

class MessengerViewport::BusyTask : public Vemo::Task {
public:
    static constexpr unsigned kStepMilliseconds = 30;

    explicit BusyTask(MessengerViewport* viewport);
    // Stops the thread first when it still runs.
    ~BusyTask() override;

    std::uint8_t Run() override;
    // Asks the thread to end and waits until it has; at once when it never started. Never from the task's
    // own thread.
    void Stop();

private:
    MessengerViewport* m_viewport;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
};
