#include "platform/win32/Shell.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/Handle.h"
#include "platform/win32/HostPath.h"
#include "platform/win32/HostProgram.h"
#include "platform/win32/LastError.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace win32 {

namespace {

constexpr const char* kDefaultOpener = "xdg-open";
constexpr ULONG kAcceptedMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
const HINSTANCE kStarted = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(42));
// Odd, so that no window of the window layer (whose handles are even) ever has it.
const HWND kDesktopWindow = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x10001));

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool HasUrlScheme(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsLetter(text[0])) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = text[i];
        if (!IsLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

bool IsWindowsProgram(std::string_view name) {
    constexpr std::string_view kExtension = ".exe";
    return name.size() >= kExtension.size() &&
           EqualNoCase(name.substr(name.size() - kExtension.size()), kExtension);
}

bool Fail(SHELLEXECUTEINFOA* info, DWORD error, UINT shellError) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(shellError));
    SetLastError(error);
    return false;
}

bool IsEmpty(LPCSTR text) {
    return text == nullptr || text[0] == '\0';
}

std::string Opener() {
    const char* opener = std::getenv("VEMO_OPENER");
    return opener != nullptr && opener[0] != '\0' ? opener : kDefaultOpener;
}

// What the opener is given for lpFile, or false with the failure recorded.
bool OpenerArgument(SHELLEXECUTEINFOA* info, std::string& argument) {
    if (IsEmpty(info->lpFile)) {
        return Fail(info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
    }
    if (HasUrlScheme(info->lpFile)) {
        argument = info->lpFile;
        return true;
    }
    HostPath host;
    if (!ResolveHostPath(info->lpFile, host)) {
        const bool fileMissing = GetLastError() == ERROR_FILE_NOT_FOUND;
        return Fail(info, fileMissing ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND,
                    fileMissing ? SE_ERR_FNF : SE_ERR_PNF);
    }
    if (!host.exists && !host.IsRoot()) {
        return Fail(info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
    }
    if (IsWindowsProgram(host.leaf)) {
        return Fail(info, ERROR_BAD_EXE_FORMAT, SE_ERR_BAD_FORMAT);
    }
    argument = host.Full();
    return true;
}

bool IsOpen(LPCSTR verb) {
    return verb == nullptr || EqualNoCase(verb, "open");
}

} // namespace

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hProcess = nullptr;
    if ((info->cbSize != kShellExecuteInfoSize && info->cbSize != sizeof(SHELLEXECUTEINFOA)) ||
        (info->fMask & ~kAcceptedMask) != 0 || !IsEmpty(info->lpParameters) || !IsEmpty(info->lpDirectory)) {
        return Fail(info, ERROR_INVALID_PARAMETER, SE_ERR_NOASSOC);
    }
    if (!IsOpen(info->lpVerb)) {
        return Fail(info, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC);
    }
    std::string argument;
    if (!OpenerArgument(info, argument)) {
        return FALSE;
    }
    const std::string opener = Opener();
    HANDLE process = detail::StartHostProgram(opener, {opener, argument});
    if (process == nullptr) {
        return Fail(info, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC);
    }
    info->hInstApp = kStarted;
    if ((info->fMask & SEE_MASK_NOCLOSEPROCESS) != 0) {
        info->hProcess = process;
    } else {
        CloseHandle(process);
    }
    return TRUE;
}

HWND GetDesktopWindow() {
    return kDesktopWindow;
}

} // namespace win32
