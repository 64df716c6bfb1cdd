#include "platform/win32/kernel/NewFiles.h"

#include "platform/win32/HostDescriptor.h"
#include "platform/win32/files/HostPath.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace win32 {

bool IsProcessRunning(DWORD processId) {
    if (processId == 0 || processId > 0x7FFFFFFF) {
        return false;
    }
    // A process of another user still runs: only "no such process" says it is gone.
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno != ESRCH;
}

DWORD ProcessIdAfter(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) {
        return 0;
    }
    std::uint64_t id = 0;
    std::size_t at = prefix.size();
    for (; at < name.size() && name[at] >= '0' && name[at] <= '9'; ++at) {
        id = id * 10 + static_cast<unsigned>(name[at] - '0');
        if (id > 0x7FFFFFFF) {
            return 0;
        }
    }
    if (at == prefix.size() || (at < name.size() && name[at] != '-')) {
        return 0;
    }
    return static_cast<DWORD>(id);
}

bool HasProcessEnded(DWORD processId) {
    return processId != 0 && processId != GetCurrentProcessId() && !IsProcessRunning(processId);
}

bool IsStaleNewFile(std::string_view name, std::string_view prefix) {
    return HasProcessEnded(ProcessIdAfter(name, prefix));
}

void RemoveStaleNewFiles(const std::vector<std::string>& names, std::string_view prefix,
                         const std::function<void(const std::string&)>& remove) {
    for (const std::string& name : names) {
        if (IsStaleNewFile(name, prefix)) {
            remove(name);
        }
    }
}

void RemoveStaleNewFiles(int folder, std::string_view prefix) {
    std::vector<std::string> names;
    if (!ListFolder(folder, [&names](std::string_view name) { names.emplace_back(name); })) {
        return;
    }
    RemoveStaleNewFiles(names, prefix,
                        [folder](const std::string& name) { ::unlinkat(folder, name.c_str(), 0); });
}

void RemoveStaleNewFiles(const std::string& hostFolder, std::string_view prefix) {
    const HostDescriptor folder(
        ::open(hostFolder.empty() ? "." : hostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) {
        RemoveStaleNewFiles(folder.Get(), prefix);
    }
}

} // namespace win32
