#include "platform/video/VideoBackend.h"

#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/kernel/Time.h"

#include <atomic>
#include <cstdint>

namespace video {

namespace {

constexpr std::uint64_t kNanosecondsPerMillisecond = 1000000;

std::atomic<bool> g_presentsWaitForBlank{false};
thread_local std::uint64_t t_blanksWaited = 0;

// The millisecond at which the k-th blank starts: k x 1000/60 rounded up.
std::uint64_t BlankStart(std::uint64_t k) {
    return (50 * k + 2) / 3;
}

// The last blank that started at or before the millisecond.
std::uint64_t BlankAtOrBefore(std::uint64_t millisecond) {
    return 3 * millisecond / 50;
}

std::uint64_t NextBlankStart(std::uint64_t nowNanoseconds) {
    std::uint64_t k = BlankAtOrBefore(nowNanoseconds / kNanosecondsPerMillisecond) + 1;
    while (BlankStart(k) * kNanosecondsPerMillisecond <= nowNanoseconds) {
        ++k;
    }
    return BlankStart(k);
}

bool InBlankAt(std::uint64_t nowNanoseconds) {
    std::uint64_t millisecond = nowNanoseconds / kNanosecondsPerMillisecond;
    return BlankStart(BlankAtOrBefore(millisecond)) == millisecond;
}

void SleepUntil(std::uint64_t targetMillisecond, std::uint64_t nowNanoseconds) {
    std::uint64_t target = targetMillisecond * kNanosecondsPerMillisecond;
    if (target <= nowNanoseconds) {
        return;
    }
    std::uint64_t wait =
        (target - nowNanoseconds + kNanosecondsPerMillisecond - 1) / kNanosecondsPerMillisecond;
    win32::Sleep(static_cast<win32::DWORD>(wait));
    NoteBlankWaited();
}

} // namespace

void SetPresentsWaitForBlank(bool wait) {
    g_presentsWaitForBlank.store(wait);
}

void WaitForVerticalBlank(BlankWait wait) {
    if (g_presentsWaitForBlank.load()) {
        return;
    }
    std::uint64_t now = win32::seam::ClockNanoseconds();
    if (wait == BlankWait::Begin) {
        SleepUntil(NextBlankStart(now), now);
        return;
    }
    std::uint64_t millisecond = now / kNanosecondsPerMillisecond;
    std::uint64_t start = InBlankAt(now) ? millisecond : NextBlankStart(now);
    SleepUntil(start + 1, now);
}

std::uint64_t BlanksWaited() {
    return t_blanksWaited;
}

void NoteBlankWaited() {
    ++t_blanksWaited;
}

std::uint64_t NextBlankNanoseconds(std::uint64_t now) {
    return NextBlankStart(now) * kNanosecondsPerMillisecond;
}

bool InVerticalBlank() {
    return g_presentsWaitForBlank.load() || InBlankAt(win32::seam::ClockNanoseconds());
}

} // namespace video
