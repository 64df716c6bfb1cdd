#include "platform/win32/files/OpenFiles.h"

#include "platform/win32/LastError.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace win32 {

namespace {

struct Registry {
    std::mutex lock;
    std::vector<const OpenRecord*> records;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry; // handles may still close during static destruction
    return *registry;
}

bool SameFile(const OpenRecord* record, dev_t device, ino_t inode) {
    return record->isFile && record->device == device && record->inode == inode;
}

// The rule is symmetric: each side must share what the other one does. A handle that neither reads, writes
// nor deletes (opened for its attributes) takes no part.
bool Conflicts(const OpenRecord& a, const OpenRecord& b) {
    if ((!a.read && !a.write && !a.remove) || (!b.read && !b.write && !b.remove)) {
        return false;
    }
    const auto refuses = [](const OpenRecord& asking, const OpenRecord& held) {
        return (asking.read && (held.share & FILE_SHARE_READ) == 0) ||
               (asking.write && (held.share & FILE_SHARE_WRITE) == 0) ||
               (asking.remove && (held.share & FILE_SHARE_DELETE) == 0);
    };
    return refuses(a, b) || refuses(b, a);
}

} // namespace

bool OpenFiles::Enter(const OpenRecord* record) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    if (record->isFile) {
        for (const OpenRecord* held : registry.records) {
            if (SameFile(held, record->device, record->inode) && Conflicts(*held, *record)) {
                SetLastError(ERROR_SHARING_VIOLATION);
                return false;
            }
        }
    }
    registry.records.push_back(record);
    return true;
}

void OpenFiles::Leave(const OpenRecord* record) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    auto found = std::find(registry.records.begin(), registry.records.end(), record);
    if (found != registry.records.end()) {
        registry.records.erase(found);
    }
}

bool OpenFiles::IsDeleteBlocked(dev_t device, ino_t inode) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    return std::any_of(registry.records.begin(), registry.records.end(), [&](const OpenRecord* held) {
        return SameFile(held, device, inode) && (held->share & FILE_SHARE_DELETE) == 0;
    });
}

bool OpenFiles::IsOpen(dev_t device, ino_t inode) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    return std::any_of(registry.records.begin(), registry.records.end(),
                       [&](const OpenRecord* held) { return SameFile(held, device, inode); });
}

int OpenFiles::CountOnDrive(char drive, const OpenRecord* except) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    return static_cast<int>(
        std::count_if(registry.records.begin(), registry.records.end(),
                      [&](const OpenRecord* held) { return held != except && held->drive == drive; }));
}

} // namespace win32
