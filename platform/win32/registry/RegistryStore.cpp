#include "platform/win32/registry/RegistryStore.h"

#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
#include "platform/win32/headless/HeadlessRunLog.h"
#include "platform/win32/kernel/NewFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace win32 {

namespace {

std::string FolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

LSTATUS StatusFromErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    default:
        return static_cast<LSTATUS>(ErrorFromErrno(error));
    }
}

// Why the lock file beside the store cannot be taken. Without its folder, opening the file only says that
// the name is missing; the cause is that the folder could not be made.
std::string LockProblem(const std::string& folder, const std::error_code& madeFolder, int error) {
    if (madeFolder) {
        return "cannot take its lock file: its folder " + folder +
               " is missing and cannot be made: " + madeFolder.message();
    }
    std::string problem = std::string("cannot take its lock file: ") + std::strerror(error);
    if ((error == EACCES || error == EPERM || error == EROFS) && ::access(folder.c_str(), W_OK) != 0) {
        problem += "; its folder " + folder + " is read-only";
    }
    return problem;
}

} // namespace

RegistryStore& RegistryStore::Instance() {
    // Never destroyed: exit-time code may still read the registry.
    static RegistryStore* store = new RegistryStore;
    return *store;
}

void RegistryStore::UsePath(const std::string& path) {
    std::lock_guard guard(m_lock);
    m_override = path;
    m_cached = false;
}

std::string RegistryStore::PathInUse() {
    std::lock_guard guard(m_lock);
    return Path();
}

std::string RegistryStore::Path() const {
    if (!m_override.empty()) {
        return m_override;
    }
    const char* named = std::getenv("VEMO_REGISTRY");
    if (named != nullptr && *named != '\0') {
        return named;
    }
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/vemo/registry.txt";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/vemo/registry.txt";
    }
    return {};
}

void RegistryStore::Report(const std::string& path, const std::string& problem) {
    const std::string message = "registry store " + path + ": " + problem;
    if (m_reported.insert(message).second) {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
}

LSTATUS RegistryStore::Refresh(const std::string& path) {
    Identity identity;
    std::string text;
    // Without blocking: a FIFO in the store's place must not stall the program.
    HostDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0) {
        if (errno == ENXIO) {
            EndRun("registry store " + path + ": is not a regular file");
        }
        if (errno != ENOENT) {
            Report(path, std::string("cannot be read: ") + std::strerror(errno));
            return StatusFromErrno(errno);
        }
    } else {
        struct stat info {};
        if (::fstat(file.Get(), &info) != 0) {
            return StatusFromErrno(errno);
        }
        // Every later read of the registry would find the same wrong file: the run cannot go on.
        if (!S_ISREG(info.st_mode)) {
            EndRun("registry store " + path + ": is not a regular file");
        }
        if (static_cast<std::size_t>(info.st_size) > kMostBytesReadWhole) {
            EndRun("registry store " + path + ": is larger than 64 MiB");
        }
        identity = Identity{true,
                            info.st_dev,
                            info.st_ino,
                            info.st_size,
                            static_cast<long long>(info.st_mtim.tv_sec),
                            info.st_mtim.tv_nsec};
    }
    if (m_cached && m_cachedPath == path && m_identity == identity) {
        return m_broken ? ERROR_BADDB : ERROR_SUCCESS;
    }
    if (identity.exists) {
        const ReadOutcome outcome = ReadUpTo(file.Get(), kMostBytesReadWhole, text);
        if (outcome == ReadOutcome::TooLarge) {
            EndRun("registry store " + path + ": is larger than 64 MiB");
        }
        if (outcome == ReadOutcome::Failed) {
            Report(path, std::string("cannot be read: ") + std::strerror(errno));
            return StatusFromErrno(errno);
        }
    }
    std::string error;
    m_broken = !m_tree.Parse(text, error);
    m_cached = true;
    m_cachedPath = path;
    m_identity = identity;
    if (m_broken) {
        Report(path, error + "; the registry is not used, nor written, until the file is mended");
        return ERROR_BADDB;
    }
    // Windows always has the user's desktop settings key; installers open it and never create it.
    m_tree.Make(RegistryTree::RootIndex(HKEY_CURRENT_USER), {"Control Panel", "Desktop"});
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::Read(const std::function<LSTATUS(RegistryTree&)>& operation) {
    std::lock_guard guard(m_lock);
    const std::string path = Path();
    if (path.empty()) {
        Report("(none)", "neither VEMO_REGISTRY, XDG_CONFIG_HOME nor HOME names a place for it");
        return ERROR_PATH_NOT_FOUND;
    }
    RemoveStaleNewFilesOnce(path);
    const LSTATUS status = Refresh(path);
    return status == ERROR_SUCCESS ? operation(m_tree) : status;
}

LSTATUS RegistryStore::Modify(const std::function<LSTATUS(RegistryTree&)>& operation) {
    std::lock_guard guard(m_lock);
    std::string path = Path();
    if (path.empty()) {
        Report("(none)", "neither VEMO_REGISTRY, XDG_CONFIG_HOME nor HOME names a place for it");
        return ERROR_PATH_NOT_FOUND;
    }
    std::error_code ignored;
    // A store that is a link to a file elsewhere stays one: the file it names is replaced.
    if (std::filesystem::is_symlink(path, ignored)) {
        const std::filesystem::path target = std::filesystem::canonical(path, ignored);
        if (!ignored) {
            path = target.string();
        }
    }
    const std::string folder = FolderOf(path);
    std::error_code madeFolder;
    std::filesystem::create_directories(folder, madeFolder);
    HostDescriptor lock(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.Get() < 0 || ::flock(lock.Get(), LOCK_EX) != 0) {
        const int error = madeFolder ? madeFolder.value() : errno;
        Report(path, LockProblem(folder, madeFolder, error));
        return StatusFromErrno(error);
    }
    LSTATUS status = Refresh(path);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryTree changed = m_tree;
    status = operation(changed);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = Write(path, changed);
    if (status == ERROR_SUCCESS) {
        // Read back at once, so that the cache knows the new file.
        m_cached = false;
        Refresh(path);
    }
    return status;
}

std::string RegistryStore::NewFilePrefix(const std::string& path) {
    return std::filesystem::path(path).filename().string() + ".new";
}

void RegistryStore::RemoveStaleNewFilesOnce(const std::string& path) {
    if (m_swept.insert(path).second) {
        RemoveStaleNewFiles(FolderOf(path), NewFilePrefix(path));
    }
}

LSTATUS RegistryStore::Write(const std::string& path, const RegistryTree& tree) {
    RemoveStaleNewFiles(FolderOf(path), NewFilePrefix(path));
    const std::string temporary = path + ".new" + std::to_string(GetCurrentProcessId());
    struct stat previous {};
    const mode_t mode = ::stat(path.c_str(), &previous) == 0 ? (previous.st_mode & 07777) : 0600;
    HostDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
    auto fail = [&](const char* what) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Report(path, std::string(what) + ": " + std::strerror(error));
        return StatusFromErrno(error);
    };
    if (file.Get() < 0) {
        return fail("cannot be written");
    }
    if (!WriteAll(file.Get(), tree.Text()) || ::fsync(file.Get()) != 0 || !file.Close()) {
        return fail("cannot be written");
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        return fail("cannot be replaced");
    }
    // The rename itself reaches the disk with the folder.
    HostDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) {
        ::fsync(folder.Get());
    }
    return ERROR_SUCCESS;
}

} // namespace win32
