#include "resources/storage/win32/Win32StorageEngine.h"
#include "platform/testing/Clock.h"
#include "platform/testing/Drives.h"
#include "platform/testing/MediaRecorder.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/Path.h"
#include "resources/storage/Volume.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using namespace Vemo;
using namespace VemoTest;
using win32::testing::MediaRecorder;
using win32::testing::TemporaryDrives;

win32::DriveTable TableOf(std::initializer_list<std::pair<char, win32::UINT>> drives) {
    win32::DriveTable table;
    for (const auto& [letter, type] : drives) {
        table.Add(win32::DriveEntry{letter, "/nonexistent-drive", type, {}, {}});
    }
    return table;
}

std::vector<win32::MediaRequest> RequestsOf(const MediaRecorder& recorder) {
    std::vector<win32::MediaRequest> requests;
    for (const MediaRecorder::Request& request : recorder.Requests()) {
        requests.push_back(request.request);
    }
    return requests;
}

TEST(Win32StorageEngineNames, AVolumeNameIsKindLettersDAndANumberAlone) {
    StorageApplication application;
    Win32StorageEngine* engine = application.Win32();
    const std::pair<const char*, bool> cases[] = {
        {"HD0", true},  {"CD1", true},     {"FD0", true},      {"RD0", true},   {"HD12", true},
        {"CCD0", true}, {"HD65535", true}, {"HD65536", false}, {"CD", false},   {"CD0x", false},
        {"cd0", false}, {"HD 0", false},   {"HD+1", false},    {"HD-1", false}, {"DD0", false},
        {"D0", false},  {"", false},       {"HDD0", false},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(engine->IsVolumeName(String(name)), expected) << name;
    }
}

TEST(Win32StorageEngineNames, TheNineReservedCharactersMakeANameInvalid) {
    StorageApplication application;
    Win32StorageEngine* engine = application.Win32();
    EXPECT_TRUE(engine->IsValidName(String("")));
    EXPECT_TRUE(engine->IsValidName(String("readme.txt")));
    for (const char* name : {"a\\b", "a/b", "a:b", "a*", "a?", "a\"b", "a<b", "a>b", "a|b"}) {
        EXPECT_FALSE(engine->IsValidName(String(name))) << name;
        EXPECT_FALSE(Win32StorageEngine::IsEntryName(String(name))) << name;
    }
    // The dot names are valid, but stand for the folder itself and its parent, not for an entry.
    for (const char* name : {".", ".."}) {
        EXPECT_TRUE(engine->IsValidName(String(name))) << name;
        EXPECT_FALSE(Win32StorageEngine::IsEntryName(String(name))) << name;
    }
    for (const char* name : {"readme.txt", "...", ".hidden", "a..b"}) {
        EXPECT_TRUE(Win32StorageEngine::IsEntryName(String(name))) << name;
    }
}

TEST(Win32StorageEngineNames, AFolderOrFileNamedPastItsParentIsNeitherCreatedNorOpened) {
    TemporaryDrives drives({{'C', win32::DRIVE_FIXED}});
    std::filesystem::create_directories(drives.HostPath('C', "work/sub"));
    WriteHostFile(drives.HostPath('C', "victim.txt"), "precious");
    WriteHostFile(drives.HostPath('C', "work/sub/b.txt"), "beta");
    StorageApplication application;
    Path path;
    ASSERT_TRUE(path.Parse(String("HD0:/work/x")));
    const Directory& work = *path.GetDirectory();
    application.TakeReports();
    const AccessStyle readWrite(true, true, false, false);
    for (const char* text : {"..\\victim.txt", "sub\\b.txt", "sub/b.txt", "new\\folder", "..", "."}) {
        const String name(text);
        File file;
        Directory directory;
        EXPECT_FALSE(file.Open(&name, work, &readWrite, true)) << text;
        EXPECT_FALSE(directory.Create(&name, work, true)) << text;
        const Reported refused(
            StorageEngineErrBadName,
            (std::string("\"") + text + "\" is not the name of one entry of C:\\work").c_str());
        const Reports reports = application.TakeReports();
        EXPECT_EQ(std::count(reports.begin(), reports.end(), refused), 2) << text;
    }
    EXPECT_EQ(ReadHostFile(drives.HostPath('C', "victim.txt")), "precious");
    EXPECT_EQ(ReadHostFile(drives.HostPath('C', "work/sub/b.txt")), "beta");
    EXPECT_FALSE(std::filesystem::exists(drives.HostPath('C', "work/new")));
}

TEST(Win32StorageEngineDrives, VolumeNamesCountDrivesOfTheirKindAfterAAndB) {
    win32::testing::ScopedDriveTable drives(TableOf({{'A', win32::DRIVE_REMOVABLE},
                                                     {'B', win32::DRIVE_REMOVABLE},
                                                     {'C', win32::DRIVE_FIXED},
                                                     {'D', win32::DRIVE_CDROM},
                                                     {'E', win32::DRIVE_FIXED},
                                                     {'F', win32::DRIVE_REMOTE},
                                                     {'G', win32::DRIVE_CDROM}}));
    StorageApplication application;
    Win32StorageEngine* engine = application.Win32();
    const std::pair<const char*, const char*> cases[] = {
        {"HD0", "C"}, {"HD1", "E"}, {"HD2", ""},  {"CD0", "D"}, {"CD1", "G"}, {"CD2", ""},
        {"RD0", "F"}, {"RD1", ""},  {"FD0", "A"}, {"FD1", "B"}, {"FD2", ""},  {"XD0", ""},
    };
    for (const auto& [name, drive] : cases) {
        EXPECT_STREQ(engine->DriveOfVolume(String(name)).CStr(), drive) << name;
    }
}

TEST(Win32StorageEngineDrives, FloppyNamesNeedTheirLettersListedFirst) {
    StorageApplication application;
    Win32StorageEngine* engine = application.Win32();
    {
        win32::testing::ScopedDriveTable onlyA(
            TableOf({{'A', win32::DRIVE_REMOVABLE}, {'C', win32::DRIVE_FIXED}}));
        EXPECT_STREQ(engine->DriveOfVolume(String("FD0")).CStr(), "A");
        EXPECT_STREQ(engine->DriveOfVolume(String("FD1")).CStr(), "");
    }
    {
        win32::testing::ScopedDriveTable onlyB(
            TableOf({{'B', win32::DRIVE_REMOVABLE}, {'C', win32::DRIVE_FIXED}}));
        EXPECT_STREQ(engine->DriveOfVolume(String("FD0")).CStr(), "B");
        EXPECT_STREQ(engine->DriveOfVolume(String("HD0")).CStr(), "C");
    }
    {
        win32::testing::ScopedDriveTable none(win32::DriveTable{});
        for (const char* name : {"FD0", "FD1", "HD0", "CD0", "RD0"}) {
            EXPECT_STREQ(engine->DriveOfVolume(String(name)).CStr(), "") << name;
        }
    }
}

TEST(Win32StorageEngineDrives, AVolumeWithoutADriveIsNotOpened) {
    TemporaryDrives drives({{'C', win32::DRIVE_FIXED}, {'D', win32::DRIVE_CDROM}});
    StorageApplication application;
    const String name("CD1");
    Volume volume;
    EXPECT_FALSE(volume.Open(&name, nullptr, false));
    const Reports reports = application.TakeReports();
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports.front(), Reported(StorageEngineErrNoDevice, "CD1"));
    EXPECT_EQ(reports[reports.size() - 2], Reported(ResourceSystemErrOpenFailed));
    EXPECT_EQ(reports.back(), Reported(StorageSystemErrVolumeOpenFailed, "CD1"));
}

class Win32VolumeTest : public ::testing::Test {
protected:
    Win32VolumeTest()
        : m_drives({{'C', win32::DRIVE_FIXED, "SYSTEM"},
                    {'D', win32::DRIVE_CDROM, "DISC1", true},
                    {'E', win32::DRIVE_CDROM, "NODEVICE"},
                    {'F', win32::DRIVE_REMOVABLE, "STICK", true}}) {}

    // Opens the volume and forgets the reports so far.
    void OpenVolume(Volume& volume, const char* name) {
        const String text(name);
        ASSERT_TRUE(volume.Open(&text, nullptr, false)) << name;
        m_application.TakeReports();
    }

    TemporaryDrives m_drives;
    StorageApplication m_application;
    MediaRecorder m_media;
};

TEST_F(Win32VolumeTest, ADriveVolumeIsNamedByTheProgramAndNativelyByItsLetter) {
    Volume hard;
    Volume disc;
    OpenVolume(hard, "HD0");
    OpenVolume(disc, "CD0");
    EXPECT_STREQ(disc.PathText(true, false)->CStr(), "CD0");
    EXPECT_STREQ(disc.PathText(true, true)->CStr(), "D");
    EXPECT_TRUE(disc.IsReadable());
    EXPECT_FALSE(disc.IsWriteable());
    EXPECT_TRUE(hard.IsWriteable());
    EXPECT_TRUE(disc.IsLockable());
    EXPECT_TRUE(disc.IsRemovable());
    EXPECT_FALSE(hard.IsLockable());
    EXPECT_FALSE(hard.IsRemovable());
    EXPECT_EQ(disc.ContainerFile(), nullptr);
}

TEST_F(Win32VolumeTest, SpaceLabelAndSerialComeFromTheDrive) {
    Volume hard;
    OpenVolume(hard, "HD0");
    const std::uint32_t cluster = hard.ClusterSize();
    EXPECT_GT(cluster, 0u);
    EXPECT_GT(hard.Size(), 0u);
    EXPECT_LE(hard.Free(), hard.Size());
    EXPECT_EQ(hard.Size() % cluster, 0u);
    EXPECT_STREQ(hard.Label()->CStr(), "SYSTEM");
    EXPECT_EQ(hard.Serial(), hard.Serial());
    EXPECT_EQ(m_application.TakeReports(), Reports{});

    EXPECT_FALSE(hard.SetLabel(String("OTHER")));
    EXPECT_EQ(hard.ReadAhead(), 0u);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{Win32StorageErrSetVolumeLabel},
                       {ResourceSystemErrNotSupported, "Win32VolumeHandle::ReadAhead"}}));
}

TEST_F(Win32VolumeTest, ADriveWithoutItsMediumReportsEveryQuery) {
    Volume disc;
    OpenVolume(disc, "CD0");
    std::filesystem::remove_all(m_drives.Folder('D'));
    EXPECT_EQ(disc.Size(), 0u);
    EXPECT_EQ(disc.Free(), 0u);
    EXPECT_EQ(disc.ClusterSize(), 0u);
    EXPECT_STREQ(disc.Label()->CStr(), "");
    EXPECT_EQ(disc.Serial(), 0u);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32StorageErrDiskFreeSpace},
                                                    {Win32StorageErrDiskFreeSpace},
                                                    {Win32StorageErrDiskFreeSpace},
                                                    {Win32StorageErrVolumeInformation},
                                                    {Win32StorageErrVolumeInformation}}));
}

TEST_F(Win32VolumeTest, OnlyACdRomDriveIsLockedOrEjectedAndNoDeviceIsTouchedOtherwise) {
    for (bool nt : {true, false}) {
        ScopedWindowsFamily family(nt);
        for (const char* name : {"HD0", "RD0"}) {
            Volume volume;
            OpenVolume(volume, name);
            EXPECT_TRUE(volume.IsWriteable()) << name;
            EXPECT_FALSE(volume.IsRemovable()) << name;
            EXPECT_FALSE(volume.Lock());
            EXPECT_FALSE(volume.Unlock());
            EXPECT_FALSE(volume.Insert());
            EXPECT_FALSE(volume.Remove());
            EXPECT_EQ(m_application.TakeReports(), (Reports{{StorageEngineErrLockFailed},
                                                            {StorageEngineErrLockFailed},
                                                            {StorageEngineErrInsertFailed},
                                                            {StorageEngineErrInsertFailed}}))
                << name;
        }
    }
    EXPECT_TRUE(m_media.Requests().empty());
}

TEST_F(Win32VolumeTest, OnNtTheDoorIsLockedAndTheMediumEjectedThroughTheDrivesDevice) {
    ScopedWindowsFamily nt(true);
    Volume disc;
    OpenVolume(disc, "CD0");
    EXPECT_TRUE(disc.Lock());
    EXPECT_TRUE(disc.Unlock());
    EXPECT_TRUE(disc.Remove());
    EXPECT_FALSE(disc.Insert());
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{ResourceSystemErrNotSupported, "Win32VolumeHandle::Insert - WinNT"}}));
    EXPECT_EQ(RequestsOf(m_media), (std::vector<win32::MediaRequest>{
                                       win32::MediaRequest::LockDoor, win32::MediaRequest::UnlockDoor,
                                       win32::MediaRequest::UnlockDoor, win32::MediaRequest::Eject}));
    for (const MediaRecorder::Request& request : m_media.Requests()) {
        EXPECT_EQ(request.device, m_drives.Device('D'));
    }
}

TEST_F(Win32VolumeTest, OnNtAVolumeInUseIsNotEjected) {
    ScopedWindowsFamily nt(true);
    platform::testing::FakeClock clock;
    WriteHostFile(m_drives.HostPath('D', "track.dat"), "data");
    Path path;
    ASSERT_TRUE(path.Parse(String("CD0:/track.dat")));
    File open;
    ASSERT_TRUE(open.Open(path, nullptr, false));
    Volume disc;
    OpenVolume(disc, "CD0");

    EXPECT_FALSE(disc.Remove());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32StorageErrDeviceControl}}));
    EXPECT_TRUE(m_media.Requests().empty());
}

TEST_F(Win32VolumeTest, OnNtARefusedRequestIsReported) {
    ScopedWindowsFamily nt(true);
    Volume disc;
    OpenVolume(disc, "CD0");
    m_media.FailWith(5);
    EXPECT_FALSE(disc.Lock());
    EXPECT_FALSE(disc.Remove());
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{Win32StorageErrDeviceControl}, {Win32StorageErrDeviceControl}}));
}

// A folder given as a CD-ROM drive has no door: it locks and unlocks without a word or a device request, and
// only an eject, which cannot happen, is reported.
TEST_F(Win32VolumeTest, AFolderGivenAsACdRomDriveLocksAndUnlocksSayingNothing) {
    for (bool nt : {true, false}) {
        SCOPED_TRACE(nt ? "NT" : "9x");
        ScopedWindowsFamily family(nt);
        Volume bare;
        OpenVolume(bare, "CD1");
        EXPECT_TRUE(bare.IsLockable());
        EXPECT_TRUE(bare.Lock());
        EXPECT_TRUE(bare.Unlock());
        EXPECT_EQ(m_application.TakeReports(), Reports{});
        EXPECT_FALSE(bare.Remove());
        EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32StorageErrDeviceControl}}));
    }
    EXPECT_TRUE(m_media.Requests().empty());
}

TEST_F(Win32VolumeTest, On9xTheVWin32ServiceLocksUnlocksUntilFreeAndEjects) {
    ScopedWindowsFamily old(false);
    Volume disc;
    OpenVolume(disc, "CD0");
    EXPECT_TRUE(disc.Lock());
    EXPECT_TRUE(disc.Lock());
    EXPECT_EQ(win32::MediaLockCount('D'), 2);
    EXPECT_TRUE(disc.Unlock());
    EXPECT_EQ(win32::MediaLockCount('D'), 0);
    // A drive that was never locked unlocks as well.
    EXPECT_TRUE(disc.Unlock());
    EXPECT_TRUE(disc.Remove());
    EXPECT_FALSE(disc.Insert());
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{ResourceSystemErrNotSupported, "Win32VolumeHandle::Insert - Win9x"}}));
    EXPECT_EQ(RequestsOf(m_media).back(), win32::MediaRequest::Eject);
}

TEST_F(Win32VolumeTest, On9xALockedDriveIsNotEjected) {
    ScopedWindowsFamily old(false);
    Volume disc;
    OpenVolume(disc, "CD0");
    ASSERT_TRUE(disc.Lock());
    EXPECT_FALSE(disc.Remove());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32StorageErrDeviceControl}}));
    EXPECT_EQ(RequestsOf(m_media), (std::vector<win32::MediaRequest>{win32::MediaRequest::LockDoor}));

    ASSERT_TRUE(disc.Unlock());
    EXPECT_TRUE(disc.Remove());
    EXPECT_EQ(RequestsOf(m_media).back(), win32::MediaRequest::Eject);
}

TEST_F(Win32VolumeTest, TheThoroughMatchIsNotSupported) {
    StorageSearchCriterion criterion(StorageSearchCriterion::kVolume);
    EXPECT_FALSE(m_application.Win32()->MatchSearchCriterionThorough(&criterion));
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{ResourceSystemErrNotSupported, "Win32StorageEngine::MatchSearchCriterionThorough"}}));
}

} // namespace
