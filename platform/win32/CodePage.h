// The emulated machine's ANSI code page. Names and texts pass through the platform as bytes in this page; the
// calls that scan them for separators or compare them without regard to case step over double-byte characters
// as a whole, so that a trail byte is never taken for a separator or a letter.
#pragma once

#include "platform/win32/Types.h"

#include <cstddef>
#include <string_view>

namespace win32 {

// The ANSI code page number: 1252 unless VEMO_CODEPAGE names another supported page (read once). Supported:
// the single-byte pages 874 and 1250-1258, and the double-byte pages 932, 936, 949 and 950.
UINT GetACP();

// Whether the byte starts a two-byte character in the ANSI code page.
BOOL IsDBCSLeadByte(BYTE testChar);

// Whether the page number is one GetACP can report.
bool IsSupportedCodePage(UINT codePage);

// The length in bytes (1 or 2) of the character that starts at text[index]; a lead byte that ends the text
// stands alone.
std::size_t CharacterLength(std::string_view text, std::size_t index);

// Whether two names are the same without regard to case: ASCII letters fold, double-byte characters compare
// byte for byte.
bool EqualNoCase(std::string_view a, std::string_view b);

// The ASCII upper-case form of a byte; every other byte is returned unchanged.
constexpr char FoldCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

namespace seam {

// Replaces the page chosen at startup (0, or a page that is not supported, restores it);
// platform/testing/CodePage.h wraps this for tests.
void OverrideCodePage(UINT codePage);

} // namespace seam

} // namespace win32
