// A stored text read as a number of the value syntax: as the C library's strtol with automatic base
// (decimal, "0x" hexadecimal, a leading 0 octal) in 32 bits; empty or non-numeric text gives 0. Variables
// and raw key texts that hold counts, durations and rates are read this way.
#pragma once

#include "foundation/String.h"

#include <cstdint>

std::int32_t TextToInteger(const Vemo::String& text);
// As TextToInteger; false when the number lies beyond 32 bits (number is then the nearest 32-bit value).
bool TextToFittingInteger(const Vemo::String& text, std::int32_t& number);
