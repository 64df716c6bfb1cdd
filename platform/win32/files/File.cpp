#include "platform/win32/files/File.h"

#include "platform/win32/HandleTable.h"
#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/Device.h"
#include "platform/win32/files/FileFaults.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/TitleFile.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

class FileObject : public KernelObject {
public:
    FileObject(int descriptor, const OpenRecord& record) : m_descriptor(descriptor), m_record(record) {}

    ~FileObject() override {
        if (m_entered) {
            OpenFiles::Leave(&m_record);
        }
        ::close(m_descriptor);
    }

    bool Enter() {
        m_entered = OpenFiles::Enter(&m_record);
        return m_entered;
    }

    int Descriptor() const { return m_descriptor; }
    bool CanRead() const { return m_record.read; }
    bool CanWrite() const { return m_record.write; }

private:
    int m_descriptor;
    OpenRecord m_record;
    bool m_entered = false;
};

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

std::shared_ptr<FileObject> LookupFile(HANDLE handle) {
    std::shared_ptr<FileObject> file = LookupHandleAs<FileObject>(handle);
    if (!file) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return file;
}

// Whether the file was opened for writing and no test made this call fail; sets the error when not.
bool MayWrite(const FileObject& file, FileFault call) {
    if (!file.CanWrite()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (const DWORD fault = FileFaults::Armed(call); fault != ERROR_SUCCESS) {
        SetLastError(fault);
        return false;
    }
    return true;
}

int HostOpenFlags(bool read, bool write) {
    if (read && write) {
        return O_RDWR;
    }
    return write ? O_WRONLY : O_RDONLY;
}

// A new file is made in its folder by its own name, never through a link there.
int CreateOnHost(const HostPath& host, int hostFlags, DWORD flags) {
    const mode_t mode = (flags & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    const int descriptor = ::openat(host.Folder(), host.leaf.c_str(),
                                    hostFlags | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode);
    if (descriptor < 0) {
        SetLastError(errno == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(errno));
    }
    return descriptor;
}

// An existing file: only a regular file is a file here, and a read-only one (owner-write bit clear, or a
// CD-ROM drive) is neither written nor truncated, whatever the host would allow.
int OpenExistingOnHost(const HostPath& host, int hostFlags, bool write, bool truncate) {
    HostDescriptor descriptor(OpenTitleFile(host, hostFlags, TitleFileKind::File));
    if (descriptor.Get() < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(descriptor.Get(), &info) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return -1;
    }
    if ((write || truncate) && (host.IsReadOnlyVolume() || (info.st_mode & S_IWUSR) == 0)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return -1;
    }
    return descriptor.Release();
}

HANDLE OpenFileOnHost(const HostPath& host, DWORD access, DWORD shareMode, DWORD disposition, DWORD flags) {
    bool read = (access & GENERIC_READ) != 0;
    bool write = (access & GENERIC_WRITE) != 0;
    bool truncate = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (host.exists && disposition == CREATE_NEW) {
        return Fail(ERROR_FILE_EXISTS);
    }
    if (!host.exists && (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING)) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    bool create = !host.exists;
    if (create && host.IsReadOnlyVolume()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    // Cutting the file needs a descriptor that may write; what the handle may do is its record's.
    const int hostFlags = HostOpenFlags(read, write || (truncate && !create));
    const int descriptor =
        create ? CreateOnHost(host, hostFlags, flags) : OpenExistingOnHost(host, hostFlags, write, truncate);
    if (descriptor < 0) {
        return INVALID_HANDLE_VALUE;
    }
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        const int error = errno;
        ::close(descriptor);
        return Fail(ErrorFromErrno(error));
    }
    OpenRecord record{true, info.st_dev, info.st_ino, host.drive.letter,
                      read, write,       shareMode,   (access & DELETE) != 0};
    auto file = std::make_shared<FileObject>(descriptor, record);
    if (!file->Enter()) {
        return INVALID_HANDLE_VALUE; // the sharing violation is the last error
    }
    if (truncate && !create && ::ftruncate(descriptor, 0) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    HANDLE handle = RegisterHandle(std::move(file));
    SetLastError(!create && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS)
                     ? ERROR_ALREADY_EXISTS
                     : ERROR_SUCCESS);
    return handle;
}

} // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE) {
    WindowsPath path;
    if (!ParseWindowsPath(fileName, path)) {
        return INVALID_HANDLE_VALUE;
    }
    if (path.kind != PathKind::Drive) {
        return OpenDevice(path, desiredAccess, shareMode);
    }
    if (creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING ||
        (creationDisposition == TRUNCATE_EXISTING && (desiredAccess & GENERIC_WRITE) == 0)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    HostPath host;
    if (!ResolveHostPath(path, host)) {
        return INVALID_HANDLE_VALUE;
    }
    if (host.IsRoot()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (path.endsWithSeparator) {
        return Fail(ERROR_INVALID_NAME);
    }
    return OpenFileOnHost(host, desiredAccess, shareMode, creationDisposition, flagsAndAttributes);
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD numberOfBytesToRead, LPDWORD numberOfBytesRead,
              LPOVERLAPPED overlapped) {
    if (numberOfBytesRead != nullptr) {
        *numberOfBytesRead = 0;
    }
    std::shared_ptr<FileObject> file = LookupFile(handle);
    if (!file) {
        return FALSE;
    }
    if (overlapped != nullptr || (buffer == nullptr && numberOfBytesToRead != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!file->CanRead()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD done = 0;
    while (done < numberOfBytesToRead) {
        ssize_t got =
            ::read(file->Descriptor(), static_cast<char*>(buffer) + done, numberOfBytesToRead - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            SetLastError(ErrorFromErrno(errno));
            if (numberOfBytesRead != nullptr) {
                *numberOfBytesRead = done;
            }
            return FALSE;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<DWORD>(got);
    }
    if (numberOfBytesRead != nullptr) {
        *numberOfBytesRead = done;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD numberOfBytesToWrite, LPDWORD numberOfBytesWritten,
               LPOVERLAPPED overlapped) {
    if (numberOfBytesWritten != nullptr) {
        *numberOfBytesWritten = 0;
    }
    std::shared_ptr<FileObject> file = LookupFile(handle);
    if (!file) {
        return FALSE;
    }
    if (overlapped != nullptr || (buffer == nullptr && numberOfBytesToWrite != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!MayWrite(*file, FileFault::Write)) {
        return FALSE;
    }
    // A test's armed failure may let a part through first, as a disk that fills up during the write does.
    const DWORD passing = FileFaults::Passing(numberOfBytesToWrite);
    DWORD done = 0;
    while (done < passing) {
        ssize_t put = ::write(file->Descriptor(), static_cast<const char*>(buffer) + done, passing - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            SetLastError(put == 0 ? ERROR_WRITE_FAULT : ErrorFromErrno(errno));
            if (numberOfBytesWritten != nullptr) {
                *numberOfBytesWritten = done;
            }
            return FALSE;
        }
        done += static_cast<DWORD>(put);
    }
    if (numberOfBytesWritten != nullptr) {
        *numberOfBytesWritten = done;
    }
    if (passing < numberOfBytesToWrite) {
        SetLastError(FileFaults::Armed(FileFault::Write));
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distanceToMove, PLONG distanceToMoveHigh, DWORD moveMethod) {
    std::shared_ptr<FileObject> file = LookupFile(handle);
    if (!file) {
        return INVALID_SET_FILE_POINTER;
    }
    std::int64_t distance = distanceToMove;
    if (distanceToMoveHigh != nullptr) {
        distance = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(static_cast<DWORD>(*distanceToMoveHigh)) << 32) |
            static_cast<DWORD>(distanceToMove));
    }
    std::int64_t base = 0;
    if (moveMethod == FILE_CURRENT) {
        base = ::lseek(file->Descriptor(), 0, SEEK_CUR);
    } else if (moveMethod == FILE_END) {
        struct stat info {};
        base = ::fstat(file->Descriptor(), &info) == 0 ? info.st_size : -1;
    } else if (moveMethod != FILE_BEGIN) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (base < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if ((distance > 0 && base > std::numeric_limits<std::int64_t>::max() - distance) || base + distance < 0) {
        SetLastError(distance > 0 ? ERROR_INVALID_PARAMETER : ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    std::int64_t target = base + distance;
    if (distanceToMoveHigh == nullptr && target > 0xFFFFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (::lseek(file->Descriptor(), target, SEEK_SET) < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceToMoveHigh != nullptr) {
        *distanceToMoveHigh = static_cast<LONG>(static_cast<std::uint64_t>(target) >> 32);
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(static_cast<std::uint64_t>(target) & 0xFFFFFFFFu);
}

BOOL SetEndOfFile(HANDLE handle) {
    std::shared_ptr<FileObject> file = LookupFile(handle);
    if (!file) {
        return FALSE;
    }
    if (!file->CanWrite()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    off_t position = ::lseek(file->Descriptor(), 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(file->Descriptor(), position) != 0) {
        SetLastError(errno == EFBIG ? ERROR_DISK_FULL : ErrorFromErrno(errno));
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE handle) {
    std::shared_ptr<FileObject> file = LookupFile(handle);
    if (!file) {
        return FALSE;
    }
    if (!MayWrite(*file, FileFault::Flush)) {
        return FALSE;
    }
    if (::fsync(file->Descriptor()) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

DWORD GetFileSize(HANDLE handle, LPDWORD fileSizeHigh) {
    std::shared_ptr<FileObject> file = LookupFile(handle);
    if (!file) {
        return INVALID_FILE_SIZE;
    }
    struct stat info {};
    if (::fstat(file->Descriptor(), &info) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    auto size = static_cast<std::uint64_t>(info.st_size);
    if (fileSizeHigh != nullptr) {
        *fileSizeHigh = static_cast<DWORD>(size >> 32);
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

} // namespace win32
