#include "platform/win32/files/Volume.h"

#include "platform/testing/Drives.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/statvfs.h>

namespace {

using namespace win32;
namespace fs = std::filesystem;

class VolumeTest : public ::testing::Test {
protected:
    win32::testing::TemporaryDrives m_drives{
        {'C', DRIVE_FIXED, "SYSTEM"}, {'D', DRIVE_CDROM, "DISC1"}, {'E', DRIVE_REMOVABLE}};
};

TEST_F(VolumeTest, LogicalDriveStringsListTheTableInLetterOrder) {
    char buffer[64];
    DWORD length = GetLogicalDriveStringsA(sizeof(buffer), buffer);
    ASSERT_EQ(length, 12u);
    EXPECT_EQ(std::string(buffer, length + 1), std::string("C:\\\0D:\\\0E:\\\0\0", 13));

    char small[12];
    std::fill(std::begin(small), std::end(small), 'x');
    EXPECT_EQ(GetLogicalDriveStringsA(sizeof(small), small), 13u);
    EXPECT_EQ(small[0], 'x');
}

TEST_F(VolumeTest, AMachineWithoutDrivesListsNone) {
    win32::testing::ScopedDriveTable empty{DriveTable{}};
    char buffer[8] = {'x'};
    EXPECT_EQ(GetLogicalDriveStringsA(sizeof(buffer), buffer), 0u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(GetDriveTypeA("C:\\"), DRIVE_NO_ROOT_DIR);
}

TEST_F(VolumeTest, DriveTypesOfRoots) {
    struct Case {
        const char* root;
        UINT type;
    } cases[] = {
        {"C:\\", DRIVE_FIXED},    {"d:\\", DRIVE_CDROM},        {"E:", DRIVE_REMOVABLE},
        {"D:/", DRIVE_CDROM},     {"F:\\", DRIVE_NO_ROOT_DIR},  {"C:\\dir\\", DRIVE_NO_ROOT_DIR},
        {"C", DRIVE_NO_ROOT_DIR}, {nullptr, DRIVE_NO_ROOT_DIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root == nullptr ? "null" : c.root);
        EXPECT_EQ(GetDriveTypeA(c.root), c.type);
    }
    // A CD-ROM drive without a medium is still a CD-ROM drive.
    fs::remove(m_drives.Folder('D'));
    EXPECT_EQ(GetDriveTypeA("D:\\"), DRIVE_CDROM);
}

TEST_F(VolumeTest, FreeSpaceComesFromTheHostFileSystem) {
    struct statvfs host {};
    ASSERT_EQ(::statvfs(m_drives.Folder('C').c_str(), &host), 0);
    DiskFreeSpace expected = DiskFreeSpaceOf(host.f_frsize, 512, host.f_blocks, host.f_bavail);
    DWORD sectors = 0, bytes = 0, free = 0, total = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", &sectors, &bytes, &free, &total));
    EXPECT_EQ(sectors, expected.sectorsPerCluster);
    EXPECT_EQ(bytes, expected.bytesPerSector);
    EXPECT_EQ(total, expected.totalNumberOfClusters);
    EXPECT_LE(free, total);

    ASSERT_TRUE(GetDiskFreeSpaceA("D:\\", &sectors, &bytes, nullptr, nullptr));
    EXPECT_EQ(bytes, DiskFreeSpaceOf(host.f_frsize, 2048, 1, 1).bytesPerSector);
}

TEST(DiskFreeSpaceTest, LargeFileSystemsScaleTheClusterSoTheCountsFit) {
    struct Case {
        std::uint64_t fragment, sector, total, free;
        DiskFreeSpace expected;
    } cases[] = {
        {4096, 512, 1000, 10, {8, 512, 10, 1000}},
        {4096, 2048, 1000, 10, {2, 2048, 10, 1000}},
        {1024, 2048, 1000, 10, {1, 1024, 10, 1000}}, // a fragment smaller than a sector is one sector
        {4096, 512, 1ull << 32, 1ull << 31, {16, 512, 1u << 30, 1u << 31}},   // 16 TiB
        {4096, 512, 1ull << 40, 5, {4096, 512, 0, 1u << 31}},                 // 4 PiB
        {4096, 512, ~0ull, ~0ull, {1u << 22, 512, 0xFFFFFFFFu, 0xFFFFFFFFu}}, // beyond any count: clamped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        DiskFreeSpace space = DiskFreeSpaceOf(c.fragment, c.sector, c.total, c.free);
        EXPECT_EQ(space.sectorsPerCluster, c.expected.sectorsPerCluster);
        EXPECT_EQ(space.bytesPerSector, c.expected.bytesPerSector);
        EXPECT_EQ(space.numberOfFreeClusters, c.expected.numberOfFreeClusters);
        EXPECT_EQ(space.totalNumberOfClusters, c.expected.totalNumberOfClusters);
        // The products stay within a factor of two of the file system's real size.
        std::uint64_t bytes =
            std::uint64_t{space.sectorsPerCluster} * space.bytesPerSector * space.totalNumberOfClusters;
        if (c.total < (1ull << 50)) {
            EXPECT_LE(bytes, c.fragment * c.total);
            EXPECT_GT(bytes * 2, c.fragment * c.total);
        }
    }
}

TEST_F(VolumeTest, FreeSpaceFailures) {
    DWORD sectors = 0, bytes = 0, free = 0, total = 0;
    EXPECT_FALSE(GetDiskFreeSpaceA("Q:\\", &sectors, &bytes, &free, &total));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(GetDiskFreeSpaceA(nullptr, &sectors, &bytes, &free, &total));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    fs::remove(m_drives.Folder('E'));
    EXPECT_FALSE(GetDiskFreeSpaceA("E:\\", &sectors, &bytes, &free, &total));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
}

TEST_F(VolumeTest, VolumeInformationGivesTheTableLabelAndAStableSerial) {
    char label[32];
    char fileSystem[16];
    DWORD serial = 0, component = 0, flags = 0;
    ASSERT_TRUE(GetVolumeInformationA("D:\\", label, sizeof(label), &serial, &component, &flags, fileSystem,
                                      sizeof(fileSystem)));
    EXPECT_STREQ(label, "DISC1");
    EXPECT_STREQ(fileSystem, "CDFS");
    EXPECT_NE(flags & FILE_READ_ONLY_VOLUME, 0u);
    EXPECT_EQ(component, 255u);

    DWORD again = 0;
    ASSERT_TRUE(GetVolumeInformationA("C:\\", label, sizeof(label), &again, nullptr, &flags, nullptr, 0));
    EXPECT_STREQ(label, "SYSTEM");
    EXPECT_EQ(flags & FILE_READ_ONLY_VOLUME, 0u);
    // Both drives lie on one host file system, which has one id.
    EXPECT_EQ(again, serial);

    ASSERT_TRUE(GetVolumeInformationA("E:\\", label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_STREQ(label, "");
}

TEST_F(VolumeTest, VolumeInformationFailures) {
    char small[3];
    EXPECT_FALSE(GetVolumeInformationA("D:\\", small, sizeof(small), nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_FALSE(GetVolumeInformationA("R:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    fs::remove(m_drives.Folder('D'));
    EXPECT_FALSE(GetVolumeInformationA("D:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
}

TEST_F(VolumeTest, SetVolumeLabelFailsAndChangesNothing) {
    EXPECT_FALSE(SetVolumeLabelA("C:\\", "NEW"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(SetVolumeLabelA("Q:\\", "NEW"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    char label[32];
    ASSERT_TRUE(GetVolumeInformationA("C:\\", label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_STREQ(label, "SYSTEM");
}

} // namespace
