// File searches: FindFirstFileA lists the entries of one folder whose names match the wildcard of the path's
// last component (Wildcard.h), FindNextFileA steps on, FindClose ends the search. The folder's names are
// taken when the search starts; each entry's record is read when it is returned, and an entry that has gone
// by then is passed over. Entries come in the host's order; "." and ".." are listed like other entries where
// the host lists them, except at a drive's root, which has none.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/files/File.h"
#include "platform/win32/files/FileInfo.h"

namespace win32 {

constexpr DWORD MAX_PATH = 260;

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes; // as GetFileAttributesA reports them
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];    // the host's spelling
    CHAR cAlternateFileName[14]; // always empty: the host keeps no short names
};
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;

// The first matching entry; INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND when none matches (or the path
// ends in a separator), ERROR_PATH_NOT_FOUND when the folder does not exist.
HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findFileData);

// The next matching entry; FALSE with ERROR_NO_MORE_FILES after the last.
BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findFileData);

// Ends a search; FALSE with ERROR_INVALID_HANDLE for a handle that is not a search.
BOOL FindClose(HANDLE findFile);

namespace seam {

// Makes every later search list "." and ".." after the other entries (false: where the host puts them), for
// tests of callers that must not rely on finding them first; platform/testing/Find.h wraps this.
void ListDotEntriesLast(bool last);

} // namespace seam

} // namespace win32
