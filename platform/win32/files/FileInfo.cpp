#include "platform/win32/files/FileInfo.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace win32 {

namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

FILETIME FromStatx(const struct statx_timestamp& time) {
    return FileTimeFromHost(time.tv_sec, time.tv_nsec);
}

bool StatEntry(int folder, const std::string& name, bool follow, struct statx& out) {
    unsigned mask = STATX_BASIC_STATS | STATX_BTIME;
    int flags = (follow ? 0 : AT_SYMLINK_NOFOLLOW) | (name.empty() ? AT_EMPTY_PATH : 0);
    return ::statx(folder, name.c_str(), flags, mask, &out) == 0;
}

} // namespace

FILETIME FileTimeFromHost(std::int64_t seconds, std::uint32_t nanoseconds) {
    if (seconds < -kSecondsFrom1601To1970) {
        return FILETIME{0, 0};
    }
    std::uint64_t ticks =
        static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * 10000000u + nanoseconds / 100;
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

bool QueryHostFile(int folder, const std::string& name, std::string_view windowsName, bool readOnlyVolume,
                   HostFileInfo& out) {
    struct statx link {};
    if (!StatEntry(folder, name, false, link)) {
        return false;
    }
    DWORD attributes = 0;
    struct statx target = link;
    if (S_ISLNK(link.stx_mode)) {
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        if (!StatEntry(folder, name, true, target)) {
            target = link;
        }
    }
    bool directory = S_ISDIR(target.stx_mode);
    attributes |= directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if ((target.stx_mode & S_IWUSR) == 0 && !S_ISLNK(target.stx_mode)) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (readOnlyVolume) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (!windowsName.empty() && windowsName.front() == '.' && windowsName != "." && windowsName != "..") {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    out.attributes = attributes;
    out.lastWriteTime = FromStatx(target.stx_mtime);
    out.lastAccessTime = FromStatx(target.stx_atime);
    out.creationTime = (target.stx_mask & STATX_BTIME) != 0 ? FromStatx(target.stx_btime) : out.lastWriteTime;
    out.size = directory || S_ISLNK(target.stx_mode) ? 0 : target.stx_size;
    return true;
}

} // namespace win32
