// Which host file or folder a Windows path reaches. Two paths, or two links, that reach the same one give the
// same identity, so a walk that follows links can tell a folder it has been in before from a new one.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// The host's device and inode numbers; only comparison gives them meaning.
struct FILE_IDENTITY {
    ULONGLONG device = 0;
    ULONGLONG index = 0;

    bool operator==(const FILE_IDENTITY& other) const = default;
};

// The identity of what the path reaches, through links as an open goes through them (a link that leads out
// of its drive reaches nothing). FALSE with the last error set when nothing is there (ERROR_FILE_NOT_FOUND),
// or when what is there is neither a file nor a folder: a FIFO, socket or device node (ERROR_ACCESS_DENIED).
BOOL GetFileIdentityA(LPCSTR fileName, FILE_IDENTITY* identity);

} // namespace win32
