#include "platform/win32/files/DeviceIoControl.h"

#include "platform/testing/Drives.h"
#include "platform/testing/MediaRecorder.h"
#include "platform/testing/WindowsVersion.h"
#include "platform/win32/HandleTable.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

namespace {

using namespace win32;
using win32::testing::MediaRecorder;

class DeviceIoControlTest : public ::testing::Test {
protected:
    // E: and H: are folders given as drives of removable media, I: a fixed drive, none of them with a device.
    win32::testing::TemporaryDrives m_drives{{'C', DRIVE_FIXED, "", true}, {'D', DRIVE_CDROM, "DISC", true},
                                             {'E', DRIVE_REMOVABLE},       {'F', DRIVE_CDROM, "", true},
                                             {'H', DRIVE_CDROM},           {'I', DRIVE_FIXED}};

    static HANDLE OpenVolume(const char* name) {
        return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    }

    static BOOL Send(HANDLE device, DWORD code, BYTE prevent = 0) {
        PREVENT_MEDIA_REMOVAL removal{prevent};
        DWORD returned = 99;
        BOOL result =
            code == IOCTL_STORAGE_MEDIA_REMOVAL
                ? DeviceIoControl(device, code, &removal, sizeof(removal), nullptr, 0, &returned, nullptr)
                : DeviceIoControl(device, code, nullptr, 0, nullptr, 0, &returned, nullptr);
        EXPECT_EQ(returned, 0u);
        return result;
    }
};

class NtDeviceTest : public DeviceIoControlTest {
protected:
    platform::testing::WindowsVersionOverride m_family{seam::WindowsFamily::NT};
};

class VWin32Test : public DeviceIoControlTest {
protected:
    platform::testing::WindowsVersionOverride m_family{seam::WindowsFamily::Windows9x};

    HANDLE m_vwin32 = CreateFileA("\\\\.\\vwin32", 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);

    void TearDown() override { CloseHandle(m_vwin32); }

    struct Result {
        bool carry;
        WORD ax;
        BYTE count;
    };

    // One block-device call as the 9x engine makes it; count is the parameter block's second byte after it.
    Result Call(WORD function, BYTE drive, BYTE operation = 0) {
        BYTE parameters[2] = {operation, 0};
        DIOC_REGISTERS in{};
        in.reg_EAX = 0x440D;
        in.reg_EBX = drive;
        in.reg_ECX = function;
        in.reg_EDX = function == kDosLockMedia ? reinterpret_cast<DWORD_PTR>(parameters) : 0;
        DIOC_REGISTERS out{};
        DWORD returned = 0;
        EXPECT_TRUE(DeviceIoControl(m_vwin32, VWIN32_DIOC_DOS_IOCTL, &in, sizeof(in), &out, sizeof(out),
                                    &returned, nullptr));
        EXPECT_EQ(returned, sizeof(DIOC_REGISTERS));
        return {(out.reg_Flags & kCarryFlag) != 0, LOWORD(out.reg_EAX), parameters[1]};
    }
};

TEST_F(NtDeviceTest, ADeviceThatIsNoCdRomDriveRefusesTheDoorAndEjectRequests) {
    HANDLE device = OpenVolume("\\\\.\\D:");
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Send(device, IOCTL_STORAGE_MEDIA_REMOVAL, 1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
    EXPECT_FALSE(Send(device, IOCTL_STORAGE_EJECT_MEDIA));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
    EXPECT_TRUE(CloseHandle(device));
}

TEST_F(NtDeviceTest, DrivesWithoutADeviceHaveNoneToOpen) {
    std::remove(m_drives.Device('F').c_str());
    for (const char* name : {"\\\\.\\I:", "\\\\.\\Q:", "\\\\.\\F:", "\\\\.\\vwin32"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(OpenVolume(name), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    }
}

TEST_F(NtDeviceTest, AFolderGivenAsADriveOfRemovableMediaHasNoDoor) {
    MediaRecorder media;
    for (const char* name : {"\\\\.\\H:", "\\\\.\\E:"}) {
        SCOPED_TRACE(name);
        HANDLE device = OpenVolume(name);
        ASSERT_NE(device, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(Send(device, IOCTL_STORAGE_MEDIA_REMOVAL, 1));
        EXPECT_TRUE(Send(device, IOCTL_STORAGE_MEDIA_REMOVAL, 0));
        EXPECT_TRUE(Send(device, FSCTL_LOCK_VOLUME));
        EXPECT_FALSE(Send(device, IOCTL_STORAGE_EJECT_MEDIA));
        EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
        EXPECT_TRUE(CloseHandle(device));
    }
    EXPECT_TRUE(media.Requests().empty());
}

TEST_F(NtDeviceTest, TheEjectSequenceReachesTheDrivesDevice) {
    MediaRecorder media;
    HANDLE device = OpenVolume("\\\\.\\d:");
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Send(device, IOCTL_STORAGE_MEDIA_REMOVAL, 1));
    EXPECT_TRUE(Send(device, FSCTL_LOCK_VOLUME));
    EXPECT_TRUE(Send(device, FSCTL_DISMOUNT_VOLUME));
    EXPECT_TRUE(Send(device, IOCTL_STORAGE_MEDIA_REMOVAL, 0));
    EXPECT_TRUE(Send(device, IOCTL_STORAGE_EJECT_MEDIA));
    EXPECT_TRUE(Send(device, FSCTL_UNLOCK_VOLUME));
    CloseHandle(device);
    std::vector<MediaRecorder::Request> requests = media.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].request, MediaRequest::LockDoor);
    EXPECT_EQ(requests[1].request, MediaRequest::UnlockDoor);
    EXPECT_EQ(requests[2].request, MediaRequest::Eject);
    for (const MediaRecorder::Request& request : requests) {
        EXPECT_EQ(request.device, m_drives.Device('D'));
    }
}

TEST_F(NtDeviceTest, ARefusedRequestReportsTheHostError) {
    MediaRecorder media;
    media.FailWith(EIO);
    HANDLE device = OpenVolume("\\\\.\\D:");
    EXPECT_FALSE(Send(device, IOCTL_STORAGE_EJECT_MEDIA));
    EXPECT_EQ(GetLastError(), ErrorFromErrno(EIO));
    CloseHandle(device);
}

TEST_F(NtDeviceTest, LockingTheVolumeNeedsItToHaveNoOtherOpenHandle) {
    std::ofstream(m_drives.HostPath('D', "disc.dat")) << "x";
    std::ofstream(m_drives.HostPath('C', "other.dat")) << "x";
    HANDLE device = OpenVolume("\\\\.\\D:");
    ASSERT_NE(device, INVALID_HANDLE_VALUE);

    HANDLE onOtherDrive = CreateFileA("C:\\other.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(Send(device, FSCTL_LOCK_VOLUME));
    EXPECT_TRUE(Send(device, FSCTL_UNLOCK_VOLUME));
    CloseHandle(onOtherDrive);

    HANDLE file =
        CreateFileA("D:\\disc.dat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Send(device, FSCTL_LOCK_VOLUME));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    CloseHandle(file);

    HANDLE second = OpenVolume("\\\\.\\D:");
    EXPECT_FALSE(Send(device, FSCTL_LOCK_VOLUME));
    CloseHandle(second);
    EXPECT_TRUE(Send(device, FSCTL_LOCK_VOLUME));
    CloseHandle(device);
}

TEST_F(NtDeviceTest, RequestsThatDoNotFit) {
    HANDLE device = OpenVolume("\\\\.\\D:");
    DWORD returned = 0;
    EXPECT_FALSE(DeviceIoControl(device, 0x00123456, nullptr, 0, nullptr, 0, &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
    EXPECT_FALSE(
        DeviceIoControl(device, IOCTL_STORAGE_MEDIA_REMOVAL, nullptr, 0, nullptr, 0, &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    OVERLAPPED overlapped{};
    EXPECT_FALSE(DeviceIoControl(device, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &returned, &overlapped));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    char buffer[4];
    EXPECT_FALSE(ReadFile(device, buffer, sizeof(buffer), &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    CloseHandle(device);

    std::ofstream(m_drives.HostPath('C', "file.dat")) << "x";
    HANDLE file = CreateFileA("C:\\file.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(DeviceIoControl(file, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
    CloseHandle(file);
    EXPECT_FALSE(DeviceIoControl(file, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(VWin32Test, OnlyThe9xMachineHasTheService) {
    ASSERT_NE(m_vwin32, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenVolume("\\\\.\\D:"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(VWin32Test, LockCountsUpAndEachUnlockCountsDown) {
    MediaRecorder media;
    const BYTE d = 4;
    EXPECT_EQ(Call(kDosLockMedia, d, 0).count, 1);
    EXPECT_EQ(Call(kDosLockMedia, d, 0).count, 2);
    Result query = Call(kDosLockMedia, d, 2);
    EXPECT_FALSE(query.carry);
    EXPECT_EQ(query.count, 2);
    // The unlock loop of the 9x engine: it ends when the count the driver returns reaches 0.
    int unlocks = 0;
    for (Result r = query; !r.carry && r.count > 0; ++unlocks) {
        r = Call(kDosLockMedia, d, 1);
        EXPECT_FALSE(r.carry);
    }
    EXPECT_EQ(unlocks, 2);
    Result extra = Call(kDosLockMedia, d, 1);
    EXPECT_TRUE(extra.carry);
    EXPECT_EQ(extra.ax, kDosErrorNotLocked);
    EXPECT_EQ(extra.count, 0);
    // The door itself is locked once and unlocked once.
    std::vector<MediaRecorder::Request> requests = media.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].request, MediaRequest::LockDoor);
    EXPECT_EQ(requests[1].request, MediaRequest::UnlockDoor);
    EXPECT_EQ(requests[0].device, m_drives.Device('D'));
}

TEST_F(VWin32Test, EjectWaitsForTheLastUnlock) {
    MediaRecorder media;
    Call(kDosLockMedia, 4, 0);
    Result locked = Call(kDosEjectMedia, 4);
    EXPECT_TRUE(locked.carry);
    EXPECT_EQ(locked.ax, kDosErrorLocked);
    Call(kDosLockMedia, 4, 1);
    EXPECT_FALSE(Call(kDosEjectMedia, 4).carry);
    EXPECT_EQ(media.Requests().back().request, MediaRequest::Eject);
}

TEST_F(VWin32Test, DrivesThatCannotTakeTheCallSetTheCarry) {
    struct Case {
        WORD function;
        BYTE drive;
        WORD error;
    } cases[] = {
        {kDosEjectMedia, 5, kDosErrorNotReady},    // E: has no device
        {kDosLockMedia, 9, kDosErrorNotRemovable}, // I: is fixed
        {kDosLockMedia, 3, kDosErrorNotRemovable}, // C: is fixed
        {kDosLockMedia, 7, kDosErrorInvalidDrive}, // no G:
        {kDosLockMedia, 0, kDosErrorInvalidDrive},    {0x0860, 4, kDosErrorInvalidFunction},
        {kDosLockMedia, 4, kDosErrorGeneralFailure}, // D:'s device is no CD-ROM drive
        {kDosEjectMedia, 4, kDosErrorGeneralFailure},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.function << " on " << int{c.drive});
        Result r = Call(c.function, c.drive, 0);
        EXPECT_TRUE(r.carry);
        EXPECT_EQ(r.ax, c.error);
        EXPECT_EQ(r.count, 0);
    }
}

TEST_F(VWin32Test, ADriveWithoutADeviceKeepsItsLockCountAndTouchesNoDoor) {
    MediaRecorder media;
    const BYTE h = 8;
    EXPECT_EQ(Call(kDosLockMedia, h, 0).count, 1);
    Result locked = Call(kDosEjectMedia, h);
    EXPECT_TRUE(locked.carry);
    EXPECT_EQ(locked.ax, kDosErrorLocked);
    Result unlocked = Call(kDosLockMedia, h, 1);
    EXPECT_FALSE(unlocked.carry);
    EXPECT_EQ(unlocked.count, 0);
    Result eject = Call(kDosEjectMedia, h);
    EXPECT_TRUE(eject.carry);
    EXPECT_EQ(eject.ax, kDosErrorNotReady);
    EXPECT_TRUE(media.Requests().empty());
}

TEST_F(VWin32Test, TheRegisterBlockMustFit) {
    DIOC_REGISTERS registers{};
    registers.reg_EAX = 0x440D;
    DWORD returned = 0;
    EXPECT_FALSE(
        DeviceIoControl(m_vwin32, VWIN32_DIOC_DOS_IOCTL, &registers, 28, &registers, 28, &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(DeviceIoControl(m_vwin32, 2, &registers, sizeof(registers), &registers, sizeof(registers),
                                 &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
}

} // namespace
