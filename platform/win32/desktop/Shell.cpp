#include "platform/win32/desktop/Shell.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/Handle.h"
#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/TitleFile.h"
#include "platform/win32/kernel/HostProgram.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// The scheme of a text that starts with one (two or more letters, digits, '+', '-' or '.', the first a
// letter, then ':'), else empty.
std::string_view UrlScheme(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsLetter(text[0])) {
        return {};
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = text[i];
        if (!IsLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return {};
        }
    }
    return text.substr(0, colon);
}

// Addresses the opener may be given: web pages and mail. Any other scheme may name a program, a file
// outside the title's drives or a handler of the host's.
bool IsOpenableScheme(std::string_view scheme) {
    return EqualNoCase(scheme, "http") || EqualNoCase(scheme, "https") || EqualNoCase(scheme, "mailto");
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && EqualNoCase(text.substr(text.size() - end.size()), end);
}

// The last component of a host path.
std::string_view LastName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The kinds of file the opener is given: documents that the host's programs show, never run. Any other kind
// may belong to a program that runs what it opens (a Java or Windows emulator, a desktop's own launcher).
constexpr std::string_view kDocumentExtensions[] = {
    ".txt", ".htm", ".html",                                            // text and web pages
    ".pdf", ".rtf",                                                     // PDF and RTF
    ".bmp", ".gif", ".jpg",  ".jpeg", ".png", ".pcx",  ".tif", ".tiff", // pictures
    ".wav", ".mp3", ".mid",  ".midi", ".aif", ".aiff",                  // sounds
    ".mov", ".avi", ".mpg",  ".mpeg", ".mp4",                           // movies
};

// The name as the opener sees it decides the type, so it is taken as it stands: "page.html." is no page.
bool IsDocumentName(std::string_view name) {
    for (std::string_view extension : kDocumentExtensions) {
        if (name.size() > extension.size() && EndsWithNoCase(name, extension)) {
            return true;
        }
    }
    return false;
}

constexpr const char* kUnreadable = "a file that cannot be read";

// Why a regular file's content makes it a program, or null.
const char* ProgramByContent(int fd) {
    char start[5] = {};
    ssize_t got;
    while ((got = pread(fd, start, sizeof start, 0)) < 0 && errno == EINTR) {
    }
    if (got < 0) {
        return kUnreadable;
    }
    std::string_view head(start, static_cast<std::size_t>(got));
    if (head.starts_with("\x7f"
                         "ELF")) {
        return "a program (an ELF header)";
    }
    if (head.starts_with("MZ")) {
        return "a Windows program (an MZ header)";
    }
    // A shell does not care for the byte-order mark an editor may have put before the "#!".
    if (head.starts_with("\xef\xbb\xbf")) {
        head.remove_prefix(3);
    }
    if (head.starts_with("#!")) {
        return "a program (a #! line)";
    }
    return nullptr;
}

// Why the opener must not be given this regular file, or null: the name the title gave (a link's own name)
// and the name of the file it opened (where the link leads) must both be a document's.
const char* RefusalByName(const HostPath& host, int fd) {
    constexpr const char* kNoDocument =
        "not a document (only text, web pages, PDF, RTF, pictures, sounds and movies are opened)";
    if (!IsDocumentName(host.leaf)) {
        return kNoDocument;
    }
    const std::string opened = OpenedHostPath(fd);
    if (opened.empty()) {
        return kUnreadable;
    }
    return IsDocumentName(LastName(opened)) ? nullptr : kNoDocument;
}

// Why the title's file could not be opened to be looked at; its kind is looked at again only to say so.
const char* OpenRefusal(const HostPath& host) {
    struct stat info {};
    const HostDescriptor look(host.OpenBelow(O_PATH | O_CLOEXEC));
    if (look.Get() >= 0 && fstat(look.Get(), &info) == 0 && !S_ISREG(info.st_mode) &&
        !S_ISDIR(info.st_mode)) {
        return "not a regular file";
    }
    return kUnreadable;
}

// Why the opener must not be given this file, or null: only folders, and regular files of a document's name
// whose content is no program, are opened. Its type, content and name are all taken from the one descriptor
// the title's file opened as, so nothing swapped in between a check and the next is let through. The
// execute bit is not looked at: discs copied from FAT set it on every file.
const char* Refusal(const HostPath& host) {
    const HostDescriptor fd(OpenTitleFile(host, O_RDONLY, TitleFileKind::FileOrFolder));
    if (fd.Get() < 0) {
        return OpenRefusal(host);
    }
    struct stat info {};
    if (fstat(fd.Get(), &info) != 0) {
        return kUnreadable;
    }
    if (S_ISDIR(info.st_mode)) {
        return nullptr;
    }
    const char* why = ProgramByContent(fd.Get());
    return why != nullptr ? why : RefusalByName(host, fd.Get());
}

bool Fail(SHELLEXECUTEINFOA* info, DWORD error, UINT shellError) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(shellError));
    SetLastError(error);
    return false;
}

// A refusal fails as a missing file does, so a title learns nothing it could not learn on Windows; the
// player sees why on the standard error.
bool Refuse(SHELLEXECUTEINFOA* info, const char* why) {
    std::fprintf(stderr, "vemo: not opened: %s: %s\n", info->lpFile, why);
    return Fail(info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
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
    const std::string_view scheme = UrlScheme(info->lpFile);
    if (!scheme.empty()) {
        if (!IsOpenableScheme(scheme)) {
            return Refuse(info, "only http, https and mailto addresses are opened");
        }
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
    if (const char* why = Refusal(host)) {
        return Refuse(info, why);
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
