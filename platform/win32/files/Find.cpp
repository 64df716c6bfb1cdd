#include "platform/win32/files/Find.h"

#include "platform/win32/HandleTable.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/Wildcard.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace win32 {

namespace {

std::atomic<bool> dotEntriesLast{false};

bool IsDotEntry(std::string_view name) {
    return name == "." || name == "..";
}

class FindObject : public KernelObject {
public:
    FindObject(HostPath folder, std::vector<std::string> names)
        : m_folder(std::move(folder)), m_names(std::move(names)) {}

    // Fills the record with the next entry that still exists; false when none is left.
    bool Next(WIN32_FIND_DATAA& data) {
        while (m_next < m_names.size()) {
            const std::string& name = m_names[m_next++];
            HostFileInfo info;
            if (QueryHostFile(m_folder.Folder(), name, name, m_folder.IsReadOnlyVolume(), info)) {
                Fill(data, name, info);
                return true;
            }
        }
        return false;
    }

private:
    static void Fill(WIN32_FIND_DATAA& data, const std::string& name, const HostFileInfo& info) {
        std::memset(&data, 0, sizeof(data));
        data.dwFileAttributes = info.attributes;
        data.ftCreationTime = info.creationTime;
        data.ftLastAccessTime = info.lastAccessTime;
        data.ftLastWriteTime = info.lastWriteTime;
        data.nFileSizeHigh = static_cast<DWORD>(info.size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(info.size & 0xFFFFFFFFu);
        std::memcpy(data.cFileName, name.c_str(), name.size() + 1);
    }

    HostPath m_folder; // holds the folder open for the search's life
    std::vector<std::string> m_names;
    std::size_t m_next = 0;
};

// The folder's names that match, in the host's order (dot entries moved last when asked); false with the last
// error set when the folder cannot be read.
bool MatchingNames(int folder, std::string_view pattern, bool atRoot, std::vector<std::string>& names) {
    std::vector<std::string> dots;
    const bool listed = ListFolder(folder, [&](std::string_view name) {
        bool dot = IsDotEntry(name);
        if ((dot && atRoot) || name.size() >= MAX_PATH || !MatchWildcard(pattern, name)) {
            return;
        }
        (dot && dotEntriesLast.load() ? dots : names).emplace_back(name);
    });
    if (!listed) {
        SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
        return false;
    }
    names.insert(names.end(), dots.begin(), dots.end());
    return true;
}

} // namespace

HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findFileData) {
    WindowsPath path;
    if (!ParseWindowsPath(fileName, path, true)) {
        return INVALID_HANDLE_VALUE;
    }
    if (findFileData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (path.kind != PathKind::Drive || path.components.empty() || path.endsWithSeparator) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HostPath host;
    if (!ResolveHostPath(path, host, LeafUse::Pattern)) {
        return INVALID_HANDLE_VALUE;
    }
    std::vector<std::string> names;
    if (!MatchingNames(host.Folder(), path.components.back(), path.components.size() == 1, names)) {
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_shared<FindObject>(std::move(host), std::move(names));
    if (!search->Next(*findFileData)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = RegisterHandle(std::move(search));
    SetLastError(ERROR_SUCCESS);
    return handle;
}

BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findFileData) {
    std::shared_ptr<FindObject> search = LookupHandleAs<FindObject>(findFile);
    if (!search) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (findFileData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!search->Next(*findFileData)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL FindClose(HANDLE findFile) {
    if (!LookupHandleAs<FindObject>(findFile)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return CloseHandle(findFile);
}

void seam::ListDotEntriesLast(bool last) {
    dotEntriesLast.store(last);
}

} // namespace win32
