// Calls on names rather than open files: attributes, folders, deleting, moving and copying.
//
// Windows behaviour kept on the host: names are found without regard to case, so a target "exists" in any
// spelling; a read-only file (owner-write bit clear, or any file on a CD-ROM drive) cannot be deleted,
// replaced or written, and nothing is created, moved or deleted on a CD-ROM drive; a file held open by a
// handle that does not share delete cannot be deleted, renamed or replaced (ERROR_SHARING_VIOLATION).
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/files/File.h"
#include "platform/win32/files/FileInfo.h"

namespace win32 {

constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x00000002;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;

// The FILE_ATTRIBUTE_* bits of a file or folder (FileInfo.h); INVALID_FILE_ATTRIBUTES when it does not exist.
DWORD GetFileAttributesA(LPCSTR fileName);

// Creates a folder; ERROR_ALREADY_EXISTS when the name exists in any spelling, ERROR_PATH_NOT_FOUND when its
// parent does not.
BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES security);

// Deletes a file or a symbolic link to a file. A folder (or a link to one) is refused with
// ERROR_ACCESS_DENIED: RemoveDirectoryA removes those.
BOOL DeleteFileA(LPCSTR fileName);

// Removes an empty folder (ERROR_DIR_NOT_EMPTY otherwise), or a symbolic link to a folder without touching
// its target. ERROR_DIRECTORY for a file; a read-only folder and a drive's root are refused.
BOOL RemoveDirectoryA(LPCSTR pathName);

// Moves or renames a file or a folder. The target must not exist in any spelling (ERROR_ALREADY_EXISTS),
// except that renaming an entry to another spelling of its own name changes only the spelling, and moving it
// onto itself changes nothing. MOVEFILE_REPLACE_EXISTING lets a file replace an existing file (never a
// folder, nor a read-only file), in one step: if the move fails, both stay as they were. Between host file
// systems a file is copied and then deleted when MOVEFILE_COPY_ALLOWED is given (ERROR_NOT_SAME_DEVICE
// otherwise, and always for a folder; ERROR_ACCESS_DENIED for what is no regular file).
BOOL MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags);

// MoveFileExA with MOVEFILE_COPY_ALLOWED: across host file systems a file is copied and deleted.
BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName);

// Copies a file's data, permission bits (so its read-only attribute) and times. The copy is written beside
// the target and then put in its place, so a failed copy leaves no part of a file behind. A source that is no
// regular file (a folder, a FIFO, a socket, a device node) is refused with ERROR_ACCESS_DENIED, at once. A
// copy onto the source itself (in any spelling, or through another link) is refused with
// ERROR_SHARING_VIOLATION; an existing target is refused with ERROR_FILE_EXISTS when failIfExists is set and
// is replaced otherwise.
BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists);

} // namespace win32
