#include "resources/storage/win32/Win32FileHandle.h"

#include "platform/win32/Handle.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/File.h"
#include "platform/win32/files/FileManagement.h"
#include "platform/win32/files/ReplaceFile.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/win32/Win32StorageEngine.h"

namespace Vemo {

namespace {

bool IsOpenOsHandle(win32::HANDLE handle) {
    return handle != nullptr && handle != win32::INVALID_HANDLE_VALUE;
}

// Moves the OS file pointer to an absolute position; the position it reports, or false.
bool SetOsPointer(win32::HANDLE handle, std::uint64_t position, std::uint64_t& reached) {
    win32::LONG high = static_cast<win32::LONG>(position >> 32);
    win32::SetLastError(win32::ERROR_SUCCESS);
    const win32::DWORD low = win32::SetFilePointer(handle, static_cast<win32::LONG>(position & 0xFFFFFFFF),
                                                   &high, win32::FILE_BEGIN);
    if (low == win32::INVALID_SET_FILE_POINTER && win32::GetLastError() != win32::ERROR_SUCCESS) {
        return false;
    }
    reached = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) | low;
    return true;
}

} // namespace

Win32FileHandle::Win32FileHandle(ResourceEngine* engine)
    : FileHandle(engine), m_osHandle(win32::INVALID_HANDLE_VALUE) {}

Win32FileHandle::~Win32FileHandle() = default;

void Win32FileHandle::CloseOsHandle() {
    if (IsOpenOsHandle(m_osHandle)) {
        win32::CloseHandle(m_osHandle);
    }
    m_osHandle = nullptr;
}

const String* Win32FileHandle::PathText(bool withParents, bool native) {
    return FileHandle::PathText(withParents, native);
}

bool Win32FileHandle::Seek(std::uint64_t position) {
    std::uint64_t reached = 0;
    if (!SetOsPointer(m_osHandle, position, reached)) {
        m_positionKnown = false;
        return false;
    }
    m_position = reached;
    m_positionKnown = true;
    return true;
}

std::uint64_t Win32FileHandle::Size() {
    if (m_osHandle == win32::INVALID_HANDLE_VALUE) {
        Error().Report(StorageEngineErrFileNotListed);
        return 0;
    }
    win32::DWORD high = 0;
    win32::SetLastError(win32::ERROR_SUCCESS);
    const win32::DWORD low = win32::GetFileSize(m_osHandle, &high);
    if (low == win32::INVALID_FILE_SIZE && win32::GetLastError() != win32::ERROR_SUCCESS) {
        Error().Report(StorageEngineErrReadFailed);
        return 0;
    }
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

bool Win32FileHandle::SetSize(std::uint64_t size) {
    if (m_osHandle == win32::INVALID_HANDLE_VALUE) {
        Error().Report(StorageEngineErrFileNotListed);
        return false;
    }
    // The file is cut only where the pointer really went: a failed seek must not truncate at the old place.
    std::uint64_t reached = 0;
    if (!SetOsPointer(m_osHandle, size, reached)) {
        m_positionKnown = false;
        Error().Report(Win32StorageErrSetEndOfFile);
        return false;
    }
    const bool cut = win32::SetEndOfFile(m_osHandle) != 0;
    if (cut && m_positionKnown && m_position > size) {
        m_position = size;
    } else {
        Seek(m_position);
    }
    if (!cut) {
        Error().Report(Win32StorageErrSetEndOfFile);
        return false;
    }
    return true;
}

AccessStatus* Win32FileHandle::Transfer(AccessStatus* request, bool write) {
    const std::uint32_t requested = request->m_count;
    request->m_count = 0;
    if (m_osHandle == win32::INVALID_HANDLE_VALUE) {
        Error().Report(StorageEngineErrFileNotListed);
        return request;
    }
    const ErrorCode failure = write ? StorageEngineErrWriteFailed : StorageEngineErrReadFailed;
    if (requested == 0) {
        request->m_status = AccessStatus::kDone;
        return request;
    }
    if ((request->m_position != m_position || !m_positionKnown) && !Seek(request->m_position)) {
        Error().Report(failure);
        return request;
    }
    win32::DWORD transferred = 0;
    const bool done =
        write ? win32::WriteFile(m_osHandle, request->m_buffer, requested, &transferred, nullptr) != 0
              : win32::ReadFile(m_osHandle, request->m_buffer, requested, &transferred, nullptr) != 0;
    if (!done) {
        // Part of it may have gone through: the pointer is no longer known to be at the position.
        m_positionKnown = false;
        Error().Report(failure);
        return request;
    }
    request->m_count = transferred;
    m_position += transferred;
    if (transferred == requested) {
        request->m_status = AccessStatus::kDone;
    }
    return request;
}

AccessStatus* Win32FileHandle::Read(AccessStatus* request) {
    return Transfer(request, false);
}

AccessStatus* Win32FileHandle::Write(AccessStatus* request) {
    return Transfer(request, true);
}

bool Win32FileHandle::SetName(const String& name) {
    return Rename(name, [](const String& from, const String& to) {
        return win32::MoveFileExA(from.CStr(), to.CStr(), win32::MOVEFILE_COPY_ALLOWED) != 0;
    });
}

bool Win32FileHandle::Replace(const String& name) {
    return Rename(name, [](const String& from, const String& to) {
        if (win32::ReplaceFileA(to.CStr(), from.CStr(), nullptr, 0, nullptr, nullptr) != 0) {
            return true;
        }
        // A file of that name that is not there has nothing to hand on: the new one simply takes the name.
        return win32::GetLastError() == win32::ERROR_FILE_NOT_FOUND &&
               win32::MoveFileExA(from.CStr(), to.CStr(), win32::MOVEFILE_REPLACE_EXISTING) != 0;
    });
}

bool Win32FileHandle::Rename(const String& name, bool (*move)(const String& from, const String& to)) {
    if (!m_accessStyle.m_write) {
        Error().Report(StorageEngineErrAccessDenied);
        return false;
    }
    String newPath;
    Win32StorageEngine* engine =
        Win32StorageEngine::PrepareRename(GetEngine(), name, Parent(), StorageEngineErrNoFile, newPath);
    if (engine == nullptr) {
        return false;
    }
    const String oldPath = *PathText(true, true);

    CloseOsHandle();
    const bool moved = move(oldPath, newPath);
    win32::HANDLE reopened = engine->OpenFile(moved ? newPath : oldPath, &m_accessStyle, false);
    m_osHandle = reopened;
    if (reopened == nullptr || !Seek(m_position)) {
        m_positionKnown = false;
    }
    if (!moved) {
        Error().Report(StorageEngineErrAccessDenied);
        return false;
    }
    m_name = name;
    m_nativeName = name;
    return true;
}

bool Win32FileHandle::Flush() {
    if (!IsOpenOsHandle(m_osHandle) || win32::FlushFileBuffers(m_osHandle) == 0) {
        Error().Report(StorageEngineErrWriteFailed);
        return false;
    }
    return true;
}

} // namespace Vemo
