#include "platform/win32/windows/WindowExchange.h"

#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowSystem.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace win32::exchange {

namespace {

// How long a process waits for another to answer: one that is stopped or stuck must not hang the asker.
constexpr int kAnswerSeconds = 2;
constexpr std::size_t kLongestRequest = 4096;
constexpr char kFind = 'F';
constexpr char kPost = 'P';

// The folder of the desktop's sockets (made when asked to and missing); empty on the "private" desktop or
// when no folder can be had.
std::string DesktopFolder(bool make) {
    const char* named = std::getenv("VEMO_DESKTOP");
    const std::string desktop = named != nullptr && *named != '\0' ? named : "default";
    if (desktop == "private") {
        return {};
    }
    std::string base;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode)) {
        base = runtime;
    } else {
        base = "/tmp/vemo-" + std::to_string(::getuid());
        if (make) {
            ::mkdir(base.c_str(), 0700);
        }
        // A folder of someone else's, or a link planted in its place, is not used.
        if (::lstat(base.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
            return {};
        }
    }
    std::string escaped;
    for (unsigned char c : desktop) {
        if (std::isalnum(c) != 0 || c == '-' || c == '_' || c == '.') {
            escaped += static_cast<char>(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            escaped += code;
        }
    }
    if (escaped.size() > 48) {
        std::uint64_t hash = 0xCBF29CE484222325u; // FNV-1a: the same in every process
        for (unsigned char c : desktop) {
            hash = (hash ^ c) * 0x100000001B3u;
        }
        char text[17];
        std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(hash));
        escaped = text;
    }
    const std::string folder = base + "/vemo-desktop-" + escaped;
    if (make) {
        ::mkdir(folder.c_str(), 0700);
    }
    return folder;
}

bool AddressOf(const std::string& path, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void PutBytes(std::string& out, const void* value, std::size_t size) {
    out.append(static_cast<const char*>(value), size);
}

template <class T>
bool TakeValue(std::string_view& in, T& value) {
    if (in.size() < sizeof value) {
        return false;
    }
    std::memcpy(&value, in.data(), sizeof value);
    in.remove_prefix(sizeof value);
    return true;
}

// Asks the process behind the socket and returns its answer; false when nobody answers (a socket left by a
// process that is gone is removed then).
bool Ask(const std::string& path, const std::string& request, std::string& answer) {
    sockaddr_un address{};
    if (!AddressOf(path, address)) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    timeval limit{kAnswerSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno == ECONNREFUSED) {
            ::unlink(path.c_str());
        }
        ::close(fd);
        return false;
    }
    char buffer[64];
    ssize_t received = -1;
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
        received = ::recv(fd, buffer, sizeof buffer, 0);
    }
    ::close(fd);
    if (received <= 0) {
        return false;
    }
    answer.assign(buffer, static_cast<std::size_t>(received));
    return true;
}

std::string FindAnswer(std::string_view request) {
    // The class, a zero, whether a title follows, then the title and a zero.
    const std::size_t classEnd = request.find('\0');
    if (classEnd == std::string_view::npos || classEnd + 1 >= request.size()) {
        return {};
    }
    const std::string className(request.substr(0, classEnd));
    const bool hasTitle = request[classEnd + 1] != 0;
    std::string_view rest = request.substr(classEnd + 2);
    const std::string title(rest.substr(0, rest.find('\0')));
    const HWND found = FindLocalWindow(className.c_str(), hasTitle ? title.c_str() : nullptr);
    std::string answer;
    const auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(found));
    PutBytes(answer, &value, sizeof value);
    return answer;
}

std::string PostAnswer(std::string_view request) {
    std::uint64_t window = 0;
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    const bool read = TakeValue(request, window) && TakeValue(request, message) &&
                      TakeValue(request, wParam) && TakeValue(request, lParam);
    const bool posted =
        read && PostToLocalWindow(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)), message,
                                  static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) != FALSE;
    return std::string(1, posted ? '\1' : '\0');
}

// This process's socket and the thread that answers on it, until the process ends.
class Listener {
public:
    explicit Listener(std::string folder)
        : m_folder(std::move(folder)), m_path(m_folder + "/" + std::to_string(::getpid())) {
        sockaddr_un address{};
        if (!AddressOf(m_path, address) || ::pipe2(m_wake, O_CLOEXEC) != 0) {
            return;
        }
        m_socket = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        // A socket of this id left by a process that is gone is in the way.
        ::unlink(m_path.c_str());
        bool bound = m_socket >= 0 &&
                     ::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        if (!bound && errno == ENOENT) {
            // The last process of the desktop took its folder away just now.
            ::mkdir(m_folder.c_str(), 0700);
            bound = ::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        }
        if (!bound || ::listen(m_socket, 16) != 0) {
            std::fprintf(stderr, "windows of this process cannot be reached from others (%s): %s\n",
                         m_path.c_str(), std::strerror(errno));
            return;
        }
        m_thread = std::thread([this] { Answer(); });
    }

    ~Listener() {
        if (m_thread.joinable()) {
            const char stop = 0;
            [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &stop, 1);
            m_thread.join();
            ::unlink(m_path.c_str());
            // Only an empty folder goes: the desktop's last process takes it away.
            ::rmdir(m_folder.c_str());
        }
        for (int fd : {m_socket, m_wake[0], m_wake[1]}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

private:
    void Answer() {
        for (;;) {
            pollfd waits[2] = {{m_socket, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(waits, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (waits[1].revents != 0) {
                return;
            }
            const int client = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) {
                continue;
            }
            timeval limit{kAnswerSeconds, 0};
            ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
            char buffer[kLongestRequest];
            const ssize_t received = ::recv(client, buffer, sizeof buffer, 0);
            if (received > 0) {
                const std::string_view request(buffer + 1, static_cast<std::size_t>(received) - 1);
                const std::string answer = buffer[0] == kFind   ? FindAnswer(request)
                                           : buffer[0] == kPost ? PostAnswer(request)
                                                                : std::string();
                if (!answer.empty()) {
                    ::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
                }
            }
            ::close(client);
        }
    }

    std::string m_folder;
    std::string m_path;
    int m_socket = -1;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};

struct StandIn {
    std::string socket;
    std::uint64_t window = 0;
};

struct StandIns {
    std::mutex lock;
    std::map<std::uintptr_t, StandIn> byHandle;
};

StandIns& TheStandIns() {
    static StandIns* standIns = new StandIns;
    return *standIns;
}

HWND StandInFor(const std::string& socket, std::uint64_t window) {
    StandIns& standIns = TheStandIns();
    {
        std::lock_guard guard(standIns.lock);
        for (const auto& [handle, standIn] : standIns.byHandle) {
            if (standIn.socket == socket && standIn.window == window) {
                return reinterpret_cast<HWND>(handle);
            }
        }
    }
    HWND handle = nullptr;
    {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        handle = system.NewHandle();
    }
    std::lock_guard guard(standIns.lock);
    standIns.byHandle.emplace(reinterpret_cast<std::uintptr_t>(handle), StandIn{socket, window});
    return handle;
}

// The process ids of the sockets in the folder, in order, without this process's own.
std::vector<long> OtherProcesses(const std::string& folder) {
    std::vector<long> ids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        char* end = nullptr;
        const long id = std::strtol(name.c_str(), &end, 10);
        if (!name.empty() && *end == '\0' && id > 0 && id != ::getpid()) {
            ids.push_back(id);
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace

void Publish() {
    static std::once_flag once;
    std::call_once(once, [] {
        const std::string folder = DesktopFolder(true);
        if (!folder.empty()) {
            // Stopped and its socket removed when the process ends.
            static Listener listener(folder);
        }
    });
}

HWND FindInOtherProcesses(LPCSTR className, LPCSTR windowName) {
    const std::string folder = DesktopFolder(false);
    if (folder.empty() || className == nullptr) {
        return nullptr;
    }
    std::string request(1, kFind);
    request += className;
    request += '\0';
    request += windowName != nullptr ? '\1' : '\0';
    request += windowName != nullptr ? windowName : "";
    request += '\0';
    if (request.size() > kLongestRequest) {
        return nullptr;
    }
    for (long id : OtherProcesses(folder)) {
        const std::string socket = folder + "/" + std::to_string(id);
        std::string answer;
        if (!Ask(socket, request, answer)) {
            continue;
        }
        std::string_view view(answer);
        std::uint64_t window = 0;
        if (TakeValue(view, window) && window != 0) {
            return StandInFor(socket, window);
        }
    }
    return nullptr;
}

bool StandsForOtherProcess(HWND window) {
    StandIns& standIns = TheStandIns();
    std::lock_guard guard(standIns.lock);
    return standIns.byHandle.count(reinterpret_cast<std::uintptr_t>(window)) != 0;
}

BOOL PostToOtherProcess(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    StandIn standIn;
    {
        StandIns& standIns = TheStandIns();
        std::lock_guard guard(standIns.lock);
        auto found = standIns.byHandle.find(reinterpret_cast<std::uintptr_t>(window));
        if (found == standIns.byHandle.end()) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        standIn = found->second;
    }
    std::string request(1, kPost);
    const std::uint32_t number = message;
    const auto first = static_cast<std::uint64_t>(wParam);
    const auto second = static_cast<std::int64_t>(lParam);
    PutBytes(request, &standIn.window, sizeof standIn.window);
    PutBytes(request, &number, sizeof number);
    PutBytes(request, &first, sizeof first);
    PutBytes(request, &second, sizeof second);
    std::string answer;
    if (!Ask(standIn.socket, request, answer) || answer != std::string(1, '\1')) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}

} // namespace win32::exchange
