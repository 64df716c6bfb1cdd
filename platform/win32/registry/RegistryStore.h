// The registry's file on the host (platform/win32/registry/Registry.h): which file it is, reading it again
// when it changed, and replacing it in one step on every write. Internal to the platform layer.
#pragma once

#include "platform/win32/registry/RegistryTree.h"

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
    // Writes a new file named after the path, ".new" and this process's id, and renames it over the path;
    // new files of processes that no longer run are removed first.
    LSTATUS Write(const std::string& path, const RegistryTree& tree);
    static std::string NewFilePrefix(const std::string& path);
    // With the lock held: the first use of a path in this process (at start-up) removes the new files that
    // runs killed during a write left beside it.
    void RemoveStaleNewFilesOnce(const std::string& path);
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
    std::set<std::string> m_swept;
};

} // namespace win32
