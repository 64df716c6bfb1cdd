// The front-end for one storage volume: a drive named by its kind and number (HD0, CD1...), or an archive
// whose contents form a volume. Through it the program locks, unlocks and ejects removable media, reads the
// volume's size, free space, label and serial number, and reaches its root directory (Directory::OpenRoot).
// Every operation forwards to its VolumeHandle or, when the Volume is closed, reports
// ResourceSystemErrNoHandle and returns its neutral result.
#pragma once

#include "resources/storage/StorageResource.h"

#include <cstdint>

namespace Vemo {

class Directory;
class File;
class Path;
class StorageSearchCriterion;
class StorageSystem;
class String;
class VolumeHandle;

class Volume : public StorageResource<VolumeHandle> {
public:
    Volume();
    ~Volume() override;

    // The volume that another Volume has open, shared.
    virtual bool Open(const Volume& other);
    // The volume named by the Path's name, inside the Path's directory when it has one (an archive file
    // there).
    virtual bool Open(const Path& path, bool create);
    // The volume whose contents the File holds.
    virtual bool Open(const File& file);
    // The volume of that name: a drive without a directory, an archive inside the directory with one.
    virtual bool Open(const String* name, const Directory* directory, bool create);
    virtual bool Lock();
    virtual bool Unlock();
    virtual bool Insert();
    virtual bool Remove();
    virtual bool IsReadable();
    virtual bool IsWriteable();
    virtual bool IsLockable();
    virtual bool IsRemovable();
    virtual bool Verify();
    virtual const String* PathText(bool withContainer, bool native);
    virtual const String* PathPart(bool native);
    // Null for a drive.
    virtual File* ContainerFile();
    virtual std::uint64_t Size();
    virtual std::uint64_t Free();
    virtual std::uint32_t ClusterSize();
    virtual std::uint32_t ReadAhead();
    virtual bool SetLabel(const String& label);
    virtual const String* Label();
    virtual std::uint32_t Serial();
    // Not supported: ResourceSystemErrNotSupported ("Volume::Changed") and false.
    virtual bool Changed();
    virtual void ChangeHook();

    VolumeHandle* GetVolumeHandle() const { return TypedHandle(); }
};

} // namespace Vemo
