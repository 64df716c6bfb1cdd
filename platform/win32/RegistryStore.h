// The registry's file on the host (platform/win32/Registry.h): which file it is, reading it again when it
// changed, and replacing it in one step on every write. Internal to the platform layer.
#pragma once

#include "platform/win32/RegistryTree.h"

#include <sys/types.h>

#include <functional>
#include <mutex>
#include <set>
#include <string>

namespace win32 {

class RegistryStore {
public:
    static RegistryStore& Instance();

    // Runs the operation on the registry as the store holds it now; ERROR_BADDB (and nothing run) for a
    // broken store.
    LSTATUS Read(const std::function<LSTATUS(RegistryTree&)>& operation);
    // Runs the operation on a copy of the registry as the store holds it now, under the store's lock file,
    // and writes the copy when the operation succeeds.
    LSTATUS Modify(const std::function<LSTATUS(RegistryTree&)>& operation);

    void UsePath(const std::string& path);
    // The file in use now; empty when there is none.
    std::string PathInUse();

private:
    // What tells one version of the file from another: a write puts a new file in place.
    struct Identity {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long modifiedSeconds = 0;
        long modifiedNanoseconds = 0;
        bool operator==(const Identity& other) const = default;
    };

    RegistryStore() = default;

    // With the lock held. Empty when neither VEMO_REGISTRY nor a configuration folder is known.
    std::string Path() const;
    // With the lock held: the tree of the file as it is now, read again when the file changed.
    LSTATUS Refresh(const std::string& path);
    LSTATUS Write(const std::string& path, const RegistryTree& tree);
    // Says the problem on the standard error, once per problem.
    void Report(const std::string& path, const std::string& problem);

    std::mutex m_lock;
    std::string m_override;
    std::string m_cachedPath;
    Identity m_identity;
    bool m_cached = false;
    bool m_broken = false;
    RegistryTree m_tree;
    std::set<std::string> m_reported;
};

} // namespace win32
