// Texts between the emulated machine's code pages (CodePage.h) and 16-bit Unicode (UTF-16), as COM and the
// wide calls take them. Conversions are glibc's iconv tables of each Windows page.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPBOOL = BOOL*;

// Code page numbers besides the supported pages themselves: the ANSI page (GetACP) for both.
constexpr UINT CP_ACP = 0;
constexpr UINT CP_THREAD_ACP = 3;

constexpr DWORD MB_PRECOMPOSED = 0x1;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;

constexpr DWORD ERROR_INVALID_FLAGS = 1004;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

// Converts length bytes of text (-1: up to and including its zero byte) into at most size characters of
// output; with size 0 nothing is written and the number of characters needed is returned. A byte (or pair)
// the page does not define becomes U+0000-U+00FF of the same value on a single-byte page (as Windows maps the
// five holes of page 1252) and U+003F '?' on a double-byte page, unless MB_ERR_INVALID_CHARS makes it fail
// with ERROR_NO_UNICODE_TRANSLATION; a lead byte that ends the text counts as such a byte. Returns the
// characters written, or 0 with ERROR_INSUFFICIENT_BUFFER (output too small), ERROR_INVALID_PARAMETER (a
// page that is not supported, a null text, a negative size, a length of 0 or below -1) or ERROR_INVALID_FLAGS
// (flags other than those above).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR output, int size);

// The reverse, into at most size bytes. A character the page cannot show (an unpaired surrogate included)
// becomes defaultChar's first byte, '?' when it is null, and sets *usedDefaultChar (when given) to TRUE.
// flags must be 0 (ERROR_INVALID_FLAGS); other failures as above.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int length, LPSTR output, int size,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar);

} // namespace win32
