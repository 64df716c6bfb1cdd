#include "runtime/application/ProductRegistry.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/registry/Registry.h"
#include "resources/hooks/Win32Wrappers.h"

#include <cstring>
#include <vector>

namespace {

const char* const kProductsKey = "Software\\Vemo Company\\Products\\";

// The index of the last single-byte "\" of the text, or -1.
std::int32_t FindLastBackslash(const Vemo::String& text) {
    std::int32_t last = -1;
    const char* bytes = text.CStr();
    for (std::uint32_t i = 0; i < text.Length(); ++i) {
        if (win32::IsDBCSLeadByte(static_cast<win32::BYTE>(bytes[i])) && i + 1 < text.Length()) {
            ++i;
        } else if (bytes[i] == '\\') {
            last = static_cast<std::int32_t>(i);
        }
    }
    return last;
}

// The key path split at its last "\": the part before it and the part after it.
bool Split(const Vemo::String& keyPath, Vemo::String& subKey, Vemo::String& valueName) {
    const std::int32_t at = FindLastBackslash(keyPath);
    if (at < 0) {
        return false;
    }
    subKey = keyPath.Substring(0, static_cast<std::uint32_t>(at));
    valueName = keyPath.Substring(static_cast<std::uint32_t>(at) + 1, Vemo::String::kAll);
    return true;
}

} // namespace

Vemo::String ProductKeyPath(const Vemo::String& productKeyName) {
    Vemo::String path(kProductsKey);
    return path.Append(productKeyName);
}

namespace {

Vemo::String ProductValuePath(const Vemo::String& productKeyName, const Vemo::String& valuePath) {
    return ProductKeyPath(productKeyName).Append("\\").Append(valuePath);
}

} // namespace

bool ReadRegistryString(const Vemo::String& subKey, const Vemo::String& valueName, Vemo::String& out) {
    if (valueName.IsEmpty()) {
        return false;
    }
    win32::HKEY key = nullptr;
    if (Vemo::Win32RegOpenKeyEx(win32::HKEY_LOCAL_MACHINE, subKey, win32::KEY_READ, &key) !=
        win32::ERROR_SUCCESS) {
        return false;
    }
    win32::DWORD type = 0;
    win32::DWORD size = 0;
    bool read = Vemo::Win32RegQueryValueEx(key, valueName, &type, nullptr, &size) == win32::ERROR_SUCCESS;
    std::vector<win32::BYTE> data(size + 1, 0);
    read =
        read && Vemo::Win32RegQueryValueEx(key, valueName, &type, data.data(), &size) == win32::ERROR_SUCCESS;
    win32::RegCloseKey(key);
    if (!read) {
        return false;
    }
    // The text ends at its first zero or with the stored data, whichever comes
    // first: a binary or number value, or a string stored without its zero, has
    // no zero of its own at its end.
    const auto* text = reinterpret_cast<const char*>(data.data());
    out.Assign(text, static_cast<std::uint32_t>(::strnlen(text, size)));
    return true;
}

bool WriteRegistryString(const Vemo::String& subKey, const Vemo::String& valueName, const Vemo::String& text,
                         bool currentUser) {
    Vemo::String key(subKey);
    const std::int32_t last = FindLastBackslash(key);
    if (last >= 0 && static_cast<std::uint32_t>(last) + 1 == key.Length()) {
        key = key.Substring(0, static_cast<std::uint32_t>(last));
    }
    win32::HKEY opened = nullptr;
    const win32::HKEY root = currentUser ? win32::HKEY_CURRENT_USER : win32::HKEY_LOCAL_MACHINE;
    if (Vemo::Win32RegOpenKeyEx(root, key, win32::KEY_ALL_ACCESS, &opened) != win32::ERROR_SUCCESS) {
        return false;
    }
    const bool written = Vemo::Win32RegSetValueEx(opened, valueName, win32::REG_SZ,
                                                  reinterpret_cast<const win32::BYTE*>(text.CStr()),
                                                  text.Length() + 1) == win32::ERROR_SUCCESS;
    win32::RegCloseKey(opened);
    return written;
}

bool ReadRegistryStringByPath(const Vemo::String& keyPath, Vemo::String& out) {
    Vemo::String subKey;
    Vemo::String valueName;
    return Split(keyPath, subKey, valueName) && ReadRegistryString(subKey, valueName, out);
}

bool WriteRegistryStringByPath(const Vemo::String& keyPath, const Vemo::String& text) {
    Vemo::String subKey;
    Vemo::String valueName;
    return Split(keyPath, subKey, valueName) && WriteRegistryString(subKey, valueName, text, false);
}

bool ReadProductRegistryString(const Vemo::String& productKeyName, const Vemo::String& valuePath,
                               Vemo::String& out) {
    if (productKeyName.IsEmpty() || valuePath.IsEmpty()) {
        return false;
    }
    return ReadRegistryStringByPath(ProductValuePath(productKeyName, valuePath), out);
}

bool WriteProductRegistryString(const Vemo::String& productKeyName, const Vemo::String& valuePath,
                                const Vemo::String& text) {
    if (productKeyName.IsEmpty() || valuePath.IsEmpty()) {
        return false;
    }
    return WriteRegistryStringByPath(ProductValuePath(productKeyName, valuePath), text);
}
