#include "platform/win32/files/FileManagement.h"

#include "platform/testing/Drives.h"
#include "platform/tests/NeverWaiting.h"
#include "platform/win32/HandleTable.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <utility>

namespace {

using namespace win32;
namespace fs = std::filesystem;

class FileManagementTest : public ::testing::Test {
protected:
    win32::testing::TemporaryDrives m_drives{{'C', DRIVE_FIXED}, {'D', DRIVE_CDROM}, {'E', DRIVE_REMOVABLE}};

    std::string Host(char drive, const std::string& relative) { return m_drives.HostPath(drive, relative); }

    void Put(char drive, const std::string& relative, const std::string& text) {
        std::ofstream(Host(drive, relative), std::ios::binary) << text;
    }

    std::string Contents(char drive, const std::string& relative) {
        std::ifstream file(Host(drive, relative), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    void MakeReadOnly(char drive, const std::string& relative) {
        fs::permissions(Host(drive, relative),
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }

    // The names in a host folder, sorted.
    std::vector<std::string> Names(char drive, const std::string& relative) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Host(drive, relative))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // A folder on another host file system than the drives, for moves that cannot rename; empty when the
    // host has none.
    std::string OtherFileSystemFolder() {
        struct stat drives {};
        struct stat shm {};
        if (::stat(m_drives.Base().c_str(), &drives) != 0 || ::stat("/dev/shm", &shm) != 0 ||
            drives.st_dev == shm.st_dev) {
            return {};
        }
        std::string folder = "/dev/shm/vemo-move-XXXXXX";
        if (::mkdtemp(folder.data()) == nullptr) {
            return {};
        }
        m_otherFolder = folder;
        return folder;
    }

    void TearDown() override {
        if (!m_otherFolder.empty()) {
            fs::remove_all(m_otherFolder);
        }
    }

    static HANDLE Open(const char* path, DWORD access, DWORD share) {
        return CreateFileA(path, access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    }

private:
    std::string m_otherFolder;
};

TEST_F(FileManagementTest, AttributesFollowTheHostFile) {
    Put('C', "plain.txt", "x");
    Put('C', "locked.txt", "x");
    MakeReadOnly('C', "locked.txt");
    Put('C', ".profile", "x");
    fs::create_directory(Host('C', "folder"));
    fs::create_directory(Host('C', ".cache"));
    fs::create_symlink(Host('C', "plain.txt"), Host('C', "file-link"));
    fs::create_symlink(Host('C', "folder"), Host('C', "folder-link"));
    fs::create_symlink(Host('C', "nowhere"), Host('C', "dangling"));
    Put('D', "disc.dat", "x");
    struct Case {
        const char* path;
        DWORD attributes;
    } cases[] = {
        {"C:\\plain.txt", FILE_ATTRIBUTE_ARCHIVE},
        {"C:\\PLAIN.TXT", FILE_ATTRIBUTE_ARCHIVE},
        {"C:\\locked.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {"C:\\.profile", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
        {"C:\\folder", FILE_ATTRIBUTE_DIRECTORY},
        {"C:\\folder\\", FILE_ATTRIBUTE_DIRECTORY},
        {"C:\\.cache", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN},
        {"C:\\file-link", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT},
        {"C:\\folder-link", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT},
        {"C:\\dangling", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT},
        {"C:\\", FILE_ATTRIBUTE_DIRECTORY},
        {"C:", FILE_ATTRIBUTE_DIRECTORY},
        {"D:\\disc.dat", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {"D:\\", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetFileAttributesA(c.path), c.attributes);
    }
}

TEST_F(FileManagementTest, AttributesOfWhatIsNotThere) {
    Put('C', "file.txt", "x");
    struct Case {
        const char* path;
        DWORD error;
    } cases[] = {
        {"C:\\missing.txt", ERROR_FILE_NOT_FOUND}, {"C:\\missing\\file.txt", ERROR_PATH_NOT_FOUND},
        {"Z:\\file.txt", ERROR_PATH_NOT_FOUND},    {"C:\\*.txt", ERROR_INVALID_NAME},
        {"C:\\file.txt\\", ERROR_INVALID_NAME},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetFileAttributesA(c.path), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(GetLastError(), c.error);
    }
    // A removable drive whose folder is gone has no medium.
    fs::remove(m_drives.Folder('E'));
    EXPECT_EQ(GetFileAttributesA("E:\\file.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
}

TEST_F(FileManagementTest, CreateDirectoryRefusesAnyExistingSpelling) {
    EXPECT_TRUE(CreateDirectoryA("C:\\Saves", nullptr));
    EXPECT_TRUE(fs::is_directory(Host('C', "Saves")));
    EXPECT_FALSE(CreateDirectoryA("C:\\SAVES", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryA("C:\\none\\Saves", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(CreateDirectoryA("D:\\Saves", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CreateDirectoryA("c:\\saves\\Slot1", nullptr));
    EXPECT_TRUE(fs::is_directory(Host('C', "Saves/Slot1")));
}

TEST_F(FileManagementTest, DeleteFileRefusesReadOnlyFilesAndFolders) {
    Put('C', "old.txt", "x");
    EXPECT_TRUE(DeleteFileA("C:\\OLD.txt"));
    EXPECT_FALSE(fs::exists(Host('C', "old.txt")));

    Put('C', "locked.txt", "x");
    MakeReadOnly('C', "locked.txt");
    EXPECT_FALSE(DeleteFileA("C:\\locked.txt"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(fs::exists(Host('C', "locked.txt")));

    fs::create_directory(Host('C', "folder"));
    EXPECT_FALSE(DeleteFileA("C:\\folder"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    Put('D', "disc.dat", "x");
    EXPECT_FALSE(DeleteFileA("D:\\disc.dat"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    EXPECT_FALSE(DeleteFileA("C:\\missing.txt"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileManagementTest, DeleteFileIsRefusedWhileAHandleDoesNotShareDelete) {
    Put('C', "open.txt", "x");
    HANDLE file = Open("C:\\open.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileA("C:\\Open.txt"));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    CloseHandle(file);

    file = Open("C:\\open.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE);
    EXPECT_TRUE(DeleteFileA("C:\\open.txt"));
    CloseHandle(file);
    EXPECT_FALSE(fs::exists(Host('C', "open.txt")));
}

TEST_F(FileManagementTest, DeleteFileRemovesALinkAndNotItsTarget) {
    Put('C', "target.txt", "kept");
    fs::create_symlink(Host('C', "target.txt"), Host('C', "link.txt"));
    EXPECT_TRUE(DeleteFileA("C:\\link.txt"));
    EXPECT_FALSE(fs::is_symlink(Host('C', "link.txt")));
    EXPECT_EQ(Contents('C', "target.txt"), "kept");
}

TEST_F(FileManagementTest, RemoveDirectory) {
    fs::create_directories(Host('C', "full/inner"));
    fs::create_directory(Host('C', "empty"));
    Put('C', "file.txt", "x");
    EXPECT_TRUE(RemoveDirectoryA("C:\\EMPTY"));
    EXPECT_FALSE(fs::exists(Host('C', "empty")));
    EXPECT_FALSE(RemoveDirectoryA("C:\\full"));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_FALSE(RemoveDirectoryA("C:\\file.txt"));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    EXPECT_FALSE(RemoveDirectoryA("C:\\gone"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(RemoveDirectoryA("C:\\"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    MakeReadOnly('C', "full/inner");
    EXPECT_FALSE(RemoveDirectoryA("C:\\full\\inner"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(FileManagementTest, RemoveDirectoryRemovesALinkToAFolderOutsideAndNotItsContents) {
    std::string outside = m_drives.Base() + "/outside";
    fs::create_directory(outside);
    std::ofstream(outside + "/precious.txt") << "keep";
    fs::create_directory_symlink(outside, Host('C', "link"));
    EXPECT_EQ(GetFileAttributesA("C:\\link"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_FALSE(DeleteFileA("C:\\link"));
    EXPECT_TRUE(RemoveDirectoryA("C:\\link"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Host('C', "link"))));
    EXPECT_TRUE(fs::exists(outside + "/precious.txt"));
}

TEST_F(FileManagementTest, MoveFileRenamesAndRefusesAnExistingTargetInAnySpelling) {
    Put('C', "a.txt", "a");
    Put('C', "B.txt", "b");
    EXPECT_FALSE(MoveFileA("C:\\a.txt", "C:\\b.TXT"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Contents('C', "a.txt"), "a");
    EXPECT_EQ(Contents('C', "B.txt"), "b");

    fs::create_directory(Host('C', "Folder"));
    EXPECT_TRUE(MoveFileA("C:\\A.TXT", "C:\\folder\\moved.txt"));
    EXPECT_EQ(Contents('C', "Folder/moved.txt"), "a");
    EXPECT_FALSE(fs::exists(Host('C', "a.txt")));

    EXPECT_TRUE(MoveFileA("C:\\Folder", "C:\\Renamed"));
    EXPECT_TRUE(fs::is_directory(Host('C', "Renamed")));

    EXPECT_FALSE(MoveFileA("C:\\nothing.txt", "C:\\x.txt"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(MoveFileA("C:\\B.txt", "C:\\no\\x.txt"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileManagementTest, MovingAnEntryOntoItselfChangesAtMostItsSpelling) {
    Put('C', "name.txt", "data");
    EXPECT_TRUE(MoveFileA("C:\\name.txt", "C:\\name.txt"));
    EXPECT_TRUE(MoveFileExA("C:\\NAME.txt", "C:\\name.txt", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(Names('C', ""), std::vector<std::string>{"name.txt"});
    EXPECT_TRUE(MoveFileA("C:\\name.txt", "C:\\Name.TXT"));
    EXPECT_EQ(Names('C', ""), std::vector<std::string>{"Name.TXT"});
    EXPECT_EQ(Contents('C', "Name.TXT"), "data");
}

TEST_F(FileManagementTest, MoveIsRefusedWhileAHandleDoesNotShareDelete) {
    Put('C', "open.txt", "x");
    HANDLE file = Open("C:\\open.txt", GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(MoveFileA("C:\\open.txt", "C:\\closed.txt"));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    CloseHandle(file);
    EXPECT_TRUE(MoveFileA("C:\\open.txt", "C:\\closed.txt"));
}

TEST_F(FileManagementTest, ReplaceExistingReplacesOnlyAsPartOfTheMove) {
    Put('C', "new.txt", "new");
    Put('C', "Old.txt", "old");
    EXPECT_FALSE(MoveFileExA("C:\\new.txt", "C:\\old.txt", 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(MoveFileExA("C:\\new.txt", "C:\\old.txt", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(Names('C', ""), std::vector<std::string>{"Old.txt"});
    EXPECT_EQ(Contents('C', "Old.txt"), "new");
}

TEST_F(FileManagementTest, AFailedReplaceLeavesBothFilesAsTheyWere) {
    Put('C', "source.txt", "source");
    Put('C', "locked.txt", "locked");
    MakeReadOnly('C', "locked.txt");
    fs::create_directory(Host('C', "folder"));
    Put('C', "held.txt", "held");
    HANDLE held = Open("C:\\held.txt", GENERIC_READ, FILE_SHARE_READ);
    struct Case {
        const char* target;
        DWORD error;
    } cases[] = {
        {"C:\\locked.txt", ERROR_ACCESS_DENIED},
        {"C:\\folder", ERROR_ACCESS_DENIED},
        {"C:\\held.txt", ERROR_SHARING_VIOLATION},
        {"D:\\source.txt", ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        EXPECT_FALSE(
            MoveFileExA("C:\\source.txt", c.target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED));
        EXPECT_EQ(GetLastError(), c.error);
    }
    CloseHandle(held);
    EXPECT_EQ(Contents('C', "source.txt"), "source");
    EXPECT_EQ(Contents('C', "locked.txt"), "locked");
    EXPECT_EQ(Contents('C', "held.txt"), "held");
    EXPECT_TRUE(fs::is_directory(Host('C', "folder")));
}

TEST_F(FileManagementTest, ReplacingAHardLinkOfTheSameFileRemovesTheSourceName) {
    Put('C', "one.txt", "data");
    fs::create_hard_link(Host('C', "one.txt"), Host('C', "two.txt"));
    EXPECT_TRUE(MoveFileExA("C:\\one.txt", "C:\\two.txt", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(Names('C', ""), std::vector<std::string>{"two.txt"});
    EXPECT_EQ(Contents('C', "two.txt"), "data");
}

TEST_F(FileManagementTest, MoveAcrossHostFileSystemsCopiesAndDeletes) {
    std::string other = OtherFileSystemFolder();
    if (other.empty()) {
        GTEST_SKIP() << "no second host file system";
    }
    // The second file system is a drive of its own (a link to it from C: would lead out of C:).
    DriveTable table = *CurrentDriveTable();
    table.Add({'F', other, DRIVE_FIXED, {}, {}});
    win32::testing::ScopedDriveTable withOther(table);
    const auto otherContents = [&](const std::string& name) {
        std::ifstream file(other + "/" + name, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    };
    Put('C', "file.txt", "payload");
    fs::create_directory(Host('C', "folder"));
    Put('C', "locked.txt", "ro");
    MakeReadOnly('C', "locked.txt");

    EXPECT_FALSE(MoveFileExA("C:\\file.txt", "F:\\file.txt", 0));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SAME_DEVICE);
    EXPECT_TRUE(MoveFileA("C:\\file.txt", "F:\\file.txt"));
    EXPECT_FALSE(fs::exists(Host('C', "file.txt")));
    EXPECT_EQ(otherContents("file.txt"), "payload");

    EXPECT_TRUE(MoveFileA("C:\\locked.txt", "F:\\locked.txt"));
    EXPECT_EQ(GetFileAttributesA("F:\\locked.txt"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);

    Put('C', "again.txt", "newer");
    EXPECT_FALSE(MoveFileA("C:\\again.txt", "F:\\FILE.txt"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(
        MoveFileExA("C:\\again.txt", "F:\\FILE.txt", MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED));
    EXPECT_EQ(otherContents("file.txt"), "newer");

    EXPECT_FALSE(MoveFileA("C:\\folder", "F:\\folder"));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SAME_DEVICE);
    EXPECT_TRUE(fs::is_directory(Host('C', "folder")));
    std::vector<std::string> expected{"file.txt", "locked.txt"};
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(other)) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, expected);
}

TEST_F(FileManagementTest, CopyFileCopiesDataPermissionsAndTimes) {
    Put('C', "source.bin", std::string(700000, 's'));
    auto when = fs::last_write_time(Host('C', "source.bin")) - std::chrono::hours(48);
    fs::last_write_time(Host('C', "source.bin"), when);
    EXPECT_TRUE(CopyFileA("C:\\SOURCE.bin", "C:\\copy.bin", TRUE));
    EXPECT_EQ(Contents('C', "copy.bin"), std::string(700000, 's'));
    EXPECT_EQ(fs::last_write_time(Host('C', "copy.bin")), when);
    EXPECT_EQ(Names('C', ""), (std::vector<std::string>{"copy.bin", "source.bin"}));

    MakeReadOnly('C', "source.bin");
    EXPECT_TRUE(CopyFileA("C:\\source.bin", "C:\\copy2.bin", TRUE));
    EXPECT_EQ(GetFileAttributesA("C:\\copy2.bin"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);

    // What a CD-ROM drive holds is read-only, and so are its copies.
    Put('D', "disc.dat", "disc");
    EXPECT_TRUE(CopyFileA("D:\\disc.dat", "C:\\disc.dat", TRUE));
    EXPECT_EQ(GetFileAttributesA("C:\\disc.dat"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
}

TEST_F(FileManagementTest, CopyFileOntoAnExistingFile) {
    Put('C', "a.txt", "new");
    Put('C', "B.txt", "old");
    EXPECT_FALSE(CopyFileA("C:\\a.txt", "C:\\b.txt", TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(Contents('C', "B.txt"), "old");
    EXPECT_TRUE(CopyFileA("C:\\a.txt", "C:\\b.txt", FALSE));
    EXPECT_EQ(Contents('C', "B.txt"), "new");
    EXPECT_EQ(Names('C', ""), (std::vector<std::string>{"B.txt", "a.txt"}));

    MakeReadOnly('C', "B.txt");
    EXPECT_FALSE(CopyFileA("C:\\a.txt", "C:\\b.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(CopyFileA("C:\\a.txt", "D:\\a.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(CopyFileA("C:\\none.txt", "C:\\x.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileManagementTest, CopyFileRefusesToCopyAFileOntoItself) {
    Put('C', "self.txt", "self");
    fs::create_hard_link(Host('C', "self.txt"), Host('C', "alias.txt"));
    for (const char* target : {"C:\\self.txt", "C:\\SELF.TXT", "C:\\alias.txt"}) {
        SCOPED_TRACE(target);
        EXPECT_FALSE(CopyFileA("C:\\self.txt", target, FALSE));
        EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    }
    EXPECT_EQ(Contents('C', "self.txt"), "self");
}

TEST_F(FileManagementTest, CopyFileHonoursOpenHandles) {
    Put('C', "source.txt", "s");
    Put('C', "target.txt", "t");
    HANDLE writer = Open("C:\\source.txt", GENERIC_WRITE, FILE_SHARE_READ);
    EXPECT_FALSE(CopyFileA("C:\\source.txt", "C:\\copy.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    CloseHandle(writer);

    HANDLE reader = Open("C:\\target.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_FALSE(CopyFileA("C:\\source.txt", "C:\\target.txt", FALSE));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    CloseHandle(reader);
    EXPECT_EQ(Contents('C', "target.txt"), "t");
}

// A FIFO is no file to copy or to move by copying: refused at once, never waited on, and left where it was.
TEST_F(FileManagementTest, CopiesNeverWaitOnAFifo) {
    const std::string fifo = Host('C', "pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto copied = platform::tests::WithoutWaitingOn(fifo, [] {
        const BOOL done = CopyFileA("C:\\pipe", "C:\\copy", FALSE);
        return std::make_pair(done, GetLastError());
    });
    EXPECT_EQ(copied, std::make_pair(FALSE, ERROR_ACCESS_DENIED));
    EXPECT_FALSE(fs::exists(Host('C', "copy")));

    const std::string other = OtherFileSystemFolder();
    if (other.empty()) {
        return; // no second host file system: a move is a rename
    }
    DriveTable table = *CurrentDriveTable();
    table.Add({'F', other, DRIVE_FIXED, {}, {}});
    win32::testing::ScopedDriveTable withOther(table);
    const auto moved = platform::tests::WithoutWaitingOn(fifo, [] {
        const BOOL done = MoveFileA("C:\\pipe", "F:\\pipe");
        return std::make_pair(done, GetLastError());
    });
    EXPECT_EQ(moved, std::make_pair(FALSE, ERROR_ACCESS_DENIED));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_FALSE(fs::exists(fs::symlink_status(other + "/pipe")));
}

} // namespace
