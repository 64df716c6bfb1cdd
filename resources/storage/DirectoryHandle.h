// The base of every engine's open directory. Besides its names and flags it is a node of the tree of open
// storage handles: it holds a reference on its parent (or, as a root, on its volume), and one on each of its
// open child directories, open files and registered volumes, which it keeps in lists. It also gives the
// engine-neutral Copy and Move of entries between directories, through the storage system.
#pragma once

#include "foundation/BasicList.h"
#include "foundation/BasicSet.h"
#include "foundation/String.h"
#include "resources/ResourceHandle.h"
#include "resources/storage/StorageFlags.h"

#include <cstdint>

namespace Vemo {

class Descriptor;
class FileHandle;
class StorageSystem;
class VolumeHandle;

// Which folder of its storage a directory handle stands for: every handle on that folder, however it was
// reached (through any path or link), has the same identity.
struct DirectoryIdentity {
    std::uint64_t m_device = 0;
    std::uint64_t m_index = 0;

    bool operator==(const DirectoryIdentity& other) const = default;
};

class DirectoryHandle : public ResourceHandle {
public:
    using FileList = BasicList<FileHandle*>;

    // No names, the separator "/", no links, every flag clear.
    explicit DirectoryHandle(ResourceEngine* engine);
    // Releases the registered volumes, the child directories and the files still listed.
    ~DirectoryHandle() override;

    // Storage Engine code 13 and false: the base cannot delete.
    virtual bool Delete(const String& name);
    // This directory is the destination; the entry called name of source keeps its name. mergeDirectories
    // lets a directory be copied into an existing one of that name, overwriteFiles lets an existing file be
    // replaced. Move is a Copy and then a Delete in the source. A folder copy enters each folder at most once
    // along its way down: a sub-folder that is (through a link) a folder the copy is already inside, as
    // source or as destination, is skipped and reported (Storage Engine code 1), so that links cannot make
    // a copy endless.
    virtual bool Move(const String& name, DirectoryHandle* source, bool mergeDirectories,
                      bool overwriteFiles);
    virtual bool Copy(const String& name, DirectoryHandle* source, bool mergeDirectories,
                      bool overwriteFiles);
    virtual bool IsEmpty();
    virtual bool ContainsDirectory(const String& name);
    virtual bool ContainsFile(const String& name);
    // Appends one new Descriptor per entry whose name matches the pattern ("*" any run, "?" one character)
    // and returns how many were appended. The base lists nothing.
    virtual std::uint32_t EntryAt(const String& pattern, BasicList<Descriptor*>& list);
    // Whether a file of this directory could now be put in the place of the entry of that name with
    // FileHandle::Replace; true when there is none. Only answers: nothing is reported. The base cannot
    // replace: false.
    virtual bool MayReplace(const String& name);
    // The path text, from the root of this directory's volume, of the file that the entry of that name
    // designates when it is a symbolic link ("Saves/User.ini"); empty when it is none. False when it leads
    // where no path of the volume reaches. Nothing is reported. The base has no links: empty, true.
    virtual bool FollowLink(const String& name, String& out);
    virtual bool IsReadable();
    virtual bool IsWriteable();
    virtual bool IsDeletable();
    virtual bool IsArchive();
    virtual bool IsHidden();
    // The base only renames the handle; no storage is touched.
    virtual bool SetName(const String& name);
    // With parents: the parent's (or, at a root, the volume's) path and separator first. Points into the
    // handle's cache, valid until the next PathText call.
    virtual const String* PathText(bool withParents, bool native);
    // What follows this directory's name in a path: the native separator, or "/".
    virtual const String* PathPart(bool native);
    virtual DirectoryHandle* Parent();
    // Set for a root directory only.
    virtual VolumeHandle* Volume();
    // The folder's identity; false where the storage cannot tell one (the base, and storage without links,
    // where no walk can come back to a folder it is in).
    virtual bool Identity(DirectoryIdentity& out);
    virtual std::uint64_t SkipReadLimit();
    virtual bool AddVolume(VolumeHandle* volume);
    // Storage Engine code 21 with the volume's own name when it is not listed.
    virtual bool RemoveVolume(VolumeHandle* volume);
    virtual bool AddChildDirectory(DirectoryHandle* directory);
    // Storage Engine code 22 with the directory's own name when it is not listed.
    virtual bool RemoveChildDirectory(DirectoryHandle* directory);
    virtual bool AddFile(FileHandle* file);
    // Storage Engine code 23 (no file of that name open here) or 24 (not this handle), with the file's name.
    virtual bool RemoveFile(FileHandle* file);

    const String& GetName() const { return m_name; }
    const String& GetNativeName() const { return m_nativeName; }
    void SetNames(const String& name, const String& nativeName);
    void SetSeparator(const String& separator) { m_separator = separator; }
    StorageFlags& Flags() { return m_flags; }
    const BasicList<DirectoryHandle*>& ChildDirectories() const { return m_childDirectories; }
    // Every handle open on the file of that name in this directory, or null when none is.
    const FileList* OpenFilesNamed(const String& name);

    // The links of the handle tree; only the storage system sets them.
    void SetParentLink(DirectoryHandle* parent) { m_parent = parent; }
    void SetVolumeLink(VolumeHandle* volume) { m_volume = volume; }
    // Clears the volume link when it names this volume (which is going away).
    void ForgetVolume(const VolumeHandle* volume);
    // Takes a file that is going away out of its list without closing it again.
    void ForgetFile(const FileHandle* file);

    // The separator of a directory name in a program's path text.
    static const String& DirectorySeparator();

protected:
    // The storage system of this handle's engine, or null.
    StorageSystem* GetStorageSystem() const;

    String m_name;
    String m_nativeName;
    String m_separator;
    DirectoryHandle* m_parent = nullptr;
    VolumeHandle* m_volume = nullptr;
    StorageFlags m_flags;
    String m_pathCache;
    BasicList<VolumeHandle*> m_volumes;
    BasicList<DirectoryHandle*> m_childDirectories;
    // One list per file name with open handles; the set owns its lists.
    BasicSet<FileList*> m_openFiles;

private:
    bool CopyFile(StorageSystem* system, const String& name, DirectoryHandle* source, bool overwriteFiles);
    BasicSet<FileList*>::Iterator FindOpenFiles(const String& name);
};

} // namespace Vemo
