// The run's own folder in the host's temporary folder (the one GetTempPathA shows), for the files a run makes
// for itself, such as QuickTime's start-up movie. The temporary folder is shared by every user of the host,
// and names made there from what others can guess (a product's name, a process id) may already be taken by a
// file, folder or link of someone else. The run's folder has a name nobody can guess and lets nobody else in:
// "vemo-run-PID-XXXXXX", made by mkdtemp with the mode 0700. The id in the name tells the folder of a run
// that ended without removing it (NewFiles.h decides when a process has ended); such folders are removed when
// the next run of the same user makes its own.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// Makes the run's folder unless it has one, and copies its Windows path, with a "\" at its end, and a NUL
// into buffer. Before making it, removes the folders that ended runs of this user left in the temporary
// folder: folders, not links, of exactly such a name, owned by this user, with the mode 0700; what is inside
// them is removed without following a link. Returns the path's length, or 0 with one line on the standard
// error that names the temporary folder and says why: no drive shows it, the folder's Windows path would not
// fit into bufferLength characters (then it is too long, and nothing is made), or the host would not make it.
DWORD CreateRunTempFolderA(DWORD bufferLength, LPSTR buffer);

// Removes the run's folder with everything in it, never following a link; true when the run has none left.
// What cannot be removed stays, and one line on the standard error names it; the next run removes it.
bool RemoveRunTempFolder();

} // namespace win32
