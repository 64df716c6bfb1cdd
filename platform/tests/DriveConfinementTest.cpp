// A drive of named folders keeps a title inside them: links that lead out of a drive's folder are names in
// it, never ways out, also while another process swaps names for such links; with "/" as the drive, as by
// default, every link is followed as the host follows it. Each test runs with openat2 and with the walk by
// hand that kernels without it get.
#include "platform/testing/Drives.h"
#include "platform/testing/ProcessIds.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/win32/HandleTable.h"
#include "platform/win32/LastError.h"
#include "platform/win32/desktop/Shell.h"
#include "platform/win32/files/File.h"
#include "platform/win32/files/FileIdentity.h"
#include "platform/win32/files/FileManagement.h"
#include "platform/win32/files/Find.h"
#include "platform/win32/files/ReplaceFile.h"
#include "platform/win32/files/SystemPaths.h"
#include "platform/win32/files/WindowsDirectory.h"
#include "platform/win32/registry/Profile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace win32;
namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

void Put(const fs::path& path, const std::string& text, mode_t mode) {
    std::ofstream(path, std::ios::binary) << text;
    ::chmod(path.c_str(), mode);
}

// Another user who may write in the drive's folder: swaps a name with the link beside it (the same name and
// ".swap") over and over, for the object's life. It is swapping when the constructor returns, so that even a
// single call made then meets the swaps.
class Swapper {
public:
    explicit Swapper(std::string name)
        : m_thread([this, name = std::move(name)] {
              const std::string link = name + ".swap";
              while (!m_stop.load()) {
                  ::renameat2(AT_FDCWD, name.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE);
                  m_swapping.store(true);
              }
          }) {
        while (!m_swapping.load()) {
            std::this_thread::yield();
        }
    }
    ~Swapper() {
        m_stop.store(true);
        m_thread.join();
    }
    Swapper(const Swapper&) = delete;
    Swapper& operator=(const Swapper&) = delete;

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_swapping{false};
    std::thread m_thread;
};

class DriveConfinementTest : public ::testing::TestWithParam<bool> {
protected:
    DriveConfinementTest() {
        if (GetParam()) {
            m_byHand.emplace();
        }
        fs::create_directories(m_outside / "folder");
        std::ofstream(m_outside / "secret.txt") << "secret";
        std::ofstream(m_outside / "folder" / "inner.ini") << "[Section]\nKey=inner\n";
        fs::create_directories(Host("Title/Data"));
        std::ofstream(Host("Title/Data/clip.txt")) << "clip";
        fs::create_directory_symlink(m_outside / "folder", Host("Out"));
        fs::create_symlink(m_outside / "secret.txt", Host("Secret.txt"));
        fs::create_symlink(m_outside / "planted.txt", Host("Dangling.txt"));
        fs::create_directory_symlink("../drive-C/Title/Data", Host("Escape"));
        fs::create_directory_symlink("Title/Data", Host("Data"));
    }

    std::string Host(const std::string& relative) const { return m_drives.HostPath('C', relative); }

    static bool Opens(const char* path, DWORD disposition = OPEN_EXISTING) {
        HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        CloseHandle(file);
        return true;
    }

    static std::vector<std::string> Listed(const char* pattern) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(pattern, &data);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            names.emplace_back(data.cFileName);
        } while (FindNextFileA(search, &data));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::optional<win32::testing::WalkBelowDrivesByHand> m_byHand;
    win32::testing::TemporaryDrives m_drives{{'C', DRIVE_FIXED}};
    fs::path m_outside = fs::path(m_drives.Base()) / "outside";
};

TEST_P(DriveConfinementTest, NothingGoesThroughALinkThatLeadsOut) {
    struct Case {
        const char* path;
        DWORD disposition;
        DWORD error;
    };
    const Case cases[] = {
        {"C:\\Secret.txt", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {"C:\\secret.TXT", OPEN_ALWAYS, ERROR_FILE_NOT_FOUND},
        {"C:\\Secret.txt", CREATE_ALWAYS, ERROR_FILE_NOT_FOUND},
        {"C:\\Secret.txt", TRUNCATE_EXISTING, ERROR_FILE_NOT_FOUND},
        {"C:\\Dangling.txt", CREATE_ALWAYS, ERROR_FILE_NOT_FOUND},
        {"C:\\Out\\inner.ini", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"C:\\out\\new.txt", CREATE_NEW, ERROR_PATH_NOT_FOUND},
        {"C:\\..\\outside\\secret.txt", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_FALSE(Opens(c.path, c.disposition));
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(Contents(m_outside / "secret.txt"), "secret");
    EXPECT_FALSE(fs::exists(m_outside / "planted.txt"));
    EXPECT_FALSE(fs::exists(m_outside / "folder" / "new.txt"));

    EXPECT_FALSE(CreateDirectoryA("C:\\Out\\made", nullptr));
    EXPECT_FALSE(fs::exists(m_outside / "folder" / "made"));
    EXPECT_TRUE(Listed("C:\\Out\\*").empty());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(CopyFileA("C:\\Secret.txt", "C:\\Copy.txt", TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CopyFileA("C:\\Title\\Data\\clip.txt", "C:\\Out\\clip.txt", TRUE));
    EXPECT_FALSE(fs::exists(m_outside / "folder" / "clip.txt"));
    char text[32] = {};
    EXPECT_EQ(GetPrivateProfileStringA("Section", "Key", "", text, sizeof text, "C:\\Out\\inner.ini"), 0u);
    EXPECT_TRUE(WritePrivateProfileStringA("Section", "Key", "value", "C:\\Secret.txt") == FALSE);
    EXPECT_EQ(Contents(m_outside / "secret.txt"), "secret");
}

TEST_P(DriveConfinementTest, ALinkThatLeadsOutIsStillANameInItsFolder) {
    EXPECT_EQ(Listed("C:\\*"),
              (std::vector<std::string>{"Dangling.txt", "Data", "Escape", "Out", "Secret.txt", "Title"}));
    EXPECT_EQ(GetFileAttributesA("C:\\Out") & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_NE(GetFileAttributesA("C:\\Secret.txt"), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(DeleteFileA("C:\\Secret.txt"));
    EXPECT_TRUE(RemoveDirectoryA("C:\\Out"));
    EXPECT_TRUE(DeleteFileA("C:\\Dangling.txt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Host("Secret.txt"))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Host("Out"))));
    EXPECT_EQ(Contents(m_outside / "secret.txt"), "secret");
    EXPECT_EQ(Contents(m_outside / "folder" / "inner.ini"), "[Section]\nKey=inner\n");
}

TEST_P(DriveConfinementTest, LinksThatStayInsideTheDriveAreFollowed) {
    // "Data" leads to a folder of the drive; "Escape" climbs out of the drive's folder and back into it;
    // "Absolute" names a file of the drive by its whole host path, and "Chain" reaches it through another.
    fs::create_symlink(Host("Title/Data/clip.txt"), Host("Absolute.txt"));
    fs::create_symlink("../Title/../Absolute.txt", Host("Title/Chain.txt"));
    EXPECT_TRUE(Opens("C:\\Data\\clip.txt"));
    EXPECT_TRUE(Opens("C:\\escape\\CLIP.txt"));
    EXPECT_TRUE(Opens("C:\\Absolute.txt"));
    EXPECT_TRUE(Opens("C:\\Title\\Chain.txt"));
    EXPECT_EQ(Listed("C:\\Data\\*"), (std::vector<std::string>{".", "..", "clip.txt"}));
}

TEST_P(DriveConfinementTest, ALinkThatClimbsOutAndBackElsewhereOrLoopsIsNotFollowed) {
    // "Sibling" climbs out of the drive's folder into its neighbour, "Loop" names itself.
    fs::create_directory(fs::path(m_drives.Base()) / "drive-C-sibling");
    std::ofstream(fs::path(m_drives.Base()) / "drive-C-sibling" / "file.txt") << "sibling";
    const std::string drive = fs::path(m_drives.Folder('C')).filename().string();
    fs::create_directory_symlink("../" + drive + "-sibling", Host("Sibling"));
    fs::create_symlink("Loop", Host("Loop"));
    EXPECT_FALSE(Opens("C:\\Sibling\\file.txt"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(Opens("C:\\Loop"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_P(DriveConfinementTest, TheDefaultDriveOfTheWholeHostFollowsEveryLink) {
    DriveTable table;
    table.Add({'C', "/", DRIVE_FIXED, {}, {}});
    win32::testing::ScopedDriveTable whole(table);
    const std::string windows = "C:" + Host("Secret.txt");
    EXPECT_TRUE(Opens(windows.c_str()));
    const std::string inner = "C:" + Host("Out/inner.ini");
    EXPECT_TRUE(Opens(inner.c_str()));
}

TEST_P(DriveConfinementTest, TheWindowsAndTemporaryFoldersGetDrivesOfTheirOwnWhenNoDriveReachesThem) {
    const std::string windows = (m_outside / "windows").string();
    const std::string temporary = (m_outside / "tmp").string();
    platform::testing::ScopedEnvironment windir("VEMO_WINDIR", windows.c_str());
    platform::testing::ScopedEnvironment tmpdir("TMPDIR", (temporary + "/").c_str());
    DriveTable table = DriveTable::Parse("C=" + Host("") + ":fixed;Z=" + Host("Title") + ":cdrom");
    KeepSystemFoldersReachable(table);
    ASSERT_EQ(table.Entries().size(), 4u);
    ASSERT_NE(table.Find('Y'), nullptr);
    EXPECT_EQ(table.Find('Y')->hostFolder, windows);
    EXPECT_EQ(table.Find('Y')->type, DRIVE_FIXED);
    ASSERT_NE(table.Find('X'), nullptr);
    EXPECT_EQ(table.Find('X')->hostFolder, temporary);

    win32::testing::ScopedDriveTable installed(table);
    char path[MAX_PATH] = {};
    EXPECT_EQ(GetTempPathA(sizeof path, path), 3u);
    EXPECT_STREQ(path, "X:\\");
    EXPECT_EQ(GetWindowsDirectoryA(path, sizeof path), 3u);
    EXPECT_STREQ(path, "Y:\\");
}

TEST_P(DriveConfinementTest, AFolderADriveReachesKeepsItsPlaceAndOneBehindALinkOutDoesNot) {
    platform::testing::ScopedEnvironment windir("VEMO_WINDIR", Host("Windows").c_str());
    // The temporary folder lies in C: by its text, but through a link that leads out of it.
    platform::testing::ScopedEnvironment tmpdir("TMPDIR", Host("Out/tmp").c_str());
    DriveTable table = DriveTable::Parse("C=" + Host("") + ":fixed");
    KeepSystemFoldersReachable(table);
    ASSERT_EQ(table.Entries().size(), 2u);
    ASSERT_NE(table.Find('Z'), nullptr);
    EXPECT_EQ(table.Find('Z')->hostFolder, Host("Out/tmp"));

    DriveTable whole;
    whole.Add({'C', "/", DRIVE_FIXED, {}, {}});
    KeepSystemFoldersReachable(whole);
    EXPECT_EQ(whole.Entries().size(), 1u);
}

// Another user who may write in the drive's folder swaps a name with a link to somewhere outside, over and
// over, while the title copies a file by that name or through it: every copy holds the drive's file or fails,
// none the outside one.
TEST_P(DriveConfinementTest, ANameSwappedForALinkOutInARaceNeverYieldsTheOutsideFile) {
    fs::create_directories(Host("Race/Folder"));
    fs::create_directories(Host("Copies"));
    std::ofstream(Host("Race/clip.txt")) << "clip";
    std::ofstream(Host("Race/Folder/inner.ini")) << "inside";
    fs::create_symlink(m_outside / "secret.txt", Host("Race/clip.swap"));
    fs::create_directory_symlink(m_outside / "folder", Host("Race/Folder.swap"));
    const struct {
        const char* swapped; // with the same name and ".swap"
        const char* copied;
    } cases[] = {{"Race/clip.txt", "C:\\Race\\clip.txt"}, {"Race/Folder", "C:\\Race\\Folder\\inner.ini"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copied);
        int copied = 0;
        int outside = 0;
        {
            const Swapper swapper(Host(c.swapped));
            for (int i = 0; i < 200; ++i) {
                const std::string copy = "Copies/" + std::to_string(i);
                if (CopyFileA(c.copied, ("C:\\" + copy).c_str(), FALSE)) {
                    ++copied;
                    const std::string text = Contents(Host(copy));
                    outside += text != "clip" && text != "inside" ? 1 : 0;
                }
            }
        }
        EXPECT_EQ(outside, 0) << "of " << copied << " copies";
    }
}

// A file replaced whole for the player, by a settings save or a profile write, while its name or its folder
// is swapped for a link out: the new file never takes the mode of the outside file, and nothing outside is
// changed or swept away.
TEST_P(DriveConfinementTest, AFileReplacedForThePlayerNeverTakesTheModeOfNorTouchesAnOutsideFileSwappedIn) {
    constexpr mode_t kOutsideMode = 0604;
    const fs::path outside = m_outside / "race";
    const std::string stale = ".vemo-profile-" + std::to_string(win32::testing::EndedProcessId()) + "-abcdef";
    const struct {
        const char* what;
        void (*write)();
    } writers[] = {
        {"settings save",
         [] { ReplaceFileA("C:\\Race\\User.ini", "C:\\Race\\User.ini.new", nullptr, 0, nullptr, nullptr); }},
        {"profile", [] { WritePrivateProfileStringA("Section", "Key", "new", "C:\\Race\\User.ini"); }},
    };
    fs::create_directories(outside);
    for (const char* swapped : {"Race/User.ini", "Race"}) {
        for (const auto& writer : writers) {
            SCOPED_TRACE(std::string(writer.what) + " with " + swapped + " swapped");
            int lent = 0;
            int touched = 0;
            for (int i = 0; i < 200; ++i) {
                for (const char* name : {"User.ini", "User.ini.new", stale.c_str()}) {
                    Put(outside / name, "outside", kOutsideMode);
                }
                fs::remove_all(Host("Race"));
                fs::remove_all(Host("Race.swap"));
                fs::create_directory(Host("Race"));
                Put(Host("Race/User.ini"), "old", 0600);
                Put(Host("Race/User.ini.new"), "new", 0644);
                fs::create_symlink(outside / "User.ini", Host("Race/User.ini.swap"));
                fs::create_directory_symlink(outside, Host("Race.swap"));
                {
                    const Swapper swapper(Host(swapped));
                    writer.write();
                }
                for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Host(""))) {
                    lent += entry.is_regular_file() && !entry.is_symlink() &&
                                    Contents(entry.path()).find("new") != std::string::npos &&
                                    ModeOf(entry.path()) == kOutsideMode
                                ? 1
                                : 0;
                }
                for (const char* name : {"User.ini", "User.ini.new", stale.c_str()}) {
                    touched += Contents(outside / name) != "outside" || ModeOf(outside / name) != kOutsideMode
                                   ? 1
                                   : 0;
                }
            }
            EXPECT_EQ(lent, 0) << "new files with the outside file's mode";
            EXPECT_EQ(touched, 0) << "outside files changed or removed";
        }
    }
}

// The identity a folder copy checks for loops, while the folder's name is swapped for a link to a folder
// outside: it is the drive's folder or none, never the outside one.
TEST_P(DriveConfinementTest, TheIdentityOfANameSwappedForALinkOutIsNeverTheOutsideOnes) {
    fs::create_directories(Host("Race/Folder"));
    fs::create_directory_symlink(m_outside / "folder", Host("Race/Folder.swap"));
    struct stat folder {};
    ASSERT_EQ(::stat((m_outside / "folder").c_str(), &folder), 0);
    const FILE_IDENTITY outside{folder.st_dev, folder.st_ino};
    int reached = 0;
    int outsideReached = 0;
    {
        // On a loaded machine the swapping thread can keep the link in place for whole time slices, so the
        // calls go on past the first 200 until one has met the drive's own folder.
        const Swapper swapper(Host("Race/Folder"));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (int i = 0; i < 200 || (reached == 0 && std::chrono::steady_clock::now() < deadline); ++i) {
            FILE_IDENTITY identity;
            if (GetFileIdentityA("C:\\Race\\Folder", &identity)) {
                ++reached;
                outsideReached += identity == outside ? 1 : 0;
            }
        }
    }
    EXPECT_GT(reached, 0);
    EXPECT_EQ(outsideReached, 0) << "of " << reached << " identities";
}

// A name the opener refuses (its content is a program) is swapped for a link to a document outside: the
// opener is never started for it, as the checks look at the one file that was opened inside the drive.
TEST_P(DriveConfinementTest, TheOpenerIsNeverGivenANameWhoseChecksReadAnOutsideFileSwappedIn) {
    platform::testing::ScopedEnvironment opener("VEMO_OPENER", "true");
    fs::create_directories(Host("Race"));
    std::ofstream(Host("Race/notes.txt")) << "MZ";
    fs::create_symlink(m_outside / "secret.txt", Host("Race/notes.txt.swap"));
    int started = 0;
    ::testing::internal::CaptureStderr();
    {
        const Swapper swapper(Host("Race/notes.txt"));
        for (int i = 0; i < 200; ++i) {
            SHELLEXECUTEINFOA info{};
            info.cbSize = kShellExecuteInfoSize;
            info.fMask = SEE_MASK_FLAG_NO_UI;
            info.lpFile = "C:\\Race\\notes.txt";
            started += ShellExecuteExA(&info) ? 1 : 0;
        }
    }
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(started, 0);
}

INSTANTIATE_TEST_SUITE_P(Opens, DriveConfinementTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "ByHand" : "Openat2";
                         });

} // namespace
