// The multimedia timer, the performance counter and the tick count.
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

// Ten million counts a second.
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);

// The clock itself, replaceable for tests.
namespace seam {

class ClockSource {
public:
    virtual ~ClockSource();
    // A monotonic count of nanoseconds.
    virtual std::uint64_t NowNanoseconds() = 0;
    // Sleep on this clock (see Sleep).
    virtual void Sleep(DWORD milliseconds) = 0;
};

// Installs a clock (null: the host clock again) and returns the one it replaces (null for the host clock).
// The caller keeps the clock alive while it is installed.
ClockSource* InstallClockSource(ClockSource* source);
ClockSource& CurrentClockSource();

} // namespace seam

} // namespace win32
