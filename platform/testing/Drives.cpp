#include "platform/testing/Drives.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace win32::testing {

namespace {

namespace fs = std::filesystem;

std::string MakeTemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "vemo-drives-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    return pattern;
}

// Restores the owner's write and search bits everywhere below, so that an unprivileged run can remove what a
// test made read-only.
void MakeRemovable(const fs::path& base) {
    std::error_code error;
    fs::permissions(base, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto it = fs::recursive_directory_iterator(base, error); it != fs::recursive_directory_iterator();
         it.increment(error)) {
        if (!it->is_symlink(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }
}

} // namespace

TemporaryDrives::TemporaryDrives(std::initializer_list<TemporaryDrive> drives)
    : m_base(MakeTemporaryFolder()) {
    DriveTable table;
    for (const TemporaryDrive& drive : drives) {
        std::string folder = m_base + "/drive-" + drive.letter;
        fs::create_directory(folder);
        DriveEntry entry{drive.letter, folder, drive.type, drive.label, {}};
        if (drive.withDevice) {
            entry.device = m_base + "/device-" + drive.letter;
            std::ofstream(entry.device).put('\0');
        }
        table.Add(entry);
        m_folders[entry.letter] = folder;
    }
    seam::InstallDriveTable(std::make_shared<const DriveTable>(std::move(table)));
}

TemporaryDrives::~TemporaryDrives() {
    seam::InstallDriveTable(nullptr);
    MakeRemovable(m_base);
    std::error_code error;
    fs::remove_all(m_base, error);
}

const std::string& TemporaryDrives::Folder(char letter) const {
    return m_folders.at(letter);
}

std::string TemporaryDrives::HostPath(char letter, std::string_view relative) const {
    std::string path = Folder(letter) + "/";
    for (char c : relative) {
        path += c == '\\' ? '/' : c;
    }
    return path;
}

std::string TemporaryDrives::Device(char letter) const {
    Folder(letter);
    return m_base + "/device-" + letter;
}

ScopedDriveTable::ScopedDriveTable(DriveTable table) {
    seam::InstallDriveTable(std::make_shared<const DriveTable>(std::move(table)));
}

ScopedDriveTable::~ScopedDriveTable() {
    seam::InstallDriveTable(nullptr);
}

} // namespace win32::testing
