// The front-end through which every part of the system opens, creates, reads and writes one file, whatever
// storage engine holds it. It owns nothing but its reference on a FileHandle, obtained from the storage
// system; every operation forwards to that handle or, when the File is closed, reports
// ResourceSystemErrNoHandle and returns its neutral result (false, 0 or null).
//
// Open allows opening an existing file and takes as its flag whether a missing one may be created; Create
// allows creating and takes as its flag whether an existing one may be opened instead. A front-end that is
// already open refuses every open form with ResourceSystemErrAlreadyOpen.
#pragma once

#include "resources/storage/StorageResource.h"

#include <cstdint>

namespace Vemo {

class AccessStatus;
class AccessStyle;
class Directory;
class FileHandle;
class Path;
class StorageSearchCriterion;
class StorageSystem;
class String;

class File : public StorageResource<FileHandle> {
public:
    File();
    ~File() override;

    virtual bool Create(const Path& path, const AccessStyle* style, bool openExisting);
    virtual bool Create(const String* name, const Directory& parent, const AccessStyle* style,
                        bool openExisting);
    // A new handle of its own on the file that the other File has open.
    virtual bool Open(const File& other, const AccessStyle* style);
    virtual bool Open(const Path& path, const AccessStyle* style, bool create);
    virtual bool Open(const String* name, const Directory& parent, const AccessStyle* style, bool create);
    // The other File's handle itself, counted once more.
    virtual bool Share(const File& other);
    // ReadAt at the File's Position.
    virtual AccessStatus* Read(std::uint64_t count, void* buffer);
    // The record belongs to the handle: hand it back with its Release. Null on failure. A null buffer makes
    // the handle allocate one, freed with the record.
    virtual AccessStatus* ReadAt(std::uint64_t position, std::uint64_t count, void* buffer);
    // ReadAt into the caller's buffer and record, which nobody hands back (FileHandle::ReadInto); false when
    // closed or where ReadAt gives null.
    bool ReadInto(std::uint64_t position, std::uint64_t count, void* buffer, AccessStatus& record);
    // WriteAt at the File's Position.
    virtual AccessStatus* Write(std::uint64_t count, const void* buffer);
    virtual AccessStatus* WriteAt(std::uint64_t position, std::uint64_t count, const void* buffer);
    virtual bool SetSize(std::uint64_t size);
    virtual std::uint64_t Size();
    virtual std::uint64_t Position();
    virtual bool IsReadable();
    virtual bool IsWriteable();
    virtual bool IsDeletable();
    virtual bool IsArchive();
    virtual bool IsHidden();
    // Renames the file in its directory.
    virtual bool SetName(const String& name);
    // Sends what is still held of the file's data to the disk (FileHandle::Flush).
    virtual bool Flush();
    // Renames the file in its directory over the file of that name, in one step, the file replaced handing
    // on what it kept for the host (FileHandle::Replace; Directory::MayReplace asks beforehand).
    virtual bool Replace(const String& name);
    virtual const String* PathText(bool withParents, bool native);
    // Opens the directory that holds the file into out, which must be closed.
    virtual bool ParentDirectory(Directory& out);
    // Not supported: ResourceSystemErrNotSupported ("File::Changed") and false.
    virtual bool Changed();
    virtual void ChangeHook();

    // Whether both Files designate the same file, without asking any engine: two closed Files are the same;
    // open ones when their handles have the same own name (byte for byte) and the same parent handle.
    bool IsSame(const File& other) const;

    FileHandle* GetFileHandle() const { return TypedHandle(); }

private:
    bool OpenByPath(const Path& path, const AccessStyle* style, bool create, bool openExisting);
    bool OpenNamed(const String* name, const Directory& parent, const AccessStyle* style, bool create,
                   bool openExisting);
};

} // namespace Vemo
