#include "platform/win32/files/DeviceIoControl.h"

#include "platform/win32/LastError.h"
#include "platform/win32/files/Device.h"
#include "platform/win32/files/DriveTable.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace win32 {

namespace {

constexpr int kMaximumLockCount = 255;

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

DWORD ErrorFromDevice(int error) {
    // A device that is no CD-ROM drive answers the door and eject requests with ENOTTY (or EINVAL).
    return error == ENOTTY || error == EINVAL ? ERROR_INVALID_FUNCTION : ErrorFromErrno(error);
}

BOOL VolumeRequest(VolumeDevice& device, DWORD code, LPVOID inBuffer, DWORD inBufferSize) {
    int error = 0;
    switch (code) {
    case IOCTL_STORAGE_MEDIA_REMOVAL: {
        if (inBuffer == nullptr || inBufferSize < sizeof(PREVENT_MEDIA_REMOVAL)) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        if (!device.HasDoor()) {
            break;
        }
        bool prevent = static_cast<const PREVENT_MEDIA_REMOVAL*>(inBuffer)->PreventMediaRemoval != 0;
        error = RequestMedia(device.HostDevice(), device.Descriptor(),
                             prevent ? MediaRequest::LockDoor : MediaRequest::UnlockDoor);
        break;
    }
    case IOCTL_STORAGE_EJECT_MEDIA:
        if (!device.HasDoor()) {
            return Fail(ERROR_NOT_SUPPORTED);
        }
        error = RequestMedia(device.HostDevice(), device.Descriptor(), MediaRequest::Eject);
        break;
    case FSCTL_LOCK_VOLUME:
        if (device.OtherHandlesOnDrive() != 0) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        break;
    case FSCTL_UNLOCK_VOLUME:
    case FSCTL_DISMOUNT_VOLUME:
        break;
    default:
        return Fail(ERROR_INVALID_FUNCTION);
    }
    if (error != 0) {
        return Fail(ErrorFromDevice(error));
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

// The drive a DOS drive number names, when it can carry removable media; otherwise the DOS error.
WORD FindRemovableDrive(DWORD number, DriveEntry& out) {
    if (number < 1 || number > 26) {
        return kDosErrorInvalidDrive;
    }
    std::shared_ptr<const DriveTable> table = CurrentDriveTable();
    const DriveEntry* entry = table->Find(static_cast<char>('A' + number - 1));
    if (entry == nullptr) {
        return kDosErrorInvalidDrive;
    }
    if (!HasRemovableMedia(*entry)) {
        return kDosErrorNotRemovable;
    }
    out = *entry;
    return 0;
}

// Opens the drive's device for one request, as the 9x service does for each call. A drive without a device
// has no door to lock, and its lock count alone keeps the lock.
WORD RequestOnDrive(const DriveEntry& drive, MediaRequest request) {
    if (drive.device.empty()) {
        return 0;
    }
    int descriptor = ::open(drive.device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int error = RequestMedia(drive.device, descriptor, request);
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    return error == 0 ? 0 : kDosErrorGeneralFailure;
}

WORD LockMedia(const DriveEntry& drive, BYTE* parameters) {
    if (parameters == nullptr) {
        return kDosErrorInvalidData;
    }
    int count = MediaLockCount(drive.letter);
    WORD error = 0;
    switch (parameters[0]) {
    case 0:
        if (count >= kMaximumLockCount) {
            error = kDosErrorLockCountExceeded;
        } else if (count > 0 || (error = RequestOnDrive(drive, MediaRequest::LockDoor)) == 0) {
            ++count;
        }
        break;
    case 1:
        if (count == 0) {
            error = kDosErrorNotLocked;
        } else if (count > 1 || (error = RequestOnDrive(drive, MediaRequest::UnlockDoor)) == 0) {
            --count;
        }
        break;
    case 2:
        break;
    default:
        return kDosErrorInvalidFunction;
    }
    SetMediaLockCount(drive.letter, count);
    parameters[1] = static_cast<BYTE>(count);
    return error;
}

WORD EjectMedia(const DriveEntry& drive) {
    if (MediaLockCount(drive.letter) > 0) {
        return kDosErrorLocked;
    }
    if (drive.device.empty()) {
        return kDosErrorNotReady;
    }
    return RequestOnDrive(drive, MediaRequest::Eject);
}

void DosBlockDeviceCall(DIOC_REGISTERS& registers) {
    WORD function = LOWORD(registers.reg_ECX);
    WORD error = 0;
    DriveEntry drive;
    if (LOWORD(registers.reg_EAX) != 0x440D || (function != kDosLockMedia && function != kDosEjectMedia)) {
        error = kDosErrorInvalidFunction;
    } else if ((error = FindRemovableDrive(registers.reg_EBX & 0xFF, drive)) == 0) {
        error = function == kDosLockMedia ? LockMedia(drive, reinterpret_cast<BYTE*>(registers.reg_EDX))
                                          : EjectMedia(drive);
    }
    if (error != 0) {
        registers.reg_EAX = (registers.reg_EAX & 0xFFFF0000u) | error;
        registers.reg_Flags |= kCarryFlag;
    } else {
        registers.reg_Flags &= ~kCarryFlag;
    }
}

BOOL VWin32Request(DWORD code, LPVOID inBuffer, DWORD inBufferSize, LPVOID outBuffer, DWORD outBufferSize,
                   LPDWORD bytesReturned) {
    if (code != VWIN32_DIOC_DOS_IOCTL) {
        return Fail(ERROR_INVALID_FUNCTION);
    }
    if (inBuffer == nullptr || outBuffer == nullptr || inBufferSize < sizeof(DIOC_REGISTERS) ||
        outBufferSize < sizeof(DIOC_REGISTERS)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    DIOC_REGISTERS registers = *static_cast<const DIOC_REGISTERS*>(inBuffer);
    DosBlockDeviceCall(registers);
    *static_cast<DIOC_REGISTERS*>(outBuffer) = registers;
    if (bytesReturned != nullptr) {
        *bytesReturned = sizeof(DIOC_REGISTERS);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

} // namespace

BOOL DeviceIoControl(HANDLE handle, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                     LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned, LPOVERLAPPED overlapped) {
    if (bytesReturned != nullptr) {
        *bytesReturned = 0;
    }
    std::shared_ptr<KernelObject> object = LookupHandle(handle);
    if (!object) {
        return FALSE;
    }
    if (overlapped != nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (auto volume = std::dynamic_pointer_cast<VolumeDevice>(object)) {
        return VolumeRequest(*volume, ioControlCode, inBuffer, inBufferSize);
    }
    if (std::dynamic_pointer_cast<VWin32Device>(object)) {
        return VWin32Request(ioControlCode, inBuffer, inBufferSize, outBuffer, outBufferSize, bytesReturned);
    }
    return Fail(ERROR_INVALID_FUNCTION);
}

} // namespace win32
