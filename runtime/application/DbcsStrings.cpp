#include "runtime/application/DbcsStrings.h"

#include "platform/win32/CodePage.h"

#include <cstring>

namespace {

bool InSet(const char* set, char c) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

// Walks the characters from start (which must begin a character) and gives the index of the first one the
// test accepts, or -1. A lead byte that ends the text stands alone.
template <class Accept>
std::int32_t FindCharacter(const Vemo::String& text, std::uint32_t start, Accept accept) {
    const char* bytes = text.CStr();
    const std::uint32_t length = text.Length();
    std::uint32_t i = 0;
    while (i < length) {
        const bool lead = win32::IsDBCSLeadByte(static_cast<win32::BYTE>(bytes[i])) && i + 1 < length;
        if (i >= start && accept(bytes[i], lead)) {
            return static_cast<std::int32_t>(i);
        }
        i += lead ? 2 : 1;
    }
    return -1;
}

} // namespace

std::int32_t FindCharDbcs(const Vemo::String& text, char c) {
    return FindCharacter(text, 0, [c](char byte, bool lead) { return !lead && byte == c; });
}

std::int32_t FindFirstOfDbcs(const Vemo::String& text, const char* set, std::uint32_t start) {
    return FindCharacter(text, start, [set](char byte, bool lead) { return !lead && InSet(set, byte); });
}

std::int32_t FindFirstNotOfDbcs(const Vemo::String& text, const char* set, std::uint32_t start) {
    return FindCharacter(text, start, [set](char byte, bool lead) { return lead || !InSet(set, byte); });
}

void EnsureTrailingSlash(Vemo::String& text) {
    if (!text.IsEmpty() && text.CStr()[text.Length() - 1] != '/') {
        text.Append("/");
    }
}
