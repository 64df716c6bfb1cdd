// The storage engine for the drives, folders and files of the Windows machine. Volumes are never named by
// drive letter: the program names them by kind and number (FD0, HD0, CD1, RD0...) and the engine maps such a
// name to the drive letter the machine gives that drive when the volume is opened.
#pragma once

#include "platform/win32/Types.h"
#include "resources/storage/StorageEngine.h"

namespace Vemo {

class AccessStyle;
class DirectoryHandle;
class StorageSearchCriterion;

class Win32StorageEngine : public StorageEngine {
public:
    // A volume name: one or more of F, H, C, R (the first decides the kind), then "D", then a decimal number
    // up to this, and nothing else.
    static constexpr std::uint32_t kMaxVolumeNumber = 0xFFFF;

    Win32StorageEngine(std::uint32_t typeId, const String& name);
    ~Win32StorageEngine() override;

    // A Win32VolumeHandle, Win32DirectoryHandle or Win32FileHandle, with its drive, folder or file checked,
    // created or opened as the criterion allows; null after a reported failure. A folder or file named in a
    // parent must have an entry name (CheckEntryName).
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // Deletes the handle once its count is 0; a file's OS handle is closed first.
    bool DestroyHandle(ResourceHandle* handle, Resource* resource) override;
    // A volume by a volume name (not inside a directory) or by a volume handle of this engine; a directory or
    // a file inside a directory of this engine, or from a handle of this engine.
    bool MatchSearchCriterion(ResourceSearchCriterion* criterion) override;
    // Not supported: ResourceSystemErrNotSupported and false.
    bool MatchSearchCriterionThorough(ResourceSearchCriterion* criterion) override;
    // None of \ / : * ? " < > |; the empty name is valid.
    bool IsValidName(const String& name) override;
    // Whether the name stands for one entry of a folder: a valid name, and neither "." nor "..". Any other
    // name, put after a folder's path, would reach past the entry into another folder.
    static bool IsEntryName(const String& name);
    // True for an entry name; otherwise reports StorageEngineErrBadName with the folder's path and the name,
    // and gives false.
    static bool CheckEntryName(const String& name, const String& folder);

    // CreateFileA with the style's access and share modes, creating a new file or opening an existing one.
    // Null after reporting StorageEngineErrOpenFailed with the path.
    virtual win32::HANDLE OpenFile(const String& path, const AccessStyle* style, bool createNew);
    virtual bool IsVolumeName(const String& name);
    // The drive letter the volume name maps to, or empty: HD0 is the first fixed drive after A and B, CD1 the
    // second CD-ROM drive, RD0 the first removable, remote or RAM drive after A and B, FD0 and FD1 the drives
    // A and B when the machine lists them.
    virtual String DriveOfVolume(const String& name);

    // The checks before a directory or file of engine is renamed to name inside parent: engine must be one of
    // these (StorageEngineErrNoStorageSystem), name an entry name (StorageEngineErrBadName), parent there
    // (noParentCode otherwise). Gives the engine, and newPath: the parent's native path with name appended.
    // Null after reporting.
    static Win32StorageEngine* PrepareRename(ResourceEngine* engine, const String& name,
                                             DirectoryHandle* parent, ErrorCode noParentCode,
                                             String& newPath);

    // Runs the storage engine factory on the given engine, or on a new "Win32 Storage Engine".
    static Win32StorageEngine* Create(Win32StorageEngine* engine = nullptr);

private:
    ResourceHandle* CreateVolumeHandle(const String* name);
    ResourceHandle* CreateDirectoryHandle(StorageSearchCriterion& criterion);
    ResourceHandle* CreateFileHandle(StorageSearchCriterion& criterion);
};

} // namespace Vemo
