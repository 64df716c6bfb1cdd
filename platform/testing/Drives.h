// Test-only drive tables: drives whose folders are fresh temporary folders, and tables installed as given.
#pragma once

#include "platform/win32/files/DriveTable.h"
#include "platform/win32/files/HostPath.h"

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

namespace win32::testing {

struct TemporaryDrive {
    // withDevice gives the drive a device: an ordinary file made for it, which opens like a device node but
    // answers no CD-ROM request (MediaRecorder.h stands in for a device that does).
    TemporaryDrive(char letter, UINT type = DRIVE_FIXED, std::string label = {}, bool withDevice = false)
        : letter(letter), type(type), label(std::move(label)), withDevice(withDevice) {}

    char letter;
    UINT type;
    std::string label;
    bool withDevice;
};

// Makes a temporary folder for each drive and installs a table of exactly these drives for the object's life;
// the destructor goes back to the environment's table and removes every folder, read-only ones included.
class TemporaryDrives {
public:
    explicit TemporaryDrives(std::initializer_list<TemporaryDrive> drives);
    ~TemporaryDrives();
    TemporaryDrives(const TemporaryDrives&) = delete;
    TemporaryDrives& operator=(const TemporaryDrives&) = delete;

    // The host folder of a drive.
    const std::string& Folder(char letter) const;
    // A host path below a drive's folder; '\' in the relative path counts as '/'.
    std::string HostPath(char letter, std::string_view relative) const;
    // The device file of a drive made withDevice.
    std::string Device(char letter) const;
    // The temporary folder that holds the drives' folders, for things that must lie outside every drive.
    const std::string& Base() const { return m_base; }

private:
    std::string m_base;
    std::map<char, std::string> m_folders;
};

// Installs the table as it is (its folders need not exist) for the object's life.
class ScopedDriveTable {
public:
    explicit ScopedDriveTable(DriveTable table);
    ~ScopedDriveTable();
    ScopedDriveTable(const ScopedDriveTable&) = delete;
    ScopedDriveTable& operator=(const ScopedDriveTable&) = delete;
};

// Opens below the drives' folders by walking them name by name, as on a kernel without openat2, for the
// object's life.
class WalkBelowDrivesByHand {
public:
    WalkBelowDrivesByHand() { seam::WalkBelowDrivesByHand(true); }
    ~WalkBelowDrivesByHand() { seam::WalkBelowDrivesByHand(false); }
    WalkBelowDrivesByHand(const WalkBelowDrivesByHand&) = delete;
    WalkBelowDrivesByHand& operator=(const WalkBelowDrivesByHand&) = delete;
};

} // namespace win32::testing
