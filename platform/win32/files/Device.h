// The device objects that CreateFileA opens for the names "\\.\X:" and "\\.\vwin32". The host side of
// removable media is in Media.h.
#pragma once

#include "platform/win32/HandleTable.h"
#include "platform/win32/files/DriveTable.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/Media.h"
#include "platform/win32/files/OpenFiles.h"

#include <string>

namespace win32 {

// "\\.\X:" on the NT machine: the drive's device, opened on the host without waiting for a medium. Every open
// handle on the drive (files and other devices) keeps the volume from being locked. A drive of removable
// media without a device (a folder given as a CD-ROM drive) has no door: its device opens on no host device.
class VolumeDevice : public KernelObject {
public:
    // descriptor -1 and an empty device for a drive without a door.
    VolumeDevice(int descriptor, char drive, std::string device);
    ~VolumeDevice() override;

    char Drive() const { return m_record.drive; }
    int Descriptor() const { return m_descriptor; }
    const std::string& HostDevice() const { return m_device; }
    bool HasDoor() const { return !m_device.empty(); }
    // The handles open on the drive besides this one.
    int OtherHandlesOnDrive() const { return OpenFiles::CountOnDrive(m_record.drive, &m_record); }

private:
    int m_descriptor;
    std::string m_device;
    OpenRecord m_record;
};

// "\\.\vwin32" on the 9x machine: the service that answers DOS block-device requests.
class VWin32Device : public KernelObject {};

// CD-ROM and removable drives: the kinds whose medium can be locked in and ejected.
bool HasRemovableMedia(const DriveEntry& drive);

// Opens the device a parsed device path names. "\\.\X:" exists on the NT machine only, and only for a drive
// whose table entry names a device that can be opened, or a CD-ROM or removable drive without a device;
// "\\.\vwin32" exists on the 9x machine only. Otherwise INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND (or
// the host's reason the device did not open).
HANDLE OpenDevice(const WindowsPath& path, DWORD desiredAccess, DWORD shareMode);

} // namespace win32
