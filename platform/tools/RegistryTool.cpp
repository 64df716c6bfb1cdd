// vemo-registry (installed as quorven-registry): the registry store of the emulated machine from the host's
// command line, for scripts that install titles (scripts/register-title). It names itself as it was started.
//
//     vemo-registry windows-path HOST-PATH
//         prints the Windows path that the drive table (VEMO_DRIVES) gives an absolute host path
//     vemo-registry set KEY NAME=TEXT...
//         stores REG_SZ values under KEY ("HKEY_LOCAL_MACHINE\Software\..."), making the key, in one write of
//         the store (VEMO_REGISTRY, platform/win32/registry/Registry.h)
//
// Exit code 0 on success, 1 when the work fails and 2 for a command line it does not take; failures are said
// on the standard error.
#include "platform/win32/files/HostPath.h"
#include "platform/win32/registry/Registry.h"
#include "platform/win32/registry/RegistryStore.h"
#include "platform/win32/registry/RegistryTree.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The name the program was started with: installed, it is quorven-registry.
std::string g_name = "vemo-registry";

int WindowsPath(const std::string& host) {
    const std::string windows = win32::WindowsPathFromHost(host);
    if (host.empty() || host.front() != '/' || windows.empty()) {
        std::fprintf(stderr, "%s: no drive of the emulated machine shows %s (VEMO_DRIVES)\n", g_name.c_str(),
                     host.c_str());
        return 1;
    }
    std::printf("%s\n", windows.c_str());
    return 0;
}

int Set(const std::string& key, const std::vector<std::string>& assignments) {
    const std::size_t slash = key.find('\\');
    const int root = win32::RegistryTree::RootFromName(key.substr(0, slash));
    if (root < 0) {
        std::fprintf(stderr, "%s: %s does not start with a root (HKEY_LOCAL_MACHINE, ...)\n", g_name.c_str(),
                     key.c_str());
        return 2;
    }
    std::vector<win32::RegistryValue> values;
    for (const std::string& assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "%s: %s is not NAME=TEXT\n", g_name.c_str(), assignment.c_str());
            return 2;
        }
        values.push_back(win32::RegistryString(assignment.substr(0, equals), assignment.substr(equals + 1)));
    }
    const std::string subKey = slash == std::string::npos ? std::string() : key.substr(slash + 1);
    const win32::LSTATUS status =
        win32::WriteRegistryValues(win32::RegistryTree::RootKey(root), subKey.c_str(), values);
    const std::string store = win32::RegistryStore::Instance().PathInUse();
    if (status != static_cast<win32::LSTATUS>(win32::ERROR_SUCCESS)) {
        std::fprintf(stderr, "%s: %s could not be written to the store %s (error %ld)\n", g_name.c_str(),
                     key.c_str(), store.c_str(), static_cast<long>(status));
        return 1;
    }
    std::printf("%s: %zu values under %s\n", store.c_str(), values.size(), key.c_str());
    return 0;
}

} // namespace

int main(int argumentCount, char** arguments) {
    if (argumentCount >= 1 && arguments[0][0] != '\0') {
        g_name = std::filesystem::path(arguments[0]).filename().string();
    }
    if (argumentCount == 3 && std::strcmp(arguments[1], "windows-path") == 0) {
        return WindowsPath(arguments[2]);
    }
    if (argumentCount >= 4 && std::strcmp(arguments[1], "set") == 0) {
        return Set(arguments[2], std::vector<std::string>(arguments + 3, arguments + argumentCount));
    }
    std::fprintf(stderr, "usage: %s windows-path HOST-PATH | %s set KEY NAME=TEXT...\n", g_name.c_str(),
                 g_name.c_str());
    return 2;
}
