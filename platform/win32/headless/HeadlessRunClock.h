// The clock of a scripted headless run (platform/win32/input/HeadlessRun.h): it reads 0 when the run starts
// and moves only while a wait runs, by the main thread's own sleeps and at the end of an application step
// that did not move it. Internal to the platform layer.
#pragma once

#include "platform/win32/kernel/Time.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>

namespace win32 {

class HeadlessRunClock final : public seam::ClockSource {
public:
    // The longest single move of the clock.
    static constexpr std::uint64_t kLongestMove = 10;

    // Installs itself; the calling thread is the main thread.
    HeadlessRunClock();
    // Puts back the clock that was installed before.
    ~HeadlessRunClock() override;
    HeadlessRunClock(const HeadlessRunClock&) = delete;
    HeadlessRunClock& operator=(const HeadlessRunClock&) = delete;

    std::uint64_t NowNanoseconds() override;
    // On the main thread while a wait runs: moves the clock by the milliseconds in moves of at most
    // kLongestMove, stopping where the wait ends. Elsewhere, and when no wait runs, it returns at once.
    void Sleep(DWORD milliseconds) override;
    std::int64_t UnixNanosecondsAtZero() override;

    bool IsMainThread() const { return std::this_thread::get_id() == m_mainThread; }
    std::uint64_t NowMilliseconds() const;

    // On the main thread. A wait of the milliseconds starts now (0: none); an endless one with kEndless.
    static constexpr std::uint64_t kEndless = UINT64_MAX;
    void BeginWait(std::uint64_t milliseconds);
    bool Waiting() const { return m_remaining > 0; }
    // An application step ended: 1 ms when it moved the clock no more while a wait runs.
    void EndOfStep();

    // While busy answers true, the clock does not move (platform/win32/input/HeadlessRun.h); the longest
    // hold.
    static void SetHold(std::function<bool()> busy);
    static constexpr std::chrono::seconds kLongestHold{10};

private:
    void Move(std::uint64_t milliseconds);
    bool Held();

    std::atomic<std::uint64_t> m_nanoseconds{0};
    std::int64_t m_unixAtZero = 0;
    const std::thread::id m_mainThread;
    // Read and written by the main thread only.
    std::uint64_t m_remaining = 0;
    bool m_movedThisStep = false;
    std::optional<std::chrono::steady_clock::time_point> m_heldSince;
    bool m_holdLetGo = false;
    seam::ClockSource* m_previous = nullptr;
};

} // namespace win32
