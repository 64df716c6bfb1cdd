#include "platform/win32/headless/HeadlessRunClock.h"

#include <algorithm>
#include <cstdio>

namespace win32 {

namespace {
constexpr std::uint64_t kNanosecondsPerMillisecond = 1000000;

// Set and asked on the main thread.
std::function<bool()> g_hold;
} // namespace

void HeadlessRunClock::SetHold(std::function<bool()> busy) {
    g_hold = std::move(busy);
}

bool HeadlessRunClock::Held() {
    if (!g_hold || !g_hold()) {
        m_heldSince.reset();
        m_holdLetGo = false;
        return false;
    }
    if (m_holdLetGo) {
        return false;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!m_heldSince) {
        m_heldSince = now;
    }
    if (now - *m_heldSince < kLongestHold) {
        return true;
    }
    m_holdLetGo = true;
    std::fprintf(stderr,
                 "headless run: a web view was still loading or drawing after %lld s of real time; the "
                 "clock moves on at %llu ms without it\n",
                 static_cast<long long>(kLongestHold.count()),
                 static_cast<unsigned long long>(NowMilliseconds()));
    return false;
}

HeadlessRunClock::HeadlessRunClock() : m_mainThread(std::this_thread::get_id()) {
    m_unixAtZero = seam::ClockUnixNanoseconds();
    m_previous = seam::InstallClockSource(this);
}

HeadlessRunClock::~HeadlessRunClock() {
    seam::InstallClockSource(m_previous);
}

std::uint64_t HeadlessRunClock::NowNanoseconds() {
    return m_nanoseconds.load();
}

std::uint64_t HeadlessRunClock::NowMilliseconds() const {
    return m_nanoseconds.load() / kNanosecondsPerMillisecond;
}

std::int64_t HeadlessRunClock::UnixNanosecondsAtZero() {
    return m_unixAtZero;
}

void HeadlessRunClock::Move(std::uint64_t milliseconds) {
    m_nanoseconds.fetch_add(milliseconds * kNanosecondsPerMillisecond);
    if (m_remaining != kEndless) {
        m_remaining -= milliseconds;
    }
    m_movedThisStep = true;
}

void HeadlessRunClock::Sleep(DWORD milliseconds) {
    std::uint64_t left = milliseconds;
    while (IsMainThread() && left > 0 && m_remaining > 0 && !Held()) {
        const std::uint64_t move = std::min({left, kLongestMove, m_remaining});
        Move(move);
        left -= move;
        // Between moves other threads see the clock as it goes.
        std::this_thread::yield();
    }
    std::this_thread::yield();
}

void HeadlessRunClock::BeginWait(std::uint64_t milliseconds) {
    m_remaining = milliseconds;
}

void HeadlessRunClock::EndOfStep() {
    if (Waiting() && !m_movedThisStep && !Held()) {
        Move(1);
    }
    m_movedThisStep = false;
}

} // namespace win32
