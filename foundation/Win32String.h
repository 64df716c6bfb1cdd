// The String in which the Win32 storage engine takes over names from the platform's fixed-size name fields,
// which are not necessarily terminated.
#pragma once

#include "foundation/String.h"

namespace Vemo {

class Win32String : public String {
public:
    Win32String() = default;
    Win32String(const char* text);

    using String::Assign;
    // The characters up to the first NUL but at most maximum; a private buffer that is large enough is
    // reused.
    Win32String& Assign(const char* text, std::uint32_t maximum);
};

} // namespace Vemo
