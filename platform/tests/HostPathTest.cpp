#include "platform/win32/files/HostPath.h"

#include "platform/testing/CodePage.h"
#include "platform/testing/Drives.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace win32;
namespace fs = std::filesystem;

class HostPathTest : public ::testing::Test {
protected:
    win32::testing::TemporaryDrives m_drives{{'C', DRIVE_FIXED}, {'D', DRIVE_CDROM}};

    void Touch(const std::string& relative) { std::ofstream(m_drives.HostPath('C', relative)) << relative; }

    std::string Resolve(const char* path) {
        HostPath host;
        if (!ResolveHostPath(path, host)) {
            return "error " + std::to_string(GetLastError());
        }
        return host.Full() + (host.exists ? "" : " (new)");
    }
};

TEST_F(HostPathTest, ParsesDrivesComponentsAndDotsAsText) {
    WindowsPath path;
    ASSERT_TRUE(ParseWindowsPath("c:\\Titles/./Demo\\..\\Demo2\\\\file.ini", path));
    EXPECT_EQ(path.kind, PathKind::Drive);
    EXPECT_EQ(path.drive, 'C');
    EXPECT_EQ(path.components, (std::vector<std::string>{"Titles", "Demo2", "file.ini"}));
    EXPECT_FALSE(path.endsWithSeparator);

    ASSERT_TRUE(ParseWindowsPath("C:\\..\\..\\x\\", path));
    EXPECT_EQ(path.components, std::vector<std::string>{"x"});
    EXPECT_TRUE(path.endsWithSeparator);

    ASSERT_TRUE(ParseWindowsPath("D:", path));
    EXPECT_TRUE(path.components.empty());
}

TEST_F(HostPathTest, DeviceNames) {
    WindowsPath path;
    ASSERT_TRUE(ParseWindowsPath("\\\\.\\d:", path));
    EXPECT_EQ(path.kind, PathKind::VolumeDevice);
    EXPECT_EQ(path.drive, 'D');
    ASSERT_TRUE(ParseWindowsPath("//./VWIN32", path));
    EXPECT_EQ(path.kind, PathKind::VWin32Device);
    EXPECT_FALSE(ParseWindowsPath("\\\\.\\PhysicalDrive0", path));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(ParseWindowsPath("\\\\server\\share\\file", path));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(HostPathTest, ExactSpellingFirstThenTheFirstCaseVariantInByteOrder) {
    fs::create_directory(m_drives.HostPath('C', "Data"));
    Touch("Data/readme.TXT");
    Touch("Data/README.txt");
    Touch("Data/ReadMe.txt");
    const std::string data = m_drives.HostPath('C', "Data/");
    EXPECT_EQ(Resolve("C:\\DATA\\ReadMe.txt"), data + "ReadMe.txt");
    EXPECT_EQ(Resolve("C:\\data\\readme.txt"), data + "README.txt");
    EXPECT_EQ(Resolve("C:\\data\\new.txt"), data + "new.txt (new)");
    EXPECT_EQ(Resolve("C:\\"), m_drives.Folder('C'));
}

TEST_F(HostPathTest, FailuresOfTheFolders) {
    Touch("file");
    EXPECT_EQ(Resolve("C:\\missing\\x"), "error " + std::to_string(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Resolve("C:\\file\\x"), "error " + std::to_string(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Resolve("M:\\x"), "error " + std::to_string(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Resolve("x"), "error " + std::to_string(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Resolve("C:\\a<b"), "error " + std::to_string(ERROR_INVALID_NAME));
    EXPECT_EQ(Resolve("C:\\a\x01"), "error " + std::to_string(ERROR_INVALID_NAME));
    EXPECT_EQ(Resolve("\\\\.\\C:"), "error " + std::to_string(ERROR_INVALID_NAME));
    fs::remove(m_drives.Folder('D'));
    EXPECT_EQ(Resolve("D:\\x"), "error " + std::to_string(ERROR_NOT_READY));
}

TEST_F(HostPathTest, DoubleByteTrailBytesAreNeverSeparatorsOrLetters) {
    win32::testing::ScopedCodePage shiftJis(932);
    // "\x95\x5C" is one character whose trail byte is '\'; "\x83\x61" one whose trail byte is 'a'.
    const std::string folder = "\x95\x5C";
    const std::string hostFolder = m_drives.Folder('C') + "/" + folder;
    fs::create_directory(hostFolder);
    std::ofstream(hostFolder + "/\x83\x61.txt") << "x";
    WindowsPath path;
    ASSERT_TRUE(ParseWindowsPath(("C:\\" + folder + "\\\x83\x61.txt").c_str(), path));
    EXPECT_EQ(path.components, (std::vector<std::string>{folder, "\x83\x61.txt"}));
    HostPath host;
    ASSERT_TRUE(ResolveHostPath(("C:\\" + folder + "\\\x83\x61.TXT").c_str(), host));
    EXPECT_TRUE(host.exists);
    ASSERT_TRUE(ResolveHostPath(("C:\\" + folder + "\\\x83\x41.txt").c_str(), host));
    EXPECT_FALSE(host.exists);
}

TEST_F(HostPathTest, WindowsPathOfAHostPath) {
    EXPECT_EQ(WindowsPathFromHost(m_drives.HostPath('C', "a/b.txt")), "C:\\a\\b.txt");
    EXPECT_EQ(WindowsPathFromHost(m_drives.Folder('D')), "D:\\");
    EXPECT_EQ(WindowsPathFromHost(m_drives.Folder('D') + "/x/../y"), "D:\\y");
    EXPECT_EQ(WindowsPathFromHost(m_drives.Base()), "");
    EXPECT_EQ(WindowsPathFromHost("relative"), "");
    DriveTable table;
    table.Add({'C', "/", DRIVE_FIXED, {}, {}});
    table.Add({'D', "/media/cd", DRIVE_CDROM, {}, {}});
    win32::testing::ScopedDriveTable scoped(std::move(table));
    EXPECT_EQ(WindowsPathFromHost("/media/cd/x"), "D:\\x");
    EXPECT_EQ(WindowsPathFromHost("/media/cdx"), "C:\\media\\cdx");
    EXPECT_EQ(WindowsPathFromHost("/"), "C:\\");
}

} // namespace
