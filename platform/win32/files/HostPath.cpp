#include "platform/win32/files/HostPath.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/DriveRoot.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsValidName(std::string_view name, bool wildcards) {
    for (std::size_t i = 0; i < name.size();) {
        std::size_t length = CharacterLength(name, i);
        if (length == 1) {
            unsigned char c = static_cast<unsigned char>(name[i]);
            bool wildcard = c == '*' || c == '?';
            if (c < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' ||
                (wildcard && !wildcards)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// The components of a path text after its drive, split at separators that are not trail bytes.
std::vector<std::string_view> SplitComponents(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (IsSeparator(text[i])) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
            ++i;
        } else {
            i += CharacterLength(text, i);
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool ParseDeviceName(std::string_view name, WindowsPath& out) {
    if (name.size() == 2 && IsLetter(name[0]) && name[1] == ':') {
        out.kind = PathKind::VolumeDevice;
        out.drive = FoldCase(name[0]);
        return true;
    }
    if (EqualNoCase(name, "vwin32")) {
        out.kind = PathKind::VWin32Device;
        return true;
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
}

// Whether the entry of the folder is a link that leads out of the drive's folder (or whose target cannot be
// resolved).
bool LeadsOut(const DriveRoot& root, int folder, const std::string& name, const std::string& below) {
    struct stat info {};
    if (!root.Confines() || ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISLNK(info.st_mode)) {
        return false;
    }
    HostDescriptor target(root.OpenBelow(below, O_PATH | O_CLOEXEC));
    return target.Get() < 0;
}

std::string JoinBelow(const std::string& below, const std::string& name) {
    return below.empty() ? name : below + "/" + name;
}

} // namespace

bool ParseWindowsPath(LPCSTR text, WindowsPath& out, bool wildcardLeaf) {
    out = WindowsPath{};
    if (text == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    std::string_view path(text);
    if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] == '.' &&
        IsSeparator(path[3])) {
        return ParseDeviceName(path.substr(4), out);
    }
    if (path.size() < 2 || !IsLetter(path[0]) || path[1] != ':') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    out.drive = FoldCase(path[0]);
    std::vector<std::string_view> parts = SplitComponents(path.substr(2));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string_view part = parts[i];
        bool last = i + 1 == parts.size();
        if (!IsValidName(part, wildcardLeaf && last)) {
            SetLastError(ERROR_INVALID_NAME);
            return false;
        }
        if (part == "..") {
            if (!out.components.empty()) {
                out.components.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            out.components.emplace_back(part);
        }
    }
    out.endsWithSeparator = parts.size() > 1 && parts.back().empty() && !out.components.empty();
    return true;
}

int HostPath::Folder() const {
    return folderDescriptor ? folderDescriptor->Get() : root->Descriptor();
}

int HostPath::OpenBelow(int flags) const {
    return root->OpenBelow(below, flags);
}

std::string HostPath::Full() const {
    return IsRoot() ? folder : JoinHostPath(folder, leaf);
}

bool ResolveHostPath(const WindowsPath& path, HostPath& out, LeafUse use) {
    out = HostPath{};
    if (path.kind != PathKind::Drive) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    std::shared_ptr<const DriveTable> table = CurrentDriveTable();
    const DriveEntry* drive = table->Find(path.drive);
    if (drive == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    out.drive = *drive;
    out.root = DriveRoot::Open(drive->hostFolder);
    if (!out.root) {
        bool removable = drive->type == DRIVE_CDROM || drive->type == DRIVE_REMOVABLE;
        out = HostPath{};
        SetLastError(removable ? ERROR_NOT_READY : ERROR_PATH_NOT_FOUND);
        return false;
    }
    out.folder = drive->hostFolder;
    for (std::size_t i = 0; i + 1 < path.components.size(); ++i) {
        const std::string name = FindHostName(out.Folder(), path.components[i]);
        const std::string below = JoinBelow(out.below, name);
        const int folder = name.empty() ? -1 : out.root->OpenBelow(below, O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) {
            out = HostPath{};
            SetLastError(ERROR_PATH_NOT_FOUND);
            return false;
        }
        out.folderDescriptor = std::make_shared<const HostDescriptor>(folder);
        out.folder = JoinHostPath(out.folder, name);
        out.below = below;
    }
    if (path.components.empty()) {
        out.exists = true;
        return true;
    }
    const std::string& given = path.components.back();
    out.leaf = use != LeafUse::Pattern ? FindHostName(out.Folder(), given) : std::string();
    out.exists = !out.leaf.empty();
    if (!out.exists) {
        out.leaf = given;
        out.below = JoinBelow(out.below, given);
        return true;
    }
    out.below = JoinBelow(out.below, out.leaf);
    out.leadsOut = LeadsOut(*out.root, out.Folder(), out.leaf, out.below);
    if (out.leadsOut && (use == LeafUse::Open || path.endsWithSeparator)) {
        out = HostPath{};
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    return true;
}

bool ResolveHostPath(LPCSTR text, HostPath& out) {
    WindowsPath path;
    return ParseWindowsPath(text, path) && ResolveHostPath(path, out);
}

std::string FindHostName(int folder, std::string_view name) {
    struct stat info {};
    if (::fstatat(folder, std::string(name).c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return std::string(name);
    }
    std::string best;
    ListFolder(folder, [&](std::string_view candidate) {
        if (candidate != "." && candidate != ".." && EqualNoCase(candidate, name) &&
            (best.empty() || candidate < best)) {
            best = candidate;
        }
    });
    return best;
}

bool ListFolder(int folder, const std::function<void(std::string_view)>& each) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* directory = listing < 0 ? nullptr : ::fdopendir(listing);
    if (directory == nullptr) {
        const int error = errno;
        if (listing >= 0) {
            ::close(listing);
        }
        errno = error;
        return false;
    }
    while (const dirent* entry = ::readdir(directory)) {
        each(entry->d_name);
    }
    ::closedir(directory);
    return true;
}

int CreateUniqueFile(int folder, std::string_view prefix, unsigned mode, std::string& name) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr int kTries = 100;
    for (int tries = 0; tries < kTries; ++tries) {
        unsigned char random[6];
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
            return -1;
        }
        name.assign(prefix);
        for (unsigned char byte : random) {
            name += kLetters[byte % (sizeof kLetters - 1)];
        }
        const int descriptor =
            ::openat(folder, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (descriptor >= 0 || errno != EEXIST) {
            return descriptor;
        }
    }
    errno = EEXIST;
    return -1;
}

std::string RealHostPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string result(resolved);
    std::free(resolved);
    return result;
}

std::string OpenedHostPath(int descriptor) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || info.st_nlink == 0) {
        return {};
    }
    char buffer[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    const ssize_t length = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer || buffer[0] != '/') {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

bool LiesIn(std::string_view path, std::string_view folder) {
    if (folder == "/") {
        return !path.empty() && path.front() == '/';
    }
    return path.substr(0, folder.size()) == folder &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

std::string JoinHostPath(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

std::string WindowsPathFromHost(const std::string& hostPath) {
    return WindowsPathFromHost(*CurrentDriveTable(), hostPath);
}

std::string WindowsPathFromHost(const DriveTable& table, const std::string& hostPath) {
    std::string normal = std::filesystem::path(hostPath).lexically_normal().string();
    if (normal.empty() || normal.front() != '/') {
        return {};
    }
    if (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    const DriveEntry* best = nullptr;
    std::size_t bestLength = 0;
    std::string bestRest;
    for (const DriveEntry& drive : table.Entries()) {
        std::string folder = std::filesystem::path(drive.hostFolder).lexically_normal().string();
        if (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        std::string rest;
        if (normal == folder) {
            rest = "";
        } else if (folder == "/") {
            rest = normal.substr(1);
        } else if (normal.compare(0, folder.size(), folder) == 0 && normal.size() > folder.size() &&
                   normal[folder.size()] == '/') {
            rest = normal.substr(folder.size() + 1);
        } else {
            continue;
        }
        if (best == nullptr || folder.size() > bestLength) {
            best = &drive;
            bestLength = folder.size();
            bestRest = rest;
        }
    }
    if (best == nullptr) {
        return {};
    }
    std::string windows{best->letter, ':', '\\'};
    for (char c : bestRest) {
        windows += c == '/' ? '\\' : c;
    }
    return windows;
}

} // namespace win32
