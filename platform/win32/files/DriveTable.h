// The emulated machine's drives: which drive letters exist, the host folder each one shows, its kind, and
// optionally its volume label and the host device that carries its medium.
//
// The table comes from the environment variable VEMO_DRIVES when it is set (even to an empty text, which
// gives a machine without drives), read once, on first use:
//
//     VEMO_DRIVES = entry { ";" entry }
//     entry       = letter "=" folder ":" type { ":" option }
//     letter      = a letter A-Z (a lower-case one is taken as upper case)
//     folder      = the absolute host folder shown as the drive's root ("/" or "/..."); no ':' or ';'
//     type        = "fixed" | "cdrom" | "removable" | "remote" | "ramdisk"
//     option      = "label=" text       the volume label (default: none); no ':' or ';'
//                 | "device=" path      the absolute host device node for lock and eject (default: none)
//
// for example  C=/:fixed;D=/media/cdrom:cdrom:label=DISC1:device=/dev/sr0
// Blanks around an entry and empty entries (a trailing ';') are ignored. An entry that breaks these rules (a
// letter already given, a relative folder, an unknown type or option, an option given twice) is left out with
// a message on the standard error; the other entries still make the table.
//
// Without VEMO_DRIVES the table is C: showing "/" as a fixed drive, then every ISO 9660 or UDF file system
// mounted on the host (from /proc/self/mounts, in mount order) as a CD-ROM drive from D: on, with its mount
// source as device when that is a drive's device node (a disc image's loop device has no door to lock) and
// its label from /dev/disk/by-label when the host knows one.
//
// A table of named folders confines a title to them (HostPath.h); the emulated machine's Windows folder
// (WindowsDirectory.h) and temporary folder (SystemPaths.h) stay reachable all the same: each one that no
// drive of VEMO_DRIVES reaches becomes a fixed drive of its own, the first free letter from Z: down, said on
// the standard error.
#pragma once

#include "platform/win32/Types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

// Drive types, as GetDriveTypeA reports them.
constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

struct DriveEntry {
    char letter = 0;        // 'A'..'Z'
    std::string hostFolder; // absolute
    UINT type = DRIVE_FIXED;
    std::string label;
    std::string device; // empty: the drive has no device to lock or eject
};

// Entries are kept in letter order, one per letter.
class DriveTable {
public:
    // Adds the entry; false when its letter is not A-Z or is taken already.
    bool Add(DriveEntry entry);

    // The entry of the letter (either case), or null.
    const DriveEntry* Find(char letter) const;

    const std::vector<DriveEntry>& Entries() const { return m_entries; }

    // The table a VEMO_DRIVES text describes. Each entry left out adds a message to errors when given.
    static DriveTable Parse(std::string_view text, std::vector<std::string>* errors = nullptr);

    // The table used without VEMO_DRIVES, given the text of a mount table in the /proc/self/mounts format.
    static DriveTable FromMounts(std::string_view mounts);

private:
    std::vector<DriveEntry> m_entries;
};

// Adds a fixed drive for the Windows folder, then one for the temporary folder, when no drive of the table
// reaches it (the drive that shows it, with no link on the way leading out), each said on the standard
// error; a folder without a free letter is said and left out.
void KeepSystemFoldersReachable(DriveTable& table);

// The table in force: the installed one, else the one from the environment.
std::shared_ptr<const DriveTable> CurrentDriveTable();

namespace seam {

// Installs a table in place of the environment's (null goes back to it); platform/testing/Drives.h wraps
// this.
void InstallDriveTable(std::shared_ptr<const DriveTable> table);

} // namespace seam

} // namespace win32
