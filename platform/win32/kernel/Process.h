// Child processes.
//
// Paths here are Windows paths of the emulated machine, mapped to the host through the drive table as in
// every other kernel call (HostPath.h): the application name, a program named by its path on the command
// line, and the current folder. A program named without a drive or folder ("sh") is one of the host's, found
// on its PATH.
//
// A command line is split into the child's arguments by the rules of the Windows C runtime: arguments are
// separated by spaces and tabs; double quotes group; 2n backslashes before a quote give n backslashes and the
// quote groups, 2n+1 give n and a literal quote; "" inside a quoted stretch is a literal quote; other
// backslashes are literal. The first argument (the program) ends at the next quote when it starts with one,
// else at the first space or tab.
//
// Every child is reaped as soon as it exits, so none is left a zombie, whether or not its handle is still
// open. The process handle is waitable (signalled when the child has exited) and gives the exit code. The
// thread handle that CreateProcessA also returns names the same process: there is no separate main thread to
// name here.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

constexpr DWORD STILL_ACTIVE = 259;

// Creation flags. The priority classes and console flags are accepted and have no effect here; any other flag
// is refused with ERROR_INVALID_PARAMETER.
constexpr DWORD DEBUG_PROCESS = 0x00000001;
constexpr DWORD DEBUG_ONLY_THIS_PROCESS = 0x00000002;
constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD DETACHED_PROCESS = 0x00000008;
constexpr DWORD CREATE_NEW_CONSOLE = 0x00000010;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD IDLE_PRIORITY_CLASS = 0x00000040;
constexpr DWORD HIGH_PRIORITY_CLASS = 0x00000080;
constexpr DWORD REALTIME_PRIORITY_CLASS = 0x00000100;
constexpr DWORD CREATE_NEW_PROCESS_GROUP = 0x00000200;
constexpr DWORD BELOW_NORMAL_PRIORITY_CLASS = 0x00004000;
constexpr DWORD ABOVE_NORMAL_PRIORITY_CLASS = 0x00008000;
constexpr DWORD CREATE_NO_WINDOW = 0x08000000;

// The size Windows gives this record (its 32-bit layout); cb carries it.
constexpr DWORD kStartupInfoSize = 68;

struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    BYTE* lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};

// applicationName, when given, is the program (a Windows path, never searched for), and the command line
// gives only the child's arguments. Without it the program is the command line's first argument: a name
// without a drive or folder is searched for on the host's PATH, and an unquoted first argument containing
// spaces is tried at each space in turn, the shortest existing program winning, as Windows does. environment,
// when given, is a block of "NAME=value" texts each ended by a zero byte, the block ended by another. The
// start-up record is not read: this host has no desktops, window placement or console. Fails with the last
// error of the host's refusal (ERROR_FILE_NOT_FOUND for a missing program, ERROR_PATH_NOT_FOUND for a missing
// folder or drive on the way to it or a path without a drive, ERROR_DIRECTORY for a missing current folder).
// A program that exists is still never started: the programs a title names are Windows programs, which this
// host cannot run, and a host program must not run on a title's behalf. It fails with ERROR_BAD_EXE_FORMAT,
// unless a test allowed that host program (platform/testing/HostPrograms.h).
BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, const SECURITY_ATTRIBUTES* processAttributes,
                    const SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCSTR currentDirectory, STARTUPINFOA* startupInfo,
                    PROCESS_INFORMATION* processInformation);

// STILL_ACTIVE while the child runs; then its exit status, or 128 plus the signal number that ended it.
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);

// The calling process's own start-up settings: all zero but the size (68) and the title, which is the
// program's path.
void GetStartupInfoA(STARTUPINFOA* startupInfo);

} // namespace win32
