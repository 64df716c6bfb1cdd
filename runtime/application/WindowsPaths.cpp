#include "runtime/application/WindowsPaths.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/files/SystemPaths.h"
#include "platform/win32/files/Volume.h"
#include "resources/storage/Path.h"
#include "runtime/application/DbcsStrings.h"

#include <cstdio>

namespace {

constexpr win32::DWORD kPathBufferSize = 260;

bool BeginsWithDrive(const Vemo::String& text) {
    return text.Length() >= 2 && !win32::IsDBCSLeadByte(static_cast<win32::BYTE>(text.CStr()[0])) &&
           text.CStr()[1] == ':';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The kind prefix of a drive type; null for a type that is named by none.
const char* PrefixOf(win32::UINT type) {
    switch (type) {
    case win32::DRIVE_FIXED:
        return "HD";
    case win32::DRIVE_CDROM:
        return "CD";
    case win32::DRIVE_REMOVABLE:
    case win32::DRIVE_REMOTE:
    case win32::DRIVE_RAMDISK:
        return "RD";
    default:
        return nullptr;
    }
}

win32::UINT DriveType(char letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    return win32::GetDriveTypeA(root);
}

Vemo::String Numbered(const char* prefix, unsigned number) {
    char name[16];
    std::snprintf(name, sizeof(name), "%s%u", prefix, number);
    return Vemo::String(name);
}

// The text with the current directory in front when it has no drive of its own;
// empty when there is no current directory on a drive.
Vemo::String WithDrive(const Vemo::String& text) {
    if (BeginsWithDrive(text)) {
        return text;
    }
    char current[kPathBufferSize] = {};
    const win32::DWORD length = win32::GetCurrentDirectoryA(kPathBufferSize, current);
    Vemo::String joined(length > 0 && length < kPathBufferSize ? current : "");
    if (!BeginsWithDrive(joined)) {
        return Vemo::String();
    }
    if (joined.CStr()[joined.Length() - 1] != '\\') {
        joined.Append("\\");
    }
    return joined.Append(text);
}

} // namespace

Vemo::String DriveVolumeName(char letter) {
    letter = Upper(letter);
    if (letter < 'A' || letter > 'Z') {
        return Vemo::String();
    }
    const win32::DWORD drives = win32::GetLogicalDrives();
    const auto present = [drives](char drive) { return (drives & (1u << (drive - 'A'))) != 0; };
    if (!present(letter)) {
        return Vemo::String();
    }
    if (letter == 'A' || letter == 'B') {
        return Numbered("FD", letter == 'B' && present('A') ? 1 : 0);
    }
    const char* prefix = PrefixOf(DriveType(letter));
    if (prefix == nullptr) {
        return Vemo::String();
    }
    unsigned number = 0;
    for (char drive = 'C'; drive < letter; ++drive) {
        const char* other = present(drive) ? PrefixOf(DriveType(drive)) : nullptr;
        if (other != nullptr && other == prefix) {
            ++number;
        }
    }
    return Numbered(prefix, number);
}

bool MakeAbsolutePath(const Vemo::String& text, Vemo::Path& out) {
    const Vemo::String absolute = WithDrive(text);
    if (absolute.IsEmpty()) {
        return false;
    }
    const Vemo::String volume = DriveVolumeName(absolute.CStr()[0]);
    if (volume.IsEmpty() || !out.Parse(Vemo::String(volume).Append(":"))) {
        return false;
    }
    std::uint32_t start = 2;
    while (start < absolute.Length()) {
        const std::int32_t separator = FindFirstOfDbcs(absolute, "\\/", start);
        const std::uint32_t end = separator < 0 ? absolute.Length() : static_cast<std::uint32_t>(separator);
        if (end > start && !out.Parse(absolute.Substring(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool GetShortPathText(const Vemo::String& path, Vemo::String& out) {
    char shortPath[kPathBufferSize] = {};
    const win32::DWORD length = win32::GetShortPathNameA(path.CStr(), shortPath, kPathBufferSize);
    if (length == 0 || length >= kPathBufferSize) {
        return false;
    }
    out = Vemo::String(shortPath);
    return true;
}

bool GetShortPath(const Vemo::Path& path, Vemo::String& out) {
    Vemo::String text;
    path.GetText(text, true, true);
    return GetShortPathText(text, out);
}
