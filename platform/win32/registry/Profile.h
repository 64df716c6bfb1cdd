// Private profile files: the ini files of Windows' own configuration ("SYSTEM.INI"), read and written one
// value at a time.
//
// A file name without a drive or folder names a file of the Windows folder (WindowsDirectory.h); any other
// name is a Windows path through the drive table. Sections and keys compare without regard to case. A file is
// read as lines: "[section]", "key=value" (blanks around key and value are not part of them), and others (a
// ';' comment, a line without '=') that name nothing but are kept.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// The value of the key in the section (a value quoted with a pair of ' or " loses the quotes), else
// defaultValue (null: empty) without its trailing blanks, copied into the buffer, cut to size - 1 characters,
// and ended with a zero. Returns the characters copied. A missing file gives the default with
// ERROR_FILE_NOT_FOUND. A null section or key (which would list names) is not offered: the default, with
// ERROR_INVALID_PARAMETER.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName);

// Sets the key to the value in the section: the first line of that key is rewritten in place, else the key
// is added after the section's last line, else the section is added at the end of the file, which is made
// when missing. A null value removes the key's lines, a null key the whole section. Other lines stay as they
// are; new lines end as the file's first line does (CR LF in a new file). The file is replaced atomically (a
// new file beside it, flushed, renamed over it), so a reader sees the old or the new content, never a part.
// FALSE with ERROR_INVALID_PARAMETER for a null section, or a text that would change the file's lines: a line
// break in any of the three, '=' in the key or a key starting with '[' or ';', ']' in the section; with the
// path's error for a folder that does not exist; with the host's reason when the file cannot be written.
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

} // namespace win32
