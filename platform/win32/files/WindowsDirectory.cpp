#include "platform/win32/files/WindowsDirectory.h"

#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

namespace win32 {

namespace {

namespace fs = std::filesystem;

bool IsSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

// The folder the settings name, or an empty text with the reason in why.
std::string ConfiguredFolder(std::string& why) {
    if (const char* configured = std::getenv("VEMO_WINDIR"); IsSet(configured)) {
        if (configured[0] != '/') {
            why = std::string("VEMO_WINDIR=") + configured + " is not an absolute path";
            return {};
        }
        return configured;
    }
    const char* data = std::getenv("XDG_DATA_HOME");
    if (IsSet(data) && data[0] == '/') {
        return std::string(data) + "/vemo/windows";
    }
    const char* home = std::getenv("HOME");
    if (!IsSet(home) || home[0] != '/') {
        why = "neither VEMO_WINDIR, XDG_DATA_HOME nor HOME names a folder for the Windows folder";
        return {};
    }
    return std::string(home) + "/.local/share/vemo/windows";
}

// Each failing setting is told once, not at every call.
void Tell(const std::string& why) {
    static std::mutex lock;
    static std::set<std::string> told;
    std::lock_guard guard(lock);
    if (told.insert(why).second) {
        std::fprintf(stderr, "vemo: the Windows folder: %s\n", why.c_str());
    }
}

bool Refuse(const std::string& why, DWORD error) {
    Tell(why);
    SetLastError(error);
    return false;
}

} // namespace

std::string detail::ConfiguredWindowsFolder(std::string& why) {
    const std::string configured = ConfiguredFolder(why);
    if (configured.empty()) {
        return {};
    }
    std::string folder = fs::path(configured).lexically_normal().string();
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

bool detail::FindWindowsDirectory(std::string& hostPath, std::string& windowsPath) {
    std::string why;
    const std::string folder = ConfiguredWindowsFolder(why);
    if (folder.empty()) {
        return Refuse(why, ERROR_PATH_NOT_FOUND);
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) {
        return Refuse(folder + " cannot be made: " + (error ? error.message() : "it is not a folder"),
                      error ? ErrorFromErrno(error.value()) : ERROR_PATH_NOT_FOUND);
    }
    windowsPath = WindowsPathFromHost(folder);
    if (windowsPath.empty()) {
        return Refuse(folder + " lies on no drive of the emulated machine (VEMO_DRIVES)",
                      ERROR_PATH_NOT_FOUND);
    }
    hostPath = folder;
    return true;
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    std::string hostPath;
    std::string windowsPath;
    if (!detail::FindWindowsDirectory(hostPath, windowsPath)) {
        return 0;
    }
    const UINT length = static_cast<UINT>(windowsPath.size());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    std::memcpy(buffer, windowsPath.c_str(), length + 1);
    return length;
}

} // namespace win32
