#include "engines/timing/Timer.h"

#include "engines/timing/TimerHandle.h"
#include "engines/timing/TimerSearchCriterion.h"
#include "engines/timing/TimerSystem.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"

#include <limits>

namespace Vemo {

Timer::Timer() = default;

Timer::~Timer() {
    ReleaseHandle();
}

void Timer::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_timerHandle = dynamic_cast<TimerHandle*>(handle);
}

bool Timer::Open(std::uint32_t precision, std::uint32_t a, std::uint32_t b, std::uint32_t engineId) {
    return OpenWith(precision, &b, &a, engineId);
}

bool Timer::Open(std::uint32_t precision, std::uint32_t engineId) {
    return OpenWith(precision, nullptr, nullptr, engineId);
}

bool Timer::OpenWith(std::uint32_t precision, const std::uint32_t* firstOption,
                     const std::uint32_t* secondOption, std::uint32_t engineId) {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return false;
    }
    TimerSystem* system = GetTimerSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    TimerSearchCriterion criterion(engineId == kTimerTypeId ? nullptr : &engineId, precision, firstOption,
                                   secondOption);
    ResourceHandle* handle = system->Open(&criterion, this);
    if (handle == nullptr) {
        Error().Report(ResourceSystemErrOpenFailed);
        return false;
    }
    SetHandle(handle);
    return true;
}

TimerHandle* Timer::Handle() {
    if (m_timerHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
    }
    return m_timerHandle;
}

bool Timer::Start() {
    m_ticks = 0;
    TimerHandle* handle = Handle();
    return handle != nullptr && handle->Start();
}

bool Timer::Stop() {
    TimerHandle* handle = Handle();
    return handle != nullptr && handle->Stop();
}

bool Timer::IsRunning() {
    TimerHandle* handle = Handle();
    return handle != nullptr && handle->IsRunning();
}

bool Timer::Restart() {
    m_ticks = 0;
    TimerHandle* handle = Handle();
    return handle != nullptr && handle->Restart();
}

bool Timer::SetTimeScale(std::uint32_t scale) {
    TimerHandle* handle = Handle();
    return handle != nullptr && handle->SetTimeScale(scale);
}

std::uint32_t Timer::TimeScale() {
    TimerHandle* handle = Handle();
    return handle != nullptr ? handle->TimeScale() : TimerSystem::Second;
}

std::uint32_t Timer::Resolution() {
    TimerHandle* handle = Handle();
    return handle != nullptr ? handle->Resolution() : 0;
}

std::uint32_t Timer::Elapsed() {
    TimerHandle* handle = Handle();
    return handle != nullptr ? handle->Elapsed() : 0;
}

bool Timer::SetPeriod(std::uint32_t period) {
    TimerHandle* handle = Handle();
    return handle != nullptr && handle->SetPeriod(period);
}

std::uint32_t Timer::Period() {
    TimerHandle* handle = Handle();
    return handle != nullptr ? handle->Period() : 0;
}

std::int32_t Timer::TakeTicks() {
    const std::int32_t taken = m_ticks;
    m_ticks = 0;
    return taken;
}

std::int32_t Timer::AddTicks(std::int32_t n) {
    const std::int64_t sum = static_cast<std::int64_t>(m_ticks) + n;
    constexpr std::int64_t kMost = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kLeast = std::numeric_limits<std::int32_t>::min();
    m_ticks = static_cast<std::int32_t>(sum > kMost ? kMost : sum < kLeast ? kLeast : sum);
    return n;
}

} // namespace Vemo
