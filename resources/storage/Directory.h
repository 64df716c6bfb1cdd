// The front-end for one directory of any storage engine: a folder on a drive, the root of a drive or an
// archive, or a directory inside an archive's tree. It opens and creates directories, moves, copies and
// deletes their entries, lists them, and walks to the parent, the root and the volume. Paths hold one to say
// where their name lives. Every operation forwards to its DirectoryHandle or, when the Directory is closed,
// reports ResourceSystemErrNoHandle and returns its neutral result.
#pragma once

#include "foundation/BasicList.h"
#include "resources/storage/StorageResource.h"

#include <cstdint>

namespace Vemo {

class Descriptor;
class DirectoryHandle;
class Path;
class StorageSearchCriterion;
class StorageSystem;
class String;
class Volume;

class Directory : public StorageResource<DirectoryHandle> {
public:
    Directory();
    ~Directory() override;

    // Creates the directory the Path names; openExisting lets an existing one be opened instead.
    virtual bool Create(const Path& path, bool openExisting);
    virtual bool Create(const String* name, const Directory& parent, bool openExisting);
    // The directory another Directory has open, shared.
    virtual bool Open(const Directory& other);
    virtual bool OpenRoot(const Volume& volume);
    // A Path that is a volume name alone opens that volume's root directory; a Path with a directory and an
    // empty name (its text ended in "/") shares that directory, here and in Create.
    virtual bool Open(const Path& path, bool create);
    virtual bool Open(const String* name, const Directory& parent, bool create);
    virtual bool Delete(const String& name);
    // Moves the entry the Path names into this directory, under the same name.
    virtual bool Move(const Path& source, bool mergeDirectories, bool overwriteFiles);
    virtual bool Move(const String& name, const Directory& source, bool mergeDirectories,
                      bool overwriteFiles);
    virtual bool Copy(const Path& source, bool mergeDirectories, bool overwriteFiles);
    virtual bool Copy(const String& name, const Directory& source, bool mergeDirectories,
                      bool overwriteFiles);
    virtual bool IsEmpty();
    virtual bool ContainsDirectory(const String& name);
    virtual bool ContainsFile(const String& name);
    // A file of that name, or else a sub-directory.
    virtual bool Contains(const String& name);
    // Appends a new Descriptor for every entry matching the pattern ("*" lists all); the caller deletes them.
    virtual std::uint32_t EntryAt(const String& pattern, BasicList<Descriptor*>& list);
    // Whether a file of this directory could now be put in the place of the entry of that name
    // (DirectoryHandle::MayReplace).
    virtual bool MayReplace(const String& name);
    // Where the entry of that name leads when it is a symbolic link (DirectoryHandle::FollowLink).
    virtual bool FollowLink(const String& name, String& out);
    // Opens the topmost directory above this one (this one at a root) into out, which must be closed.
    virtual bool RootDirectory(Directory& out);
    // Opens the volume this directory lies on into out, which must be closed.
    virtual bool GetVolume(Volume& out);
    virtual bool IsReadable();
    virtual bool IsWriteable();
    virtual bool IsDeletable();
    virtual bool IsArchive();
    virtual bool IsHidden();
    virtual bool SetName(const String& name);
    virtual const String* PathText(bool withParents, bool native);
    virtual const String* PathPart(bool native);
    virtual DirectoryHandle* Parent();
    // Opens the parent directory into out, which must be closed.
    virtual bool ParentDirectory(Directory& out);
    // Not supported: ResourceSystemErrNotSupported ("Directory::Changed") and false.
    virtual bool Changed();
    virtual void ChangeHook();

    DirectoryHandle* GetDirectoryHandle() const { return TypedHandle(); }

private:
    // volumeAlone: a Path without a directory names a volume whose root is opened.
    bool OpenByPath(const Path& path, bool create, bool openExisting, bool volumeAlone);
    bool OpenNamed(const String* name, const Directory& parent, bool create, bool openExisting);
    // The Move or Copy of the entry a Path names into this directory.
    bool TransferFrom(const Path& source, bool mergeDirectories, bool overwriteFiles,
                      bool (DirectoryHandle::*transfer)(const String&, DirectoryHandle*, bool, bool));
    bool TransferFrom(const String& name, const Directory& source, bool mergeDirectories, bool overwriteFiles,
                      bool (DirectoryHandle::*transfer)(const String&, DirectoryHandle*, bool, bool));
    DirectoryHandle* TopHandle() const;
};

} // namespace Vemo
