// An open folder of the Win32 storage engine. It holds no OS resource: each operation works on the folder's
// path, built from the handle tree, and opens and closes its own search. Entry paths are the folder's native
// path, "\" and the entry's name.
#pragma once

#include "resources/storage/DirectoryHandle.h"

namespace Vemo {

class Win32DirectoryHandle : public DirectoryHandle {
public:
    explicit Win32DirectoryHandle(ResourceEngine* engine);
    ~Win32DirectoryHandle() override;

    // A file, a symbolic link or, with everything in it, a folder. A read-only file anywhere in the tree
    // makes it fail. Reports nothing about the host's refusal; a name that is no entry name is refused with
    // StorageEngineErrBadName.
    bool Delete(const String& name) override;
    // A file between folders of the same drive is moved by the host in one step; anything else is the base's
    // Copy and Delete. Like Copy, refuses a name that is no entry name (StorageEngineErrBadName).
    bool Move(const String& name, DirectoryHandle* source, bool mergeDirectories,
              bool overwriteFiles) override;
    // A file between folders of this engine is copied by the host; a folder is copied entry by entry.
    bool Copy(const String& name, DirectoryHandle* source, bool mergeDirectories,
              bool overwriteFiles) override;
    bool IsEmpty() override;
    bool ContainsDirectory(const String& name) override;
    bool ContainsFile(const String& name) override;
    // Every entry but "." and "..", in the host's order, matching the pattern without regard to case.
    std::uint32_t EntryAt(const String& pattern, BasicList<Descriptor*>& list) override;
    // Not for a read-only file or a folder, nor for a file that a handle holds open without sharing delete.
    bool MayReplace(const String& name) override;
    // A link that leads out of its drive's folder, or to nothing, leads nowhere the volume reaches.
    bool FollowLink(const String& name, String& out) override;
    // Renames the folder in its parent. Storage Engine codes 35 (foreign engine), 33 (bad name), 25 (a root),
    // 1 (refused by the host).
    bool SetName(const String& name) override;
    const String* PathText(bool withParents, bool native) override;
    // The host folder the path reaches, through links; false when it reaches none.
    bool Identity(DirectoryIdentity& out) override;

    // The native path of an entry of this folder.
    String EntryPath(const String& name);

private:
    bool DeleteTree(const String& name, const String& path);
};

} // namespace Vemo
