// The device objects that CreateFileA opens for the names "\\.\X:" and "\\.\vwin32". The host side of
// removable media is in Media.h.
#pragma once

#include "platform/win32/HandleTable.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/Media.h"
#include "platform/win32/files/OpenFiles.h"

#include <string>

namespace win32 {

// "\\.\X:" on the NT machine: the drive's device, opened on the host without waiting for a medium. Every open
// handle on the drive (files and other devices) keeps the volume from being locked.
class VolumeDevice : public KernelObject {
public:
    VolumeDevice(int descriptor, char drive, std::string device);
    ~VolumeDevice() override;

    char Drive() const { return m_record.drive; }
    int Descriptor() const { return m_descriptor; }
    const std::string& HostDevice() const { return m_device; }
    // The handles open on the drive besides this one.
    int OtherHandlesOnDrive() const { return OpenFiles::CountOnDrive(m_record.drive, &m_record); }

private:
    int m_descriptor;
    std::string m_device;
    OpenRecord m_record;
};

// "\\.\vwin32" on the 9x machine: the service that answers DOS block-device requests.
class VWin32Device : public KernelObject {};

// Opens the device a parsed device path names. "\\.\X:" exists on the NT machine only, and only for a drive
// whose table entry names a device that can be opened; "\\.\vwin32" exists on the 9x machine only. Otherwise
// INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND (or the host's reason the device did not open).
HANDLE OpenDevice(const WindowsPath& path, DWORD desiredAccess, DWORD shareMode);

} // namespace win32
