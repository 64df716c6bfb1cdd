#include "platform/win32/kernel/Process.h"

#include "platform/win32/HandleTable.h"
#include "platform/win32/KernelRegion.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/kernel/HostProgram.h"
#include "platform/win32/kernel/WaitableObject.h"

#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

extern char** environ;

namespace win32 {

namespace {

using detail::Acquisition;
using detail::RunInKernelRegion;

constexpr DWORD kAcceptedFlags = NORMAL_PRIORITY_CLASS | IDLE_PRIORITY_CLASS | HIGH_PRIORITY_CLASS |
                                 REALTIME_PRIORITY_CLASS | BELOW_NORMAL_PRIORITY_CLASS |
                                 ABOVE_NORMAL_PRIORITY_CLASS | DETACHED_PROCESS | CREATE_NEW_CONSOLE |
                                 CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW;
constexpr std::size_t kReaperStackSize = 256 * 1024;

class ProcessObject final : public detail::WaitableObject {
public:
    void SetPid(pid_t pid) { m_pid = pid; }
    pid_t Pid() const { return m_pid; }

    void Exited(DWORD code) {
        RunInKernelRegion([&] {
            StateLock lock(*this);
            m_exited = true;
            m_exitCode = code;
            AnnounceChangeLocked();
        });
    }

    DWORD ExitCode() {
        return RunInKernelRegion([&] {
            StateLock lock(*this);
            return m_exited ? m_exitCode : STILL_ACTIVE;
        });
    }

private:
    Acquisition TryAcquireLocked() override { return m_exited ? Acquisition::Acquired : Acquisition::NotYet; }

    pid_t m_pid = 0; // set before the reaper starts, then only read
    bool m_exited = false;
    DWORD m_exitCode = 0;
};

DWORD ExitCodeFromStatus(int status) {
    if (WIFEXITED(status)) {
        return static_cast<DWORD>(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return 128 + static_cast<DWORD>(WTERMSIG(status));
    }
    return 0;
}

// One reaper thread per child: it waits for that child alone, so children started by other code are left to
// it.
void* Reap(void* start) {
    std::shared_ptr<ProcessObject> process = std::move(*static_cast<std::shared_ptr<ProcessObject>*>(start));
    delete static_cast<std::shared_ptr<ProcessObject>*>(start);
    int status = 0;
    pid_t reaped;
    while ((reaped = waitpid(process->Pid(), &status, 0)) < 0 && errno == EINTR) {
    }
    // Reaped by someone else already (a waitpid(-1) elsewhere): the status is lost.
    process->Exited(reaped < 0 ? 0xFFFFFFFF : ExitCodeFromStatus(status));
    return nullptr;
}

bool StartReaper(const std::shared_ptr<ProcessObject>& process) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_attr_setstacksize(&attributes, kReaperStackSize);
    auto* start = new std::shared_ptr<ProcessObject>(process);
    pthread_t id;
    const int error = pthread_create(&id, &attributes, Reap, start);
    pthread_attr_destroy(&attributes);
    if (error != 0) {
        delete start;
        return false;
    }
    return true;
}

bool IsWhite(char c) {
    return c == ' ' || c == '\t';
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// A name without a drive or a folder: a program the host's PATH folders offer.
bool IsBareName(const std::string& program) {
    return program.find_first_of("/\\:") == std::string::npos;
}

std::string FindOnPath(const std::string& name) {
    const char* search = std::getenv("PATH");
    std::string folders = search != nullptr ? search : "/usr/local/bin:/usr/bin:/bin";
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = folders.find(':', begin);
        std::string folder =
            folders.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        if (end == std::string::npos) {
            return std::string();
        }
        begin = end + 1;
    }
}

// The host path of the program a name or a Windows path gives, or false with the last error set:
// ERROR_FILE_NOT_FOUND for a program that does not exist, the path's own error for a missing drive or
// folder. An existing file that cannot be run is given too, for the spawn to refuse with the host's reason.
bool HostPathOfProgram(const std::string& program, bool searchPath, std::string& out) {
    if (searchPath && IsBareName(program)) {
        out = FindOnPath(program);
        if (out.empty()) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return false;
        }
        return true;
    }
    HostPath host;
    if (!ResolveHostPath(program.c_str(), host)) {
        return false;
    }
    if (!host.exists || host.IsRoot()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    out = host.Full();
    return true;
}

// The host path of a program named on a command line, or empty when it names no program that can run.
std::string Locate(const std::string& program) {
    const DWORD saved = GetLastError();
    std::string path;
    if (!HostPathOfProgram(program, true, path) || !IsExecutableFile(path)) {
        path.clear();
    }
    SetLastError(saved);
    return path;
}

// The host programs tests allowed (HostProgram.h); empty in the product.
std::mutex g_allowedMutex;
std::vector<std::string>& AllowedPrograms() {
    static std::vector<std::string>* const programs = new std::vector<std::string>();
    return *programs;
}

// The file a path names, links followed; empty when there is none.
std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return !path.empty() && realpath(path.c_str(), resolved) != nullptr ? std::string(resolved)
                                                                        : std::string();
}

bool IsAllowedProgram(const std::string& hostPath) {
    const std::string program = RealPath(hostPath);
    std::lock_guard<std::mutex> lock(g_allowedMutex);
    for (const std::string& allowed : AllowedPrograms()) {
        if (!program.empty() && RealPath(IsBareName(allowed) ? FindOnPath(allowed) : allowed) == program) {
            return true;
        }
    }
    return false;
}

bool HostFolder(LPCSTR windowsPath, std::string& out) {
    HostPath host;
    struct stat info {};
    if (!ResolveHostPath(windowsPath, host) || !host.exists || stat(host.Full().c_str(), &info) != 0 ||
        !S_ISDIR(info.st_mode)) {
        return false;
    }
    out = host.Full();
    return true;
}

// The first argument: quotes toggle, no backslash is special, it ends at a space or tab outside quotes.
std::string ReadProgramArgument(const char*& p) {
    while (IsWhite(*p)) {
        ++p;
    }
    std::string argument;
    bool quoted = false;
    for (; *p != '\0' && (quoted || !IsWhite(*p)); ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else {
            argument += *p;
        }
    }
    return argument;
}

std::vector<std::string> ReadArguments(const char* p) {
    std::vector<std::string> arguments;
    for (;;) {
        while (IsWhite(*p)) {
            ++p;
        }
        if (*p == '\0') {
            return arguments;
        }
        std::string argument;
        bool quoted = false;
        for (;;) {
            bool copy = true;
            std::size_t backslashes = 0;
            while (*p == '\\') {
                ++p;
                ++backslashes;
            }
            if (*p == '"') {
                if (backslashes % 2 == 0) {
                    if (quoted && p[1] == '"') {
                        ++p; // "" inside quotes: a literal quote
                    } else {
                        copy = false;
                        quoted = !quoted;
                    }
                }
                backslashes /= 2;
            }
            argument.append(backslashes, '\\');
            if (*p == '\0' || (!quoted && IsWhite(*p))) {
                break;
            }
            if (copy) {
                argument += *p;
            }
            ++p;
        }
        arguments.push_back(std::move(argument));
    }
}

struct Launch {
    std::string path; // the host program to run
    std::vector<std::string> argv;
};

// Without an application name: the program is the first argument. Unquoted and containing spaces, it is tried
// at each space from the left, as Windows does, so that C:\My Programs\run me finds "run me" in "My Programs"
// when there is no program C:\My.
bool LaunchFromCommandLine(const char* commandLine, Launch& launch) {
    const char* p = commandLine;
    while (IsWhite(*p)) {
        ++p;
    }
    if (*p == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (*p != '"') {
        for (const char* end = p;; ++end) {
            if (*end != '\0' && !IsWhite(*end)) {
                continue;
            }
            std::string candidate(p, end);
            std::string path = Locate(candidate);
            if (!path.empty()) {
                launch.path = path;
                launch.argv.push_back(candidate);
                for (std::string& argument : ReadArguments(end)) {
                    launch.argv.push_back(std::move(argument));
                }
                return true;
            }
            if (*end == '\0') {
                break;
            }
        }
    }
    std::string program = ReadProgramArgument(p);
    if (!HostPathOfProgram(program, true, launch.path)) {
        return false;
    }
    launch.argv.push_back(std::move(program));
    for (std::string& argument : ReadArguments(p)) {
        launch.argv.push_back(std::move(argument));
    }
    return true;
}

bool LaunchFromApplicationName(const char* applicationName, const char* commandLine, Launch& launch) {
    if (!HostPathOfProgram(applicationName, false, launch.path)) {
        return false;
    }
    if (commandLine != nullptr) {
        const char* p = commandLine;
        std::string first = ReadProgramArgument(p);
        if (!first.empty() || *p != '\0') {
            launch.argv.push_back(std::move(first));
            for (std::string& argument : ReadArguments(p)) {
                launch.argv.push_back(std::move(argument));
            }
        }
    }
    if (launch.argv.empty()) {
        launch.argv.push_back(applicationName);
    }
    return true;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::vector<std::string> EnvironmentFromBlock(const char* block) {
    std::vector<std::string> variables;
    for (const char* p = block; *p != '\0'; p += std::strlen(p) + 1) {
        variables.emplace_back(p);
    }
    return variables;
}

// Spawns the child with every signal back at its default and none blocked, as a new Windows process starts.
int Spawn(Launch& launch, const char* environment, const char* currentDirectory, pid_t& pid) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (currentDirectory != nullptr) {
        posix_spawn_file_actions_addchdir_np(&actions, currentDirectory);
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv = Pointers(launch.argv);
    std::vector<std::string> variables;
    std::vector<char*> envp;
    if (environment != nullptr) {
        variables = EnvironmentFromBlock(environment);
        envp = Pointers(variables);
    }
    const int error = posix_spawn(&pid, launch.path.c_str(), &actions, &attributes, argv.data(),
                                  environment != nullptr ? envp.data() : environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

// Spawns the child and starts its reaper; null with the last error set when it cannot.
std::shared_ptr<ProcessObject> Start(Launch& launch, const char* environment, const char* currentDirectory) {
    auto process = std::make_shared<ProcessObject>();
    pid_t pid = 0;
    const int error = Spawn(launch, environment, currentDirectory, pid);
    if (error != 0) {
        SetLastError(ErrorFromErrno(error));
        return nullptr;
    }
    process->SetPid(pid);
    if (!StartReaper(process)) {
        // Without a reaper the child would be left a zombie: take it back now.
        kill(pid, SIGKILL);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return process;
}

} // namespace

BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine,
                    const SECURITY_ATTRIBUTES* /*processAttributes*/,
                    const SECURITY_ATTRIBUTES* /*threadAttributes*/, BOOL /*inheritHandles*/,
                    DWORD creationFlags, LPVOID environment, LPCSTR currentDirectory,
                    STARTUPINFOA* startupInfo, PROCESS_INFORMATION* processInformation) {
    return RunInKernelRegion([&] {
        if (startupInfo == nullptr || processInformation == nullptr ||
            (creationFlags & ~kAcceptedFlags) != 0 ||
            (applicationName == nullptr && commandLine == nullptr)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        std::string folder;
        if (currentDirectory != nullptr && !HostFolder(currentDirectory, folder)) {
            SetLastError(ERROR_DIRECTORY);
            return FALSE;
        }
        Launch launch;
        const bool prepared = applicationName != nullptr
                                  ? LaunchFromApplicationName(applicationName, commandLine, launch)
                                  : LaunchFromCommandLine(commandLine, launch);
        if (!prepared) {
            return FALSE;
        }
        if (!IsAllowedProgram(launch.path)) {
            SetLastError(ERROR_BAD_EXE_FORMAT);
            return FALSE;
        }
        std::shared_ptr<ProcessObject> process =
            Start(launch, static_cast<const char*>(environment),
                  currentDirectory != nullptr ? folder.c_str() : nullptr);
        if (!process) {
            return FALSE;
        }
        processInformation->hProcess = RegisterHandle(process);
        processInformation->hThread = RegisterHandle(process);
        processInformation->dwProcessId = static_cast<DWORD>(process->Pid());
        processInformation->dwThreadId =
            static_cast<DWORD>(process->Pid()); // the host's main thread id is the process id
        return TRUE;
    });
}

HANDLE detail::StartHostProgram(const std::string& program, std::vector<std::string> arguments) {
    return RunInKernelRegion([&]() -> HANDLE {
        Launch launch;
        launch.path = IsBareName(program) ? FindOnPath(program) : program;
        if (launch.path.empty()) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
        launch.argv = std::move(arguments);
        std::shared_ptr<ProcessObject> process = Start(launch, nullptr, nullptr);
        return process ? RegisterHandle(process) : nullptr;
    });
}

void detail::AllowHostProgram(const std::string& program) {
    std::lock_guard<std::mutex> lock(g_allowedMutex);
    AllowedPrograms().push_back(program);
}

void detail::ForbidHostProgram(const std::string& program) {
    std::lock_guard<std::mutex> lock(g_allowedMutex);
    std::vector<std::string>& programs = AllowedPrograms();
    for (auto it = programs.begin(); it != programs.end(); ++it) {
        if (*it == program) {
            programs.erase(it);
            return;
        }
    }
}

BOOL GetExitCodeProcess(HANDLE handle, DWORD* exitCode) {
    return RunInKernelRegion([&] {
        std::shared_ptr<ProcessObject> process = LookupHandleAs<ProcessObject>(handle);
        if (!process) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        *exitCode = process->ExitCode();
        return TRUE;
    });
}

void GetStartupInfoA(STARTUPINFOA* startupInfo) {
    static char title[PATH_MAX];
    static std::once_flag once;
    std::call_once(once, [] {
        const ssize_t length = readlink("/proc/self/exe", title, sizeof title - 1);
        title[length > 0 ? length : 0] = '\0';
    });
    *startupInfo = STARTUPINFOA{};
    startupInfo->cb = kStartupInfoSize;
    startupInfo->lpTitle = title;
}

} // namespace win32
