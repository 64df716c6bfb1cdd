// An open drive of the Win32 storage engine. Its name is the program's (CD0), its native name the drive
// letter it was mapped to when it was opened (D); a later change of media or drive letters is not looked up
// again. On a CD-ROM drive it locks, unlocks and ejects the medium, by the NT device requests or the 9x
// VWIN32 service as the machine is one or the other.
#pragma once

#include "resources/storage/VolumeHandle.h"

namespace Vemo {

class Win32VolumeHandle : public VolumeHandle {
public:
    explicit Win32VolumeHandle(ResourceEngine* engine);
    ~Win32VolumeHandle() override;

    // Not lockable: Storage Engine code 17. A device that cannot be opened: code 7 with its name. A refused
    // request: Win32StorageErrDeviceControl.
    bool Lock() override;
    bool Unlock() override;
    // Loading a medium is not supported: code 19 on a drive that is not removable, else
    // ResourceSystemErrNotSupported. Always false.
    bool Insert() override;
    // Ejects the medium. Not removable: code 19 and nothing else. True exactly when the medium was ejected.
    bool Remove() override;
    // Both true exactly for a CD-ROM drive.
    bool Lockable() override;
    bool Removable() override;
    const String* PathText(bool withContainer, bool native) override;
    // 0 after reporting Win32StorageErrDiskFreeSpace.
    std::uint64_t Size() override;
    std::uint64_t Free() override;
    std::uint32_t ClusterSize() override;
    // Not supported: ResourceSystemErrNotSupported and 0.
    std::uint32_t ReadAhead() override;
    bool SetLabel(const String& label) override;
    // The drive's label, read again on every call; empty after reporting Win32StorageErrVolumeInformation.
    const String* Label() override;
    std::uint32_t Serial() override;

private:
    // The drive letter with ":\".
    String RootPath();
    std::uint8_t DriveNumber() const;
    bool LockNT(bool lock);
    bool Lock9x();
    bool Unlock9x();
    bool EjectNT();
    bool Eject9x();
    bool QueryDiskFreeSpace(std::uint64_t& bytesPerCluster, std::uint64_t& freeClusters,
                            std::uint64_t& totalClusters);

    String m_labelCache;
};

} // namespace Vemo
