#include "platform/win32/files/DriveTable.h"

#include "platform/win32/TextLines.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/SystemPaths.h"
#include "platform/win32/files/WindowsDirectory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdlib.h>

namespace win32 {

namespace {

struct TypeName {
    std::string_view name;
    UINT type;
};

constexpr TypeName kTypeNames[] = {
    {"fixed", DRIVE_FIXED},   {"cdrom", DRIVE_CDROM},     {"removable", DRIVE_REMOVABLE},
    {"remote", DRIVE_REMOTE}, {"ramdisk", DRIVE_RAMDISK},
};

char UpperLetter(char c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<char>(c - 'a' + 'A');
    }
    return c >= 'A' && c <= 'Z' ? c : 0;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + 1);
    }
}

// Reads one entry; on a fault returns false with the reason.
bool ParseEntry(std::string_view text, DriveEntry& entry, std::string& reason) {
    std::size_t equals = text.find('=');
    if (equals != 1 || UpperLetter(text[0]) == 0) {
        reason = "does not start with a drive letter and '='";
        return false;
    }
    entry.letter = UpperLetter(text[0]);
    std::vector<std::string_view> fields = Split(text.substr(2), ':');
    if (fields.size() < 2) {
        reason = "has no drive type";
        return false;
    }
    if (fields[0].empty() || fields[0].front() != '/') {
        reason = "does not name an absolute host folder";
        return false;
    }
    entry.hostFolder = std::string(fields[0]);
    auto type = std::find_if(std::begin(kTypeNames), std::end(kTypeNames),
                             [&](const TypeName& t) { return t.name == fields[1]; });
    if (type == std::end(kTypeNames)) {
        reason = "has an unknown drive type '" + std::string(fields[1]) + "'";
        return false;
    }
    entry.type = type->type;
    bool haveLabel = false;
    bool haveDevice = false;
    for (std::size_t i = 2; i < fields.size(); ++i) {
        std::string_view option = fields[i];
        if (option.substr(0, 6) == "label=" && !haveLabel) {
            entry.label = std::string(option.substr(6));
            haveLabel = true;
        } else if (option.substr(0, 7) == "device=" && !haveDevice) {
            std::string_view device = option.substr(7);
            if (device.empty() || device.front() != '/') {
                reason = "names a device that is not an absolute host path";
                return false;
            }
            entry.device = std::string(device);
            haveDevice = true;
        } else {
            reason = "has an unknown or repeated option '" + std::string(option) + "'";
            return false;
        }
    }
    return true;
}

// /proc/self/mounts writes blanks, tabs, newlines and backslashes in names as three-digit octal escapes.
std::string DecodeMountField(std::string_view field) {
    std::string decoded;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            decoded += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                         (field[i + 3] - '0'));
            i += 3;
        } else {
            decoded += field[i];
        }
    }
    return decoded;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// udev names the links in /dev/disk/by-label with "\xNN" escapes for bytes such as the blank.
std::string DecodeLabel(std::string_view name) {
    std::string decoded;
    for (std::size_t i = 0; i < name.size(); ++i) {
        int high = i + 3 < name.size() && name[i] == '\\' && name[i + 1] == 'x' ? HexDigit(name[i + 2]) : -1;
        int low = high >= 0 ? HexDigit(name[i + 3]) : -1;
        if (low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 3;
        } else {
            decoded += name[i];
        }
    }
    return decoded;
}

std::string HostLabelOf(const std::string& device) {
    std::string target = RealHostPath(device);
    if (target.empty()) {
        return {};
    }
    const std::string folder = "/dev/disk/by-label";
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) {
        return {};
    }
    std::string label;
    while (dirent* entry = ::readdir(directory)) {
        std::string name = entry->d_name;
        if (name != "." && name != ".." && RealHostPath(folder + "/" + name) == target) {
            label = DecodeLabel(name);
            break;
        }
    }
    ::closedir(directory);
    return label;
}

// Whether the drive that shows the host folder reaches it: a link on its way may lead out of the drive.
bool Reaches(const DriveTable& table, const std::string& folder) {
    const std::string windows = WindowsPathFromHost(table, folder);
    if (windows.empty()) {
        return false;
    }
    const std::string root = RealHostPath(table.Find(windows[0])->hostFolder);
    std::error_code ignored;
    return root.empty() || LiesIn(std::filesystem::weakly_canonical(folder, ignored).string(), root);
}

} // namespace

// The Windows folder and the temporary folder stay reachable whatever the drives confine a title to.
void KeepSystemFoldersReachable(DriveTable& table) {
    std::string why;
    const std::pair<const char*, std::string> folders[] = {
        {"the Windows folder", detail::ConfiguredWindowsFolder(why)},
        {"the temporary folder",
         std::filesystem::path(detail::TemporaryFolder()).lexically_normal().string()},
    };
    for (auto [what, folder] : folders) {
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        if (folder.empty() || Reaches(table, folder)) {
            continue;
        }
        char letter = 'Z';
        while (letter >= 'A' && table.Find(letter) != nullptr) {
            --letter;
        }
        if (letter < 'A') {
            std::fprintf(stderr,
                         "vemo: no drive of VEMO_DRIVES shows %s %s, and no drive letter is left for it\n",
                         what, folder.c_str());
            continue;
        }
        table.Add({letter, folder, DRIVE_FIXED, {}, {}});
        std::fprintf(stderr, "vemo: no drive of VEMO_DRIVES shows %s %s; it is drive %c:\n", what,
                     folder.c_str(), letter);
    }
}

namespace {

std::shared_ptr<const DriveTable> TableFromEnvironment() {
    const char* text = std::getenv("VEMO_DRIVES");
    if (text != nullptr) {
        std::vector<std::string> errors;
        DriveTable table = DriveTable::Parse(text, &errors);
        for (const std::string& error : errors) {
            std::fprintf(stderr, "vemo: VEMO_DRIVES: %s\n", error.c_str());
        }
        KeepSystemFoldersReachable(table);
        return std::make_shared<const DriveTable>(std::move(table));
    }
    std::ifstream file("/proc/self/mounts");
    std::stringstream mounts;
    mounts << file.rdbuf();
    return std::make_shared<const DriveTable>(DriveTable::FromMounts(mounts.str()));
}

struct State {
    std::mutex lock;
    std::shared_ptr<const DriveTable> installed;
    std::shared_ptr<const DriveTable> environment;
};

State& TheState() {
    static State* state = new State; // used by handles that may still close during static destruction
    return *state;
}

} // namespace

bool DriveTable::Add(DriveEntry entry) {
    entry.letter = UpperLetter(entry.letter);
    if (entry.letter == 0 || Find(entry.letter) != nullptr) {
        return false;
    }
    auto at = std::lower_bound(m_entries.begin(), m_entries.end(), entry.letter,
                               [](const DriveEntry& e, char letter) { return e.letter < letter; });
    m_entries.insert(at, std::move(entry));
    return true;
}

const DriveEntry* DriveTable::Find(char letter) const {
    letter = UpperLetter(letter);
    for (const DriveEntry& entry : m_entries) {
        if (entry.letter == letter) {
            return &entry;
        }
    }
    return nullptr;
}

DriveTable DriveTable::Parse(std::string_view text, std::vector<std::string>* errors) {
    DriveTable table;
    for (std::string_view part : Split(text, ';')) {
        part = TrimBlanks(part);
        if (part.empty()) {
            continue;
        }
        DriveEntry entry;
        std::string reason;
        if (ParseEntry(part, entry, reason)) {
            char letter = entry.letter;
            if (!table.Add(std::move(entry))) {
                reason = std::string("gives drive ") + letter + ": a second time";
            }
        }
        if (!reason.empty() && errors != nullptr) {
            errors->push_back("entry '" + std::string(part) + "' " + reason + "; left out");
        }
    }
    return table;
}

DriveTable DriveTable::FromMounts(std::string_view mounts) {
    DriveTable table;
    table.Add({'C', "/", DRIVE_FIXED, {}, {}});
    char next = 'D';
    std::vector<std::string> mountPoints;
    for (std::string_view line : Split(mounts, '\n')) {
        std::vector<std::string_view> fields;
        for (std::string_view field : Split(line, ' ')) {
            if (!field.empty()) {
                fields.push_back(field);
            }
        }
        if (fields.size() < 3 || (fields[2] != "iso9660" && fields[2] != "udf") || next > 'Z') {
            continue;
        }
        // A field the kernel would never write (a relative place, a zero byte in the name) names no folder.
        const auto isHostPath = [](const std::string& path) {
            return !path.empty() && path.front() == '/' && path.find('\0') == std::string::npos;
        };
        std::string mountPoint = DecodeMountField(fields[1]);
        if (!isHostPath(mountPoint) ||
            std::find(mountPoints.begin(), mountPoints.end(), mountPoint) != mountPoints.end()) {
            continue;
        }
        mountPoints.push_back(mountPoint);
        std::string source = DecodeMountField(fields[0]);
        std::string label = isHostPath(source) ? HostLabelOf(source) : std::string();
        // Only a drive's own device node has a door to lock and a tray to open; a disc image, mounted through
        // a loop device or named as a file, has neither.
        const bool drive = source.rfind("/dev/", 0) == 0 && source.rfind("/dev/loop", 0) != 0;
        std::string device = drive && isHostPath(source) ? source : std::string();
        table.Add({next++, mountPoint, DRIVE_CDROM, label, device});
    }
    return table;
}

std::shared_ptr<const DriveTable> CurrentDriveTable() {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    if (state.installed) {
        return state.installed;
    }
    if (!state.environment) {
        state.environment = TableFromEnvironment();
    }
    return state.environment;
}

void seam::InstallDriveTable(std::shared_ptr<const DriveTable> table) {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    state.installed = std::move(table);
}

} // namespace win32
