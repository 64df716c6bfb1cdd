#include "platform/win32/windows/RunLoopPacing.h"

#include "platform/video/VideoBackend.h"
#include "platform/win32/headless/HeadlessRunner.h"
#include "platform/win32/kernel/Time.h"
#include "platform/win32/windows/WindowActions.h"

#include <poll.h>

#include <algorithm>
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
thread_local RunLoopGuest* t_guest = nullptr;

// Sleeps until the time, a message or what the guest waits on.
void SleepUntil(std::uint64_t wake, std::uint64_t now) {
    std::vector<RunLoopGuest::Descriptor> guestDescriptors;
    if (t_guest != nullptr) {
        const int most = t_guest->PrepareWait(guestDescriptors);
        if (most >= 0) {
            wake = std::min(wake, now + static_cast<std::uint64_t>(most) * kNanosecondsPerMillisecond);
        }
    }
    if (wake > now) {
        std::vector<pollfd> polled;
        for (const RunLoopGuest::Descriptor& descriptor : guestDescriptors) {
            polled.push_back(pollfd{descriptor.descriptor, descriptor.events, 0});
        }
        WaitForMessageFor(std::chrono::nanoseconds(wake - now), polled.data(), polled.size());
        for (std::size_t i = 0; i < polled.size(); ++i) {
            guestDescriptors[i].revents = polled[i].revents;
        }
    }
    if (t_guest != nullptr) {
        t_guest->FinishWait(guestDescriptors);
    }
}

} // namespace

void SetRunLoopGuest(RunLoopGuest* guest) {
    t_guest = guest;
}

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
    if (t_guest != nullptr) {
        t_guest->Drain();
    }
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
    SleepUntil(wake, now);
    t_blanksSeen = video::BlanksWaited();
}

} // namespace win32
