// New files that a writer puts beside its target before it renames them over it. Their names carry the
// writer's process id, so that the new file of a run killed during its save can be told from the one another
// running process is writing at that moment, and removed.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/kernel/Thread.h"

#include <string>
#include <string_view>

namespace win32 {

// Whether a process of that id runs on this machine.
bool IsProcessRunning(DWORD processId);

// Whether what a process of that id left behind may be taken away: the id is another process's, and no
// process of that id runs. A process of another user counts as running.
bool HasProcessEnded(DWORD processId);

// The process id that name carries right after prefix: the decimal digits there, up to the end of the name
// or to a '-'. 0 when the name does not start with prefix or carries no such id.
DWORD ProcessIdAfter(std::string_view name, std::string_view prefix);

// Removes the files of the host folder whose names start with prefix followed by the id of a process that no
// longer runs. What cannot be removed stays, silently: the next writer tries again.
void RemoveStaleNewFiles(const std::string& hostFolder, std::string_view prefix);

} // namespace win32
