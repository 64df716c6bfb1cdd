// The wildcard rule of file searches: '*' stands for any run of characters (also none), '?' for exactly one
// character, and every other character for itself, compared without regard to case. A double-byte character
// of the ANSI code page counts as one character. There are no DOS quirks: "*.*" wants a dot.
#pragma once

#include <string_view>

namespace win32 {

bool MatchWildcard(std::string_view pattern, std::string_view name);

} // namespace win32
