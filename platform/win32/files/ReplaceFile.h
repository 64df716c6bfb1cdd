// What a file that is replaced by a new one keeps: the file the player finds under its name stays the same
// file to the host's users and links. A writer puts its new file beside the file a name finally designates
// (FollowFileLinkA), so that a name that is a symbolic link stays one and the file it leads to is replaced,
// and puts it in that file's place with ReplaceFileA, which gives it the replaced file's permission bits and
// group.
#pragma once

#include "platform/win32/Types.h"

#include <string>

namespace win32 {

// Renames the replacement over the replaced file, in one step, as MoveFileExA with MOVEFILE_REPLACE_EXISTING
// does, after giving it the replaced file's permission bits and, where this process may set it, its group
// (else it keeps its own). Only the plain form is offered: no backup file, no flags (ERROR_INVALID_PARAMETER
// otherwise). ERROR_FILE_NOT_FOUND when either file does not exist, or when the replaced name is a link that
// leads to nothing or out of its drive's folder (nothing there has a mode to hand on); a read-only replaced
// file is refused with ERROR_ACCESS_DENIED before the replacement is touched. Both names are taken as entries
// of the folders they resolved to: a replacement that is a link is refused, and nothing outside a drive's
// folder lends or takes a mode, whatever another process swaps in meanwhile.
BOOL ReplaceFileA(LPCSTR replacedFileName, LPCSTR replacementFileName, LPCSTR backupFileName,
                  DWORD replaceFlags, LPVOID exclude, LPVOID reserved);

// The Windows path of the file that a name designates: when its last component is a symbolic link, the path,
// on the same drive, of the file that link finally leads to; otherwise the path as given. A link that leads
// out of its drive's folder, or to nothing, is refused with ERROR_ACCESS_DENIED; a path that cannot be
// resolved fails with the errors of ResolveHostPath.
BOOL FollowFileLinkA(LPCSTR fileName, std::string& out);

} // namespace win32
