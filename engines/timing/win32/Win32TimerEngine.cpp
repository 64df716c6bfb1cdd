#include "engines/timing/win32/Win32TimerEngine.h"

#include "engines/timing/TimerSearchCriterion.h"
#include "engines/timing/TimerSystem.h"
#include "engines/timing/win32/Win32HighTimerHandle.h"
#include "engines/timing/win32/Win32LowTimerHandle.h"
#include "engines/timing/win32/Win32StandardTimerHandle.h"
#include "platform/win32/kernel/Time.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"

namespace Vemo {

namespace {

bool IsKnownPrecision(std::uint32_t precision) {
    return precision == TimerSystem::High || precision == TimerSystem::Standard ||
           precision == TimerSystem::Low;
}

bool HasPerformanceCounter() {
    win32::LARGE_INTEGER frequency{};
    return win32::QueryPerformanceFrequency(&frequency) && frequency.QuadPart != 0;
}

} // namespace

Win32TimerEngine::Win32TimerEngine() : TimerEngine(kWin32TimerTypeId, "Win32 Timer Engine") {}

Win32TimerEngine* Win32TimerEngine::Create(Win32TimerEngine* engine) {
    return CreateThrough(
        engine, [] { return new Win32TimerEngine; },
        [](Win32TimerEngine* made) { return ResourceEngine::Create(made); });
}

ResourceHandle* Win32TimerEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* timerCriterion = dynamic_cast<TimerSearchCriterion*>(criterion);
    const std::uint32_t precision = timerCriterion != nullptr ? timerCriterion->GetPrecision() : 0;
    TimerHandle* handle = nullptr;
    switch (precision) {
    case TimerSystem::High:
        handle = new Win32HighTimerHandle(this);
        break;
    case TimerSystem::Standard:
        handle = new Win32StandardTimerHandle(this);
        break;
    case TimerSystem::Low:
        handle = new Win32LowTimerHandle(this);
        break;
    default:
        Error().Report(TimerSystemErrUnknownPrecision);
        return nullptr;
    }
    if (const std::uint32_t* scale = timerCriterion->GetFirstOption()) {
        handle->SetTimeScale(*scale);
    }
    if (const std::uint32_t* period = timerCriterion->GetSecondOption()) {
        handle->SetPeriod(*period);
    }
    return handle;
}

bool Win32TimerEngine::Activate() {
    m_periodRaised = win32::timeBeginPeriod(1) == win32::TIMERR_NOERROR;
    return true;
}

bool Win32TimerEngine::Deactivate() {
    if (m_periodRaised) {
        win32::timeEndPeriod(1);
        m_periodRaised = false;
    }
    return true;
}

bool Win32TimerEngine::MatchSearchCriterion(ResourceSearchCriterion* criterion) {
    if (!TimerEngine::MatchSearchCriterion(criterion)) {
        return false;
    }
    auto* timerCriterion = dynamic_cast<TimerSearchCriterion*>(criterion);
    if (timerCriterion == nullptr ||
        (timerCriterion->GetSecondOption() != nullptr && timerCriterion->GetFirstOption() == nullptr)) {
        return false;
    }
    const std::uint32_t precision = timerCriterion->GetPrecision();
    if (precision == TimerSystem::High) {
        return HasPerformanceCounter();
    }
    return IsKnownPrecision(precision);
}

bool Win32TimerEngine::MatchSearchCriterionThorough(ResourceSearchCriterion* criterion) {
    if (!TimerEngine::MatchSearchCriterionThorough(criterion)) {
        return false;
    }
    auto* timerCriterion = dynamic_cast<TimerSearchCriterion*>(criterion);
    return timerCriterion != nullptr && IsKnownPrecision(timerCriterion->GetPrecision());
}

} // namespace Vemo
