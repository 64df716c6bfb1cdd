#include "platform/win32/files/DriveRoot.h"

#include "platform/win32/files/HostPath.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <deque>

namespace win32 {

namespace {

// As many links as the host follows in one path before it gives up with ELOOP.
constexpr int kMostLinks = 40;
// openat2 answers EAGAIN when a rename elsewhere raced with its look-up; it is asked again this often.
constexpr int kOpenat2Tries = 8;

std::atomic<bool> walkByHand{false};

enum class Openat2 { Unknown, Works, Missing };
std::atomic<Openat2> openat2{Openat2::Unknown};

std::deque<std::string> Names(std::string_view path) {
    std::deque<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            names.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

bool IsLinkDescriptor(int descriptor) {
    struct stat info {};
    return ::fstat(descriptor, &info) == 0 && S_ISLNK(info.st_mode);
}

bool ReadLink(int folder, const std::string& name, std::string& target) {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlinkat(folder, name.c_str(), buffer, sizeof buffer);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
        return false;
    }
    target.assign(buffer, static_cast<std::size_t>(length));
    return true;
}

// openat2 beneath the folder; -1 with errno set, ENOSYS when the kernel has no openat2.
int OpenBeneath(int folder, const std::string& below, int flags, mode_t mode) {
#ifdef SYS_openat2
    // openat2, unlike openat, refuses O_PATH with flags that only mean something to an open for reading or
    // writing.
    if ((flags & O_PATH) != 0) {
        flags &= O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    }
    open_how how{};
    how.flags = static_cast<__u64>(flags);
    how.mode = (flags & (O_CREAT | O_TMPFILE)) != 0 ? mode : 0;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    for (int tries = 0; tries < kOpenat2Tries; ++tries) {
        const long descriptor = ::syscall(SYS_openat2, folder, below.c_str(), &how, sizeof how);
        if (descriptor >= 0 || errno != EAGAIN) {
            return static_cast<int>(descriptor);
        }
    }
    return -1;
#else
    (void)folder, (void)below, (void)flags, (void)mode;
    errno = ENOSYS;
    return -1;
#endif
}

// Whether the kernel opens with openat2, asked once: a kernel without it answers ENOSYS, and a sandbox that
// does not know the call may answer EPERM instead.
bool HasOpenat2(int folder) {
    if (openat2.load() == Openat2::Unknown) {
        const int descriptor = OpenBeneath(folder, ".", O_PATH | O_CLOEXEC, 0);
        const bool missing = descriptor < 0 && (errno == ENOSYS || errno == EPERM);
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        openat2.store(missing ? Openat2::Missing : Openat2::Works);
    }
    return openat2.load() == Openat2::Works;
}

// One walk below a drive's folder, a name at a time. The folders it stands in lie below the drive's folder
// and are held open; a ".." that climbs above the folder is only followed as text, and only back down the
// folder's own real path, which holds no link.
class Walker {
public:
    Walker(int root, const std::vector<std::string>& rootNames, std::string_view below)
        : m_root(root), m_rootNames(rootNames), m_pending(Names(below)) {}

    int Open(int flags, mode_t mode) {
        while (!m_pending.empty()) {
            const std::string name = std::move(m_pending.front());
            m_pending.pop_front();
            if (name == "." || name == "..") {
                StepUp(name);
                continue;
            }
            if (m_above > 0) {
                if (!StepBackDown(name)) {
                    return -1;
                }
                continue;
            }
            const bool last = m_pending.empty();
            const int descriptor = OpenName(name, last, flags, mode);
            if (descriptor >= 0) {
                if (last) {
                    return descriptor;
                }
                m_folders.emplace_back(descriptor);
            } else if (!Follow(name, errno, last && (flags & O_NOFOLLOW) != 0)) {
                return -1;
            }
        }
        if (m_above > 0) {
            errno = EXDEV;
            return -1;
        }
        return ::openat(Current(), ".", flags & ~O_NOFOLLOW, mode);
    }

private:
    int Current() const { return m_folders.empty() ? m_root : m_folders.back().Get(); }

    void StepUp(const std::string& name) {
        if (name == ".") {
            return;
        }
        if (m_above == 0 && !m_folders.empty()) {
            m_folders.pop_back();
        } else if (m_above < m_rootNames.size()) {
            ++m_above;
        }
    }

    bool StepBackDown(const std::string& name) {
        if (name != m_rootNames[m_rootNames.size() - m_above]) {
            errno = EXDEV;
            return false;
        }
        --m_above;
        return true;
    }

    // Opens the name in the current folder without following it: the last with the caller's flags, any other
    // as a folder. A link fails with ELOOP (or ENOTDIR), unless the caller asked for the link itself.
    int OpenName(const std::string& name, bool last, int flags, mode_t mode) const {
        const int stepFlags = last ? flags | O_NOFOLLOW : O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        const int descriptor = ::openat(Current(), name.c_str(), stepFlags, mode);
        if (descriptor >= 0 && (stepFlags & O_PATH) != 0 && (!last || (flags & O_NOFOLLOW) == 0) &&
            IsLinkDescriptor(descriptor)) {
            ::close(descriptor);
            errno = ELOOP;
            return -1;
        }
        return descriptor;
    }

    // After a failed open of the name: when it is a link to be followed, its target's names are walked next;
    // otherwise false, with the open's error.
    bool Follow(const std::string& name, int error, bool linkWanted) {
        std::string target;
        if ((error != ELOOP && error != ENOTDIR) || linkWanted || !ReadLink(Current(), name, target)) {
            errno = error;
            return false;
        }
        if (++m_links > kMostLinks) {
            errno = ELOOP;
            return false;
        }
        if (!target.empty() && target.front() == '/') {
            m_folders.clear();
            m_above = m_rootNames.size();
        }
        const std::deque<std::string> through = Names(target);
        m_pending.insert(m_pending.begin(), through.begin(), through.end());
        return true;
    }

    int m_root;
    const std::vector<std::string>& m_rootNames;
    std::deque<std::string> m_pending;
    std::deque<HostDescriptor> m_folders; // a deque, as a descriptor is never moved
    std::size_t m_above = 0;
    int m_links = 0;
};

} // namespace

std::shared_ptr<const DriveRoot> DriveRoot::Open(const std::string& hostFolder) {
    char* resolved = ::realpath(hostFolder.c_str(), nullptr);
    if (resolved == nullptr) {
        return nullptr;
    }
    std::string realPath(resolved);
    std::free(resolved);
    const int descriptor = ::open(realPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    return std::make_shared<const DriveRoot>(descriptor, std::move(realPath));
}

DriveRoot::DriveRoot(int descriptor, std::string realPath) : m_descriptor(descriptor) {
    for (std::string& name : Names(realPath)) {
        m_realComponents.push_back(std::move(name));
    }
}

int DriveRoot::OpenBelow(std::string_view below, int flags, mode_t mode) const {
    const std::string path = below.empty() ? std::string(".") : std::string(below);
    if (!Confines()) {
        return ::openat(Descriptor(), path.c_str(), flags, mode);
    }
    if (!walkByHand.load() && HasOpenat2(Descriptor())) {
        const int descriptor = OpenBeneath(Descriptor(), path, flags, mode);
        // EXDEV may be an absolute link or one that climbs out and back in, which the walk finds inside.
        if (descriptor >= 0 || (errno != EXDEV && errno != EAGAIN)) {
            return descriptor;
        }
    }
    return Walker(Descriptor(), m_realComponents, below).Open(flags, mode);
}

void seam::WalkBelowDrivesByHand(bool byHand) {
    walkByHand.store(byHand);
}

} // namespace win32
