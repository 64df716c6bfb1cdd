// The shell: opening documents and web addresses, and the desktop window. Nothing here touches the host's
// desktop beyond starting its opener.
//
// Settings:
//   VEMO_OPENER  the host program that opens documents and addresses: a host path, or a name looked for on
//                the host's PATH. Default (unset or empty): xdg-open. Tests point it at a script that records
//                its argument.
#pragma once

#include "platform/win32/LastError.h"
#include "platform/win32/Types.h"

namespace win32 {

// The size Windows gives SHELLEXECUTEINFOA (its 32-bit layout); cbSize carries it, or this host's
// sizeof(SHELLEXECUTEINFOA).
constexpr DWORD kShellExecuteInfoSize = 60;

// fMask: return the started process's handle in hProcess; show no error box (none is ever shown here).
constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr ULONG SEE_MASK_FLAG_NO_UI = 0x00000400;

// hInstApp after a failure; above 32 after a success.
constexpr UINT SE_ERR_FNF = 2;
constexpr UINT SE_ERR_PNF = 3;
constexpr UINT SE_ERR_ACCESSDENIED = 5;
constexpr UINT SE_ERR_OOM = 8;
constexpr UINT SE_ERR_BAD_FORMAT = 11;
constexpr UINT SE_ERR_NOASSOC = 31;

constexpr DWORD ERROR_NO_ASSOCIATION = 1155;

struct SHELLEXECUTEINFOA {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCSTR lpVerb;
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    LPVOID lpIDList;
    LPCSTR lpClass;
    LPVOID hkeyClass; // a registry key of the file's class; classes are not looked up here
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
};

// Opens lpFile with the verb "open" (or no verb) through the opener (VEMO_OPENER, above), started with one
// argument and no shell, without waiting for it. It opens documents, folders and addresses, never a program:
// - a text that starts with a URL scheme (two or more letters, digits, '+', '-' or '.', the first a letter,
//   then ':') is passed as it stands when the scheme is http, https or mailto (any case);
// - any other text is a Windows path, mapped through the drive table (HostPath.h); its host path is passed
//   when it names an existing folder, or a regular file that is a document: its name (and, for a link, the
//   name of the file it leads to) ends in the extension of a text or web page (".txt", ".htm", ".html"), a
//   PDF or RTF document (".pdf", ".rtf"), a picture (".bmp", ".gif", ".jpg", ".jpeg", ".png", ".pcx", ".tif",
//   ".tiff"), a sound (".wav", ".mp3", ".mid", ".midi", ".aif", ".aiff") or a movie (".mov", ".avi", ".mpg",
//   ".mpeg", ".mp4"), in any case, and its content is no program: it starts neither with an ELF header, nor
//   with "MZ", nor with "#!" (after a UTF-8 byte-order mark or not). The execute bit is not looked at. The
//   path itself is passed, so that a page keeps the pictures beside it.
// What is refused (another scheme, another kind of file, a program, a FIFO, socket or device) fails as a
// missing file does, and one line on the standard error says what was refused and why. Fails at once,
// starting nothing and showing nothing, for a path that names no existing file or folder
// (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND; hInstApp SE_ERR_FNF, SE_ERR_PNF), an opener that cannot be
// started (ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC), another verb (ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC),
// parameters or a folder to start in, other fMask bits, or a wrong cbSize (ERROR_INVALID_PARAMETER). On
// success hInstApp is 42 and, with SEE_MASK_NOCLOSEPROCESS, hProcess the opener's process handle (the caller
// closes it); without it the handle is closed here. Either way the opener is reaped when it exits. hwnd and
// nShow are not used: the opener shows what it opens as the host's desktop decides.
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info);

// The desktop window: one fixed handle, never a window of the window layer, so calls that take a window
// (SetForegroundWindow among them) refuse it and leave the title's windows as they are.
HWND GetDesktopWindow();

} // namespace win32
