// The fixture title of runtime/tests/title installed on a fresh emulated machine, as the installer would
// leave it: C: (fixed, HD0) holds the folders Title, User and Shared; D: and E: are CD-ROM drives (CD0 and
// CD1), empty until a test inserts the data disc; the registry store holds the product's values
// (GamePath, SharedPath, UserPath) under HKEY_LOCAL_MACHINE, written through the platform's registry code.
// The temporary folder (where each run makes its own folder for QuickTime's start-up movie) is C:\Temp.
//
//     TitleTest::InstalledTitle title;
//     title.SetValue("DataPath", "C:\\Data");        // the store is written again at once
//     title.Write('C', "Title/Quorven.ini", "...");
//     ... run the program on it ...
//     EXPECT_EQ(title.Read('C', "User/User.ini"), "...");
#pragma once

#include "platform/testing/Drives.h"
#include "platform/testing/Registry.h"
#include "platform/testing/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace TitleTest {

inline const char* const kProductKey = "Software\\Vemo Company\\Products\\Quorven ZUT Plexotron\\System";

inline std::filesystem::path FixtureFolder() {
    return std::filesystem::path(VEMO_SOURCE_DIR) / "runtime" / "tests" / "title";
}

class InstalledTitle {
public:
    InstalledTitle() : m_drives({{'C'}, {'D', win32::DRIVE_CDROM}, {'E', win32::DRIVE_CDROM}}) {
        std::filesystem::copy(FixtureFolder() / "Title", Host('C', "Title"),
                              std::filesystem::copy_options::recursive);
        std::filesystem::create_directories(Host('C', "User"));
        std::filesystem::create_directories(Host('C', "Shared"));
        std::filesystem::create_directories(Host('C', "Temp"));
        std::filesystem::create_directories(std::filesystem::path(Base()) / "runtime");
        m_temporary.Set(Host('C', "Temp").c_str());
        m_values = {{"GamePath", "C:\\Title"}, {"SharedPath", "C:\\Shared"}, {"UserPath", "C:\\User"}};
        WriteRegistry();
    }

    // The host path of a file or folder of a drive; '\' and '/' both separate.
    std::string Host(char drive, const std::string& relative) const {
        return m_drives.HostPath(drive, relative);
    }

    // The data disc's "ident" in the root of the CD-ROM drive.
    void InsertDisc(char drive) const {
        std::filesystem::copy_file(FixtureFolder() / "Disc" / "ident", Host(drive, "ident"),
                                   std::filesystem::copy_options::overwrite_existing);
    }

    void Write(char drive, const std::string& relative, const std::string& text) const {
        const std::filesystem::path path = Host(drive, relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }

    void Remove(char drive, const std::string& relative) const {
        std::filesystem::remove(Host(drive, relative));
    }

    // The file's content, or "<missing>".
    std::string Read(char drive, const std::string& relative) const {
        std::ifstream in(Host(drive, relative), std::ios::binary);
        if (!in) {
            return "<missing>";
        }
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Replaces or adds a value of the product's key, or removes it (empty text).
    void SetValue(const std::string& name, const std::string& text) {
        if (text.empty()) {
            m_values.erase(name);
        } else {
            m_values[name] = text;
        }
        WriteRegistry();
    }

    // The environment of the program on this machine, for a shell command line: the drives, the registry
    // store, the temporary folder, and a runtime folder of its own, so that the single-instance mutex and the
    // windows other processes can find are this machine's alone.
    std::string Environment() const {
        return "VEMO_DRIVES='" + DriveTable() + "' VEMO_REGISTRY='" + m_registry.Path() + "' TMPDIR='" +
               Host('C', "Temp") + "' XDG_RUNTIME_DIR='" +
               (std::filesystem::path(Base()) / "runtime").string() + "'";
    }

    // The drive table as VEMO_DRIVES gives it to the program.
    std::string DriveTable() const {
        return "C=" + m_drives.Folder('C') + ":fixed;D=" + m_drives.Folder('D') +
               ":cdrom;E=" + m_drives.Folder('E') + ":cdrom";
    }

    const win32::testing::TemporaryRegistry& Registry() const { return m_registry; }
    const std::string& Base() const { return m_drives.Base(); }

private:
    void WriteRegistry() {
        m_registry.WriteText("");
        std::vector<std::pair<std::string, std::string>> values(m_values.begin(), m_values.end());
        ASSERT_TRUE(m_registry.SetStrings(win32::HKEY_LOCAL_MACHINE, kProductKey, values));
    }

    win32::testing::TemporaryDrives m_drives;
    win32::testing::TemporaryRegistry m_registry;
    platform::testing::ScopedEnvironment m_temporary{"TMPDIR", nullptr};
    std::map<std::string, std::string> m_values;
};

} // namespace TitleTest
