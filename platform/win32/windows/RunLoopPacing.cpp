#include "platform/win32/windows/RunLoopPacing.h"

#include "platform/video/VideoBackend.h"
#include "platform/win32/headless/HeadlessRunner.h"
#include "platform/win32/kernel/Time.h"
#include "platform/win32/windows/WindowActions.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <utility>

namespace win32 {

namespace {

constexpr std::uint64_t kNanosecondsPerMillisecond = 1000000;

// On the platform clock: when the step is due that a frame timer ticks for.
thread_local std::optional<std::uint64_t> t_stepDue;
thread_local std::uint64_t t_blanksSeen = 0;

} // namespace

void RunLoopStepDueWithin(DWORD milliseconds) {
    // The timers tick at the start of a millisecond of the clock, as timeGetTime reads it.
    const std::uint64_t due =
        (seam::ClockNanoseconds() / kNanosecondsPerMillisecond + milliseconds) * kNanosecondsPerMillisecond;
    if (!t_stepDue || due < *t_stepDue) {
        t_stepDue = due;
    }
}

void EndRunLoopStep() {
    const std::optional<std::uint64_t> due = std::exchange(t_stepDue, std::nullopt);
    if (HeadlessRunner* runner = HeadlessRunner::Current()) {
        runner->EndOfStep();
        return;
    }
    const std::uint64_t blanks = video::BlanksWaited();
    if (blanks != t_blanksSeen) {
        t_blanksSeen = blanks;
        return;
    }
    if (!seam::HostClockInstalled()) {
        return;
    }
    const std::uint64_t now = seam::ClockNanoseconds();
    std::uint64_t wake = video::NextBlankNanoseconds(now);
    if (due && *due < wake) {
        wake = *due;
    }
    if (wake > now) {
        WaitForMessageFor(std::chrono::nanoseconds(wake - now));
    }
    t_blanksSeen = video::BlanksWaited();
}

} // namespace win32
