// An open file of the Win32 storage engine: one OS file handle and the position of the OS file pointer as far
// as this handle knows it. The OS handle is INVALID_HANDLE_VALUE while no file was ever opened (transfers,
// Size and SetSize then report Storage Engine code 23) and 0 once it was closed or lost in a failed rename
// (transfers then fail with codes 31 and 32).
#pragma once

#include "platform/win32/Types.h"
#include "resources/storage/FileHandle.h"

namespace Vemo {

class Win32FileHandle : public FileHandle {
public:
    explicit Win32FileHandle(ResourceEngine* engine);
    // The OS handle is closed by the engine's DestroyHandle, not here.
    ~Win32FileHandle() override;

    // Transfers at the request's position; the request is done only when the whole count was transferred. A
    // failed seek or transfer reports code 31 (read) or 32 (write) and leaves the request incomplete.
    AccessStatus* Read(AccessStatus* request) override;
    AccessStatus* Write(AccessStatus* request) override;
    // Cuts or extends the file; a position beyond the new end moves to it. Win32StorageErrSetEndOfFile when
    // the file cannot be set to that size, which then stays as it was.
    bool SetSize(std::uint64_t size) override;
    // 0 after reporting code 31 when the size cannot be read.
    std::uint64_t Size() override;
    // Renames the file in its folder, keeping the handle and its position. Storage Engine codes 1 (opened
    // without write access, or refused by the host), 35, 33, 34.
    bool SetName(const String& name) override;
    // FlushFileBuffers; code 32 (write failed) when it fails.
    bool Flush() override;
    // SetName over an existing file, which hands this one its permission bits and group (ReplaceFileA); over
    // no file, a plain rename. The same codes.
    bool Replace(const String& name) override;
    const String* PathText(bool withParents, bool native) override;

    win32::HANDLE GetOsHandle() const { return m_osHandle; }
    void SetOsHandle(win32::HANDLE handle) { m_osHandle = handle; }
    // Closes an OS handle that is open and leaves 0.
    void CloseOsHandle();

private:
    // Moves the OS file pointer; false (and the position unknown) when that fails.
    bool Seek(std::uint64_t position);
    AccessStatus* Transfer(AccessStatus* request, bool write);
    // Closes the OS handle, moves the file (move: from the old native path to the new one), and opens the
    // file under the name it then has again.
    bool Rename(const String& name, bool (*move)(const String& from, const String& to));

    win32::HANDLE m_osHandle;
    // False after a failed seek: the OS pointer is not known to be at m_position, so the next transfer seeks.
    bool m_positionKnown = true;
};

} // namespace Vemo
