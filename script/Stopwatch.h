// Measures time from its construction on the performance counter, in microseconds.
#pragma once

#include <cstdint>

class Stopwatch {
public:
    // Also reads the counter's frequency, which the whole process shares.
    Stopwatch();

    // The time since construction. Exact for any span the counter can hold: the count is split into whole
    // seconds and the rest before scaling, so no intermediate product overflows.
    std::uint64_t ElapsedMicroseconds() const;

private:
    std::uint64_t m_start;
};
