#include "platform/win32/files/DriveTable.h"

#include <gtest/gtest.h>

namespace {

using namespace win32;

TEST(DriveTableTest, ParsesEntriesWithTheirOptions) {
    std::vector<std::string> errors;
    DriveTable table = DriveTable::Parse(
        "d=/media/cdrom:cdrom:label=DISC 1:device=/dev/sr0; C=/:fixed ;E=/mnt/usb:removable;"
        "F=/net:remote;G=/dev/shm:ramdisk:device=/dev/ram0:label=RAM;",
        &errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(table.Entries().size(), 5u);
    std::string letters;
    for (const DriveEntry& entry : table.Entries()) {
        letters += entry.letter;
    }
    EXPECT_EQ(letters, "CDEFG");
    const DriveEntry* cd = table.Find('d');
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->hostFolder, "/media/cdrom");
    EXPECT_EQ(cd->type, DRIVE_CDROM);
    EXPECT_EQ(cd->label, "DISC 1");
    EXPECT_EQ(cd->device, "/dev/sr0");
    EXPECT_EQ(table.Find('C')->type, DRIVE_FIXED);
    EXPECT_EQ(table.Find('C')->label, "");
    EXPECT_EQ(table.Find('C')->device, "");
    EXPECT_EQ(table.Find('E')->type, DRIVE_REMOVABLE);
    EXPECT_EQ(table.Find('F')->type, DRIVE_REMOTE);
    EXPECT_EQ(table.Find('G')->type, DRIVE_RAMDISK);
    EXPECT_EQ(table.Find('G')->label, "RAM");
    EXPECT_EQ(table.Find('H'), nullptr);
}

TEST(DriveTableTest, LeavesOutBadEntriesAndKeepsTheRest) {
    const char* bad[] = {
        "CD=/x:fixed",                // not one letter
        "1=/x:fixed",                 // not a letter
        "H/x:fixed",                  // no '='
        "H=/x",                       // no type
        "H=x:fixed",                  // relative folder
        "H=:fixed",                   // no folder
        "H=/x:floppy",                // unknown type
        "H=/x:fixed:colour=red",      // unknown option
        "H=/x:fixed:label=A:label=B", // repeated option
        "H=/x:cdrom:device=dev/sr0",  // relative device
        "C=/other:fixed",             // letter given already
    };
    for (const char* entry : bad) {
        SCOPED_TRACE(entry);
        std::vector<std::string> errors;
        DriveTable table = DriveTable::Parse(std::string("C=/:fixed;") + entry + ";K=/k:fixed", &errors);
        EXPECT_EQ(errors.size(), 1u);
        ASSERT_EQ(table.Entries().size(), 2u);
        EXPECT_EQ(table.Find('C')->hostFolder, "/");
        EXPECT_NE(table.Find('K'), nullptr);
    }
}

TEST(DriveTableTest, AnEmptyTextGivesNoDrives) {
    std::vector<std::string> errors;
    EXPECT_TRUE(DriveTable::Parse("", &errors).Entries().empty());
    EXPECT_TRUE(DriveTable::Parse(" ; ;", &errors).Entries().empty());
    EXPECT_TRUE(errors.empty());
}

TEST(DriveTableTest, DefaultTableFromTheMounts) {
    const char* mounts = "/dev/vda / ext4 rw 0 0\n"
                         "/dev/sr0 /media/cd\\040one iso9660 ro 0 0\n"
                         "tmpfs /tmp tmpfs rw 0 0\n"
                         "/dev/sr1 /media/dvd udf ro 0 0\n"
                         "/dev/sr1 /media/dvd udf ro 0 0\n"
                         "/image.iso /media/image iso9660 ro,loop 0 0\n"
                         "/dev/sr2 relative/place iso9660 ro 0 0\n"
                         "/dev/sr3 /media/zero\\000byte udf ro 0 0\n"
                         "/dev/loop7 /media/other\\040image iso9660 ro 0 0\n"
                         "garbage\n";
    DriveTable table = DriveTable::FromMounts(mounts);
    ASSERT_EQ(table.Entries().size(), 5u);
    EXPECT_EQ(table.Find('C')->hostFolder, "/");
    EXPECT_EQ(table.Find('C')->type, DRIVE_FIXED);
    EXPECT_EQ(table.Find('D')->hostFolder, "/media/cd one");
    EXPECT_EQ(table.Find('D')->type, DRIVE_CDROM);
    EXPECT_EQ(table.Find('D')->device, "/dev/sr0");
    EXPECT_EQ(table.Find('E')->hostFolder, "/media/dvd");
    EXPECT_EQ(table.Find('F')->hostFolder, "/media/image");
    // A disc image has no door to lock, whether it is named as a file or through its loop device.
    EXPECT_EQ(table.Find('F')->device, "");
    EXPECT_EQ(table.Find('G')->hostFolder, "/media/other image");
    EXPECT_EQ(table.Find('G')->type, DRIVE_CDROM);
    EXPECT_EQ(table.Find('G')->device, "");
    EXPECT_EQ(DriveTable::FromMounts("").Entries().size(), 1u);
}

TEST(DriveTableTest, AddKeepsOneEntryPerLetterInOrder) {
    DriveTable table;
    EXPECT_TRUE(table.Add({'e', "/e", DRIVE_FIXED, {}, {}}));
    EXPECT_TRUE(table.Add({'C', "/c", DRIVE_FIXED, {}, {}}));
    EXPECT_FALSE(table.Add({'E', "/other", DRIVE_FIXED, {}, {}}));
    EXPECT_FALSE(table.Add({'?', "/q", DRIVE_FIXED, {}, {}}));
    ASSERT_EQ(table.Entries().size(), 2u);
    EXPECT_EQ(table.Entries()[0].letter, 'C');
    EXPECT_EQ(table.Entries()[1].hostFolder, "/e");
}

} // namespace
