#include "platform/win32/kernel/Synchronization.h"

#include "platform/win32/HandleTable.h"
#include "platform/win32/KernelRegion.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/MutexOwnership.h"
#include "platform/win32/kernel/Thread.h"
#include "platform/win32/kernel/Time.h"
#include "platform/win32/kernel/WaitableObject.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace win32 {

namespace {

using detail::Acquisition;
using detail::RunInKernelRegion;

// The range of a lock of the given type on a file's first byte, the byte every lock on a named object's file
// is taken on.
struct flock FirstByteRange(short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 1;
    return range;
}

// The answers of a recursive lock that is held: its owner enters once more, anyone else waits. False when
// the lock is free, for the caller to take it.
bool AnswerWhileHeld(DWORD owner, DWORD& count, Acquisition& answer) {
    if (owner == GetCurrentThreadId()) {
        ++count;
        answer = Acquisition::Acquired;
        return true;
    }
    if (owner != 0) {
        answer = Acquisition::NotYet;
        return true;
    }
    return false;
}

class MutexObject;

// The mutexes the calling thread owns, so that its end can abandon them. Only the owning thread touches it.
struct OwnedMutexes {
    std::vector<std::shared_ptr<MutexObject>> mutexes;
    ~OwnedMutexes();
};

thread_local OwnedMutexes t_owned;

class MutexObject final : public detail::WaitableObject, public std::enable_shared_from_this<MutexObject> {
public:
    MutexObject() : m_lockFile(-1) {}
    MutexObject(std::string name, std::string lockPath, int lockFile)
        : m_name(std::move(name)), m_lockPath(std::move(lockPath)), m_lockFile(lockFile) {}
    ~MutexObject() override;

    // When the mutex becomes free, moves the owner list's reference into dropped, for the caller to let go of
    // once the object's lock is released.
    BOOL Release(std::shared_ptr<MutexObject>& dropped);
    void AbandonBy(DWORD thread);

private:
    Acquisition TryAcquireLocked() override;

    const std::string m_name;
    const std::string m_lockPath;
    const int m_lockFile; // -1 for an unnamed mutex
    DWORD m_owner = 0;
    DWORD m_count = 0;
    bool m_abandoned = false;
};

// Named mutexes of this process, one object per name.
struct NamedMutexes {
    std::mutex lock;
    std::unordered_map<std::string, std::weak_ptr<MutexObject>> byName;
};

NamedMutexes& TheNamedMutexes() {
    static NamedMutexes* named = new NamedMutexes; // outlives every static destructor that may close a mutex
    return *named;
}

OwnedMutexes::~OwnedMutexes() {
    const DWORD me = GetCurrentThreadId();
    for (const std::shared_ptr<MutexObject>& mutex : mutexes) {
        mutex->AbandonBy(me);
    }
}

MutexObject::~MutexObject() {
    if (m_lockFile < 0) {
        return;
    }
    RunInKernelRegion([&] {
        NamedMutexes& named = TheNamedMutexes();
        std::lock_guard guard(named.lock);
        auto found = named.byName.find(m_name);
        // A new object of the same name may already have taken the entry.
        if (found != named.byName.end() && found->second.expired()) {
            named.byName.erase(found);
        }
    });
    // The last process to let go of the name removes the file; TakeLockFile copes with a removal under way.
    struct flock range = FirstByteRange(F_WRLCK);
    if (fcntl(m_lockFile, F_OFD_SETLK, &range) == 0) {
        unlink(m_lockPath.c_str());
    }
    close(m_lockFile);
}

Acquisition MutexObject::TryAcquireLocked() {
    Acquisition answer;
    if (AnswerWhileHeld(m_owner, m_count, answer)) {
        return answer;
    }
    const DWORD me = GetCurrentThreadId();
    std::vector<std::shared_ptr<MutexObject>>& owned = t_owned.mutexes;
    owned.push_back(shared_from_this());
    if (m_lockFile >= 0 && flock(m_lockFile, LOCK_EX | LOCK_NB) != 0) {
        owned.pop_back();
        return Acquisition::NotYetPoll; // another process holds it
    }
    m_owner = me;
    m_count = 1;
    if (m_abandoned) {
        m_abandoned = false;
        return Acquisition::Abandoned;
    }
    return Acquisition::Acquired;
}

BOOL MutexObject::Release(std::shared_ptr<MutexObject>& dropped) {
    StateLock lock(*this);
    if (m_owner != GetCurrentThreadId()) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    if (--m_count > 0) {
        return TRUE;
    }
    m_owner = 0;
    if (m_lockFile >= 0) {
        flock(m_lockFile, LOCK_UN);
    }
    std::vector<std::shared_ptr<MutexObject>>& owned = t_owned.mutexes;
    auto found =
        std::find_if(owned.begin(), owned.end(), [this](const auto& entry) { return entry.get() == this; });
    if (found != owned.end()) {
        dropped = std::move(*found);
        owned.erase(found);
    }
    AnnounceChangeLocked();
    return TRUE;
}

void MutexObject::AbandonBy(DWORD thread) {
    RunInKernelRegion([&] {
        StateLock lock(*this);
        if (m_owner != thread) {
            return;
        }
        m_owner = 0;
        m_count = 0;
        m_abandoned = true;
        if (m_lockFile >= 0) {
            flock(m_lockFile, LOCK_UN);
        }
        AnnounceChangeLocked();
    });
}

// Lock files of named mutexes. The name is kept readable where it can be, escaped elsewhere, and shortened
// with a hash when it would be too long for a file name.
std::string LockFileName(const std::string& name) {
    std::string escaped;
    for (unsigned char c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
            c == '-' || c == '_') {
            escaped += static_cast<char>(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            escaped += code;
        }
    }
    constexpr std::size_t kMaxKept = 150;
    if (escaped.size() > kMaxKept) {
        std::uint64_t hash = 0xCBF29CE484222325u; // FNV-1a: stable across processes and builds
        for (unsigned char c : name) {
            hash = (hash ^ c) * 0x100000001B3u;
        }
        char suffix[20];
        std::snprintf(suffix, sizeof suffix, "-%016llX", static_cast<unsigned long long>(hash));
        escaped = escaped.substr(0, kMaxKept) + suffix;
    }
    return "vemo-mutex-" + std::to_string(getuid()) + "-" + escaped;
}

std::string LockFileFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime != nullptr && *runtime != '\0' && stat(runtime, &info) == 0 && S_ISDIR(info.st_mode)) {
        return runtime;
    }
    return "/tmp";
}

// Takes this process's presence lock on the file: a shared lock on its first byte that every process holding
// the name keeps. Tries an exclusive lock first; it is granted only when no other process has the name, and
// is then turned into the shared one in place. existed tells which happened.
bool TakePresence(int file, bool& existed) {
    struct flock range = FirstByteRange(F_WRLCK);
    if (fcntl(file, F_OFD_SETLK, &range) == 0) {
        existed = false;
    } else if (errno == EAGAIN || errno == EACCES) {
        existed = true;
    } else {
        return false;
    }
    range.l_type = F_RDLCK;
    // Waits only while another process is between its own two steps.
    while (fcntl(file, F_OFD_SETLKW, &range) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool IsSameFile(int file, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return fstat(file, &opened) == 0 && stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

// Opens the name's lock file with this process's presence taken. A file that its last user removed between
// our open and our presence lock is left for the new one.
int TakeLockFile(const std::string& path, bool& existed) {
    for (;;) {
        const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (file < 0) {
            SetLastError(ErrorFromErrno(errno));
            return -1;
        }
        if (!TakePresence(file, existed)) {
            SetLastError(ErrorFromErrno(errno));
            close(file);
            return -1;
        }
        if (IsSameFile(file, path)) {
            return file;
        }
        close(file);
    }
}

// The named mutex of this process, made (with its lock file) when the process has none yet. existed is true
// when this or another process already had the name.
std::shared_ptr<MutexObject> FindOrMakeNamedMutex(const std::string& name, bool& existed) {
    NamedMutexes& named = TheNamedMutexes();
    std::lock_guard guard(named.lock);
    auto found = named.byName.find(name);
    if (found != named.byName.end()) {
        if (std::shared_ptr<MutexObject> mutex = found->second.lock()) {
            existed = true;
            return mutex;
        }
    }
    std::string path = LockFileFolder() + "/" + LockFileName(name);
    const int file = TakeLockFile(path, existed);
    if (file < 0) {
        return nullptr;
    }
    auto mutex = std::make_shared<MutexObject>(name, std::move(path), file);
    named.byName[name] = mutex;
    return mutex;
}

// The host lock behind a CRITICAL_SECTION: recursive, without abandonment (a section left locked by a thread
// that ended stays locked, as on Windows).
class SectionObject final : public detail::WaitableObject {
public:
    bool TryEnter() { return Wait(0) == WAIT_OBJECT_0; }
    void Leave();

private:
    Acquisition TryAcquireLocked() override;

    DWORD m_owner = 0;
    DWORD m_count = 0;
};

Acquisition SectionObject::TryAcquireLocked() {
    Acquisition answer;
    if (AnswerWhileHeld(m_owner, m_count, answer)) {
        return answer;
    }
    m_owner = GetCurrentThreadId();
    m_count = 1;
    return Acquisition::Acquired;
}

void SectionObject::Leave() {
    RunInKernelRegion([&] {
        StateLock lock(*this);
        if (m_owner != GetCurrentThreadId()) {
            return;
        }
        if (--m_count == 0) {
            m_owner = 0;
            AnnounceChangeLocked();
        }
    });
}

SectionObject* SectionOf(CRITICAL_SECTION* section) {
    return static_cast<SectionObject*>(section->LockSemaphore);
}

} // namespace

namespace detail {

void AbandonMutexesOwnedByCurrentThread() {
    std::vector<std::shared_ptr<MutexObject>> owned = std::move(t_owned.mutexes);
    t_owned.mutexes.clear();
    const DWORD me = GetCurrentThreadId();
    for (const std::shared_ptr<MutexObject>& mutex : owned) {
        mutex->AbandonBy(me);
    }
}

} // namespace detail

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return RunInKernelRegion([&] {
        std::shared_ptr<detail::WaitableObject> object = LookupHandleAs<detail::WaitableObject>(handle);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        return object->Wait(milliseconds);
    });
}

HANDLE CreateMutexA(const SECURITY_ATTRIBUTES* /*attributes*/, BOOL initialOwner, LPCSTR name) {
    return RunInKernelRegion([&]() -> HANDLE {
        std::shared_ptr<MutexObject> mutex;
        bool existed = false;
        if (name == nullptr || *name == '\0') {
            mutex = std::make_shared<MutexObject>();
        } else {
            mutex = FindOrMakeNamedMutex(name, existed);
            if (!mutex) {
                return nullptr;
            }
        }
        const HANDLE handle = RegisterHandle(mutex);
        if (initialOwner && !existed) {
            mutex->Wait(INFINITE);
        }
        SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
        return handle;
    });
}

BOOL ReleaseMutex(HANDLE handle) {
    return RunInKernelRegion([&] {
        std::shared_ptr<MutexObject> mutex = LookupHandleAs<MutexObject>(handle);
        if (!mutex) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        std::shared_ptr<MutexObject> dropped;
        return mutex->Release(dropped);
    });
}

void InitializeCriticalSection(CRITICAL_SECTION* section) {
    section->LockSemaphore = new SectionObject;
}

void EnterCriticalSection(CRITICAL_SECTION* section) {
    SectionOf(section)->Wait(INFINITE);
}

BOOL TryEnterCriticalSection(CRITICAL_SECTION* section) {
    return SectionOf(section)->TryEnter() ? TRUE : FALSE;
}

void LeaveCriticalSection(CRITICAL_SECTION* section) {
    SectionOf(section)->Leave();
}

void DeleteCriticalSection(CRITICAL_SECTION* section) {
    delete SectionOf(section);
    section->LockSemaphore = nullptr;
}

void Sleep(DWORD milliseconds) {
    seam::SleepOnClock(milliseconds);
}

} // namespace win32
