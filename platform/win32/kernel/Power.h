// The power management messages. No Linux source sends them: the testing API delivers them
// (platform/testing/WindowTesting.h).
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// WM_POWER events (wParam) and answers.
constexpr WPARAM PWR_SUSPENDREQUEST = 1;
constexpr WPARAM PWR_SUSPENDRESUME = 2;
constexpr WPARAM PWR_CRITICALRESUME = 3;
constexpr LRESULT PWR_OK = 1;
constexpr LRESULT PWR_FAIL = -1;

// WM_POWERBROADCAST events (wParam).
constexpr WPARAM PBT_APMQUERYSUSPEND = 0x0000;
constexpr WPARAM PBT_APMQUERYSTANDBY = 0x0001;
constexpr WPARAM PBT_APMQUERYSUSPENDFAILED = 0x0002;
constexpr WPARAM PBT_APMQUERYSTANDBYFAILED = 0x0003;
constexpr WPARAM PBT_APMSUSPEND = 0x0004;
constexpr WPARAM PBT_APMSTANDBY = 0x0005;
constexpr WPARAM PBT_APMRESUMECRITICAL = 0x0006;
constexpr WPARAM PBT_APMRESUMESUSPEND = 0x0007;
constexpr WPARAM PBT_APMRESUMESTANDBY = 0x0008;
constexpr WPARAM PBT_APMBATTERYLOW = 0x0009;
constexpr WPARAM PBT_APMPOWERSTATUSCHANGE = 0x000A;
constexpr WPARAM PBT_APMOEMEVENT = 0x000B;
constexpr WPARAM PBT_APMRESUMEAUTOMATIC = 0x0012;

} // namespace win32
