#include "platform/win32/kernel/ModuleResources.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/Module.h"

#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace win32 {

namespace {

const HICON kApplicationIcon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0x7F00));

struct Strings {
    std::mutex lock;
    std::map<std::pair<HINSTANCE, UINT>, std::string> texts;
};

Strings& TheStrings() {
    static Strings* strings = new Strings;
    return *strings;
}

HINSTANCE ModuleOf(HINSTANCE instance) {
    return instance != nullptr ? instance : GetModuleHandleA(nullptr);
}

} // namespace

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax < 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string text;
    {
        Strings& strings = TheStrings();
        std::lock_guard guard(strings.lock);
        auto found = strings.texts.find({ModuleOf(instance), id});
        if (found != strings.texts.end()) {
            text = found->second;
        }
    }
    if (text.empty()) {
        buffer[0] = '\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const auto room = static_cast<std::size_t>(bufferMax - 1);
    std::size_t length = 0;
    while (length < text.size()) {
        const std::size_t next = length + CharacterLength(text, length);
        if (next > room) {
            break;
        }
        length = next;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    SetLastError(ERROR_SUCCESS);
    return static_cast<int>(length);
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (instance == GetModuleHandleA(nullptr) && name == IDI_APPLICATION) {
        return kApplicationIcon;
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

namespace seam {

void SetModuleString(HINSTANCE instance, UINT id, const std::string* text) {
    Strings& strings = TheStrings();
    std::lock_guard guard(strings.lock);
    if (text != nullptr) {
        strings.texts[{ModuleOf(instance), id}] = *text;
    } else {
        strings.texts.erase({ModuleOf(instance), id});
    }
}

} // namespace seam

} // namespace win32
