// Windows paths and the framework's paths. A drive letter is a volume of the storage engine: "a:" and "b:"
// are "FD" and their number among the floppy drives; every other drive is named by its kind ("HD" fixed, "CD"
// CD-ROM, "RD" removable, remote or RAM disk) and its number among the drives of that kind, counted in
// letter order from 0, as the storage engine names them. A Windows path C:\Title\Data so becomes the path
// HD0:/Title/Data when C: is the first fixed drive.
#pragma once

#include "foundation/String.h"

namespace Vemo {
class Path;
}

// The Windows path as a framework path; a relative one is taken from the current directory. Each directory
// on the way must be one the storage engine can enter. False when the path has no drive or a directory does
// not exist.
bool MakeAbsolutePath(const Vemo::String& text, Vemo::Path& out);
// The volume name of the drive, or the empty text when the drive is not present or of no known kind.
Vemo::String DriveVolumeName(char letter);
// The 8.3 form of the path for programs that need one; false for a path that does not exist.
bool GetShortPath(const Vemo::Path& path, Vemo::String& out);
bool GetShortPathText(const Vemo::String& path, Vemo::String& out);
