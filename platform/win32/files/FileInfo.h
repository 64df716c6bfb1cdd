// What Windows shows of a host file: its attribute bits, its three times as FILETIME values and its size.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace win32 {

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x00000400;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

struct HostFileInfo {
    // Directory for a folder (or a link to one), archive otherwise; read-only when the owner-write bit is
    // clear or the volume is read-only; hidden when the Windows name starts with '.'; reparse point for a
    // symbolic link, whose other bits and times are its target's (a dangling link keeps its own).
    DWORD attributes = 0;
    FILETIME creationTime{};   // the host's birth time where the file system keeps one, else the last write
    FILETIME lastAccessTime{}; // 100-nanosecond units since 1 January 1601
    FILETIME lastWriteTime{};
    ULONGLONG size = 0; // 0 for a directory
};

// Fills the record for the entry of the folder (a descriptor; an empty name: the folder itself); false with
// errno set when nothing is there.
bool QueryHostFile(int folder, const std::string& name, std::string_view windowsName, bool readOnlyVolume,
                   HostFileInfo& out);

// A host time (seconds and nanoseconds since 1970) as a FILETIME; times before 1601 become 0.
FILETIME FileTimeFromHost(std::int64_t seconds, std::uint32_t nanoseconds);

} // namespace win32
