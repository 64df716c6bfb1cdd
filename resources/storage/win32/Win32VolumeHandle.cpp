#include "resources/storage/win32/Win32VolumeHandle.h"

#include "platform/win32/Handle.h"
#include "platform/win32/files/DeviceIoControl.h"
#include "platform/win32/files/DriveTable.h"
#include "platform/win32/files/File.h"
#include "platform/win32/kernel/Synchronization.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/hooks/Win32EngineHook.h"
#include "resources/storage/win32/Win32StorageWrappers.h"

#include <cstdint>

namespace Vemo {

namespace {

// The eject sequence tries to lock the volume this often, half a second apart, before it gives up.
constexpr int kLockAttempts = 20;
constexpr win32::DWORD kLockRetryMilliseconds = 500;
// A lock count is one byte: no drive needs more unlocks than this to come free.
constexpr int kMaxUnlocks = 256;

constexpr win32::DWORD kDosBlockDeviceRequest = 0x440D;
constexpr std::uint8_t kLockOperation = 0;
constexpr std::uint8_t kUnlockOperation = 1;
constexpr std::uint8_t kQueryLockOperation = 2;

const char kVWin32DeviceName[] = "\\\\.\\vwin32";
const char kVWin32Text[] = "VWIN32.VXD";

// The parameter block of the DOS lock call: the operation and the lock count that the driver sends back.
struct LockParameters {
    std::uint8_t operation;
    std::uint8_t lockCount;
};

win32::DIOC_REGISTERS DosRequest(std::uint8_t drive, win32::DWORD function, void* parameters) {
    win32::DIOC_REGISTERS registers{};
    registers.reg_EAX = kDosBlockDeviceRequest;
    registers.reg_EBX = drive;
    registers.reg_ECX = function;
    registers.reg_EDX = reinterpret_cast<win32::DWORD_PTR>(parameters);
    return registers;
}

bool CallVWin32(win32::HANDLE driver, win32::DIOC_REGISTERS& in, win32::DIOC_REGISTERS& out) {
    win32::DWORD returned = 0;
    return win32::DeviceIoControl(driver, win32::VWIN32_DIOC_DOS_IOCTL, &in, sizeof(in), &out, sizeof(out),
                                  &returned, nullptr) != 0;
}

win32::HANDLE OpenVolumeDevice(const String& device) {
    return Win32CreateFile(device, win32::GENERIC_READ, win32::FILE_SHARE_READ | win32::FILE_SHARE_WRITE,
                           nullptr, win32::OPEN_EXISTING, 0, nullptr);
}

win32::HANDLE OpenVWin32() {
    return Win32CreateFile(String(kVWin32DeviceName), 0, 0, nullptr, 0, win32::FILE_FLAG_DELETE_ON_CLOSE,
                           nullptr);
}

bool Control(win32::HANDLE device, win32::DWORD code, void* in = nullptr, win32::DWORD inSize = 0) {
    win32::DWORD returned = 0;
    return win32::DeviceIoControl(device, code, in, inSize, nullptr, 0, &returned, nullptr) != 0;
}

} // namespace

Win32VolumeHandle::Win32VolumeHandle(ResourceEngine* engine) : VolumeHandle(engine) {}

Win32VolumeHandle::~Win32VolumeHandle() = default;

String Win32VolumeHandle::RootPath() {
    String root = *PathText(false, true);
    root.Append(":\\");
    return root;
}

std::uint8_t Win32VolumeHandle::DriveNumber() const {
    return static_cast<std::uint8_t>(m_nativeName.CStr()[0] - 0x40);
}

bool Win32VolumeHandle::Lockable() {
    return Win32GetDriveType(RootPath()) == win32::DRIVE_CDROM;
}

bool Win32VolumeHandle::Removable() {
    return Lockable();
}

bool Win32VolumeHandle::Lock() {
    if (!Lockable()) {
        Error().Report(StorageEngineErrLockFailed);
        return false;
    }
    return Win32PlatformIsNT ? LockNT(true) : Lock9x();
}

bool Win32VolumeHandle::Unlock() {
    if (!Lockable()) {
        Error().Report(StorageEngineErrLockFailed);
        return false;
    }
    return Win32PlatformIsNT ? LockNT(false) : Unlock9x();
}

bool Win32VolumeHandle::LockNT(bool lock) {
    String device("\\\\.\\");
    device.Append(m_nativeName).Append(":");
    win32::HANDLE handle = OpenVolumeDevice(device);
    if (handle == win32::INVALID_HANDLE_VALUE) {
        Error().Report(StorageEngineErrOpenFailed, device);
        return false;
    }
    win32::PREVENT_MEDIA_REMOVAL prevent{static_cast<win32::BYTE>(lock ? 1 : 0)};
    const bool done = Control(handle, win32::IOCTL_STORAGE_MEDIA_REMOVAL, &prevent, sizeof(prevent));
    win32::CloseHandle(handle);
    if (!done) {
        Error().Report(Win32StorageErrDeviceControl);
    }
    return done;
}

bool Win32VolumeHandle::Lock9x() {
    win32::HANDLE driver = OpenVWin32();
    if (driver == win32::INVALID_HANDLE_VALUE) {
        Error().Report(StorageEngineErrOpenFailed, String(kVWin32Text));
        return false;
    }
    LockParameters parameters{kLockOperation, 0};
    win32::DIOC_REGISTERS registers = DosRequest(DriveNumber(), win32::kDosLockMedia, &parameters);
    const bool called = CallVWin32(driver, registers, registers);
    win32::CloseHandle(driver);
    if (!called || (registers.reg_Flags & win32::kCarryFlag) != 0) {
        Error().Report(Win32StorageErrDeviceControl);
        return false;
    }
    return true;
}

bool Win32VolumeHandle::Unlock9x() {
    win32::HANDLE driver = OpenVWin32();
    if (driver == win32::INVALID_HANDLE_VALUE) {
        Error().Report(StorageEngineErrOpenFailed, String(kVWin32Text));
        return false;
    }
    LockParameters parameters{kQueryLockOperation, 0};
    win32::DIOC_REGISTERS in = DosRequest(DriveNumber(), win32::kDosLockMedia, &parameters);
    win32::DIOC_REGISTERS out{};
    // A drive that was never locked answers the query with an error that still counts as unlocked.
    bool done = CallVWin32(driver, in, out) &&
                ((out.reg_Flags & win32::kCarryFlag) == 0 || out.reg_EAX == win32::kDosErrorInvalidFunction ||
                 out.reg_EAX == win32::kDosErrorNotLocked);
    parameters.operation = kUnlockOperation;
    for (int unlocks = 0; done && parameters.lockCount > 0 && unlocks < kMaxUnlocks; ++unlocks) {
        out = win32::DIOC_REGISTERS{};
        done = CallVWin32(driver, in, out) && (out.reg_Flags & win32::kCarryFlag) == 0;
    }
    win32::CloseHandle(driver);
    if (!done) {
        Error().Report(Win32StorageErrDeviceControl);
    }
    return done;
}

bool Win32VolumeHandle::Insert() {
    if (!Removable()) {
        Error().Report(StorageEngineErrInsertFailed);
        return false;
    }
    Error().Report(ResourceSystemErrNotSupported,
                   String(Win32PlatformIsNT ? "Win32VolumeHandle::Insert - WinNT"
                                            : "Win32VolumeHandle::Insert - Win9x"));
    return false;
}

bool Win32VolumeHandle::Remove() {
    if (!Removable()) {
        Error().Report(StorageEngineErrInsertFailed);
        return false;
    }
    return Win32PlatformIsNT ? EjectNT() : Eject9x();
}

bool Win32VolumeHandle::EjectNT() {
    String device("\\\\.\\");
    device.Append(m_nativeName).Append(":");
    win32::HANDLE handle = OpenVolumeDevice(device);
    if (handle == win32::INVALID_HANDLE_VALUE) {
        return false;
    }
    bool locked = false;
    for (int attempt = 0; attempt < kLockAttempts && !locked; ++attempt) {
        if (attempt > 0) {
            win32::Sleep(kLockRetryMilliseconds);
        }
        locked = Control(handle, win32::FSCTL_LOCK_VOLUME);
    }
    bool ejected = false;
    if (locked) {
        if (Control(handle, win32::FSCTL_DISMOUNT_VOLUME)) {
            win32::PREVENT_MEDIA_REMOVAL allow{0};
            Control(handle, win32::IOCTL_STORAGE_MEDIA_REMOVAL, &allow, sizeof(allow));
            ejected = Control(handle, win32::IOCTL_STORAGE_EJECT_MEDIA);
        }
        Control(handle, win32::FSCTL_UNLOCK_VOLUME);
    }
    win32::CloseHandle(handle);
    if (!ejected) {
        Error().Report(Win32StorageErrDeviceControl);
    }
    return ejected;
}

bool Win32VolumeHandle::Eject9x() {
    win32::HANDLE driver = OpenVWin32();
    if (driver == win32::INVALID_HANDLE_VALUE) {
        Error().Report(StorageEngineErrOpenFailed, String(kVWin32Text));
        return false;
    }
    win32::DIOC_REGISTERS registers = DosRequest(DriveNumber(), win32::kDosEjectMedia, nullptr);
    // The service answers every DOS call it takes; a refused eject (a locked drive, no medium) shows only in
    // the carry.
    const bool ejected =
        CallVWin32(driver, registers, registers) && (registers.reg_Flags & win32::kCarryFlag) == 0;
    win32::CloseHandle(driver);
    if (!ejected) {
        Error().Report(Win32StorageErrDeviceControl);
    }
    return ejected;
}

const String* Win32VolumeHandle::PathText(bool withContainer, bool native) {
    return VolumeHandle::PathText(withContainer, native);
}

bool Win32VolumeHandle::QueryDiskFreeSpace(std::uint64_t& bytesPerCluster, std::uint64_t& freeClusters,
                                           std::uint64_t& totalClusters) {
    String root = m_nativeName;
    root.Append(":\\");
    win32::DWORD sectorsPerCluster = 0;
    win32::DWORD bytesPerSector = 0;
    win32::DWORD free = 0;
    win32::DWORD total = 0;
    if (!Win32GetDiskFreeSpace(root, &sectorsPerCluster, &bytesPerSector, &free, &total)) {
        Error().Report(Win32StorageErrDiskFreeSpace);
        return false;
    }
    bytesPerCluster = static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector;
    freeClusters = free;
    totalClusters = total;
    return true;
}

std::uint64_t Win32VolumeHandle::Size() {
    std::uint64_t cluster = 0;
    std::uint64_t free = 0;
    std::uint64_t total = 0;
    return QueryDiskFreeSpace(cluster, free, total) ? cluster * total : 0;
}

std::uint64_t Win32VolumeHandle::Free() {
    std::uint64_t cluster = 0;
    std::uint64_t free = 0;
    std::uint64_t total = 0;
    return QueryDiskFreeSpace(cluster, free, total) ? cluster * free : 0;
}

std::uint32_t Win32VolumeHandle::ClusterSize() {
    std::uint64_t cluster = 0;
    std::uint64_t free = 0;
    std::uint64_t total = 0;
    return QueryDiskFreeSpace(cluster, free, total) ? static_cast<std::uint32_t>(cluster) : 0;
}

std::uint32_t Win32VolumeHandle::ReadAhead() {
    Error().Report(ResourceSystemErrNotSupported, String("Win32VolumeHandle::ReadAhead"));
    return 0;
}

bool Win32VolumeHandle::SetLabel(const String& label) {
    if (!Win32SetVolumeLabel(RootPath(), label)) {
        Error().Report(Win32StorageErrSetVolumeLabel);
        return false;
    }
    return true;
}

const String* Win32VolumeHandle::Label() {
    m_labelCache = String();
    String fileSystemName;
    if (!Win32GetVolumeInformation(RootPath(), m_labelCache, nullptr, nullptr, nullptr, fileSystemName)) {
        Error().Report(Win32StorageErrVolumeInformation);
    }
    return &m_labelCache;
}

std::uint32_t Win32VolumeHandle::Serial() {
    String volumeName;
    String fileSystemName;
    win32::DWORD serial = 0;
    if (!Win32GetVolumeInformation(RootPath(), volumeName, &serial, nullptr, nullptr, fileSystemName)) {
        Error().Report(Win32StorageErrVolumeInformation);
        return 0;
    }
    return serial;
}

} // namespace Vemo
