// New files that a writer puts beside its target before it renames them over it. Their names carry the
// writer's process id, so that the new file of a run killed during its save can be told from the one another
// running process is writing at that moment, and removed. Every writer of such files (the settings files, the
// profile writer, the registry store) names them by one rule and sweeps them with one sweep.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/kernel/Thread.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

// Whether a process of that id runs on this machine.
bool IsProcessRunning(DWORD processId);

// Whether what a process of that id left behind may be taken away: the id is another process's, and no
// process of that id runs. A process of another user counts as running.
bool HasProcessEnded(DWORD processId);

// The rule for a new file's name: the writer's own prefix, then the writing process's id in decimal, then the
// end of the name or a '-' and anything. The id, or 0 when the name does not follow the rule for that prefix.
DWORD ProcessIdAfter(std::string_view name, std::string_view prefix);

// Whether the name is one of a new file with that prefix whose writer, another process, no longer runs.
bool IsStaleNewFile(std::string_view name, std::string_view prefix);

// The sweep: hands every name of a folder's listing that IsStaleNewFile takes to remove. What cannot be
// removed stays, silently: the next writer tries again.
void RemoveStaleNewFiles(const std::vector<std::string>& names, std::string_view prefix,
                         const std::function<void(const std::string&)>& remove);

// The sweep of a folder held open (a descriptor), listed and swept through that descriptor.
void RemoveStaleNewFiles(int folder, std::string_view prefix);

// The sweep of a host folder of the player's own (not a title's, whose folders are held open).
void RemoveStaleNewFiles(const std::string& hostFolder, std::string_view prefix);

} // namespace win32
