#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"

#include <strings.h>

#include <mutex>
#include <string>
#include <vector>

namespace win32 {

namespace {

constexpr UINT kFirstRegistered = 0xC000;
constexpr UINT kLastRegistered = 0xFFFF;

struct RegisteredNames {
    std::mutex lock;
    std::vector<std::string> names; // the name of kFirstRegistered + index
};

RegisteredNames& Names() {
    static RegisteredNames* names = new RegisteredNames;
    return *names;
}

} // namespace

UINT RegisterWindowMessageA(LPCSTR name) {
    if (name == nullptr || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    RegisteredNames& registered = Names();
    std::lock_guard guard(registered.lock);
    for (std::size_t i = 0; i < registered.names.size(); ++i) {
        if (strcasecmp(registered.names[i].c_str(), name) == 0) {
            return kFirstRegistered + static_cast<UINT>(i);
        }
    }
    if (registered.names.size() > kLastRegistered - kFirstRegistered) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    registered.names.emplace_back(name);
    return kFirstRegistered + static_cast<UINT>(registered.names.size() - 1);
}

} // namespace win32
