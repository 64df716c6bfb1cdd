// The multimedia timer, the performance counter, the tick count and the C runtime's calendar time.
//
// All of them read one clock: the host's monotonic clock (time since the machine started, as on Windows), or
// the clock a test installs in its place (platform/testing/Clock.h). Sleep (Synchronization.h) sleeps on the
// same clock. Timeouts of waits on kernel objects always run on the host's clock.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

namespace win32 {

using MMRESULT = UINT;

constexpr MMRESULT TIMERR_NOERROR = 0;
constexpr MMRESULT TIMERR_NOCANDO = 97;

// Milliseconds; wraps after about 49.7 days.
DWORD timeGetTime();
DWORD GetTickCount();

// The clock's resolution does not depend on them; they only keep the Windows pairing: a period of 0, or an
// end without a matching begin, is refused with TIMERR_NOCANDO.
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);

// Ten million counts a second. A machine without a counter (a test can make one) reports a frequency of 0,
// and its counter fails.
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);

// Seconds since 1970-01-01 00:00 UTC, also stored through destination when it is not null. It moves with the
// one clock: installing a test clock keeps the calendar where it was and lets it move only with that clock.
using time_t = std::int64_t;
time_t time(time_t* destination);

// The clock itself, replaceable for tests.
namespace seam {

class ClockSource {
public:
    virtual ~ClockSource();
    // A monotonic count of nanoseconds.
    virtual std::uint64_t NowNanoseconds() = 0;
    // Sleep on this clock (see Sleep); never asked for INFINITE, which Sleep keeps to itself.
    virtual void Sleep(DWORD milliseconds) = 0;
    // The calendar time, in nanoseconds since 1970, at which NowNanoseconds read 0. The host's: its real-time
    // clock less its monotonic clock, taken once.
    virtual std::int64_t UnixNanosecondsAtZero();
};

// Installs a clock (null: the host clock again) and returns the one it replaces (null for the host clock).
// The caller keeps the clock alive while it is installed. Threads of the program read the clock at any time,
// so installing waits until no thread is still inside the clock it replaces: once it returns, that clock may
// go.
ClockSource* InstallClockSource(ClockSource* source);
// Whether the host clock is the one in use (no clock installed).
bool HostClockInstalled();
// The installed clock's reading and the calendar time on it, in nanoseconds since 1970; safe from any thread
// while another installs a clock.
std::uint64_t ClockNanoseconds();
std::int64_t ClockUnixNanoseconds();
// What Sleep does: INFINITE never returns; any other time sleeps on the installed clock.
void SleepOnClock(DWORD milliseconds);

// What tests make of the time calls (platform/testing/Clock.h); each setting stays until it is changed.
// countsPerSecond 0 is a machine without a performance counter.
void SetPerformanceFrequency(LONGLONG countsPerSecond);
// Failing calls return FALSE and leave their result untouched; a failing timeBeginPeriod returns
// TIMERR_NOCANDO.
void SetTimeCallFailures(bool frequency, bool counter, bool beginPeriod);

} // namespace seam

} // namespace win32
