// Open files: CreateFileA and the calls on the handle it returns. A file handle is an object of the kernel
// handle table over one host descriptor; CloseHandle closes it.
//
// Windows behaviour kept on the host: names are found without regard to case (HostPath.h), so CREATE_NEW
// fails when the name exists in any spelling; a new open is refused with ERROR_SHARING_VIOLATION when its
// access or share mode conflicts with any handle the process holds on the same host file (device and inode);
// a file whose read-only attribute is set (owner-write bit clear, or a CD-ROM drive) cannot be opened for
// writing; a directory cannot be opened as a file. "\\.\X:" and "\\.\vwin32" open devices
// (DeviceIoControl.h).
//
// The share modes are kept by this process alone: a second process, another instance of the program
// included, opens, reads, writes, deletes and renames over a file whatever handles this one holds, as the
// host lets it. So a writer that must never leave another reader a half-written file writes a new file
// beside the old one, flushes it (FlushFileBuffers) and renames it over the old one (MoveFileExA with
// MOVEFILE_REPLACE_EXISTING): a second process then reads either the old file whole or the new one whole.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/files/FileInfo.h"

namespace win32 {

using LPDWORD = DWORD*;
using PLONG = LONG*;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004;

// Access that only lets the holder delete or rename the file, refused while another handle does not share
// delete; a handle so opened neither reads nor writes.
constexpr DWORD DELETE = 0x00010000;
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;

constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_FLAG_DELETE_ON_CLOSE = 0x04000000;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;

constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

// Asynchronous transfers are not offered; the record exists so that calls can be written with a null one.
struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;

// Opens or creates a file (or opens a device). Dispositions: CREATE_NEW, CREATE_ALWAYS, OPEN_EXISTING,
// OPEN_ALWAYS, TRUNCATE_EXISTING; CREATE_ALWAYS and OPEN_ALWAYS on an existing file succeed with
// ERROR_ALREADY_EXISTS as last error. FILE_ATTRIBUTE_READONLY in the flags makes a new file read-only; other
// flags and the template are ignored. INVALID_HANDLE_VALUE on failure. Only regular files of the drives are
// files: a folder, or a FIFO, socket or device node of the host found there, is refused with
// ERROR_ACCESS_DENIED, at once (the open never waits for a FIFO's other end); the devices the platform
// emulates have names of their own (Device.h).
HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);

// Reads up to the count from the file pointer; at the end of the file it succeeds with fewer bytes (0 at the
// end). Needs GENERIC_READ. The overlapped record must be null.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD numberOfBytesToRead, LPDWORD numberOfBytesRead,
              LPOVERLAPPED overlapped);

// Writes at the file pointer. Needs GENERIC_WRITE. On a failure after part of the data was written, the count
// says how much was.
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD numberOfBytesToWrite, LPDWORD numberOfBytesWritten,
               LPOVERLAPPED overlapped);

// Moves the file pointer. With distanceToMoveHigh the distance is the signed 64-bit value of both halves and
// the new position's high half is stored back; without it the distance is the signed low half and the new
// position must fit in 32 bits. Returns the new position's low half, or INVALID_SET_FILE_POINTER on failure
// (ERROR_NEGATIVE_SEEK for a position before the start); a success sets the last error to 0, so that a low
// half of 0xFFFFFFFF can be told from a failure.
DWORD SetFilePointer(HANDLE file, LONG distanceToMove, PLONG distanceToMoveHigh, DWORD moveMethod);

// Cuts or extends (with zeros) the file at the file pointer. Needs GENERIC_WRITE.
BOOL SetEndOfFile(HANDLE file);

// Writes everything the host still holds of the file's data out to the disk before it returns. Needs
// GENERIC_WRITE (ERROR_ACCESS_DENIED otherwise).
BOOL FlushFileBuffers(HANDLE file);

// The size's low half, the high half stored through fileSizeHigh when given; INVALID_FILE_SIZE on failure
// (the last error tells it from a real low half of that value).
DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh);

} // namespace win32
