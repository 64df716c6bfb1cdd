#include "platform/win32/kernel/RunFolder.h"

#include "platform/win32/HostDescriptor.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/SystemPaths.h"
#include "platform/win32/kernel/NewFiles.h"
#include "platform/win32/kernel/Thread.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace win32 {

namespace {

constexpr std::string_view kPrefix = "vemo-run-";
constexpr std::string_view kRandomPart = "XXXXXX";
constexpr mode_t kRunFolderMode = 0700;

struct RunFolder {
    std::string parent; // the host's temporary folder it was made in
    std::string name;   // empty: the run has no folder
    std::string windows;
};

RunFolder g_runFolder;

bool IsRandomCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The id of the run whose folder a name is: exactly the prefix, the id as mkdtemp's template had it, a '-'
// and the six characters mkdtemp chose. 0 for any other name.
DWORD RunOfFolder(std::string_view name) {
    const DWORD id = ProcessIdAfter(name, kPrefix);
    const std::string start = std::string(kPrefix) + std::to_string(id) + '-';
    if (id == 0 || name.size() != start.size() + kRandomPart.size() ||
        name.substr(0, start.size()) != start) {
        return 0;
    }
    const std::string_view random = name.substr(start.size());
    return std::all_of(random.begin(), random.end(), IsRandomCharacter) ? id : 0;
}

bool RemoveEntry(int folder, const char* name);

// Removes what the folder open at the descriptor holds, and closes the descriptor.
bool RemoveContents(int folder) {
    bool removed = true;
    const bool listed = ListFolder(folder, [&](std::string_view name) {
        if (name != "." && name != "..") {
            removed = RemoveEntry(folder, std::string(name).c_str()) && removed;
        }
    });
    ::close(folder);
    return listed && removed;
}

// A link goes as the name it is, never as what it leads to; a folder goes with what it holds.
bool RemoveEntry(int folder, const char* name) {
    struct stat info {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT;
    }
    if (!S_ISDIR(info.st_mode)) {
        return ::unlinkat(folder, name, 0) == 0 || errno == ENOENT;
    }
    const int inner = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    return inner >= 0 && RemoveContents(inner) && ::unlinkat(folder, name, AT_REMOVEDIR) == 0;
}

// Removes a run folder in the parent folder when it is one this user made: a folder, not a link, of this
// user, with the mode mkdtemp gave it. True when the name is gone.
bool RemoveRunFolder(int parent, const char* name) {
    const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (folder < 0) {
        return errno == ENOENT;
    }
    struct stat info {};
    if (::fstat(folder, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 07777) != kRunFolderMode) {
        ::close(folder);
        return false;
    }
    return RemoveContents(folder) && ::unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

void RemoveEndedRunFolders(const std::string& hostFolder) {
    const HostDescriptor parent(::open(hostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC));
    if (parent.Get() < 0) {
        return;
    }
    ListFolder(parent.Get(), [&parent](std::string_view name) {
        if (HasProcessEnded(RunOfFolder(name))) {
            RemoveRunFolder(parent.Get(), std::string(name).c_str());
        }
    });
}

// Whether the Windows path fits into the caller's buffer, NUL included; says it when it does not.
bool Fits(const std::string& windows, DWORD bufferLength, const std::string& parent) {
    if (windows.size() < bufferLength) {
        return true;
    }
    std::fprintf(stderr,
                 "vemo: the temporary folder %s is too long: the Windows path of the run's own folder in it "
                 "would have %zu characters, and it may have %lu at most (TMPDIR names another temporary "
                 "folder)\n",
                 parent.c_str(), windows.size(), bufferLength > 0 ? bufferLength - 1UL : 0UL);
    return false;
}

bool MakeRunFolder(DWORD bufferLength) {
    const std::string parent = detail::TemporaryFolder();
    // GetTempPathA says itself, naming the folder, when no drive shows it.
    const DWORD needed = GetTempPathA(0, nullptr);
    if (needed == 0) {
        return false;
    }
    std::string windows(needed, '\0');
    const DWORD length = GetTempPathA(needed, windows.data());
    if (length == 0 || length >= needed) {
        return false;
    }
    windows.resize(length);
    const std::string name = std::string(kPrefix) + std::to_string(GetCurrentProcessId()) + '-';
    windows += name + std::string(kRandomPart) + '\\';
    if (!Fits(windows, bufferLength, parent)) {
        return false;
    }
    RemoveEndedRunFolders(parent);
    std::string made = JoinHostPath(parent, name + std::string(kRandomPart));
    if (::mkdtemp(made.data()) == nullptr) {
        std::fprintf(stderr, "vemo: the run's own folder could not be made in the temporary folder %s: %s\n",
                     parent.c_str(), std::strerror(errno));
        return false;
    }
    // The umask may have taken bits of mkdtemp's mode, which is what tells a run folder from anything else.
    const int folder = ::open(made.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder >= 0) {
        ::fchmod(folder, kRunFolderMode);
        ::close(folder);
    }
    const std::string random = made.substr(made.size() - kRandomPart.size());
    windows.replace(windows.size() - 1 - kRandomPart.size(), kRandomPart.size(), random);
    g_runFolder = RunFolder{parent, name + random, windows};
    return true;
}

} // namespace

DWORD CreateRunTempFolderA(DWORD bufferLength, LPSTR buffer) {
    if (g_runFolder.name.empty() && !MakeRunFolder(bufferLength)) {
        return 0;
    }
    if (buffer == nullptr || !Fits(g_runFolder.windows, bufferLength, g_runFolder.parent)) {
        return 0;
    }
    std::memcpy(buffer, g_runFolder.windows.c_str(), g_runFolder.windows.size() + 1);
    return static_cast<DWORD>(g_runFolder.windows.size());
}

bool RemoveRunTempFolder() {
    if (g_runFolder.name.empty()) {
        return true;
    }
    const int parent = ::open(g_runFolder.parent.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    const bool removed = parent >= 0 ? RemoveRunFolder(parent, g_runFolder.name.c_str()) : errno == ENOENT;
    if (parent >= 0) {
        ::close(parent);
    }
    if (!removed) {
        std::fprintf(stderr, "vemo: the run's own temporary folder %s could not be removed\n",
                     JoinHostPath(g_runFolder.parent, g_runFolder.name).c_str());
    }
    g_runFolder = RunFolder{};
    return removed;
}

} // namespace win32
