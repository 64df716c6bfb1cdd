#include "platform/win32/files/FileIdentity.h"

#include "platform/testing/Drives.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace win32;
namespace fs = std::filesystem;

class FileIdentityTest : public ::testing::Test {
protected:
    FileIdentityTest() {
        fs::create_directories(Host("tree/sub"));
        fs::create_directories(Host("other"));
        std::ofstream(Host("tree/file.txt")) << "text";
        fs::create_directory_symlink(".", Host("tree/again"));
        fs::create_directory_symlink("..", Host("tree/sub/up"));
        fs::create_directories(m_drives.Base() + "/outside");
        fs::create_directory_symlink(m_drives.Base() + "/outside", Host("tree/out"));
    }

    std::string Host(const std::string& relative) const { return m_drives.HostPath('C', relative); }

    static FILE_IDENTITY Identity(const char* path) {
        FILE_IDENTITY identity;
        EXPECT_TRUE(GetFileIdentityA(path, &identity)) << path;
        return identity;
    }

    win32::testing::TemporaryDrives m_drives{{'C', DRIVE_FIXED}};
};

TEST_F(FileIdentityTest, EveryPathAndLinkToAFolderGivesItsOneIdentity) {
    const FILE_IDENTITY tree = Identity("C:\\tree");
    EXPECT_EQ(Identity("C:\\TREE\\again"), tree);
    EXPECT_EQ(Identity("C:\\tree\\again\\again\\"), tree);
    EXPECT_EQ(Identity("C:\\tree\\sub\\up"), tree);
    EXPECT_EQ(Identity("c:/tree/sub/.."), tree);
    EXPECT_NE(Identity("C:\\tree\\sub"), tree);
    EXPECT_NE(Identity("C:\\other"), tree);
    EXPECT_NE(Identity("C:\\tree\\file.txt"), tree);
    EXPECT_NE(Identity("C:"), tree);
    EXPECT_EQ(Identity("C:\\"), Identity("C:"));
}

TEST_F(FileIdentityTest, NothingThereOrOutsideTheDriveHasNoIdentity) {
    struct Case {
        const char* path;
        DWORD error;
    };
    for (const Case& c :
         {Case{"C:\\tree\\missing", ERROR_FILE_NOT_FOUND}, Case{"C:\\missing\\sub", ERROR_PATH_NOT_FOUND},
          Case{"C:\\tree\\out", ERROR_FILE_NOT_FOUND}, Case{"Q:\\tree", ERROR_PATH_NOT_FOUND},
          Case{"C:\\tree\\bad|name", ERROR_INVALID_NAME}}) {
        FILE_IDENTITY identity;
        EXPECT_FALSE(GetFileIdentityA(c.path, &identity)) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
    EXPECT_FALSE(GetFileIdentityA("C:\\tree", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
