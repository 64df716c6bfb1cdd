// The C library's formatted print into a character array. The array's own size bounds what is written, so a
// result too long for it is cut (and still ended by a zero) instead of running past its end.
#pragma once

#include <cstddef>
#include <cstdio>

// The characters written, without the ending zero.
template <std::size_t Size, class... Arguments>
int FormatToBuffer(char (&buffer)[Size], const char* format, Arguments... arguments) {
    static_assert(Size > 0);
    const int wanted = std::snprintf(buffer, Size, format, arguments...);
    if (wanted < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return static_cast<std::size_t>(wanted) < Size ? wanted : static_cast<int>(Size - 1);
}
