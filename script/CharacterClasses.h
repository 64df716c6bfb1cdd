// The byte classes shared by the script, ini and locale readers. Bytes are taken as unsigned values, so a
// byte from 0x80 on is never whitespace and never folds, whatever the host's locale says.
#pragma once

#include "foundation/String.h"

#include <cstddef>
#include <cstdint>

namespace CharacterClasses {

// Tab, line feed, vertical tab, form feed, carriage return and blank.
inline bool IsWhitespace(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// Whitespace that does not end a line: tab, vertical tab, form feed and blank.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

inline bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

inline unsigned char FoldCase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Whether the code page takes the byte for the first of two. No ANSI code page has a lead byte below 0x80.
bool IsLeadByte(unsigned char byte);

// Whether the character at position is the lead byte of a double-byte character whose trail byte lies inside
// the text. A lead byte in the last position stands alone, so no reader ever steps past the end. Every reader
// asks this of every byte, so plain ASCII is answered here without asking the code page.
inline bool StartsDoubleByte(const char* text, std::size_t position, std::size_t size) {
    const auto byte = static_cast<unsigned char>(text[position]);
    return byte >= 0x80 && position + 1 < size && IsLeadByte(byte);
}

// Three-way order of two counted texts without regard to case: the first differing folded byte decides, then
// the shorter text comes first. Embedded zero bytes are ordinary characters here.
inline int CompareCountedNoCase(const char* a, std::size_t aLength, const char* b, std::size_t bLength) {
    const std::size_t common = aLength < bLength ? aLength : bLength;
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

inline int CompareNoCase(const Vemo::String& a, const Vemo::String& b) {
    return CompareCountedNoCase(a.CStr(), a.Length(), b.CStr(), b.Length());
}

// The same order for texts that end at their first zero byte.
inline int CompareTerminatedNoCase(const Vemo::String& a, const Vemo::String& b) {
    const char* left = a.CStr();
    const char* right = b.CStr();
    unsigned char l = 0;
    unsigned char r = 0;
    do {
        l = FoldCase(*left++);
        r = FoldCase(*right++);
    } while (l != 0 && l == r);
    return static_cast<int>(l) - static_cast<int>(r);
}

} // namespace CharacterClasses
