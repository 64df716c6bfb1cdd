#include "foundation/Win32String.h"

namespace Vemo {

Win32String::Win32String(const char* text) : String(text) {}

Win32String& Win32String::Assign(const char* text, std::uint32_t maximum) {
    AssignBounded(text, maximum);
    return *this;
}

} // namespace Vemo
