// Device requests for removable media, on the handles CreateFileA gives for "\\.\X:" (NT) and "\\.\vwin32"
// (9x). The host work is done on the device named in the drive's table entry: locking the door and ejecting
// with the Linux CD-ROM ioctls. A CD-ROM or removable drive without a device (a folder given as the drive)
// has no door: locking and unlocking it succeed and touch nothing, and its medium cannot be ejected
// (ERROR_NOT_SUPPORTED; on "\\.\vwin32" the DOS error "not ready").
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/files/File.h"

namespace win32 {

// Requests on "\\.\X:".
constexpr DWORD IOCTL_STORAGE_MEDIA_REMOVAL = 0x002D4804; // in: PREVENT_MEDIA_REMOVAL
constexpr DWORD IOCTL_STORAGE_EJECT_MEDIA = 0x002D4808;
constexpr DWORD FSCTL_LOCK_VOLUME = 0x00090018;     // succeeds while no other handle is open on the drive
constexpr DWORD FSCTL_UNLOCK_VOLUME = 0x0009001C;   // always succeeds
constexpr DWORD FSCTL_DISMOUNT_VOLUME = 0x00090020; // always succeeds; the host keeps its mount

struct PREVENT_MEDIA_REMOVAL {
    BYTE PreventMediaRemoval; // 1 locks the door, 0 unlocks it
};

// The one request on "\\.\vwin32": a DOS block-device call (INT 21h, AX 440Dh) made with a register block as
// input and output.
constexpr DWORD VWIN32_DIOC_DOS_IOCTL = 1;

// The register block, in the order the 9x service lays it out. EDX carries the parameter block's address, so
// it is pointer-sized here: callers give sizeof(DIOC_REGISTERS) as both buffer sizes.
struct DIOC_REGISTERS {
    DWORD reg_EBX;
    DWORD_PTR reg_EDX;
    DWORD reg_ECX;
    DWORD reg_EAX;
    DWORD reg_EDI;
    DWORD reg_ESI;
    DWORD reg_Flags; // bit 0, the carry, is set when the DOS call failed; AX then holds the DOS error
};

constexpr DWORD kCarryFlag = 0x0001;

// Block-device call numbers (CX) under AX 440Dh; BL is the drive number (1 is A:).
constexpr WORD kDosLockMedia = 0x0848;  // EDX -> {BYTE operation, BYTE lockCount}: 0 lock, 1 unlock, 2 query
constexpr WORD kDosEjectMedia = 0x0849; // EDX unused

// DOS errors the block-device calls return in AX with the carry set.
constexpr WORD kDosErrorInvalidFunction = 0x0001;
constexpr WORD kDosErrorInvalidData = 0x000D;
constexpr WORD kDosErrorInvalidDrive = 0x000F;
constexpr WORD kDosErrorNotReady = 0x0015;       // the drive has no device to work on
constexpr WORD kDosErrorGeneralFailure = 0x001F; // the host device refused
constexpr WORD kDosErrorNotLocked = 0x00B0;
constexpr WORD kDosErrorLocked = 0x00B1; // eject while the lock count is above 0
constexpr WORD kDosErrorNotRemovable = 0x00B2;
constexpr WORD kDosErrorLockCountExceeded = 0x00B4;

// Sends a request to a device. On "\\.\X:" an unknown code or a host device that does not understand it
// fails with ERROR_INVALID_FUNCTION. On "\\.\vwin32" the call itself succeeds once the register block was
// read (both buffers at least sizeof(DIOC_REGISTERS)); the DOS result is in the output block's carry and AX.
// Any other handle fails with ERROR_INVALID_FUNCTION. The overlapped record must be null.
BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                     LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned, LPOVERLAPPED overlapped);

} // namespace win32
