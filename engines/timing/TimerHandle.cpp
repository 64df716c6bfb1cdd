#include "engines/timing/TimerHandle.h"

#include "engines/timing/Timer.h"
#include "engines/timing/TimerSystem.h"

namespace Vemo {

TimerHandle::TimerHandle(ResourceEngine* engine) : ResourceHandle(engine), m_timeScale(TimerSystem::Native) {}

TimerHandle::~TimerHandle() {
    if (m_destroyedDuringWalk != nullptr) {
        *m_destroyedDuringWalk = true;
    }
    m_timers.Clear();
}

bool TimerHandle::Start() {
    return false;
}

bool TimerHandle::Stop() {
    return false;
}

bool TimerHandle::IsRunning() {
    return m_running;
}

bool TimerHandle::Restart() {
    return false;
}

bool TimerHandle::SetTimeScale(std::uint32_t scale) {
    m_timeScale = scale;
    return true;
}

std::uint32_t TimerHandle::TimeScale() {
    return m_timeScale;
}

std::uint32_t TimerHandle::Resolution() {
    return 0;
}

std::uint32_t TimerHandle::Elapsed() {
    return 0;
}

bool TimerHandle::SetPeriod(std::uint32_t) {
    return false;
}

std::uint32_t TimerHandle::Period() {
    return 0;
}

void TimerHandle::AddTimer(Timer* timer) {
    m_timers.PushBack(timer);
}

void TimerHandle::RemoveResource(const Resource* resource) {
    for (auto entry = m_timers.Begin(); entry != m_timers.End();) {
        if (static_cast<const Resource*>(*entry) != resource) {
            ++entry;
            continue;
        }
        const bool visitedNext = m_destroyedDuringWalk != nullptr && entry == m_walkNext;
        entry = m_timers.Erase(entry);
        if (visitedNext) {
            m_walkNext = entry;
        }
    }
}

void TimerHandle::TickTimers(std::int32_t count) {
    // A timer's owner may close the last timer from inside its ticks, which destroys this handle.
    bool destroyed = false;
    m_destroyedDuringWalk = &destroyed;
    for (m_walkNext = m_timers.Begin(); m_walkNext != m_timers.End();) {
        Timer* timer = *m_walkNext;
        ++m_walkNext;
        timer->AddTicks(count);
        if (destroyed) {
            return;
        }
    }
    m_destroyedDuringWalk = nullptr;
}

} // namespace Vemo
