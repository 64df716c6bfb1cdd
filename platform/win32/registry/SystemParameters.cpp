#include "platform/win32/registry/SystemParameters.h"

#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/TitleFile.h"
#include "platform/win32/registry/Registry.h"

#include <fcntl.h>
#include <mutex>
#include <string>
#include <vector>

namespace win32 {

namespace {

constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kScreenSaveActiveValue = "ScreenSaveActive";
constexpr const char* kWallpaperValue = "Wallpaper";

struct Session {
    std::mutex lock;
    bool loaded = false;
    bool screenSaveActive = false;
    std::string wallpaper;
};

Session& TheSession() {
    static Session* session = new Session;
    return *session;
}

// A REG_SZ value of the desktop key up to its first zero, within the size the store gave; empty when it is
// missing or of another type.
std::string ReadDesktopString(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {};
    }
    std::string text;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ &&
        size > 0) {
        std::vector<BYTE> data(size);
        if (RegQueryValueExA(key, name, nullptr, nullptr, data.data(), &size) == ERROR_SUCCESS) {
            for (DWORD i = 0; i < size && data[i] != 0; ++i) {
                text += static_cast<char>(data[i]);
            }
        }
    }
    RegCloseKey(key);
    return text;
}

// With the session's lock held.
void Load(Session& session) {
    if (session.loaded) {
        return;
    }
    session.screenSaveActive = ReadDesktopString(kScreenSaveActiveValue) == "1";
    session.wallpaper = ReadDesktopString(kWallpaperValue);
    session.loaded = true;
}

BOOL StoreDesktopString(const char* name, const std::string& text) {
    const LSTATUS status = WriteRegistryValues(HKEY_CURRENT_USER, kDesktopKey, {RegistryString(name, text)});
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return FALSE;
    }
    return TRUE;
}

bool IsExistingFile(LPCSTR path) {
    HostPath host;
    if (!ResolveHostPath(path, host)) {
        return false;
    }
    HostDescriptor file(OpenTitleFile(host, O_PATH, TitleFileKind::File));
    if (file.Get() < 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    return true;
}

} // namespace

BOOL SystemParametersInfoA(UINT action, UINT uiParam, LPVOID param, UINT winIni) {
    Session& session = TheSession();
    const bool store = (winIni & SPIF_UPDATEINIFILE) != 0;
    switch (action) {
    case SPI_GETSCREENSAVEACTIVE: {
        if (param == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        std::lock_guard guard(session.lock);
        Load(session);
        *static_cast<BOOL*>(param) = session.screenSaveActive ? TRUE : FALSE;
        return TRUE;
    }
    case SPI_SETSCREENSAVEACTIVE: {
        std::lock_guard guard(session.lock);
        Load(session);
        session.screenSaveActive = uiParam != 0;
        return store ? StoreDesktopString(kScreenSaveActiveValue, uiParam != 0 ? "1" : "0") : TRUE;
    }
    case SPI_SETDESKWALLPAPER: {
        const char* text = static_cast<const char*>(param);
        const std::string wallpaper = text != nullptr ? text : "";
        if (!wallpaper.empty() && !IsExistingFile(wallpaper.c_str())) {
            return FALSE;
        }
        std::lock_guard guard(session.lock);
        Load(session);
        session.wallpaper = wallpaper;
        return store ? StoreDesktopString(kWallpaperValue, wallpaper) : TRUE;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

namespace seam {

void ResetSystemParameters() {
    Session& session = TheSession();
    std::lock_guard guard(session.lock);
    session.loaded = false;
    session.screenSaveActive = false;
    session.wallpaper.clear();
}

std::string SessionWallpaper() {
    Session& session = TheSession();
    std::lock_guard guard(session.lock);
    Load(session);
    return session.wallpaper;
}

} // namespace seam

} // namespace win32
