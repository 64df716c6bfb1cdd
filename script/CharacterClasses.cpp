#include "script/CharacterClasses.h"

#include "platform/win32/CodePage.h"

#include <algorithm>

namespace CharacterClasses {

bool StartsDoubleByte(const char* text, std::size_t position, std::size_t size) {
    const auto byte = static_cast<unsigned char>(text[position]);
    // No ANSI code page has a lead byte below 0x80; the test keeps the platform call off plain ASCII text.
    if (byte < 0x80 || position + 1 >= size) {
        return false;
    }
    return win32::IsDBCSLeadByte(byte) != 0;
}

int CompareCountedNoCase(const char* a, std::size_t aLength, const char* b, std::size_t bLength) {
    const std::size_t common = std::min(aLength, bLength);
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char left = FoldCase(a[i]);
        const unsigned char right = FoldCase(b[i]);
        if (left != right) {
            return left < right ? -1 : 1;
        }
    }
    if (aLength == bLength) {
        return 0;
    }
    return aLength < bLength ? -1 : 1;
}

} // namespace CharacterClasses
