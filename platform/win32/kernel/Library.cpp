#include "platform/win32/kernel/Library.h"

#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/kernel/Module.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <system_error>

namespace win32 {

namespace {

namespace fs = std::filesystem;

struct LoadedLibraries {
    std::mutex lock;
    std::map<void*, int> loads; // each dlopen handle given out, with the loads not yet freed
};

LoadedLibraries& Loaded() {
    static LoadedLibraries* loaded = new LoadedLibraries;
    return *loaded;
}

// The program's own folder comes first, as on Windows, so that a program finds the libraries installed beside
// it.
std::string BesideProgram(LPCSTR fileName) {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    const fs::path candidate = program.parent_path() / fileName;
    return fs::is_regular_file(candidate, error) ? candidate.string() : std::string();
}

// The text dlopen is given, or empty when the name cannot name a library.
std::string HostNameOf(LPCSTR fileName) {
    if (std::strpbrk(fileName, "\\/") == nullptr) {
        const std::string beside = BesideProgram(fileName);
        return beside.empty() ? fileName : beside;
    }
    HostPath host;
    if (!ResolveHostPath(fileName, host) || !host.exists || host.IsRoot()) {
        return {};
    }
    return host.Full();
}

// Whether the symbol lies in the library itself rather than in one it depends on, which dlsym also searches.
bool IsOwnSymbol(void* library, void* symbol) {
    link_map* map = nullptr;
    Dl_info info{};
    return dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr && dladdr(symbol, &info) != 0 &&
           info.dli_fname != nullptr && map->l_name != nullptr &&
           std::strcmp(info.dli_fname, map->l_name) == 0;
}

} // namespace

HMODULE LoadLibraryA(LPCSTR fileName) {
    const std::string name =
        fileName != nullptr && fileName[0] != '\0' ? HostNameOf(fileName) : std::string();
    if (name.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    LoadedLibraries& loaded = Loaded();
    std::lock_guard guard(loaded.lock);
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++loaded.loads[handle];
    return static_cast<HMODULE>(handle);
}

BOOL FreeLibrary(HMODULE module) {
    LoadedLibraries& loaded = Loaded();
    std::lock_guard guard(loaded.lock);
    auto found = loaded.loads.find(module);
    if (found == loaded.loads.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (--found->second == 0) {
        loaded.loads.erase(found);
    }
    dlclose(module);
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    LoadedLibraries& loaded = Loaded();
    std::lock_guard guard(loaded.lock);
    if (loaded.loads.count(module) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (procName == nullptr || (reinterpret_cast<ULONG_PTR>(procName) >> 16) == 0) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* symbol = dlsym(module, procName);
    if (symbol == nullptr || !IsOwnSymbol(module, symbol)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

} // namespace win32
