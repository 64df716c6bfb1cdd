// Every file and device handle the process holds, with what each one may do and lets others do. Windows
// checks a new open of a file against the share modes of every handle already open on it, and refuses to
// delete, rename or lock what an open handle does not allow; the host does neither, so the platform keeps
// this list.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/files/File.h"

#include <sys/types.h>

namespace win32 {

// One open handle. A file is known by its host device and inode, so that every spelling and every hard link
// of one file meets the same records; a device handle only counts on its drive.
struct OpenRecord {
    bool isFile = true;
    dev_t device = 0;
    ino_t inode = 0;
    char drive = 0; // the drive letter the handle was opened through
    bool read = false;
    bool write = false;
    DWORD share = 0;     // FILE_SHARE_* bits
    bool remove = false; // opened with DELETE access
};

class OpenFiles {
public:
    // Enters the record, unless it is a file whose access or share mode conflicts with a handle already open
    // on that file: then false, with ERROR_SHARING_VIOLATION as last error. The record must stay alive until
    // Leave.
    static bool Enter(const OpenRecord* record);
    static void Leave(const OpenRecord* record);

    // Whether some handle on the file does not let it be deleted or renamed.
    static bool IsDeleteBlocked(dev_t device, ino_t inode);

    // Whether some handle on the file is open at all.
    static bool IsOpen(dev_t device, ino_t inode);

    // How many handles are open through the drive letter, not counting the one given.
    static int CountOnDrive(char drive, const OpenRecord* except);
};

} // namespace win32
