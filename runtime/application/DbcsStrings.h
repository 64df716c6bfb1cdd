// Searches over texts in the ANSI code page that never take the trail byte of a double-byte character for a
// character of its own: a lead byte is skipped together with the byte after it, and lead bytes never match.
// Paths read from the registry and the Windows calls are split with them, so a trail byte that happens to be
// '\' never cuts a name.
#pragma once

#include "foundation/String.h"

#include <cstdint>

// The index of the first single-byte character equal to c, or -1.
std::int32_t FindCharDbcs(const Vemo::String& text, char c);
// The index of the first single-byte character at or after start that is in the set, or -1.
std::int32_t FindFirstOfDbcs(const Vemo::String& text, const char* set, std::uint32_t start);
// The index of the first character at or after start that is not in the set, or -1; a double-byte character
// is never in the set.
std::int32_t FindFirstNotOfDbcs(const Vemo::String& text, const char* set, std::uint32_t start);
// Appends "/" to a text that is not empty and does not end in one.
void EnsureTrailingSlash(Vemo::String& text);
