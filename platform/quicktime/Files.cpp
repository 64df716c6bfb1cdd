#include "platform/quicktime/Calls.h"
#include "platform/quicktime/QuickTime.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/TitleFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qt {

namespace detail {

OSErr ResolveSpec(const FSSpec* spec, win32::HostPath& host, win32::LeafUse use) {
    if (spec == nullptr || spec->name[0] == 0) {
        return bdNamErr;
    }
    const std::string text(reinterpret_cast<const char*>(spec->name + 1), spec->name[0]);
    win32::WindowsPath parsed;
    if (!win32::ParseWindowsPath(text.c_str(), parsed) || parsed.kind != win32::PathKind::Drive ||
        parsed.components.empty()) {
        return bdNamErr;
    }
    if (!win32::ResolveHostPath(parsed, host, win32::LeafUse::Name)) {
        return dirNFErr;
    }
    return host.exists && !(host.leadsOut && use == win32::LeafUse::Open) ? noErr : fnfErr;
}

} // namespace detail

namespace {

bool IsOpen(const detail::Layer& layer, const std::string& hostPath) {
    for (const auto& [refNum, file] : layer.files) {
        if (file.hostPath == hostPath) {
            return true;
        }
    }
    return false;
}

bool IsFolder(int descriptor) {
    struct stat status {};
    return fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
}

// A folder itself, not a link to one: a link is a name that replacing or deleting removes.
bool IsPlainFolder(const win32::HostPath& host) {
    struct stat status {};
    return fstatat(host.Folder(), host.leaf.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(status.st_mode);
}

bool IsWriteRefusal(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// Why a movie file was not opened: a folder is no file, a regular file the host lets nobody write is
// write-protected; anything else cannot be read as a movie file.
OSErr OpenFailure(const win32::HostPath& host, bool writable) {
    struct stat status {};
    if (win32::GetLastError() != win32::ERROR_ACCESS_DENIED ||
        fstatat(host.Folder(), host.leaf.c_str(), &status, 0) != 0) {
        return ioErr;
    }
    if (S_ISDIR(status.st_mode)) {
        return fnfErr;
    }
    return writable && S_ISREG(status.st_mode) ? wrPermErr : ioErr;
}

std::int16_t Keep(detail::Layer& layer, const std::string& hostPath, int descriptor, bool writable) {
    std::int16_t refNum = layer.nextRefNum;
    while (refNum == 0 || layer.files.count(refNum) != 0) {
        ++refNum;
    }
    layer.nextRefNum = static_cast<std::int16_t>(refNum + 1);
    layer.files[refNum] = detail::OpenMovieFile{hostPath, descriptor, writable};
    return refNum;
}

} // namespace

OSErr NativePathToFileSpec(const char* path, FSSpec* spec, std::int32_t) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (OSErr error = detail::Enter(layer, "NativePathToFileSpec"); error != noErr) {
        return error;
    }
    if (path == nullptr || spec == nullptr) {
        return paramErr;
    }
    const std::size_t length = std::strlen(path);
    if (length == 0 || length > 255) {
        return bdNamErr;
    }
    *spec = FSSpec{};
    spec->name[0] = static_cast<unsigned char>(length);
    std::memcpy(spec->name + 1, path, length);
    win32::HostPath host;
    OSErr error = detail::ResolveSpec(spec, host, win32::LeafUse::Name);
    if (error != noErr && error != fnfErr) {
        *spec = FSSpec{};
        return error;
    }
    win32::WindowsPath parsed;
    win32::ParseWindowsPath(path, parsed);
    spec->vRefNum = static_cast<std::int16_t>(parsed.drive - 'A' + 1);
    return error;
}

OSErr OpenMovieFile(const FSSpec* spec, std::int16_t* refNum, std::int8_t permission) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (OSErr error = detail::Enter(layer, "OpenMovieFile"); error != noErr) {
        return error;
    }
    if (refNum == nullptr) {
        return paramErr;
    }
    *refNum = 0;
    win32::HostPath host;
    if (OSErr error = detail::ResolveSpec(spec, host); error != noErr) {
        return error;
    }
    const bool writable = permission == 2 || permission == 3;
    // A folder is no movie file; anything else that is no regular file (a FIFO, a device) cannot be read as
    // one, and is refused without waiting on it.
    const int descriptor =
        win32::OpenTitleFile(host, writable ? O_RDWR : O_RDONLY, win32::TitleFileKind::FileOrFolder);
    if (descriptor < 0) {
        return OpenFailure(host, writable);
    }
    if (IsFolder(descriptor)) {
        close(descriptor);
        return fnfErr;
    }
    *refNum = Keep(layer, host.Full(), descriptor, writable);
    return noErr;
}

OSErr CloseMovieFile(std::int16_t refNum) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (OSErr error = detail::Enter(layer, "CloseMovieFile"); error != noErr) {
        return error;
    }
    auto found = layer.files.find(refNum);
    if (found == layer.files.end()) {
        return rfNumErr;
    }
    close(found->second.descriptor);
    layer.files.erase(found);
    return noErr;
}

OSErr CreateMovieFile(const FSSpec* spec, OSType, ScriptCode, std::int32_t createFlags, std::int16_t* refNum,
                      Movie* newMovie) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (OSErr error = detail::Enter(layer, "CreateMovieFile"); error != noErr) {
        return error;
    }
    if (refNum == nullptr) {
        return paramErr;
    }
    *refNum = 0;
    if (newMovie != nullptr) {
        *newMovie = nullptr;
    }
    if (layer.movieServicesStarts == 0) {
        return movieToolboxUninitialized;
    }
    win32::HostPath host;
    OSErr resolved = detail::ResolveSpec(spec, host, win32::LeafUse::Name);
    if (resolved != noErr && resolved != fnfErr) {
        return resolved;
    }
    if (resolved == noErr && (createFlags & createMovieFileDeleteCurFile) == 0) {
        return dupFNErr;
    }
    if (resolved == noErr && (IsOpen(layer, host.Full()) || IsPlainFolder(host))) {
        return fBsyErr;
    }
    // The file is made new, and the caller's own: what was there goes first (a link itself, never what it
    // leads to), so nothing another program placed under the name is written through.
    if (resolved == noErr && unlinkat(host.Folder(), host.leaf.c_str(), 0) != 0 && errno != ENOENT) {
        return IsWriteRefusal(errno) ? wrPermErr : ioErr;
    }
    int descriptor = openat(host.Folder(), host.leaf.c_str(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    if (descriptor < 0) {
        if (errno == EEXIST) {
            return dupFNErr;
        }
        return IsWriteRefusal(errno) ? wrPermErr : ioErr;
    }
    *refNum = Keep(layer, host.Full(), descriptor, true);
    if (newMovie != nullptr) {
        layer.OpenAudio();
        auto* movie = new MovieRecord();
        movie->createdFile = *refNum;
        movie->SetActive((createFlags & newMovieActive) != 0);
        *newMovie = movie;
    }
    return noErr;
}

OSErr DeleteMovieFile(const FSSpec* spec) {
    detail::Layer& layer = detail::Layer::Instance();
    detail::LayerGuard guard(layer.Lock());
    if (OSErr error = detail::Enter(layer, "DeleteMovieFile"); error != noErr) {
        return error;
    }
    win32::HostPath host;
    if (OSErr error = detail::ResolveSpec(spec, host, win32::LeafUse::Name); error != noErr) {
        return error;
    }
    if (IsOpen(layer, host.Full())) {
        return fBsyErr;
    }
    if (IsPlainFolder(host) || unlinkat(host.Folder(), host.leaf.c_str(), 0) != 0) {
        return ioErr;
    }
    return noErr;
}

} // namespace qt
