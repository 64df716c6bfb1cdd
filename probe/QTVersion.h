// Corvintale: tells an outside caller which major version of QuickTime is installed. QTVersion is the
// library's one export; everything else in it is hidden.
#pragma once

#include <cstdint>

// 0 when QuickTime is missing, cannot be started or is older than version 4; otherwise 4, 5 or 6, every
// version from 6 up giving 6. QuickTime is started for the question and stopped again on every path.
extern "C" [[gnu::visibility("default")]] std::int32_t QTVersion();
