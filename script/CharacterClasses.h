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

// Whether the character at position is the lead byte of a double-byte character whose trail byte lies inside
// the text. A lead byte in the last position stands alone, so no reader ever steps past the end.
bool StartsDoubleByte(const char* text, std::size_t position, std::size_t size);

// Three-way order of two counted texts without regard to case: the first differing folded byte decides, then
// the shorter text comes first. Embedded zero bytes are ordinary characters here.
int CompareCountedNoCase(const char* a, std::size_t aLength, const char* b, std::size_t bLength);

inline int CompareNoCase(const Vemo::String& a, const Vemo::String& b) {
    return CompareCountedNoCase(a.CStr(), a.Length(), b.CStr(), b.Length());
}

} // namespace CharacterClasses
